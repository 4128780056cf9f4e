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
// waitMs for it to appear (the other start may still be creating it).
// False when no window appeared.
bool WakeRunningInstance(DWORD waitMs);

}  // namespace vh
