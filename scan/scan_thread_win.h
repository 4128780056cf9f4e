// The scan worker thread. It reports to the progress dialog only by posted
// messages; the status text travels through state shared with the dialog,
// so the worker never touches a window of the user-interface thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <string>

#include "scan/scan_worker.h"
#include "platform/platform.h"
#include "platform/thread_win.h"

namespace vh {

// The messages the worker posts to its dialog, chosen by the dialog:
// hiveDone carries the first hive's time and the count done (wParam,
// lParam); status says StatusText changed; close ends the dialog.
struct ScanMessages {
  UINT hiveDone;
  UINT status;
  UINT close;
};

class TScanTaskThread {
 public:
  // finishText is the message "Finish" the status ends with.
  TScanTaskThread(HWND dialogHandle, ScanMessages messages, ScanJob job, Platform& platform, std::string finishText);
  ~TScanTaskThread();  // requests termination and joins
  TScanTaskThread(const TScanTaskThread&) = delete;
  TScanTaskThread& operator=(const TScanTaskThread&) = delete;

  void Start();
  // Asks the worker to stop before its next hive; the hive in progress is
  // finished first.
  void Terminate() { stop_ = true; }
  bool Running() const;
  // The latest status: the hive being copied, or "Finish".
  std::string StatusText() const;
  // Waits for the worker to end while still dispatching this thread's
  // messages, so the windows stay responsive.
  void WaitPumping();
  // How the scan ended; Stopped until it has. After Failed, Error holds
  // what ended it, to be reported on the user-interface thread.
  ScanCompletion Completion() const;
  std::exception_ptr Error() const;

 private:
  class Reporter;
  void Run();

  void End(ScanCompletion completion, std::exception_ptr error);

  HWND dialog_;
  ScanMessages messages_;
  ScanJob job_;
  Platform& platform_;
  std::string finishText_;
  // Written by the worker, read by the dialog; the object outlives the
  // thread, which it joins.
  mutable CriticalSection statusLock_;
  std::string status_;
  ScanCompletion completion_ = ScanCompletion::Stopped;
  std::exception_ptr error_;
  std::atomic<bool> stop_{false};
  bool started_ = false;  // once per object, even after a join
  WorkerThread thread_;  // last: joined before the members it uses go
};

}  // namespace vh
