// The main window's commands: analysis, defragmentation, options, About,
// and what the unattended modes ask of the window.
#include "about/about_box_win.h"
#include "app/last_figures.h"
#include "app/locale_win.h"
#include "app/main_window_win.h"
#include "app/run_log_win.h"
#include "app/version_code.h"
#include "flat/flat_speed_button_win.h"
#include "hive/defrag.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "scan/progress_dialog_win.h"
#include "hive/hive_swap.h"
#include "hive/servicing.h"
#include "res/string_ids.h"
#include "restore/restore_point_dialog_win.h"
#include "settings/confirm_defrag_win.h"
#include "settings/options.h"
#include "settings/options_dialog_win.h"
#include "ui/controls_win.h"
#include "ui/message_box_win.h"

namespace vh {

namespace {

void SaveSettings(TOptionsSetting& options, Platform& platform) {
  LoadSaveOptions(options, platform.profiles, OptionsFilePath(platform.files), false);
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n" + line;
  return text;
}

// The dialogs of a defragmentation, each created for one use.
class DefragDialogsOf final : public DefragDialogs {
 public:
  explicit DefragDialogsOf(TfrmMain& main) : main_(main) {}
  FreshCopies CopyAgain(const HiveTable& hives) override {
    // Stop, Esc and the close box all end the dialog as stopped. A scan
    // that failed left hives without copies, which are left out.
    ScanCompletion end = RunScan(main_.ForDialog(), ScanJob{hives, main_.RunningOnWow64, main_.Unattended,
                                                            main_.Text(IDS_RECOPY_CAPTION),
                                                            main_.Text(IDS_RECOPY_LABEL)});
    return end == ScanCompletion::Stopped ? FreshCopies::Stopped : FreshCopies::Done;
  }
  void ShowNothingScheduled(const DefragReport& report) override {
    const Messages shown = main_.CurrentMessages();
    ShowMessageBox(shown.Text(IDS_NOTHING_SCHEDULED) + "\n" + Lines(report.NotScheduledLines(&shown)));
  }
  DefragConfirmation AskBeforeDefrag() override { return ConfirmDefrag(main_.ForDialog()); }
  RestorePointMade CreateRestorePoint() override { return MakeRestorePoint(main_.ForDialog(), RestorePointFor::Defragmentation); }
  bool ConfirmSwapAndRestart(const DefragPlan& plan) override {
    std::string text = main_.Text(IDS_SWAP_NOTICE) + "\n\n" + main_.Text(IDS_SWAP_LIST) + "\n" +
                       Lines(plan.toSwap);
    if (!plan.notSwapped.empty()) text += "\n\n" + main_.Text(IDS_NOT_SCHEDULED) + "\n" + Lines(plan.notSwapped);
    // Cancel is the default: a held Enter key must not restart the computer.
    return AskOkCancel(text);
  }

 private:
  TfrmMain& main_;
};

}  // namespace

bool TfrmMain::RunAnalysis() {
  if (Hives.empty() || RefuseWhilePending()) return false;
  for (const std::string& file : Hives.HiveFiles) {
    if (IsFileLocked(platform_.files, CopyPath(file))) {
      ShowMessageBox(Text(IDS_CANNOT_ANALYZE));
      return false;
    }
  }
  analysed_ = false;
  figures_.reset();
  DWORD started = GetTickCount();
  bool complete = RunScan(ForDialog(), AnalysisJob()) == ScanCompletion::Complete;
  controls_->defrag.SetEnabled(false);
  if (!complete) return false;

  AnalysisFigures f = ComputeFigures(platform_.files, Hives, UserDecimalSeparator(), CurrentMessages());
  for (std::size_t i = 0; i < f.rows.size(); ++i) {
    controls_->hiveList.SetCell(int(i), 1, f.rows[i].currentSize);
    controls_->hiveList.SetCell(int(i), 2, f.rows[i].newSize);
    controls_->hiveList.SetCell(int(i), 3, f.rows[i].reduction);
  }
  figures_ = f;
  if (!f.AnyCopied()) {
    // Totals of nothing would read as a measured registry of 0 KB.
    ClearTotals();
    if (!Unattended) ShowMessageBox(Text(IDS_NOTHING_COPIED));
    return false;
  }
  controls_->defrag.SetEnabled(true);
  analysed_ = true;
  analysisStartedMs_ = started;
  ShowTotals(f);
  if (f.adviseAgainst && !Unattended) {
    std::string advice = Text(IDS_ADVICE, {f.compactPercent});
    // What Windows did itself lately is why so little is left to gain.
    std::string reorganized = ReorganizedAdvice();
    ShowMessageBox(reorganized.empty() ? advice : advice + "\n\n" + reorganized);
  }
  return true;
}

void TfrmMain::bAnalyzeRegistryClick(TObject&) { RunAnalysis(); }

void TfrmMain::bDefragRegistryClick(TObject&) { RunDefrag(); }

DefragSummary TfrmMain::RunDefrag() {
  if (RefuseWhilePending()) return {false, {}, true, ""};
  // Copies that an unattended run's analysis has only just written are
  // recent enough to swap in; any other is written again.
  constexpr DWORD kRecentCopyMs = 60000;
  DefragDialogsOf dialogs(*this);
  DefragRun run{platform_,
                Hives,
                options_,
                Unattended,
                GetWindowsVersionCode(platform_.system.GetVersion()),
                dialogs,
                Unattended && analysed_ && GetTickCount() - analysisStartedMs_ < kRecentCopyMs};
  JournalWriter journal = Journal();
  run.journal = &journal;
  DefragOutcome outcome;
  try {
    outcome = DefragRegistry(run);
  } catch (...) {
    // The question's tick stands even when its settings could not be written.
    options_ = run.options;
    throw;
  }
  options_ = run.options;
  RefreshUndoItem();
  DefragSummary summary{outcome == DefragOutcome::Restarting, run.report.NotScheduledLines(),
                        outcome == DefragOutcome::SwapsPending,
                        outcome == DefragOutcome::RestartNotStarted ? run.restart.Failure() : "",
                        EnglishFindings(run.servicing)};
  if (!Unattended) TellWhyNothingWasSwapped(outcome, run);
  if (outcome == DefragOutcome::SwapsPending) {
    FindPendingSwapsNow();
  } else if (outcome == DefragOutcome::Restarting || outcome == DefragOutcome::RestartNotStarted) {
    AfterRestartRequest(run.restart, true);
  }
  return summary;
}

void TfrmMain::TellWhyNothingWasSwapped(DefragOutcome outcome, const DefragRun& run) {
  switch (outcome) {
    case DefragOutcome::Stopped:
      ShowMessageBox(Text(IDS_DEFRAG_STOPPED));
      break;
    case DefragOutcome::ServicingPending:
      ShowMessageBox(ServicingText(run.servicing), MB_OK | MB_ICONWARNING);
      break;
    case DefragOutcome::NotRecorded:
    {
      const Messages shown = CurrentMessages();
      ShowMessageBox(shown.Text(IDS_NOT_RECORDED) + "\n" + Lines(run.report.NotScheduledLines(&shown)),
                     MB_OK | MB_ICONERROR);
    }
      break;
    default:
      break;
  }
}

std::string TfrmMain::ServicingText(const std::vector<unsigned>& found) {
  std::string text = Text(IDS_WINDOWS_SERVICING);
  for (unsigned id : found) text += "\n" + Text(id);
  return text;
}

void TfrmMain::bOptionsClick(TObject&) {
  std::optional<TOptionsSetting> edited = EditOptions(ForDialog(), options_);
  if (!edited) return;
  options_ = *edited;
  SetGridLines(options_.IsShowLine);
  SaveSettings(options_, platform_);
}

void TfrmMain::bAboutClick(TObject&) {
  auto dialog = CreateForm<TfrmAbout>(ForDialog());
  dialog->ShowModal();
}

void TfrmMain::HideWindows() { ShowWindow(Handle(), SW_HIDE); }

TotalsText TfrmMain::Totals() { return TotalsOf(LastFigures()); }

std::string TfrmMain::NowText() { return UserNowText(); }

void TfrmMain::RecordFailure(const std::string& text) {
  // Unattended callers read the exit code; the reason waits beside the
  // program, where an administrator looks first.
  AppendToRunLog(platform_.files, text);
}

}  // namespace vh
