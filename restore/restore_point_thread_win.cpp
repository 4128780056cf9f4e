#include "restore/restore_point_thread_win.h"

#include <exception>
#include <thread>

#include "app/messages_win.h"
#include "restore/restore_point.h"

namespace vh {

void TCreateSystemPointThread::Start(HWND dialogHandle, RestoreClient& restore) {
  std::thread([dialogHandle, &restore] {
    RestoreOutcome outcome = RestoreOutcome::Unavailable;
    try {
      outcome = restore.SetRestorePoint(MakeRestorePointRequest());
    } catch (const std::exception&) {
      // A failure of the call is a failed creation: the user decides.
    }
    // A dialog that is gone by now ignores this: the window no longer
    // exists, or its handler knows the result came too late.
    PostMessageA(dialogHandle, WM_RESTOREPOINTDONE, 0, RestorePointResultCode(outcome));
  }).detach();
}

}  // namespace vh
