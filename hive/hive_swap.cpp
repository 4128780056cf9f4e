#include "hive/hive_swap.h"

#include "hive/hive_copy.h"
#include "hive/hive_table.h"

namespace vh {

namespace {

// SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OPERATINGSYSTEM |
// SHTDN_REASON_MINOR_RECONFIG: "Operating System: Reconfiguration
// (Planned)" in the system's event log, not an unexpected shutdown.
constexpr std::uint32_t kRestartReason = 0x80020004u;

bool EnableShutdownPrivilege(Privileges& privileges) {
  return privileges.Enable("SeShutdownPrivilege", win::kTokenAdjustPrivilegesQuery);
}

}  // namespace

long ScheduleHiveSwap(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                      const std::string& backupFile) {
  HiveKeyPath key = SplitHiveName(hiveName);
  if (key.root == RootKey::None) key = {RootKey::Users, ""};
  const std::string aside = AsidePath(backupFile);
  // The system would write the backup, and later read the copy, through
  // whatever a link planted beside a user's hive points at.
  if (files.IsLinked(backupFile) || files.IsLinked(newFile) || files.IsLinked(aside)) return win::kErrorFileNotFound;
  // Windows wants the backup's name free. The earlier backup is kept until
  // the swap is accepted: a refused swap must not cost it.
  bool setAside = false;
  if (files.Exists(backupFile)) {
    if (files.Exists(aside)) files.Delete(aside);
    if (!files.Move(backupFile, aside)) return win::kErrorAlreadyExists;
    setAside = true;
  }
  long result = registry.ReplaceKey(key.root, key.subkey, newFile, backupFile);
  if (setAside) {
    if (result == win::kErrorSuccess) {
      files.Delete(aside);
    } else if (!files.Exists(backupFile)) {
      files.Move(aside, backupFile);
    }
  }
  return result;
}

void RecoverSetAsideBackups(Files& files, const std::vector<std::string>& hiveFiles) {
  for (const std::string& hive : hiveFiles) {
    for (const std::string& backup : {BackupPath(hive), UndoPath(hive)}) {
      const std::string aside = AsidePath(backup);
      if (!files.Exists(aside) || files.IsLinked(aside) || files.IsLinked(backup)) continue;
      if (files.Exists(backup)) {
        files.Delete(aside);
      } else {
        files.Move(aside, backup);
      }
    }
  }
}

std::uint32_t RestartReason() { return kRestartReason; }

std::string RestartAttempt::Failure() const {
  if (Started()) return "";
  std::string text = "Windows refused to restart";
  if (!privilege) text += " (the shutdown privilege could not be enabled)";
  if (initiateError > 0) text += " (error " + std::to_string(initiateError) + ")";
  return text;
}

namespace {

// InitiateSystemShutdownEx, with a shutdown already under way (the first
// request was taken after all) counted as started.
void InitiateRestart(Power& power, RestartAttempt& attempt, bool forceAppsClosed) {
  attempt.initiateError = power.InitiateRestart(kRestartReason, forceAppsClosed);
  if (attempt.initiateError == win::kErrorShutdownInProgress) attempt.initiateError = win::kErrorSuccess;
}

}  // namespace

RestartAttempt RestartComputer(Privileges& privileges, Power& power) {
  RestartAttempt attempt;
  attempt.privilege = EnableShutdownPrivilege(privileges);
  attempt.exitWindows = power.ExitSystem(win::kEwxReboot | win::kEwxForce, kRestartReason);
  if (!attempt.exitWindows) InitiateRestart(power, attempt, true);
  return attempt;
}

RestartAttempt RestartAgain(Privileges& privileges, Power& power, bool forceAppsClosed) {
  RestartAttempt attempt;
  attempt.privilege = EnableShutdownPrivilege(privileges);
  InitiateRestart(power, attempt, forceAppsClosed);
  return attempt;
}

}  // namespace vh
