// The unattended modes: /Silent analyses, defragments and restarts (unless
// the gain is below its /MinGain); /Scan analyses and writes the totals into
// the "Scan Result" section of a report file and each hive's sizes into
// "Scan Hives"; /Undo undoes the last defragmentation and restarts. Nothing
// may wait for a user, and the exit code tells the caller what happened.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/min_gain.h"
#include "app/scan_report.h"
#include "app/totals.h"
#include "hive/undo.h"
#include "platform/platform.h"

namespace vh {

// Exit codes of the program.
enum ExitCode : int {
  kExitDone = 0,                // the mode did its work (and every interactive run)
  kExitNoDesktop = 1,           // no window could be created
  kExitAnalysisIncomplete = 2,  // /Silent, /Scan: no complete analysis; nothing scheduled, no report
  kExitReportNotWritten = 3,    // /Scan: the report file could not be written, or is the program's own
  kExitNothingScheduled = 4,    // /Silent: no hive could be swapped; no restart
  kExitAnotherInstance = 5,     // unattended: another instance was running
  kExitUnsupportedWindows = 6,  // unattended: the Windows version is not supported
  kExitBadCommandLine = 7,      // an unknown or malformed switch
  kExitNothingToUndo = 8,       // /Undo: no defragmentation can be undone; nothing was done
  kExitUndoNotScheduled = 9,    // /Undo: Windows refused every swap back; no restart
  kExitUnexpectedError = 10,    // an error no window handled ended the run; it was reported
  kExitRestartNotStarted = 11,  // /Silent, /Undo: swaps scheduled, but Windows did not restart
  kExitSwapsPending = 12,       // unattended: an earlier run's swaps wait for the restart; nothing was done
  kExitBelowMinGain = 13,       // /Silent: the gain is below /MinGain; nothing scheduled, no restart
  kExitWindowsServicing = 14,   // /Silent, /Undo: Windows is installing or waits for its own restart; nothing swapped
};

// What a defragmentation did, as the unattended mode reports it.
struct DefragSummary {
  bool restarting = false;  // some swap was scheduled and the restart requested
  std::vector<std::string> notScheduled;  // "<hive name>: <reason>" each
  bool swapsPending = false;  // refused: an earlier run's swaps wait
  std::string restartFailure;  // swaps scheduled, but the restart could not be started
  std::vector<std::string> servicing;  // refused: what Windows' servicing is doing
};

// What an undo did, as the unattended mode reports it.
struct UndoSummary {
  UndoOutcome outcome = UndoOutcome::NothingToUndo;
  UndoRefusal refusal = UndoRefusal::NoEntry;
  std::string refusalText;  // the refusal in plain words, with each hive's reason
  std::string defragTime;   // when the defragmentation it undoes ran
  std::vector<std::string> notUndone;  // "<hive name>: <reason>" each
  std::string restartFailure;  // swaps scheduled, but the restart could not be started
  std::vector<std::string> servicing;  // refused: what Windows' servicing is doing
};

// What the modes need of the run (UnattendedRun).
class UnattendedHost {
 public:
  virtual ~UnattendedHost() = default;
  // Swaps of an earlier run wait for the restart: nothing may be done.
  virtual bool SwapsWait() = 0;
  // Runs the analysis to its end; true when every hive was copied and the
  // figures are filled.
  virtual bool Analyze() = 0;
  virtual DefragSummary Defragment() = 0;
  virtual UndoSummary Undo() = 0;
  virtual TotalsText Totals() = 0;
  // The [Scan Hives] section's facts.
  virtual HivesReport ReportHives() = 0;
  // The local date and time as the report writes it.
  virtual std::string NowText() = 0;
  // After a taken restart request: runs until the session ends (true) or
  // the restart is found not to come (false, recorded by the host).
  virtual bool AwaitRestart() = 0;
  // Leaves a failure where an unattended caller can find it.
  virtual void RecordFailure(const std::string& text) = 0;
  // Ends the run: leftover copies deleted, settings saved. Never throws: a
  // failure on the way (the settings file) is recorded by the host, and the
  // run still ends.
  virtual void Close() = 0;
};

// With a minimum gain, an analysis below it schedules nothing.
int RunSilentMode(UnattendedHost& host, const std::optional<MinGain>& minGain = std::nullopt);
int RunUndoMode(UnattendedHost& host);
// programPath: the running executable. A report path that names it or a
// file beside it that the program keeps, however spelt (IsProgramFile), is
// refused before anything is written.
int RunScanMode(UnattendedHost& host, ProfileFiles& profiles, Files& files, const std::string& reportPath,
                const std::string& programPath);

// The report's "Time": date, a blank and the time; the time is left out at
// exactly midnight.
std::string ReportTimeText(const std::string& date, const std::string& time, bool midnight);

}  // namespace vh
