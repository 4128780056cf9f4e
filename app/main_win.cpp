// Entry point of varnhold.exe: one instance at a time.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/app_platform_win.h"
#include "app/command_line.h"
#include "app/last_figures.h"
#include "app/main_window_win.h"
#include "app/run_events.h"
#include "platform/string_table_win.h"
#include "app/run_log_win.h"
#include "app/single_instance_win.h"
#include "app/unattended_run_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "platform/win32_platform_win.h"
#include "res/string_ids.h"
#include "ui/component_win.h"
#include "ui/controls_win.h"
#include "ui/message_box_win.h"

namespace {

constexpr DWORD kWakeWaitMs = 10000;

std::string CurrentFolder() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return "";
  std::wstring folder(n, L'\0');
  n = GetCurrentDirectoryW(n, &folder[0]);
  folder.resize(n);
  return vh::WideToUtf8(folder);
}

// totals: what the main window's last analysis measured, for the event that
// ends an unattended run; endReported: the window has written that event.
int RunProgram(vh::Platform& platform, const vh::Invocation& invocation, vh::TotalsText& totals, bool& endReported) {
  if (invocation.mode == vh::RunMode::BadCommandLine) {
    vh::AppendToRunLog(platform.files, vh::UsageLine(invocation));
    return vh::kExitBadCommandLine;
  }
  bool unattended = vh::IsUnattended(invocation.mode);
  // Nobody could answer a box: whatever a window, a worker or this function
  // reports goes to the log.
  if (unattended) vh::SetExceptionSink([&platform](const std::string& text) { vh::AppendToRunLog(platform.files, text); });

  vh::InstanceLock instance;
  if (!instance.Held()) {
    if (unattended) {
      vh::AppendToRunLog(platform.files, "Another instance of Varnhold is running; this run did nothing.");
      return vh::kExitAnotherInstance;
    }
    vh::WakeRunningInstance(kWakeWaitMs);
    return vh::kExitDone;
  }

  vh::DisableInputMethods();
  vh::RegisterCommonControlClasses();
  // The mode is decided here, once: nothing of the main window takes part
  // in a run with nobody there, and no message can start one.
  if (unattended) {
    vh::UnattendedRun run(platform, invocation);
    if (!run.HasWindow()) return vh::kExitNoDesktop;
    int code = run.Run();
    totals = vh::TotalsOf(run.LastFigures());
    endReported = run.RunEndReported();
    return code;
  }
  auto main = vh::CreateForm<vh::TfrmMain>(platform);
  // Without a desktop to put the window on nothing could ever end the
  // message loop.
  if (!main->Handle()) return vh::kExitNoDesktop;
  main->Show();
  vh::RunMessageLoop();
  return vh::kExitDone;
}

int RunAndReport(vh::Platform& platform) {
  vh::Invocation invocation;
  vh::TotalsText totals;
  bool endReported = false;
  int code = vh::kExitUnexpectedError;
  try {
    invocation = vh::ParseInvocation(vh::SplitCommandLine(vh::WideToUtf8(GetCommandLineW())), CurrentFolder());
    code = RunProgram(platform, invocation, totals, endReported);
  } catch (...) {
    vh::ReportException();
  }
  // Whatever ended the run, a script's administrator finds how in the event
  // log; a log that cannot be written changes nothing.
  try {
    if (!endReported) vh::ReportRunEnd(platform.events, invocation, code, totals);
  } catch (...) {
  }
  return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // An elevated program must not pick up libraries planted beside it.
  vh::RestrictLibrarySearch();
  vh::SetProgramCaption(vh::LoadResString(IDS_PRODUCT_NAME));
  // The last boundary: an error no window caught is reported (a box, or the
  // log when unattended) rather than ending the program without a word.
  try {
    return RunAndReport(vh::AppPlatform());
  } catch (...) {
    vh::ReportException();
    return vh::kExitUnexpectedError;
  }
}
