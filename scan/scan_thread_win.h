// The scan worker thread: the scan as the job of a DialogWorker. It reports
// to the progress dialog only by posted messages; the status text travels
// through state shared with the dialog, so the worker never touches a
// window of the user-interface thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <string>

#include "scan/scan_worker.h"
#include "platform/platform.h"
#include "platform/thread_win.h"
#include "ui/dialog_worker_win.h"

namespace vh {

// The messages the worker posts to its dialog, chosen by the dialog:
// hiveDone carries the first hive's time and the count done (wParam,
// lParam); status says StatusText changed; close ends the dialog; copiesDone
// says the work after the copies begins.
struct ScanMessages {
  UINT hiveDone;
  UINT status;
  UINT close;
  UINT copiesDone;
};

class TScanTaskThread {
 public:
  // finishText is the message "Finish" the status ends with.
  TScanTaskThread(HWND dialogHandle, ScanMessages messages, ScanJob job, Platform& platform, std::string finishText);
  TScanTaskThread(const TScanTaskThread&) = delete;
  TScanTaskThread& operator=(const TScanTaskThread&) = delete;

  void Start();
  // Asks the worker to stop before its next hive; the hive in progress is
  // finished first.
  void Terminate() { worker_.Stop(); }
  bool Running() const { return worker_.Running(); }
  // The latest status: the hive being copied, or "Finish".
  std::string StatusText() const;
  // Waits for the worker to end while still dispatching this thread's
  // messages, so the windows stay responsive.
  void WaitPumping() { worker_.WaitPumping(); }
  // How the scan ended; Stopped until it has. After Failed, Error holds
  // what ended it, to be reported on the user-interface thread.
  ScanCompletion Completion() const;
  std::exception_ptr Error() const { return worker_.Error(); }

 private:
  class Reporter;
  ScanCompletion Run(const std::atomic<bool>& stop);

  HWND dialog_;
  ScanMessages messages_;
  ScanJob job_;
  Platform& platform_;
  std::string finishText_;
  // Written by the worker, read by the dialog.
  mutable CriticalSection statusLock_;
  std::string status_;
  DialogWorker worker_;  // last: asked to stop and joined before the members its job uses go
};

}  // namespace vh
