#include "app/unattended.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fake_platform.h"

namespace vh {
namespace {

const char kProgram[] = "C:\\Program Files\\Varnhold\\varnhold.exe";

class FakeHost final : public UnattendedHost {
 public:
  bool Analyze() override {
    log.push_back("analyze");
    return complete;
  }
  DefragSummary Defragment() override {
    log.push_back("defragment");
    return defrag;
  }
  UndoSummary Undo() override {
    log.push_back("undo");
    return undo;
  }
  TotalsText Totals() override { return totals; }
  HivesReport ReportHives() override { return hives; }
  std::string NowText() override { return "12/6/2026 11:31:57 AM"; }
  void RecordFailure(const std::string& text) override { log.push_back("failure: " + text); }
  void Close() override { log.push_back("close"); }
  bool SwapsWait() override { return swapsWait; }
  bool AwaitRestart() override {
    log.push_back("await restart");
    return restartComes;
  }

  bool complete = true;
  bool swapsWait = false;
  bool restartComes = true;
  DefragSummary defrag{true, {}};
  UndoSummary undo{UndoOutcome::Restarting, UndoRefusal::None, "", "12/1/2026 9:00:00 AM", {}};
  TotalsText totals{"1,232,757 KB", "30,651 KB", "1,202,106 KB", "97.5%", 0, 975};
  HivesReport hives{"PC-0042", "10.0.19045", {}};
  std::vector<std::string> log;
};

TEST(SilentModeTest, DefragmentsOnlyAfterACompleteAnalysis) {
  FakeHost host;
  EXPECT_EQ(RunSilentMode(host), kExitDone);
  EXPECT_EQ(host.log, (std::vector<std::string>{"analyze", "defragment", "await restart", "close"}));

  FakeHost stopped;
  stopped.complete = false;
  EXPECT_EQ(RunSilentMode(stopped), kExitAnalysisIncomplete);
  EXPECT_EQ(stopped.log.size(), 3u);
  EXPECT_EQ(stopped.log[1].rfind("failure: ", 0), 0u);
  EXPECT_EQ(stopped.log[2], "close");
}

TEST(SilentModeTest, LogsEveryHiveNotScheduledAndFailsWithItsOwnCodeWhenNoneWas) {
  FakeHost partly;
  partly.defrag = {true, {"\\REGISTRY\\MACHINE\\SAM: it could not be copied again"}};
  EXPECT_EQ(RunSilentMode(partly), kExitDone) << "the scheduled hives go on";
  EXPECT_EQ(partly.log, (std::vector<std::string>{"analyze", "defragment",
                                                  "failure: Not scheduled: \\REGISTRY\\MACHINE\\SAM: it could not be "
                                                  "copied again",
                                                  "await restart", "close"}));
  FakeHost none;
  none.defrag = {false, {"A: x", "B: y"}};
  EXPECT_EQ(RunSilentMode(none), 4);
  ASSERT_EQ(none.log.size(), 6u);
  EXPECT_EQ(none.log[4], "failure: No hive was scheduled for replacement; the computer was not restarted.");
  EXPECT_EQ(none.log[5], "close");
}

TEST(SilentModeTest, BelowItsMinimumGainSchedulesNothingLogsWhyAndEndsWithItsOwnCode) {
  // The analysis shows 2.5%: reaching the minimum is enough.
  for (const auto& c : {std::pair<const char*, int>{"2.5", kExitDone}, {"2.50", kExitDone}, {"2.49", kExitDone},
                        {"0", kExitDone}, {"2.51", kExitBelowMinGain}, {"2.6", kExitBelowMinGain},
                        {"100", kExitBelowMinGain}}) {
    FakeHost host;
    host.totals.compactPercent = "2.5%";
    host.totals.compactTenths = 25;
    EXPECT_EQ(RunSilentMode(host, ParseMinGain(c.first)), c.second) << c.first;
    bool defragmented = std::find(host.log.begin(), host.log.end(), "defragment") != host.log.end();
    EXPECT_EQ(defragmented, c.second == kExitDone) << c.first;
    if (c.second == kExitBelowMinGain) {
      EXPECT_EQ(host.log, (std::vector<std::string>{
                              "analyze",
                              "failure: The compaction percentage 2.5% is below the minimum gain " +
                                  ParseMinGain(c.first)->Text() +
                                  "; no hive was scheduled for replacement and the computer was not restarted.",
                              "close"}));
    }
  }
  // Copies larger than their hives: a loss is below any minimum, 0 too.
  for (long long tenths : {-1LL, -5LL, -123LL}) {
    FakeHost host;
    host.totals.compactPercent = "-" + std::to_string(-tenths / 10) + "." + std::to_string(-tenths % 10) + "%";
    host.totals.compactTenths = tenths;
    EXPECT_EQ(RunSilentMode(host, ParseMinGain("0")), kExitBelowMinGain) << tenths;
  }
}

TEST(SilentModeTest, ARestartThatIsRefusedOrDoesNotComeAndSwapsThatWaitEachEndWithTheirCode) {
  FakeHost refused;
  refused.defrag.restarting = false;
  refused.defrag.restartFailure = "Windows refused to restart (error 21)";
  EXPECT_EQ(RunSilentMode(refused), kExitRestartNotStarted);
  EXPECT_EQ(refused.log, (std::vector<std::string>{"analyze", "defragment", "close"}))
      << "the host records the failure when it sees it, once";
  FakeHost aborted;
  aborted.restartComes = false;
  EXPECT_EQ(RunSilentMode(aborted), kExitRestartNotStarted);
  FakeHost waiting;
  waiting.swapsWait = true;
  EXPECT_EQ(RunSilentMode(waiting), kExitSwapsPending);
  EXPECT_EQ(RunUndoMode(waiting), kExitSwapsPending);
  FakePlatform fake;
  EXPECT_EQ(RunScanMode(waiting, fake, fake, "C:\\r.ini", kProgram), kExitSwapsPending);
  EXPECT_EQ(std::count(waiting.log.begin(), waiting.log.end(), "analyze"), 0);
  // Windows' servicing: the refusal, then each finding on a line of its own.
  for (bool undo : {false, true}) {
    FakeHost servicing;
    servicing.defrag.servicing = servicing.undo.servicing = {"Windows Update waits", "TrustedInstaller runs"};
    servicing.defrag.restarting = false;
    servicing.undo.outcome = UndoOutcome::ServicingPending;
    EXPECT_EQ(undo ? RunUndoMode(servicing) : RunSilentMode(servicing), kExitWindowsServicing) << undo;
    ASSERT_GE(servicing.log.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(servicing.log.end() - 3, servicing.log.end()),
              (std::vector<std::string>{"failure: Found: Windows Update waits.", "failure: Found: TrustedInstaller runs.",
                                        "close"}))
        << undo;
    EXPECT_EQ(servicing.log.end()[-4].rfind("failure: Windows is servicing itself; nothing was swapped.", 0), 0u);
  }
}

TEST(UndoModeTest, EachOutcomeEndsWithItsOwnCodeAndTheReasonsInTheLog) {
  FakeHost undone;
  undone.undo.notUndone = {"\\REGISTRY\\MACHINE\\SAM: its backup is missing"};
  EXPECT_EQ(RunUndoMode(undone), kExitDone);
  EXPECT_EQ(undone.log, (std::vector<std::string>{"undo",
                                                  "failure: Not swapped back: \\REGISTRY\\MACHINE\\SAM: its backup "
                                                  "is missing",
                                                  "failure: Undone: the defragmentation of 12/1/2026 9:00:00 AM; every "
                                                  "registry change made since then is lost at the restart.",
                                                  "await restart", "close"}));
  FakeHost nothing;
  UndoPlan notRestarted;
  notRestarted.refusal = UndoRefusal::NotRestarted;
  nothing.undo = {UndoOutcome::NothingToUndo, UndoRefusal::NotRestarted, UndoRefusalText(notRestarted)};
  EXPECT_EQ(RunUndoMode(nothing), 8);
  EXPECT_EQ(nothing.log[1], "failure: Nothing to undo: swaps wait for the restart, so the last defragmentation has "
                            "not taken effect.");
  FakeHost refused;
  refused.undo = {UndoOutcome::NothingScheduled, UndoRefusal::None, "", "", {"A: refused"}};
  EXPECT_EQ(RunUndoMode(refused), 9);
  EXPECT_EQ(refused.log.size(), 4u);
  EXPECT_EQ(refused.log[3], "close");
}

TEST(ScanModeTest, AHiveNotCopiedAddsItsCountAfterTheTime) {
  FakePlatform fake;
  FakeHost host;
  host.totals.hivesNotCopied = 2;
  EXPECT_EQ(RunScanMode(host, fake, fake, "C:\\r.ini", kProgram), kExitDone);
  EXPECT_EQ(fake.ProfileText("C:\\r.ini"),
            "[Scan Result]\r\nCurrent Size=1,232,757 KB\r\nNew Size=30,651 KB\r\nSize Reduction=1,202,106 KB\r\n"
            "Compact Percent=97.5%\r\nTime=12/6/2026 11:31:57 AM\r\nHives Not Copied=2\r\n[Scan Hives]\r\nComputer=PC-0042\r\nWindows=10.0.19045\r\nHives=0\r\n");
}

TEST(ScanModeTest, ErasesTheSectionThenWritesTheFiveKeysInOrderKeepingOtherSections) {
  FakePlatform fake;
  const std::string report = "C:\\My Reports\\r.ini";
  fake.SetProfileText(report, "[Before]\r\nA=1\r\n[Scan Result]\r\nOld=gone\r\nTime=old\r\n[After]\r\nB=2\r\n");
  FakeHost host;
  EXPECT_EQ(RunScanMode(host, fake, fake, report, kProgram), kExitDone);
  EXPECT_EQ(host.log, (std::vector<std::string>{"analyze", "close"}));
  EXPECT_EQ(fake.ProfileText(report),
            "[Before]\r\nA=1\r\n[After]\r\nB=2\r\n[Scan Result]\r\nCurrent Size=1,232,757 KB\r\nNew Size=30,651 KB\r\n"
            "Size Reduction=1,202,106 KB\r\nCompact Percent=97.5%\r\nTime=12/6/2026 11:31:57 AM\r\n[Scan Hives]\r\nComputer=PC-0042\r\nWindows=10.0.19045\r\nHives=0\r\n");
  std::vector<std::string> writes = fake.CallsNamed("WritePrivateProfileStringA");
  ASSERT_EQ(writes.size(), 10u);
  EXPECT_EQ(writes[0], "WritePrivateProfileStringA(Scan Result, NULL, NULL, " + report + ")");
}

TEST(ScanModeTest, EverySectionOfTheNameIsErasedSoNoStaleKeyOfASecondOneSurvives) {
  FakePlatform fake;
  const std::string report = "C:\\r.ini";
  fake.SetProfileText(report, "[Scan Result]\r\nOld=1\r\n[Other]\r\nA=1\r\n[scan result]\r\nStale=2\r\n"
                              "Time=old\r\n[ Scan Result ]\r\nStale3=3\r\n");
  FakeHost host;
  EXPECT_EQ(RunScanMode(host, fake, fake, report, kProgram), kExitDone);
  EXPECT_EQ(fake.ProfileText(report),
            "[Other]\r\nA=1\r\n[Scan Result]\r\nCurrent Size=1,232,757 KB\r\nNew Size=30,651 KB\r\n"
            "Size Reduction=1,202,106 KB\r\nCompact Percent=97.5%\r\nTime=12/6/2026 11:31:57 AM\r\n[Scan Hives]\r\nComputer=PC-0042\r\nWindows=10.0.19045\r\nHives=0\r\n");
}

TEST(ScanModeTest, WithoutAPathAnalysesAndWritesNothing) {
  FakePlatform fake;
  FakeHost host;
  EXPECT_EQ(RunScanMode(host, fake, fake, "", kProgram), kExitDone);
  EXPECT_TRUE(fake.CallsNamed("WritePrivateProfileStringA").empty());
  EXPECT_EQ(host.log, (std::vector<std::string>{"analyze", "close"}));
}

TEST(ScanModeTest, AnUnwritableReportIsRecordedClosesAndFails) {
  FakePlatform fake;
  fake.RefuseProfileWrites("C:\\ro\\r.ini");
  FakeHost host;
  EXPECT_EQ(RunScanMode(host, fake, fake, "C:\\ro\\r.ini", kProgram), kExitReportNotWritten);
  EXPECT_EQ(host.log, (std::vector<std::string>{"failure: Unable to write to C:\\ro\\r.ini", "close"}));
}

// The stale result is erased, and no empty totals pass for a measured
// registry: the caller reads the exit code.
TEST(ScanModeTest, AnAnalysisThatDidNotCompleteWritesNoTotalsAndEndsWithItsCode) {
  FakePlatform fake;
  fake.SetProfileText("C:\\r.ini", "[Scan Result]\r\nCurrent Size=old\r\n[Other]\r\nA=1\r\n");
  FakeHost host;
  host.complete = false;
  EXPECT_EQ(RunScanMode(host, fake, fake, "C:\\r.ini", kProgram), kExitAnalysisIncomplete);
  EXPECT_EQ(fake.ProfileText("C:\\r.ini"), "[Other]\r\nA=1\r\n");
  EXPECT_EQ(host.log, (std::vector<std::string>{"analyze", "failure: The analysis did not complete; no report was written.",
                                                "close"}));
}

TEST(ScanModeTest, TheProgramsOwnFilesAreRefusedAsTheReportBeforeAnythingIsWritten) {
  for (const char* own : {"C:\\Program Files\\Varnhold\\varnhold-journal.txt",
                          "c:/program files/varnhold/VARNHOLD.LOG", "C:\\Program Files\\Varnhold\\.\\options.ini",
                          "C:\\Program Files\\Other\\..\\Varnhold\\DLan_English.ini",
                          "C:\\Program Files\\Varnhold\\DLan_Klingon.ini", "C:\\Program Files\\Varnhold\\varnhold.exe",
                          "\\\\?\\C:\\Program Files\\Varnhold\\options.ini", "C:\\Program Files\\Varnhold\\\\options.ini. ",
                          "C:\\Program Files\\Varnhold\\options.ini::$DATA", "C:\\PROGRAM FILES\\VARNHOLD\\Varnhold.EXE"}) {
    FakePlatform fake;
    fake.SetProfileText(own, "[Defragmentation]\r\nkept=1\r\n");
    FakeHost host;
    EXPECT_EQ(RunScanMode(host, fake, fake, own, kProgram), kExitReportNotWritten) << own;
    EXPECT_TRUE(fake.CallsNamed("WritePrivateProfileStringA").empty()) << own;
    EXPECT_EQ(fake.ProfileText(own), "[Defragmentation]\r\nkept=1\r\n") << own;
    ASSERT_EQ(host.log.size(), 2u) << own;
    EXPECT_EQ(host.log[0], std::string("failure: The report file ") + own + " is one of Varnhold's own files; nothing was written.");
  }
  // The same files under other names: the identity decides.
  {
    FakePlatform fake;
    const std::string folder = "C:\\Program Files\\Varnhold\\";
    fake.AddFile("C:\\Program Files\\Varnhold").directory = true;
    fake.SetFileText(folder + "varnhold-journal.txt", "[Defragmentation]\r\n");
    fake.AddFile(folder + "DLan_German.ini", 900);
    fake.AddFile(folder + "varnhold.exe", 500000);
    fake.AddFile("C:\\Reports\\r.ini", 10);
    fake.AddName(folder + "varnhold-journal.txt", "C:\\PROGRA~1\\VARNHOLD\\VARNHO~1.TXT");
    fake.AddName(folder + "varnhold-journal.txt", "C:\\Reports\\journal.ini");
    fake.AddName(folder + "DLan_German.ini", "C:\\Reports\\lang.ini");
    fake.AddName(folder + "varnhold.exe", "C:\\Reports\\v.ini");
    fake.AddName("C:\\Program Files\\Varnhold", "C:\\Junction");
    fake.AddName("C:\\Program Files\\Varnhold", "Z:\\prefix\\drive_c\\Program Files\\Varnhold");
    for (const char* own : {"C:\\PROGRA~1\\VARNHOLD\\VARNHO~1.TXT", "C:\\Reports\\journal.ini", "C:\\Reports\\lang.ini",
                            "C:\\Reports\\v.ini", "C:\\Junction\\varnhold-journal.txt", "C:\\Junction\\DLan_New.ini",
                            "Z:\\prefix\\drive_c\\Program Files\\Varnhold\\options.ini"}) {
      FakeHost host;
      EXPECT_EQ(RunScanMode(host, fake, fake, own, kProgram), kExitReportNotWritten) << own;
    }
    EXPECT_TRUE(fake.CallsNamed("WritePrivateProfileStringA").empty());
    for (const char* other : {"C:\\Reports\\r.ini", "C:\\Junction\\report.ini", "C:\\Junction\\sub\\options.ini"}) {
      FakeHost host;
      EXPECT_EQ(RunScanMode(host, fake, fake, other, kProgram), kExitDone) << other;
    }
  }
  // Beside the program but not its own, or elsewhere under its name.
  for (const char* other : {"C:\\Program Files\\Varnhold\\report.ini", "C:\\Program Files\\Varnhold\\DLan_.ini",
                            "C:\\Program Files\\Varnhold\\sub\\options.ini", "C:\\Reports\\options.ini",
                            "C:\\Program Files\\Varnhold\\DLan_English.ini.bak", "D:\\Program Files\\Varnhold\\varnhold.log"}) {
    FakePlatform fake;
    FakeHost host;
    EXPECT_EQ(RunScanMode(host, fake, fake, other, kProgram), kExitDone) << other;
  }
}

TEST(ReportTimeTest, MidnightLeavesTheTimeOut) {
  EXPECT_EQ(ReportTimeText("12/6/2026", "11:31:57 AM", false), "12/6/2026 11:31:57 AM");
  EXPECT_EQ(ReportTimeText("12/7/2026", "12:00:00 AM", true), "12/7/2026");
}

}  // namespace
}  // namespace vh
