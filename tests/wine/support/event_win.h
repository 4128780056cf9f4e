// A manual-reset event, for tests that hand a step from one thread to
// another.
#pragma once

#include <windows.h>

namespace vh {

// Initially not set.
class Event {
 public:
  Event() : handle_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Event() {
    if (handle_) CloseHandle(handle_);
  }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  void Set() { SetEvent(handle_); }
  bool IsSet() const { return Wait(0); }
  // True when the event was set within ms milliseconds (INFINITE waits).
  bool Wait(DWORD ms) const { return WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }
  HANDLE Handle() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace vh
