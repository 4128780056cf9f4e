// Swaps waiting for the restart: found at start and before every command,
// refused with the offer to restart, and the restart itself watched until
// the session ends. Windows may take a restart request and never restart
// (the user, another program or the system aborts it; a process outside
// the interactive session gets success for nothing).
#pragma once

#include <optional>
#include <string>

#include "app/command_host_win.h"
#include "hive/hive_swap.h"

namespace vh {

class RestartWatch {
 public:
  explicit RestartWatch(MainSession session) : s_(session) {}

  // Swaps of this or an earlier run wait for the restart.
  bool Pending() const { return pending_; }
  // SwapsPending or RestartAwaited; meaningful while Pending().
  MainState State() const;
  // A restart was asked for and the session has not ended yet.
  bool Awaited() const { return watch_ == Watch::Waiting; }
  // The session is ending: Windows restarts.
  bool SessionEnding() const { return watch_ == Watch::SessionEnding; }

  // Looks at the journal and the files: true, and the window shows the
  // warning, when an earlier run's swaps wait for the restart.
  bool FindPendingNow();
  // The red warning in the step hint's place, with Restart Now; the
  // commands that would touch the hives are disabled.
  void ShowPending();
  // Refuses a command while swaps wait, offering the restart; true when
  // refused.
  bool RefuseWhilePending();
  // After a run asked for the restart: its result, and then the watch for
  // the end of the session. recorded: the run has journalled a restart
  // that did not start.
  void AfterRestartRequest(const RestartAttempt& attempt, bool recorded);
  // Restart Now: a refusal is recorded as the run's was.
  void TryAgain();
  // The window's timer came (MainCommandsHost::WatchRestart).
  void OnTimer();
  // WM_ENDSESSION: ending, and how (logOff: the user logs off, which is no
  // restart).
  void EndSession(bool ending, bool logOff);

 private:
  void Show();
  // The restart did not come: the warning, the journal (unless the run
  // recorded it already) and, unattended, the log, all with the English
  // reason; the user is told the shown one.
  void NotStarted(const std::string& reason, const std::string& shownReason, bool record);
  // The restart that did not come, with its English reason, in the journal
  // and the event log.
  void RecordNotStarted(const std::string& reason);
  // Why a restart request failed, in the current language.
  std::string ShownFailure(const RestartAttempt& attempt) const;
  // The session's end was cancelled while the restart was awaited.
  void Cancelled();

  MainSession s_;
  bool pending_ = false;
  // The run the waiting key names, in words; empty when this run made it.
  std::string waitingRun_;    // the waiting run, in English for the log
  std::string waitingShown_;  // the same, for the user
  enum class Watch { Idle, Waiting, SessionEnding, LoggedOff, Failed };
  Watch watch_ = Watch::Idle;
  int tries_ = 0;
};

}  // namespace vh
