// The program as its own process under each Windows version Wine can
// pretend to be (its per-program setting AppDefaults\varnhold.exe\Version):
// the restore point is offered from XP on (Windows 8 and later report 6.2
// to a program without a compatibility declaration), not on 2000, and 98
// is refused with the unsupported-system message. The prefix is 64-bit, so
// every run is also a WOW64 run: a hive file in the 64-bit system folder is
// named "System32", as Windows names it, and reached through Sysnative,
// never through the 32-bit view of the folder.
// The test build of the program records swaps, restore points and the
// restart instead of doing them.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/wine_env.h"
#include "tests/wine/support/program_win.h"

namespace vh {
namespace {

using test::BuiltProgram;
using test::Lines;
using test::kMainClass;
using test::MessageBoxesOf;
const char kUnsupported[] = "The software does not support the current Windows system!";
constexpr int kRunTimeoutMs = 90000;
// Client points inside "Analyze Registry" and "Defrag Registry".
constexpr POINT kAnalyzeAt{50, 105};
constexpr POINT kDefragAt{50, 134};

bool Contains(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

void Click(HWND w, POINT at) {
  LPARAM where = MAKELPARAM(at.x, at.y);
  PostMessageA(w, WM_MOUSEMOVE, 0, where);
  PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageA(w, WM_LBUTTONUP, 0, where);
}

// Answers a message box: No where it asks (so nothing is replaced after a
// failed restore point), OK otherwise.
void Answer(HWND box) { test::PressButton(box, test::HasButton(box, IDNO) ? IDNO : IDOK); }

struct VersionRun {
  bool ended = false;
  std::vector<std::string> messages;  // texts of the program's message boxes, in order
  std::vector<std::string> records;   // swaps, restore points and the restart
};

class VersionMatrixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindWindowA(kMainClass, nullptr), nullptr) << "a Varnhold main window is already open";
    // Named varnhold.exe, so that Wine's per-program version applies to it.
    ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE)) << "cannot copy " << BuiltProgram();
    test::WriteFileText(home_.File("options.ini"), "[Options]\r\nRestorePoint=1\r\nIsAskBeforeDefrag=0\r\n");
    registry_.AddHive("Alpha", 20000, 60000);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    wow64_ = wow64 != FALSE;
    if (wow64_) AddSystemFolderHive();
  }
  void TearDown() override {
    if (nativeFolder_.empty()) return;
    DeleteFileA((nativeFolder_ + "\\Gamma").c_str());
    DeleteFileA((nativeFolder_ + "\\Gamma.hvz").c_str());
    DeleteFileA((nativeFolder_ + "\\Gamma.bak").c_str());
    RemoveDirectoryA(nativeFolder_.c_str());
  }

  // A hive whose file lies in the 64-bit system folder, where a 32-bit
  // program's "System32" would silently lead to SysWOW64.
  void AddSystemFolderHive() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    nativeFolder_ = std::string(windows) + "\\Sysnative\\vh-wow64-test";
    wow64Folder_ = std::string(windows) + "\\SysWOW64\\vh-wow64-test";
    CreateDirectoryA(nativeFolder_.c_str(), nullptr);
    test::WriteFileBytes(nativeFolder_ + "\\Gamma", 50000);
    const test::TestHive& gamma = registry_.AddHive("Gamma", 20000, 10);
    std::string listed = test::DevicePath(windows) + "\\System32\\vh-wow64-test\\Gamma";
    HKEY hivelist = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\hivelist", 0, KEY_SET_VALUE,
                            &hivelist),
              ERROR_SUCCESS);
    RegSetValueExA(hivelist, gamma.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(listed.c_str()),
                   DWORD(listed.size() + 1));
    RegCloseKey(hivelist);
  }

  // Analyses and defragments through the buttons, answers the message
  // boxes and closes the window; gives up after a stage outlasts its time.
  void Drive(const test::ProgramProcess& program, VersionRun& run) {
    enum class Stage { Starting, Analyzing, Defragmenting, Closing } stage = Stage::Starting;
    bool sawDisabled = false;
    DWORD stageSince = GetTickCount(), lastAction = 0;
    std::vector<HWND> answered;
    while (!program.EndsWithin(20)) {
      DWORD now = GetTickCount();
      if (int(now - stageSince) > kRunTimeoutMs) break;
      bool boxOpen = false;
      for (HWND box : MessageBoxesOf(program.id())) {
        boxOpen = true;
        if (std::find(answered.begin(), answered.end(), box) != answered.end()) continue;
        run.messages.push_back(test::MessageBoxText(box));
        answered.push_back(box);
        Answer(box);
      }
      HWND main = FindWindowA(kMainClass, nullptr);
      if (!main || !IsWindowVisible(main) || boxOpen) continue;
      bool enabled = IsWindowEnabled(main) != FALSE;
      std::vector<std::string> records = Lines(test::ReadFileText(records_));
      switch (stage) {
        case Stage::Starting:
          if (!run.messages.empty()) {
            stage = Stage::Closing;  // refused at start: nothing to analyse
          } else if (enabled) {
            Click(main, kAnalyzeAt);
            stage = Stage::Analyzing;
            stageSince = now;
          }
          break;
        case Stage::Analyzing:
          // The analysis disables the main window behind its dialog; a
          // very fast one may be over before a poll sees that.
          if (!enabled) sawDisabled = true;
          if (enabled && (sawDisabled || now - stageSince > 5000)) {
            Click(main, kDefragAt);
            stage = Stage::Defragmenting;
            lastAction = now;
          }
          break;
        case Stage::Defragmenting:
          if (Contains(records, "SRSetRestorePointA") || Contains(records, "ExitWindowsEx")) {
            stage = Stage::Closing;
          } else if (enabled && now - lastAction > 3000) {
            Click(main, kDefragAt);  // the analysis had not yet enabled it
            lastAction = now;
          }
          break;
        case Stage::Closing:
          if (enabled && now - lastAction > 1000) {
            PostMessageA(main, WM_CLOSE, 0, 0);
            lastAction = now;
          }
          break;
      }
    }
  }

  // Starts the program under the given Windows version, analyses and
  // defragments through its buttons, answers its message boxes, closes it.
  VersionRun RunAs(const char* version) {
    test::WineVersionFor as("varnhold.exe", version);
    DeleteFileA(records_.c_str());
    SetEnvironmentVariableA("VARNHOLD_RECORD", records_.c_str());

    VersionRun run;
    {
      test::ProgramProcess program(exe_, "", home_.path());
      SetEnvironmentVariableA("VARNHOLD_RECORD", nullptr);
      EXPECT_TRUE(program.started()) << "CreateProcessA failed: " << GetLastError();
      if (!program.started()) return run;
      Drive(program, run);
      run.ended = program.Ended();
    }  // never left behind for the next test
    run.records = Lines(test::ReadFileText(records_));
    return run;
  }

  std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
  }

  test::ScratchFolder home_;
  std::string exe_ = home_.File("varnhold.exe");
  std::string records_ = home_.File("records.txt");
  test::TestRegistry registry_;
  std::string nativeFolder_, wow64Folder_;
  bool wow64_ = false;  // a 64-bit prefix (scripts/wine-env.sh makes one)
};

TEST_F(VersionMatrixTest, XpVistaSevenAndTenOfferTheRestorePointBeforeAnySwap) {
  for (const char* version : {"winxp", "vista", "win7", "win10"}) {
    SCOPED_TRACE(version);
    VersionRun run = RunAs(version);
    EXPECT_TRUE(run.ended);
    EXPECT_FALSE(Contains(run.messages, kUnsupported)) << Joined(run.messages);
    ASSERT_TRUE(Contains(run.records, "SRSetRestorePointA")) << Joined(run.records) << Joined(run.messages);
    // The restore point comes first; after a refused one the answer No
    // stops everything.
    EXPECT_EQ(run.records.front().rfind("SRSetRestorePointA", 0), 0u) << Joined(run.records);
    if (Contains(run.records, "refused") || Contains(run.records, "unavailable")) {
      EXPECT_FALSE(Contains(run.records, "RegReplaceKeyA")) << Joined(run.records);
    }
  }
}

TEST_F(VersionMatrixTest, TwoThousandRunsWithoutTheOfferAndReachesTheSixtyFourBitSystemFolder) {
  VersionRun run = RunAs("win2k");
  EXPECT_TRUE(run.ended);
  EXPECT_FALSE(Contains(run.messages, kUnsupported)) << Joined(run.messages);
  EXPECT_FALSE(Contains(run.records, "SRSetRestorePointA")) << Joined(run.records);
  EXPECT_TRUE(Contains(run.records, "ExitWindowsEx")) << Joined(run.records);
  // WOW64: the hive in the 64-bit system folder is swapped under the name
  // Windows gives it; its copy and backup lie there, reached through
  // Sysnative, and nothing lands in the 32-bit view of the folder.
  if (!wow64_) GTEST_SKIP() << "a 32-bit prefix has no WOW64";
  bool gammaSwapped = false;
  for (const std::string& r : run.records)
    if (r.find(registry_.hives().back().sid) != std::string::npos &&
        Lower(r).find("\\system32\\vh-wow64-test\\gamma.hvz") != std::string::npos)
      gammaSwapped = true;
  EXPECT_TRUE(gammaSwapped) << Joined(run.records);
  EXPECT_EQ(Lower(Joined(run.records)).find("sysnative"), std::string::npos) << Joined(run.records);
  EXPECT_NE(GetFileAttributesA((nativeFolder_ + "\\Gamma.bak").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((wow64Folder_ + "\\Gamma.hvz").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((wow64Folder_ + "\\Gamma.bak").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(VersionMatrixTest, NinetyEightIsRefusedWithTheUnsupportedMessageAndNothingRuns) {
  VersionRun run = RunAs("win98");
  EXPECT_TRUE(run.ended);
  ASSERT_EQ(run.messages.size(), 1u) << Joined(run.messages);
  EXPECT_EQ(run.messages[0], kUnsupported);
  EXPECT_TRUE(run.records.empty()) << Joined(run.records);
}

}  // namespace
}  // namespace vh
