// The main window's undo of the last defragmentation, from the help menu
// or /Undo, and the journal every run is recorded in.
#include "app/locale_win.h"
#include "app/main_window_win.h"
#include "platform/string_table_win.h"
#include "app/undo_texts.h"
#include "hive/undo.h"
#include "lang/translation.h"
#include "platform/win32_platform_win.h"
#include "res/string_ids.h"
#include "settings/options.h"
#include "ui/menu_win.h"
#include "ui/message_box_win.h"

namespace vh {

namespace {

// The dialogs of an undo, in the current language.
class UndoDialogsOf final : public UndoDialogs {
 public:
  UndoDialogsOf(Platform& platform, std::string language) : platform_(platform), language_(std::move(language)) {}
  ModalResult ConfirmUndo(const UndoPlan& plan) override {
    return ShowMessageBox(UndoConfirmation(plan, Translator()), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  }
  void ShowNothingToUndo(const UndoPlan&) override { ShowMessageBox(Translator()(kUndoNothingText)); }
  void ShowNothingSwappedBack(const JournalEntry& undo) override {
    ShowMessageBox(UndoRefusedMessage(undo, Translator()));
  }
  void ShowRestartNotice() override { ShowMessageBox(LoadResString(IDS_RESTART_NOTICE)); }

 private:
  Translate Translator() {
    return [this](const MessageText& text) {
      // The message quotes hive files by their UTF-8 paths.
      return AnsiToUtf8(TranslateText(platform_.profiles, platform_.files.ExecutableFolder(), language_, text));
    };
  }
  Platform& platform_;
  std::string language_;
};

std::vector<std::string> NotUndoneLines(const UndoRun& run) {
  std::vector<std::string> lines;
  for (const auto& skipped : run.plan.skipped)
    lines.push_back(skipped.first.name + ": " + UndoSkipText(skipped.second));
  for (const JournalHive& hive : run.done.hives) {
    if (hive.outcome == JournalOutcome::Refused)
      lines.push_back(hive.name + ": Windows refused to schedule the swap back (error " + std::to_string(hive.error) +
                      ")");
  }
  return lines;
}

}  // namespace

JournalWriter TfrmMain::Journal() {
  return {platform_.files, platform_.system, JournalPath(platform_.files), [] { return UserNowText(); },
          [this](const std::string& line) { RecordFailure(line); }};
}

void TfrmMain::RefreshUndoItem() {
  Find<TMenuItem>("pmiUndo")->Enabled = UndoOffered(platform_, Hives, JournalPath(platform_.files));
}

UndoSummary TfrmMain::RunUndo() {
  UndoDialogsOf dialogs(platform_, options_.Lan);
  JournalWriter journal = Journal();
  UndoRun run{platform_, Hives, Unattended, dialogs, journal};
  UndoOutcome outcome = UndoLastDefragmentation(run);
  RefreshUndoItem();
  return {outcome, run.plan.refusal, NotUndoneLines(run)};
}

void TfrmMain::pmiUndoClick(TObject&) { RunUndo(); }

}  // namespace vh
