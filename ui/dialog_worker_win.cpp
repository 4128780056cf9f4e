#include "ui/dialog_worker_win.h"

namespace vh {

DialogWorker::DialogWorker(HWND dialog, UINT endMessage, LPARAM failedAnswer)
    : dialog_(dialog), endMessage_(endMessage), failedAnswer_(failedAnswer) {}

DialogWorker::~DialogWorker() {
  Stop();
  thread_.Join();
}

void DialogWorker::Settle(State& state, HWND dialog, UINT message, LPARAM answer, std::exception_ptr error) {
  {
    ScopedLock guard(state.lock);
    state.answer = answer;
    state.error = error;
  }
  // A dialog that is gone by now never hears it: its window no longer
  // exists.
  PostMessageA(dialog, message, 0, answer);
}

void DialogWorker::Start(Job job, std::exception_ptr cannotStart) {
  if (started_) return;
  started_ = true;
  // The thread holds copies, never this object, which it may outlive.
  std::shared_ptr<State> state = state_;
  HWND dialog = dialog_;
  UINT message = endMessage_;
  LPARAM failed = failedAnswer_;
  bool running = thread_.Start([state, dialog, message, failed, job = std::move(job)] {
    // Nothing may escape the thread: whatever ends the job is kept for the
    // dialog, which must still hear of the end, or it would wait for ever.
    LPARAM answer = failed;
    std::exception_ptr error;
    try {
      answer = job(state->stop);
    } catch (...) {
      error = std::current_exception();
    }
    Settle(*state, dialog, message, answer, error);
  });
  if (!running) Settle(*state_, dialog_, endMessage_, failedAnswer_, cannotStart);
}

std::optional<LPARAM> DialogWorker::Answer() const {
  ScopedLock guard(state_->lock);
  return state_->answer;
}

std::exception_ptr DialogWorker::Error() const {
  ScopedLock guard(state_->lock);
  return state_->error;
}

}  // namespace vh
