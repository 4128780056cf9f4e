// The defragmentation as a person meets it: the real program, driven by
// the X server's own keyboard and pointer (xdotool), watched from outside.
// The swaps and the restart are recorded, never done.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/wine/support/program_run_fixture.h"
#include "tests/wine/support/wait_win.h"

namespace vh {
namespace {

using test::Joined;
using test::kStartDeadlineMs;
using test::ProgramProcess;
using test::ProgramRunTest;
using test::VisibleMainWindow;

// Runs xdotool, a Unix program that Wine starts as it starts any other, so
// that the input comes from the X server as a person's would.
bool Xdotool(const std::string& arguments) {
  std::string command = "Z:\\usr\\bin\\xdotool " + arguments;
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &info)) return false;
  // Wine gives a Unix process a handle that cannot be waited for: it has
  // done its few X calls well within the pause.
  if (WaitForSingleObject(info.hProcess, 10000) == WAIT_FAILED) Sleep(400);
  if (info.hThread) CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}

bool ClickWithMouse(HWND control) {
  RECT r;
  if (!GetWindowRect(control, &r)) return false;
  return Xdotool("mousemove " + std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2) +
                 " click 1");
}

// A key pressed once that window has the keyboard: a click on its top
// edge (the drag area) activates it, as it would a person's.
bool PressKey(HWND window, const char* key) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  return Xdotool("mousemove " + std::to_string(r.left + 120) + " " + std::to_string(r.top + 6) + " click 1") &&
         Xdotool(std::string("key ") + key);
}

std::string TextOf(HWND window) {
  char text[512] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 2000, &n);
  return text;
}

// A top-level window of the process by its caption, and a child by its
// class and text (empty: any).
HWND WindowOf(DWORD pid, const std::string& caption) {
  for (const test::SeenWindow& w : test::VisibleWindowsOf(pid))
    if (w.caption == caption) return w.handle;
  return nullptr;
}

struct ChildSearch {
  const char* className;
  const std::string& text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM p) {
  auto* s = reinterpret_cast<ChildSearch*>(p);
  char name[64] = {};
  GetClassNameA(child, name, sizeof name);
  if (_stricmp(name, s->className) != 0 || (!s->text.empty() && TextOf(child) != s->text)) return TRUE;
  s->found = child;
  return FALSE;
}

HWND ChildOf(HWND parent, const char* className, const std::string& text) {
  ChildSearch search{className, text, nullptr};
  EnumChildWindows(parent, MatchChild, LPARAM(&search));
  return search.found;
}

class DefragByHandTest : public ProgramRunTest {
 protected:
  void SetUp() override {
    ProgramRunTest::SetUp();
    // Straight to the last notice: no question first, no restore point.
    test::WriteFileText(home_.File("options.ini"), "[Options]\r\nIsAskBeforeDefrag=0\r\nRestorePoint=0\r\n");
    registry_.AddHive("Alpha", 30000, 200000);
    registry_.AddHive("Beta", 30000, 200000);
    // The last hive is a used system's size: its copy and its check take
    // seconds under Wine.
    last_ = registry_.AddHive("Gamma", 30000, 900000);
    ASSERT_TRUE(test::AddSubkeys(last_, kLastHiveKeys));
  }

  // Opens the window, analyses with the keyboard and asks for the
  // defragmentation; empty once its last notice was answered OK by a
  // click, else the step that failed.
  std::string StartDefragmentation() {
    window_ = std::make_unique<ProgramProcess>(exe_, "", home_.path());
    if (!window_->started()) return "not started";
    if (!test::WaitUntil([&] { return (main_ = VisibleMainWindow()) != nullptr && window_->Idle(); }, kStartDeadlineMs))
      return "no main window";
    if (!PressKey(main_, "alt+a")) return "no xdotool";
    auto copied = [&] {
      for (const test::TestHive& h : registry_.hives())
        if (!files_.Exists(h.file + ".hvz")) return false;
      return WindowOf(window_->id(), "Defrag Registry") == nullptr && window_->Idle();
    };
    if (!test::WaitUntil(copied, 120000)) return "the analysis did not copy every hive";
    if (!PressKey(main_, "alt+d")) return "no xdotool";
    HWND notice = nullptr;
    if (!test::WaitUntil([&] { return (notice = OneBox()) != nullptr; }, kStartDeadlineMs)) return "no last notice";
    if (test::MessageBoxText(notice).rfind("Windows restarts at once", 0) != 0) return test::MessageBoxText(notice);
    return ClickWithMouse(ChildOf(notice, "Button", "OK")) ? "" : "no OK button";
  }
  HWND OneBox() {
    std::vector<HWND> boxes = test::MessageBoxesOf(window_->id());
    return boxes.size() == 1 && !test::MessageBoxText(boxes[0]).empty() ? boxes[0] : nullptr;
  }
  bool Swapped() {
    std::vector<std::string> records = Records();
    return std::any_of(records.begin(), records.end(), [](const std::string& r) { return r.find(".bak") != std::string::npos; });
  }
  void CloseWindow() {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(test::WaitForEnd(*window_, {}, nullptr, 30000).ended);
  }

  static constexpr int kLastHiveKeys = 100000;
  test::TestHive last_;
  std::unique_ptr<ProgramProcess> window_;
  HWND main_ = nullptr;
};

// Stop is pressed with the mouse while "Fresh copies" works on the last
// hive (its copy or its check): the whole run ends, nothing is swapped, and
// the user is told.
TEST_F(DefragByHandTest, StopClickedDuringTheLastHiveSwapsNothingAndSaysSo) {
  ASSERT_EQ(StartDefragmentation(), "");
  HWND fresh = nullptr, memo = nullptr, stop = nullptr;
  auto onLastHive = [&] {
    fresh = WindowOf(window_->id(), "Fresh copies");
    memo = fresh ? ChildOf(fresh, "Edit", "") : nullptr;
    stop = fresh ? ChildOf(fresh, "VhSkinButton", "Stop") : nullptr;
    return memo && stop && TextOf(memo) == last_.name;
  };
  std::string seen;
  auto watched = [&] {
    if (onLastHive()) return true;
    if (fresh && memo) seen = TextOf(memo);
    return false;
  };
  ASSERT_TRUE(test::WaitUntil(watched, 60000)) << "the fresh copies never reached the last hive: " << (fresh != nullptr)
                                               << (memo != nullptr) << (stop != nullptr) << " " << seen << " / "
                                               << last_.name;
  // The Stop button greys once the stop is taken; a click that a loaded
  // machine lost is given again.
  bool taken = false;
  for (int click = 0; click < 3 && !taken; ++click) {
    ASSERT_TRUE(ClickWithMouse(stop));
    taken = test::WaitUntil([&] { return !IsWindow(stop) || !IsWindowEnabled(stop); }, 10000);
  }
  ASSERT_TRUE(taken) << "Stop was never taken";

  HWND told = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (told = OneBox()) != nullptr; }, 60000)) << "no word that the run stopped";
  EXPECT_EQ(test::MessageBoxText(told).rfind("The fresh copies were stopped", 0), 0u) << test::MessageBoxText(told);
  test::PressButton(told, IDOK);
  EXPECT_FALSE(Swapped()) << Joined(Records());
  EXPECT_EQ(test::Count(Joined(Records()), "ExitWindowsEx"), 0u);
  EXPECT_NE(test::ReadFileText(home_.File("varnhold-journal.txt")).find("\r\nEnded=stopped by the user"),
            std::string::npos);
  CloseWindow();
}

// All through the copies, their checks and the swaps, the main window
// answers within a second, as Windows expects of a window that is not
// hung.
TEST_F(DefragByHandTest, TheMainWindowAnswersAllThroughTheDefragmentation) {
  ASSERT_EQ(StartDefragmentation(), "");
  DWORD longest = 0;
  int unanswered = 0;
  const DWORD start = GetTickCount();
  while (!Swapped() && GetTickCount() - start < 120000) {
    const DWORD asked = GetTickCount();
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer)) ++unanswered;
    longest = std::max(longest, GetTickCount() - asked);
    Sleep(50);
  }
  EXPECT_TRUE(Swapped()) << Joined(Records());
  EXPECT_EQ(unanswered, 0) << "the longest wait for an answer was " << longest << " ms";
  std::printf("the main window's longest wait for an answer: %lu ms\n", longest);
  CloseWindow();
}

}  // namespace
}  // namespace vh
