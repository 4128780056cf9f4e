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

// A fixed drive and the device it stands for, in capitals.
struct FixedDrive {
  std::string drive;   // "C:"
  std::string device;  // "\DEVICE\HARDDISKVOLUME1"
};

// The system's fixed drives in drive-letter order: asked once, then matched
// against any number of device paths.
std::vector<FixedDrive> FixedDrives(Volumes& volumes);

// The first of drives whose whole device name, followed by a separator,
// begins devicePath (case ignored).
DriveMatch MatchFixedDrive(const std::vector<FixedDrive>& drives, const std::string& devicePath);

// The same, the drives asked for this one path.
DriveMatch FixedDriveFor(Volumes& volumes, const std::string& devicePath);

// The drive-letter path of the file the hive root\subkey is loaded from, as
// the hive list gives it; "" when it lists no such hive on a fixed drive.
std::string ListedHiveFile(Registry& registry, Volumes& volumes, RootKey root, const std::string& subkey);

}  // namespace vh
