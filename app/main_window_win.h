// TfrmMain: the borderless, skinned main window with the hive table, the
// command buttons and the totals, for a person at the screen (the
// unattended modes run without it: app/unattended_run_win.h). It owns the
// HiveTable, the settings and the WOW64 flag for the whole run, and its
// commands (MainCommands, app/main_commands_win.h), which it shows as they
// ask.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/main_commands_win.h"
#include "app/main_layout_win.h"
#include "platform/error.h"
#include "hive/reorganization.h"
#include "hive/hive_table.h"
#include "platform/platform.h"
#include "settings/options.h"
#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

extern const char kMainWindowClass[];

class TfrmMain : public TForm, private MainCommandsHost {
 public:
  explicit TfrmMain(Platform& platform);
  ~TfrmMain() override;
  const char* ClassName() const override { return "TfrmMain"; }

  HiveTable Hives;
  bool RunningOnWow64 = false;

  TOptionsSetting& Options() { return options_; }
  // What a dialog opened from this window is given.
  DialogInputs ForDialog() override { return DialogInputs{this, platform_, options_.Lan}; }
  // A message in the current language, its places filled.
  std::string Text(unsigned messageId, const std::vector<std::string>& values = {});
  Messages CurrentMessages();
  // What the user reads of one of the program's errors.
  std::string ShownText(const AppError& error);
  // The analysis' scan: the whole table, under the layout's texts.
  ScanJob AnalysisJob() const { return commands_->AnalysisJob(); }
  const MainControls& Controls() const { return *controls_; }
  TListView& lvMain() { return controls_->hiveList; }
  TFlatSpeedButton& bDefragRegistry() { return controls_->defrag; }
  // One of the labels the window binds, by its layout name; throws for any
  // other name.
  TLabel& Label(const char* name);

  // Handlers, named after the member they serve (MainControls).
  void AnalyzeClick(TObject& sender);
  void DefragClick(TObject& sender);
  void OptionsClick(TObject& sender);
  void HelpClick(TObject& sender);
  void LanguageClick(TObject& sender);
  void ExitClick(TObject& sender);
  void CloseClick(TObject& sender);
  void MinimizeClick(TObject& sender);
  void HelpItemClick(TObject& sender);
  void HomepageItemClick(TObject& sender);
  void CheckUpdateItemClick(TObject& sender);
  void DonateItemClick(TObject& sender);
  void AboutItemClick(TObject& sender);
  void UndoItemClick(TObject& sender);
  void RestartNowClick(TObject& sender);
  void LanguageItemClick(TObject& sender);

  void FitSpeedButtons();
  // Ticks the language item of that name alone.
  void TickLanguageItem(const std::string& itemName);
  bool IsDragArea(int x, int y) const;

  // The commands, as the buttons and the unattended modes run them
  // (app/main_commands_win.h).
  bool RunAnalysis() { return commands_->RunAnalysis(); }
  DefragSummary RunDefrag() { return commands_->RunDefrag(); }
  UndoSummary RunUndo() { return commands_->RunUndo(); }
  bool SwapsPending() const { return commands_->Restart().Pending(); }
  void ShowPendingWarning() { commands_->Restart().ShowPending(); }
  const AnalysisFigures* LastFigures() const { return commands_->LastFigures(); }

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
  // What the commands show (MainCommandsHost).
  void ShowCommands(const EnabledCommands& commands) override;
  void ShowRows(const AnalysisFigures& figures) override;
  void ShowTotals(const AnalysisFigures* figures) override;
  void WatchRestart(unsigned ms) override;
  void TickLanguageMenu();
  void ReadAfterFirstPaint();
  // The info line under the list, for that row (-1: none).
  void ShowHiveInfo(int row);
  std::string ReorganizedAdvice() override;
  void OpenAddress(unsigned stringId);
  void SetGridLines(bool on);
  void SaveSettingsOnClose();
  // Only an unattended run ends with an event of its own.
  void ReportRunEndNow(int) override {}
  // What the catalogue could not read goes to the log beside the program.
  void RecordFailure(const std::string& text) override;

  Platform& platform_;
  std::optional<MainControls> controls_;
  TOptionsSetting options_;
  std::optional<MainCommands> commands_;
  // Windows' own latest reorganisation of each hive, from the System log.
  Reorganizations reorganizations_;
  bool closing_ = false;
};

}  // namespace vh
