#include "hive/catalogue.h"

#include "platform/text.h"

namespace vh {

namespace {

const char kHiveListKey[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";
const char kVolumeMarker[] = "DEVICE\\HARDDISKVOLUME";
// The marker's 21 characters and exactly one more: volume 12 splits after
// its first digit, as the system's own mapping always did.
constexpr std::size_t kDesignatorLength = 22;
constexpr std::size_t kDriveBufferChars = 104;
constexpr std::size_t kDeviceBufferChars = 127;

}  // namespace

bool IsWow64(SystemInfo& system) { return system.IsWow64Process().value_or(false); }

void HiveCatalogue::BuildHiveCatalogue(HiveTable& table) {
  table.clear();
  KeyHandle key = registry_.OpenKeyEx(RootKey::LocalMachine, kHiveListKey, win::kKeyAllAccess);
  if (key == 0) return;
  for (const std::string& name : registry_.ValueNames(key)) {
    std::uint32_t type = registry_.ValueType(key, name);
    if (type != win::kRegSz && type != win::kRegExpandSz) continue;
    std::string text = registry_.ReadString(key, name);
    if (text.empty()) continue;  // hives held only in memory
    std::string file = MapHiveDevicePath(text);
    if (file.empty()) continue;
    table.Append(name, file);
  }
  registry_.CloseKey(key);
}

std::string HiveCatalogue::MapHiveDevicePath(const std::string& devicePath) {
  std::size_t p = UpperAscii(devicePath).find(kVolumeMarker);
  if (p == std::string::npos) return "";
  std::string designator = devicePath.substr(p, kDesignatorLength);
  std::string remainder = devicePath.size() > p + kDesignatorLength ? devicePath.substr(p + kDesignatorLength) : "";
  std::string drive = DriveForVolume(designator);
  // Without a fixed drive the bare remainder would be resolved against the
  // current drive and could name some other file, which a defragmentation
  // would then swap or delete: such a hive is left out instead.
  if (drive.empty()) return "";
  std::string candidate = drive + remainder;
  if (wow64_) candidate = RedirectToSysnative(candidate);
  return files_.Exists(candidate) ? candidate : "";
}

std::string HiveCatalogue::DriveForVolume(const std::string& designator) {
  std::string roots = volumes_.LogicalDriveStrings(kDriveBufferChars);
  std::string wanted = UpperAscii(designator);
  std::size_t entries = roots.size() / 4;  // "X:\" and a NUL each
  for (std::size_t i = 0; i < entries; ++i) {
    std::string root = roots.substr(4 * i, 3);
    if (volumes_.DriveType(root) != win::kDriveFixed) continue;
    std::string drive = root.substr(0, 2);
    std::string device = volumes_.DeviceName(drive, kDeviceBufferChars);
    if (UpperAscii(device).find(wanted) != std::string::npos) return drive;
  }
  return "";
}

std::string HiveCatalogue::RedirectToSysnative(const std::string& path) {
  std::size_t q = LowerAscii(path).find("system32");
  if (q == std::string::npos) return path;
  std::string candidate = path.substr(0, q) + "sysnative" + path.substr(q + 8);
  return files_.Exists(candidate) ? candidate : path;
}

}  // namespace vh
