#include "hive/catalogue.h"

#include "hive/left_alone.h"
#include "platform/device_path.h"
#include "platform/text.h"

namespace vh {

namespace {

const char kHiveListKey[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";
const char kDevicePrefix[] = "\\DEVICE\\";

bool StartsWithIgnoreCase(const std::string& text, const std::string& upperPrefix) {
  return text.size() >= upperPrefix.size() && UpperAscii(text.substr(0, upperPrefix.size())) == upperPrefix;
}

}  // namespace

bool IsWow64(SystemInfo& system) { return system.IsWow64Process().value_or(false); }

bool IsMachineOrUserHiveName(const std::string& hiveName) {
  for (const char* root : {"\\REGISTRY\\MACHINE\\", "\\REGISTRY\\USER\\"}) {
    std::string prefix = root;
    if (StartsWithIgnoreCase(hiveName, prefix) && hiveName.size() > prefix.size()) return true;
  }
  return false;
}

void HiveCatalogue::BuildHiveCatalogue(HiveTable& table) {
  table.clear();
  table.ProfileSids = ReadProfileSids(registry_);
  drives_.emplace(volumes_);  // drives may have come or gone since the last build
  KeyHandle key = registry_.OpenKeyEx(RootKey::LocalMachine, kHiveListKey, win::kKeyAllAccess);
  if (key == 0) return;
  for (const std::string& name : registry_.ValueNames(key)) {
    // An application hive (\REGISTRY\A\...) has no root key a swap could
    // name; it would be swapped as some other key.
    if (!IsMachineOrUserHiveName(name)) continue;
    std::uint32_t type = registry_.ValueType(key, name);
    if (type != win::kRegSz && type != win::kRegExpandSz) continue;
    std::string text = registry_.ReadString(key, name);
    if (text.empty()) continue;  // hives held only in memory
    std::string file = MapHiveDevicePath(text);
    if (file.empty()) continue;
    // One file under several names would be copied, counted and swapped
    // once per name.
    std::size_t first = 0;
    while (first < table.size() && !EqualsIgnoreCase(table.HiveFiles[first], file)) ++first;
    if (first < table.size()) {
      Note("Hive " + name + " is left out: its file " + file + " is already listed for " + table.HiveNames[first] +
           ".");
      continue;
    }
    // A folder (or anything but a file) in the copy's place can be neither
    // replaced by the copy nor measured as one; nor can a copy path reached
    // through a link, which the copy and the swap both refuse.
    std::string copy = CopyPath(file);
    if ((files_.EntryExists(copy) && !files_.Exists(copy)) || files_.IsLinked(copy)) {
      Note("Hive " + name + " is left out: " + copy + " is not a file.");
      continue;
    }
    table.Append(name, file);
  }
  registry_.CloseKey(key);
}

std::string HiveCatalogue::MapHiveDevicePath(const std::string& devicePath) {
  if (!StartsWithIgnoreCase(devicePath, kDevicePrefix)) return "";
  DriveMatch match = DriveForDevicePath(devicePath);
  // Without a fixed drive the bare remainder would be resolved against the
  // current drive and could name some other file, which a defragmentation
  // would then swap or delete: such a hive is left out instead.
  if (match.drive.empty()) return "";
  std::string candidate = match.drive + devicePath.substr(match.deviceLength);
  return files_.Exists(candidate) ? candidate : "";
}

DriveMatch HiveCatalogue::DriveForDevicePath(const std::string& devicePath) {
  if (!drives_) drives_.emplace(volumes_);
  return drives_->Match(devicePath);
}

}  // namespace vh
