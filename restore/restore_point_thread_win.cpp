#include "restore/restore_point_thread_win.h"

#include <exception>

#include "app/messages_win.h"
#include "platform/thread_win.h"
#include "restore/restore_point.h"

namespace vh {

void TCreateSystemPointThread::Start(HWND dialogHandle, RestoreClient& restore) {
  WorkerThread worker;
  bool started = worker.Start([dialogHandle, &restore] {
    RestoreOutcome outcome = RestoreOutcome::Unavailable;
    try {
      outcome = restore.SetRestorePoint(MakeRestorePointRequest());
    } catch (const std::exception&) {
      // A failure of the call is a failed creation: the user decides.
    }
    // A dialog that is gone by now ignores this: the window no longer
    // exists, or its handler knows the result came too late.
    PostMessageA(dialogHandle, WM_RESTOREPOINTDONE, 0, RestorePointResultCode(outcome));
  });
  // The library call cannot be interrupted, so the worker is left to finish
  // on its own; it touches nothing but the restore client, which lives as
  // long as the program.
  if (started) {
    worker.Detach();
  } else {
    // No thread: the dialog hears the result it would have got from a
    // library that cannot be reached.
    PostMessageA(dialogHandle, WM_RESTOREPOINTDONE, 0, RestorePointResultCode(RestoreOutcome::Unavailable));
  }
}

}  // namespace vh
