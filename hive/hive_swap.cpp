#include "hive/hive_swap.h"

#include "hive/hive_copy.h"
#include "hive/hive_table.h"

namespace vh {

namespace {

// SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OPERATINGSYSTEM |
// SHTDN_REASON_MINOR_RECONFIG: "Operating System: Reconfiguration
// (Planned)" in the system's event log, not an unexpected shutdown.
constexpr std::uint32_t kRestartReason = 0x80020004u;

}  // namespace

bool ShutdownPrivilegeHeld(Privileges& privileges) {
  return privileges.Enable("SeShutdownPrivilege", win::kTokenAdjustPrivilegesQuery);
}

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
  std::string text = initiateError == win::kErrorNotReady
                         ? "Windows was still not ready to restart after " + std::to_string(notReady + 1) + " requests"
                         : "Windows refused to restart";
  if (!privilege) text += " (the shutdown privilege could not be enabled)";
  if (initiateError > 0) text += " (error " + std::to_string(initiateError) + ")";
  return text;
}

namespace {

// InitiateSystemShutdownEx, with a shutdown already under way (the first
// request was taken after all) counted as started. Not ready yet, it is
// asked again after "a short while", as its documentation says, until the
// tries run out.
bool InitiateRestart(Power& power, RestartAttempt& attempt, bool forceAppsClosed) {
  for (;;) {
    attempt.initiateError = power.InitiateRestart(kRestartReason, forceAppsClosed);
    if (attempt.initiateError != win::kErrorNotReady || attempt.notReady + 1 >= kNotReadyTries) break;
    ++attempt.notReady;
    power.Wait(kNotReadyWaitMs);
  }
  if (attempt.initiateError == win::kErrorShutdownInProgress) attempt.initiateError = win::kErrorSuccess;
  return attempt.initiateError == win::kErrorSuccess;
}

bool ExitWindows(Power& power, RestartAttempt& attempt) {
  attempt.exitWindows = power.ExitSystem(win::kEwxReboot | win::kEwxForce, kRestartReason);
  return attempt.exitWindows;
}

}  // namespace

RestartAttempt RestartComputer(Privileges& privileges, Power& power) {
  RestartAttempt attempt;
  attempt.privilege = ShutdownPrivilegeHeld(privileges);
  // A system that cannot say is asked the way that serves both.
  if (power.InConsoleSession().value_or(false)) {
    if (!ExitWindows(power, attempt)) InitiateRestart(power, attempt, true);
  } else if (!InitiateRestart(power, attempt, true)) {
    ExitWindows(power, attempt);
  }
  return attempt;
}

RestartAttempt RestartAgain(Privileges& privileges, Power& power, bool forceAppsClosed) {
  RestartAttempt attempt;
  attempt.privilege = ShutdownPrivilegeHeld(privileges);
  InitiateRestart(power, attempt, forceAppsClosed);
  return attempt;
}

}  // namespace vh
