#include "hive/defrag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>

#include "hive/copy_check.h"
#include "hive/figures.h"
#include "lang/translation.h"
#include "hive/hive_copy.h"
#include "hive/left_alone.h"
#include "hive/pending_swaps.h"
#include "scan/scan_worker.h"
#include "hive/servicing.h"
#include "hive/swap_events.h"
#include "platform/error.h"
#include "platform/text.h"
#include "tests/support/fake_platform.h"

namespace vh {
namespace {

// Presses Stop once stopAfter hives are done, or as the stopAtShown-th hive
// is shown (copied, then checked), as the progress dialog's Stop, Esc and
// close box do; never when negative.
class QuietReporter final : public ScanReporter {
 public:
  QuietReporter(std::atomic<bool>& stop, int stopAfter, int stopAtShown = -1)
      : stop_(stop), stopAfter_(stopAfter), stopAtShown_(stopAtShown) {}
  void ShowHive(const std::string&) override {
    if (++shown_ == stopAtShown_) stop_ = true;
  }
  void HiveDone(std::uint32_t, std::int32_t done) override {
    if (stopAfter_ >= 0 && done >= stopAfter_) stop_ = true;
  }
  void Finished() override {}

 private:
  std::atomic<bool>& stop_;
  int stopAfter_;
  int stopAtShown_;
  int shown_ = 0;
};

class ScriptedDialogs final : public DefragDialogs {
 public:
  DefragConfirmation AskBeforeDefrag() override {
    log.push_back("ask");
    return {askYes, !tickDontAsk};
  }
  RestorePointMade CreateRestorePoint() override {
    log.push_back("restore point");
    return restorePoint;
  }
  bool ConfirmSwapAndRestart(const DefragPlan& plan) override {
    log.push_back("final notice " + std::to_string(plan.toSwap.size()));
    lines = plan.notSwapped;
    // Nothing may have been swapped before the last word.
    swappedBeforeNotice = !fake->CallsNamed("RegReplaceKeyA").empty();
    return confirmSwap;
  }
  // The scan worker, as the progress dialog runs it.
  FreshCopies CopyAgain(const HiveTable& hives, const AfterCopies& then) override {
    log.push_back("copy again " + std::to_string(hives.size()));
    if (beforeCopy) beforeCopy();
    std::atomic<bool> stop{stopAfter == 0};
    QuietReporter reporter(stop, stopAfter, stopAtShown);
    ScanCompletion end = RunHiveScan(fake->platform(), ScanJob{hives, false, false, "", "", then}, stop, reporter);
    return end == ScanCompletion::Stopped ? FreshCopies::Stopped : FreshCopies::Done;
  }
  void ShowNothingScheduled(const DefragReport& report) override {
    log.push_back("nothing scheduled");
    lines = report.NotScheduledLines();
  }

  FakePlatform* fake = nullptr;
  std::function<void()> beforeCopy;
  bool askYes = true;
  bool confirmSwap = true;
  bool swappedBeforeNotice = false;
  RestorePointMade restorePoint{RestorePointStep::Created, 41};
  bool tickDontAsk = false;
  int stopAfter = -1;
  int stopAtShown = -1;
  std::vector<std::string> log;
  std::vector<std::string> lines;
};

const char kSoftware[] = "C:\\WINDOWS\\system32\\config\\software";
const char kSystem[] = "C:\\WINDOWS\\system32\\config\\system";
const char kUser[] = "C:\\lsp\\NTUSER.DAT";

class DefragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.executableFolder = "C:\\V\\";  // beside options.ini
    fake.AddKey(RootKey::LocalMachine, "SOFTWARE").values = {{"a"}};
    fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Classes");
    fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Classes\\.txt").values = {{"", win::kRegSz, "txtfile"}};
    fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Classes\\.txt\\ShellNew");
    fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Classes\\.txt\\ShellNew\\Deep");
    fake.AddKey(RootKey::LocalMachine, "system");
    fake.AddKey(RootKey::LocalMachine, "system\\ControlSet001\\Services");
    fake.AddKey(RootKey::LocalMachine, "system\\ControlSet001");
    fake.AddKey(RootKey::LocalMachine, "system\\ControlSet001\\Control");
    fake.AddKey(RootKey::LocalMachine, "system\\CurrentControlSet").isLink = true;
    fake.AddKey(RootKey::LocalMachine, "system\\MountedDevices").isVolatile = true;
    fake.AddKey(RootKey::LocalMachine, "system\\Select").values = {{"Current", win::kRegDword, std::string("\x01\0\0\0", 4)}};
    fake.AddKey(RootKey::LocalMachine, "system\\ControlSet001\\Control\\Session Manager");
    fake.AddKey(RootKey::Users, "S-1-5-19");
    fake.AddKey(RootKey::Users, "S-1-5-19\\Volatile Environment").isVolatile = true;
    fake.AddKey(RootKey::Users, "S-1-5-19\\Software");
    hives.Append("\\REGISTRY\\MACHINE\\SOFTWARE", kSoftware);
    hives.Append("\\registry\\machine\\system", kSystem);
    hives.Append("\\REGISTRY\\USER\\S-1-5-19", kUser);
    hives.ProfileSids = {"S-1-5-18", "S-1-5-19", "S-1-5-20"};
    for (std::size_t i = 0; i < hives.size(); ++i) fake.AddLoadedHive(hives.HiveNames[i], hives.HiveFiles[i]);
    Analyse();
    options = {true, true, false, "English"};
    dialogs.fake = &fake;
    fake.calls.clear();
  }
  // The analysis' copies.
  void Analyse() {
    for (std::size_t i = 0; i < hives.size(); ++i)
      SaveHiveCopy(fake, fake, hives.HiveNames[i], CopyPath(hives.HiveFiles[i]));
  }
  // The next start, and a new analysis on it.
  void NextStart() {
    fake.Restart();
    Analyse();
    fake.calls.clear();
  }
  DefragOutcome Run(bool unattended = false, std::uint8_t code = 12, bool keepCopies = false) {
    DefragRun run{fake.platform(), hives, options, unattended, code, dialogs, keepCopies};
    JournalWriter journal{fake, fake, JournalPath(fake), [] { return std::string("now"); },
                          [this](const std::string& line) { logged.push_back(line); }};
    run.journal = &journal;
    DefragOutcome outcome = DefragRegistry(run);
    report = run.report;
    options = run.options;  // as the window keeps them
    return outcome;
  }
  // The calls that change or load something, in order.
  std::vector<std::string> MachineCalls() const {
    std::vector<std::string> out;
    for (const std::string& c : fake.calls)
      for (const char* name : {"RegSaveKeyA", "RegLoadKeyA", "RegUnLoadKeyA", "RegReplaceKeyA", "DeleteFileA",
                               "MoveFileA", "EnablePrivilege", "ExitWindowsEx", "InitiateSystemShutdownExA"})
        if (c.rfind(name, 0) == 0) out.push_back(c);
    return out;
  }
  std::vector<std::string> Swapped() const { return fake.CallsNamed("RegReplaceKeyA"); }

  const std::string ini = "C:\\V\\options.ini";
  FakePlatform fake;
  HiveTable hives;
  TOptionsSetting options;
  ScriptedDialogs dialogs;
  DefragReport report;
  std::vector<std::string> logged;
  std::vector<JournalEntry> Journal() { return ParseJournal(fake.FileText(JournalPath(fake))); }
};

TEST_F(DefragTest, YesCopiesEveryHiveAgainChecksEachThenSwapsEachThenRestarts) {
  fake.AddFile(std::string(kSystem) + ".bak", 5);
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "final notice 3", "copy again 3"}));
  EXPECT_FALSE(dialogs.swappedBeforeNotice);
  const std::string sw = kSoftware, sy = kSystem, us = kUser;
  EXPECT_EQ(MachineCalls(), (std::vector<std::string>{
                                "DeleteFileA(" + sw + ".hvz)", "DeleteFileA(" + sy + ".hvz)",
                                "DeleteFileA(" + us + ".hvz)",
                                "EnablePrivilege(SeBackupPrivilege, 0x28)",
                                "RegSaveKeyA(" + sw + ".hvz)", "RegSaveKeyA(" + sy + ".hvz)",
                                "RegSaveKeyA(" + us + ".hvz)",
                                "EnablePrivilege(SeBackupPrivilege, 0x28)",
                                "EnablePrivilege(SeRestorePrivilege, 0xF00FF)",
                                "RegLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck, " + sw + ".hvz)",
                                "RegUnLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck)",
                                "RegLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck, " + sy + ".hvz)",
                                "RegUnLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck)",
                                "RegLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck, " + us + ".hvz)",
                                "RegUnLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck)",
                                "EnablePrivilege(SeShutdownPrivilege, 0x28)",
                                "RegReplaceKeyA(HKEY_LOCAL_MACHINE, SOFTWARE, " + sw + ".hvz, " + sw + ".bak)",
                                "MoveFileA(" + sy + ".bak, " + sy + ".bak.old)",
                                "RegReplaceKeyA(HKEY_LOCAL_MACHINE, system, " + sy + ".hvz, " + sy + ".bak)",
                                "DeleteFileA(" + sy + ".bak.old)",
                                "RegReplaceKeyA(HKEY_USERS, S-1-5-19, " + us + ".hvz, " + us + ".bak)",
                                "EnablePrivilege(SeShutdownPrivilege, 0x28)", "ExitWindowsEx(6, 2147614724)"}));
  EXPECT_EQ(report.Scheduled(), 3);
  for (const HiveResult& h : report.hives) EXPECT_EQ(h.replaceResult, 0) << h.hiveName;
  EXPECT_NE(fake.ProfileText(ini).find("IsAskBeforeDefrag=1"), std::string::npos) << "saved after the question";
  // Windows renamed at once: the copy is the hive file now, the live file
  // its backup; the earlier backup is gone only because the swap took.
  EXPECT_FALSE(fake.HasFile(std::string(kSoftware) + ".hvz"));
  EXPECT_TRUE(fake.FindFile(std::string(kSystem) + ".bak")->locked);
  EXPECT_FALSE(fake.HasFile(std::string(kSystem) + ".bak.old"));
  // Swapped in as the fresh copies were saved: each in its hive's own format.
  EXPECT_EQ(fake.FindFile(kSoftware)->format, HiveFormat::Latest);
  EXPECT_EQ(fake.FindFile(kSystem)->format, HiveFormat::Latest);
  EXPECT_EQ(fake.FindFile(kUser)->format, HiveFormat::Standard);
}

TEST_F(DefragTest, TheSwappedCopyHoldsWhatChangedAfterTheAnalysis) {
  dialogs.beforeCopy = [this] { fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Installed Later"); };
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  const FakeHive* swapped = fake.SavedHive(kSoftware);
  ASSERT_NE(swapped, nullptr);
  EXPECT_EQ(swapped->count("INSTALLED LATER"), 1u);
}

TEST_F(DefragTest, AHiveTheAnalysisCouldNotCopyIsNeitherCopiedNorSwappedAndKeepsItsBackup) {
  fake.RemoveFile(std::string(kSystem) + ".hvz");
  fake.AddFile(std::string(kSystem) + ".bak", 5);
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "final notice 2", "copy again 2"}));
  EXPECT_EQ(dialogs.lines, std::vector<std::string>{"\\registry\\machine\\system: it has no copy from the analysis"});
  EXPECT_EQ(Swapped().size(), 2u);
  EXPECT_TRUE(fake.HasFile(std::string(kSystem) + ".bak"));
  EXPECT_TRUE(fake.CallsNamed("RegSaveKeyA(" + std::string(kSystem)).empty());
}

// The last notice names each hive's reason in the user's language, a place
// filled where the translation puts it; the report and the event log keep
// the English.
TEST_F(DefragTest, TheLastNoticeGivesTheReasonsInTheUsersLanguageAndTheRecordsKeepEnglish) {
  fake.RemoveFile(std::string(kSystem) + ".hvz");
  hives.Append("\\REGISTRY\\MACHINE\\SAM", "C:\\Windows\\System32\\config\\SAM");
  options.Lan = "German";
  fake.SetProfileText(LanguageFilePath(fake.ExecutableFolder(), "German"),
                      "[ResourceString]\r\nRES_No_Analysis_Copy=er hat keine Kopie aus der Analyse\r\n"
                      "RES_Left_Alone_Sam_Why=nie gepr\xFC" "ft\r\n");
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.lines, (std::vector<std::string>{"\\registry\\machine\\system: er hat keine Kopie aus der Analyse",
                                                     "\\REGISTRY\\MACHINE\\SAM: nie gepr\u00FC" "ft"}));
  EXPECT_EQ(report.NotScheduledLines().at(0), "\\registry\\machine\\system: it has no copy from the analysis");
  bool englishEvent = false;
  for (const auto& event : fake.events)
    for (const std::string& text : event.strings) englishEvent |= text.find("it has no copy from the analysis") != std::string::npos;
  EXPECT_TRUE(englishEvent) << "the event log reads the English reason";
  const Messages german(LanguageFile("[ResourceString]\r\nRES_Left_Alone_Sam=ausgelassen\r\n", 1252));
  EXPECT_EQ(ComputeFigures(fake, hives, ".", german).rows.back().newSize, "ausgelassen") << "the hive list's cell";
}

// Every reason a hive is not swapped, as a box shows it in the user's
// language and as the logs and the event log keep it in English, word for
// word as it has always been written there.
TEST_F(DefragTest, EveryReasonIsInTheUsersLanguageInABoxAndInItsOwnEnglishInTheLogs) {
  const Messages german(LanguageFile(
      "[ResourceString]\r\n"
      "RES_Check_Key_Missing=die Kopie weicht ab: Schlüssel %1 fehlt\r\n"
      "RES_Check_Root_Values=die Kopie weicht ab: der Stamm hat %1 Werte, die Kopie %2\r\n"
      "RES_Check_Key_Copy_Only=die Kopie weicht ab: Schlüssel %1 nur in der Kopie\r\n"
      "RES_Check_Copy_Not_A_Hive=die Kopie lädt nicht (Fehler %1)\r\n"
      "RES_Copy_Changed=Kopie nach der Prüfung geändert\r\n"
      "RES_Swap_Refused=Austausch abgelehnt (Fehler %1)\r\n"
      "RES_Held_Servicing=Windows wird gewartet: %1\r\n"
      "RES_Servicing_Installer=Windows Installer installiert\r\n"
      "RES_Servicing_Modules=TrustedInstaller läuft\r\n"
      "RES_Held_Not_Marked=Wartemarke nicht geschrieben\r\n"
      "RES_Copies_Stopped=neues Kopieren angehalten\r\n"
      "RES_Held_Not_Recorded=Journal nicht geschrieben\r\n",
      1252));
  const std::string software = "\\REGISTRY\\MACHINE\\SOFTWARE: ", system = "\\registry\\machine\\system: ",
                    user = "\\REGISTRY\\USER\\S-1-5-19: ";
  int unloads = 0;
  struct Row {
    const char* what;
    std::function<void()> arrange;
    DefragOutcome outcome;
    std::size_t line;  // the line compared, of those not scheduled
    std::string german;
    std::string english;
    bool copiesAgain = false;  // else unattended, on the analysis' copies as arranged
  };
  const Row rows[] = {
      {"a key missing from the copy",
       [&] { fake.SavedHive(std::string(kSoftware) + ".hvz")->erase("CLASSES\\.TXT\\SHELLNEW"); },
       DefragOutcome::Restarting, 0, software + "die Kopie weicht ab: Schlüssel Classes\\.txt\\ShellNew fehlt",
       software + "the copy does not match the registry: key Classes\\.txt\\ShellNew is missing from the copy"},
      {"a value more at the copy's root",
       [&] { fake.SavedHive(std::string(kUser) + ".hvz")->at("").values.push_back({"extra"}); },
       DefragOutcome::Restarting, 0, user + "die Kopie weicht ab: der Stamm hat 0 Werte, die Kopie 1",
       user + "the copy does not match the registry: the hive's root key has 0 values, its copy 1"},
      {"a key in the copy only",
       [&] { (*fake.SavedHive(std::string(kSystem) + ".hvz"))["SELECT\\EXTRA"] = FakeKey{}; },
       DefragOutcome::Restarting, 0, system + "die Kopie weicht ab: Schlüssel Select\\EXTRA nur in der Kopie",
       system + "the copy does not match the registry: key Select\\EXTRA is in the copy only"},
      {"a copy that does not load", [&] { fake.SavedHive(std::string(kSoftware) + ".hvz")->clear(); },
       DefragOutcome::Restarting, 0, software + "die Kopie lädt nicht (Fehler 1017)",
       software + "the copy does not load as a hive (error 1017)"},
      {"a copy changed after its check",
       [&] {
         fake.onCall = [&](const std::string& call) {
           if (call.rfind("RegCreateKeyExW", 0) != 0) return;
           fake.RemoveFile(std::string(kSystem) + ".hvz");
           fake.AddFile(std::string(kSystem) + ".hvz", 4096);
         };
       },
       DefragOutcome::Restarting, 0, system + "Kopie nach der Prüfung geändert",
       system + "its copy changed after the check"},
      {"a refused swap", [&] { fake.refusedSwaps = {"SYSTEM"}; }, DefragOutcome::Restarting, 0,
       system + "Austausch abgelehnt (Fehler 5)", system + "Windows refused to schedule the swap (error 5)"},
      {"servicing found right before the swaps",
       [&] {
         fake.onCall = [&](const std::string& call) {
           if (call.rfind("RegUnLoadKeyA", 0) != 0 || ++unloads != 3) return;
           fake.mutexes = {"Global\\_MSIExecute"};
           fake.runningServices = {"TrustedInstaller"};
         };
       },
       DefragOutcome::ServicingPending, 0,
       software + "Windows wird gewartet: Windows Installer installiert; TrustedInstaller läuft",
       software + "Windows is servicing itself: Windows Installer is installing a program; the Windows Modules "
                  "Installer (TrustedInstaller) is running"},
      {"the waiting key not written", [&] { fake.refusedKeys = {UpperAscii(kSwapsWaitingKey)}; },
       DefragOutcome::NotRecorded, 2, user + "Wartemarke nicht geschrieben",
       user + "the program's own registry key that marks swaps waiting for the restart could not be written"},
      {"fresh copies stopped", [&] { dialogs.stopAfter = 1; }, DefragOutcome::Stopped, 0,
       software + "neues Kopieren angehalten", software + "the fresh copies were stopped", true},
      // Last: the fake cannot take a refused journal back.
      {"the journal not written", [&] { fake.RefuseAppends(JournalPath(fake)); }, DefragOutcome::NotRecorded, 0,
       software + "Journal nicht geschrieben",
       software + "the journal could not be written, and no swap is made without its record"},
  };
  for (const Row& row : rows) {
    NextStart();
    fake.onCall = nullptr;
    fake.refusedSwaps.clear();
    fake.refusedKeys.clear();
    fake.mutexes.clear();
    fake.runningServices.clear();
    dialogs.stopAfter = -1;
    unloads = 0;
    row.arrange();
    EXPECT_EQ(Run(!row.copiesAgain, 12, !row.copiesAgain), row.outcome) << row.what;
    fake.onCall = nullptr;
    const std::vector<std::string> shown = report.NotScheduledLines(&german), logged = report.NotScheduledLines();
    ASSERT_EQ(shown.size(), logged.size()) << row.what;
    ASSERT_LT(row.line, shown.size()) << row.what;
    EXPECT_EQ(shown[row.line], row.german) << row.what;
    EXPECT_EQ(logged[row.line], row.english) << row.what;
    for (std::size_t i = 0; i < shown.size(); ++i)
      EXPECT_NE(shown[i], logged[i]) << row.what << ": no English in the box";
  }
}

TEST_F(DefragTest, AHiveThatCannotBeCopiedAgainIsNotSwappedEvenWithItsOldCopy) {
  fake.AddKey(RootKey::Users, "S-1-5-19").saveError = 5;
  fake.AddFile(std::string(kUser) + ".bak", 5);
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_EQ(report.NotScheduledLines(), std::vector<std::string>{"\\REGISTRY\\USER\\S-1-5-19: it was not copied again"});
  EXPECT_FALSE(fake.HasFile(std::string(kUser) + ".hvz")) << "the stale copy is gone";
  EXPECT_TRUE(fake.HasFile(std::string(kUser) + ".bak"));
  EXPECT_EQ(Swapped().size(), 2u);
}

TEST_F(DefragTest, ACopyThatDoesNotLoadIsNotSwappedAndIsDeleted) {
  fake.SavedHive(std::string(kSoftware) + ".hvz")->clear();  // garbage on disk
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  ASSERT_EQ(report.hives.size(), 3u);
  EXPECT_EQ(report.hives[0].outcome, HiveOutcome::CheckFailed);
  EXPECT_EQ(report.hives[0].reason.English(), "the copy does not load as a hive (error 1017)");
  EXPECT_EQ(report.hives[0].replaceResult, -1);
  EXPECT_FALSE(fake.HasFile(std::string(kSoftware) + ".hvz"));
  EXPECT_EQ(Swapped().size(), 2u);
  EXPECT_EQ(dialogs.log, std::vector<std::string>{"copy again 0"}) << "unattended: checked under the hidden window only";
  EXPECT_FALSE(fake.PendingSwaps().count("HKEY_LOCAL_MACHINE\\SOFTWARE"));
}

TEST_F(DefragTest, ACopyMissingAKeyOrAValueIsNotSwapped) {
  fake.SavedHive(std::string(kSoftware) + ".hvz")->erase("CLASSES\\.TXT\\SHELLNEW");
  fake.SavedHive(std::string(kUser) + ".hvz")->at("").values.push_back({"extra"});
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  ASSERT_EQ(report.hives.size(), 3u);
  EXPECT_EQ(report.hives[0].reason.English(), "the copy does not match the registry: key Classes\\.txt\\ShellNew is missing "
                                    "from the copy");
  EXPECT_EQ(report.hives[1].outcome, HiveOutcome::Scheduled) << "volatile key and link left out by design";
  EXPECT_EQ(report.hives[2].reason.English(),
            "the copy does not match the registry: the hive's root key has 0 values, its copy 1");
  EXPECT_EQ(Swapped().size(), 1u);
}

TEST_F(DefragTest, AKeyWithoutSubkeysOnOneSideIsStillComparedByName) {
  // Live, Select has no subkeys; its copy has one. And the other way round:
  // the user hive's copy lost the root's only saved subkey.
  (*fake.SavedHive(std::string(kSystem) + ".hvz"))["SELECT\\EXTRA"] = FakeKey{};
  fake.SavedHive(std::string(kUser) + ".hvz")->erase("SOFTWARE");
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  ASSERT_EQ(report.hives.size(), 3u);
  EXPECT_EQ(report.hives[0].outcome, HiveOutcome::Scheduled) << report.hives[0].reason.English();
  EXPECT_EQ(report.hives[1].reason.English(), "the copy does not match the registry: key Select\\EXTRA is in the copy only");
  EXPECT_EQ(report.hives[2].reason.English(), "the copy does not match the registry: key Software is missing from the copy");
}

// A key whose ACL shuts the administrators out is read on both sides as a
// backup program reads it, with the backup privilege; without it, the key
// cannot be compared and the hive is not swapped.
TEST_F(DefragTest, AKeyTheAdministratorsMayNotReadIsComparedWithTheBackupPrivilege) {
  struct Row {
    bool backupHeld;
    int scheduled;
    std::string reason;  // the software hive's
  } rows[] = {
      {true, 3, ""},
      {false, 2, "the copy does not match the registry: key Classes\\.txt cannot be opened in both"},
  };
  for (const Row& row : rows) {
    fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Classes\\.txt").deniesAdministrators = true;
    fake.privilegesNotHeld.clear();
    if (!row.backupHeld) fake.privilegesNotHeld = {"SeBackupPrivilege"};
    NextStart();
    EXPECT_EQ(Run(), DefragOutcome::Restarting) << row.backupHeld;
    EXPECT_EQ(report.Scheduled(), row.scheduled) << row.backupHeld;
    ASSERT_EQ(report.hives.size(), 3u);
    EXPECT_EQ(report.hives[0].reason.English(), row.reason) << row.backupHeld;
    EXPECT_EQ(fake.CallsNamed("RegOpenKeyExA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck\\Classes, "
                              "REG_OPTION_BACKUP_RESTORE").size(),
              row.backupHeld ? 1u : 0u)
        << "the copy's side too";
  }
}

TEST_F(DefragTest, DifferencesBelowTheSecondLevelOrInKeysWrittenSinceTheCopyPass) {
  fake.SavedHive(std::string(kSoftware) + ".hvz")->erase("CLASSES\\.TXT\\SHELLNEW\\DEEP");  // level 4
  fake.SavedHive(std::string(kSoftware) + ".hvz")->at("CLASSES\\.TXT").values.clear();
  fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Classes\\.txt").lastWrite = 99;  // written since
  fake.AddKey(RootKey::LocalMachine, "system\\Select").values.push_back({"Later"});
  fake.AddKey(RootKey::LocalMachine, "system\\Select").lastWrite = 99;
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  EXPECT_EQ(report.Scheduled(), 3) << report.NotScheduledLines()[0];
}

TEST_F(DefragTest, ARootLoadedWithTheTimeOfItsLoadIsJudgedByTheCopyFilesTime) {
  // As Wine loads a copy: its root carries the time of the load.
  fake.SavedHive(std::string(kUser) + ".hvz")->at("").lastWrite = 50;
  FakeKey& live = fake.AddKey(RootKey::Users, "S-1-5-19");
  live.values.push_back({"after the copy"});
  live.lastWrite = 20;  // the copy file was written at 10
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  EXPECT_EQ(report.hives[2].outcome, HiveOutcome::Scheduled) << report.hives[2].reason.English();
  NextStart();
  FakeKey& later = fake.AddKey(RootKey::Users, "S-1-5-19");
  later.values = {{"after the copy"}};
  later.lastWrite = 5;  // before the copy: the copy should hold that value
  Analyse();
  fake.SavedHive(std::string(kUser) + ".hvz")->at("").values.clear();
  fake.SavedHive(std::string(kUser) + ".hvz")->at("").lastWrite = 50;
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  EXPECT_EQ(report.hives[2].reason.English(),
            "the copy does not match the registry: the hive's root key has 1 values, its copy 0");
}

TEST_F(DefragTest, WithoutAFlagsQueryRegSaveKeyItselfIsAskedWhetherItLeavesAKeyOut) {
  fake.tellsKeyKinds = false;
  fake.AddKey(RootKey::LocalMachine, "system\\MountedDevices").values = {{"\\DosDevices\\C:"}};
  // Volatile Environment holds nothing: saved on its own it would look the
  // same whether volatile or not.
  fake.calls.clear();
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  ASSERT_EQ(report.hives.size(), 3u);
  EXPECT_EQ(report.hives[0].outcome, HiveOutcome::Scheduled);
  EXPECT_EQ(report.hives[1].outcome, HiveOutcome::Scheduled) << report.hives[1].reason.English();
  EXPECT_EQ(report.hives[2].reason.English(), "the copy does not match the registry: key Volatile Environment is missing from "
                                    "the copy (the system cannot tell whether it is volatile)");
  const std::string sy = kSystem;
  std::vector<std::string> calls = MachineCalls();
  std::vector<std::string> probe;
  for (const std::string& c : calls)
    if (c.find(".hvz.key") != std::string::npos || c.find("VarnholdKeyCheck") != std::string::npos) probe.push_back(c);
  EXPECT_EQ(probe, (std::vector<std::string>{"RegSaveKeyA(" + sy + ".hvz.key)",
                                             "RegLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdKeyCheck, " + sy + ".hvz.key)",
                                             "RegUnLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdKeyCheck)",
                                             "DeleteFileA(" + sy + ".hvz.key)"}));
  EXPECT_FALSE(fake.HasFile(sy + ".hvz.key"));

  // A key that cannot be saved on its own stays unexplained.
  NextStart();
  fake.AddKey(RootKey::LocalMachine, "system\\MountedDevices") = FakeKey{};
  fake.AddKey(RootKey::LocalMachine, "system\\MountedDevices").isVolatile = true;
  fake.AddKey(RootKey::LocalMachine, "system\\MountedDevices").values = {{"\\DosDevices\\C:"}};
  fake.AddKey(RootKey::LocalMachine, "system\\MountedDevices").saveError = 5;
  Analyse();
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  EXPECT_EQ(report.hives[1].outcome, HiveOutcome::CheckFailed);
}

TEST_F(DefragTest, BelowAKeyWrittenSinceTheCopyTheSubkeysAreStillCompared) {
  // The root written after the copy: its own counts may differ, but a key
  // lost below it is still found.
  fake.AddKey(RootKey::LocalMachine, "SOFTWARE").lastWrite = 99;
  fake.AddKey(RootKey::LocalMachine, "SOFTWARE").values.push_back({"new"});
  fake.SavedHive(std::string(kSoftware) + ".hvz")->erase("CLASSES\\.TXT\\SHELLNEW");
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  EXPECT_EQ(report.hives[0].reason.English(), "the copy does not match the registry: key Classes\\.txt\\ShellNew is missing "
                                    "from the copy");
}

TEST_F(DefragTest, TheProbeOfAMissingKeyIsNeverWrittenThroughALinkAndCopiesAreReadableOnlyByTheirOwners) {
  fake.tellsKeyKinds = false;
  fake.AddKey(RootKey::LocalMachine, "system\\MountedDevices").values = {{"\\DosDevices\\C:"}};
  fake.AddLink(std::string(kSystem) + ".hvz.key");
  // The analysis' copies: administrators and SYSTEM, and a user for the hive
  // of that user.
  const FakeFile* user = fake.FindFile(std::string(kUser) + ".hvz");
  ASSERT_NE(user, nullptr);
  EXPECT_TRUE(user->restricted);
  EXPECT_EQ(user->reader, "S-1-5-19");
  EXPECT_TRUE(fake.FindFile(std::string(kSoftware) + ".hvz")->restricted);
  EXPECT_EQ(fake.FindFile(std::string(kSoftware) + ".hvz")->reader, "");
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  EXPECT_TRUE(fake.CallsNamed("RegSaveKeyA(" + std::string(kSystem) + ".hvz.key").empty());
  EXPECT_EQ(report.hives[1].outcome, HiveOutcome::CheckFailed) << "unexplained, so not swapped";
}

TEST_F(DefragTest, AKeyWhoseOwnSaveHoldsSomethingIsMissingForReal) {
  fake.tellsKeyKinds = false;
  fake.SavedHive(std::string(kSoftware) + ".hvz")->erase("CLASSES\\.TXT");
  fake.SavedHive(std::string(kSoftware) + ".hvz")->erase("CLASSES\\.TXT\\SHELLNEW");
  fake.SavedHive(std::string(kSoftware) + ".hvz")->erase("CLASSES\\.TXT\\SHELLNEW\\DEEP");
  Run(true, 12, true);
  EXPECT_EQ(report.hives[0].reason.English(), "the copy does not match the registry: key Classes\\.txt is missing from the "
                                    "copy") << "its own save holds it: no volatile key";
}

TEST_F(DefragTest, TheLogFilesOfALoadedCopyGoWithItsUnload) {
  const std::string copy = std::string(kUser) + ".hvz";
  fake.AddFile(copy + ".LOG");  // Windows XP's
  fake.AddFile(copy + ".LOG1");
  fake.AddFile(copy + ".LOG2");
  fake.AddFile(copy + ".LOG2.keep");
  CopyCheck check = CheckHiveCopy(fake, fake, "\\REGISTRY\\USER\\S-1-5-19", copy, false);
  EXPECT_TRUE(check.passed) << check.reason.English();
  std::vector<std::string> calls = MachineCalls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[1], "RegUnLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck)");
  EXPECT_EQ(calls[2], "DeleteFileA(" + copy + ".LOG)");
  EXPECT_EQ(calls[3], "DeleteFileA(" + copy + ".LOG1)");
  EXPECT_EQ(calls[4], "DeleteFileA(" + copy + ".LOG2)");
  EXPECT_TRUE(fake.HasFile(copy));
  EXPECT_TRUE(fake.HasFile(copy + ".LOG2.keep"));
}

TEST_F(DefragTest, AStaleCheckKeyIsUnloadedBeforeTheCheck) {
  ASSERT_EQ(fake.LoadKey(RootKey::LocalMachine, kCheckKeyName, std::string(kUser) + ".hvz"), 0);
  fake.calls.clear();
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  std::vector<std::string> calls = MachineCalls();
  auto unload = std::find(calls.begin(), calls.end(), "RegUnLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck)");
  ASSERT_LT(unload + 1, calls.end());
  EXPECT_EQ(std::find_if(calls.begin(), unload, [](const std::string& c) { return c.rfind("RegLoadKeyA", 0) == 0; }),
            unload) << "unloaded before any load";
  EXPECT_EQ(unload[1].rfind("RegLoadKeyA", 0), 0u);
  EXPECT_EQ(report.Scheduled(), 3);

  NextStart();
  ASSERT_EQ(fake.LoadKey(RootKey::LocalMachine, kCheckKeyName, std::string(kUser) + ".hvz"), 0);
  fake.calls.clear();
  ReleaseStaleCheckKey(fake, fake);
  EXPECT_EQ(MachineCalls(), (std::vector<std::string>{"EnablePrivilege(SeBackupPrivilege, 0x28)",
                                                     "EnablePrivilege(SeRestorePrivilege, 0xF00FF)",
                                                     "RegUnLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck)"}));
  fake.calls.clear();
  ReleaseStaleCheckKey(fake, fake);
  EXPECT_TRUE(MachineCalls().empty()) << "nothing loaded, nothing done";
}

TEST_F(DefragTest, ARefusedSwapKeepsItsOldBackupAndNothingWaitsBetweenTheSwapsAndTheRestart) {
  fake.refusedSwaps = {"SYSTEM"};
  fake.AddFile(std::string(kSystem) + ".bak", 5);
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "final notice 3", "copy again 3"}));
  ASSERT_EQ(report.hives.size(), 3u);
  EXPECT_EQ(report.hives[1].outcome, HiveOutcome::ReplaceRefused);
  EXPECT_EQ(report.hives[1].replaceResult, 5);
  EXPECT_EQ(report.NotScheduledLines(),
            std::vector<std::string>{"\\registry\\machine\\system: Windows refused to schedule the swap (error 5)"});
  EXPECT_EQ(fake.EntrySize(std::string(kSystem) + ".bak"), 5) << "put back after the refusal";
  EXPECT_FALSE(fake.HasFile(std::string(kSystem) + ".bak.old"));
}

TEST_F(DefragTest, NothingScheduledMeansNoRestartAndTheUserIsToldWhy) {
  fake.refusedSwaps = {"SOFTWARE", "SYSTEM", "S-1-5-19"};
  EXPECT_EQ(Run(), DefragOutcome::NothingScheduled);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "final notice 3", "copy again 3", "nothing scheduled"}));
  EXPECT_EQ(dialogs.lines.size(), 3u);
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty());
  dialogs.log.clear();
  EXPECT_EQ(Run(true), DefragOutcome::NothingScheduled);
  EXPECT_TRUE(dialogs.log == std::vector<std::string>{"copy again 3"}) << "unattended: nothing shown";
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty());
}

TEST_F(DefragTest, NoAfterTickingDontAskReplacesNothingButStoresTheTick) {
  dialogs.askYes = false;
  dialogs.tickDontAsk = true;
  EXPECT_EQ(Run(), DefragOutcome::Declined);
  EXPECT_TRUE(MachineCalls().empty());
  EXPECT_NE(fake.ProfileText(ini).find("IsAskBeforeDefrag=0"), std::string::npos);
  dialogs.log.clear();
  EXPECT_EQ(Run(), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"final notice 3", "copy again 3"})) << "no question the next time";
}

TEST_F(DefragTest, CancelAtTheLastNoticeTouchesNothingAndCancelsTheRestorePoint) {
  options.RestorePoint = true;
  dialogs.confirmSwap = false;
  EXPECT_EQ(Run(false, 9), DefragOutcome::Declined);
  EXPECT_TRUE(fake.CallsNamed("RegSaveKeyA").empty());
  EXPECT_TRUE(Swapped().empty());
  EXPECT_EQ(fake.CallsNamed("SRSetRestorePointA"), std::vector<std::string>{"SRSetRestorePointA(101, 13, 41, )"});
  EXPECT_TRUE(Journal().empty());
}

// A point Windows already had (from Windows 8 on, its point of the last
// day) is never ended nor cancelled, however the run ends: the journal says
// "reused", and the log which point covers the run.
TEST_F(DefragTest, AReusedRestorePointIsNeverEndedNorCancelled) {
  options.RestorePoint = true;
  const std::string load = "RegLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck, ";
  struct Row {
    const char* what;
    std::function<void()> set;
    DefragOutcome outcome;
  } rows[] = {
      {"cancel at the last notice", [&] { dialogs.confirmSwap = false; }, DefragOutcome::Declined},
      {"stopped during the fresh copies", [&] { dialogs.stopAfter = 1; }, DefragOutcome::Stopped},
      {"every check failing",
       [&] {
         fake.onCall = [&](const std::string& call) {
           if (call.rfind(load, 0) == 0)
             fake.SavedHive(call.substr(load.size(), call.size() - load.size() - 1))->clear();
         };
       },
       DefragOutcome::NothingScheduled},
      {"swapped", [] {}, DefragOutcome::Restarting},
  };
  for (const Row& row : rows) {
    NextStart();
    fake.onCall = nullptr;
    dialogs = ScriptedDialogs();
    dialogs.fake = &fake;
    dialogs.restorePoint = {RestorePointStep::Reused, 40, "12/7/2026 8:02:11 AM"};
    logged.clear();
    row.set();
    EXPECT_EQ(Run(false, 12), row.outcome) << row.what;
    EXPECT_TRUE(fake.CallsNamed("SRSetRestorePointA").empty()) << row.what;
    EXPECT_EQ(logged, std::vector<std::string>{"System Restore made no new restore point: Windows' restore point of "
                                               "12/7/2026 8:02:11 AM (sequence number 40) covers this run, and was "
                                               "left as it is."})
        << row.what;
    if (row.outcome != DefragOutcome::Declined) {
      EXPECT_EQ(Journal().back().restorePoint, RestorePointStep::Reused) << row.what;
    }
  }
}

TEST_F(DefragTest, RestorePointOnlyWhenAskedOnASystemThatOffersItAndBeforeTheCopies) {
  options.RestorePoint = true;
  EXPECT_EQ(Run(false, 7), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "final notice 3", "copy again 3"}));
  dialogs.log.clear();
  NextStart();
  EXPECT_EQ(Run(false, 9), DefragOutcome::Restarting) << ::testing::PrintToString(report.NotScheduledLines());
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "restore point", "final notice 3", "copy again 3"}));
  // The change the point opened is closed once the swaps are scheduled.
  EXPECT_EQ(fake.CallsNamed("SRSetRestorePointA"), std::vector<std::string>{"SRSetRestorePointA(101, 0, 41, )"});
  dialogs.log.clear();
  NextStart();
  dialogs.restorePoint = {RestorePointStep::Stopped, 0};
  EXPECT_EQ(Run(false, 9), DefragOutcome::RestorePointCancelled);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "restore point"}));
  EXPECT_TRUE(MachineCalls().empty());
}

TEST_F(DefragTest, UnattendedRightAfterItsAnalysisKeepsTheCopiesAndAsksNothing) {
  options.RestorePoint = true;
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  EXPECT_EQ(dialogs.log, std::vector<std::string>{"copy again 0"}) << "the checks' hidden window, nothing copied";
  EXPECT_TRUE(fake.CallsNamed("RegSaveKeyA").empty());
  EXPECT_EQ(Swapped().size(), 3u);
  EXPECT_EQ(fake.CallsNamed("ExitWindowsEx"), std::vector<std::string>{"ExitWindowsEx(6, 2147614724)"})
      << "planned maintenance: SHTDN_REASON_FLAG_PLANNED, operating system, reconfiguration";
  EXPECT_TRUE(fake.CallsNamed("WritePrivateProfileStringA").empty());
}

TEST_F(DefragTest, AnEmptyTableSchedulesNothingAndDoesNotRestart) {
  hives.clear();
  EXPECT_EQ(Run(), DefragOutcome::NothingScheduled);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask", "nothing scheduled"}));
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty());
}

TEST_F(DefragTest, ANameWithoutMarkerIsNeverSwapped) {
  hives.HiveNames[0] = "\\SOMEWHERE\\ELSE";
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::Restarting);
  EXPECT_EQ(report.hives[0].outcome, HiveOutcome::LeftAlone);
  EXPECT_STREQ(report.hives[0].reason.English().c_str(), kOtherProgramsHive.Reason());
  EXPECT_EQ(Swapped().size(), 2u);
}

TEST_F(DefragTest, AFailedSettingsWriteStopsBeforeAnyHiveIsTouched) {
  fake.RefuseProfileWrites(ini);
  EXPECT_THROW(Run(), AppError);
  EXPECT_TRUE(Swapped().empty());
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty());
}

TEST_F(DefragTest, EachRunIsJournalledWithEveryHivesOutcomeAndSizesBeforeTheRestart) {
  fake.fileClock = 77;
  fake.AddFile(kSoftware, 9000);
  fake.AddFile(kSystem, 5000);
  fake.AddKey(RootKey::LocalMachine, "SOFTWARE").savedSize = 6000;
  fake.refusedSwaps = {"SYSTEM"};
  options.RestorePoint = true;
  EXPECT_EQ(Run(false, 12), DefragOutcome::Restarting);
  std::vector<std::string> calls = fake.calls;
  auto at = [&](const std::string& prefix) {
    for (std::size_t i = 0; i < calls.size(); ++i)
      if (calls[i].rfind(prefix, 0) == 0) return i;
    return calls.size();
  };
  EXPECT_LT(at("AppendText"), at("ExitWindowsEx")) << "recorded before the restart";

  std::vector<JournalEntry> journal = Journal();
  ASSERT_EQ(journal.size(), 1u);
  const JournalEntry& e = journal[0];
  EXPECT_FALSE(e.damaged);
  EXPECT_EQ(e.time, "now");
  EXPECT_EQ(e.stamp, 77u);
  EXPECT_EQ(e.restorePoint, RestorePointStep::Created);
  ASSERT_EQ(e.hives.size(), 3u);
  EXPECT_EQ(e.hives[0].name, "\\REGISTRY\\MACHINE\\SOFTWARE");
  EXPECT_EQ(e.hives[0].file, kSoftware);
  EXPECT_EQ(e.hives[0].outcome, JournalOutcome::Scheduled);
  EXPECT_EQ(e.hives[0].currentSize, 9000);
  EXPECT_EQ(e.hives[0].copySize, 6000);
  EXPECT_EQ(e.hives[1].outcome, JournalOutcome::Refused);
  EXPECT_EQ(e.hives[1].error, 5);
  EXPECT_EQ(e.hives[2].currentSize, 8192) << "the user hive's file as loaded";
  EXPECT_TRUE(logged.empty());
}

TEST_F(DefragTest, HivesNotCopiedOrFailingTheirCheckAreJournalledAndNothingScheduledStillWritesAnEntry) {
  fake.RemoveFile(std::string(kSystem) + ".hvz");
  fake.SavedHive(std::string(kSoftware) + ".hvz")->clear();
  fake.refusedSwaps = {"S-1-5-19"};
  EXPECT_EQ(Run(true, 12, true), DefragOutcome::NothingScheduled);
  std::vector<JournalEntry> journal = Journal();
  ASSERT_EQ(journal.size(), 1u);
  ASSERT_EQ(journal[0].hives.size(), 3u);
  // Not copied first, then the others in table order, as the report lists them.
  EXPECT_EQ(journal[0].hives[0].outcome, JournalOutcome::NotCopied);
  EXPECT_EQ(journal[0].hives[0].file, kSystem);
  EXPECT_EQ(journal[0].hives[0].copySize, 0);
  EXPECT_EQ(journal[0].hives[1].outcome, JournalOutcome::CheckFailed);
  EXPECT_EQ(journal[0].hives[1].copySize, 4096) << "measured before the failed copy was deleted";
  EXPECT_EQ(journal[0].hives[2].outcome, JournalOutcome::Refused);
  EXPECT_EQ(journal[0].restorePoint, RestorePointStep::NotAsked) << "unattended runs make none";
  EXPECT_EQ(journal[0].Scheduled(), 0);
}

TEST_F(DefragTest, TheRestorePointsFateIsJournalledAndADeclinedRunIsNot) {
  options.RestorePoint = true;
  dialogs.askYes = false;
  EXPECT_EQ(Run(), DefragOutcome::Declined);
  EXPECT_TRUE(Journal().empty()) << "nothing was done";
  dialogs.askYes = true;
  dialogs.restorePoint = {RestorePointStep::Stopped, 0};
  EXPECT_EQ(Run(false, 12), DefragOutcome::RestorePointCancelled);
  dialogs.restorePoint = {RestorePointStep::FailedWentOn, 0};
  EXPECT_EQ(Run(false, 12), DefragOutcome::Restarting);
  NextStart();
  EXPECT_EQ(Run(false, 7), DefragOutcome::Restarting);
  std::vector<JournalEntry> journal = Journal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[0].restorePoint, RestorePointStep::Stopped);
  EXPECT_TRUE(journal[0].hives.empty());
  EXPECT_EQ(journal[1].restorePoint, RestorePointStep::FailedWentOn);
  EXPECT_EQ(journal[2].restorePoint, RestorePointStep::NotOffered);
}

TEST_F(DefragTest, AJournalThatCannotBeWrittenMeansNoSwapNoRestartAndTheReasonForEachHive) {
  fake.RefuseAppends(JournalPath(fake));
  EXPECT_EQ(Run(), DefragOutcome::NotRecorded);
  EXPECT_TRUE(Swapped().empty());
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty());
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_NE(logged[0].find("could not be written"), std::string::npos);
  ASSERT_EQ(report.NotScheduledLines().size(), 3u);
  EXPECT_EQ(report.NotScheduledLines()[0], "\\REGISTRY\\MACHINE\\SOFTWARE: the journal could not be written, and no "
                                           "swap is made without its record");
}

TEST_F(DefragTest, TheEventLogHearsWhichHivesWereScheduledBeforeTheRestartAndWhyNoneWere) {
  fake.refusedSwaps = {"SOFTWARE", "SYSTEM", "S-1-5-19"};
  fake.eventLogRefuses = true;
  EXPECT_EQ(Run(true), DefragOutcome::NothingScheduled) << "a log that refuses the event changes nothing";
  fake.eventLogRefuses = false;
  EXPECT_EQ(Run(true), DefragOutcome::NothingScheduled);
  ASSERT_EQ(fake.events.size(), 1u);
  EXPECT_EQ(fake.events[0].type, EventType::Error);
  EXPECT_EQ(fake.events[0].id, 101u);
  EXPECT_EQ(fake.events[0].strings, (std::vector<std::string>{"3", EventList(report.NotScheduledLines())}));

  fake.events.clear();
  fake.AddFile(kSoftware, 8'388'608);
  fake.refusedSwaps = {"SYSTEM"};
  EXPECT_EQ(Run(true), DefragOutcome::Restarting);
  ASSERT_EQ(fake.events.size(), 1u);
  EXPECT_EQ(fake.events[0].type, EventType::Information);
  EXPECT_EQ(fake.events[0].id, 100u);
  ASSERT_EQ(fake.events[0].strings.size(), 4u);
  EXPECT_EQ(fake.events[0].strings[0], "2");
  EXPECT_EQ(fake.events[0].strings[1], "3");
  // The fake saves every key as 4,096 bytes; the user hive's file holds 8,192.
  EXPECT_EQ(fake.events[0].strings[2],
            "\\REGISTRY\\MACHINE\\SOFTWARE: 8,192 KB, 4 KB\r\n\\REGISTRY\\USER\\S-1-5-19: 8 KB, 4 KB");
  EXPECT_EQ(fake.events[0].strings[3], "\\registry\\machine\\system: Windows refused to schedule the swap (error 5)");
  auto at = [this](const std::string& prefix) {
    for (std::size_t i = fake.calls.size(); i-- > 0;)
      if (fake.calls[i].rfind(prefix, 0) == 0) return i;
    return fake.calls.size();
  };
  EXPECT_LT(at("RegReplaceKeyA"), at("ReportEventW")) << "after the last swap";
  EXPECT_LT(at("ReportEventW"), at("ExitWindowsEx")) << "before a restart could end the run";
}

TEST_F(DefragTest, ARestartThatDoesNotStartIsAnErrorEventAfterTheScheduledSwaps) {
  fake.acceptsExitSystem = false;
  fake.initiateRestartError = 1190;  // ERROR_SHUTDOWN_IS_SCHEDULED
  EXPECT_EQ(Run(true), DefragOutcome::RestartNotStarted);
  ASSERT_EQ(fake.events.size(), 2u);
  EXPECT_EQ(fake.events[0].id, 100u);
  EXPECT_EQ(fake.events[1].type, EventType::Error);
  EXPECT_EQ(fake.events[1].id, 104u);
  EXPECT_EQ(fake.events[1].strings, std::vector<std::string>{"Windows refused to restart (error 1190)"});
}

// Whatever ends the fresh copies early (Stop, Esc, the close box), the run
// ends there: nothing is swapped, the restore point is cancelled, the
// journal says so, and Windows does not restart.
TEST_F(DefragTest, StoppedFreshCopiesSwapNothingCancelTheRestorePointAndAreJournalled) {
  options.RestorePoint = true;
  // Stop before or after a hive's copy, the last one's included, or while
  // a copy is checked: the whole run ends before any swap.
  struct Row {
    int stopAfter, stopAtShown;
    bool checked;
  };
  for (Row row : {Row{0, -1, false}, Row{1, -1, false}, Row{2, -1, false}, Row{3, -1, false}, Row{-1, 3, false},
                  Row{-1, 4, true}, Row{-1, 6, true}}) {
    NextStart();
    dialogs.stopAfter = row.stopAfter;
    dialogs.stopAtShown = row.stopAtShown;
    const std::string at = std::to_string(row.stopAfter) + "/" + std::to_string(row.stopAtShown);
    EXPECT_EQ(Run(false, 12), DefragOutcome::Stopped) << at;
    EXPECT_TRUE(Swapped().empty()) << at;
    EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty()) << at;
    EXPECT_EQ(fake.CallsNamed("RegLoadKeyA").empty(), !row.checked) << at;
    EXPECT_EQ(fake.CallsNamed("SRSetRestorePointA(101"), std::vector<std::string>{"SRSetRestorePointA(101, 13, 41, )"})
        << at;
    JournalEntry last = Journal().back();
    EXPECT_EQ(last.ended, "stopped by the user during the fresh copies; nothing was swapped");
    EXPECT_EQ(last.Scheduled(), 0);
    EXPECT_EQ(last.hives.size(), 3u) << "each hive once";
    EXPECT_FALSE(FindWaitingSwaps(fake));
  }
  // A scan that ends for another reason leaves out only the hives it did
  // not copy.
  NextStart();
  dialogs.stopAfter = dialogs.stopAtShown = -1;
  fake.AddKey(RootKey::Users, "S-1-5-19").saveError = 5;
  EXPECT_EQ(Run(false, 12), DefragOutcome::Restarting);
  EXPECT_EQ(Swapped().size(), 2u);
}

// The record is on the disk before the first swap, the swaps are marked
// by a volatile key, the restore point is ended, and only then is each
// copy, still the file that was checked, swapped.
TEST_F(DefragTest, TheRecordTheWaitingKeyAndTheRestorePointsEndComeBeforeTheFirstSwap) {
  options.RestorePoint = true;
  fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion").values = {
      {"CurrentBuild", win::kRegSz, "7601"}, {"CSDVersion", win::kRegSz, "Service Pack 1"}};
  fake.AddFile("C:\\WINDOWS\\system32\\config\\COMPONENTS", 70000).written = 5;
  // Between its check and its swap, something replaces the system hive's
  // copy, and rewrites the user hive's in place, which keeps its identity.
  const std::string systemCopy = std::string(kSystem) + ".hvz", userCopy = std::string(kUser) + ".hvz";
  fake.onCall = [&](const std::string& call) {
    if (call.rfind("RegCreateKeyExW", 0) != 0) return;
    fake.RemoveFile(systemCopy);
    fake.AddFile(systemCopy, 4096);
    fake.AddFile(userCopy, 8192);
  };
  EXPECT_EQ(Run(false, 12), DefragOutcome::Restarting);
  auto first = [&](const std::string& prefix) {
    for (std::size_t i = 0; i < fake.calls.size(); ++i)
      if (fake.calls[i].rfind(prefix, 0) == 0) return i;
    return fake.calls.size();
  };
  const std::size_t swap = first("RegReplaceKeyA");
  EXPECT_LT(first("RegUnLoadKeyA"), first("SRSetRestorePointA(101, 0")) << "every check first";
  EXPECT_LT(first("SRSetRestorePointA(101, 0"), swap) << "the restore point ends before the first swap";
  EXPECT_LT(first("AppendText"), first("FlushFileBuffers"));
  EXPECT_LT(first("FlushFileBuffers"), first("RegCreateKeyExW"));
  EXPECT_LT(first("RegCreateKeyExW"), swap);
  EXPECT_EQ(fake.CallsNamed("AppendText").size(), 2u) << "the entry, then its outcome";
  ASSERT_EQ(report.hives.size(), 3u);
  for (std::size_t i : {1, 2}) {
    EXPECT_EQ(report.hives[i].outcome, HiveOutcome::CheckFailed) << i;
    EXPECT_EQ(report.hives[i].reason.English(), "its copy changed after the check") << i;
  }
  EXPECT_EQ(Swapped().size(), 1u);
  // The entry before the swaps, as its reader reads it: each hive to swap
  // with the identities of its live file (now the backup) and of its copy
  // (now the hive file), and the machine its undo does not put back.
  const std::string text = fake.FileText(JournalPath(fake));
  std::vector<JournalEntry> before = ParseJournal(text.substr(0, text.find("[Swap Outcome]")));
  ASSERT_EQ(before.size(), 1u);
  ASSERT_EQ(before[0].hives.size(), 3u);
  for (const JournalHive& h : before[0].hives) {
    EXPECT_EQ(h.outcome, JournalOutcome::ToSwap) << h.name;
    EXPECT_EQ(h.currentId, fake.Identity(h.file == kSoftware ? BackupPath(h.file) : h.file).value_or("?")) << h.name;
  }
  EXPECT_EQ(before[0].hives[0].copyId, fake.Identity(kSoftware).value_or("?"));
  ASSERT_TRUE(before[0].machine);
  EXPECT_EQ(before[0].machine->build, "7601 Service Pack 1");
  ASSERT_EQ(before[0].machine->stores.size(), 1u);
  EXPECT_EQ(before[0].machine->stores[0].file, "C:\\WINDOWS\\system32\\config\\COMPONENTS");
  EXPECT_EQ(before[0].machine->stores[0].size, 70000);
  EXPECT_EQ(before[0].machine->stores[0].written, 5u);
  std::vector<JournalEntry> journal = Journal();
  ASSERT_EQ(journal.size(), 1u) << "the outcome folds into its entry";
  EXPECT_FALSE(journal[0].judgedByFiles);
  EXPECT_EQ(journal[0].computer, "WORKSTATION");
  EXPECT_EQ(journal[0].hives[0].outcome, JournalOutcome::Scheduled);
  EXPECT_EQ(journal[0].hives[1].outcome, JournalOutcome::CheckFailed);
  EXPECT_FALSE(journal[0].hives[0].copyId.empty());
  std::optional<WaitingRun> waiting = FindWaitingSwaps(fake);
  ASSERT_TRUE(waiting);
  EXPECT_EQ(waiting->run, std::to_string(journal[0].stamp));
  EXPECT_EQ(waiting->time, "now");
}

TEST_F(DefragTest, EveryCheckFailingCancelsTheRestorePointAndMarksNothing) {
  options.RestorePoint = true;
  // Each fresh copy is spoilt right before its check loads it.
  const std::string load = "RegLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck, ";
  fake.onCall = [&](const std::string& call) {
    if (call.rfind(load, 0) == 0) fake.SavedHive(call.substr(load.size(), call.size() - load.size() - 1))->clear();
  };
  EXPECT_EQ(Run(false, 12), DefragOutcome::NothingScheduled);
  for (const HiveResult& h : report.hives) EXPECT_EQ(h.outcome, HiveOutcome::CheckFailed) << h.hiveName;
  EXPECT_EQ(fake.CallsNamed("SRSetRestorePointA(101"), std::vector<std::string>{"SRSetRestorePointA(101, 13, 41, )"});
  EXPECT_TRUE(fake.CallsNamed("RegCreateKeyExW").empty());
  EXPECT_TRUE(fake.CallsNamed("FlushFileBuffers").empty()) << "no swap to record first";
  EXPECT_EQ(Journal().size(), 1u);
}

// Windows' servicing writes the system and software hives at its restart:
// each of its marks refuses the run before anything is asked, and again
// right before the first swap. A pending rename that the checked copy of
// SYSTEM holds as it is is carried out from the compacted hive too: only
// one that is new or changed since the copy counts, and an empty one never.
TEST_F(DefragTest, WhileWindowsServicesItselfNothingIsSwappedAndTheRunSaysWhatItFound) {
  const std::string cbs = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\";
  const std::string wu = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\RebootRequired";
  const std::string msi = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\InProgress";
  const std::string sm = "system\\ControlSet001\\Control\\Session Manager", setup = "SYSTEM\\Setup";
  const std::string pendingXml = "C:\\Windows\\WinSxS\\pending.xml";
  const std::string one("\x01\0\0\0", 4), zero(4, '\0'), terminators(4, '\0');
  const std::string renames = "\\??\\C:\\a\0\0\0";
  // Each key is gone at the next start (made volatile here).
  auto key = [&](const std::string& subkey) { return [&, subkey] { fake.AddKey(RootKey::LocalMachine, subkey).isVolatile = true; }; };
  auto value = [&](const std::string& subkey, const char* name, std::string data) {
    return [&, subkey, name, data] { fake.AddKey(RootKey::LocalMachine, subkey).values = {{name, 7, data}}; };
  };
  struct Mark {
    std::function<void()> set;
    const char* found;  // nullptr: not servicing
  };
  const Mark always[] = {
      {key(cbs + "RebootPending"), "component servicing waits for a restart"},
      {key(cbs + "RebootInProgress"), "in the middle of the restart"},
      {key(cbs + "PackagesPending"), "updates waiting to be installed"},
      {key(wu), "Windows Update waits for a restart"},
      {key(msi), "Windows Installer has not finished an installation"},
      {value(setup, "SystemSetupInProgress", one), "Windows Setup is running"},
      {value(setup, "OOBEInProgress", one), "first start (OOBE)"},
      {value(setup, "SetupType", std::string("\x02\0\0\0", 4)), "Windows Setup waits to run"},
      {[&] { fake.AddFile(pendingXml); }, "pending.xml in the WinSxS folder"},
      {[&] { fake.mutexes = {"Global\\_MSIExecute"}; }, "Windows Installer is installing a program"},
      {[&] { fake.runningServices = {"TrustedInstaller"}; }, "TrustedInstaller"},
      {value(setup, "SetupType", zero), nullptr},
      {[&] { fake.serviceStates = {{"TrustedInstaller", 3}}; }, nullptr},  // stopping after its idle time
      {[&] { fake.serviceStates = {{"TrustedInstaller", 2}}; }, nullptr},  // starting
      {value(sm, "PendingFileRenameOperations", terminators), nullptr},
      {value(sm, "PendingFileRenameOperations2", ""), nullptr},
  };
  struct Row {
    std::function<void()> before, atTheLastMoment;
    const char* found;
    std::string what;
  };
  std::vector<Row> rows;
  for (const Mark& mark : always) {
    const std::string what = mark.found ? mark.found : "nothing";
    rows.push_back({mark.set, nullptr, mark.found, what + ", from the start"});
    rows.push_back({nullptr, mark.set, mark.found, what + ", at the last moment"});
  }
  // Renames the copy holds already are the hive's own; new or changed ones
  // would be lost with the old hive.
  rows.push_back({value(sm, "PendingFileRenameOperations", renames), nullptr, nullptr, "renames in the copy"});
  rows.push_back({value(sm, "PendingFileRenameOperations2", renames), nullptr, nullptr, "second renames in the copy"});
  rows.push_back({nullptr, value(sm, "PendingFileRenameOperations", renames), "pending file renames)",
                  "renames new since the copy"});
  rows.push_back({nullptr, value(sm, "PendingFileRenameOperations2", renames), "second list",
                  "second renames new since the copy"});
  rows.push_back({value(sm, "PendingFileRenameOperations", renames),
                  value(sm, "PendingFileRenameOperations", renames + "\\??\\C:\\b\0\0"), "pending file renames)",
                  "renames changed since the copy"});
  for (const Row& row : rows) {
    fake.AddKey(RootKey::LocalMachine, sm).values.clear();
    fake.AddKey(RootKey::LocalMachine, setup).values.clear();
    fake.RemoveFile(pendingXml);
    fake.mutexes.clear();
    fake.runningServices.clear();
    fake.serviceStates.clear();
    NextStart();
    if (row.before) {
      row.before();
      Analyse();  // the copies the run swaps in hold it too
      fake.calls.clear();
    }
    int unloads = 0;
    // The third check's unload is the last step before the record.
    fake.onCall = [&](const std::string& call) {
      if (row.atTheLastMoment && call.rfind("RegUnLoadKeyA", 0) == 0 && ++unloads == 3) row.atTheLastMoment();
    };
    DefragRun run{fake.platform(), hives, options, true, 12, dialogs, true};
    JournalWriter journal{fake, fake, JournalPath(fake), [] { return std::string("now"); }, {}};
    run.journal = &journal;
    const DefragOutcome outcome = DefragRegistry(run);
    fake.onCall = nullptr;
    if (!row.found) {
      EXPECT_EQ(outcome, DefragOutcome::Restarting) << row.what;
      EXPECT_TRUE(run.servicing.empty()) << row.what << ": " << ::testing::PrintToString(EnglishFindings(run.servicing));
      continue;
    }
    EXPECT_EQ(outcome, DefragOutcome::ServicingPending) << row.what;
    EXPECT_TRUE(Swapped().empty()) << row.what;
    EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty()) << row.what;
    ASSERT_EQ(run.servicing.size(), 1u) << row.what << ": " << ::testing::PrintToString(EnglishFindings(run.servicing));
    const std::string found = EnglishFindings(run.servicing)[0];
    EXPECT_NE(found.find(row.found), std::string::npos) << found;
    EXPECT_EQ(fake.CallsNamed("RegLoadKeyA").empty(), !row.atTheLastMoment) << "refused before any check";
    EXPECT_FALSE(FindWaitingSwaps(fake)) << row.what;
    // Stopped by servicing that came during the fresh copies, the run is
    // journalled with the reason, each hive not swapped.
    if (row.atTheLastMoment) {
      const JournalEntry last = Journal().back();
      EXPECT_EQ(last.ended, "Windows is servicing itself (" + found + "); nothing was swapped") << row.what;
      for (const JournalHive& hive : last.hives) EXPECT_EQ(hive.outcome, JournalOutcome::NotSwapped) << row.what;
    }
  }
}

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
