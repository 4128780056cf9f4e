#include "hive/defrag.h"

#include "hive/copy_check.h"
#include "hive/swap_events.h"
#include "hive/hive_copy.h"

namespace vh {

int DefragReport::Scheduled() const {
  int n = 0;
  for (const HiveResult& h : hives) n += h.outcome == HiveOutcome::Scheduled;
  return n;
}

std::vector<std::string> DefragReport::NotScheduledLines() const {
  std::vector<std::string> lines;
  for (const HiveResult& h : hives)
    if (h.outcome != HiveOutcome::Scheduled) lines.push_back(h.hiveName + ": " + h.reason);
  return lines;
}

bool OffersRestorePoint(std::uint8_t code) { return code >= 9 && code <= 12; }

long ScheduleHiveSwap(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                      const std::string& backupFile) {
  HiveKeyPath key = SplitHiveName(hiveName);
  if (key.root == RootKey::None) key = {RootKey::Users, ""};
  // The system would write the backup, and later read the copy, through
  // whatever a link planted beside a user's hive points at.
  if (files.IsLinked(backupFile) || files.IsLinked(newFile)) return win::kErrorFileNotFound;
  if (files.Exists(backupFile)) files.Delete(backupFile);
  return registry.ReplaceKey(key.root, key.subkey, newFile, backupFile);
}

bool ReplaceHive(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                 const std::string& backupFile) {
  return ScheduleHiveSwap(registry, files, hiveName, newFile, backupFile) == win::kErrorSuccess;
}

void EnableShutdownPrivilege(Privileges& privileges) {
  privileges.Enable("SeShutdownPrivilege", win::kTokenAdjustPrivilegesQuery);
}

void RestartComputer(Privileges& privileges, Power& power) {
  EnableShutdownPrivilege(privileges);
  power.ExitSystem(win::kEwxReboot | win::kEwxForce, 1);
}

namespace {

HiveResult Measured(DefragRun& run, HiveResult result, const std::string& hiveFile, std::int64_t copySize) {
  result.hiveFile = hiveFile;
  result.currentSize = QueryFileSize(run.platform.files, hiveFile);
  result.copySize = copySize;
  return result;
}

// The hives the analysis copied; the others were shown as not copied and
// are not swapped.
HiveTable AnalysedHives(DefragRun& run) {
  HiveTable analysed;
  for (std::size_t i = 0; i < run.hives.size(); ++i) {
    const std::string& file = run.hives.HiveFiles[i];
    if (run.platform.files.Exists(CopyPath(file))) {
      analysed.Append(run.hives.HiveNames[i], file);
    } else {
      HiveResult result{run.hives.HiveNames[i], HiveOutcome::NotCopied, "it has no copy from the analysis"};
      run.report.hives.push_back(Measured(run, result, file, 0));
    }
  }
  return analysed;
}

// A copy taken at the analysis may be hours old: swapped in, it would undo
// every registry change made since. The old copies go first, so that a hive
// the fresh pass does not reach (stopped, or failed) has none to swap.
void CopyAgain(DefragRun& run, const HiveTable& hives) {
  if (run.keepAnalysisCopies || hives.empty()) return;
  for (const std::string& file : hives.HiveFiles) DeleteUnlessLinked(run.platform.files, CopyPath(file));
  run.dialogs.CopyAgain(hives);
}

// The copy's size is taken before its check, which deletes a copy that fails.
HiveResult CheckAndSchedule(DefragRun& run, const std::string& hiveName, const std::string& hiveFile,
                            std::int64_t& copySize) {
  Platform& p = run.platform;
  std::string copy = CopyPath(hiveFile);
  if (!p.files.Exists(copy)) return {hiveName, HiveOutcome::NotCopied, "it was not copied again"};
  copySize = QueryFileSize(p.files, copy);
  CopyCheck check = CheckHiveCopy(p.registry, p.files, hiveName, copy, run.wow64);
  if (!check.passed) {
    DeleteUnlessLinked(p.files, copy);
    return {hiveName, HiveOutcome::CheckFailed, check.reason};
  }
  long result = ScheduleHiveSwap(p.registry, p.files, hiveName, copy, BackupPath(hiveFile));
  if (result != win::kErrorSuccess) {
    return {hiveName, HiveOutcome::ReplaceRefused,
            "Windows refused to schedule the swap (error " + std::to_string(result) + ")", result};
  }
  return {hiveName, HiveOutcome::Scheduled, "", result};
}

JournalOutcome JournalOutcomeOf(HiveOutcome outcome) {
  switch (outcome) {
    case HiveOutcome::Scheduled:
      return JournalOutcome::Scheduled;
    case HiveOutcome::NotCopied:
      return JournalOutcome::NotCopied;
    case HiveOutcome::CheckFailed:
      return JournalOutcome::CheckFailed;
    case HiveOutcome::ReplaceRefused:
      break;
  }
  return JournalOutcome::Refused;
}

void Record(const DefragRun& run) {
  if (run.journal) AppendJournalEntry(*run.journal, DefragJournalEntry(run));
}

RestorePointStep RestorePointStepOf(ModalResult answer) {
  if (answer == mrCancel) return RestorePointStep::Stopped;
  return answer == mrYes ? RestorePointStep::FailedWentOn : RestorePointStep::Created;
}

}  // namespace

DefragOutcome DefragRegistry(DefragRun& run) {
  run.report = {};
  if (run.options.IsAskBeforeDefrag && !run.unattended) {
    ModalResult answer = run.dialogs.AskBeforeDefrag();
    // Saved whatever the answer, so "Don't ask me next time" sticks even
    // after a No.
    run.saveSettings();
    if (answer != mrYes) return DefragOutcome::Declined;
  }
  run.restorePoint = RestorePointStep::NotAsked;
  if (run.options.RestorePoint && !run.unattended) {
    if (OffersRestorePoint(run.versionCode)) {
      run.restorePoint = RestorePointStepOf(run.dialogs.CreateRestorePoint());
    } else {
      run.restorePoint = RestorePointStep::NotOffered;
    }
  }
  if (run.restorePoint == RestorePointStep::Stopped) {
    Record(run);
    return DefragOutcome::RestorePointCancelled;
  }
  Platform& p = run.platform;
  HiveTable swaps = AnalysedHives(run);
  CopyAgain(run, swaps);
  // Loading a copy back needs both; the swap needs the restore privilege.
  EnableBackupPrivilege(p.privileges);
  EnableRestorePrivilege(p.privileges);
  for (std::size_t i = 0; i < swaps.size(); ++i) {
    std::int64_t copySize = 0;
    HiveResult result = CheckAndSchedule(run, swaps.HiveNames[i], swaps.HiveFiles[i], copySize);
    run.report.hives.push_back(Measured(run, result, swaps.HiveFiles[i], copySize));
  }
  // Recorded before anything can end the run: a restart, or a user who
  // kills the program at the message.
  Record(run);
  ReportDefragEvent(p.events, run.report);
  if (run.report.Scheduled() == 0) {
    // A restart would change nothing and tell the user that it had.
    if (!run.unattended) run.dialogs.ShowNothingScheduled(run.report);
    return DefragOutcome::NothingScheduled;
  }
  if (!run.unattended) {
    if (run.report.Scheduled() < int(run.report.hives.size())) run.dialogs.ShowNotScheduled(run.report);
    run.dialogs.ShowRestartNotice();
  }
  RestartComputer(p.privileges, p.power);
  return DefragOutcome::Restarting;
}

JournalEntry DefragJournalEntry(const DefragRun& run) {
  JournalEntry entry;
  entry.kind = JournalKind::Defragmentation;
  entry.restorePoint = run.restorePoint;
  for (const HiveResult& h : run.report.hives) {
    JournalHive hive{h.hiveName, h.hiveFile, h.currentSize, h.copySize, JournalOutcomeOf(h.outcome)};
    if (h.outcome == HiveOutcome::ReplaceRefused) hive.error = h.replaceResult;
    entry.hives.push_back(hive);
  }
  return entry;
}

}  // namespace vh
