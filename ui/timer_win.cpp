#include "ui/timer_win.h"

#include <windows.h>

#include <map>

namespace vh {
namespace {

// The timer behind each id of the shared window.
std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}

HWND TimerWindow() {
  static HWND window = CreateWindowExA(0, "STATIC", "VhTimers", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
  return window;
}

UINT_PTR NextId() {
  static UINT_PTR next = 1;
  return next++;
}

}  // namespace

TTimer::TTimer(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) { Restart(); }

TTimer::~TTimer() {
  enabled_ = false;
  Restart();
}


void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Restart();
}

void TTimer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  Restart();
}

// Like the toolkit's timer: it runs while enabled with a handler and a
// non-zero interval.
void TTimer::Restart() {
  if (id_) {
    KillTimer(TimerWindow(), id_);
    Timers().erase(id_);
    id_ = 0;
  }
  if (!enabled_ || interval_ == 0) return;
  UINT_PTR id = NextId();
  if (SetTimer(TimerWindow(), id, interval_, TimerProc)) {
    id_ = id;
    Timers()[id] = this;
  }
}

void TTimer::Tick() {
  if (OnTimer) OnTimer(*this);
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Timers().find(id);
  if (it == Timers().end()) return;
  try {
    it->second->Tick();
  } catch (...) {
    ReportException();
  }
}

}  // namespace vh
