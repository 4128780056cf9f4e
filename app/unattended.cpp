#include "app/unattended.h"

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

}  // namespace

std::string ReportTimeText(const std::string& date, const std::string& time, bool midnight) {
  return midnight ? date : date + " " + time;
}

int RunSilentMode(UnattendedHost& host, const std::optional<MinGain>& minGain) {
  host.HideWindows();
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
  for (const std::string& line : done.notScheduled) host.RecordFailure("Not scheduled: " + line);
  if (!done.restarting) {
    host.RecordFailure("No hive was scheduled for replacement; the computer was not restarted.");
    host.Close();
    return kExitNothingScheduled;
  }
  host.Close();
  return kExitDone;
}

int RunUndoMode(UnattendedHost& host) {
  host.HideWindows();
  UndoSummary done = host.Undo();
  for (const std::string& line : done.notUndone) host.RecordFailure("Not swapped back: " + line);
  int code = kExitDone;
  if (done.outcome == UndoOutcome::NothingToUndo) {
    host.RecordFailure("Nothing to undo: " + UndoRefusalText(done.refusal) + ".");
    code = kExitNothingToUndo;
  } else if (done.outcome == UndoOutcome::NothingScheduled) {
    host.RecordFailure("No hive was scheduled to be swapped back; the computer was not restarted.");
    code = kExitUndoNotScheduled;
  }
  host.Close();
  return code;
}

int RunScanMode(UnattendedHost& host, ProfileFiles& profiles, const std::string& reportPath) {
  host.HideWindows();
  try {
    if (!reportPath.empty() && !EraseReportSections(profiles, reportPath)) throw UnableToWrite(reportPath);
    host.Analyze();
    if (!reportPath.empty()) {
      TotalsText totals = host.Totals();
      WriteKey(profiles, reportPath, "Current Size", totals.currentSize);
      WriteKey(profiles, reportPath, "New Size", totals.newSize);
      WriteKey(profiles, reportPath, "Size Reduction", totals.sizeReduction);
      WriteKey(profiles, reportPath, "Compact Percent", totals.compactPercent);
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
