// Finds the hives the running system has loaded (the hivelist key) and maps
// each hive's device path to a drive-letter path of an existing file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hive/hive_table.h"
#include "platform/device_path.h"
#include "platform/platform.h"

namespace vh {

// Whether this 32-bit process runs under WOW64; false where the system has
// no IsWow64Process.
bool IsWow64(SystemInfo& system);

// "\REGISTRY\MACHINE\<key>" or "\REGISTRY\USER\<key>", case ignored: the
// only hives a swap can name by a root key and a subkey.
bool IsMachineOrUserHiveName(const std::string& hiveName);

class HiveCatalogue {
 public:
  // Receives one line for each hive left out for a reason worth knowing.
  using Log = std::function<void(const std::string& line)>;

  // Every path in the table is in the system's spelling ("System32", also
  // under WOW64): the one the journal, the report, the event log and the
  // recovery console know. The platform reaches the files through
  // Sysnative itself.
  HiveCatalogue(Registry& registry, Volumes& volumes, Files& files, Log log = {})
      : registry_(registry), volumes_(volumes), files_(files), log_(std::move(log)) {}

  // Empties the table and fills it from hivelist, in enumeration order:
  // machine and user hives only, each file once (the first name wins), and
  // never a hive whose copy path is taken by something other than a file.
  void BuildHiveCatalogue(HiveTable& table);

  // The hive file's drive-letter path, or "" when the entry is left out.
  std::string MapHiveDevicePath(const std::string& devicePath);

  using DriveMatch = vh::DriveMatch;
  // The first fixed drive whose whole device name, followed by a separator,
  // begins devicePath (case ignored).
  DriveMatch DriveForDevicePath(const std::string& devicePath);

 private:
  void Note(const std::string& line) {
    if (log_) log_(line);
  }

  Registry& registry_;
  Volumes& volumes_;
  Files& files_;
  Log log_;
  // Asked of the system once per catalogue, not once per hive.
  std::optional<FixedDriveScan> drives_;
};

}  // namespace vh
