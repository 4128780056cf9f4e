#include "restore/restore_point_thread_win.h"

#include <exception>

#include "restore/restore_point.h"
#include "ui/dialog_worker_win.h"

namespace vh {

void TCreateSystemPointThread::Start(HWND dialogHandle, UINT doneMessage, RestoreClient& restore, bool oneADay,
                                     std::uint64_t started, std::shared_ptr<RestorePointShared> shared) {
  // Without a thread, the dialog hears the result it would have got from a
  // library that cannot be reached.
  DialogWorker worker(dialogHandle, doneMessage, RestorePointResultCode(RestoreOutcome::Unavailable));
  worker.Start([&restore, oneADay, started, shared](const std::atomic<bool>&) -> LPARAM {
    RestoreOutcome outcome = RestoreOutcome::Unavailable;
    try {
      shared->begun = BeginRestorePoint(restore, oneADay, started);
      outcome = shared->begun.result.outcome;
      // The dialog gave up first: nobody will end the change this point
      // opened, so it is cancelled here; a point Windows had is left alone.
      if (shared->settled.exchange(true) && shared->begun.ours)
        restore.SetRestorePoint(EndOfRestorePoint(shared->begun.result.sequenceNumber, false));
    } catch (...) {
      // Whatever the library throws is a failed creation, which the dialog
      // reports and the user decides on.
    }
    // A dialog that is gone by now ignores the answer: the window no longer
    // exists, or its handler knows the result came too late.
    return RestorePointResultCode(outcome);
  });
  // The library call cannot be interrupted, so the worker is left to finish
  // on its own; it touches nothing but the restore client, which lives as
  // long as the program.
  worker.LeaveRunning();
}

}  // namespace vh
