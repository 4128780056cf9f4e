#include "app/single_instance_win.h"

#include "app/main_window_win.h"
#include "app/messages_win.h"

namespace vh {

namespace {

// Copies lie beside hives every session shares, so one instance for the
// whole machine where the system has a global namespace.
const wchar_t kGlobalName[] = L"Global\\Varnhold Made by Tolvane Software";
const wchar_t kLocalName[] = L"Varnhold Made by Tolvane Software";

}  // namespace

InstanceLock::InstanceLock() {
  mutex_ = CreateMutexW(nullptr, FALSE, kGlobalName);
  if (!mutex_) {
    // Held by another user's instance that this one may not open.
    if (GetLastError() == ERROR_ACCESS_DENIED) return;
    mutex_ = CreateMutexW(nullptr, FALSE, kLocalName);
    if (!mutex_) return;
  }
  // Abandoned: the holder ended without letting go; this run takes over.
  DWORD taken = WaitForSingleObject(mutex_, 0);
  held_ = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
}

InstanceLock::~InstanceLock() {
  if (!mutex_) return;
  if (held_) ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}

bool WakeRunningInstance(DWORD waitMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND running = FindWindowA(kMainWindowClass, nullptr)) {
      PostMessageA(running, WM_WAKEINSTANCE, 0, 0);
      SetForegroundWindow(running);
      return true;
    }
    if (GetTickCount() - start >= waitMs) return false;
    Sleep(50);
  }
}

}  // namespace vh
