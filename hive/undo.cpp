#include "hive/undo.h"

#include <atomic>
#include <functional>
#include <set>

#include "hive/copy_check.h"
#include "hive/defrag.h"
#include "hive/hive_copy.h"
#include "hive/machine_state.h"
#include "hive/pending_swaps.h"
#include "hive/servicing.h"
#include "hive/swap_events.h"
#include "platform/text.h"

namespace vh {

namespace {

constexpr std::uint64_t kDay = 24ull * 3600 * 10000000;

const char kSystemHive[] = "\\REGISTRY\\MACHINE\\SYSTEM";
const char kSoftwareHive[] = "\\REGISTRY\\MACHINE\\SOFTWARE";

// The keys at a root that only that hive has; a profile hive's are those of
// these its live hive has (a classes hive has none of them).
const std::vector<std::string> kSystemKeys = {"Select", "ControlSet001"};
const std::vector<std::string> kSoftwareKeys = {"Microsoft", "Classes"};
const std::vector<std::string> kProfileKeys = {"Software", "Environment", "Control Panel"};

bool IsMachineHive(const std::string& name) {
  return EqualsIgnoreCase(name, kSystemHive) || EqualsIgnoreCase(name, kSoftwareHive);
}

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
bool BackupOfTheRun(Files& files, const std::string& hiveFile, std::uint64_t entryStamp) {
  std::optional<std::uint64_t> written = files.EntryWriteTime(BackupPath(hiveFile));
  return written && *written + kDay > entryStamp;
}

// The backup is the hive's file of the swap, renamed: the same identity,
// no smaller than the hive was then (a loaded hive's file never shrinks),
// and not reached through a link.
bool TheSwapsBackup(Files& files, const JournalHive& hive) {
  const std::string backup = BackupPath(hive.file);
  if (files.IsLinked(backup)) return false;
  if (hive.currentSize >= 0 && QueryFileSize(files, backup) < hive.currentSize) return false;
  return hive.currentId.empty() || files.Identity(backup).value_or("") == hive.currentId;
}

// The swap back of a hive the swap took in, as the undo's journal will
// record it: the compacted hive is the copy the swap took in, the backup
// the live file of then, renamed; both identities from the journal.
JournalHive SwapBackOf(Files& files, const JournalHive& swapped) {
  JournalHive back = swapped;
  const std::string backup = BackupPath(back.file);
  back.outcome = JournalOutcome::ToSwap;
  back.error = 0;
  back.currentSize = QueryFileSize(files, back.file);
  back.copySize = QueryFileSize(files, backup);
  back.currentId = swapped.copyId.empty() ? files.Identity(back.file).value_or("") : swapped.copyId;
  back.copyId = swapped.currentId.empty() ? files.Identity(backup).value_or("") : swapped.currentId;
  return back;
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
      plan.swapBack.push_back(SwapBackOf(files, now));
    }
  }
}

// SYSTEM of one date beside SOFTWARE of another may not start: when one
// that the defragmentation swapped in cannot go back, the other stays too.
// A swap that never took effect changed nothing to go back from.
void HoldMachineHivesTogether(UndoPlan& plan) {
  bool held = false;
  for (const auto& [hive, why] : plan.skipped) held = held || (IsMachineHive(hive.name) && why != UndoSkip::NotSwappedIn);
  if (!held) return;
  std::vector<JournalHive> going;
  for (const JournalHive& hive : plan.swapBack) {
    if (IsMachineHive(hive.name)) {
      plan.skipped.push_back({hive, UndoSkip::NotTogether});
    } else {
      going.push_back(hive);
    }
  }
  plan.swapBack = going;
}

bool HoldsAll(const std::set<std::string>& root, const std::vector<std::string>& keys) {
  for (const std::string& key : keys)
    if (!root.count(UpperAscii(key))) return false;
  return true;
}

std::set<std::string> UpperSet(const std::vector<std::string>& names) {
  std::set<std::string> upper;
  for (const std::string& name : names) upper.insert(UpperAscii(name));
  return upper;
}

// The keys the backup of this hive must hold at its root.
std::vector<std::string> OwnKeys(Registry& registry, const std::string& hiveName) {
  if (EqualsIgnoreCase(hiveName, kSystemHive)) return kSystemKeys;
  if (EqualsIgnoreCase(hiveName, kSoftwareHive)) return kSoftwareKeys;
  std::vector<std::string> own;
  KeyHandle live = OpenHiveKey(registry, hiveName);
  if (!live) return own;
  const std::set<std::string> liveRoot = UpperSet(registry.SubkeyNames(live));
  registry.CloseKey(live);
  for (const std::string& key : kProfileKeys)
    if (liveRoot.count(UpperAscii(key))) own.push_back(key);
  return own;
}

// Whether the backup, loaded, holds the hive it is the backup of: the keys
// only that hive has at its root, and neither machine hive's unless it is
// that hive. A copy of one backup over another keeps the file's identity.
std::optional<UndoSkip> BackupHolds(Registry& registry, Files& files, const JournalHive& hive) {
  const std::string backup = BackupPath(hive.file);
  if (!files.Exists(backup)) return UndoSkip::NoBackup;
  HiveFileRoot loaded = ReadHiveFileRoot(registry, files, backup);
  if (!loaded.Loaded()) return UndoSkip::NotAHive;
  const std::set<std::string> root = UpperSet(loaded.keys);
  if (!HoldsAll(root, OwnKeys(registry, hive.name))) return UndoSkip::OtherHive;
  if (!EqualsIgnoreCase(hive.name, kSystemHive) && HoldsAll(root, kSystemKeys)) return UndoSkip::OtherHive;
  if (!EqualsIgnoreCase(hive.name, kSoftwareHive) && HoldsAll(root, kSoftwareKeys)) return UndoSkip::OtherHive;
  return std::nullopt;
}

// The backup is still the file the plan recorded before any question: it
// exists, not through a link, with the identity the journal recorded and
// the size it had then.
std::optional<UndoSkip> StillThePlannedBackup(Files& files, const JournalHive& hive) {
  const std::string backup = BackupPath(hive.file);
  if (!files.Exists(backup)) return UndoSkip::NoBackup;
  if (files.IsLinked(backup) || QueryFileSize(files, backup) != hive.copySize) return UndoSkip::WrongBackup;
  if (!hive.copyId.empty() && files.Identity(backup).value_or("") != hive.copyId) return UndoSkip::WrongBackup;
  return std::nullopt;
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
  hive.currentId.clear();
  hive.copyId.clear();
  return hive;
}

// The machine hives held together; nothing left to swap back is a refusal.
void Settle(UndoPlan& plan) {
  HoldMachineHivesTogether(plan);
  if (plan.swapBack.empty() && plan.refusal == UndoRefusal::None) plan.refusal = UndoRefusal::NothingToSwapBack;
}

// Moves each hive to swap back that fails check to the skipped.
template <typename Check>
void Recheck(UndoPlan& plan, Check check) {
  std::vector<JournalHive> going;
  for (const JournalHive& hive : plan.swapBack) {
    if (std::optional<UndoSkip> why = check(hive)) {
      plan.skipped.push_back({hive, *why});
    } else {
      going.push_back(hive);
    }
  }
  plan.swapBack = going;
  Settle(plan);
}

// Whether the machine still fits the entry's backups.
void JudgeMachine(UndoPlan& plan, Platform& p, const HiveTable& loaded) {
  const std::uint64_t now = p.system.Now();
  // A clock set back after the restart says nothing about the age.
  if (now > plan.entry.stamp && now - plan.entry.stamp > std::uint64_t(kUndoDays) * kDay) {
    plan.refusal = UndoRefusal::TooOld;
    plan.changes = {{IDS_UNDO_AGE, {std::to_string((now - plan.entry.stamp) / kDay)}}};
    return;
  }
  if (!plan.entry.machine) return;
  plan.changes = MachineChanges(*plan.entry.machine, ReadMachineState(p.registry, p.files, loaded));
  if (!plan.changes.empty()) plan.refusal = UndoRefusal::MachineChanged;
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
    case UndoRefusal::TooOld:
      return "an undo is offered for " + std::to_string(kUndoDays) + " days after a defragmentation only";
    case UndoRefusal::MachineChanged:
      return "Windows has changed since the last defragmentation, and its backups no longer fit what an undo does "
             "not put back";
    case UndoRefusal::NothingToSwapBack:
      return "no hive the last defragmentation swapped can be swapped back";
  }
  return "";
}

std::string UndoRefusalText(const UndoPlan& plan) {
  std::string text = UndoRefusalText(plan.refusal);
  for (const Phrase& change : plan.changes) text += "; " + change.English();
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
    case UndoSkip::OtherHive:
      return "its backup holds another hive";
    case UndoSkip::NotTogether:
      return "the system and software hives go back only together, and the other one cannot";
  }
  return "";
}

UndoPlan PlanUndo(const std::vector<JournalEntry>& journal, const HiveTable& loaded, Platform& platform,
                  bool swapsWait) {
  UndoPlan plan;
  plan.refusal = UndoRefusal::NoEntry;
  const std::string computer = platform.system.ComputerName();
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
      return plan;
    }
    plan.refusal = UndoRefusal::None;
    JudgeMachine(plan, platform, loaded);
    if (!plan.Offered()) return plan;
    JudgeHives(plan, loaded, platform.files);
    Settle(plan);
    return plan;
  }
  return plan;
}

namespace {

// The swaps back as planned before any question; the hives skipped since,
// as they are now.
JournalEntry PlannedUndo(Files& files, const UndoPlan& plan) {
  JournalEntry entry;
  entry.kind = JournalKind::Undo;
  entry.hives = plan.swapBack;
  for (const auto& skipped : plan.skipped) entry.hives.push_back(SkippedHive(files, skipped));
  return entry;
}

void SwapBack(Platform& p, JournalHive& hive) {
  // The backup goes in as the new file; the compacted hive leaves under a
  // name of its own, never over the backup it replaces.
  long result = ScheduleHiveSwap(p.registry, p.files, hive.name, BackupPath(hive.file), UndoPath(hive.file));
  hive.outcome = result == win::kErrorSuccess ? JournalOutcome::Scheduled : JournalOutcome::Refused;
  hive.error = result == win::kErrorSuccess ? 0 : result;
}

// Right before the first swap back, each backup once more: a hive whose
// backup changed since the record is left out, and the other machine hive
// with it, before either is swapped.
void HoldBackChanged(Files& files, JournalEntry& done) {
  bool machineHeld = false;
  for (JournalHive& hive : done.hives) {
    if (hive.outcome != JournalOutcome::ToSwap) continue;
    if (std::optional<UndoSkip> why = StillThePlannedBackup(files, hive)) {
      hive.outcome = JournalOutcome::Skipped;
      hive.skipReason = UndoSkipText(*why);
      machineHeld = machineHeld || IsMachineHive(hive.name);
    }
  }
  if (!machineHeld) return;
  for (JournalHive& hive : done.hives) {
    if (hive.outcome != JournalOutcome::ToSwap || !IsMachineHive(hive.name)) continue;
    hive.outcome = JournalOutcome::Skipped;
    hive.skipReason = UndoSkipText(UndoSkip::NotTogether);
  }
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
  HoldBackChanged(p.files, run.done);
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

UndoOutcome NothingToUndo(UndoRun& run) {
  if (!run.unattended) run.dialogs.ShowNothingToUndo(run.plan);
  return UndoOutcome::NothingToUndo;
}

}  // namespace

namespace {

// A backup's load check as the window runs it: named as it starts, passed
// over once the user stopped the run (which then swaps nothing back).
std::optional<UndoSkip> Holds(Platform& p, const JournalHive& hive, const std::atomic<bool>& stop,
                              const ShowHive& show) {
  if (stop.load()) return std::nullopt;
  show(hive.name);
  return BackupHolds(p.registry, p.files, hive);
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
  run.plan = PlanUndo(ReadJournal(p.files, run.journal.path), run.hives, p, false);
  if (run.plan.Offered()) {
    // Loading a backup needs both; so does RegReplaceKey.
    EnableBackupPrivilege(p.privileges);
    EnableRestorePrivilege(p.privileges);
    const bool checked = run.dialogs.CheckUnderWindow([&](bool, const std::atomic<bool>& stop, const ShowHive& show) {
      Recheck(run.plan, [&](const JournalHive& hive) { return Holds(p, hive, stop, show); });
      return !stop.load();
    });
    if (!checked) return UndoOutcome::Declined;
  }
  // Nothing is asked, and no restore point made, for an undo of nothing.
  if (!run.plan.Offered()) return NothingToUndo(run);
  if (!run.unattended && !run.dialogs.ConfirmUndo(run.plan)) return UndoOutcome::Declined;
  RestorePointMade point;
  if (run.restorePoint && !run.unattended && OffersRestorePoint(run.versionCode)) {
    point = run.dialogs.CreateRestorePoint();
    if (point.step == RestorePointStep::Stopped) return UndoOutcome::Declined;
    LogReusedRestorePoint(&run.journal, point);
  }
  // After the questions, each backup again: it must still be the file the
  // plan recorded, and hold its own hive. Ending the restore point can take
  // many seconds: both run under the window, before the first swap back.
  bool pointEnded = false;
  const bool checked = run.dialogs.CheckUnderWindow([&](bool, const std::atomic<bool>& stop, const ShowHive& show) {
    Recheck(run.plan, [&](const JournalHive& hive) {
      std::optional<UndoSkip> why = StillThePlannedBackup(p.files, hive);
      return why ? why : Holds(p, hive, stop, show);
    });
    const bool goOn = !stop.load();
    EndRestorePoint(p.restore, point, goOn && run.plan.Offered());
    pointEnded = true;
    return goOn;
  });
  if (!pointEnded) EndRestorePoint(p.restore, point, false);
  if (!checked) return UndoOutcome::Declined;
  if (!run.plan.Offered()) return NothingToUndo(run);
  return SwapBackPlanned(run);
}

bool UndoOffered(Platform& platform, const HiveTable& hives, const std::string& journalPath) {
  const UndoPlan plan =
      PlanUndo(ReadJournal(platform.files, journalPath), hives, platform, FindWaitingSwaps(platform.registry).has_value());
  return plan.Offered() || plan.refusal == UndoRefusal::TooOld || plan.refusal == UndoRefusal::MachineChanged;
}

}  // namespace vh
