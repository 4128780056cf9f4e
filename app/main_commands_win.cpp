// The main window's commands: analysis, defragmentation, options, About,
// and what the unattended modes ask of the window.
#include "about/about_box_win.h"
#include "app/locale_win.h"
#include "app/main_window_win.h"
#include "app/resources_win.h"
#include "app/run_log_win.h"
#include "app/version_code.h"
#include "flat/flat_speed_button_win.h"
#include "hive/defrag.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "hive/progress_dialog_win.h"
#include "res/string_ids.h"
#include "restore/restore_point_dialog_win.h"
#include "settings/ask_delete_dialog_win.h"
#include "settings/options.h"
#include "settings/options_dialog_win.h"
#include "ui/controls_win.h"
#include "ui/message_box_win.h"

namespace vh {

namespace {

const char* const kTotals[] = {"lCurrentRegistrySize", "lNewRegistrySize", "lSizeReduction", "lCompactPercent"};

void SaveSettings(Platform& platform) {
  LoadSaveOptions(OptionsSetting, platform.profiles, OptionsFilePath(platform.files), false);
}

// The dialogs of a defragmentation, each created for one use.
class DefragDialogsOf final : public DefragDialogs {
 public:
  explicit DefragDialogsOf(TfrmMain& main) : main_(main) {}
  int AskBeforeDefrag() override {
    auto dialog = CreateForm<TfrmAskDelete>(main_);
    return dialog->ShowModal();
  }
  int CreateRestorePoint() override {
    auto dialog = CreateForm<TfrmSystemPoint>(main_);
    return dialog->ShowModal();
  }
  void ShowRestartNotice() override { ShowMessageBox(LoadResString(IDS_RESTART_NOTICE)); }

 private:
  TfrmMain& main_;
};

}  // namespace

bool TfrmMain::RunAnalysis() {
  if (Hives.empty()) return false;
  for (const std::string& file : Hives.HiveFiles) {
    if (IsFileLocked(platform_.files, CopyPath(file))) {
      ShowMessageBox(LoadResString(IDS_CANNOT_ANALYZE));
      return false;
    }
  }
  auto dialog = CreateForm<TfrmGetNewHiveProgess>(*this);
  dialog->ShowModal();
  bool complete = dialog->Memo1().Text() == LoadResString(IDS_FINISH);
  bDefragRegistry().SetEnabled(complete);
  if (!complete) return false;

  AnalysisFigures f = ComputeFigures(platform_.files, Hives, UserDecimalSeparator());
  for (std::size_t i = 0; i < f.rows.size(); ++i) {
    lvMain().SetCell(int(i), 1, f.rows[i].currentSize);
    lvMain().SetCell(int(i), 2, f.rows[i].newSize);
    lvMain().SetCell(int(i), 3, f.rows[i].reduction);
  }
  Label("lCurrentRegistrySize").SetCaption(f.currentRegistrySize);
  Label("lNewRegistrySize").SetCaption(f.newRegistrySize);
  Label("lSizeReduction").SetCaption(f.sizeReduction);
  Label("lCompactPercent").SetCaption(f.compactPercent);
  if (f.adviseAgainst && !Unattended) {
    ShowMessageBox(AdviceText(LoadResString(IDS_ADVICE_PREFIX), f.compactPercent, LoadResString(IDS_ADVICE_SUFFIX)));
  }
  return true;
}

void TfrmMain::bAnalyzeRegistryClick(TObject&) { RunAnalysis(); }

void TfrmMain::bDefragRegistryClick(TObject&) {
  DefragDialogsOf dialogs(*this);
  DefragRun run{platform_,
                Hives,
                OptionsSetting,
                Unattended,
                GetWindowsVersionCode(platform_.system.GetVersion()),
                [this] { SaveSettings(platform_); },
                dialogs};
  DefragRegistry(run);
}

void TfrmMain::Defragment() {
  TObject& none = *this;
  bDefragRegistryClick(none);
}

void TfrmMain::bOptionsClick(TObject&) {
  auto dialog = CreateForm<TfrmOptions>(*this);
  if (dialog->ShowModal() != mrOk) return;
  SetGridLines(OptionsSetting.IsShowLine);
  SaveSettings(platform_);
}

void TfrmMain::bAboutClick(TObject&) {
  auto dialog = CreateForm<TfrmAbout>(*this);
  dialog->ShowModal();
}

void TfrmMain::HideWindows() { ShowWindow(Handle(), SW_HIDE); }

TotalsText TfrmMain::Totals() {
  return {Label(kTotals[0]).Caption(), Label(kTotals[1]).Caption(), Label(kTotals[2]).Caption(),
          Label(kTotals[3]).Caption()};
}

std::string TfrmMain::NowText() { return UserNowText(); }

void TfrmMain::RecordFailure(const std::string& text) {
  // Unattended callers read the exit code; the reason waits beside the
  // program, where an administrator looks first.
  AppendToRunLog(platform_.files, text);
}

}  // namespace vh
