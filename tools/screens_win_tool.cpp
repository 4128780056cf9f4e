// Shows one of Varnhold's windows, as a user would see it, for the
// screenshot script: screens_win_tool <window> [analyze]. The window stays
// up until the process is ended. Dialogs are shown on their own, without the
// main window below them, because Wine without a window manager stacks a
// window above another of the same program wrongly and shows it black.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>

#include "about/about_box_win.h"
#include "app/app_platform_win.h"
#include "app/main_window_win.h"
#include "app/messages_win.h"
#include "hive/progress_dialog_win.h"
#include "restore/restore_point_dialog_win.h"
#include "settings/ask_delete_dialog_win.h"
#include "settings/options.h"
#include "settings/options_dialog_win.h"
#include "ui/menu_win.h"

namespace {

// For the picture of a scan in progress: the scan of the demo registry is
// over in a moment, so the dialog's later reports and its closing are held
// back; what it shows is its own state after the first hive.
LRESULT CALLBACK HoldScanAfterFirstHive(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE) {
    static int statusSeen = 0;
    bool laterStatus = msg->message == vh::TfrmGetNewHiveProgess::kStatusChanged && ++statusSeen > 2;
    bool laterReport = (msg->message == vh::TfrmGetNewHiveProgess::kHiveDone && msg->lParam > 1) || laterStatus;
    bool closing = msg->message == WM_CLOSE && dynamic_cast<vh::TfrmGetNewHiveProgess*>(vh::TWinControl::FromHandle(msg->hwnd));
    if (laterReport || closing) msg->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

template <typename Dialog, typename... More>
std::unique_ptr<vh::TForm> ShowAlone(vh::TfrmMain& main, More&&... more) {
  auto dialog = vh::CreateForm<Dialog>(main.ForDialog(), std::forward<More>(more)...);
  dialog->Show();
  return dialog;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int argc = __argc;
  char** argv = __argv;
  const char* window = argc > 1 ? argv[1] : "main";
  auto main = vh::CreateForm<vh::TfrmMain>(vh::AppPlatform(), std::vector<std::string>{"varnhold.exe"});
  main->Show();
  if (argc > 2 && std::strcmp(argv[2], "analyze") == 0) main->bAnalyzeRegistryClick(*main);
  if (argc > 2 && std::strcmp(argv[2], "french") == 0) main->miEnglishClick(*main->FindComponent("miFrench"));
  if (argc > 2 && std::strcmp(argv[2], "focus") == 0) {
    // As after Tab and Alt: the focus mark on a command and its letters
    // underlined.
    main->bAnalyzeRegistryClick(*main);
    main->ChangeUIState(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL);
    main->FocusControl(*main->Find<vh::TControl>("bAnalyzeRegistry"));
  }
  std::unique_ptr<vh::TForm> dialog;
  std::string name = window;
  bool menu = name == "help-menu" || name == "language-menu";
  if (name != "main" && !menu) main->Hide();
  if (name == "options") dialog = ShowAlone<vh::TfrmOptions>(*main, main->Options());
  if (name == "confirm") dialog = ShowAlone<vh::TfrmAskDelete>(*main);
  if (name == "about") dialog = ShowAlone<vh::TfrmAbout>(*main);
  if (name == "restore") dialog = ShowAlone<vh::TfrmSystemPoint>(*main);
  if (name == "progress") {
    SetWindowsHookExA(WH_GETMESSAGE, HoldScanAfterFirstHive, nullptr, GetCurrentThreadId());
    dialog = ShowAlone<vh::TfrmGetNewHiveProgess>(*main, main->AnalysisStep());
  }
  if (menu) {
    // Beside the window, not over it (see above).
    SetWindowPos(main->Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    auto* popup = main->Find<vh::TPopupMenu>(name == "help-menu" ? "pmHelp" : "pmLanguage");
    popup->ownerWindow = main->Handle();
    popup->Popup(main->Width() + 4, 240);
  }
  return vh::RunMessageLoop();
}
