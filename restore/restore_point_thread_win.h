// The restore point worker: one call of the restore library as the job of a
// DialogWorker, one posted result. The call cannot be interrupted, so the
// worker is left to finish alone, and a dialog that closes early never hears
// from it again.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "platform/platform.h"
#include "restore/restore_point.h"

namespace vh {

// What the worker and its dialog share: the result, and who is left to
// close a point that was made after the dialog stopped waiting. Whichever
// of the two sets `settled` second cancels such a point, when it is ours.
struct RestorePointShared {
  RestorePointBegun begun;
  std::atomic<bool> settled{false};
};

class TCreateSystemPointThread {
 public:
  // Starts the worker at once; it begins a restore point (BeginRestorePoint,
  // with oneADay and started), stores what came of it in shared and posts
  // doneMessage to dialogHandle with RestorePointResultCode in lParam.
  static void Start(HWND dialogHandle, UINT doneMessage, RestoreClient& restore, bool oneADay, std::uint64_t started,
                    std::shared_ptr<RestorePointShared> shared);
};

}  // namespace vh
