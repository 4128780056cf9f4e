#include "hive/scan_thread_win.h"

#include <process.h>

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
      std::lock_guard<std::mutex> guard(thread_.statusLock_);
      thread_.status_ = text;
    }
    PostMessageA(thread_.dialog_, WM_SCANSTATUS, 0, 0);
  }
  TScanTaskThread& thread_;
};

TScanTaskThread::TScanTaskThread(HWND dialogHandle, ScanJob job, Platform& platform, std::string finishText)
    : dialog_(dialogHandle),
      job_(std::move(job)),
      platform_(platform),
      finishText_(std::move(finishText)) {}

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
  Reporter reporter(*t);
  try {
    RunHiveScan(t->platform_, t->job_, t->stop_, reporter);
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
  std::lock_guard<std::mutex> guard(statusLock_);
  return status_;
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
