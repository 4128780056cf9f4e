#include "hive/scan_thread_win.h"

#include "app/messages_win.h"

namespace vh {

class TScanTaskThread::Reporter final : public ScanReporter {
 public:
  explicit Reporter(TScanTaskThread& thread) : thread_(thread) {}
  void ShowHive(const std::string& hiveName) override { SetStatus(hiveName); }
  void HiveDone(std::uint32_t firstHiveMs, std::int32_t done) override {
    PostMessageA(thread_.dialog_, WM_HIVEDONE, WPARAM(firstHiveMs), LPARAM(done));
  }
  void Finished() override { SetStatus(thread_.finishText_); }
  void Close() override { PostMessageA(thread_.dialog_, WM_CLOSE, 0, 0); }

 private:
  void SetStatus(const std::string& text) {
    {
      ScopedLock guard(thread_.statusLock_);
      thread_.status_ = text;
    }
    PostMessageA(thread_.dialog_, WM_SCANSTATUS, 0, 0);
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

TScanTaskThread::TScanTaskThread(HWND dialogHandle, ScanJob job, Platform& platform, std::string finishText)
    : dialog_(dialogHandle),
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
    PostMessageA(dialog_, WM_CLOSE, 0, 0);
  }
}

void TScanTaskThread::Run() {
  Reporter reporter(*this);
  TickCountClock clock;
  try {
    RunHiveScan(platform_, job_, stop_, reporter, clock);
  } catch (...) {
    // The dialog must still close: without the closing message it would
    // wait for ever.
    PostMessageA(dialog_, WM_CLOSE, 0, 0);
  }
}

bool TScanTaskThread::Running() const { return thread_.Running(); }

std::string TScanTaskThread::StatusText() const {
  ScopedLock guard(statusLock_);
  return status_;
}

void TScanTaskThread::WaitPumping() { thread_.JoinPumping(); }

}  // namespace vh
