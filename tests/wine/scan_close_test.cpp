// Closing the progress dialog while a hive is being copied: the copy in
// progress is finished (the worker is never killed), and while the dialog
// waits for it the windows keep answering, also when Stop came first.
#include <gtest/gtest.h>

#include <memory>

#include "app/main_window_win.h"
#include "hive/hive_copy.h"
#include "scan/progress_dialog_win.h"
#include "platform/forwarding_registry.h"
#include "platform/thread_win.h"
#include "settings/options.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/event_win.h"
#include "tests/wine/support/control_lookup.h"
#include "tests/wine/support/wait_win.h"
#include "ui/controls_win.h"

namespace vh {
namespace {

// What the held copy and the test's timers share. Held by shared pointers:
// a timer of a test whose window froze may fire only in a later test.
struct Hold {
  std::string copy;   // the path of the copy to hold
  Event holding;      // that copy has begun
  Event released;     // the test lets it finish
  bool releasedInTime = false;
  bool answeredWhileHeld = false;
};

// The real registry, except that one copy waits until the test lets it go
// (or a long while has passed, so that a frozen window cannot hang the test
// for ever).
class HeldRegistry final : public ForwardingRegistry {
 public:
  HeldRegistry(Registry& inner, std::shared_ptr<Hold> hold) : ForwardingRegistry(inner), hold_(std::move(hold)) {}
  long SaveKey(KeyHandle key, const std::string& file, const std::string& readerSid, HiveFormat format) override {
    if (file == hold_->copy) {
      hold_->holding.Set();
      hold_->releasedInTime = hold_->released.Wait(30000);
    }
    return ForwardingRegistry::SaveKey(key, file, readerSid, format);
  }

 private:
  std::shared_ptr<Hold> hold_;
};

// The progress dialog, once shown while the held copy has begun.
HWND ProgressDialogWhileHeld(const Hold& hold) {
  if (!hold.holding.IsSet()) return nullptr;
  return test::FindShownWindow({"Defrag Registry", "", 0, GetCurrentThreadId(), false});
}

class ScanCloseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* key : {"One", "Two", "Three"}) registry_.AddHive(key, 20000, 100000);
    Platform& r = recorded_.platform();
    platform_ = std::make_unique<Platform>(WithRegistry(r, held_));
    main_ = CreateForm<TfrmMain>(*platform_);
    main_->Show();
    ASSERT_EQ(main_->Hives.HiveFiles.size(), 3u);
    hold_->copy = CopyPath(main_->Hives.HiveFiles[1]);
  }
  std::int64_t CopySize(std::size_t hive) {
    return QueryFileSize(recorded_.platform().files, CopyPath(main_->Hives.HiveFiles[hive]));
  }
  void TearDown() override {
    hold_->released.Set();
    main_.reset();
  }

  // Closes the dialog as its close box does while the second copy is held,
  // after Stop when asked; then notes whether the windows still answer
  // while that copy is unfinished, and lets it finish.
  void CloseWhileHeld(bool stopFirst) {
    std::shared_ptr<Hold> hold = hold_;
    auto held = [hold] { return ProgressDialogWhileHeld(*hold); };
    auto close = test::WhenFound("the progress dialog while a copy is held", held, [hold, stopFirst](HWND window) {
      auto* dialog = dynamic_cast<TfrmGetNewHiveProgess*>(TWinControl::FromHandle(window));
      ASSERT_NE(dialog, nullptr) << "\"Defrag Registry\" is not the progress dialog";
      if (stopFirst) test::Control<TControl>(*dialog, "bStop").Click();
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      // A thread timer runs only when the thread dispatches messages.
      test::AfterMs(100, [hold] {
        hold->answeredWhileHeld = !hold->released.IsSet();
        hold->released.Set();
      });
    });
    main_->AnalyzeClick(*main_);
  }

  test::TestRegistry registry_;
  test::RecordedPlatform recorded_;
  std::shared_ptr<Hold> hold_ = std::make_shared<Hold>();
  HeldRegistry held_{recorded_.platform().registry, hold_};
  std::unique_ptr<Platform> platform_;
  test::MessageBoxes boxes_;
  std::unique_ptr<TfrmMain> main_;
};

TEST_F(ScanCloseTest, StopThenTheCloseBoxKeepsTheWindowsAnsweringUntilTheHiveInProgressIsCopied) {
  CloseWhileHeld(true);
  EXPECT_TRUE(hold_->answeredWhileHeld) << "the windows froze while the copy in progress was finished";
  EXPECT_TRUE(hold_->releasedInTime);
  // The held copy was finished, not cut off, and the third never began.
  EXPECT_GT(CopySize(1), 0);
  EXPECT_EQ(CopySize(2), 0);
}

TEST_F(ScanCloseTest, TheCloseBoxAloneAlsoWaitsForTheHiveInProgressWithoutFreezing) {
  CloseWhileHeld(false);
  EXPECT_TRUE(hold_->answeredWhileHeld) << "the windows froze while the copy in progress was finished";
  EXPECT_TRUE(hold_->releasedInTime);
  EXPECT_GT(CopySize(1), 0);
  EXPECT_EQ(CopySize(2), 0);
}

}  // namespace
}  // namespace vh
