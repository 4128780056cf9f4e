// Finds the hives the running system has loaded (the hivelist key) and maps
// each hive's device path to a drive-letter path of an existing file.
#pragma once

#include <string>

#include "hive/hive_table.h"
#include "platform/platform.h"

namespace vh {

// Whether this 32-bit process runs under WOW64; false where the system has
// no IsWow64Process.
bool IsWow64(SystemInfo& system);

class HiveCatalogue {
 public:
  HiveCatalogue(Registry& registry, Volumes& volumes, Files& files, bool runningOnWow64)
      : registry_(registry), volumes_(volumes), files_(files), wow64_(runningOnWow64) {}

  // Empties the table and fills it from hivelist, in enumeration order.
  void BuildHiveCatalogue(HiveTable& table);

  // The hive file's drive-letter path, or "" when the entry is left out.
  std::string MapHiveDevicePath(const std::string& devicePath);
  // The first fixed drive ("C:") whose device name contains the designator.
  std::string DriveForVolume(const std::string& designator);
  // The path with its first "system32" as "sysnative" when that file exists.
  std::string RedirectToSysnative(const std::string& path);

 private:
  Registry& registry_;
  Volumes& volumes_;
  Files& files_;
  bool wow64_;
};

}  // namespace vh
