#include "tests/wine/support/program_win.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "tests/wine/support/wait_win.h"

namespace vh::test {

namespace {

// name in the Unix folder that the environment variable names, as Wine
// reaches it.
std::string InFolderOf(const char* variable, const char* name) {
  char dir[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA(variable, dir, MAX_PATH);
  std::string path = "Z:" + std::string(dir, n < MAX_PATH ? n : 0) + "/" + name;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace

std::string BuiltProgram(const char* name) { return InFolderOf("VH_BINARY_DIR", name); }

std::string SourceFile(const char* name) { return InFolderOf("VH_SOURCE_DIR", name); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::wstring Widen(const std::string& ansi) {
  std::wstring wide(ansi.size() + 1, L'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), int(ansi.size()), &wide[0], int(wide.size()));
  wide.resize(std::size_t(n > 0 ? n : 0));
  return wide;
}

ProgramProcess::ProgramProcess(const std::string& exe, const std::string& arguments, const std::string& folder) {
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  started_ = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &info_) != 0;
}

ProgramProcess::ProgramProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  started_ = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &info_) != 0;
}

ProgramProcess::~ProgramProcess() {
  if (!started_) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool ProgramProcess::EndsWithin(DWORD ms) const {
  return started_ && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
}

bool ProgramProcess::Idle() const {
  return started_ && WaitForInputIdle(info_.hProcess, kWaitDeadlineMs) == 0;
}

DWORD ProgramProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (started_) GetExitCodeProcess(info_.hProcess, &code);
  return code;
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

namespace {

struct WindowSearch {
  DWORD processId;
  std::vector<SeenWindow> found;
};

BOOL CALLBACK NoteIfVisible(HWND w, LPARAM search) {
  auto* s = reinterpret_cast<WindowSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == s->processId && IsWindowVisible(w)) s->found.push_back({w, ClassOf(w), CaptionOf(w)});
  return TRUE;
}

}  // namespace

std::vector<SeenWindow> VisibleWindowsOf(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(NoteIfVisible, LPARAM(&search));
  return search.found;
}

bool IsProgramMessageBox(const SeenWindow& window) {
  return window.className == "#32770" && window.caption == "Varnhold";
}

std::vector<HWND> MessageBoxesOf(DWORD processId) {
  std::vector<HWND> boxes;
  for (const SeenWindow& w : VisibleWindowsOf(processId))
    if (IsProgramMessageBox(w)) boxes.push_back(w.handle);
  return boxes;
}

// The static text of a message box has this id.
constexpr int kMessageTextId = 0xFFFF;

std::string MessageBoxText(HWND box) {
  char text[1024] = {};
  GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
  return text;
}

std::wstring MessageBoxTextW(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, kMessageTextId, text, int(sizeof text / sizeof text[0]));
  return text;
}

bool HasButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  return button && IsWindowVisible(button);
}

void PressButton(HWND box, int id) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(box, id)));
}

WineVersionFor::WineVersionFor(const char* exe, const char* version)
    : path_(std::string("Software\\Wine\\AppDefaults\\") + exe) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), DWORD(std::strlen(version) + 1));
  RegCloseKey(key);
}

WineVersionFor::~WineVersionFor() { SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str()); }

}  // namespace vh::test
