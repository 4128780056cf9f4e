#include "hive/undo.h"

#include "hive/defrag.h"
#include "hive/hive_copy.h"
#include "hive/pending_swaps.h"
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

// A copy written after the entry is a later analysis' copy, not the one
// the swap was to take.
bool SwappedIn(Files& files, const std::string& hiveFile, std::uint64_t entryStamp) {
  std::string copy = CopyPath(hiveFile);
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

void JudgeHives(UndoPlan& plan, const HiveTable& loaded, Files& files) {
  for (const JournalHive& hive : plan.entry.hives) {
    if (hive.outcome != JournalOutcome::Scheduled) continue;
    JournalHive now;
    if (!FindLoaded(loaded, hive, now)) {
      plan.skipped.push_back({hive, UndoSkip::NotLoaded});
    } else if (!SwappedIn(files, now.file, plan.entry.stamp)) {
      plan.skipped.push_back({now, UndoSkip::NotSwappedIn});
    } else if (!files.Exists(BackupPath(now.file))) {
      plan.skipped.push_back({now, UndoSkip::NoBackup});
    } else if (!BackupOfTheRun(files, now.file, plan.entry.stamp)) {
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
      return "the computer has not restarted since the last defragmentation, so its swaps have not taken effect";
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
  }
  return "";
}

UndoPlan PlanUndo(const std::vector<JournalEntry>& journal, const HiveTable& loaded, Files& files,
                  std::uint64_t bootTime) {
  UndoPlan plan;
  plan.refusal = UndoRefusal::NoEntry;
  for (auto it = journal.rbegin(); it != journal.rend(); ++it) {
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
    if (bootTime <= it->stamp) {
      plan.refusal = UndoRefusal::NotRestarted;
    } else {
      JudgeHives(plan, loaded, files);
      plan.refusal = plan.swapBack.empty() ? UndoRefusal::NothingToSwapBack : UndoRefusal::None;
    }
    return plan;
  }
  return plan;
}

namespace {

// What the journal offers to undo now, on this boot, with these hives loaded.
UndoPlan PlanUndoNow(Platform& platform, const HiveTable& hives, const std::string& journalPath) {
  return PlanUndo(ReadJournal(platform.files, journalPath), hives, platform.files, platform.system.BootTime());
}

}  // namespace

UndoOutcome UndoLastDefragmentation(UndoRun& run) {
  Platform& p = run.platform;
  std::vector<JournalEntry> journal = ReadJournal(p.files, run.journal.path);
  run.done = {};
  run.restart = {};
  if (SwapsWaitForRestart(p.files, p.system, journal, run.hives)) return UndoOutcome::SwapsPending;
  RecoverSetAsideBackups(p.files, run.hives.HiveFiles);
  run.plan = PlanUndo(journal, run.hives, p.files, p.system.BootTime());
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
  EnableRestorePrivilege(p.privileges);
  run.done.kind = JournalKind::Undo;
  for (const JournalHive& hive : run.plan.swapBack) {
    JournalHive done = hive;
    done.currentSize = QueryFileSize(p.files, hive.file);
    done.copySize = QueryFileSize(p.files, BackupPath(hive.file));
    // The backup goes in as the new file; the compacted hive leaves under a
    // name of its own, never over the backup it replaces.
    long result = ScheduleHiveSwap(p.registry, p.files, hive.name, BackupPath(hive.file), UndoPath(hive.file));
    done.outcome = result == win::kErrorSuccess ? JournalOutcome::Scheduled : JournalOutcome::Refused;
    done.error = result == win::kErrorSuccess ? 0 : result;
    run.done.hives.push_back(done);
  }
  for (const auto& skipped : run.plan.skipped) run.done.hives.push_back(SkippedHive(p.files, skipped));
  AppendJournalEntry(run.journal, run.done);
  ReportUndoEvent(p.events, run.done);
  const bool scheduled = run.done.Scheduled() > 0;
  EndRestorePoint(p.restore, point, scheduled);
  if (!scheduled) {
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

bool UndoOffered(Platform& platform, const HiveTable& hives, const std::string& journalPath) {
  return PlanUndoNow(platform, hives, journalPath).Offered();
}

}  // namespace vh
