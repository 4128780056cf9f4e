// The real platform, for the shipped program and the tools. The program's
// test build links tests/wine/recorded_app's definition instead; CMake names
// which one each executable gets.
#include "app/app_platform_win.h"

#include "platform/win32_platform_win.h"

namespace vh {

Platform& AppPlatform() {
  static Win32Platform real;
  return real.platform();
}

}  // namespace vh
