#include "hive/hive_copy.h"

#include "hive/hive_table.h"
#include "hive/left_alone.h"
#include "platform/text.h"

namespace vh {

namespace {

const char kMachineMarker[] = "REGISTRY\\MACHINE\\";
const char kUserMarker[] = "REGISTRY\\USER\\";

}  // namespace

KeyHandle OpenHiveKey(Registry& registry, const std::string& hiveName) {
  HiveKeyPath path = SplitHiveName(hiveName);
  if (path.root == RootKey::None) return 0;
  return registry.OpenKeyEx(path.root, path.subkey, win::kKeyRead);
}

HiveKeyPath SplitHiveName(const std::string& hiveName) {
  std::string upper = UpperAscii(hiveName);
  std::size_t m = upper.find(kMachineMarker);
  if (m != std::string::npos) return {RootKey::LocalMachine, hiveName.substr(m + sizeof kMachineMarker - 1)};
  std::size_t u = upper.find(kUserMarker);
  if (u != std::string::npos) return {RootKey::Users, hiveName.substr(u + sizeof kUserMarker - 1)};
  return {};
}

HiveFormat SaveFormatOf(const std::string& hiveName) {
  const HiveKeyPath path = SplitHiveName(hiveName);
  const bool machine = path.root == RootKey::LocalMachine;
  if (machine && (EqualsIgnoreCase(path.subkey, "SYSTEM") || EqualsIgnoreCase(path.subkey, "SOFTWARE")))
    return HiveFormat::Latest;
  const std::string classes = "_Classes";
  const std::string& user = path.subkey;
  if (path.root == RootKey::Users && user.size() > classes.size() && user.find('\\') == std::string::npos &&
      EqualsIgnoreCase(user.substr(user.size() - classes.size()), classes))
    return HiveFormat::Latest;
  return HiveFormat::Standard;
}

bool SaveHiveCopy(Registry& registry, Files& files, const std::string& hiveName, const std::string& target) {
  if (files.IsLinked(target)) return false;
  KeyHandle key = OpenHiveKey(registry, hiveName);
  // The old copy goes in every case: a hive that cannot be copied now must
  // not be measured, or swapped in, by a copy of an earlier run.
  if (files.Exists(target)) files.Delete(target);
  if (key == 0) return false;
  bool saved = registry.SaveKey(key, target, HiveReaderSid(hiveName), SaveFormatOf(hiveName)) == win::kErrorSuccess;
  registry.CloseKey(key);
  if (!saved && files.Exists(target)) files.Delete(target);
  return saved;
}

bool EnableBackupPrivilege(Privileges& privileges) {
  return privileges.Enable("SeBackupPrivilege", win::kTokenAdjustPrivilegesQuery);
}

void EnableRestorePrivilege(Privileges& privileges) {
  privileges.Enable("SeRestorePrivilege", win::kTokenAllAccessOld);
}

std::int64_t QueryFileSize(Files& files, const std::string& path) {
  if (!files.Exists(path)) return 0;
  return files.EntrySize(path).value_or(-1);
}

void DeleteUnlessLinked(Files& files, const std::string& path) {
  if (files.Exists(path) && !files.IsLinked(path)) files.Delete(path);
}

void DeleteLeftoverCopies(Files& files, const std::vector<std::string>& hiveFiles) {
  for (const std::string& file : hiveFiles) DeleteUnlessLinked(files, CopyPath(file));
}

bool IsFileLocked(Files& files, const std::string& path) {
  return files.Exists(path) && !files.CanOpenExclusive(path);
}

}  // namespace vh
