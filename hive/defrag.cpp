#include "hive/defrag.h"

#include "hive/copy_check.h"
#include "hive/swap_events.h"
#include "hive/hive_copy.h"
#include "hive/left_alone.h"
#include "hive/pending_swaps.h"
#include "hive/servicing.h"
#include "platform/text.h"

namespace vh {

namespace {

int ScheduledIn(const std::vector<HiveResult>& results) {
  int n = 0;
  for (const HiveResult& h : results) n += h.outcome == HiveOutcome::Scheduled;
  return n;
}

}  // namespace

int DefragReport::Scheduled() const { return ScheduledIn(hives); }

std::vector<std::string> DefragReport::NotScheduledLines(const Messages* shown) const {
  std::vector<std::string> lines;
  for (const HiveResult& h : hives)
    if (h.outcome != HiveOutcome::Scheduled)
      lines.push_back(h.hiveName + ": " + (shown ? h.reason.In(*shown) : h.reason.English()));
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

void LogReusedRestorePoint(const JournalWriter* journal, const RestorePointMade& made) {
  if (made.step != RestorePointStep::Reused || !journal || !journal->logFailure) return;
  journal->logFailure("System Restore made no new restore point: Windows' restore point of " +
                      (made.reusedTime.empty() ? std::string("earlier today") : made.reusedTime) +
                      " (sequence number " + std::to_string(made.sequenceNumber) +
                      ") covers this run, and was left as it is.");
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
  swaps.ProfileSids = run.hives.ProfileSids;
  for (std::size_t i = 0; i < run.hives.size(); ++i) {
    const std::string& name = run.hives.HiveNames[i];
    const std::string& file = run.hives.HiveFiles[i];
    if (std::optional<LeftAlone> why = LeftAloneReason(name, run.hives.ProfileSids)) {
      run.report.hives.push_back(Measured(run, {name, HiveOutcome::LeftAlone, {why->reasonId}}, file, 0));
    } else if (run.platform.files.Exists(CopyPath(file))) {
      swaps.Append(name, file);
    } else {
      run.report.hives.push_back(Measured(run, {name, HiveOutcome::NotCopied, {IDS_NO_ANALYSIS_COPY}}, file, 0));
    }
  }
  return swaps;
}

// What the last notice names, its reasons in the user's language.
DefragPlan PlanOf(const DefragRun& run, const HiveTable& swaps) {
  const Messages shown = LoadMessages(run.platform, run.options.Lan);
  return {swaps.HiveNames, run.report.NotScheduledLines(&shown)};
}


bool IsSystemHive(const std::string& hiveName) { return EqualsIgnoreCase(hiveName, "\\REGISTRY\\MACHINE\\SYSTEM"); }

// The copy's size is taken before its check, which deletes a copy that fails.
HiveResult Check(DefragRun& run, const std::string& hiveName, const std::string& hiveFile, bool backupHeld) {
  Platform& p = run.platform;
  std::string copy = CopyPath(hiveFile);
  if (!p.files.Exists(copy)) {
    return Measured(run, {hiveName, HiveOutcome::NotCopied, {IDS_NOT_COPIED_AGAIN}}, hiveFile, 0);
  }
  HiveResult result = Measured(run, {hiveName, HiveOutcome::Scheduled}, hiveFile, QueryFileSize(p.files, copy));
  // What the system's renames at the next start will be read from, when
  // this copy is swapped in.
  LoadedCopyReader readRenames;
  if (IsSystemHive(hiveName))
    readRenames = [&](RootKey root, const std::string& key) {
      run.renamesInCopy = ReadPendingRenames(p.registry, root, key);
    };
  CopyCheck check = CheckHiveCopy(p.registry, p.files, hiveName, copy, backupHeld, readRenames);
  if (!check.passed) {
    DeleteUnlessLinked(p.files, copy);
    result.outcome = HiveOutcome::CheckFailed;
    result.reason = check.reason;
    return result;
  }
  // What the swap will be judged by, and what the copy must still be
  // right before it.
  result.currentId = p.files.Identity(hiveFile).value_or("");
  result.copyId = p.files.Identity(copy).value_or("");
  return result;
}

// Each copy checked, in table order, until stop.
bool CheckAll(DefragRun& run, const HiveTable& swaps, const std::atomic<bool>& stop,
              const ShowHive& showHive, std::vector<HiveResult>& checked) {
  // Loading a copy back needs both; the swap needs the restore privilege.
  const bool backupHeld = EnableBackupPrivilege(run.platform.privileges);
  EnableRestorePrivilege(run.platform.privileges);
  for (std::size_t i = 0; i < swaps.size(); ++i) {
    if (stop.load()) return false;
    showHive(swaps.HiveNames[i]);
    checked.push_back(Check(run, swaps.HiveNames[i], swaps.HiveFiles[i], backupHeld));
  }
  return true;
}

// A copy taken at the analysis may be hours old: swapped in, it would undo
// every registry change made since. The old copies go first, so that a hive
// the fresh pass does not reach (stopped, or failed) has none to swap. Every
// check follows on the same worker, before the first swap: from that swap
// on, whatever the system writes to the hive is lost at the restart. Ending
// the restore point can take many seconds (System Restore snapshots the
// registry): it is done there too, before the first swap.
FreshCopies CopyAndCheck(DefragRun& run, const HiveTable& swaps, const RestorePointMade& point) {
  const bool copyAgain = !run.keepAnalysisCopies;
  if (copyAgain)
    for (const std::string& file : swaps.HiveFiles) DeleteUnlessLinked(run.platform.files, CopyPath(file));
  std::vector<HiveResult> checked;
  bool pointEnded = false;
  AfterCopies then = [&](bool copied, const std::atomic<bool>& stop, const ShowHive& showHive) {
    const bool passed = copied && CheckAll(run, swaps, stop, showHive, checked) && !stop.load();
    EndRestorePoint(run.platform.restore, point, passed && ScheduledIn(checked) > 0);
    pointEnded = true;
    return passed;
  };
  FreshCopies end = FreshCopies::Done;
  if (swaps.empty()) {
    const std::atomic<bool> never{false};
    then(true, never, [](const std::string&) {});
  } else {
    end = run.dialogs.CopyAgain(copyAgain ? swaps : HiveTable{}, then);
  }
  // A window that could not run its worker at all: the point is still ours
  // to close.
  if (!pointEnded) EndRestorePoint(run.platform.restore, point, false);
  if (end == FreshCopies::Done) run.report.hives.insert(run.report.hives.end(), checked.begin(), checked.end());
  return end;
}

// The copy right before its swap is still the file that passed the check:
// nothing replaced, moved or rewrote it since.
bool StillTheCheckedCopy(Files& files, const HiveResult& hive) {
  const std::string copy = CopyPath(hive.hiveFile);
  if (files.IsLinked(copy) || QueryFileSize(files, copy) != hive.copySize) return false;
  return hive.copyId.empty() || files.Identity(copy).value_or("") == hive.copyId;
}

void Schedule(DefragRun& run, HiveResult& hive) {
  Platform& p = run.platform;
  if (!StillTheCheckedCopy(p.files, hive)) {
    hive.outcome = HiveOutcome::CheckFailed;
    hive.reason = {IDS_COPY_CHANGED};
    return;
  }
  long result = ScheduleHiveSwap(p.registry, p.files, hive.hiveName, CopyPath(hive.hiveFile), BackupPath(hive.hiveFile));
  hive.replaceResult = result;
  if (result == win::kErrorSuccess) return;
  hive.outcome = HiveOutcome::ReplaceRefused;
  hive.reason = {IDS_SWAP_REFUSED, {std::to_string(result)}};
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
    case HiveOutcome::NotSwapped:
      return JournalOutcome::NotSwapped;
    case HiveOutcome::ReplaceRefused:
      break;
  }
  return JournalOutcome::Refused;
}

void Record(const DefragRun& run) {
  if (!run.journal) return;
  JournalEntry entry = DefragJournalEntry(run);
  AppendJournalEntry(*run.journal, entry);
}

// Every hive that was to be swapped is held back, for this reason.
void HoldBack(DefragRun& run, const Phrase& reason) {
  for (HiveResult& hive : run.report.hives) {
    if (hive.outcome != HiveOutcome::Scheduled) continue;
    hive.outcome = HiveOutcome::NotSwapped;
    hive.reason = reason;
  }
}

std::vector<JournalHive> ToSwapOutcome(const DefragRun& run, const JournalEntry& planned) {
  JournalEntry done = DefragJournalEntry(run);
  std::vector<JournalHive> outcome;
  for (std::size_t i = 0; i < planned.hives.size() && i < done.hives.size(); ++i)
    if (planned.hives[i].outcome == JournalOutcome::ToSwap) outcome.push_back(done.hives[i]);
  return outcome;
}

// No restart: the user hears why, unless nobody is there.
DefragOutcome NoSwap(DefragRun& run, DefragOutcome outcome) {
  ReportDefragEvent(run.platform.events, run.report);
  if (outcome == DefragOutcome::NothingScheduled && !run.unattended) run.dialogs.ShowNothingScheduled(run.report);
  return outcome;
}

// From the record before the first swap to the restart. The restore point
// is ended already: only the swaps, their outcome and the restart remain.
DefragOutcome SwapChecked(DefragRun& run) {
  Platform& p = run.platform;
  run.servicing = FindServicing(p, RenamesCheck::SinceCopy, run.renamesInCopy);
  if (!run.servicing.empty()) {
    HoldBack(run, {IDS_HELD_SERVICING, {}, run.servicing});
    std::string found;
    for (const std::string& line : EnglishFindings(run.servicing)) found += (found.empty() ? "" : "; ") + line;
    run.ended = "Windows is servicing itself (" + found + "); nothing was swapped";
    Record(run);
    return NoSwap(run, DefragOutcome::ServicingPending);
  }
  // Swapped hives without the restart would lose every registry change
  // until some later one: no swap without the right to ask for it.
  if (!ShutdownPrivilegeHeld(p.privileges)) {
    HoldBack(run, {IDS_HELD_NO_SHUTDOWN});
    run.ended = "the shutdown privilege is not held, so Windows could not be restarted; nothing was swapped";
    Record(run);
    return NoSwap(run, DefragOutcome::NothingScheduled);
  }
  run.machine = ReadMachineState(p.registry, p.files, run.hives);
  JournalEntry planned = DefragJournalEntry(run, true);
  if (!run.journal || !AppendJournalEntry(*run.journal, planned, true)) {
    HoldBack(run, {IDS_HELD_NOT_RECORDED});
    return NoSwap(run, DefragOutcome::NotRecorded);
  }
  const std::function<void(const std::string&)> log = run.journal->logFailure;
  if (!MarkSwapsWaiting(p.registry, {std::to_string(planned.stamp), planned.time, planned.computer}, log)) {
    HoldBack(run, {IDS_HELD_NOT_MARKED});
    JournalEntry outcome = SwapOutcomeOf(planned.stamp, ToSwapOutcome(run, planned));
    AppendJournalEntry(*run.journal, outcome, true);
    return NoSwap(run, DefragOutcome::NotRecorded);
  }
  for (HiveResult& hive : run.report.hives)
    if (hive.outcome == HiveOutcome::Scheduled) Schedule(run, hive);
  JournalEntry outcome = SwapOutcomeOf(planned.stamp, ToSwapOutcome(run, planned));
  AppendJournalEntry(*run.journal, outcome, true);
  if (run.report.Scheduled() == 0) {
    ClearSwapsWaiting(p.registry);
    return NoSwap(run, DefragOutcome::NothingScheduled);
  }
  ReportDefragEvent(p.events, run.report);
  run.restart = RestartComputer(p.privileges, p.power);
  if (!run.restart.Started()) {
    RecordRestartNotStarted(run.journal, run.restart.Failure());
    ReportRestartNotStarted(p.events, run.restart.Failure());
    return DefragOutcome::RestartNotStarted;
  }
  return DefragOutcome::Restarting;
}

}  // namespace

DefragOutcome DefragRegistry(DefragRun& run) {
  run.report = {};
  run.restart = {};
  run.servicing.clear();
  run.ended.clear();
  run.machine.reset();
  run.renamesInCopy.reset();
  Platform& p = run.platform;
  if (run.journal) RemoveStaleWaitingKey(p.registry, p.files, run.journal->path, run.journal->logFailure);
  run.waiting = FindWaitingSwaps(p.registry);
  if (run.waiting) return DefragOutcome::SwapsPending;
  // Pending renames are judged against the checked copy of SYSTEM, right
  // before the first swap.
  run.servicing = FindServicing(p, RenamesCheck::Later);
  if (!run.servicing.empty()) return DefragOutcome::ServicingPending;
  if (run.options.IsAskBeforeDefrag && !run.unattended) {
    const DefragConfirmation answer = run.dialogs.AskBeforeDefrag();
    run.options.IsAskBeforeDefrag = answer.askNextTime;
    // Saved whatever the answer, so "Don't ask me next time" sticks even
    // after a No.
    LoadSaveOptions(run.options, p.profiles, OptionsFilePath(p.files), false);
    if (!answer.goOn) return DefragOutcome::Declined;
  }
  RestorePointMade point;
  if (run.options.RestorePoint && !run.unattended) {
    point = OffersRestorePoint(run.versionCode) ? run.dialogs.CreateRestorePoint()
                                                 : RestorePointMade{RestorePointStep::NotOffered, 0};
  }
  run.restorePoint = point.step;
  LogReusedRestorePoint(run.journal, point);
  if (point.step == RestorePointStep::Stopped) {
    Record(run);
    return DefragOutcome::RestorePointCancelled;
  }
  RecoverSetAsideBackups(p.files, run.hives.HiveFiles);
  HiveTable swaps = HivesToSwap(run);
  if (!run.unattended && !swaps.empty() && !run.dialogs.ConfirmSwapAndRestart(PlanOf(run, swaps))) {
    EndRestorePoint(p.restore, point, false);
    return DefragOutcome::Declined;
  }
  if (CopyAndCheck(run, swaps, point) == FreshCopies::Stopped) {
    // Stopped means the whole run: the copies made so far are not swapped.
    for (std::size_t i = 0; i < swaps.size(); ++i)
      run.report.hives.push_back(
          Measured(run, {swaps.HiveNames[i], HiveOutcome::NotCopied, {IDS_COPIES_STOPPED}}, swaps.HiveFiles[i], 0));
    run.ended = "stopped by the user during the fresh copies; nothing was swapped";
    Record(run);
    return DefragOutcome::Stopped;
  }
  if (run.report.Scheduled() == 0) {
    Record(run);
    return NoSwap(run, DefragOutcome::NothingScheduled);
  }
  return SwapChecked(run);
}

JournalEntry DefragJournalEntry(const DefragRun& run, bool beforeSwaps) {
  JournalEntry entry;
  entry.kind = JournalKind::Defragmentation;
  entry.restorePoint = run.restorePoint;
  entry.ended = run.ended;
  if (beforeSwaps) entry.machine = run.machine;
  for (const HiveResult& h : run.report.hives) {
    // A hive left alone was never the run's to touch.
    if (h.outcome == HiveOutcome::LeftAlone) continue;
    JournalHive hive{h.hiveName, h.hiveFile, h.currentSize, h.copySize, JournalOutcomeOf(h.outcome)};
    if (h.outcome == HiveOutcome::ReplaceRefused) hive.error = h.replaceResult;
    if (beforeSwaps && h.outcome == HiveOutcome::Scheduled) {
      hive.outcome = JournalOutcome::ToSwap;
      hive.currentId = h.currentId;
      hive.copyId = h.copyId;
    }
    entry.hives.push_back(hive);
  }
  return entry;
}

}  // namespace vh
