#include "app/restart_watch_win.h"

#include "app/unattended.h"
#include "hive/defrag.h"
#include "hive/pending_swaps.h"
#include "hive/swap_events.h"
#include "res/string_ids.h"
#include "ui/message_box_win.h"

namespace vh {

namespace {

// How long a taken restart may take to reach the window before it is
// asked for again, then given up.
constexpr unsigned kRestartWaitMs = 120000;

}  // namespace

MainState RestartWatch::State() const {
  return watch_ == Watch::Waiting ? MainState::RestartAwaited : MainState::SwapsPending;
}

void RestartWatch::Show() { s_.host.ShowCommands(CommandsIn(State(), false)); }

bool RestartWatch::FindPendingNow() {
  if (!pending_) {
    // A key that outlived the restart of its run is no evidence.
    const JournalWriter journal = s_.Journal();
    RemoveStaleWaitingKey(s_.platform.registry, s_.platform.files, journal.path, journal.logFailure);
    std::optional<WaitingRun> waiting = FindWaitingSwaps(s_.platform.registry);
    pending_ = waiting.has_value();
    if (waiting) {
      waitingRun_ = WaitingRunText(*waiting);
      waitingShown_ = s_.Text(IDS_SWAPS_WAITING_FOUND, {waiting->time.empty() ? "?" : waiting->time, waiting->run});
    }
  }
  if (pending_) ShowPending();
  return pending_;
}

void RestartWatch::ShowPending() {
  pending_ = true;
  Show();
}

bool RestartWatch::RefuseWhilePending() {
  if (!FindPendingNow()) return false;
  const std::string found = waitingRun_.empty() ? "" : "Found: " + waitingRun_ + ".";
  // An unattended caller reads its own exit code; nobody answers a box.
  if (s_.unattended) {
    if (!found.empty()) s_.host.RecordFailure(found);
    return true;
  }
  if (watch_ == Watch::Waiting) return true;
  std::string text = s_.Text(IDS_SWAPS_PENDING);
  if (!waitingShown_.empty()) text += "\n\n" + waitingShown_;
  if (AskYesNo(text)) TryAgain();
  return true;
}

void RestartWatch::AfterRestartRequest(const RestartAttempt& attempt, bool recorded) {
  ShowPending();
  if (!attempt.Started()) {
    NotStarted(attempt.Failure(), ShownFailure(attempt), !recorded);
    return;
  }
  watch_ = Watch::Waiting;
  tries_ = 1;
  Show();
  s_.host.WatchRestart(kRestartWaitMs);
}

void RestartWatch::TryAgain() {
  AfterRestartRequest(RestartComputer(s_.platform.privileges, s_.platform.power), false);
}

void RestartWatch::OnTimer() {
  s_.host.WatchRestart(0);
  if (watch_ != Watch::Waiting) return;
  if (tries_ == 1) {
    // Taken but never come: the call that also serves a process outside
    // the interactive session.
    RestartAttempt again = RestartAgain(s_.platform.privileges, s_.platform.power, true);
    if (again.Started()) {
      tries_ = 2;
      s_.host.WatchRestart(kRestartWaitMs);
      return;
    }
    NotStarted(again.Failure(), ShownFailure(again), true);
    return;
  }
  NotStarted("Windows took the request but did not restart", s_.Text(IDS_RESTART_NOT_COME), true);
}

void RestartWatch::RecordNotStarted(const std::string& reason) {
  JournalWriter journal = s_.Journal();
  RecordRestartNotStarted(&journal, reason);
  ReportRestartNotStarted(s_.platform.events, reason);
}

std::string RestartWatch::ShownFailure(const RestartAttempt& attempt) const {
  if (attempt.initiateError > 0) return s_.Text(IDS_RESTART_REFUSED_ERROR, {std::to_string(attempt.initiateError)});
  return s_.Text(IDS_RESTART_REFUSED);
}

void RestartWatch::NotStarted(const std::string& reason, const std::string& shownReason, bool record) {
  s_.host.WatchRestart(0);
  watch_ = Watch::Failed;
  if (record) RecordNotStarted(reason);
  ShowPending();
  if (s_.unattended) {
    s_.host.RecordFailure("The swaps are scheduled, but Windows could not be restarted: " + reason +
                          ". Every registry change until the restart will be lost; restart Windows now.");
    return;
  }
  ShowMessageBox(s_.Text(IDS_RESTART_FAILED) + "\n\n" + shownReason, MB_OK | MB_ICONERROR);
}

void RestartWatch::EndSession(bool ending, bool logOff) {
  if (ending && logOff) {
    // The user's session ends, Windows goes on: the swaps still wait, and
    // the process ends before any restart could be seen.
    if (watch_ == Watch::Waiting) {
      const char kLoggedOff[] = "the user logged off; Windows did not restart";
      RecordNotStarted(kLoggedOff);
      s_.host.ReportRunEndNow(kExitRestartNotStarted);
    }
    watch_ = Watch::LoggedOff;
    s_.host.WatchRestart(0);
    return;
  }
  if (ending) {
    // The process may end as soon as this returns: the run is done.
    if (watch_ == Watch::Waiting) s_.host.ReportRunEndNow(kExitDone);
    // The session ends and the process with it: nothing is deleted on the
    // way out, as the swaps need every file where it is.
    watch_ = Watch::SessionEnding;
    pending_ = true;
    s_.host.WatchRestart(0);
    return;
  }
  if (watch_ == Watch::Waiting) Cancelled();
}

void RestartWatch::Cancelled() {
  const char kCancelled[] = "the restart was cancelled";
  if (tries_ >= 2) {
    NotStarted(kCancelled, s_.Text(IDS_RESTART_CANCELLED), true);
    return;
  }
  s_.host.WatchRestart(0);
  RecordNotStarted(kCancelled);
  // Someone said no: asked once more, applications are not closed by
  // force, so whoever has unsaved work can save it or say no again.
  RestartAttempt again = RestartAgain(s_.platform.privileges, s_.platform.power, false);
  if (!again.Started()) {
    NotStarted(again.Failure(), ShownFailure(again), true);
    return;
  }
  tries_ = 2;
  s_.host.WatchRestart(kRestartWaitMs);
  if (s_.unattended) {
    s_.host.RecordFailure("The restart was cancelled; Windows was asked once more to restart, without closing "
                          "programs by force.");
    return;
  }
  ShowMessageBox(s_.Text(IDS_RESTART_CANCELLED_RETRY), MB_OK | MB_ICONWARNING);
}

}  // namespace vh
