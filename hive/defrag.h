// Defragmentation: confirm, optionally make a restore point, tell the user
// what will happen and that Windows restarts at once, then copy every hive
// to be swapped again, load each copy back and compare it with the live
// hive, end the restore point, record the swaps to come in the journal (on
// the disk) and in a volatile key, schedule the swap of each checked copy
// that is still the file checked, record the outcome, and restart. Nothing
// waits for the user, and nothing slow runs, between the first swap and the
// restart: every change the system writes to a swapped hive in that time is
// lost at the restart.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hive/hive_swap.h"
#include "hive/hive_table.h"
#include "hive/journal.h"
#include "hive/machine_state.h"
#include "hive/pending_swaps.h"
#include "hive/servicing.h"
#include "lang/messages.h"
#include "platform/platform.h"
#include "settings/defrag_confirmation.h"
#include "settings/options.h"

namespace vh {

// NotSwapped: checked, but held back before its swap (the reason says why).
enum class HiveOutcome { Scheduled, LeftAlone, NotCopied, CheckFailed, ReplaceRefused, NotSwapped };

struct HiveResult {
  std::string hiveName;
  HiveOutcome outcome = HiveOutcome::NotCopied;
  Phrase reason;            // why it was not scheduled; no message when it was
  long replaceResult = -1;  // RegReplaceKeyA's result; -1 when not called
  std::string hiveFile;
  std::int64_t currentSize = -1;  // the hive file's, when the run looked at it
  std::int64_t copySize = 0;      // the fresh copy's, before its check; 0 without one
  // Files::Identity of the hive file and of the checked copy; empty when
  // unknown.
  std::string currentId;
  std::string copyId;
};

struct DefragReport {
  // Hives left alone or not copied by the analysis first, then the others,
  // each in table order.
  std::vector<HiveResult> hives;
  int Scheduled() const;
  // One line per hive that was not scheduled: "<hive name>: <reason>", the
  // reason in English (the logs, the event log), or in the language of the
  // messages shown.
  std::vector<std::string> NotScheduledLines(const Messages* shown = nullptr) const;
};

// What the last notice before the swaps names.
struct DefragPlan {
  std::vector<std::string> toSwap;     // hive names, to be copied, checked and swapped
  std::vector<std::string> notSwapped;  // "<hive name>: <reason>", known before any copy
};

enum class FreshCopies { Done, Stopped };

// What runs on the fresh copies' worker once the copies are done (copied:
// every hive was copied) or stopped: the checks and the end of the restore
// point, which may take many seconds and must not freeze a window. It reads
// stop between hives, names each hive as it starts on it (showHive), and
// answers whether the run goes on.
using ShowHive = std::function<void(const std::string& hiveName)>;
using AfterCopies = std::function<bool(bool copied, const std::atomic<bool>& stop, const ShowHive& showHive)>;

// The windows the defragmentation shows, all of them before the first swap
// (but the one that says nothing could be scheduled).
class DefragDialogs {
 public:
  virtual ~DefragDialogs() = default;
  // The "Defrag Now" confirmation: whether to go on, and whether to ask
  // again next time.
  virtual DefragConfirmation AskBeforeDefrag() = 0;
  // The restore point dialog: Created, FailedWentOn or Stopped.
  virtual RestorePointMade CreateRestorePoint() = 0;
  // The last word: which hives will be swapped and which not, that Windows
  // restarts at once and that changes made from now on are lost. True goes on.
  virtual bool ConfirmSwapAndRestart(const DefragPlan& plan) = 0;
  // Writes a fresh copy of each hive through the scan worker and its
  // progress dialog (none when hives is empty), then runs then on the same
  // worker; returns when the dialog has closed: Stopped when the user ended
  // it (Stop, Esc, the close box) at any moment, or when then said so.
  virtual FreshCopies CopyAgain(const HiveTable& hives, const AfterCopies& then) = 0;
  // No hive could be scheduled: there will be no restart.
  virtual void ShowNothingScheduled(const DefragReport& report) = 0;
};

struct DefragRun {
  Platform& platform;
  const HiveTable& hives;
  // The settings; the run saves them when the question's tick changes
  // them, and the caller reads them back.
  TOptionsSetting options;
  bool unattended = false;
  std::uint8_t versionCode = 0;
  DefragDialogs& dialogs;
  // The analysis' copies are recent enough to swap in as they are (an
  // unattended run straight after its analysis); otherwise every hive is
  // copied again.
  bool keepAnalysisCopies = false;
  // Where the run is recorded; none: not recorded.
  const JournalWriter* journal = nullptr;
  // Filled in as the run goes: what became of each hive, of the restore
  // point, and of the restart.
  DefragReport report;
  RestorePointStep restorePoint = RestorePointStep::NotAsked;
  RestartAttempt restart;
  std::optional<WaitingRun> waiting;    // SwapsPending: the run whose swaps wait
  std::vector<unsigned> servicing;  // ServicingPending: what Windows is doing (messages)
  std::string ended;                   // why the run ended before any swap
  // What its undo would not put back, read right before the first swap.
  std::optional<MachineState> machine;
  // The pending renames in the checked copy of SYSTEM, read while it was
  // loaded for its check; nullopt when no copy of SYSTEM passed one.
  std::optional<PendingRenames> renamesInCopy;
};

enum class DefragOutcome {
  SwapsPending,           // an earlier run's swaps wait for the restart: nothing done
  ServicingPending,       // Windows is servicing itself: nothing swapped
  Declined,               // at the confirmation or the last notice
  RestorePointCancelled,
  Stopped,                // the fresh copies were stopped: nothing swapped
  NotRecorded,            // the journal or the waiting key could not be written: nothing swapped
  NothingScheduled,
  RestartNotStarted,      // swaps scheduled, but Windows would not restart
  Restarting,
};

// The whole defragmentation, in order. A failed settings write (AppError)
// propagates before any hive is touched.
DefragOutcome DefragRegistry(DefragRun& run);

// The same, true when scheduled.
bool ReplaceHive(Registry& registry, Files& files, const std::string& hiveName, const std::string& newFile,
                 const std::string& backupFile);

// The journal's record of a run: every hive of the report the run could
// have touched, with its file and sizes; before the swaps, each hive to be
// swapped as "to swap" with the identities of its files.
JournalEntry DefragJournalEntry(const DefragRun& run, bool beforeSwaps = false);

// Records that the restart after a run's swaps could not be started.
void RecordRestartNotStarted(const JournalWriter* journal, const std::string& reason);

// Closes the change a restore point of the run's own opened: kept when
// something was scheduled, cancelled when nothing was. A point Windows
// already had is left as it is.
void EndRestorePoint(RestoreClient& restore, const RestorePointMade& made, bool keep);

// Logs (varnhold.log) that Windows' own point covers the run, when the run
// got no point of its own.
void LogReusedRestorePoint(const JournalWriter* journal, const RestorePointMade& made);

// Versions that offer System Restore: XP, Server 2003, Vista and later.
bool OffersRestorePoint(std::uint8_t versionCode);

}  // namespace vh
