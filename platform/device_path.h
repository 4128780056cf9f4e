// Device paths, as the hive list names hive files
// ("\Device\HarddiskVolume1\Windows\System32\config\SYSTEM"), turned into
// drive-letter paths.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vh {

struct DriveMatch {
  std::string drive;             // "C:", or "" when no fixed drive matches
  std::size_t deviceLength = 0;  // characters of devicePath the drive stands for
};

// The first fixed drive whose whole device name, followed by a separator,
// begins devicePath (case ignored).
DriveMatch FixedDriveFor(Volumes& volumes, const std::string& devicePath);

// The drive-letter path of the file the hive root\subkey is loaded from, as
// the hive list gives it; "" when it lists no such hive on a fixed drive.
std::string ListedHiveFile(Registry& registry, Volumes& volumes, RootKey root, const std::string& subkey);

}  // namespace vh
