// What a worker thread throws reaches the user once, on the window's thread,
// and the step it belonged to counts as not done.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <stdexcept>

#include "app/main_window_win.h"
#include "app/unattended_run_win.h"
#include "flat/flat_speed_button_win.h"
#include "platform/error.h"
#include "tests/wine/support/app_fixture.h"
#include "ui/component_win.h"
#include "ui/controls_win.h"

namespace vh {
namespace {

// The scan enables the backup privilege first; this one refuses by throwing.
class ThrowingPrivileges final : public Privileges {
 public:
  bool Enable(const std::string& privilege, std::uint32_t) override {
    ++calls;
    throw AppError("Could not enable " + privilege);
  }
  int calls = 0;
};

class WorkerBoundaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_.AddHive("Boundary", 20000, 100000);
    Platform& r = recorded_.platform();
    platform_ = std::make_unique<Platform>(WithPrivileges(r, privileges_));
  }
  void TearDown() override {
    main_.reset();
    SetExceptionSink(nullptr);
  }

  test::TestRegistry registry_;
  test::RecordedPlatform recorded_;
  ThrowingPrivileges privileges_;
  std::unique_ptr<Platform> platform_;
  test::MessageBoxes boxes_;
  std::unique_ptr<TfrmMain> main_;
};

TEST_F(WorkerBoundaryTest, AScanThatThrowsIsReportedOnceAndLeavesTheAnalysisIncomplete) {
  main_ = CreateForm<TfrmMain>(*platform_);
  main_->Show();
  EXPECT_FALSE(main_->RunAnalysis());
  EXPECT_EQ(privileges_.calls, 1);
  ASSERT_EQ(boxes_.texts.size(), 1u) << "one report, in a box";
  EXPECT_EQ(boxes_.texts[0], "Could not enable SeBackupPrivilege");
  EXPECT_FALSE(main_->bDefragRegistry().Enabled());
  EXPECT_EQ(main_->Label("lCurrentRegistrySize").Caption(), "") << "no totals from a scan that failed";
}

TEST_F(WorkerBoundaryTest, UnattendedTheScansErrorGoesToTheSinkNeverToABox) {
  std::vector<std::string> logged;
  SetExceptionSink([&logged](const std::string& text) { logged.push_back(text); });
  UnattendedRun run(*platform_, Invocation{RunMode::Scan});
  ASSERT_FALSE(run.Start());
  EXPECT_FALSE(run.Analyze());
  EXPECT_TRUE(boxes_.texts.empty()) << boxes_.texts.front();
  EXPECT_EQ(logged, std::vector<std::string>{"Could not enable SeBackupPrivilege"});
}

}  // namespace
}  // namespace vh
