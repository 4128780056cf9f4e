// Timers as components: Interval in milliseconds, Enabled, OnTimer. All
// timers of the thread share one hidden message window.
#pragma once

#include "ui/component_win.h"

namespace vh {

class TTimer : public TComponent {
 public:
  TTimer(TComponent* owner, std::string name);
  ~TTimer() override;
  const char* ClassName() const override { return "TTimer"; }

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  TNotifyEvent OnTimer;

 private:
  void Restart();
  void Tick();
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

  unsigned interval_ = 1000;
  bool enabled_ = true;
  UINT_PTR id_ = 0;
};

}  // namespace vh
