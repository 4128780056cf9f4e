// One hive swap as Windows does it (RegReplaceKey renames at once: the
// live file to the backup name, the new file to the hive's name), with the
// old backup set aside rather than deleted, and the restart that makes the
// swaps take effect, checked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vh {

// Where an earlier backup waits while its hive is swapped: put back if
// Windows refuses the swap, deleted once it has accepted it.
inline std::string AsidePath(const std::string& backupFile) { return backupFile + ".old"; }

// Schedules one hive swap. The result of RegReplaceKeyA, or
// ERROR_FILE_NOT_FOUND for a path reached through a link, and
// ERROR_ALREADY_EXISTS when the earlier backup cannot be set aside (nothing
// is scheduled then).
long ScheduleHiveSwap(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                      const std::string& backupFile);

// A run cut off during a swap left an earlier backup set aside: put back
// where the swap did not happen, deleted where it did (a backup of the
// name exists again).
void RecoverSetAsideBackups(Files& files, const std::vector<std::string>& hiveFiles);

struct RestartAttempt {
  bool privilege = false;    // SeShutdownPrivilege was enabled
  bool exitWindows = false;  // ExitWindowsEx took the request
  long initiateError = -1;   // InitiateSystemShutdownEx's error; -1 when not called
  int notReady = 0;          // times InitiateSystemShutdownEx was not ready yet
  bool Started() const { return exitWindows || initiateError == 0; }
  // Why not, in plain words; empty when started.
  std::string Failure() const;
};

// Asks for the restart. In the console session: ExitWindowsEx, and where it
// refuses, InitiateSystemShutdownEx. Outside it (a service, a task run as
// SYSTEM, a remote session), where ExitWindowsEx may succeed without
// restarting anything, the other way round. InitiateSystemShutdownEx that
// is not ready yet (fast user switching with nobody logged on) is asked
// again for a while. Even a taken request may still be aborted.
RestartAttempt RestartComputer(Privileges& privileges, Power& power);
// The second way alone: for a restart that was taken but never came. After
// a shutdown that someone cancelled, without forcing applications closed:
// the user or a program with unsaved work said no, and may say so again.
RestartAttempt RestartAgain(Privileges& privileges, Power& power, bool forceAppsClosed);

// The restart reason every request gives (planned maintenance).
std::uint32_t RestartReason();

// Enables the shutdown privilege; false when the token does not hold it,
// and then no restart can be asked for.
bool ShutdownPrivilegeHeld(Privileges& privileges);

// How long InitiateSystemShutdownEx is asked again while it is not ready.
constexpr std::uint32_t kNotReadyWaitMs = 2000;
constexpr int kNotReadyTries = 30;

}  // namespace vh
