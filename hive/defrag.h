// Defragmentation: confirm, optionally make a restore point, schedule the
// swap of every hive for its compacted copy with a backup, and restart.
#pragma once

#include <functional>
#include <string>

#include "hive/hive_table.h"
#include "platform/platform.h"
#include "settings/options.h"

namespace vh {

// The questions and messages the defragmentation shows; each returns the
// dialog's modal result (1 OK, 2 Cancel, 6 Yes, 7 No).
class DefragDialogs {
 public:
  virtual ~DefragDialogs() = default;
  virtual int AskBeforeDefrag() = 0;     // the "Defrag Now" confirmation
  virtual int CreateRestorePoint() = 0;  // the restore point dialog
  virtual void ShowRestartNotice() = 0;  // "You must restart your computer ..."
};

struct DefragRun {
  Platform& platform;
  const HiveTable& hives;
  TOptionsSetting& options;
  bool unattended = false;
  std::uint8_t versionCode = 0;
  // Writes the settings; throws AppError when the file cannot be written.
  std::function<void()> saveSettings;
  DefragDialogs& dialogs;
};

enum class DefragOutcome { Declined, RestorePointCancelled, Restarting };

// The whole defragmentation, in order. A failed settings write propagates
// before any hive is touched.
DefragOutcome DefragRegistry(DefragRun& run);

// Schedules one hive swap; an old backup of the same hive is deleted first.
bool ReplaceHive(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                 const std::string& backupFile);

void EnableShutdownPrivilege(Privileges& privileges);
void RestartComputer(Privileges& privileges, Power& power);

// Versions that offer System Restore: XP, Server 2003, Vista and later.
bool OffersRestorePoint(std::uint8_t versionCode);

}  // namespace vh
