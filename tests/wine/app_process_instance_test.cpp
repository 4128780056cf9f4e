// The single instance of the real program, started as processes of their
// own: a second start wakes the first, two starts together open one window,
// an unattended run refuses while another holds the instance; and the faults
// of closing with a settings file that cannot be written.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/unattended.h"
#include "tests/wine/support/program_run_fixture.h"
#include "tests/wine/support/wait_win.h"

namespace vh {
namespace {

// The fixture and helpers the program-run tests share.
using namespace test;

TEST_F(ProgramRunTest, ASecondStartWakesTheFirstAndEnds) {
  std::vector<std::uint32_t> screen = CaptureScreen();
  ProgramProcess first(exe_, "", home_.path());
  ASSERT_TRUE(first.started());
  HWND main = nullptr;
  auto shown = [&] { return (main = FindWindowA(kMainClass, nullptr)) && IsWindowVisible(main); };
  ASSERT_TRUE(test::WaitUntil(shown, kStartDeadlineMs))
      << "the first start shows no main window";
  // The screen comparison of the unattended runs sees a shown window.
  EXPECT_TRUE(test::WaitUntil([&] { return PixelsChanged(screen, CaptureScreen()) > 10000; }, kStartDeadlineMs));
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(test::WaitUntil([&] { return IsIconic(main) != 0; }, kStartDeadlineMs));

  ProgramProcess second(exe_, "", home_.path());
  ASSERT_TRUE(second.started());
  RunOutcome woke = WaitForEnd(second, {}, nullptr, 20000);
  EXPECT_TRUE(woke.ended);
  EXPECT_EQ(woke.exitCode, 0u);
  EXPECT_EQ(Joined(woke.visibleWindows), "") << "the second start showed a window";

  auto woken = [&] { return IsWindowVisible(main) && !IsIconic(main) && GetForegroundWindow() == main; };
  EXPECT_TRUE(test::WaitUntil(woken, kStartDeadlineMs))
      << "visible " << IsWindowVisible(main) << ", iconic " << IsIconic(main) << ", foreground "
      << (GetForegroundWindow() == main);
  EXPECT_EQ(FindWindowA(kMainClass, nullptr), main);

  PostMessageA(main, WM_CLOSE, 0, 0);
  RunOutcome closed = WaitForEnd(first, {}, nullptr, 20000);
  EXPECT_TRUE(closed.ended) << "the first instance did not end after WM_CLOSE";
  EXPECT_EQ(closed.exitCode, 0u);
}

// The libraries loaded in a process, their names in lower case.
std::vector<std::string> ModulesOf(DWORD processId) {
  std::vector<std::string> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  MODULEENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
    std::string name = entry.szModule;
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(name);
  }
  CloseHandle(snapshot);
  return names;
}

// A plain run leaves COM, the shell and the accessibility libraries
// unloaded (together they cost megabytes); a screen reader that asks for the
// window's object from its own process still reaches it.
TEST_F(ProgramRunTest, AShownWindowLoadsNoLibraryItDoesNotUseAndStillAnswersAScreenReader) {
  ProgramProcess program(exe_, "", home_.path());
  ASSERT_TRUE(program.started());
  HWND main = nullptr;
  auto shown = [&] { return (main = FindWindowA(kMainClass, nullptr)) && IsWindowVisible(main) && program.Idle(); };
  ASSERT_TRUE(test::WaitUntil(shown, kStartDeadlineMs));
  std::vector<std::string> modules = ModulesOf(program.id());
  ASSERT_FALSE(modules.empty());
  for (const char* unused : {"ole32.dll", "oleacc.dll", "oleaut32.dll", "shell32.dll", "rpcrt4.dll"})
    EXPECT_EQ(std::count(modules.begin(), modules.end(), unused), 0) << unused << " is loaded";

  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  IAccessible* window = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(main, DWORD(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&window)),
            S_OK);
  long children = 0;
  EXPECT_EQ(window->get_accChildCount(&children), S_OK);
  EXPECT_GT(children, 10) << "the main window's controls";
  window->Release();
  CoUninitialize();

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForEnd(program, {}, nullptr, 20000).ended);
}

// Answers every box of the program with OK, keeping each box's text once per
// box (a box is known by its window).
class BoxAnswerer {
 public:
  explicit BoxAnswerer(const DWORD& pid) : pid_(pid) {}
  void operator()() {
    for (HWND box : MessageBoxesOf(pid_)) {
      std::string text = MessageBoxText(box);
      if (text.empty()) continue;  // not filled in yet
      if (std::find(seen_.begin(), seen_.end(), box) == seen_.end()) {
        seen_.push_back(box);
        texts.push_back(text);
      }
      test::PressButton(box, IDOK);
    }
  }
  std::vector<std::string> texts;

 private:
  const DWORD& pid_;
  std::vector<HWND> seen_;
};

// A file held open without sharing, as another program would hold it.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr)) {}
  ~HeldFile() { Release(); }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

TEST_F(ProgramRunTest, AnUnwritableSettingsFileIsLoggedAndTheUnattendedRunStillEndsWithItsCode) {
  registry_.AddHive("Alpha", 60000, 200000);
  const std::string options = home_.File("options.ini");
  const std::string report = registry_.folder().File("r.ini");
  // Held open by another program. (A read-only file would do on Windows;
  // the tests run as root, whom Wine lets write it.)
  HeldFile held(options);
  ASSERT_TRUE(held.held());

  BoxAnswerer boxes(pid_);
  RunOutcome scan = Run("/Scan \"" + report + "\"", std::ref(boxes), 20000);
  EXPECT_EQ(Joined(boxes.texts), "");
  EXPECT_EQ(scan.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(scan.visibleWindows), "");
  EXPECT_EQ(ReportSection(test::ReadFileText(report)).size(), 6u) << test::ReadFileText(report);
  EXPECT_EQ(Count(Log(), "Unable to write to " + options + "\r\n"), 1u) << Log();

  RunOutcome silent = Run("/Silent", std::ref(boxes), 20000);
  EXPECT_EQ(Joined(boxes.texts), "");
  EXPECT_EQ(silent.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(silent.visibleWindows), "");
  EXPECT_EQ(Records().size(), 2u) << Joined(Records());
  EXPECT_EQ(Count(Log(), "Unable to write to " + options + "\r\n"), 2u) << Log();
}

TEST_F(ProgramRunTest, ClosingTheWindowWithAnUnwritableSettingsFileShowsOneBoxAndCloses) {
  ProgramProcess program(exe_, "", home_.path());
  ASSERT_TRUE(program.started());
  HWND main = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, kStartDeadlineMs));
  const std::string options = home_.File("options.ini");
  HeldFile held(options);
  ASSERT_TRUE(held.held());

  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD pid = program.id();
  BoxAnswerer boxes(pid);
  RunOutcome closed = WaitForEnd(program, std::ref(boxes), nullptr, 20000);

  EXPECT_TRUE(closed.ended) << "the window stayed after the box";
  EXPECT_EQ(closed.exitCode, DWORD(kExitDone));
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Unable to write to " + options});
}

// An unattended run that holds the instance: its swaps recorded, it waits
// for the restart, which comes when the test ends the session.
class HeldRestart {
 public:
  HeldRestart() { SetEnvironmentVariableA("VARNHOLD_RESTART", "hold"); }
  ~HeldRestart() { SetEnvironmentVariableA("VARNHOLD_RESTART", nullptr); }
  HeldRestart(const HeldRestart&) = delete;
  HeldRestart& operator=(const HeldRestart&) = delete;
  // The restart comes: the session of the run that waits for it ends.
  static void EndSession() {
    if (HWND waiting = FindWindowA(kMainClass, nullptr)) PostMessageA(waiting, WM_ENDSESSION, TRUE, 0);
  }
};

TEST_F(ProgramRunTest, OfTwoUnattendedRunsStartedTogetherOnlyOneWorksAndTheOtherEndsWithItsCode) {
  registry_.AddHive("Alpha", 60000, 200000);
  registry_.AddHive("Beta", 30000, 100000);
  HeldRestart held;
  // Whichever run holds the instance waits for its restart, so that the
  // two runs certainly overlap.
  ProgramProcess one(exe_, "/Silent", home_.path());
  ProgramProcess two(exe_, "/Silent", home_.path());
  ASSERT_TRUE(one.started() && two.started());
  // The one that does not hold the instance ends by itself.
  ASSERT_TRUE(test::WaitUntil([&] { return one.Ended() || two.Ended(); }, kStartDeadlineMs));
  auto waiting = [&] { return Count(Joined(Records()), "ExitWindowsEx") == 1; };
  ASSERT_TRUE(test::WaitUntil(waiting, kStartDeadlineMs)) << Joined(Records());
  EXPECT_FALSE(one.Ended() && two.Ended()) << "the run that holds the instance waits for its restart";
  HeldRestart::EndSession();
  RunOutcome a = WaitForEnd(one, {}, nullptr, 20000);
  RunOutcome b = WaitForEnd(two, {}, nullptr, 20000);
  ASSERT_TRUE(a.ended && b.ended);

  std::vector<DWORD> codes{a.exitCode, b.exitCode};
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<DWORD>{DWORD(kExitDone), DWORD(kExitAnotherInstance)}));
  EXPECT_EQ(Count(Log(), "Another instance of Varnhold is running"), 1u) << Log();
  EXPECT_EQ(Count(Joined(Records()), "ExitWindowsEx"), 1u) << "one run swapped and asked for the restart";
  EXPECT_EQ(Joined(a.visibleWindows) + Joined(b.visibleWindows), "");
}

TEST_F(ProgramRunTest, AnInteractiveStartNeverShowsTheWindowOfAnUnattendedRun) {
  registry_.AddHive("Alpha", 60000, 200000);
  HeldRestart held;
  ProgramProcess silent(exe_, "/Silent", home_.path());
  ASSERT_TRUE(silent.started());
  auto waiting = [&] { return Count(Joined(Records()), "ExitWindowsEx") == 1; };
  ASSERT_TRUE(test::WaitUntil(waiting, kStartDeadlineMs)) << "the run does not wait for its restart";

  ProgramProcess second(exe_, "", home_.path());
  ASSERT_TRUE(second.started());
  RunOutcome woke = WaitForEnd(second, {}, nullptr, 20000);
  EXPECT_TRUE(woke.ended);
  EXPECT_EQ(woke.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(woke.visibleWindows), "");
  Sleep(300);  // nothing to wait for: a window shown on the wake-up would be up by now
  EXPECT_EQ(VisibleMainWindow(), nullptr) << "the unattended run's window was shown";

  HeldRestart::EndSession();
  RunOutcome restarted = WaitForEnd(silent, {}, nullptr, 20000);
  EXPECT_EQ(restarted.exitCode, DWORD(kExitDone)) << "its restart came";
  EXPECT_EQ(Joined(restarted.visibleWindows), "");
}

// Neither a second start nor a message another process posts (the numbers
// that once started the unattended modes) makes the open window run one.
TEST_F(ProgramRunTest, SilentWhileTheWindowIsOpenLogsAndEndsWithItsCodeHavingDoneNothing) {
  registry_.AddHive("Alpha", 60000, 200000);
  ProgramProcess window(exe_, "", home_.path());
  ASSERT_TRUE(window.started());
  HWND main = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, kStartDeadlineMs));
  CreatedFiles created(registry_.folder().path());

  RunOutcome silent = Run("/Silent", {}, 20000);

  EXPECT_EQ(silent.exitCode, DWORD(kExitAnotherInstance));
  EXPECT_EQ(Joined(silent.visibleWindows), "");
  EXPECT_EQ(Joined(Records()), "");
  EXPECT_EQ(Joined(created.Names()), "") << "a copy was made beside the hives";
  EXPECT_NE(Log().find("Another instance of Varnhold is running"), std::string::npos) << Log();
  EXPECT_EQ(VisibleMainWindow(), main);

  for (UINT mode : {0x6606u, 0x6607u, 0x6609u, 0x6606u}) ASSERT_TRUE(PostMessageA(main, mode, 0, 0));
  DWORD_PTR answered = 0;
  ASSERT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answered));
  Sleep(1500);  // an analysis started by them would have copied a hive by now
  EXPECT_EQ(Joined(created.Names()), "") << "a posted mode message ran an analysis";
  EXPECT_EQ(Joined(Records()), "");
  EXPECT_EQ(VisibleMainWindow(), main) << "a posted mode message hid the window";
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForEnd(window, {}, nullptr, 20000).ended);
}

TEST_F(ProgramRunTest, TwoInteractiveStartsTogetherOpenOneWindow) {
  ProgramProcess one(exe_, "", home_.path());
  ProgramProcess two(exe_, "", home_.path());
  ASSERT_TRUE(one.started() && two.started());
  ASSERT_TRUE(test::WaitUntil([] { return VisibleMainWindow() != nullptr; }, kStartDeadlineMs));
  auto mainWindowsOf = [](DWORD pid) {
    int n = 0;
    for (const SeenWindow& w : VisibleWindowsOf(pid)) n += w.className == kMainClass;
    return n;
  };
  // The second start ends; only then is the count final.
  ASSERT_TRUE(test::WaitUntil([&] { return one.Ended() || two.Ended(); }, kStartDeadlineMs)) << "both starts still run";
  EXPECT_EQ(mainWindowsOf(one.id()) + mainWindowsOf(two.id()), 1);
  PostMessageA(FindWindowA(kMainClass, nullptr), WM_CLOSE, 0, 0);
  RunOutcome a = WaitForEnd(one, {}, nullptr, 20000), b = WaitForEnd(two, {}, nullptr, 20000);
  EXPECT_TRUE(a.ended && b.ended);
  EXPECT_EQ(a.exitCode, 0u);
  EXPECT_EQ(b.exitCode, 0u);
}

TEST_F(ProgramRunTest, UnattendedOnAnUnsupportedWindowsLogsAndEndsWithItsCode) {
  registry_.AddHive("Alpha", 60000, 200000);
  WineVersionFor win98(kProgram, "win98");
  const std::string report = registry_.folder().File("r.ini");
  for (const std::string& arguments : {"/Scan \"" + report + "\"", std::string("/Silent")}) {
    BoxAnswerer boxes(pid_);
    RunOutcome outcome = Run(arguments, std::ref(boxes), 20000);
    EXPECT_EQ(outcome.exitCode, DWORD(kExitUnsupportedWindows)) << arguments;
    EXPECT_EQ(Joined(boxes.texts), "") << arguments;
    EXPECT_EQ(Joined(outcome.visibleWindows), "") << arguments;
  }
  EXPECT_EQ(Count(Log(), "does not support the current Windows system"), 2u) << Log();
  EXPECT_FALSE(files_.Exists(report));
  EXPECT_EQ(Joined(Records()), "");
}

}  // namespace
}  // namespace vh
