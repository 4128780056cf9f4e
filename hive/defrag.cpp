#include "hive/defrag.h"

#include "hive/copy_check.h"
#include "hive/swap_events.h"
#include "hive/hive_copy.h"
#include "hive/left_alone.h"
#include "hive/pending_swaps.h"

namespace vh {

int DefragReport::Scheduled() const {
  int n = 0;
  for (const HiveResult& h : hives) n += h.outcome == HiveOutcome::Scheduled;
  return n;
}

std::vector<std::string> DefragReport::NotScheduledLines(const Messages* shown) const {
  std::vector<std::string> lines;
  for (const HiveResult& h : hives)
    if (h.outcome != HiveOutcome::Scheduled)
      lines.push_back(h.hiveName + ": " + (shown && h.reasonId ? shown->Text(h.reasonId, h.reasonValues) : h.reason));
  return lines;
}

bool OffersRestorePoint(std::uint8_t code) { return code >= 9 && code <= 12; }

bool ReplaceHive(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                 const std::string& backupFile) {
  return ScheduleHiveSwap(registry, files, hiveName, newFile, backupFile) == win::kErrorSuccess;
}

void RecordRestartNotStarted(const JournalWriter* journal, const std::string& reason) {
  if (!journal) return;
  JournalEntry entry;
  entry.kind = JournalKind::RestartNotStarted;
  entry.reason = reason;
  AppendJournalEntry(*journal, entry);
}

void EndRestorePoint(RestoreClient& restore, const RestorePointMade& made, bool keep) {
  if (made.step != RestorePointStep::Created) return;
  restore.SetRestorePoint(EndOfRestorePoint(made.sequenceNumber, keep));
}

namespace {

HiveResult Measured(DefragRun& run, HiveResult result, const std::string& hiveFile, std::int64_t copySize) {
  result.hiveFile = hiveFile;
  result.currentSize = QueryFileSize(run.platform.files, hiveFile);
  result.copySize = copySize;
  return result;
}

// The hives to copy, check and swap. Those left alone and those the
// analysis did not copy are reported at once and never touched.
HiveTable HivesToSwap(DefragRun& run) {
  HiveTable swaps;
  for (std::size_t i = 0; i < run.hives.size(); ++i) {
    const std::string& name = run.hives.HiveNames[i];
    const std::string& file = run.hives.HiveFiles[i];
    if (std::optional<LeftAlone> why = LeftAloneReason(name)) {
      HiveResult result{name, HiveOutcome::LeftAlone, why->Reason()};
      result.reasonId = why->reasonId;
      run.report.hives.push_back(Measured(run, result, file, 0));
    } else if (run.platform.files.Exists(CopyPath(file))) {
      swaps.Append(name, file);
    } else {
      HiveResult result{name, HiveOutcome::NotCopied, MessageOf(IDS_NO_ANALYSIS_COPY).english};
      result.reasonId = IDS_NO_ANALYSIS_COPY;
      run.report.hives.push_back(Measured(run, result, file, 0));
    }
  }
  return swaps;
}

// What the last notice names, its reasons in the user's language.
DefragPlan PlanOf(const DefragRun& run, const HiveTable& swaps) {
  const Messages shown = LoadMessages(run.platform, run.options.Lan);
  return {swaps.HiveNames, run.report.NotScheduledLines(&shown)};
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
HiveResult Check(DefragRun& run, const std::string& hiveName, const std::string& hiveFile, std::int64_t& copySize) {
  Platform& p = run.platform;
  std::string copy = CopyPath(hiveFile);
  if (!p.files.Exists(copy)) {
    HiveResult result{hiveName, HiveOutcome::NotCopied, MessageOf(IDS_NOT_COPIED_AGAIN).english};
    result.reasonId = IDS_NOT_COPIED_AGAIN;
    return result;
  }
  copySize = QueryFileSize(p.files, copy);
  CopyCheck check = CheckHiveCopy(p.registry, p.files, hiveName, copy);
  if (!check.passed) {
    DeleteUnlessLinked(p.files, copy);
    return {hiveName, HiveOutcome::CheckFailed, check.reason};
  }
  return {hiveName, HiveOutcome::Scheduled, ""};
}

void Schedule(DefragRun& run, HiveResult& hive) {
  Platform& p = run.platform;
  long result = ScheduleHiveSwap(p.registry, p.files, hive.hiveName, CopyPath(hive.hiveFile), BackupPath(hive.hiveFile));
  hive.replaceResult = result;
  if (result == win::kErrorSuccess) return;
  hive.outcome = HiveOutcome::ReplaceRefused;
  hive.reasonId = IDS_SWAP_REFUSED;
  hive.reasonValues = {std::to_string(result)};
  hive.reason = FillPlaces(MessageOf(IDS_SWAP_REFUSED).english, hive.reasonValues);
}

JournalOutcome JournalOutcomeOf(HiveOutcome outcome) {
  switch (outcome) {
    case HiveOutcome::Scheduled:
      return JournalOutcome::Scheduled;
    case HiveOutcome::LeftAlone:
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

bool SwapsPendingNow(DefragRun& run) {
  if (!run.journal) return false;
  Platform& p = run.platform;
  return SwapsWaitForRestart(p.files, p.system, ReadJournal(p.files, run.journal->path), run.hives);
}

}  // namespace

DefragOutcome DefragRegistry(DefragRun& run) {
  run.report = {};
  run.restart = {};
  if (SwapsPendingNow(run)) return DefragOutcome::SwapsPending;
  if (run.options.IsAskBeforeDefrag && !run.unattended) {
    bool goOn = run.dialogs.AskBeforeDefrag();
    // Saved whatever the answer, so "Don't ask me next time" sticks even
    // after a No.
    run.saveSettings();
    if (!goOn) return DefragOutcome::Declined;
  }
  RestorePointMade point;
  if (run.options.RestorePoint && !run.unattended) {
    point = OffersRestorePoint(run.versionCode) ? run.dialogs.CreateRestorePoint()
                                                 : RestorePointMade{RestorePointStep::NotOffered, 0};
  }
  run.restorePoint = point.step;
  if (point.step == RestorePointStep::Stopped) {
    Record(run);
    return DefragOutcome::RestorePointCancelled;
  }
  Platform& p = run.platform;
  RecoverSetAsideBackups(p.files, run.hives.HiveFiles);
  HiveTable swaps = HivesToSwap(run);
  if (!run.unattended && !swaps.empty() && !run.dialogs.ConfirmSwapAndRestart(PlanOf(run, swaps))) {
    EndRestorePoint(p.restore, point, false);
    return DefragOutcome::Declined;
  }
  CopyAgain(run, swaps);
  // Loading a copy back needs both; the swap needs the restore privilege.
  EnableBackupPrivilege(p.privileges);
  EnableRestorePrivilege(p.privileges);
  // Every check before the first swap: from that swap on, whatever the
  // system writes to the hive is lost at the restart.
  std::vector<HiveResult> checked;
  for (std::size_t i = 0; i < swaps.size(); ++i) {
    std::int64_t copySize = 0;
    HiveResult result = Check(run, swaps.HiveNames[i], swaps.HiveFiles[i], copySize);
    checked.push_back(Measured(run, result, swaps.HiveFiles[i], copySize));
  }
  for (HiveResult& hive : checked)
    if (hive.outcome == HiveOutcome::Scheduled) Schedule(run, hive);
  run.report.hives.insert(run.report.hives.end(), checked.begin(), checked.end());
  // Recorded before anything can end the run: the restart, or a user who
  // kills the program.
  Record(run);
  ReportDefragEvent(p.events, run.report);
  const bool scheduled = run.report.Scheduled() > 0;
  EndRestorePoint(p.restore, point, scheduled);
  if (!scheduled) {
    // A restart would change nothing and tell the user that it had.
    if (!run.unattended) run.dialogs.ShowNothingScheduled(run.report);
    return DefragOutcome::NothingScheduled;
  }
  run.restart = RestartComputer(p.privileges, p.power);
  if (!run.restart.Started()) {
    RecordRestartNotStarted(run.journal, run.restart.Failure());
    ReportRestartNotStarted(p.events, run.restart.Failure());
    return DefragOutcome::RestartNotStarted;
  }
  return DefragOutcome::Restarting;
}

JournalEntry DefragJournalEntry(const DefragRun& run) {
  JournalEntry entry;
  entry.kind = JournalKind::Defragmentation;
  entry.restorePoint = run.restorePoint;
  for (const HiveResult& h : run.report.hives) {
    // A hive left alone was never the run's to touch.
    if (h.outcome == HiveOutcome::LeftAlone) continue;
    JournalHive hive{h.hiveName, h.hiveFile, h.currentSize, h.copySize, JournalOutcomeOf(h.outcome)};
    if (h.outcome == HiveOutcome::ReplaceRefused) hive.error = h.replaceResult;
    entry.hives.push_back(hive);
  }
  return entry;
}

}  // namespace vh
