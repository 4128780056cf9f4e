// The restore point worker: one call of the restore library on a thread of
// its own, one posted result. The call cannot be interrupted, so a dialog
// that closes early leaves it to finish in the background and never hears
// from it again.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace vh {

class TCreateSystemPointThread {
 public:
  // Starts the worker at once; it posts doneMessage to dialogHandle with
  // RestorePointResultCode in lParam.
  static void Start(HWND dialogHandle, UINT doneMessage, RestoreClient& restore);
};

}  // namespace vh
