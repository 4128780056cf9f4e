#include "platform/device_path.h"

#include "platform/text.h"

namespace vh {

namespace {

const char kHiveListKey[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";
constexpr std::size_t kDriveBufferChars = 104;
constexpr std::size_t kDeviceBufferChars = 127;

}  // namespace

DriveMatch FixedDriveScan::MatchOne(const FixedDrive& d, const std::string& upperPath) {
  // The whole device name and the separator after it: volume 1 is not a
  // prefix of volume 12.
  if (upperPath.size() <= d.device.size()) return {};
  if (upperPath.compare(0, d.device.size(), d.device) != 0 || upperPath[d.device.size()] != '\\') return {};
  return {d.drive, d.device.size()};
}

DriveMatch FixedDriveScan::Match(const std::string& devicePath) {
  const std::string path = UpperAscii(devicePath);
  for (const FixedDrive& d : drives_)
    if (DriveMatch m = MatchOne(d, path); !m.drive.empty()) return m;
  if (!rootsRead_) {
    rootsRead_ = true;
    std::string roots = volumes_.LogicalDriveStrings(kDriveBufferChars);
    for (std::size_t i = 0; i + 3 <= roots.size(); i += 4) roots_.push_back(roots.substr(i, 3));  // "X:\" and a NUL each
  }
  while (nextRoot_ < roots_.size()) {
    const std::string& root = roots_[nextRoot_++];
    if (volumes_.DriveType(root) != win::kDriveFixed) continue;
    std::string drive = root.substr(0, 2);
    std::string device = UpperAscii(volumes_.DeviceName(drive, kDeviceBufferChars));
    if (device.empty()) continue;
    drives_.push_back({drive, device});
    if (DriveMatch m = MatchOne(drives_.back(), path); !m.drive.empty()) return m;
  }
  return {};
}

DriveMatch FixedDriveFor(Volumes& volumes, const std::string& devicePath) {
  return FixedDriveScan(volumes).Match(devicePath);
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
