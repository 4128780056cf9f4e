// The program's platform in its test build: real, except that hive swaps and
// the restart are recorded (in the file VARNHOLD_RECORD names) and never
// reach Wine.
#include <windows.h>

#include "app/app_platform_win.h"
#include "tests/support/recording_platform.h"
#include "platform/win32_platform_win.h"

namespace vh {

namespace {

std::string Environment(const char* name) {
  char buffer[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA(name, buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

BOOL CALLBACK TellEndSession(HWND window, LPARAM ending) {
  PostMessageA(window, WM_ENDSESSION, WPARAM(ending), 0);
  return TRUE;
}

// What Windows does with a restart request, as VARNHOLD_RESTART says:
// "refuse" (the call fails), "abort" (taken, then cancelled: the windows
// hear that the session goes on), "hold" (taken, and the session ends when
// the test says so), or by default taken and carried out (the windows hear
// that the session ends).
bool AnswerRestart(const std::string&) {
  std::string mode = Environment("VARNHOLD_RESTART");
  if (mode == "refuse") return false;
  if (mode == "hold") return true;
  EnumThreadWindows(GetCurrentThreadId(), TellEndSession, mode == "abort" ? FALSE : TRUE);
  return true;
}

}  // namespace

Platform& AppPlatform() {
  static Win32Platform real;
  static RecordingPlatform recording(real.platform(), Environment("VARNHOLD_RECORD"));
  recording.restartAnswer = AnswerRestart;
  return recording.platform();
}

}  // namespace vh
