#include "hive/defrag.h"

#include "hive/hive_copy.h"

namespace vh {

namespace {

constexpr int kYes = 6;
constexpr int kCancel = 2;

}  // namespace

bool OffersRestorePoint(std::uint8_t code) { return code >= 9 && code <= 12; }

bool ReplaceHive(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                 const std::string& backupFile) {
  HiveKeyPath key = SplitHiveName(hiveName);
  if (key.root == RootKey::None) key = {RootKey::Users, ""};
  // The system would write the backup, and later read the copy, through
  // whatever a link planted beside a user's hive points at.
  if (files.IsLinked(backupFile) || files.IsLinked(newFile)) return false;
  if (files.Exists(backupFile)) files.Delete(backupFile);
  return registry.ReplaceKey(key.root, key.subkey, newFile, backupFile) == win::kErrorSuccess;
}

void EnableShutdownPrivilege(Privileges& privileges) {
  privileges.Enable("SeShutdownPrivilege", win::kTokenAdjustPrivilegesQuery);
}

void RestartComputer(Privileges& privileges, Power& power) {
  EnableShutdownPrivilege(privileges);
  power.ExitSystem(win::kEwxReboot | win::kEwxForce, 1);
}

DefragOutcome DefragRegistry(DefragRun& run) {
  if (run.options.IsAskBeforeDefrag && !run.unattended) {
    int answer = run.dialogs.AskBeforeDefrag();
    // Saved whatever the answer, so "Don't ask me next time" sticks even
    // after a No.
    run.saveSettings();
    if (answer != kYes) return DefragOutcome::Declined;
  }
  if (run.options.RestorePoint && !run.unattended && OffersRestorePoint(run.versionCode)) {
    if (run.dialogs.CreateRestorePoint() == kCancel) return DefragOutcome::RestorePointCancelled;
  }
  Platform& p = run.platform;
  EnableRestorePrivilege(p.privileges);
  for (std::size_t i = 0; i < run.hives.size(); ++i) {
    const std::string& file = run.hives.HiveFiles[i];
    ReplaceHive(p.registry, p.files, run.hives.HiveNames[i], CopyPath(file), BackupPath(file));
  }
  if (!run.unattended) run.dialogs.ShowRestartNotice();
  RestartComputer(p.privileges, p.power);
  return DefragOutcome::Restarting;
}

}  // namespace vh
