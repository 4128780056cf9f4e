#include "app/main_commands_win.h"

#include <windows.h>

#include "app/locale_win.h"
#include "app/undo_texts.h"
#include "app/version_code.h"
#include "hive/hive_copy.h"
#include "hive/servicing.h"
#include "hive/undo.h"
#include "res/string_ids.h"
#include "restore/restore_point_dialog_win.h"
#include "settings/confirm_defrag_win.h"
#include "ui/message_box_win.h"

namespace vh {

namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n" + line;
  return text;
}

// The dialogs of a defragmentation, each created for one use.
class DefragDialogsOf final : public DefragDialogs {
 public:
  explicit DefragDialogsOf(const MainSession& s) : s_(s) {}
  FreshCopies CopyAgain(const HiveTable& hives, const AfterCopies& then) override {
    // Stop, Esc and the close box all end the dialog as stopped. A scan
    // that failed left hives without copies, which are left out.
    ScanCompletion end = RunScan(s_.host.ForDialog(), ScanJob{hives, s_.runningOnWow64, s_.unattended,
                                                              s_.Text(IDS_RECOPY_CAPTION), s_.Text(IDS_RECOPY_LABEL), then,
                                                              s_.Text(IDS_RECHECK_LABEL)});
    return end == ScanCompletion::Stopped ? FreshCopies::Stopped : FreshCopies::Done;
  }
  void ShowNothingScheduled(const DefragReport& report) override {
    const Messages shown = s_.CurrentMessages();
    ShowMessageBox(shown.Text(IDS_NOTHING_SCHEDULED) + "\n" + Lines(report.NotScheduledLines(&shown)));
  }
  DefragConfirmation AskBeforeDefrag() override { return ConfirmDefrag(s_.host.ForDialog()); }
  RestorePointMade CreateRestorePoint() override {
    return MakeRestorePoint(s_.host.ForDialog(), RestorePointFor::Defragmentation);
  }
  bool ConfirmSwapAndRestart(const DefragPlan& plan) override {
    std::string text = s_.Text(IDS_SWAP_NOTICE) + "\n\n" + s_.Text(IDS_SWAP_LIST) + "\n" + Lines(plan.toSwap);
    if (!plan.notSwapped.empty()) text += "\n\n" + s_.Text(IDS_NOT_SCHEDULED) + "\n" + Lines(plan.notSwapped);
    // Cancel is the default: a held Enter key must not restart the computer.
    return AskOkCancel(text);
  }

 private:
  const MainSession& s_;
};

// The dialogs of an undo, in the current language.
class UndoDialogsOf final : public UndoDialogs {
 public:
  explicit UndoDialogsOf(const MainSession& s) : s_(s), language_(s.options.Lan) {}
  bool ConfirmUndo(const UndoPlan& plan) override {
    // Only Yes goes on: No, the close box and a box that could not be shown
    // change nothing.
    return AskYesNo(UndoConfirmation(plan, Translator()));
  }
  RestorePointMade CreateRestorePoint() override { return MakeRestorePoint(s_.host.ForDialog(), RestorePointFor::Undo); }
  void ShowNothingToUndo(const UndoPlan& plan) override { ShowMessageBox(UndoNothingMessage(plan, Translator())); }
  void ShowNothingSwappedBack(const JournalEntry& undo) override {
    ShowMessageBox(UndoRefusedMessage(undo, Translator()));
  }
  bool CheckUnderWindow(const AfterCopies& work) override {
    // The progress dialog with nothing to copy: the work is all it runs.
    ScanJob job{HiveTable{}, s_.runningOnWow64, s_.unattended, s_.Text(IDS_UNDO_CHECK_CAPTION),
                s_.Text(IDS_UNDO_CHECK_LABEL), work, ""};
    return RunScan(s_.host.ForDialog(), job) == ScanCompletion::Complete;
  }

 private:
  Translate Translator() { return TranslateWith(s_.messages->For(language_)); }
  const MainSession& s_;
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

MainState MainCommands::State() const {
  if (restart_.Pending()) return restart_.State();
  return analysed_ ? MainState::Analysed : MainState::Ready;
}

void MainCommands::ShowState() { s_.host.ShowCommands(CommandsIn(State(), undoOffered_)); }

void MainCommands::RefreshUndo() {
  // The journal is read only when the undo could be offered at all: never
  // to a run with nobody there to choose it.
  undoOffered_ = !s_.unattended && !restart_.Pending() &&
                 UndoOffered(s_.platform, s_.hives, JournalPath(s_.platform.files));
  ShowState();
}

bool MainCommands::RunAnalysis() {
  if (s_.hives.empty() || restart_.RefuseWhilePending()) return false;
  for (const std::string& file : s_.hives.HiveFiles) {
    if (IsFileLocked(s_.platform.files, CopyPath(file))) {
      // Nobody is there to press OK: a box would keep the run for ever.
      if (s_.unattended) {
        s_.host.RecordFailure("The copy " + CopyPath(file) + " is held open by another program (a copy of an "
                              "earlier defragmentation, or a backup or antivirus program); no analysis was made.");
      } else {
        ShowMessageBox(s_.Text(IDS_CANNOT_ANALYZE));
      }
      return false;
    }
  }
  analysed_ = false;
  figures_.reset();
  DWORD started = GetTickCount();
  bool complete = RunScan(s_.host.ForDialog(), AnalysisJob()) == ScanCompletion::Complete;
  ShowState();
  if (!complete) return false;

  AnalysisFigures f = ComputeFigures(s_.platform.files, s_.hives, UserDecimalSeparator(), s_.CurrentMessages());
  s_.host.ShowRows(f);
  figures_ = f;
  if (!f.AnyCopied()) {
    // Totals of nothing would read as a measured registry of 0 KB.
    s_.host.ShowTotals(nullptr);
    if (!s_.unattended) ShowMessageBox(s_.Text(IDS_NOTHING_COPIED));
    return false;
  }
  analysed_ = true;
  analysisStartedMs_ = started;
  ShowState();
  s_.host.ShowTotals(&f);
  if (f.adviseAgainst && !s_.unattended) {
    std::string advice = s_.Text(IDS_ADVICE, {f.compactPercent});
    // What Windows did itself lately is why so little is left to gain.
    std::string reorganized = s_.host.ReorganizedAdvice();
    ShowMessageBox(reorganized.empty() ? advice : advice + "\n\n" + reorganized);
  }
  return true;
}

DefragSummary MainCommands::RunDefrag() {
  if (restart_.RefuseWhilePending()) return {false, {}, true, ""};
  // Copies that an unattended run's analysis has only just written are
  // recent enough to swap in; any other is written again.
  constexpr DWORD kRecentCopyMs = 60000;
  DefragDialogsOf dialogs(s_);
  DefragRun run{s_.platform,
                s_.hives,
                s_.options,
                s_.unattended,
                GetWindowsVersionCode(s_.platform.system.GetVersion()),
                dialogs,
                s_.unattended && analysed_ && GetTickCount() - analysisStartedMs_ < kRecentCopyMs};
  JournalWriter journal = s_.Journal();
  run.journal = &journal;
  DefragOutcome outcome;
  try {
    outcome = DefragRegistry(run);
  } catch (...) {
    // The question's tick stands even when its settings could not be written.
    s_.options = run.options;
    throw;
  }
  s_.options = run.options;
  RefreshUndo();
  DefragSummary summary{outcome == DefragOutcome::Restarting, run.report.NotScheduledLines(),
                        outcome == DefragOutcome::SwapsPending,
                        outcome == DefragOutcome::RestartNotStarted ? run.restart.Failure() : "",
                        EnglishFindings(run.servicing)};
  if (!s_.unattended) TellWhyNothingWasSwapped(outcome, run);
  if (outcome == DefragOutcome::SwapsPending) {
    restart_.FindPendingNow();
  } else if (outcome == DefragOutcome::Restarting || outcome == DefragOutcome::RestartNotStarted) {
    restart_.AfterRestartRequest(run.restart, true);
  }
  return summary;
}

void MainCommands::TellWhyNothingWasSwapped(DefragOutcome outcome, const DefragRun& run) {
  switch (outcome) {
    case DefragOutcome::Stopped:
      ShowMessageBox(s_.Text(IDS_DEFRAG_STOPPED));
      break;
    case DefragOutcome::ServicingPending:
      ShowMessageBox(ServicingText(run.servicing), MB_OK | MB_ICONWARNING);
      break;
    case DefragOutcome::NotRecorded: {
      const Messages shown = s_.CurrentMessages();
      ShowMessageBox(shown.Text(IDS_NOT_RECORDED) + "\n" + Lines(run.report.NotScheduledLines(&shown)),
                     MB_OK | MB_ICONERROR);
      break;
    }
    default:
      break;
  }
}

std::string MainCommands::ServicingText(const std::vector<unsigned>& found) const {
  std::string text = s_.Text(IDS_WINDOWS_SERVICING);
  for (unsigned id : found) text += "\n" + s_.Text(id);
  return text;
}

UndoSummary MainCommands::RunUndo() {
  if (restart_.RefuseWhilePending()) return {UndoOutcome::SwapsPending};
  UndoDialogsOf dialogs(s_);
  JournalWriter journal = s_.Journal();
  UndoRun run{s_.platform, s_.hives, s_.unattended, dialogs, journal, s_.runningOnWow64};
  run.restorePoint = s_.options.RestorePoint;
  run.versionCode = GetWindowsVersionCode(s_.platform.system.GetVersion());
  UndoOutcome outcome = UndoLastDefragmentation(run);
  RefreshUndo();
  if (outcome == UndoOutcome::SwapsPending) {
    restart_.FindPendingNow();
  } else if (outcome == UndoOutcome::Restarting || outcome == UndoOutcome::RestartNotStarted) {
    restart_.AfterRestartRequest(run.restart, true);
  } else if (outcome == UndoOutcome::ServicingPending && !s_.unattended) {
    ShowMessageBox(ServicingText(run.servicing), MB_OK | MB_ICONWARNING);
  } else if (outcome == UndoOutcome::NotRecorded && !s_.unattended) {
    ShowMessageBox(s_.Text(IDS_NOT_RECORDED), MB_OK | MB_ICONERROR);
  }
  return {outcome, run.plan.refusal, UndoRefusalText(run.plan), run.plan.entry.time, NotUndoneLines(run),
          outcome == UndoOutcome::RestartNotStarted ? run.restart.Failure() : "", EnglishFindings(run.servicing)};
}

}  // namespace vh
