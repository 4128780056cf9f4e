// Device paths, as the hive list names hive files
// ("\Device\HarddiskVolume1\Windows\System32\config\SYSTEM"), turned into
// drive-letter paths.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace vh {

struct DriveMatch {
  std::string drive;             // "C:", or "" when no fixed drive matches
  std::size_t deviceLength = 0;  // characters of devicePath the drive stands for
};

// The system's fixed drives, asked one drive at a time in drive-letter order
// and only as far as the paths matched so far needed: every hive usually
// lies on the first fixed drive, and each drive asked costs the system a
// query of its type and of its device (under Wine, more for the drive that
// maps the Unix root). What was asked is kept for the next path.
class FixedDriveScan {
 public:
  explicit FixedDriveScan(Volumes& volumes) : volumes_(volumes) {}

  // The first fixed drive whose whole device name, followed by a
  // separator, begins devicePath (case ignored).
  DriveMatch Match(const std::string& devicePath);

 private:
  struct FixedDrive {
    std::string drive;   // "C:"
    std::string device;  // "\DEVICE\HARDDISKVOLUME1"
  };
  static DriveMatch MatchOne(const FixedDrive& d, const std::string& upperPath);

  Volumes& volumes_;
  bool rootsRead_ = false;
  std::vector<std::string> roots_;  // "C:\", ... in drive-letter order
  std::size_t nextRoot_ = 0;        // the first root not yet asked
  std::vector<FixedDrive> drives_;  // the fixed drives among those asked
};

// The first fixed drive for this one path, the drives asked anew.
DriveMatch FixedDriveFor(Volumes& volumes, const std::string& devicePath);

// The drive-letter path of the file the hive root\subkey is loaded from, as
// the hive list gives it; "" when it lists no such hive on a fixed drive.
std::string ListedHiveFile(Registry& registry, Volumes& volumes, RootKey root, const std::string& subkey);

}  // namespace vh
