// The main window while swaps wait for the restart: found at start and
// before every command, refused with the offer to restart, and the restart
// itself watched until the session ends. Windows may take a restart request
// and never restart (the user, another program or the system aborts it;
// a process outside the interactive session gets success for nothing).
#include "app/main_window_win.h"
#include "ui/window_messages_win.h"
#include "flat/flat_speed_button_win.h"
#include "hive/pending_swaps.h"
#include "hive/swap_events.h"
#include "res/string_ids.h"
#include "ui/controls_win.h"
#include "ui/message_box_win.h"

namespace vh {

namespace {

// How long a taken restart may take to reach this window before it is
// asked for again, then given up.
constexpr UINT kRestartWaitMs = 120000;

}  // namespace

bool TfrmMain::FindPendingSwapsNow() {
  if (!swapsPending_) {
    swapsPending_ =
        SwapsWaitForRestart(platform_.files, platform_.system,
                            ReadJournal(platform_.files, JournalPath(platform_.files)), Hives);
  }
  if (swapsPending_) ShowPendingWarning();
  return swapsPending_;
}

void TfrmMain::ShowPendingWarning() {
  swapsPending_ = true;
  // The step hint gives way to the warning and its command.
  for (TLabel* hint : controls_->stepHint) hint->SetVisible(false);
  controls_->restartPending.SetVisible(true);
  controls_->restartNow.SetVisible(true);
  controls_->restartNow.SetEnabled(restartWatch_ != RestartWatch::Waiting);
  controls_->analyze.SetEnabled(false);
  controls_->defrag.SetEnabled(false);
  RefreshUndoItem();
}

bool TfrmMain::RefuseWhilePending() {
  if (!FindPendingSwapsNow()) return false;
  // An unattended caller reads its own exit code; nobody answers a box.
  if (Unattended || RunsUnattended()) return true;
  if (restartWatch_ == RestartWatch::Waiting) return true;
  if (ShowMessageBox(Text(IDS_SWAPS_PENDING), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == mrYes)
    TryRestartAgain();
  return true;
}

void TfrmMain::AfterRestartRequest(const RestartAttempt& attempt) {
  ShowPendingWarning();
  if (!attempt.Started()) {
    // The run has recorded it in the journal already.
    RestartNotStarted(attempt.Failure(), ShownFailure(attempt), false);
    return;
  }
  restartWatch_ = RestartWatch::Waiting;
  restartTries_ = 1;
  controls_->restartNow.SetEnabled(false);
  SetTimer(Handle(), kRestartWatchTimer, kRestartWaitMs, nullptr);
}

void TfrmMain::TryRestartAgain() { AfterRestartRequest(RestartComputer(platform_.privileges, platform_.power)); }

void TfrmMain::bRestartNowClick(TObject&) { TryRestartAgain(); }

void TfrmMain::OnRestartWatch() {
  KillTimer(Handle(), kRestartWatchTimer);
  if (restartWatch_ != RestartWatch::Waiting) return;
  if (restartTries_ == 1) {
    // Taken but never come: the call that also serves a process outside
    // the interactive session.
    RestartAttempt again = RestartAgain(platform_.privileges, platform_.power);
    if (again.Started()) {
      restartTries_ = 2;
      SetTimer(Handle(), kRestartWatchTimer, kRestartWaitMs, nullptr);
      return;
    }
    RestartNotStarted(again.Failure(), ShownFailure(again), true);
    return;
  }
  RestartNotStarted("Windows took the request but did not restart", Text(IDS_RESTART_NOT_COME), true);
}

std::string TfrmMain::ShownFailure(const RestartAttempt& attempt) {
  if (attempt.initiateError > 0) return Text(IDS_RESTART_REFUSED_ERROR, {std::to_string(attempt.initiateError)});
  return Text(IDS_RESTART_REFUSED);
}

void TfrmMain::RestartNotStarted(const std::string& reason, const std::string& shownReason, bool record) {
  KillTimer(Handle(), kRestartWatchTimer);
  restartWatch_ = RestartWatch::Failed;
  JournalWriter journal = Journal();
  if (record) RecordRestartNotStarted(&journal, reason);
  if (record) ReportRestartNotStarted(platform_.events, reason);
  ShowPendingWarning();
  controls_->restartNow.SetEnabled(true);
  if (Unattended || RunsUnattended()) {
    RecordFailure("The swaps are scheduled, but Windows could not be restarted: " + reason +
                  ". Every registry change until the restart will be lost; restart Windows now.");
    return;
  }
  ShowMessageBox(Text(IDS_RESTART_FAILED) + "\n\n" + shownReason, MB_OK | MB_ICONERROR);
}

LRESULT TfrmMain::EndSession(WPARAM ending) {
  if (ending) {
    // The process may end as soon as this returns: the run is done.
    if (restartWatch_ == RestartWatch::Waiting) ReportRunEndNow(kExitDone);
    // The session ends and the process with it: nothing is deleted on the
    // way out, as the swaps need every file where it is.
    restartWatch_ = RestartWatch::SessionEnding;
    swapsPending_ = true;
    KillTimer(Handle(), kRestartWatchTimer);
    return 0;
  }
  if (restartWatch_ == RestartWatch::Waiting)
    RestartNotStarted("the restart was cancelled", Text(IDS_RESTART_CANCELLED), true);
  return 0;
}

bool TfrmMain::AwaitRestart() {
  MSG msg;
  while (restartWatch_ == RestartWatch::Waiting && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return restartWatch_ == RestartWatch::SessionEnding;
}

}  // namespace vh
