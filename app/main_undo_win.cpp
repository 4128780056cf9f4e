// The main window's undo of the last defragmentation, from the help menu
// or /Undo, and the journal every run is recorded in.
#include "app/locale_win.h"
#include "app/main_window_win.h"
#include "app/undo_texts.h"
#include "app/version_code.h"
#include "hive/servicing.h"
#include "hive/undo.h"
#include "restore/restore_point_dialog_win.h"
#include "settings/options.h"
#include "ui/menu_win.h"
#include "ui/message_box_win.h"

namespace vh {

namespace {

// The dialogs of an undo, in the current language.
class UndoDialogsOf final : public UndoDialogs {
 public:
  UndoDialogsOf(TfrmMain& main, Platform& platform, std::string language)
      : main_(main), platform_(platform), language_(std::move(language)) {}
  bool ConfirmUndo(const UndoPlan& plan) override {
    // Only Yes goes on: No, the close box and a box that could not be shown
    // change nothing.
    return AskYesNo(UndoConfirmation(plan, Translator()));
  }
  RestorePointMade CreateRestorePoint() override { return MakeRestorePoint(main_.ForDialog(), RestorePointFor::Undo); }
  void ShowNothingToUndo(const UndoPlan& plan) override { ShowMessageBox(UndoNothingMessage(plan, Translator())); }
  void ShowNothingSwappedBack(const JournalEntry& undo) override {
    ShowMessageBox(UndoRefusedMessage(undo, Translator()));
  }

 private:
  Translate Translator() { return TranslateWith(LoadMessages(platform_, language_)); }
  TfrmMain& main_;
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
  controls_->undoItem.Enabled =
      !swapsPending_ && UndoOffered(platform_, Hives, JournalPath(platform_.files));
}

UndoSummary TfrmMain::RunUndo() {
  if (RefuseWhilePending()) return {UndoOutcome::SwapsPending};
  UndoDialogsOf dialogs(*this, platform_, options_.Lan);
  JournalWriter journal = Journal();
  UndoRun run{platform_, Hives, Unattended, dialogs, journal, RunningOnWow64};
  run.restorePoint = options_.RestorePoint;
  run.versionCode = GetWindowsVersionCode(platform_.system.GetVersion());
  UndoOutcome outcome = UndoLastDefragmentation(run);
  RefreshUndoItem();
  if (outcome == UndoOutcome::SwapsPending) {
    FindPendingSwapsNow();
  } else if (outcome == UndoOutcome::Restarting || outcome == UndoOutcome::RestartNotStarted) {
    AfterRestartRequest(run.restart, true);
  } else if (outcome == UndoOutcome::ServicingPending && !Unattended) {
    ShowMessageBox(ServicingText(run.servicing), MB_OK | MB_ICONWARNING);
  } else if (outcome == UndoOutcome::NotRecorded && !Unattended) {
    ShowMessageBox(Text(IDS_NOT_RECORDED), MB_OK | MB_ICONERROR);
  }
  return {outcome, run.plan.refusal, UndoRefusalText(run.plan), run.plan.entry.time, NotUndoneLines(run),
          outcome == UndoOutcome::RestartNotStarted ? run.restart.Failure() : "", EnglishFindings(run.servicing)};
}

void TfrmMain::pmiUndoClick(TObject&) { RunUndo(); }

}  // namespace vh
