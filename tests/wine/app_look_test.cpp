// The main window as a user first sees it, read from outside the program:
// the screen's pixels and the focus of the program's own thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "tests/wine/support/wine_env.h"
#include "tests/wine/support/program_win.h"
#include "tests/wine/support/wait_win.h"

namespace vh {
namespace {

using test::BuiltProgram;
using test::ClassOf;
using test::kMainClass;
constexpr int kDeadlineMs = 20000;
// The link label's place on the main window's client area.
constexpr RECT kLink = {436, 38, 436 + 81, 38 + 13};

struct Rgb {
  int r, g, b;
};

Rgb ScreenPixel(POINT p) {
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

int Distance(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

class MainWindowLookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindWindowA(kMainClass, nullptr), nullptr) << "a Varnhold main window is already open";
    ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE)) << "cannot copy " << BuiltProgram();
    SetEnvironmentVariableA("VARNHOLD_RECORD", (home_.path() + "\\records.txt").c_str());
    program_ = std::make_unique<test::ProgramProcess>(exe_, "", home_.path());
    ASSERT_TRUE(program_->started()) << "CreateProcessA failed: " << GetLastError();
    ASSERT_TRUE(test::WaitUntil([&] {
      main_ = FindWindowA(kMainClass, nullptr);
      return main_ && IsWindowVisible(main_);
    })) << "no main window within " << kDeadlineMs << " ms";
  }
  void TearDown() override {
    SetEnvironmentVariableA("VARNHOLD_RECORD", nullptr);
    if (!program_ || !program_->started()) return;
    if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
    if (!program_->EndsWithin(DWORD(kDeadlineMs))) ADD_FAILURE() << "the program did not close";
    program_.reset();
  }

  POINT OnScreen(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(main_, &p);
    return p;
  }

  HWND FocusOfProgram() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(main_, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  }

  test::ScratchFolder home_;
  std::string exe_ = home_.path() + "\\varnhold_recorded.exe";
  std::unique_ptr<test::ProgramProcess> program_;
  HWND main_ = nullptr;
};

TEST_F(MainWindowLookTest, TheHiveListHasTheFocusAfterStartUp) {
  EXPECT_TRUE(test::WaitUntil([&] { return ClassOf(FocusOfProgram()) == "SysListView32"; }, kDeadlineMs))
      << "focus on a window of class '" << ClassOf(FocusOfProgram()) << "'";
}

// The link's top row lies above its glyphs: drawn transparently, it shows the
// tab's artwork, as the row just above the label does. An opaque label paints
// its own box there instead.
TEST_F(MainWindowLookTest, TheLinkIsDrawnStraightOnTheTabInBlue) {
  auto transparentRow = [&] {
    for (int x = kLink.left + 2; x < kLink.left + 40; x += 6) {
      Rgb inside = ScreenPixel(OnScreen(x, kLink.top)), above = ScreenPixel(OnScreen(x, kLink.top - 1));
      if (Distance(inside, above) > 24) return false;
    }
    return true;
  };
  EXPECT_TRUE(test::WaitUntil(transparentRow, kDeadlineMs)) << "the link's top row differs from the tab just above it";

  auto countText = [&](const std::function<bool(Rgb)>& isText) {
    int count = 0;
    for (int y = kLink.top; y < kLink.bottom; ++y)
      for (int x = kLink.left; x < kLink.right; ++x) count += isText(ScreenPixel(OnScreen(x, y)));
    return count;
  };
  auto blue = [](Rgb c) { return c.b > 160 && c.r < 90 && c.g < 90; };
  auto black = [](Rgb c) { return c.b < 60 && c.r < 60 && c.g < 60; };
  EXPECT_TRUE(test::WaitUntil([&] { return countText(blue) >= 10; }, kDeadlineMs)) << "blue text pixels: " << countText(blue);
  EXPECT_EQ(countText(black), 0) << "the link starts in black";
}

}  // namespace
}  // namespace vh
