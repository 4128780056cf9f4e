#include "hive/defrag.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/fake_platform.h"

namespace vh {
namespace {

class ScriptedDialogs final : public DefragDialogs {
 public:
  int AskBeforeDefrag() override {
    log.push_back("ask");
    if (tickDontAsk) options->IsAskBeforeDefrag = false;  // what the tick box does at once
    return askAnswer;
  }
  int CreateRestorePoint() override {
    log.push_back("restore point");
    return restoreAnswer;
  }
  void ShowRestartNotice() override { log.push_back("restart notice"); }

  TOptionsSetting* options = nullptr;
  int askAnswer = 6;
  int restoreAnswer = 1;
  bool tickDontAsk = false;
  std::vector<std::string> log;
};

class DefragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hives.Append("\\REGISTRY\\MACHINE\\SOFTWARE", "C:\\WINDOWS\\system32\\config\\software");
    hives.Append("\\registry\\machine\\system", "C:\\WINDOWS\\system32\\config\\system");
    hives.Append("\\REGISTRY\\USER\\S-1-5-19", "C:\\lsp\\NTUSER.DAT");
    for (const std::string& f : hives.HiveFiles) fake.AddFile(CopyPath(f), 100);
    options = {true, true, false, "English"};
    dialogs.options = &options;
  }
  DefragOutcome Run(bool unattended = false, std::uint8_t code = 12) {
    DefragRun run{fake.platform(), hives, options, unattended, code,
                  [this] { LoadSaveOptions(options, fake, ini, false); }, dialogs};
    return DefragRegistry(run);
  }
  const std::string ini = "C:\\V\\options.ini";
  FakePlatform fake;
  HiveTable hives;
  TOptionsSetting options;
  ScriptedDialogs dialogs;
};

TEST_F(DefragTest, YesReplacesEveryHiveInOrderWithItsCopyAndBackupThenRestarts) {
  fake.AddFile("C:\\WINDOWS\\system32\\config\\system.bak", 5);
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "restart notice"}));
  std::vector<std::string> machine;
  for (const std::string& c : fake.calls)
    if (c.rfind("Reg", 0) == 0 || c.rfind("Enable", 0) == 0 || c.rfind("Exit", 0) == 0 || c.rfind("Delete", 0) == 0)
      machine.push_back(c);
  EXPECT_EQ(machine, (std::vector<std::string>{
                         "EnablePrivilege(SeRestorePrivilege, 0xF00FF)",
                         "RegReplaceKeyA(HKEY_LOCAL_MACHINE, SOFTWARE, C:\\WINDOWS\\system32\\config\\software.hvz, "
                         "C:\\WINDOWS\\system32\\config\\software.bak)",
                         "DeleteFileA(C:\\WINDOWS\\system32\\config\\system.bak)",
                         "RegReplaceKeyA(HKEY_LOCAL_MACHINE, system, C:\\WINDOWS\\system32\\config\\system.hvz, "
                         "C:\\WINDOWS\\system32\\config\\system.bak)",
                         "RegReplaceKeyA(HKEY_USERS, S-1-5-19, C:\\lsp\\NTUSER.DAT.hvz, C:\\lsp\\NTUSER.DAT.bak)",
                         "EnablePrivilege(SeShutdownPrivilege, 0x28)", "ExitWindowsEx(6, 1)"}));
  EXPECT_NE(fake.ProfileText(ini).find("IsAskBeforeDefrag=1"), std::string::npos) << "saved after the question";
}

TEST_F(DefragTest, NoAfterTickingDontAskReplacesNothingButStoresTheTick) {
  dialogs.askAnswer = 7;
  dialogs.tickDontAsk = true;
  EXPECT_EQ(Run(), DefragOutcome::Declined);
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty());
  EXPECT_NE(fake.ProfileText(ini).find("IsAskBeforeDefrag=0"), std::string::npos);
  dialogs.log.clear();
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, std::vector<std::string>{"restart notice"}) << "no question the next time";
}

TEST_F(DefragTest, ClosingTheQuestionByTheTitleBarStops) {
  dialogs.askAnswer = 2;
  EXPECT_EQ(Run(), DefragOutcome::Declined);
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
}

TEST_F(DefragTest, RestorePointOnlyWhenAskedOnASystemThatOffersIt) {
  options.RestorePoint = true;
  EXPECT_EQ(Run(false, 7), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "restart notice"}));
  dialogs.log.clear();
  dialogs.restoreAnswer = 2;
  EXPECT_EQ(Run(false, 9), DefragOutcome::RestorePointCancelled);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "restore point"}));
  EXPECT_EQ(fake.CallsNamed("RegReplaceKeyA").size(), 3u) << "only the first run replaced";
}

TEST_F(DefragTest, UnattendedAsksNothingMakesNoRestorePointAndRestarts) {
  options.RestorePoint = true;
  EXPECT_EQ(Run(true, 12), DefragOutcome::Restarting);
  EXPECT_TRUE(dialogs.log.empty());
  EXPECT_EQ(fake.CallsNamed("RegReplaceKeyA").size(), 3u);
  EXPECT_EQ(fake.CallsNamed("ExitWindowsEx"), std::vector<std::string>{"ExitWindowsEx(6, 1)"});
  EXPECT_TRUE(fake.CallsNamed("WritePrivateProfileStringA").empty());
}

TEST_F(DefragTest, AnEmptyTableStillTellsAndRestarts) {
  hives.clear();
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
  EXPECT_EQ(dialogs.log.back(), "restart notice");
  EXPECT_EQ(fake.CallsNamed("ExitWindowsEx").size(), 1u);
}

TEST_F(DefragTest, ANameWithoutMarkerGoesToUsersWithAnEmptySubkeyAndTheRestGoOn) {
  hives.HiveNames[0] = "\\SOMEWHERE\\ELSE";
  Run();
  std::vector<std::string> replaced = fake.CallsNamed("RegReplaceKeyA");
  ASSERT_EQ(replaced.size(), 3u);
  EXPECT_EQ(replaced[0].substr(0, 30), "RegReplaceKeyA(HKEY_USERS, , C");
}

TEST_F(DefragTest, AFailedSettingsWriteStopsBeforeAnyHiveIsTouched) {
  fake.RefuseProfileWrites(ini);
  EXPECT_THROW(Run(), AppError);
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty());
}

}  // namespace
}  // namespace vh

namespace vh {
namespace {

TEST(ReplaceHiveTest, ABackupPathThroughALinkIsNeverDeletedNorScheduled) {
  FakePlatform fake;
  fake.AddFile("C:\\Users\\u\\NTUSER.DAT.hvz");
  fake.AddFile("C:\\Users\\u\\NTUSER.DAT.bak");
  fake.AddLink("C:\\Users\\u\\NTUSER.DAT.bak");
  EXPECT_FALSE(ReplaceHive(fake, fake, "\\REGISTRY\\USER\\S-1", "C:\\Users\\u\\NTUSER.DAT.hvz",
                           "C:\\Users\\u\\NTUSER.DAT.bak"));
  EXPECT_TRUE(fake.CallsNamed("DeleteFileA").empty());
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
}

}  // namespace
}  // namespace vh
