#include "app/single_instance_win.h"

#include "app/main_window_win.h"
#include "ui/window_messages_win.h"

namespace vh {

namespace {

// Copies lie beside hives every session shares, so one instance for the
// whole machine where the system has a global namespace.
const wchar_t kGlobalName[] = L"Global\\Varnhold Made by Tolvane Software";
const wchar_t kLocalName[] = L"Varnhold Made by Tolvane Software";

// How long a wake-up waits for the running window to have shown itself.
constexpr UINT kWakeReplyMs = 5000;

bool Usable(HWND window) { return window && IsWindowVisible(window) && IsWindowEnabled(window); }

bool OwnedBy(HWND window, HWND owner) {
  for (HWND o = GetWindow(window, GW_OWNER); o; o = GetWindow(o, GW_OWNER))
    if (o == owner) return true;
  return false;
}

struct OwnedSearch {
  HWND main;
  HWND found;
};

// Windows come in Z order: the first usable one is the topmost.
BOOL CALLBACK FindTopmostOwned(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<OwnedSearch*>(search);
  const bool tool = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;  // tooltips
  if (tool || !Usable(window) || !OwnedBy(window, s->main)) return TRUE;
  s->found = window;
  return FALSE;
}

}  // namespace

HWND LastUsedWindow(HWND main) {
  HWND last = GetLastActivePopup(main);
  if (last != main && Usable(last) && OwnedBy(last, main)) return last;
  if (IsWindowEnabled(main)) return main;
  // A modal window holds the main window disabled, but the window last
  // active (a box over it, say) is gone.
  OwnedSearch search{main, nullptr};
  EnumThreadWindows(GetWindowThreadProcessId(main, nullptr), FindTopmostOwned, reinterpret_cast<LPARAM>(&search));
  return search.found ? search.found : main;
}

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
      // This start holds the user's foreground right; the running instance
      // may use it, and the window it shows is brought forward from here
      // too, once it has restored itself.
      DWORD process = 0;
      GetWindowThreadProcessId(running, &process);
      AllowSetForegroundWindow(process);
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(running, WM_WAKEINSTANCE, 0, 0, SMTO_ABORTIFHUNG, kWakeReplyMs, &ignored);
      HWND target = LastUsedWindow(running);
      // A window the running instance keeps hidden stays hidden.
      if (IsWindowVisible(target)) SetForegroundWindow(target);
      return true;
    }
    if (GetTickCount() - start >= waitMs) return false;
    Sleep(50);
  }
}

}  // namespace vh
