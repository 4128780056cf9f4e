// TfrmMain: the borderless, skinned main window with the hive table, the
// command buttons and the totals. It owns the HiveTable and the Unattended
// and WOW64 flags for the whole run.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_layout_win.h"
#include "app/unattended.h"
#include "platform/error.h"
#include "hive/defrag.h"
#include "hive/figures.h"
#include "hive/hive_swap.h"
#include "hive/left_alone.h"
#include "hive/reorganization.h"
#include "hive/hive_table.h"
#include "hive/journal.h"
#include "scan/progress_dialog_win.h"
#include "platform/platform.h"
#include "settings/options.h"
#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

extern const char kMainWindowClass[];

class TfrmMain : public TForm, private UnattendedHost {
 public:
  // invocation: what the command line asks for; interactive by default.
  explicit TfrmMain(Platform& platform, Invocation invocation = {});
  ~TfrmMain() override;
  const char* ClassName() const override { return "TfrmMain"; }

  HiveTable Hives;
  bool Unattended = false;
  bool RunningOnWow64 = false;
  // What the program ends with: 0, or an unattended mode's failure code.
  int ExitCode = kExitDone;

  TOptionsSetting& Options() { return options_; }
  // What a dialog opened from this window is given.
  DialogInputs ForDialog() { return DialogInputs{this, platform_, options_.Lan}; }
  // A message in the current language, its places filled.
  std::string Text(unsigned messageId, const std::vector<std::string>& values = {});
  // The refusal while Windows services itself, with what was found.
  std::string ServicingText(const std::vector<unsigned>& found);
  Messages CurrentMessages();
  // What the user reads of one of the program's errors.
  std::string ShownText(const AppError& error);
  // The analysis' scan: the whole table, under the layout's texts.
  ScanJob AnalysisJob() const { return ScanJob{HivesToCopy(Hives), RunningOnWow64, Unattended, "", ""}; }
  const MainControls& Controls() const { return *controls_; }
  TListView& lvMain() { return controls_->hiveList; }
  TFlatSpeedButton& bDefragRegistry() { return controls_->defrag; }
  // One of the labels the window binds, by its layout name; throws for any
  // other name.
  TLabel& Label(const char* name);

  // Handlers, named after their control and event.
  void bAnalyzeRegistryClick(TObject& sender);
  void bDefragRegistryClick(TObject& sender);
  void bOptionsClick(TObject& sender);
  void bHelpClick(TObject& sender);
  void bLanguageClick(TObject& sender);
  void bExitClick(TObject& sender);
  void bCloseClick(TObject& sender);
  void bMinimizeClick(TObject& sender);
  void bHomepageClick(TObject& sender);
  void pmiHelpClick(TObject& sender);
  void Homepage1Click(TObject& sender);
  void pmiCheckUpdateClick(TObject& sender);
  void pmiDonateClick(TObject& sender);
  void bAboutClick(TObject& sender);
  void pmiUndoClick(TObject& sender);
  void bRestartNowClick(TObject& sender);
  void miEnglishClick(TObject& sender);

  void FitSpeedButtons();
  // Ticks the language item of that name alone.
  void TickLanguageItem(const std::string& itemName);
  bool IsDragArea(int x, int y) const;

  // Runs the show handler without showing the window (unattended runs).
  void ShowHidden() { FormShow(); }

  // Runs the analysis; true when the scan went through every hive and
  // copied at least one.
  bool RunAnalysis();
  // Runs the defragmentation; what it scheduled and what not.
  DefragSummary RunDefrag();
  // A run that ended before any swap for a reason the user did not see:
  // stopped copies, Windows' servicing, a record that could not be written.
  void TellWhyNothingWasSwapped(DefragOutcome outcome, const DefragRun& run);
  // Undoes the last defragmentation; what it scheduled and what not.
  UndoSummary RunUndo();
  // Swaps wait for the restart: the analysis, the defragmentation and the
  // undo are refused until then, and the window says so.
  bool SwapsPending() const { return swapsPending_; }
  // The red warning in the step hint's place, with Restart Now; the
  // commands that would touch the hives are disabled.
  void ShowPendingWarning();
  // The figures of the latest complete analysis; null before one.
  const AnalysisFigures* LastFigures() const { return figures_ ? &*figures_ : nullptr; }
  // The event that ends an unattended run was written by the window itself
  // (at the end of the session its restart ends).
  bool RunEndReported() const { return runEndReported_; }

 protected:
  void FormCreate() override;
  void FormShow() override;
  void FormClose(TCloseAction& action) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  std::vector<TControl*> TabOrder() override;
  std::vector<TControl*> ArrowGroup() override;

 public:
  // The figures read together with their captions.
  std::vector<AccessibleChild> AccessibleChildren() override;

 private:
  // Each command's handler, set on its control.
  void BindHandlers();
  void SetUpKeyboardAndAccessibility();
  void PopupAtButton(TPopupMenu& menu, TObject& button);
  void CloseUpHelpGroup();
  void TickLanguageMenu();
  // The totals under the table: empty, or an analysis' figures.
  void ClearTotals();
  void ShowTotals(const AnalysisFigures& figures);
  void StartRequestedMode();
  // The info line under the list, for that row (-1: none).
  void ShowHiveInfo(int row);
  // The advice's sentence on Windows' own recent reorganisation; empty
  // when there was none.
  std::string ReorganizedAdvice();
  void OpenAddress(unsigned stringId);
  void SetGridLines(bool on);
  bool RunsUnattended() const { return IsUnattended(invocation_.mode); }
  void SaveSettingsOnClose();
  // Where runs are recorded; failures to record go to varnhold.log.
  JournalWriter Journal();
  // The help menu offers the undo only when there is one to make.
  void RefreshUndoItem();

  // Swaps waiting for the restart (app/main_restart_win.cpp).
  // Looks at the journal and the files: true, and the window shows the
  // warning, when an earlier run's swaps wait for the restart.
  bool FindPendingSwapsNow();
  // Refuses a command while swaps wait, offering the restart; true when
  // refused.
  bool RefuseWhilePending();
  // After a run asked for the restart: its result, and then the watch for
  // the end of the session.
  // recorded: the run has journalled a restart that did not start.
  void AfterRestartRequest(const RestartAttempt& attempt, bool recorded);
  void TryRestartAgain();
  // The restart did not come: the warning, the journal (unless the run
  // recorded it already) and, unattended, the log, all with the English
  // reason; the user is told the shown one.
  void RestartNotStarted(const std::string& reason, const std::string& shownReason, bool record);
  // Why a restart request failed, in the current language.
  std::string ShownFailure(const RestartAttempt& attempt);
  void OnRestartWatch();
  // Unattended: waits in a message loop until the session ends (true) or
  // the restart is found not to come (false).
  bool AwaitRestart() override;
  // WM_ENDSESSION: ending, and how (ENDSESSION_LOGOFF: the user logs off,
  // which is no restart).
  LRESULT EndSession(WPARAM ending, LPARAM how);
  // The session's end was cancelled while the restart was awaited.
  void RestartCancelled();
  // Writes the event that ends an unattended run, once.
  void ReportRunEndNow(int exitCode);

  // Unattended modes.
  void HideWindows() override;
  bool SwapsWait() override { return FindPendingSwapsNow(); }
  bool Analyze() override { return RunAnalysis(); }
  DefragSummary Defragment() override { return RunDefrag(); }
  UndoSummary Undo() override { return RunUndo(); }
  TotalsText Totals() override;
  HivesReport ReportHives() override;
  std::string NowText() override;
  void RecordFailure(const std::string& text) override;
  void Close() override { TForm::Close(); }

  Platform& platform_;
  std::optional<MainControls> controls_;
  TOptionsSetting options_;
  // When the latest complete analysis began (GetTickCount), and what it
  // measured.
  bool analysed_ = false;
  unsigned long analysisStartedMs_ = 0;
  std::optional<AnalysisFigures> figures_;
  // Windows' own latest reorganisation of each hive, from the System log.
  Reorganizations reorganizations_;
  Invocation invocation_;
  bool closing_ = false;
  bool runEndReported_ = false;
  // Swaps of this or an earlier run wait for the restart.
  bool swapsPending_ = false;
  // The run the waiting key names, in words; empty when this run made it.
  std::string waitingRun_;    // the waiting run, in English for the log
  std::string waitingShown_;  // the same, for the user
  // A restart request was taken and the session has not ended yet.
  enum class RestartWatch { Idle, Waiting, SessionEnding, LoggedOff, Failed };
  RestartWatch restartWatch_ = RestartWatch::Idle;
  int restartTries_ = 0;
};

}  // namespace vh
