#include "tests/wine/support/program_win.h"

#include <algorithm>
#include <sstream>

namespace vh::test {

std::string BuiltProgram(const char* name) {
  char dir[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("VH_BINARY_DIR", dir, MAX_PATH);
  std::string path = "Z:" + std::string(dir, n < MAX_PATH ? n : 0) + "/" + name;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string CaptionOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace vh::test
