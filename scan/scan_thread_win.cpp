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
  void CopiesDone() override { PostMessageA(thread_.dialog_, thread_.messages_.copiesDone, 0, 0); }
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
      finishText_(std::move(finishText)),
      worker_(dialogHandle, messages.close, LPARAM(ScanCompletion::Failed)) {}

void TScanTaskThread::Start() {
  // No thread, no report: the dialog hears of a failed scan at once.
  worker_.Start([this](const std::atomic<bool>& stop) { return LPARAM(Run(stop)); },
                std::make_exception_ptr(AppError("The scan could not be started.")));
}

ScanCompletion TScanTaskThread::Run(const std::atomic<bool>& stop) {
  Reporter reporter(*this);
  TickCountClock clock;
  return RunHiveScan(platform_, job_, stop, reporter, clock);
}

ScanCompletion TScanTaskThread::Completion() const {
  std::optional<LPARAM> answer = worker_.Answer();
  return answer ? ScanCompletion(*answer) : ScanCompletion::Stopped;
}

std::string TScanTaskThread::StatusText() const {
  ScopedLock guard(statusLock_);
  return status_;
}

}  // namespace vh
