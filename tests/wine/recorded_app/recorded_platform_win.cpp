// The program's platform in its test build: real, except that hive swaps and
// the restart are recorded (in the file VARNHOLD_RECORD names) and never
// reach Wine.
#include <windows.h>

#include "app/app_platform_win.h"
#include "platform/recording_platform.h"
#include "platform/win32_platform_win.h"

namespace vh {

namespace {

std::string RecordFile() {
  char buffer[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("VARNHOLD_RECORD", buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

}  // namespace

Platform& AppPlatform() {
  static Win32Platform real;
  static RecordingPlatform recording(real.platform(), RecordFile());
  return recording.platform();
}

}  // namespace vh
