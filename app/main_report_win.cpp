// What the main window gives the scan report beyond its totals.
#include "app/last_figures.h"
#include "app/machine_win.h"
#include "app/main_window_win.h"

namespace vh {

HivesReport TfrmMain::ReportHives() {
  HivesReport report = HivesReportOf(Hives, LastFigures(), ComputerNameText(), TrueWindowsVersion());
  // Profile values are ANSI text; the program keeps registry names in UTF-8.
  for (HiveSizes& hive : report.hives) hive.name = AnsiFromUtf8(hive.name);
  return report;
}

}  // namespace vh
