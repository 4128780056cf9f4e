// Entry point of varnhold.exe: one instance at a time.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/app_platform_win.h"
#include "app/command_line.h"
#include "app/main_window_win.h"
#include "app/messages_win.h"
#include "platform/system_library_win.h"

namespace {

// A second start wakes the running instance and ends.
bool WakeRunningInstance() {
  HWND running = FindWindowA(vh::kMainWindowClass, nullptr);
  if (!running) return false;
  PostMessageA(running, vh::WM_WAKEINSTANCE, 0, 0);
  SetForegroundWindow(running);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // An elevated program must not pick up libraries planted beside it.
  vh::RestrictLibrarySearch();
  if (WakeRunningInstance()) return 0;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  std::vector<std::string> arguments = vh::SplitCommandLine(GetCommandLineA());
  bool unattended = vh::ParseInvocation(arguments).mode != vh::RunMode::Interactive;
  auto main = vh::CreateForm<vh::TfrmMain>(vh::AppPlatform(), arguments);
  // Without a desktop to put the window on nothing could ever end the
  // message loop.
  if (!main->Handle()) return 1;
  // Unattended, nothing may ever appear on screen: the window's show
  // handler runs without the window being shown.
  if (unattended) {
    main->ShowHidden();
  } else {
    main->Show();
  }
  vh::RunMessageLoop();
  return main->ExitCode;
}
