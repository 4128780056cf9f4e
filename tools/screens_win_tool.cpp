// Shows one of Varnhold's windows, as a user would see it, for the
// screenshot script: screens_win_tool <window> [analyze|reorganized|...].
// "reorganized" shows the main window as on Windows 8 and later, whose
// System log (Wine's holds none) the fake platform stands in for. The window stays
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
#include "flat/flat_speed_button_win.h"
#include "ui/menu_win.h"
#include "scan/progress_dialog_win.h"
#include "platform/forwarding_registry.h"
#include "restore/restore_point_dialog_win.h"
#include "settings/ask_delete_dialog_win.h"
#include "settings/options.h"
#include "settings/options_dialog_win.h"
#include "tests/support/fake_platform.h"
#include "ui/controls_win.h"
#include "ui/menu_win.h"

namespace {

// For the picture of a scan in progress: the scan of the demo registry is
// over in a moment, so its worker is held inside the second hive's copy
// for good (the script ends the process); the dialog shows its own state
// after the first hive, whatever the machine's speed.
class HoldAtSecondCopy final : public vh::ForwardingRegistry {
 public:
  using ForwardingRegistry::ForwardingRegistry;
  long SaveKey(vh::KeyHandle key, const std::string& file, const std::string& readerSid,
               vh::HiveFormat format) override {
    if (++saves_ > 1) Sleep(INFINITE);
    return ForwardingRegistry::SaveKey(key, file, readerSid, format);
  }

 private:
  int saves_ = 0;
};

// Windows 11 as it reports itself to the program (6.2), so that the System
// log is asked; everything else is the real system's.
class AsWindows11 final : public vh::SystemInfo {
 public:
  explicit AsWindows11(vh::SystemInfo& real) : real_(real) {}
  std::optional<bool> IsWow64Process() override { return real_.IsWow64Process(); }
  vh::OsVersion GetVersion() override { return {2, 6, 2}; }
  std::uint64_t Now() override { return real_.Now(); }
  std::string ComputerName() override { return real_.ComputerName(); }
  bool MutexExists(const std::string& name) override { return real_.MutexExists(name); }
  std::uint32_t ServiceState(const std::string& name) override { return real_.ServiceState(name); }

 private:
  vh::SystemInfo& real_;
};

// The real platform with a System log that holds what Windows writes when it
// reorganises the demo's hives at a start three days ago.
vh::Platform& WithReorganizedHives() {
  vh::Platform& real = vh::AppPlatform();
  static vh::FakePlatform log;
  static AsWindows11 system(real.system);
  const std::uint64_t kDay = 864000000000ull;
  const std::uint64_t start = real.system.Now() - 3 * kDay;
  const std::string kernel = "Microsoft-Windows-Kernel-General";
  char windows[MAX_PATH] = {};
  GetSystemWindowsDirectoryA(windows, MAX_PATH);
  log.systemRoot = windows;
  log.systemLogEntries = {
      {kernel, 15, start, "\\??\\C:\\users\\Public\\DEMO.DAT", "1310720", "1048576"},
      {kernel, 15, start, "\\SystemRoot\\System32\\Config\\SOFTWARE", "24641536", "19398656"},
      {kernel, 15, start - 9 * kDay, "\\SystemRoot\\System32\\Config\\SOFTWARE", "25165824", "24641536"},
  };
  static vh::Platform shown{real.registry, real.privileges, real.volumes, real.files, system, real.power,
                            real.restore,  real.profiles,   real.shell,   real.events, log};
  return shown;
}

template <typename Dialog, typename... More>
std::unique_ptr<vh::TForm> ShowAlone(vh::TfrmMain& main, More&&... more) {
  auto dialog = vh::CreateForm<Dialog>(main.ForDialog(), std::forward<More>(more)...);
  dialog->Show();
  return dialog;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vh::RegisterCommonControlClasses();
  int argc = __argc;
  char** argv = __argv;
  const char* window = argc > 1 ? argv[1] : "main";
  const bool reorganized = argc > 2 && std::strcmp(argv[2], "reorganized") == 0;
  auto main = vh::CreateForm<vh::TfrmMain>(reorganized ? WithReorganizedHives() : vh::AppPlatform());
  main->Show();
  if (argc > 2 && std::strcmp(argv[2], "analyze") == 0) main->AnalyzeClick(*main);
  if (reorganized) {
    // The row whose name the list cuts short, selected.
    main->AnalyzeClick(*main);
    main->lvMain().SelectRow(1);
    main->FocusControl(main->lvMain());
  }
  if (argc > 2 && std::strcmp(argv[2], "pending") == 0) {
    // As after swaps whose restart did not come.
    main->AnalyzeClick(*main);
    main->ShowPendingWarning();
  }
  if (argc > 2 && std::strcmp(argv[2], "french") == 0) main->LanguageItemClick(*main->FindComponent("miFrench"));
  if (argc > 2 && std::strcmp(argv[2], "focus") == 0) {
    // As after Tab and Alt: the focus mark on a command and its letters
    // underlined.
    main->AnalyzeClick(*main);
    main->ChangeUIState(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL);
    main->FocusControl(main->Controls().analyze);
  }
  std::unique_ptr<vh::TForm> dialog;
  std::string name = window;
  bool menu = name == "help-menu" || name == "language-menu";
  if (name != "main" && !menu) main->Hide();
  if (name == "options") dialog = ShowAlone<vh::TfrmOptions>(*main, main->Options());
  if (name == "confirm") dialog = ShowAlone<vh::TfrmAskDelete>(*main);
  if (name == "about") dialog = ShowAlone<vh::TfrmAbout>(*main);
  if (name == "restore") dialog = ShowAlone<vh::TfrmSystemPoint>(*main, vh::RestorePointFor::Defragmentation);
  if (name == "progress") {
    vh::Platform& real = vh::AppPlatform();
    static HoldAtSecondCopy held(real.registry);
    static vh::Platform holding = vh::WithRegistry(real, held);
    dialog = vh::CreateForm<vh::TfrmGetNewHiveProgess>(vh::DialogInputs{main.get(), holding, ""},
                                                        main->AnalysisJob());
    dialog->Show();
  }
  if (menu) {
    // Beside the window, not over it (see above).
    SetWindowPos(main->Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    vh::TPopupMenu& popup = name == "help-menu" ? main->Controls().helpMenu : main->Controls().languageMenu;
    popup.ownerWindow = main->Handle();
    popup.Popup(main->Width() + 4, 240);
  }
  return vh::RunMessageLoop();
}
