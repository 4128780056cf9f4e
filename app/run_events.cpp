#include "app/run_events.h"

#include "res/event_ids.h"

namespace vh {

std::string ExitCodeMeaning(int code) {
  switch (code) {
    case kExitDone: return "done";
    case kExitNoDesktop: return "no window could be created";
    case kExitAnalysisIncomplete: return "the analysis did not complete; nothing was scheduled";
    case kExitReportNotWritten: return "the report file could not be written";
    case kExitNothingScheduled: return "no hive could be scheduled for replacement; the computer was not restarted";
    case kExitAnotherInstance: return "another Varnhold was running; this run did nothing";
    case kExitUnsupportedWindows: return "this Windows version is not supported; nothing was done";
    case kExitBadCommandLine: return "the command line was refused; nothing was done";
    case kExitNothingToUndo: return "there is no defragmentation to undo; nothing was done";
    case kExitUndoNotScheduled: return "Windows refused to swap back every hive; the computer was not restarted";
    case kExitUnexpectedError: return "an unexpected error ended the run";
    case kExitRestartNotStarted:
      return "swaps were scheduled, but Windows could not be restarted; restart the computer";
    case kExitSwapsPending: return "swaps of an earlier run wait for the restart; nothing was done";
    case kExitBelowMinGain:
      return "the compaction percentage is below the minimum gain; nothing was scheduled and the computer was not "
             "restarted";
    default: return "see varnhold.log";
  }
}

void ReportRunEnd(EventLog& log, const Invocation& invocation, int exitCode, const TotalsText& totals) {
  EventType type = exitCode == kExitDone || exitCode == kExitBelowMinGain ? EventType::Information : EventType::Error;
  std::vector<std::string> strings{std::to_string(exitCode), ExitCodeMeaning(exitCode)};
  // The totals' strings follow the exit code's two, in their places.
  std::vector<std::string> figures(TotalRows().size());
  for (const TotalRow& row : TotalRows()) figures.at(row.eventString - 3) = totals.*row.text;
  figures.push_back(std::to_string(totals.hivesNotCopied));
  switch (invocation.mode) {
    case RunMode::Interactive: return;
    case RunMode::Scan:
      strings.insert(strings.end(), figures.begin(), figures.end());
      strings.push_back(invocation.reportPath.empty() ? "none" : invocation.reportPath);
      log.Report(type, kEventScanEnded, strings);
      return;
    case RunMode::Silent:
      strings.insert(strings.end(), figures.begin(), figures.end());
      strings.push_back(invocation.minGain ? invocation.minGain->Text() : "none");
      log.Report(type, kEventSilentEnded, strings);
      return;
    case RunMode::Undo: log.Report(type, kEventUndoEnded, strings); return;
    case RunMode::BadCommandLine:
      strings.push_back(invocation.refused);
      log.Report(type, kEventCommandLineRefused, strings);
      return;
  }
}

}  // namespace vh
