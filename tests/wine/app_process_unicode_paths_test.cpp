// The real program with paths outside the ANSI code page: hives, reports and
// the program's own folder under Chinese names.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/unattended.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "tests/wine/support/program_run_fixture.h"
#include "tests/wine/support/wait_win.h"

namespace vh {
namespace {

// The fixture and helpers the program-run tests share.
using namespace test;

// The scratch folder's clean-up walks names in the ANSI code page and
// cannot reach these; they go when the test ends, however it ends.
struct WideNamesRemovedAtEnd {
  std::vector<std::wstring> paths;  // files and folders, innermost last
  ~WideNamesRemovedAtEnd() {
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
      for (const wchar_t* suffix : {L"", L".hvz"}) DeleteFileW((*it + suffix).c_str());
      RemoveDirectoryW(it->c_str());
    }
  }
};

std::int64_t WideFileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (std::int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(ProgramRunTest, HivesAndReportsUnderNamesOutsideTheAnsiCodePageAreReached) {
  ASSERT_EQ(GetACP(), 1252u) << "the test needs characters the ANSI code page lacks";
  const test::TestHive alpha = registry_.AddHive("Alpha", 60000, 200000);
  // A user folder with a Chinese name, the hive file in it, and a key for
  // the program to copy.
  const std::wstring folder = Widen(registry_.folder().path()) + L"\\\x7528\x6237";
  const std::wstring hive = folder + L"\\NTUSER.DAT";
  const std::wstring reportFolder = folder + L"\\\x62a5\x544a";
  const std::wstring report = reportFolder + L"\\r.ini";
  WideNamesRemovedAtEnd removed{{folder, hive, reportFolder, report}};
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  HANDLE file = CreateFileW(hive.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  std::string bytes(300000, 'u');
  DWORD written = 0;
  WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
  const test::TestHive uni = registry_.AddHive("Uni", 30000, 10);  // the key; its stand-in file is listed no more
  ExtraHiveListValues extra;
  extra.Add(Widen(uni.name), Widen(test::DevicePath("C:\\")) + hive.substr(3));
  ASSERT_TRUE(CreateDirectoryW(reportFolder.c_str(), nullptr));
  const std::string plainReport = registry_.folder().File("r.ini");

  RunOutcome measured = Run("/Scan \"" + plainReport + "\"", {}, 30000);
  ProgramProcess program(Widen(exe_), L"/Scan \"" + report + L"\"", Widen(home_.path()));
  ASSERT_TRUE(program.started());
  RunOutcome reported = WaitForEnd(program, {}, nullptr, 30000);

  EXPECT_EQ(measured.exitCode, DWORD(kExitDone));
  std::vector<std::string> section = ReportSection(test::ReadFileText(plainReport));
  ASSERT_EQ(section.size(), 6u) << test::ReadFileText(plainReport);
  EXPECT_EQ(section[1], "Current Size=" + FormatSizeKB(QueryFileSize(files_, alpha.file) + WideFileSize(hive)))
      << "the hive under the Chinese folder name was left out";
  EXPECT_EQ(WideFileSize(hive + L".hvz"), 0) << "the copy was left behind";

  EXPECT_EQ(reported.exitCode, DWORD(kExitDone));
  std::string text;
  HANDLE r = CreateFileW(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(r, INVALID_HANDLE_VALUE) << "no report in the folder with the Chinese name";
  if (r != INVALID_HANDLE_VALUE) {
    char buffer[4096] = {};
    DWORD read = 0;
    ReadFile(r, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(r);
    text.assign(buffer, read);
  }
  EXPECT_EQ(ReportSection(text).size(), 6u) << text;
}

// A message that names a path outside the ANSI code page shows it as it is:
// the program runs from a folder with a Chinese name, and its settings file
// there, held by another program, cannot be written when the window closes.
TEST_F(ProgramRunTest, AMessageNamingAPathOutsideTheAnsiCodePageShowsItAsItIs) {
  ASSERT_EQ(GetACP(), 1252u) << "the test needs characters the ANSI code page lacks";
  const std::wstring folder = Widen(home_.path()) + L"\\\x7528\x6237";
  const std::wstring exe = folder + L"\\" + Widen(kProgram);
  const std::wstring options = folder + L"\\options.ini";
  WideNamesRemovedAtEnd removed{{folder, exe, options}};
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(Widen(exe_).c_str(), exe.c_str(), FALSE));
  ProgramProcess program(exe, L"", folder);
  ASSERT_TRUE(program.started());
  HWND main = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, kStartDeadlineMs));
  HANDLE held = CreateFileW(options.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND box = nullptr;
  auto filledIn = [&] {
    std::vector<HWND> boxes = MessageBoxesOf(program.id());
    box = boxes.empty() ? nullptr : boxes.front();
    return box && !test::MessageBoxTextW(box).empty();
  };
  EXPECT_TRUE(test::WaitUntil(filledIn, kStartDeadlineMs)) << "no box when the settings could not be written";
  if (box) {
    EXPECT_EQ(test::MessageBoxTextW(box), L"Unable to write to " + options);
    test::PressButton(box, IDOK);
  }
  EXPECT_TRUE(program.EndsWithin(20000));
  CloseHandle(held);
}

}  // namespace
}  // namespace vh
