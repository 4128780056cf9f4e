// One instance at a time, by a named mutex taken before anything else is
// done: two starts at the same moment cannot both get it, and a run that
// does not hold it never makes, measures or deletes a copy.
#pragma once

#include <windows.h>

namespace vh {

class InstanceLock {
 public:
  InstanceLock();
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this process is the one instance.
  bool Held() const { return held_; }

 private:
  HANDLE mutex_ = nullptr;
  bool held_ = false;
};

// Asks the running instance's main window to show itself, waiting up to
// waitMs for it to appear (the other start may still be creating it), and
// brings the window the user last worked in to the front. False when no
// window appeared.
bool WakeRunningInstance(DWORD waitMs);

// The window the user last worked in among the main window and the windows
// it owns: the dialog or message box that was last active, or the one a
// modal loop left enabled, else the main window itself. Bringing the
// disabled main window forward would leave the keyboard with nowhere to go.
HWND LastUsedWindow(HWND main);

}  // namespace vh
