// DialogWorker: a long job run on a thread of its own under a modal dialog.
// The dialog owns it and starts it once the dialog is up; the job reaches
// the dialog only by messages posted to its window, progress as it goes and
// one message when it ends, whose lParam is the job's answer. The dialog
// then either joins the thread before it goes (a job that checks its stop
// request) or leaves it to finish alone (one call that cannot be
// interrupted; its job must then hold nothing of the dialog).
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

#include "platform/thread_win.h"

namespace vh {

class DialogWorker {
 public:
  // The job: it reads stop between its steps and returns its answer.
  using Job = std::function<LPARAM(const std::atomic<bool>& stop)>;

  // The dialog's window, the message the end is posted as, and the answer
  // given when the job throws or no thread can be made.
  DialogWorker(HWND dialog, UINT endMessage, LPARAM failedAnswer);
  // A thread that was not left to run alone is asked to stop and joined.
  ~DialogWorker();
  DialogWorker(const DialogWorker&) = delete;
  DialogWorker& operator=(const DialogWorker&) = delete;

  // Runs job once; later calls do nothing. Without a thread the end is
  // posted at once with the failed answer, and the error cannotStart when
  // one is given.
  void Start(Job job, std::exception_ptr cannotStart = nullptr);
  // Asks the job to stop at its next check.
  void Stop() { state_->stop = true; }
  bool Running() const { return thread_.Running(); }
  // Waits for the job to end while this thread's windows stay alive.
  void WaitPumping() { thread_.JoinPumping(); }
  // Lets the thread finish on its own; the dialog no longer waits for it.
  void LeaveRunning() { thread_.Detach(); }

  // The job's answer once it has ended; what it threw, if it did.
  std::optional<LPARAM> Answer() const;
  std::exception_ptr Error() const;

 private:
  // Shared with the thread, which may outlive this object once left to run.
  struct State {
    CriticalSection lock;
    std::optional<LPARAM> answer;
    std::exception_ptr error;
    std::atomic<bool> stop{false};
  };
  // Keeps how the job ended, then tells the dialog.
  static void Settle(State& state, HWND dialog, UINT message, LPARAM answer, std::exception_ptr error);

  HWND dialog_;
  UINT endMessage_;
  LPARAM failedAnswer_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
  bool started_ = false;  // once per object, even after a join
  WorkerThread thread_;  // last: joined before the members it uses go
};

}  // namespace vh
