#include "app/unattended.h"

#include "app/own_files.h"
#include "platform/error.h"

namespace vh {

namespace {

const char kSection[] = "Scan Result";

std::optional<std::string> BelowMinGain(UnattendedHost& host, const std::optional<MinGain>& minGain) {
  if (!minGain) return std::nullopt;
  TotalsText totals = host.Totals();
  return MinGainRefusal(minGain, totals.compactTenths, totals.compactPercent);
}

void WriteKey(ProfileFiles& profiles, const std::string& path, const char* key, const std::string& value) {
  if (!profiles.Write(kSection, key, value, path)) throw UnableToWrite(path);
}

const char kSwapsWait[] =
    "Swaps of an earlier run wait for the restart; nothing was done. Restart Windows, then run again.";

const char kServicing[] =
    "Windows is servicing itself; nothing was swapped. Restart Windows, or wait until it has finished, then run "
    "again.";

// One line for the refusal and one for each finding, as the window lists
// them: a script or an administrator reads each one alone.
int RefusedWhileServicing(UnattendedHost& host, const std::vector<std::string>& found) {
  host.RecordFailure(kServicing);
  for (const std::string& line : found) host.RecordFailure("Found: " + line + ".");
  host.Close();
  return kExitWindowsServicing;
}

// Refuses the run while an earlier run's swaps wait for the restart.
bool RefusedWhileSwapsWait(UnattendedHost& host) {
  if (!host.SwapsWait()) return false;
  host.RecordFailure(kSwapsWait);
  host.Close();
  return true;
}

// After swaps were scheduled: the restart, checked. A restart that could
// not be started, or did not come, the host has recorded already.
int AfterSwaps(UnattendedHost& host, const std::string& restartFailure) {
  if (!restartFailure.empty() || !host.AwaitRestart()) {
    host.Close();
    return kExitRestartNotStarted;
  }
  host.Close();
  return kExitDone;
}

}  // namespace

std::string ReportTimeText(const std::string& date, const std::string& time, bool midnight) {
  return midnight ? date : date + " " + time;
}

int RunSilentMode(UnattendedHost& host, const std::optional<MinGain>& minGain) {
  if (RefusedWhileSwapsWait(host)) return kExitSwapsPending;
  // Swapping hives for copies that this run did not write (missing, or stale
  // from an earlier run) would throw away every registry change made since.
  if (!host.Analyze()) {
    host.RecordFailure("The analysis did not complete; no hive was scheduled for replacement.");
    host.Close();
    return kExitAnalysisIncomplete;
  }
  if (std::optional<std::string> below = BelowMinGain(host, minGain)) {
    host.RecordFailure(*below);
    host.Close();
    return kExitBelowMinGain;
  }
  DefragSummary done = host.Defragment();
  if (!done.servicing.empty()) return RefusedWhileServicing(host, done.servicing);
  if (done.swapsPending) {
    host.RecordFailure(kSwapsWait);
    host.Close();
    return kExitSwapsPending;
  }
  for (const std::string& line : done.notScheduled) host.RecordFailure("Not scheduled: " + line);
  if (!done.restarting && done.restartFailure.empty()) {
    host.RecordFailure("No hive was scheduled for replacement; the computer was not restarted.");
    host.Close();
    return kExitNothingScheduled;
  }
  return AfterSwaps(host, done.restartFailure);
}

int RunUndoMode(UnattendedHost& host) {
  if (RefusedWhileSwapsWait(host)) return kExitSwapsPending;
  UndoSummary done = host.Undo();
  for (const std::string& line : done.notUndone) host.RecordFailure("Not swapped back: " + line);
  int code = kExitDone;
  switch (done.outcome) {
    case UndoOutcome::SwapsPending:
      host.RecordFailure(kSwapsWait);
      code = kExitSwapsPending;
      break;
    case UndoOutcome::ServicingPending:
      return RefusedWhileServicing(host, done.servicing);
    case UndoOutcome::NotRecorded:
      host.RecordFailure("The journal could not be written, and nothing is swapped back without its record; the "
                         "computer was not restarted.");
      code = kExitUndoNotScheduled;
      break;
    case UndoOutcome::NothingToUndo:
      host.RecordFailure("Nothing to undo: " + done.refusalText + ".");
      code = kExitNothingToUndo;
      break;
    case UndoOutcome::NothingScheduled:
      host.RecordFailure("No hive was scheduled to be swapped back; the computer was not restarted.");
      code = kExitUndoNotScheduled;
      break;
    case UndoOutcome::Restarting:
    case UndoOutcome::RestartNotStarted:
      host.RecordFailure("Undone: the defragmentation of " + done.defragTime +
                         "; every registry change made since then is lost at the restart.");
      return AfterSwaps(host, done.restartFailure);
    case UndoOutcome::Declined:
      break;
  }
  host.Close();
  return code;
}

int RunScanMode(UnattendedHost& host, ProfileFiles& profiles, Files& files, const std::string& reportPath,
                const std::string& programPath) {
  if (!reportPath.empty() && IsProgramFile(files, reportPath, programPath)) {
    host.RecordFailure("The report file " + reportPath + " is one of Varnhold's own files; nothing was written.");
    host.Close();
    return kExitReportNotWritten;
  }
  // Copies taken now would be of hives Windows is about to drop.
  if (RefusedWhileSwapsWait(host)) return kExitSwapsPending;
  try {
    if (!reportPath.empty() && !EraseReportSections(profiles, reportPath)) throw UnableToWrite(reportPath);
    // Totals of an analysis that did not go through would pass for a
    // measured registry.
    if (!host.Analyze()) {
      host.RecordFailure("The analysis did not complete; no report was written.");
      host.Close();
      return kExitAnalysisIncomplete;
    }
    if (!reportPath.empty()) {
      TotalsText totals = host.Totals();
      for (const TotalRow& row : TotalRows()) WriteKey(profiles, reportPath, row.reportKey, totals.*row.text);
      WriteKey(profiles, reportPath, "Time", host.NowText());
      if (totals.hivesNotCopied > 0)
        WriteKey(profiles, reportPath, "Hives Not Copied", std::to_string(totals.hivesNotCopied));
      WriteScanHives(profiles, reportPath, host.ReportHives());
    }
  } catch (const AppError& e) {
    host.RecordFailure(e.what());
    host.Close();
    return kExitReportNotWritten;
  }
  host.Close();
  return kExitDone;
}

}  // namespace vh
