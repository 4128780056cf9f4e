#include "platform/device_path.h"

#include "platform/text.h"

namespace vh {

namespace {

const char kHiveListKey[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";
constexpr std::size_t kDriveBufferChars = 104;
constexpr std::size_t kDeviceBufferChars = 127;

}  // namespace

std::vector<FixedDrive> FixedDrives(Volumes& volumes) {
  std::vector<FixedDrive> drives;
  std::string roots = volumes.LogicalDriveStrings(kDriveBufferChars);
  std::size_t entries = roots.size() / 4;  // "X:\" and a NUL each
  for (std::size_t i = 0; i < entries; ++i) {
    std::string root = roots.substr(4 * i, 3);
    if (volumes.DriveType(root) != win::kDriveFixed) continue;
    std::string drive = root.substr(0, 2);
    std::string device = UpperAscii(volumes.DeviceName(drive, kDeviceBufferChars));
    if (!device.empty()) drives.push_back({drive, device});
  }
  return drives;
}

DriveMatch MatchFixedDrive(const std::vector<FixedDrive>& drives, const std::string& devicePath) {
  std::string path = UpperAscii(devicePath);
  for (const FixedDrive& d : drives) {
    // The whole device name and the separator after it: volume 1 is not a
    // prefix of volume 12.
    if (path.size() <= d.device.size()) continue;
    if (path.compare(0, d.device.size(), d.device) == 0 && path[d.device.size()] == '\\')
      return {d.drive, d.device.size()};
  }
  return {};
}

DriveMatch FixedDriveFor(Volumes& volumes, const std::string& devicePath) {
  return MatchFixedDrive(FixedDrives(volumes), devicePath);
}

std::string ListedHiveFile(Registry& registry, Volumes& volumes, RootKey root, const std::string& subkey) {
  KeyHandle list = registry.OpenKeyEx(RootKey::LocalMachine, kHiveListKey, win::kKeyQueryValue);
  if (!list) return "";
  std::string name = (root == RootKey::Users ? "\\REGISTRY\\USER\\" : "\\REGISTRY\\MACHINE\\") + subkey;
  std::string device;
  for (const std::string& value : registry.ValueNames(list))
    if (EqualsIgnoreCase(value, name)) device = registry.ReadString(list, value);
  registry.CloseKey(list);
  DriveMatch match = FixedDriveFor(volumes, device);
  return match.drive.empty() ? "" : match.drive + device.substr(match.deviceLength);
}

}  // namespace vh
