// What the main window gives the scan report beyond its totals, and the
// event it writes itself when a session ends under an unattended run.
#include "app/last_figures.h"
#include "app/machine_win.h"
#include "app/main_window_win.h"
#include "app/run_events.h"

namespace vh {

HivesReport TfrmMain::ReportHives() {
  HivesReport report = HivesReportOf(Hives, LastFigures(), ComputerNameText(), TrueWindowsVersion(), reorganizations_);
  // Profile values are ANSI text; the program keeps registry names in UTF-8.
  for (HiveSizes& hive : report.hives) hive.name = AnsiFromUtf8(hive.name);
  return report;
}

void TfrmMain::ReportRunEndNow(int exitCode) {
  if (!RunsUnattended() || runEndReported_) return;
  runEndReported_ = true;
  ReportRunEnd(platform_.events, invocation_, exitCode, TotalsOf(LastFigures()));
}

}  // namespace vh
