#include "hive/undo.h"

#include "hive/defrag.h"
#include "hive/hive_copy.h"
#include "hive/copy_check.h"
#include "hive/pending_swaps.h"
#include "hive/servicing.h"
#include "hive/swap_events.h"
#include "platform/text.h"

namespace vh {

namespace {

// The loaded hive with this name and file, in the system's own spelling.
bool FindLoaded(const HiveTable& loaded, const JournalHive& hive, JournalHive& found) {
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    if (EqualsIgnoreCase(loaded.HiveNames[i], hive.name) && EqualsIgnoreCase(loaded.HiveFiles[i], hive.file)) {
      found = hive;
      found.name = loaded.HiveNames[i];
      found.file = loaded.HiveFiles[i];
      return true;
    }
  }
  return false;
}

// The swap took effect when the hive file is now the copy it was to take
// in. Without the copy's identity (an entry of an earlier version): when the
// copy's name is gone, or taken by a later analysis' copy.
bool SwappedIn(Files& files, const JournalHive& hive, std::uint64_t entryStamp) {
  if (!hive.copyId.empty()) return files.Identity(hive.file).value_or("") == hive.copyId;
  std::string copy = CopyPath(hive.file);
  if (!files.EntryExists(copy)) return true;
  std::optional<std::uint64_t> written = files.EntryWriteTime(copy);
  return written && *written > entryStamp;
}

// The backup Windows made at the swap is the hive's live file renamed,
// which the system kept writing until the restart. One last written a day
// or more before the defragmentation is some other file of that name.
constexpr std::uint64_t kBackupSlack = 24ull * 3600 * 10000000;

bool BackupOfTheRun(Files& files, const std::string& hiveFile, std::uint64_t entryStamp) {
  std::optional<std::uint64_t> written = files.EntryWriteTime(BackupPath(hiveFile));
  return written && *written + kBackupSlack > entryStamp;
}

// The backup is the hive's file of the swap, renamed: the same identity,
// and no smaller than the hive was then (a loaded hive's file never
// shrinks).
bool TheSwapsBackup(Files& files, const JournalHive& hive) {
  const std::string backup = BackupPath(hive.file);
  if (hive.currentSize >= 0 && QueryFileSize(files, backup) < hive.currentSize) return false;
  return hive.currentId.empty() || files.Identity(backup).value_or("") == hive.currentId;
}

void JudgeHives(UndoPlan& plan, const HiveTable& loaded, Files& files) {
  for (const JournalHive& hive : plan.entry.hives) {
    if (hive.outcome != JournalOutcome::Scheduled) continue;
    JournalHive now;
    if (!FindLoaded(loaded, hive, now)) {
      plan.skipped.push_back({hive, UndoSkip::NotLoaded});
    } else if (!SwappedIn(files, now, plan.entry.stamp)) {
      plan.skipped.push_back({now, UndoSkip::NotSwappedIn});
    } else if (!files.Exists(BackupPath(now.file))) {
      plan.skipped.push_back({now, UndoSkip::NoBackup});
    } else if (!TheSwapsBackup(files, now)) {
      plan.skipped.push_back({now, UndoSkip::WrongBackup});
    } else if (now.currentId.empty() && !BackupOfTheRun(files, now.file, plan.entry.stamp)) {
      plan.skipped.push_back({now, UndoSkip::StaleBackup});
    } else {
      plan.swapBack.push_back(now);
    }
  }
}

// A skipped hive's line holds what is there now: the hive's size and its
// backup's, as a swapped-back hive's line does.
JournalHive SkippedHive(Files& files, const std::pair<JournalHive, UndoSkip>& skipped) {
  JournalHive hive = skipped.first;
  hive.outcome = JournalOutcome::Skipped;
  hive.skipReason = UndoSkipText(skipped.second);
  hive.error = 0;
  hive.currentSize = QueryFileSize(files, hive.file);
  hive.copySize = QueryFileSize(files, BackupPath(hive.file));
  return hive;
}

}  // namespace

std::string UndoRefusalText(UndoRefusal refusal) {
  switch (refusal) {
    case UndoRefusal::None:
      return "the last defragmentation can be undone";
    case UndoRefusal::NoEntry:
      return "the journal holds no defragmentation";
    case UndoRefusal::Damaged:
      return "the journal's last entry cannot be read";
    case UndoRefusal::NothingScheduled:
      return "the last defragmentation scheduled no swap";
    case UndoRefusal::AlreadyUndone:
      return "the undo of the last defragmentation is already scheduled or done";
    case UndoRefusal::NotRestarted:
      return "swaps wait for the restart, so the last defragmentation has not taken effect";
    case UndoRefusal::NothingToSwapBack:
      return "no hive the last defragmentation swapped can be swapped back";
  }
  return "";
}

std::string UndoRefusalText(const UndoPlan& plan) {
  std::string text = UndoRefusalText(plan.refusal);
  if (plan.refusal != UndoRefusal::NothingToSwapBack) return text;
  for (const auto& skipped : plan.skipped) text += "; " + skipped.first.name + ": " + UndoSkipText(skipped.second);
  return text;
}

const char* UndoSkipText(UndoSkip skip) {
  switch (skip) {
    case UndoSkip::NotLoaded:
      return "the system does not list this hive with this file now";
    case UndoSkip::NotSwappedIn:
      return "its compacted copy is still there, so the swap did not take effect";
    case UndoSkip::NoBackup:
      return "its backup is missing";
    case UndoSkip::StaleBackup:
      return "its backup was last written more than a day before the defragmentation, so it is not the one that "
             "defragmentation left";
    case UndoSkip::WrongBackup:
      return "its backup is not the file that defragmentation left (another file, or one cut short)";
    case UndoSkip::NotAHive:
      return "its backup does not load as a hive";
  }
  return "";
}

UndoPlan PlanUndo(const std::vector<JournalEntry>& journal, const HiveTable& loaded, Files& files,
                  const std::string& computer, bool swapsWait) {
  UndoPlan plan;
  plan.refusal = UndoRefusal::NoEntry;
  for (auto it = journal.rbegin(); it != journal.rend(); ++it) {
    // A journal copied from another computer names hives and backups of
    // that computer, whatever their paths say here.
    if (!it->OfComputer(computer)) continue;
    // An entry this version wrote (it names its computer) and that is cut
    // short never led to a swap: the swaps begin once it is on the disk.
    if (it->damaged && !it->computer.empty()) continue;
    if (it->damaged) {
      plan.refusal = UndoRefusal::Damaged;
      return plan;
    }
    // Runs that scheduled nothing changed nothing: a second run refused
    // before the restart, an undo Windows refused outright, a restart that
    // could not be started. The run before them can still be undone.
    if (!it->SchedulesSwaps()) {
      if (it->kind == JournalKind::Defragmentation) plan.refusal = UndoRefusal::NothingScheduled;
      continue;
    }
    if (it->kind == JournalKind::Undo) {
      plan.refusal = UndoRefusal::AlreadyUndone;
      return plan;
    }
    plan.entry = *it;
    if (swapsWait) {
      plan.refusal = UndoRefusal::NotRestarted;
    } else {
      JudgeHives(plan, loaded, files);
      plan.refusal = plan.swapBack.empty() ? UndoRefusal::NothingToSwapBack : UndoRefusal::None;
    }
    return plan;
  }
  return plan;
}

void CheckBackupsLoad(UndoPlan& plan, Registry& registry, Files& files) {
  std::vector<JournalHive> loads;
  for (const JournalHive& hive : plan.swapBack) {
    if (CheckLoadsAsHive(registry, files, BackupPath(hive.file)).passed) {
      loads.push_back(hive);
    } else {
      plan.skipped.push_back({hive, UndoSkip::NotAHive});
    }
  }
  plan.swapBack = loads;
  if (plan.swapBack.empty() && plan.refusal == UndoRefusal::None) plan.refusal = UndoRefusal::NothingToSwapBack;
}

namespace {

// The swaps back as planned: each hive's file and backup as they are now.
JournalEntry PlannedUndo(Files& files, const UndoPlan& plan) {
  JournalEntry entry;
  entry.kind = JournalKind::Undo;
  for (const JournalHive& hive : plan.swapBack) {
    JournalHive planned = hive;
    planned.outcome = JournalOutcome::ToSwap;
    planned.error = 0;
    planned.currentSize = QueryFileSize(files, hive.file);
    planned.copySize = QueryFileSize(files, BackupPath(hive.file));
    planned.currentId = files.Identity(hive.file).value_or("");
    planned.copyId = files.Identity(BackupPath(hive.file)).value_or("");
    entry.hives.push_back(planned);
  }
  for (const auto& skipped : plan.skipped) entry.hives.push_back(SkippedHive(files, skipped));
  return entry;
}

// The backup right before its swap back is still the file planned.
bool StillThePlannedBackup(Files& files, const JournalHive& hive) {
  const std::string backup = BackupPath(hive.file);
  if (QueryFileSize(files, backup) != hive.copySize) return false;
  return hive.copyId.empty() || files.Identity(backup).value_or("") == hive.copyId;
}

void SwapBack(Platform& p, JournalHive& hive) {
  if (!StillThePlannedBackup(p.files, hive)) {
    hive.outcome = JournalOutcome::Skipped;
    hive.skipReason = UndoSkipText(UndoSkip::WrongBackup);
    return;
  }
  // The backup goes in as the new file; the compacted hive leaves under a
  // name of its own, never over the backup it replaces.
  long result = ScheduleHiveSwap(p.registry, p.files, hive.name, BackupPath(hive.file), UndoPath(hive.file));
  hive.outcome = result == win::kErrorSuccess ? JournalOutcome::Scheduled : JournalOutcome::Refused;
  hive.error = result == win::kErrorSuccess ? 0 : result;
}

std::vector<JournalHive> ToSwapOf(const JournalEntry& planned, const JournalEntry& done) {
  std::vector<JournalHive> hives;
  for (std::size_t i = 0; i < planned.hives.size(); ++i)
    if (planned.hives[i].outcome == JournalOutcome::ToSwap) hives.push_back(done.hives[i]);
  return hives;
}

void HoldBackUndo(JournalEntry& done) {
  for (JournalHive& hive : done.hives)
    if (hive.outcome == JournalOutcome::ToSwap) hive.outcome = JournalOutcome::NotSwapped;
}

// From the record before the first swap back to the restart.
UndoOutcome SwapBackPlanned(UndoRun& run) {
  Platform& p = run.platform;
  run.servicing = FindServicing(p);
  if (!run.servicing.empty()) return UndoOutcome::ServicingPending;
  JournalEntry planned = PlannedUndo(p.files, run.plan);
  run.done = planned;
  if (!AppendJournalEntry(run.journal, planned, true)) {
    HoldBackUndo(run.done);
    return UndoOutcome::NotRecorded;
  }
  run.done.stamp = planned.stamp;
  run.done.time = planned.time;
  if (!MarkSwapsWaiting(p.registry, {std::to_string(planned.stamp), planned.time, planned.computer})) {
    HoldBackUndo(run.done);
    JournalEntry outcome = SwapOutcomeOf(planned.stamp, ToSwapOf(planned, run.done));
    AppendJournalEntry(run.journal, outcome, true);
    return UndoOutcome::NotRecorded;
  }
  for (JournalHive& hive : run.done.hives)
    if (hive.outcome == JournalOutcome::ToSwap) SwapBack(p, hive);
  JournalEntry outcome = SwapOutcomeOf(planned.stamp, ToSwapOf(planned, run.done));
  AppendJournalEntry(run.journal, outcome, true);
  ReportUndoEvent(p.events, run.done);
  if (run.done.Scheduled() == 0) {
    ClearSwapsWaiting(p.registry);
    if (!run.unattended) run.dialogs.ShowNothingSwappedBack(run.done);
    return UndoOutcome::NothingScheduled;
  }
  run.restart = RestartComputer(p.privileges, p.power);
  if (!run.restart.Started()) {
    RecordRestartNotStarted(&run.journal, run.restart.Failure());
    ReportRestartNotStarted(p.events, run.restart.Failure());
    return UndoOutcome::RestartNotStarted;
  }
  return UndoOutcome::Restarting;
}

}  // namespace

UndoOutcome UndoLastDefragmentation(UndoRun& run) {
  Platform& p = run.platform;
  run.done = {};
  run.restart = {};
  run.servicing.clear();
  run.waiting = FindWaitingSwaps(p.registry);
  if (run.waiting) return UndoOutcome::SwapsPending;
  run.servicing = FindServicing(p);
  if (!run.servicing.empty()) return UndoOutcome::ServicingPending;
  RecoverSetAsideBackups(p.files, run.hives.HiveFiles);
  run.plan = PlanUndo(ReadJournal(p.files, run.journal.path), run.hives, p.files, p.system.ComputerName(), false);
  if (run.plan.Offered()) {
    // Loading a backup needs both; so does RegReplaceKey.
    EnableBackupPrivilege(p.privileges);
    EnableRestorePrivilege(p.privileges);
    CheckBackupsLoad(run.plan, p.registry, p.files);
  }
  if (!run.plan.Offered()) {
    if (!run.unattended) run.dialogs.ShowNothingToUndo(run.plan);
    return UndoOutcome::NothingToUndo;
  }
  if (!run.unattended && !run.dialogs.ConfirmUndo(run.plan)) return UndoOutcome::Declined;
  RestorePointMade point;
  if (run.restorePoint && !run.unattended && OffersRestorePoint(run.versionCode)) {
    point = run.dialogs.CreateRestorePoint();
    if (point.step == RestorePointStep::Stopped) return UndoOutcome::Declined;
  }
  // Before the first swap back: it can take many seconds.
  EndRestorePoint(p.restore, point, true);
  return SwapBackPlanned(run);
}

bool UndoOffered(Platform& platform, const HiveTable& hives, const std::string& journalPath) {
  return PlanUndo(ReadJournal(platform.files, journalPath), hives, platform.files, platform.system.ComputerName(),
                  FindWaitingSwaps(platform.registry).has_value())
      .Offered();
}

}  // namespace vh
