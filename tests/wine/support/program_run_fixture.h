// The real program started as its own process, the way scripts, scheduled
// tasks and deployment tools start it, and watched from outside: what it
// shows on the screen, how it ends, and what it leaves behind. The test build
// of the program records hive swaps and the restart instead of doing them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32_platform_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/program_win.h"
#include "tests/wine/support/wine_env.h"

namespace vh::test {

inline constexpr char kProgram[] = "varnhold_recorded.exe";
inline constexpr int kRunTimeoutMs = 60000;
// A start of the program under a loaded Wine may take seconds.
inline constexpr int kStartDeadlineMs = 20000;

// The names in a folder, sorted, without "." and "..".
std::vector<std::string> FilesIn(const std::string& folder);

// The whole screen as 32-bit pixels: what a user would see.
std::vector<std::uint32_t> CaptureScreen();
std::size_t PixelsChanged(const std::vector<std::uint32_t>& before, const std::vector<std::uint32_t>& now);

// What a run of the program showed and ended with.
struct RunOutcome {
  bool ended = false;
  DWORD exitCode = STILL_ACTIVE;
  std::vector<std::string> visibleWindows;  // "class 'caption'", each once
  std::size_t mostPixelsChanged = 0;
  int screenshots = 0;
};

// Polls every few milliseconds until the program ends: notes every visible
// window it has, compares the screen with how it looked before the start
// when asked to, and gives each poll to onPoll.
RunOutcome WaitForEnd(const ProgramProcess& program, const std::function<void()>& onPoll = {},
                      const std::vector<std::uint32_t>* screenBefore = nullptr, int timeoutMs = kRunTimeoutMs);

// The program's main window while it is shown; null otherwise.
HWND VisibleMainWindow();

// The program copied into a scratch folder, so that its options.ini and
// varnhold.log land there and go with it; hives listed in the prefix's
// hivelist; swaps and the restart recorded in a file of the folder.
class ProgramRunTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  RunOutcome Run(const std::string& arguments, const std::function<void()>& onPoll = {},
                 int timeoutMs = kRunTimeoutMs);

  std::vector<std::string> Records() const { return Lines(ReadFileText(records_)); }
  std::string Log() const { return ReadFileText(home_.File("varnhold.log")); }

  // The sizes of the copies the program writes, measured on copies the
  // test writes itself from the same keys (the program deletes its own
  // when it closes).
  std::int64_t OwnCopySize(const TestHive& hive);

  ScratchFolder home_;
  std::string exe_ = home_.File(kProgram);
  std::string records_ = home_.File("records.txt");
  TestRegistry registry_;
  Win32Platform real_;
  Files& files_ = real_.platform().files;
  DWORD pid_ = 0;
};

// Each item on a line of its own.
std::string Joined(const std::vector<std::string>& items);

// The lines of a report's [Scan Result] section, its heading first; none
// when it has no such section.
std::vector<std::string> ReportSection(const std::string& text);

// How often part occurs in text, overlaps counted.
std::size_t Count(const std::string& text, const std::string& part);

// The names of the files created in a folder while it is watched. The
// program deletes its copies when it closes, and a run can be over before
// any poll sees them; the folder's change queue keeps every creation.
class CreatedFiles {
 public:
  explicit CreatedFiles(const std::string& folder);
  ~CreatedFiles();
  CreatedFiles(const CreatedFiles&) = delete;
  CreatedFiles& operator=(const CreatedFiles&) = delete;
  // Everything reported until no change comes for quietMs.
  std::vector<std::string> Names(int quietMs = 300);

 private:
  void Listen();

  HANDLE folder_;
  OVERLAPPED overlapped_{};
  alignas(DWORD) char buffer_[16384];
};

// hivelist values the test adds beside the fixture's, removed afterwards.
class ExtraHiveListValues {
 public:
  ExtraHiveListValues();
  ~ExtraHiveListValues();
  ExtraHiveListValues(const ExtraHiveListValues&) = delete;
  ExtraHiveListValues& operator=(const ExtraHiveListValues&) = delete;
  void Add(const std::wstring& name, const std::wstring& data);
  void Add(const std::string& name, const std::string& data) { Add(Widen(name), Widen(data)); }

 private:
  HKEY key_ = nullptr;
  std::vector<std::wstring> names_;
};

}  // namespace vh::test
