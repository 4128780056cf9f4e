// What the main window does for the unattended modes (UnattendedHost): the
// scan report beyond its totals, the log, the wait for the restart, and the
// event it writes itself when a session ends under an unattended run.
#include "app/last_figures.h"
#include "app/locale_win.h"
#include "app/machine_win.h"
#include "app/main_window_win.h"
#include "app/run_events.h"
#include "app/run_log_win.h"

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

void TfrmMain::HideWindows() { ShowWindow(Handle(), SW_HIDE); }

TotalsText TfrmMain::Totals() { return TotalsOf(LastFigures()); }

std::string TfrmMain::NowText() { return UserNowText(); }

void TfrmMain::RecordFailure(const std::string& text) {
  // Unattended callers read the exit code; the reason waits beside the
  // program, where an administrator looks first.
  AppendToRunLog(platform_.files, text);
}

bool TfrmMain::AwaitRestart() {
  MSG msg;
  while (commands_->Restart().Awaited() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return commands_->Restart().SessionEnding();
}

}  // namespace vh
