// Undoing the last defragmentation. Windows swapped each scheduled hive for
// its copy at the next start and kept the old contents in <hive file>.bak;
// the same call that scheduled that swap schedules the swap back: the backup
// becomes the hive again at the next start, and the compacted hive goes to
// <hive file>.undo. The journal says which run to undo and which hives it
// swapped.
//
// Only while the machine still matches the backups: the undo puts back
// SYSTEM, SOFTWARE and the profiles' hives, but not the component and
// driver stores nor Windows' own files, which move on with every update
// and driver. After 14 days, or once the build or a store has changed since
// the defragmentation, nothing is undone; SYSTEM and SOFTWARE go back
// together or not at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "hive/defrag.h"
#include "hive/hive_table.h"
#include "hive/journal.h"
#include "hive/pending_swaps.h"
#include "platform/platform.h"

namespace vh {

// Why nothing can be undone; None when the undo is offered.
enum class UndoRefusal {
  None,
  NoEntry,            // no journal, or no defragmentation in it
  Damaged,            // the entry to judge cannot be read whole
  NothingScheduled,   // no defragmentation in the journal scheduled a swap
  AlreadyUndone,      // an undo of it has been scheduled already
  NotRestarted,       // swaps wait for the next start
  TooOld,             // it ran more than kUndoDays ago
  MachineChanged,     // Windows' build or a store hive changed since it ran
  NothingToSwapBack,  // no hive it swapped can be swapped back (each has its reason)
};

// How long after a defragmentation an undo is offered at all.
constexpr int kUndoDays = 14;
std::string UndoRefusalText(UndoRefusal refusal);

// Why one hive the defragmentation swapped is left as it is.
enum class UndoSkip {
  NotLoaded,     // the system does not list that hive with that file now
  NotSwappedIn,  // its copy is still there: the swap did not take effect
  NoBackup,      // its backup is missing
  StaleBackup,   // its backup was last written long before the defragmentation
  WrongBackup,   // its backup is not the file the swap made (identity, size)
  NotAHive,      // its backup does not load as a hive
  OtherHive,     // its backup holds another hive (its root lacks the keys only this hive has)
  NotTogether,   // the other machine hive cannot go back, and they go back together
};
// The reason in the words of the journal and the log, which are never
// translated; the undo's dialog takes them as its English texts.
const char* UndoSkipText(UndoSkip skip);

struct UndoPlan {
  UndoRefusal refusal = UndoRefusal::NoEntry;
  JournalEntry entry;                // the defragmentation to undo
  // Each as the undo's journal line has it, all known before any question:
  // name and file as the system lists them now, the hive file ("current")
  // and the backup that goes back in ("copy"), their sizes as measured then
  // and their identities as the defragmentation's journal recorded them
  // (measured then, for an entry of an earlier version).
  std::vector<JournalHive> swapBack;
  std::vector<std::pair<JournalHive, UndoSkip>> skipped;
  // TooOld, MachineChanged: what moved on since the defragmentation.
  std::vector<Phrase> changes;
  bool Offered() const { return refusal == UndoRefusal::None; }
};

// The refusal in plain words, with each hive's own reason where no hive
// can be swapped back.
std::string UndoRefusalText(const UndoPlan& plan);

// Judges the journal's last run of this computer that scheduled swaps
// against the machine and the hives loaded now; runs that scheduled
// nothing (a refused second run, say) and entries another computer wrote
// are passed over. Only hives the system lists (same name, same file) are
// ever swapped back, and only from the backup the swap made (its identity,
// a size no smaller than the hive's then), whatever the journal says: it is
// a file beside the program, not proof. swapsWait: swaps of some run wait
// for the restart.
UndoPlan PlanUndo(const std::vector<JournalEntry>& journal, const HiveTable& loaded, Platform& platform,
                  bool swapsWait);

// The windows the undo shows, all of them before the first swap (but the
// one that says Windows refused every swap back).
class UndoDialogs {
 public:
  virtual ~UndoDialogs() = default;
  // Says what will happen to which hives, when the defragmentation ran, that
  // every registry change since then is lost and that Windows restarts at
  // once; true goes on.
  virtual bool ConfirmUndo(const UndoPlan& plan) = 0;
  virtual RestorePointMade CreateRestorePoint() = 0;
  virtual void ShowNothingToUndo(const UndoPlan& plan) = 0;
  // Windows refused every swap back: there will be no restart.
  virtual void ShowNothingSwappedBack(const JournalEntry& undo) = 0;
  // Runs work (loading each backup, ending the restore point: seconds each)
  // on a worker under a window that names the hive it works on and answers
  // throughout; false when the user stopped it (Stop, Esc, the close box)
  // or it could not run.
  virtual bool CheckUnderWindow(const AfterCopies& work) = 0;
};

struct UndoRun {
  Platform& platform;
  const HiveTable& hives;
  bool unattended = false;
  UndoDialogs& dialogs;
  const JournalWriter& journal;
  // Whether to offer a restore point first, as the defragmentation does.
  bool restorePoint = false;
  std::uint8_t versionCode = 0;
  // Filled in as the run goes.
  UndoPlan plan;
  JournalEntry done;  // what became of each hive, as the journal records it
  RestartAttempt restart;
  std::optional<WaitingRun> waiting;    // SwapsPending: the run whose swaps wait
  std::vector<unsigned> servicing;  // ServicingPending: what Windows is doing (messages)
};

enum class UndoOutcome {
  SwapsPending,  // an earlier run's swaps wait for the restart: nothing done
  ServicingPending,  // Windows is servicing itself: nothing swapped back
  NotRecorded,   // the journal or the waiting key could not be written: nothing swapped back
  NothingToUndo,
  Declined,  // at the question, or stopped while the backups were checked
  NothingScheduled,
  RestartNotStarted,
  Restarting,
};

// Plans, confirms (unless unattended), records the swaps back in the
// journal and the waiting key, schedules each, records their outcome, and
// restarts only when some swap was scheduled.
UndoOutcome UndoLastDefragmentation(UndoRun& run);

// Whether the menu offers the undo now: when the last defragmentation can
// be undone, and when the machine has moved on since it, so that choosing
// it says why it no longer can.
bool UndoOffered(Platform& platform, const HiveTable& hives, const std::string& journalPath);

}  // namespace vh
