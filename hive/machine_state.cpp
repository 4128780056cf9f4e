#include "hive/machine_state.h"

#include "hive/hive_copy.h"
#include "platform/text.h"

namespace vh {

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char* const kStores[] = {"COMPONENTS", "DRIVERS"};

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string WindowsBuild(Registry& registry) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, kCurrentVersion, win::kKeyQueryValue);
  if (!key) return "";
  // XP's CurrentBuild holds obsolete text; its build is CurrentBuildNumber.
  std::string build = registry.ReadString(key, "CurrentBuild");
  if (!AllDigits(build)) build = registry.ReadString(key, "CurrentBuildNumber");
  if (std::optional<std::uint32_t> revision = registry.ReadDword(key, "UBR")) build += "." + std::to_string(*revision);
  const std::string servicePack = registry.ReadString(key, "CSDVersion");
  registry.CloseKey(key);
  if (!servicePack.empty()) build += (build.empty() ? "" : " ") + servicePack;
  return build;
}

std::string SystemFolder(const HiveTable& hives) {
  for (std::size_t i = 0; i < hives.size(); ++i) {
    if (!EqualsIgnoreCase(hives.HiveNames[i], "\\REGISTRY\\MACHINE\\SYSTEM")) continue;
    const std::size_t slash = hives.HiveFiles[i].find_last_of('\\');
    if (slash != std::string::npos) return hives.HiveFiles[i].substr(0, slash + 1);
  }
  return "";
}

const StoreHive* Find(const std::vector<StoreHive>& stores, const std::string& file) {
  for (const StoreHive& s : stores)
    if (EqualsIgnoreCase(s.file, file)) return &s;
  return nullptr;
}

}  // namespace

MachineState ReadMachineState(Registry& registry, Files& files, const HiveTable& hives) {
  MachineState state;
  state.build = WindowsBuild(registry);
  const std::string folder = SystemFolder(hives);
  if (folder.empty()) return state;
  for (const char* name : kStores) {
    const std::string file = folder + name;
    if (!files.Exists(file)) continue;
    state.stores.push_back({file, QueryFileSize(files, file), files.EntryWriteTime(file).value_or(0)});
  }
  return state;
}

std::vector<Phrase> MachineChanges(const MachineState& then, const MachineState& now) {
  std::vector<Phrase> changes;
  if (then.build != now.build) changes.push_back({IDS_UNDO_BUILD_CHANGED, {then.build, now.build}});
  // A store that came, went or was written since.
  for (const StoreHive& s : then.stores) {
    const StoreHive* same = Find(now.stores, s.file);
    if (!same || same->size != s.size || same->written != s.written)
      changes.push_back({IDS_UNDO_STORE_CHANGED, {s.file}});
  }
  for (const StoreHive& s : now.stores)
    if (!Find(then.stores, s.file)) changes.push_back({IDS_UNDO_STORE_CHANGED, {s.file}});
  return changes;
}

}  // namespace vh
