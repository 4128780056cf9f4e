#include "restore/restore_point_thread_win.h"

#include <exception>

#include "platform/thread_win.h"
#include "restore/restore_point.h"

namespace vh {

void TCreateSystemPointThread::Start(HWND dialogHandle, UINT doneMessage, RestoreClient& restore,
                                     std::shared_ptr<RestorePointShared> shared) {
  WorkerThread worker;
  bool started = worker.Start([dialogHandle, doneMessage, &restore, shared] {
    RestoreOutcome outcome = RestoreOutcome::Unavailable;
    try {
      shared->result = restore.SetRestorePoint(MakeRestorePointRequest());
      outcome = shared->result.outcome;
      // The dialog gave up first: nobody will end the change this point
      // opened, so it is cancelled here.
      if (shared->settled.exchange(true) && outcome == RestoreOutcome::Created)
        restore.SetRestorePoint(EndOfRestorePoint(shared->result.sequenceNumber, false));
    } catch (...) {
      // Whatever the library throws is a failed creation, which the dialog
      // reports and the user decides on; nothing may escape the thread.
    }
    // A dialog that is gone by now ignores this: the window no longer
    // exists, or its handler knows the result came too late.
    PostMessageA(dialogHandle, doneMessage, 0, RestorePointResultCode(outcome));
  });
  // The library call cannot be interrupted, so the worker is left to finish
  // on its own; it touches nothing but the restore client, which lives as
  // long as the program.
  if (started) {
    worker.Detach();
  } else {
    // No thread: the dialog hears the result it would have got from a
    // library that cannot be reached.
    PostMessageA(dialogHandle, doneMessage, 0, RestorePointResultCode(RestoreOutcome::Unavailable));
  }
}

}  // namespace vh
