#include "app/unattended_run_win.h"

#include "app/last_figures.h"
#include "app/locale_win.h"
#include "app/machine_win.h"
#include "app/run_events.h"
#include "app/run_log_win.h"
#include "app/version_code.h"
#include "hive/catalogue.h"
#include "hive/copy_check.h"
#include "hive/hive_copy.h"
#include "lang/messages.h"
#include "platform/error.h"
#include "platform/text_win.h"
#include "res/string_ids.h"
#include "ui/window_messages_win.h"

namespace vh {

extern const char kMainWindowClass[];

// Never shown. It carries the main window's class, so that a second start
// finds the running instance (and leaves it hidden); it owns the progress
// dialog, and hears the end of the session and the restart watch's timer.
class UnattendedRun::Window final : public TForm {
 public:
  explicit Window(UnattendedRun& run) : TForm(nullptr, Frame()), run_(run) {}
  const char* ClassName() const override { return "TfrmUnattendedRun"; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_QUERYENDSESSION:
        return TRUE;
      case WM_ENDSESSION:
        if (run_.commands_) run_.commands_->Restart().EndSession(wp != 0, (lp & ENDSESSION_LOGOFF) != 0);
        return 0;
      case WM_TIMER:
        if (wp != kRestartWatchTimer || !run_.commands_) break;
        run_.commands_->Restart().OnTimer();
        return 0;
    }
    return TForm::WndProc(msg, wp, lp);
  }

 private:
  static FormDef Frame() {
    FormDef frame;
    frame.name = "frmUnattendedRun";
    frame.border = TBorderStyle::bsNone;
    frame.className = kMainWindowClass;
    return frame;
  }
  UnattendedRun& run_;
};

UnattendedRun::UnattendedRun(Platform& platform, Invocation invocation)
    : platform_(platform), invocation_(std::move(invocation)) {
  window_ = CreateForm<Window>(*this);
  commands_.emplace(MainSession{platform_, hives_, options_, true, wow64_, *this});
}

UnattendedRun::~UnattendedRun() {
  // The window's handlers reach the commands: the window goes first.
  window_.reset();
}

bool UnattendedRun::HasWindow() const { return window_ && window_->Handle(); }

std::optional<int> UnattendedRun::Start() {
  LoadSaveOptions(options_, platform_.profiles, OptionsFilePath(platform_.files), true);
  wow64_ = IsWow64(platform_.system);
  HiveCatalogue(platform_.registry, platform_.volumes, platform_.files,
                [this](const std::string& line) { RecordFailure(line); })
      .BuildHiveCatalogue(hives_);
  // A run killed while it checked a copy left that copy loaded.
  ReleaseStaleCheckKey(platform_.registry, platform_.privileges);
  commands_->Restart().FindPendingNow();
  if (!IsSupportedVersionCode(GetWindowsVersionCode(platform_.system.GetVersion()))) {
    RecordFailure(MessageOf(IDS_UNSUPPORTED_SYSTEM).english);
    Close();
    return kExitUnsupportedWindows;
  }
  return std::nullopt;
}

int UnattendedRun::Run() {
  if (std::optional<int> ended = Start()) return *ended;
  switch (invocation_.mode) {
    case RunMode::Silent:
      return RunSilentMode(*this, invocation_.minGain);
    case RunMode::Scan:
      // Only the report shows Windows' own reorganisations.
      reorganizations_ = ReadReorganizations(platform_, hives_);
      return RunScanMode(*this, platform_.profiles, platform_.files, invocation_.reportPath,
                         platform_.files.ExecutablePath());
    case RunMode::Undo:
      return RunUndoMode(*this);
    default:
      break;
  }
  Close();
  return kExitBadCommandLine;
}

DialogInputs UnattendedRun::ForDialog() { return DialogInputs{window_.get(), platform_, options_.Lan}; }

TotalsText UnattendedRun::Totals() { return TotalsOf(LastFigures()); }

HivesReport UnattendedRun::ReportHives() {
  HivesReport report = HivesReportOf(hives_, LastFigures(), ComputerNameText(), TrueWindowsVersion(), reorganizations_);
  // Profile values are ANSI text; the program keeps registry names in UTF-8.
  for (HiveSizes& hive : report.hives) hive.name = AnsiFromUtf8(hive.name);
  return report;
}

std::string UnattendedRun::NowText() { return UserNowText(); }

void UnattendedRun::RecordFailure(const std::string& text) {
  // Unattended callers read the exit code; the reason waits beside the
  // program, where an administrator looks first.
  AppendToRunLog(platform_.files, text);
}

void UnattendedRun::WatchRestart(unsigned ms) {
  if (!HasWindow()) return;
  if (ms == 0) {
    KillTimer(window_->Handle(), kRestartWatchTimer);
  } else {
    SetTimer(window_->Handle(), kRestartWatchTimer, ms, nullptr);
  }
}

bool UnattendedRun::AwaitRestart() {
  MSG msg;
  while (commands_->Restart().Awaited() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return commands_->Restart().SessionEnding();
}

void UnattendedRun::ReportRunEndNow(int exitCode) {
  if (runEndReported_) return;
  runEndReported_ = true;
  ReportRunEnd(platform_.events, invocation_, exitCode, TotalsOf(LastFigures()));
}

void UnattendedRun::Close() {
  if (closed_) return;
  closed_ = true;
  // A pending swap renamed its copy already; while swaps wait, nothing
  // beside a hive is the program's to delete.
  if (!commands_->Restart().Pending()) DeleteLeftoverCopies(platform_.files, hives_.HiveFiles);
  // The run ends with its own code whatever the settings file does.
  try {
    LoadSaveOptions(options_, platform_.profiles, OptionsFilePath(platform_.files), false);
  } catch (const AppError& e) {
    RecordFailure(e.what());
  }
}

}  // namespace vh
