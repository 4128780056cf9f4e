#include "scan/scan_thread_win.h"

#include "platform/error.h"

namespace vh {

class TScanTaskThread::Reporter final : public ScanReporter {
 public:
  explicit Reporter(TScanTaskThread& thread) : thread_(thread) {}
  void ShowHive(const std::string& hiveName) override { SetStatus(hiveName); }
  void HiveDone(std::uint32_t firstHiveMs, std::int32_t done) override {
    PostMessageA(thread_.dialog_, thread_.messages_.hiveDone, WPARAM(firstHiveMs), LPARAM(done));
  }
  void Finished() override { SetStatus(thread_.finishText_); }

 private:
  void SetStatus(const std::string& text) {
    {
      ScopedLock guard(thread_.statusLock_);
      thread_.status_ = text;
    }
    PostMessageA(thread_.dialog_, thread_.messages_.status, 0, 0);
  }
  TScanTaskThread& thread_;
};

namespace {

// The first hive's copy time. This toolchain's steady_clock follows the wall
// clock (gettimeofday), which jumps when the system time is set; the tick
// count does not, and its 32-bit wrap cancels out in the 32-bit difference
// the scan keeps.
class TickCountClock final : public ScanClock {
 public:
  std::uint64_t NowMs() override { return GetTickCount(); }
};

}  // namespace

TScanTaskThread::TScanTaskThread(HWND dialogHandle, ScanMessages messages, ScanJob job, Platform& platform,
                                 std::string finishText)
    : dialog_(dialogHandle),
      messages_(messages),
      job_(std::move(job)),
      platform_(platform),
      finishText_(std::move(finishText)) {}

TScanTaskThread::~TScanTaskThread() {
  Terminate();
  thread_.Join();
}

void TScanTaskThread::Start() {
  if (started_) return;
  started_ = true;
  if (!thread_.Start([this] { Run(); })) {
    // No thread, no report: the dialog would wait for ever for its close.
    End(ScanCompletion::Failed, std::make_exception_ptr(AppError("The scan could not be started.")));
  }
}

void TScanTaskThread::Run() {
  Reporter reporter(*this);
  TickCountClock clock;
  // Nothing may escape the thread: whatever ends the scan is kept for the
  // dialog, which must still close, or it would wait for ever.
  try {
    End(RunHiveScan(platform_, job_, stop_, reporter, clock), nullptr);
  } catch (...) {
    End(ScanCompletion::Failed, std::current_exception());
  }
}

void TScanTaskThread::End(ScanCompletion completion, std::exception_ptr error) {
  {
    ScopedLock guard(statusLock_);
    completion_ = completion;
    error_ = error;
  }
  PostMessageA(dialog_, messages_.close, 0, 0);
}

ScanCompletion TScanTaskThread::Completion() const {
  ScopedLock guard(statusLock_);
  return completion_;
}

std::exception_ptr TScanTaskThread::Error() const {
  ScopedLock guard(statusLock_);
  return error_;
}

bool TScanTaskThread::Running() const { return thread_.Running(); }

std::string TScanTaskThread::StatusText() const {
  ScopedLock guard(statusLock_);
  return status_;
}

void TScanTaskThread::WaitPumping() { thread_.JoinPumping(); }

}  // namespace vh
