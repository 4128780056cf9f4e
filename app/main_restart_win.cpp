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
    std::optional<WaitingRun> waiting = FindWaitingSwaps(platform_.registry);
    swapsPending_ = waiting.has_value();
    if (waiting) {
      waitingRun_ = WaitingRunText(*waiting);
      waitingShown_ = Text(IDS_SWAPS_WAITING_FOUND, {waiting->time.empty() ? "?" : waiting->time, waiting->run});
    }
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
  const std::string found = waitingRun_.empty() ? "" : "Found: " + waitingRun_ + ".";
  // An unattended caller reads its own exit code; nobody answers a box.
  if (Unattended || RunsUnattended()) {
    if (!found.empty()) RecordFailure(found);
    return true;
  }
  if (restartWatch_ == RestartWatch::Waiting) return true;
  std::string text = Text(IDS_SWAPS_PENDING);
  if (!waitingShown_.empty()) text += "\n\n" + waitingShown_;
  if (AskYesNo(text)) TryRestartAgain();
  return true;
}

void TfrmMain::AfterRestartRequest(const RestartAttempt& attempt, bool recorded) {
  ShowPendingWarning();
  if (!attempt.Started()) {
    RestartNotStarted(attempt.Failure(), ShownFailure(attempt), !recorded);
    return;
  }
  restartWatch_ = RestartWatch::Waiting;
  restartTries_ = 1;
  controls_->restartNow.SetEnabled(false);
  SetTimer(Handle(), kRestartWatchTimer, kRestartWaitMs, nullptr);
}

// Restart Now: a refusal is recorded as the run's was.
void TfrmMain::TryRestartAgain() {
  AfterRestartRequest(RestartComputer(platform_.privileges, platform_.power), false);
}

void TfrmMain::bRestartNowClick(TObject&) { TryRestartAgain(); }

void TfrmMain::OnRestartWatch() {
  KillTimer(Handle(), kRestartWatchTimer);
  if (restartWatch_ != RestartWatch::Waiting) return;
  if (restartTries_ == 1) {
    // Taken but never come: the call that also serves a process outside
    // the interactive session.
    RestartAttempt again = RestartAgain(platform_.privileges, platform_.power, true);
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

LRESULT TfrmMain::EndSession(WPARAM ending, LPARAM how) {
  if (ending && (how & ENDSESSION_LOGOFF)) {
    // The user's session ends, Windows goes on: the swaps still wait, and
    // the process ends before any restart could be seen.
    if (restartWatch_ == RestartWatch::Waiting) {
      const char kLoggedOff[] = "the user logged off; Windows did not restart";
      JournalWriter journal = Journal();
      RecordRestartNotStarted(&journal, kLoggedOff);
      ReportRestartNotStarted(platform_.events, kLoggedOff);
      ReportRunEndNow(kExitRestartNotStarted);
    }
    restartWatch_ = RestartWatch::LoggedOff;
    KillTimer(Handle(), kRestartWatchTimer);
    return 0;
  }
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
  if (restartWatch_ == RestartWatch::Waiting) RestartCancelled();
  return 0;
}

void TfrmMain::RestartCancelled() {
  const char kCancelled[] = "the restart was cancelled";
  if (restartTries_ >= 2) {
    RestartNotStarted(kCancelled, Text(IDS_RESTART_CANCELLED), true);
    return;
  }
  KillTimer(Handle(), kRestartWatchTimer);
  JournalWriter journal = Journal();
  RecordRestartNotStarted(&journal, kCancelled);
  ReportRestartNotStarted(platform_.events, kCancelled);
  // Someone said no: asked once more, applications are not closed by
  // force, so whoever has unsaved work can save it or say no again.
  RestartAttempt again = RestartAgain(platform_.privileges, platform_.power, false);
  if (!again.Started()) {
    RestartNotStarted(again.Failure(), ShownFailure(again), true);
    return;
  }
  restartTries_ = 2;
  SetTimer(Handle(), kRestartWatchTimer, kRestartWaitMs, nullptr);
  if (Unattended || RunsUnattended()) {
    RecordFailure("The restart was cancelled; Windows was asked once more to restart, without closing programs by "
                  "force.");
    return;
  }
  ShowMessageBox(Text(IDS_RESTART_CANCELLED_RETRY), MB_OK | MB_ICONWARNING);
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
