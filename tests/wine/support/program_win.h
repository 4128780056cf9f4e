// Helpers for the tests that start the real program as a process of its own
// and look at it from outside: where the built program is, and what its
// windows are called.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vh::test {

// The class of the program's main window.
inline constexpr char kMainClass[] = "Varnhold Made by Tolvane Software";

// The test build of the program (hive swaps and the restart recorded, never
// done) in the build folder, as a Windows path.
std::string BuiltProgram(const char* name = "varnhold_recorded.exe");
// A file of the source tree, by its path there ("README.md").
std::string SourceFile(const char* name);

// The non-empty lines of a text, without their carriage returns.
std::vector<std::string> Lines(const std::string& text);

// An ANSI text in UTF-16.
std::wstring Widen(const std::string& ansi);

// One start of a program from a folder of its own. A process still running
// when the object goes is killed, so that none is ever left behind.
class ProgramProcess {
 public:
  ProgramProcess(const std::string& exe, const std::string& arguments, const std::string& folder);
  // The same with paths and a command line of any characters, for names
  // outside the ANSI code page.
  ProgramProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder);
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }
  bool Ended() const { return EndsWithin(0); }
  bool EndsWithin(DWORD ms) const;
  // Started up: its thread waits for input with none queued.
  bool Idle() const;
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

std::string ClassOf(HWND window);
std::string CaptionOf(HWND window);

struct SeenWindow {
  HWND handle;
  std::string className;
  std::string caption;
};

// The visible top-level windows of a process, in Z order.
std::vector<SeenWindow> VisibleWindowsOf(DWORD processId);
bool IsProgramMessageBox(const SeenWindow& window);
// The program's own message boxes among them.
std::vector<HWND> MessageBoxesOf(DWORD processId);
// A message box's text, empty until the box has filled it in.
std::string MessageBoxText(HWND box);
// The same in UTF-16, whatever its characters.
std::wstring MessageBoxTextW(HWND box);
// Whether the box shows that button (unused ones are there, hidden).
bool HasButton(HWND box, int id);
// Presses a button of a box, as a click does, from any process.
void PressButton(HWND box, int id);

// Wine's per-program Windows version (AppDefaults\<exe>\Version) for as
// long as the object lives.
class WineVersionFor {
 public:
  WineVersionFor(const char* exe, const char* version);
  ~WineVersionFor();
  WineVersionFor(const WineVersionFor&) = delete;
  WineVersionFor& operator=(const WineVersionFor&) = delete;

 private:
  std::string path_;
};

}  // namespace vh::test
