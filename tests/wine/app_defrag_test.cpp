// Defragmentation, Options and restore point dialogs, in process, with the
// swaps and the restart recorded instead of done.
#include <gtest/gtest.h>

#include "app/main_window_win.h"
#include "flat/flat_speed_button_win.h"
#include "settings/options.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/ui_test_support.h"
#include "ui/controls_win.h"

namespace vh {
namespace {

// A restore library that answers as told.
class ScriptedRestore final : public RestoreClient {
 public:
  RestoreOutcome SetRestorePoint(const RestorePointRequest& request) override {
    calls.push_back(request.description);
    return outcome;
  }
  RestoreOutcome outcome = RestoreOutcome::Created;
  std::vector<std::string> calls;
};

// Clicks a control of the top-level window with that caption once it is up.
void ClickInWindow(const char* caption, const char* control, int afterMs = 50) {
  test::AfterMs(afterMs, [caption, control] {
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(FindWindowA(nullptr, caption)));
    ASSERT_NE(form, nullptr) << caption << " is not shown";
    auto* c = form->Find<TControl>(control);
    ASSERT_NE(c, nullptr) << control;
    c->Click();
  });
}

class DefragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_ = recorded_.real().ExecutableFolder() + "options.ini";
    DeleteFileA(ini_.c_str());
    registry_.AddHive("One", 20000, 100000);
    registry_.AddHive("Two", 20000, 100000);
  }
  void TearDown() override {
    main_.reset();
    DeleteFileA(ini_.c_str());
  }
  TfrmMain& StartAndAnalyze() {
    Platform& r = recorded_.platform();
    platform_ = std::make_unique<Platform>(Platform{r.registry, r.privileges, r.volumes, r.files, r.system, r.power,
                                                    restore_, r.profiles, r.shell});
    main_ = CreateForm<TfrmMain>(*platform_, std::vector<std::string>{"varnhold.exe"});
    main_->Show();
    main_->bAnalyzeRegistryClick(*main_);
    EXPECT_TRUE(main_->bDefragRegistry().Enabled());
    return *main_;
  }
  // The records of this test's hives (and the restart): other hives the
  // prefix may list are not this test's business.
  std::vector<std::string> Recorded(const char* prefix) {
    std::vector<std::string> out;
    for (const std::string& r : recorded_.records())
      if (r.rfind(prefix, 0) == 0 && (r.find("VarnholdTest") != std::string::npos || r.rfind("ExitWindowsEx", 0) == 0))
        out.push_back(r);
    return out;
  }
  std::string IniText() { return test::ReadFileText(ini_); }

  test::TestRegistry registry_;
  test::RecordedPlatform recorded_;
  ScriptedRestore restore_;
  std::unique_ptr<Platform> platform_;
  test::MessageBoxes boxes_;
  std::unique_ptr<TfrmMain> main_;
  std::string ini_;
};

TEST_F(DefragTest, YesSchedulesEverySwapWithItsBackupThenTellsAndRestarts) {
  TfrmMain& w = StartAndAnalyze();
  OptionsSetting.RestorePoint = false;
  ClickInWindow("Defrag Now", "bOK");
  w.bDefragRegistryClick(w);
  std::vector<std::string> swaps = Recorded("RegReplaceKeyA");
  ASSERT_EQ(swaps.size(), 2u);
  const test::TestHive& one = registry_.hives()[0];
  EXPECT_EQ(swaps[0], "RegReplaceKeyA\tHKEY_LOCAL_MACHINE\tSOFTWARE\\VarnholdTest\\One\t" + one.file + ".hvz\t" +
                          one.file + ".bak");
  EXPECT_EQ(Recorded("ExitWindowsEx"), std::vector<std::string>{"ExitWindowsEx\t6\t1"});
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0].rfind("You must restart your computer", 0), 0u);
  EXPECT_NE(IniText().find("IsAskBeforeDefrag=1"), std::string::npos) << "saved after the question";
}

TEST_F(DefragTest, NoAfterTickingDontAskChangesNothingButTheSetting) {
  TfrmMain& w = StartAndAnalyze();
  ClickInWindow("Defrag Now", "cbAsk", 50);
  ClickInWindow("Defrag Now", "bCancel", 150);
  w.bDefragRegistryClick(w);
  EXPECT_TRUE(Recorded("RegReplaceKeyA").empty());
  EXPECT_TRUE(Recorded("ExitWindowsEx").empty());
  EXPECT_NE(IniText().find("IsAskBeforeDefrag=0"), std::string::npos) << IniText();
}

TEST_F(DefragTest, OptionsOkRewritesTheFileAtOnceAndSwitchesGridLinesCancelChangesNothing) {
  TfrmMain& w = StartAndAnalyze();
  ASSERT_TRUE(w.lvMain().GridLines());
  ClickInWindow("Options", "cbShowLines", 50);
  ClickInWindow("Options", "bCancel", 150);
  w.bOptionsClick(w);
  EXPECT_TRUE(OptionsSetting.IsShowLine);
  EXPECT_TRUE(w.lvMain().GridLines());
  EXPECT_FALSE(recorded_.real().Exists(ini_));

  ClickInWindow("Options", "cbShowLines", 50);
  ClickInWindow("Options", "cbCreateRestore", 100);
  ClickInWindow("Options", "bOK", 150);
  w.bOptionsClick(w);
  EXPECT_FALSE(w.lvMain().GridLines());
  EXPECT_NE(IniText().find("IsShowLine=0"), std::string::npos);
  EXPECT_NE(IniText().find("RestorePoint=1"), std::string::npos);
}

TEST_F(DefragTest, RestorePointCreatedGoesOnWithoutAQuestion) {
  TfrmMain& w = StartAndAnalyze();
  OptionsSetting.RestorePoint = true;
  OptionsSetting.IsAskBeforeDefrag = false;
  w.bDefragRegistryClick(w);
  EXPECT_EQ(restore_.calls, std::vector<std::string>{"Made by Quillmere"});
  EXPECT_EQ(Recorded("RegReplaceKeyA").size(), 2u);
  ASSERT_EQ(boxes_.texts.size(), 1u) << "only the restart notice";
}

TEST_F(DefragTest, RestorePointRefusedAsksAndNoStops) {
  TfrmMain& w = StartAndAnalyze();
  OptionsSetting.RestorePoint = true;
  OptionsSetting.IsAskBeforeDefrag = false;
  restore_.outcome = RestoreOutcome::Refused;
  boxes_.answer = IDNO;
  w.bDefragRegistryClick(w);
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0], "Restore Point creation Failed! Please check whether you close the system restore. "
                             "Contiue to defrag?");
  EXPECT_TRUE(Recorded("RegReplaceKeyA").empty());
  EXPECT_TRUE(Recorded("ExitWindowsEx").empty());
}

TEST_F(DefragTest, AMissingRestoreLibraryAsksTooAndYesGoesOn) {
  TfrmMain& w = StartAndAnalyze();
  OptionsSetting.RestorePoint = true;
  OptionsSetting.IsAskBeforeDefrag = false;
  restore_.outcome = RestoreOutcome::Unavailable;
  boxes_.answer = IDYES;
  w.bDefragRegistryClick(w);
  ASSERT_GE(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0].rfind("Restore Point creation Failed!", 0), 0u);
  EXPECT_EQ(Recorded("RegReplaceKeyA").size(), 2u);
  EXPECT_EQ(Recorded("ExitWindowsEx").size(), 1u);
}

}  // namespace
}  // namespace vh
