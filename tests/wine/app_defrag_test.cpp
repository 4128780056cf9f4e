// Defragmentation, Options and restore point dialogs, in process, with the
// swaps and the restart recorded instead of done.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <set>

#include "app/main_window_win.h"
#include "app/unattended_run_win.h"
#include "flat/flat_speed_button_win.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "platform/local_time_win.h"
#include "platform/text_win.h"
#include "restore/restore_point_dialog_win.h"
#include "settings/options.h"
#include "lang/messages.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/control_lookup.h"
#include "tests/wine/support/screenshot_win.h"
#include "tests/wine/support/ui_test_support.h"
#include "tests/wine/support/wait_win.h"
#include "ui/controls_win.h"
#include "ui/message_box_win.h"

namespace vh {
namespace {

// A restore library that answers as told.
class ScriptedRestore final : public RestoreClient {
 public:
  RestorePointResult SetRestorePoint(const RestorePointRequest& request) override {
    calls.push_back(request.eventType == 100 ? request.description : "end " + std::to_string(request.restorePointType));
    return {outcome, 9};
  }
  std::optional<std::vector<ListedRestorePoint>> ListRestorePoints() override { return points; }
  RestoreOutcome outcome = RestoreOutcome::Created;
  std::vector<ListedRestorePoint> points;
  std::vector<std::string> calls;
};

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
  TfrmMain& Start() {
    Platform& r = recorded_.platform();
    platform_ = std::make_unique<Platform>(WithRestore(r, restore_));
    main_ = CreateForm<TfrmMain>(*platform_);
    main_->Show();
    return *main_;
  }
  TfrmMain& StartAndAnalyze() {
    Platform& r = recorded_.platform();
    platform_ = std::make_unique<Platform>(WithRestore(r, restore_));
    main_ = CreateForm<TfrmMain>(*platform_);
    main_->Show();
    main_->AnalyzeClick(*main_);
    EXPECT_TRUE(main_->bDefragRegistry().Enabled());
    return *main_;
  }
  // The records of this test's hives (and the restart): other hives the
  // prefix may list are not this test's business.
  std::vector<std::string> Recorded(const char* prefix) {
    std::vector<std::string> out;
    for (const std::string& r : recorded_.records())
      if (r.rfind(prefix, 0) == 0 && (r.find("S-1-5-21-7-7-") != std::string::npos || r.rfind("ExitWindowsEx", 0) == 0))
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
  w.Options().RestorePoint = false;
  auto yes = test::ClickWhenShown("Defrag Now", {"bOK"});
  w.DefragClick(w);
  std::vector<std::string> swaps = Recorded("RegReplaceKeyA");
  ASSERT_EQ(swaps.size(), 2u);
  const test::TestHive& one = registry_.hives()[0];
  EXPECT_EQ(swaps[0], test::SwapRecord(one, one.file + ".hvz", one.file + ".bak"));
  EXPECT_EQ(Recorded("ExitWindowsEx"), std::vector<std::string>{"ExitWindowsEx\t6\t2147614724"});
  ASSERT_EQ(boxes_.texts.size(), 1u) << "the last notice, before the swaps; nothing after them";
  EXPECT_EQ(boxes_.texts[0].rfind("Windows restarts at once", 0), 0u);
  EXPECT_NE(IniText().find("IsAskBeforeDefrag=1"), std::string::npos) << "saved after the question";
}

// The prefix's own SYSTEM and SOFTWARE, as Windows lists them. In a 64-bit
// prefix SOFTWARE holds Wow6432Node, which a 32-bit program's own view hides
// in the loaded copy as in the live hive.
TEST_F(DefragTest, ThePrefixsOwnSystemAndSoftwareAreCheckedAndScheduled) {
  registry_.AddSystemHive("SYSTEM", 100000);
  registry_.AddSystemHive("SOFTWARE", 100000);
  TfrmMain& w = StartAndAnalyze();
  w.Options().RestorePoint = false;
  auto yes = test::ClickWhenShown("Defrag Now", {"bOK"});
  w.DefragClick(w);
  std::set<std::string> swapped;
  const std::string machine = "RegReplaceKeyA\tHKEY_LOCAL_MACHINE\t";
  for (const std::string& r : recorded_.records())
    if (r.rfind(machine, 0) == 0) swapped.insert(r.substr(machine.size(), r.find('\t', machine.size()) - machine.size()));
  EXPECT_EQ(swapped, (std::set<std::string>{"SOFTWARE", "SYSTEM"}))
      << test::ReadFileText(recorded_.real().ExecutableFolder() + "varnhold.log");
}

TEST_F(DefragTest, AValueChangedAfterTheAnalysisIsInTheCopyThatIsScheduled) {
  TfrmMain& w = StartAndAnalyze();
  w.Options().RestorePoint = false;
  const test::TestHive one = registry_.hives()[0];
  EXPECT_EQ(test::ReadFileText(one.file + ".hvz").find("installed-after-the-analysis"), std::string::npos);
  HKEY k = test::OpenTestKey(one);
  ASSERT_NE(k, nullptr);
  const char value[] = "installed-after-the-analysis";
  RegSetValueExA(k, "Setting", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
  RegCloseKey(k);
  auto yes = test::ClickWhenShown("Defrag Now", {"bOK"});
  w.DefragClick(w);
  std::vector<std::string> swaps = Recorded("RegReplaceKeyA");
  ASSERT_EQ(swaps.size(), 2u);
  EXPECT_NE(swaps[0].find(one.file + ".hvz"), std::string::npos);
  // Wine writes its copies as text.
  // Swapped as Windows does: the copy has taken the hive file's name.
  EXPECT_NE(test::ReadFileText(one.file).find("\"Setting\"=\"installed-after-the-analysis\""), std::string::npos);
  EXPECT_EQ(Recorded("ExitWindowsEx").size(), 1u);
}

TEST_F(DefragTest, AHiveWhoseKeyIsMissingShowsTheFailureTextAndTheTotalsLeaveItOut) {
  const test::TestHive gone = registry_.AddHive("Gone", 20000, 300000);
  test::DeleteTestKey(gone);
  TfrmMain& w = StartAndAnalyze();
  ASSERT_EQ(w.Hives.size(), 3u);
  int row = -1;
  for (std::size_t i = 0; i < w.Hives.size(); ++i)
    if (w.Hives.HiveNames[i] == gone.name) row = int(i);
  ASSERT_GE(row, 0);
  EXPECT_EQ(w.lvMain().Cell(row, 1), FormatSizeKB(300000));
  EXPECT_EQ(w.lvMain().Cell(row, 2), "not copied");
  EXPECT_EQ(w.lvMain().Cell(row, 3), "");
  Files& files = recorded_.real();
  std::int64_t current = 0, compacted = 0;
  for (int i = 0; i < 2; ++i) {
    const test::TestHive& h = registry_.hives()[std::size_t(i)];
    current += QueryFileSize(files, h.file);
    compacted += QueryFileSize(files, CopyPath(h.file));
  }
  EXPECT_EQ(w.Label("lCurrentRegistrySize").Caption(), FormatSizeKB(current));
  EXPECT_EQ(w.Label("lNewRegistrySize").Caption(), FormatSizeKB(compacted));
  EXPECT_EQ(w.Label("lSizeReduction").Caption(), FormatSizeKB(current - compacted));

  // Swapped: only the two that were copied; the user is told about the
  // third, and every box comes before the first swap.
  w.Options().RestorePoint = false;
  w.Options().IsAskBeforeDefrag = false;
  std::vector<std::size_t> swapsAtEachBox;
  boxes_.onShown = [&] { swapsAtEachBox.push_back(Recorded("RegReplaceKeyA").size()); };
  w.DefragClick(w);
  EXPECT_EQ(swapsAtEachBox, std::vector<std::size_t>{0});
  EXPECT_EQ(Recorded("RegReplaceKeyA").size(), 2u);
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0].rfind("Windows restarts at once", 0), 0u) << boxes_.texts[0];
  EXPECT_NE(boxes_.texts[0].find("These hives will not be replaced"), std::string::npos);
  EXPECT_NE(boxes_.texts[0].find(gone.name + ": it has no copy from the analysis"), std::string::npos);
}

TEST_F(DefragTest, NoHiveCopiedLeavesTheAnalysisIncompleteAndSaysWhy) {
  for (const test::TestHive& h : registry_.hives()) test::DeleteTestKey(h);
  TfrmMain& w = Start();
  w.AnalyzeClick(w);
  EXPECT_FALSE(w.bDefragRegistry().Enabled());
  EXPECT_EQ(w.lvMain().Cell(0, 2), "not copied");
  EXPECT_EQ(w.Label("lCurrentRegistrySize").Caption(), "");
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0].rfind("No hive could be copied", 0), 0u) << boxes_.texts[0];
}

TEST_F(DefragTest, ACopyReplacedByGarbageBeforeTheDefragmentationIsNotScheduled) {
  // As /Silent runs it: the analysis' copies are kept.
  UnattendedRun w(recorded_.platform(), Invocation{RunMode::Silent});
  ASSERT_FALSE(w.Start());
  ASSERT_TRUE(w.Analyze());
  const test::TestHive one = registry_.hives()[0];
  test::WriteFileText(one.file + ".hvz", "not a hive at all\r\n");
  DefragSummary done = w.Defragment();
  EXPECT_TRUE(done.restarting);
  ASSERT_EQ(done.notScheduled.size(), 1u);
  EXPECT_NE(done.notScheduled[0].find("the copy does not load as a hive (error 1017)"), std::string::npos)
      << done.notScheduled[0];
  std::vector<std::string> swaps = Recorded("RegReplaceKeyA");
  ASSERT_EQ(swaps.size(), 1u);
  EXPECT_NE(swaps[0].find(registry_.hives()[1].file), std::string::npos);
  EXPECT_FALSE(recorded_.real().Exists(one.file + ".hvz")) << "the failed copy is deleted";
  EXPECT_TRUE(boxes_.texts.empty());
}

TEST_F(DefragTest, WhenNothingCanBeScheduledNothingRestartsAndTheUserIsToldWhy) {
  TfrmMain& w = StartAndAnalyze();
  w.Options().RestorePoint = false;
  w.Options().IsAskBeforeDefrag = false;
  const test::TestHive one = registry_.hives()[0];
  test::WriteFileText(one.file + ".bak", "an earlier backup");
  // Both keys go after the analysis: neither can be copied again.
  for (const test::TestHive& h : registry_.hives()) test::DeleteTestKey(h);
  w.DefragClick(w);
  EXPECT_TRUE(Recorded("RegReplaceKeyA").empty());
  EXPECT_TRUE(Recorded("ExitWindowsEx").empty());
  ASSERT_EQ(boxes_.texts.size(), 2u) << "the last notice, then why nothing was scheduled";
  EXPECT_EQ(boxes_.texts[1].rfind("No hive could be scheduled for replacement, so the computer will not restart.", 0),
            0u)
      << boxes_.texts[1];
  EXPECT_NE(boxes_.texts[1].find(one.name + ": it was not copied again"), std::string::npos);
  EXPECT_EQ(test::ReadFileText(one.file + ".bak"), "an earlier backup");
}

TEST_F(DefragTest, ACancelledRestartIsAskedForOnceMoreWithoutForceAndALogOffIsNoRestart) {
  TfrmMain& w = StartAndAnalyze();
  w.Options().RestorePoint = false;
  w.Options().IsAskBeforeDefrag = false;
  w.DefragClick(w);
  ASSERT_EQ(Recorded("ExitWindowsEx").size(), 1u);
  boxes_.texts.clear();
  // Someone pressed Cancel in Windows' "programs are still running" screen.
  SendMessageA(w.Handle(), WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(recorded_.records().back(), "InitiateSystemShutdownExA\t2147614724") << "asked again, not forced";
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0].rfind("The restart was cancelled.", 0), 0u) << boxes_.texts[0];
  const std::string journal = recorded_.real().ExecutableFolder() + "varnhold-journal.txt";
  EXPECT_NE(test::ReadFileText(journal).find("Reason=the restart was cancelled"), std::string::npos);
  // The user logs off: the session ends, Windows does not restart.
  SendMessageA(w.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_NE(test::ReadFileText(journal).find("Reason=the user logged off; Windows did not restart"),
            std::string::npos);
  EXPECT_TRUE(w.SwapsPending());
}

TEST_F(DefragTest, ARestartNowThatWindowsRefusesAgainIsJournalledAgain) {
  TfrmMain& w = StartAndAnalyze();
  w.Options().RestorePoint = false;
  w.Options().IsAskBeforeDefrag = false;
  recorded_.AnswerRestarts([](const std::string&) { return false; });
  w.DefragClick(w);
  const std::string journal = recorded_.real().ExecutableFolder() + "varnhold-journal.txt";
  auto refusals = [&] {
    std::string text = test::ReadFileText(journal);
    std::size_t n = 0;
    for (std::size_t at = text.find("[Restart Not Started]"); at != std::string::npos;
         at = text.find("[Restart Not Started]", at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(refusals(), 1u) << "the run's own";
  TObject& sender = test::Control<TFlatSpeedButton>(w, "bRestartNow");
  w.RestartNowClick(sender);
  EXPECT_EQ(refusals(), 2u) << "Restart Now, refused again";
}

TEST_F(DefragTest, NoAfterTickingDontAskChangesNothingButTheSetting) {
  TfrmMain& w = StartAndAnalyze();
  auto no = test::ClickWhenShown("Defrag Now", {"cbAsk", "bCancel"});
  w.DefragClick(w);
  EXPECT_TRUE(Recorded("RegReplaceKeyA").empty());
  EXPECT_TRUE(Recorded("ExitWindowsEx").empty());
  EXPECT_NE(IniText().find("IsAskBeforeDefrag=0"), std::string::npos) << IniText();
}

TEST_F(DefragTest, OptionsOkRewritesTheFileAtOnceAndSwitchesGridLinesCancelChangesNothing) {
  TfrmMain& w = StartAndAnalyze();
  ASSERT_TRUE(w.lvMain().GridLines());
  {
    auto cancel = test::ClickWhenShown("Options", {"cbShowLines", "bCancel"});
    w.OptionsClick(w);
  }
  EXPECT_TRUE(w.Options().IsShowLine);
  EXPECT_TRUE(w.lvMain().GridLines());
  EXPECT_FALSE(recorded_.real().Exists(ini_));

  auto ok = test::ClickWhenShown("Options", {"cbShowLines", "cbCreateRestore", "bOK"});
  w.OptionsClick(w);
  EXPECT_FALSE(w.lvMain().GridLines());
  EXPECT_NE(IniText().find("IsShowLine=0"), std::string::npos);
  EXPECT_NE(IniText().find("RestorePoint=1"), std::string::npos);
}

TEST_F(DefragTest, RestorePointCreatedGoesOnWithoutAQuestion) {
  TfrmMain& w = StartAndAnalyze();
  w.Options().RestorePoint = true;
  w.Options().IsAskBeforeDefrag = false;
  w.DefragClick(w);
  EXPECT_EQ(restore_.calls, (std::vector<std::string>{"Made by Quillmere", "end 0"})) << "ended once scheduled";
  EXPECT_EQ(Recorded("RegReplaceKeyA").size(), 2u);
  ASSERT_EQ(boxes_.texts.size(), 1u) << "only the last notice";
}

// From Windows 8 on, System Restore answers a request within a day of its
// last point with that point: Windows' own (Windows Update's of this
// morning, say). Cancel at the last notice leaves it, and the user hears
// which point covers the run; a point the run made is cancelled as before.
TEST_F(DefragTest, WindowsOwnPointOfTodayIsNeverCancelledAndTheUserHearsItCoversTheRun) {
  TfrmMain& w = StartAndAnalyze();
  w.Options().RestorePoint = true;
  w.Options().IsAskBeforeDefrag = false;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t hour = 3600ull * 10000000;
  const std::uint64_t morning = ((std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime) - 2 * hour;
  restore_.points = {{8, morning - 30 * hour}, {9, morning}};
  boxes_.answer = IDCANCEL;
  w.DefragClick(w);
  EXPECT_EQ(restore_.calls, std::vector<std::string>{"Made by Quillmere"}) << "neither ended nor cancelled";
  ASSERT_EQ(boxes_.texts.size(), 2u);
  const std::string time = UserTimeOfUtc(morning);
  EXPECT_EQ(boxes_.texts[0], "Windows made no new restore point: it makes at most one a day, and its restore point of " +
                                 time + " covers this run. Varnhold leaves that point as it is.");
  EXPECT_EQ(boxes_.texts[1].rfind("Windows restarts at once", 0), 0u);
  EXPECT_TRUE(Recorded("RegReplaceKeyA").empty());
  EXPECT_NE(test::ReadFileText(recorded_.real().ExecutableFolder() + "varnhold.log")
                .find("Windows' restore point of " + time + " (sequence number 9) covers this run"),
            std::string::npos);

  restore_.calls.clear();
  boxes_.texts.clear();
  restore_.points = {{8, morning}};
  w.DefragClick(w);
  EXPECT_EQ(restore_.calls, (std::vector<std::string>{"Made by Quillmere", "end 13"}));
  EXPECT_EQ(boxes_.texts.size(), 1u) << "only the last notice";
}

// After a failed restore point only Yes goes on: No, Esc or the close box
// (IDCANCEL) and a box that could not be shown (0) stop, in a
// defragmentation and an undo alike, and each question names its own run.
TEST_F(DefragTest, RestorePointRefusedAsksAndOnlyYesGoesOn) {
  TfrmMain& w = StartAndAnalyze();
  restore_.outcome = RestoreOutcome::Refused;
  struct Case {
    RestorePointFor purpose;
    int answer;
    RestorePointStep step;
  };
  const Case cases[] = {
      {RestorePointFor::Defragmentation, IDNO, RestorePointStep::Stopped},
      {RestorePointFor::Defragmentation, IDCANCEL, RestorePointStep::Stopped},
      {RestorePointFor::Defragmentation, 0, RestorePointStep::Stopped},
      {RestorePointFor::Defragmentation, IDYES, RestorePointStep::FailedWentOn},
      {RestorePointFor::Undo, IDNO, RestorePointStep::Stopped},
      {RestorePointFor::Undo, IDCANCEL, RestorePointStep::Stopped},
      {RestorePointFor::Undo, 0, RestorePointStep::Stopped},
      {RestorePointFor::Undo, IDYES, RestorePointStep::FailedWentOn},
  };
  for (const Case& c : cases) {
    boxes_.texts.clear();
    boxes_.answer = c.answer;
    const bool undo = c.purpose == RestorePointFor::Undo;
    EXPECT_EQ(MakeRestorePoint(w.ForDialog(), c.purpose).step, c.step) << "undo " << undo << ", answer " << c.answer;
    ASSERT_EQ(boxes_.texts.size(), 1u);
    EXPECT_EQ(boxes_.texts[0].find("undo the last defragmentation?") != std::string::npos, undo) << boxes_.texts[0];
    EXPECT_EQ(boxes_.texts[0].find("Contiue to defrag?") != std::string::npos, !undo) << boxes_.texts[0];
  }
  // The whole run: Esc at the question schedules nothing and never restarts.
  w.Options().RestorePoint = true;
  w.Options().IsAskBeforeDefrag = false;
  boxes_.answer = IDCANCEL;
  w.DefragClick(w);
  EXPECT_TRUE(Recorded("RegReplaceKeyA").empty());
  EXPECT_TRUE(Recorded("ExitWindowsEx").empty());
}

// The longest static text of a shown message box: its message.
std::wstring MessageBoxText(HWND box) {
  std::wstring longest;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t text[4096] = {};
    GetWindowTextW(child, text, 4096);
    if (std::wstring(text).size() > longest.size()) longest = text;
  }
  return longest;
}

// The last word before the swaps, in German, on the real message box: read
// back from the box as Windows shows it, and left as a picture.
TEST_F(DefragTest, TheLastNoticeSpeaksTheUsersLanguage) {
  TfrmMain& w = StartAndAnalyze();
  w.Options().Lan = "German";
  w.Options().IsAskBeforeDefrag = false;
  w.Options().RestorePoint = false;
  SetMessageBoxHook({});
  std::wstring shown;
  test::AfterMs(500, [&] {
    HWND box = FindWindowW(L"#32770", L"Varnhold");
    if (!box) return;
    shown = MessageBoxText(box);
    test::SaveScreenshot(box, "last-notice-german");
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  });
  w.DefragClick(w);
  const Messages german = LoadMessages(*platform_, "German");
  const std::string text = WideToUtf8(shown);
  EXPECT_EQ(text.rfind(german.Text(IDS_SWAP_NOTICE) + "\n\n" + german.Text(IDS_SWAP_LIST), 0), 0u) << text;
  EXPECT_EQ(text.rfind("Windows startet sofort neu, sobald die unten genannten Hives", 0), 0u) << text;
  EXPECT_NE(text.find(registry_.hives()[0].name), std::string::npos) << "the hives are named as they are";
  EXPECT_TRUE(Recorded("RegReplaceKeyA").empty()) << "Cancel stops";
}

TEST_F(DefragTest, AMissingRestoreLibraryAsksTooAndYesGoesOn) {
  TfrmMain& w = StartAndAnalyze();
  w.Options().RestorePoint = true;
  w.Options().IsAskBeforeDefrag = false;
  restore_.outcome = RestoreOutcome::Unavailable;
  boxes_.answer = IDYES;
  w.DefragClick(w);
  ASSERT_GE(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0].rfind("Restore Point creation Failed!", 0), 0u);
  EXPECT_EQ(Recorded("RegReplaceKeyA").size(), 2u);
  EXPECT_EQ(Recorded("ExitWindowsEx").size(), 1u);
}

}  // namespace
}  // namespace vh
