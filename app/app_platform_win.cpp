// Kept alone in its file: the test build of the program replaces this one
// definition at link time.
#include "app/app_platform_win.h"

#include "platform/win32_platform_win.h"

namespace vh {

Platform& AppPlatform() {
  static Win32Platform real;
  return real.platform();
}

}  // namespace vh
