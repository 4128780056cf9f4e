#include "hive/scan_thread_win.h"

#include <process.h>

#include "app/messages_win.h"

namespace vh {

class TScanTaskThread::Reporter final : public ScanReporter {
 public:
  Reporter(HWND dialog, Shared& shared, const std::string& finishText)
      : dialog_(dialog), shared_(shared), finishText_(finishText) {}
  void ShowHive(const std::string& hiveName) override { SetStatus(hiveName); }
  void HiveDone(std::uint32_t firstHiveMs, std::int32_t done) override {
    PostMessageA(dialog_, WM_HIVEDONE, WPARAM(firstHiveMs), LPARAM(done));
  }
  void Finished() override { SetStatus(finishText_); }
  void Close() override { PostMessageA(dialog_, WM_CLOSE, 0, 0); }

 private:
  void SetStatus(const std::string& text) {
    {
      std::lock_guard<std::mutex> guard(shared_.lock);
      shared_.status = text;
    }
    PostMessageA(dialog_, WM_SCANSTATUS, 0, 0);
  }
  HWND dialog_;
  Shared& shared_;
  const std::string& finishText_;
};

TScanTaskThread::TScanTaskThread(HWND dialogHandle, ScanJob job, Platform& platform, std::string finishText)
    : dialog_(dialogHandle),
      job_(std::move(job)),
      platform_(platform),
      finishText_(std::move(finishText)),
      shared_(std::make_shared<Shared>()) {}

TScanTaskThread::~TScanTaskThread() {
  if (!thread_) return;
  Terminate();
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

void TScanTaskThread::Start() {
  if (thread_) return;
  thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &TScanTaskThread::Run, this, 0, nullptr));
}

unsigned __stdcall TScanTaskThread::Run(void* self) {
  auto* t = static_cast<TScanTaskThread*>(self);
  Reporter reporter(t->dialog_, *t->shared_, t->finishText_);
  try {
    RunHiveScan(t->platform_, t->job_, t->shared_->stop, reporter);
  } catch (...) {
    // The dialog must still close: without the closing message it would
    // wait for ever.
    PostMessageA(t->dialog_, WM_CLOSE, 0, 0);
  }
  return 0;
}

bool TScanTaskThread::Running() const {
  return thread_ && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT;
}

std::string TScanTaskThread::StatusText() const {
  std::lock_guard<std::mutex> guard(shared_->lock);
  return shared_->status;
}

void TScanTaskThread::WaitPumping() {
  while (Running()) {
    DWORD r = MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT);
    if (r != WAIT_OBJECT_0 + 1) continue;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace vh
