#include "platform/thread_win.h"

#include <process.h>

#include <memory>

namespace vh {

namespace {

unsigned __stdcall RunBody(void* raw) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(raw));
  try {
    (*body)();
  } catch (...) {
    // Letting it escape would end the whole process; the body is expected
    // to report its own failures.
  }
  return 0;
}

}  // namespace

WorkerThread::~WorkerThread() { Join(); }

bool WorkerThread::Start(std::function<void()> body) {
  if (handle_ || !body) return false;
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  // _beginthreadex rather than CreateThread: the thread uses the C runtime.
  uintptr_t h = _beginthreadex(nullptr, 0, &RunBody, owned.get(), 0, nullptr);
  if (h == 0) return false;
  owned.release();  // the thread owns it now
  handle_ = reinterpret_cast<HANDLE>(h);
  return true;
}

bool WorkerThread::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

void WorkerThread::Join() {
  if (!handle_) return;
  WaitForSingleObject(handle_, INFINITE);
  CloseHandle(handle_);
  handle_ = nullptr;
}

bool WorkerThread::JoinPumping() {
  if (!handle_) return true;
  if (!WaitPumpingMessages(handle_)) return false;
  CloseHandle(handle_);
  handle_ = nullptr;
  return true;
}

void WorkerThread::Detach() {
  if (!handle_) return;
  CloseHandle(handle_);
  handle_ = nullptr;
}

bool WaitPumpingMessages(HANDLE handle) {
  while (true) {
    DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) {
      // A failed wait must not spin: fall back to waiting without messages.
      WaitForSingleObject(handle, INFINITE);
      return true;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));
        return false;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace vh
