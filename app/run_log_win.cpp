#include "app/run_log_win.h"

#include <windows.h>

#include "app/locale_win.h"
#include "platform/win32_platform_win.h"

namespace vh {

void AppendToRunLog(Files& files, const std::string& text) {
  // The file API, not the C++ streams, which would bring their whole locale
  // machinery into the executable for this one line.
  std::string path = files.ExecutableFolder() + "varnhold.log";
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string line = UserNowText() + "  " + text + "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace vh
