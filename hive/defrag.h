// Defragmentation: confirm, optionally make a restore point, copy every hive
// to be swapped again, load each copy back and compare it with the live
// hive, schedule the swap of each checked copy with a backup, and restart
// only when some swap was scheduled.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "hive/hive_table.h"
#include "hive/journal.h"
#include "platform/platform.h"
#include "settings/options.h"
#include "ui/modal_result.h"

namespace vh {

enum class HiveOutcome { Scheduled, NotCopied, CheckFailed, ReplaceRefused };

struct HiveResult {
  std::string hiveName;
  HiveOutcome outcome = HiveOutcome::NotCopied;
  std::string reason;       // why it was not scheduled; empty when it was
  long replaceResult = -1;  // RegReplaceKeyA's result; -1 when not called
  std::string hiveFile;
  std::int64_t currentSize = -1;  // the hive file's, when the run looked at it
  std::int64_t copySize = 0;      // the fresh copy's, before its check; 0 without one
};

struct DefragReport {
  // Hives the analysis did not copy first, then the others, each in table order.
  std::vector<HiveResult> hives;
  int Scheduled() const;
  // One line per hive that was not scheduled: "<hive name>: <reason>".
  std::vector<std::string> NotScheduledLines() const;
};

// The windows the defragmentation shows; each question returns the dialog's
// modal result.
class DefragDialogs {
 public:
  virtual ~DefragDialogs() = default;
  virtual ModalResult AskBeforeDefrag() = 0;     // the "Defrag Now" confirmation
  // The restore point dialog: OK when the point was made, Yes when making
  // it failed and the user chose to go on, Cancel to stop.
  virtual ModalResult CreateRestorePoint() = 0;
  // Writes a fresh copy of each hive through the scan worker and its
  // progress dialog; returns when the dialog has closed.
  virtual void CopyAgain(const HiveTable& hives) = 0;
  // Some hives will not be swapped: which and why, before the restart notice.
  virtual void ShowNotScheduled(const DefragReport& report) = 0;
  // No hive could be scheduled: there will be no restart.
  virtual void ShowNothingScheduled(const DefragReport& report) = 0;
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
  bool wow64 = false;
  // The analysis' copies are recent enough to swap in as they are (an
  // unattended run straight after its analysis); otherwise every hive is
  // copied again.
  bool keepAnalysisCopies = false;
  // Where the run is recorded; none: not recorded.
  const JournalWriter* journal = nullptr;
  // Filled in as the run goes: what became of each hive, and of the restore
  // point.
  DefragReport report;
  RestorePointStep restorePoint = RestorePointStep::NotAsked;
};

enum class DefragOutcome { Declined, RestorePointCancelled, NothingScheduled, Restarting };

// The whole defragmentation, in order. A failed settings write propagates
// before any hive is touched.
DefragOutcome DefragRegistry(DefragRun& run);

// Schedules one hive swap; its old backup is deleted right before. The
// result of RegReplaceKeyA, or ERROR_FILE_NOT_FOUND for a path reached
// through a link (nothing is deleted nor scheduled then).
long ScheduleHiveSwap(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                      const std::string& backupFile);
// The same, true when scheduled.
bool ReplaceHive(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                 const std::string& backupFile);

void EnableShutdownPrivilege(Privileges& privileges);
void RestartComputer(Privileges& privileges, Power& power);

// The journal's record of a run: every hive of the report, with its file and
// sizes.
JournalEntry DefragJournalEntry(const DefragRun& run);

// Versions that offer System Restore: XP, Server 2003, Vista and later.
bool OffersRestorePoint(std::uint8_t versionCode);

}  // namespace vh
