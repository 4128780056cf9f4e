#include "hive/undo.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/undo_texts.h"
#include "hive/defrag.h"
#include "tests/support/fake_platform.h"

namespace vh {
namespace {

// Each message as its language file key, with the values it was given.
std::string Keys(unsigned id, const std::vector<std::string>& values) {
  std::string text = MessageOf(id).key;
  for (const std::string& v : values) text += "(" + v + ")";
  return text;
}

class ScriptedUndoDialogs final : public UndoDialogs {
 public:
  bool ConfirmUndo(const UndoPlan& plan) override {
    log.push_back("confirm " + std::to_string(plan.swapBack.size()) + "+" + std::to_string(plan.skipped.size()));
    if (whileAsked) whileAsked();
    return yes;
  }
  RestorePointMade CreateRestorePoint() override {
    log.push_back("restore point");
    return {RestorePointStep::Created, 7};
  }
  void ShowNothingToUndo(const UndoPlan&) override { log.push_back("nothing to undo"); }
  void ShowNothingSwappedBack(const JournalEntry&) override { log.push_back("nothing swapped back"); }
  // The window's worker, with Stop pressed as the stopAtShown-th backup is
  // named (never when negative).
  bool CheckUnderWindow(const AfterCopies& work) override {
    std::atomic<bool> stop{false};
    return work(true, stop, [&](const std::string&) {
      if (++shown == stopAtShown) stop = true;
    });
  }
  bool yes = true;
  int shown = 0;
  int stopAtShown = -1;
  // What happens on the machine while the question is open.
  std::function<void()> whileAsked;
  std::vector<std::string> log;
};

const char kSoftware[] = "C:\\WINDOWS\\system32\\config\\software";
const char kSystem[] = "C:\\WINDOWS\\system32\\config\\system";
const char kUser[] = "C:\\Users\\u\\NTUSER.DAT";
const char kSoftwareName[] = "\\REGISTRY\\MACHINE\\SOFTWARE";
const char kSystemName[] = "\\REGISTRY\\MACHINE\\SYSTEM";
const char kUserName[] = "\\REGISTRY\\USER\\S-1-5-21-7-1001";
// What each hive's backup holds at its root that no other hive has.
const std::vector<std::string> kSoftwareKeys = {"Microsoft", "Classes"};
const std::vector<std::string> kSystemKeys = {"Select", "ControlSet001"};
const std::vector<std::string> kUserKeys = {"Software", "Environment"};
const std::uint64_t kDay = 24ull * 3600 * 10000000;

// A defragmentation at time 100 swapped the two machine hives and a
// profile's; the computer started again at 200; now is 300. Windows renamed
// each copy to the hive and the hive to its backup.
class UndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hives.Append(kSoftwareName, kSoftware);
    hives.Append(kSystemName, kSystem);
    hives.Append(kUserName, kUser);
    fake.AddLoadedHive(kSoftwareName, kSoftware, 6000);
    fake.AddLoadedHive(kSystemName, kSystem, 3000);
    fake.AddLoadedHive(kUserName, kUser, 2000);
    for (const std::string& key : kUserKeys) fake.AddKey(RootKey::Users, std::string("S-1-5-21-7-1001\\") + key);
    fake.AddFile(std::string(kSoftware) + ".bak", 9000);
    fake.AddFile(std::string(kSystem) + ".bak", 4000);
    fake.AddFile(std::string(kUser) + ".bak", 5000);
    fake.MakeHiveFile(std::string(kSoftware) + ".bak", kSoftwareKeys);
    fake.MakeHiveFile(std::string(kSystem) + ".bak", kSystemKeys);
    fake.MakeHiveFile(std::string(kUser) + ".bak", kUserKeys);
    defrag.kind = JournalKind::Defragmentation;
    defrag.time = "then";
    defrag.stamp = 100;
    defrag.hives = {{kSoftwareName, kSoftware, 9000, 6000, JournalOutcome::Scheduled},
                    {kSystemName, kSystem, 4000, 3000, JournalOutcome::Scheduled},
                    {kUserName, kUser, 5000, 2000, JournalOutcome::Scheduled},
                    {"\\REGISTRY\\MACHINE\\SAM", "C:\\WINDOWS\\system32\\config\\SAM", 1, 0,
                     JournalOutcome::NotCopied}};
    fake.fileClock = 300;
  }
  // The entry as this version writes it: each file's identity, and the
  // machine as it stood.
  JournalEntry WithIds(JournalEntry entry) {
    for (JournalHive& h : entry.hives) {
      if (h.outcome != JournalOutcome::Scheduled) continue;
      h.currentId = fake.Identity(h.file + ".bak").value_or("");
      h.copyId = fake.Identity(h.file).value_or("");
    }
    entry.machine = ReadMachineState(fake, fake, hives);
    return entry;
  }
  void WriteJournal(const std::vector<JournalEntry>& entries) {
    std::string text;
    for (const JournalEntry& e : entries) text += FormatJournalEntry(e);
    fake.SetFileText(JournalPath(fake), text);
  }
  UndoPlan Plan() {
    return PlanUndo(ReadJournal(fake, JournalPath(fake)), hives, fake.platform(), FindWaitingSwaps(fake).has_value());
  }
  UndoOutcome Run(bool unattended = false, bool restorePoint = false) {
    fake.calls.clear();
    UndoRun run{fake.platform(), hives, unattended, dialogs, writer};
    run.restorePoint = restorePoint;
    run.versionCode = 12;
    UndoOutcome outcome = UndoLastDefragmentation(run);
    plan = run.plan;
    done = run.done;
    return outcome;
  }
  std::vector<JournalEntry> Journal() { return ParseJournal(fake.FileText(JournalPath(fake))); }
  std::vector<std::string> MachineCalls() const {
    std::vector<std::string> out;
    for (const std::string& c : fake.calls)
      for (const char* name :
           {"RegReplaceKeyA", "DeleteFileA", "MoveFileA", "EnablePrivilege", "ExitWindowsEx", "AppendText",
            "FlushFileBuffers", "RegCreateKeyExW", "SRSetRestorePointA"})
        if (c.rfind(name, 0) == 0) out.push_back(c);
    return out;
  }
  // Why the plan left the hive of that name out; nullopt when it did not.
  std::optional<UndoSkip> SkipOf(const std::string& name) const {
    for (const auto& [hive, why] : plan.skipped)
      if (hive.name == name) return why;
    return std::nullopt;
  }

  FakePlatform fake;
  HiveTable hives;
  JournalEntry defrag;
  ScriptedUndoDialogs dialogs;
  std::vector<std::string> logged;
  JournalWriter writer{fake, fake, JournalPath(fake), [] { return std::string("now"); },
                       [this](const std::string& line) { logged.push_back(line); }};
  UndoPlan plan;
  JournalEntry done;
};

TEST_F(UndoTest, SwapsEachBackupBackKeepsTheCompactedHiveAsUndoJournalsAndRestarts) {
  WriteJournal({defrag});
  fake.AddFile(std::string(kSystem) + ".undo", 1);  // left by an earlier undo
  EXPECT_TRUE(UndoOffered(fake.platform(), hives, JournalPath(fake)));

  EXPECT_EQ(Run(), UndoOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"confirm 3+0"}));
  const std::string sw = kSoftware, sy = kSystem, us = kUser;
  EXPECT_EQ(MachineCalls(),
            (std::vector<std::string>{"EnablePrivilege(SeBackupPrivilege, 0x28)",
                                      "EnablePrivilege(SeRestorePrivilege, 0xF00FF)",
                                      "AppendText(" + JournalPath(fake) + ")",
                                      "FlushFileBuffers(" + JournalPath(fake) + ")",
                                      "RegCreateKeyExW(HKEY_LOCAL_MACHINE, SOFTWARE\\Varnhold Swaps Waiting, "
                                      "REG_OPTION_VOLATILE, 0x3)",
                                      "RegReplaceKeyA(HKEY_LOCAL_MACHINE, SOFTWARE, " + sw + ".bak, " + sw + ".undo)",
                                      "MoveFileA(" + sy + ".undo, " + sy + ".undo.old)",
                                      "RegReplaceKeyA(HKEY_LOCAL_MACHINE, SYSTEM, " + sy + ".bak, " + sy + ".undo)",
                                      "DeleteFileA(" + sy + ".undo.old)",
                                      "RegReplaceKeyA(HKEY_USERS, S-1-5-21-7-1001, " + us + ".bak, " + us + ".undo)",
                                      "AppendText(" + JournalPath(fake) + ")",
                                      "FlushFileBuffers(" + JournalPath(fake) + ")",
                                      "EnablePrivilege(SeShutdownPrivilege, 0x28)", "ExitWindowsEx(6, 2147614724)"}));
  std::vector<JournalEntry> journal = Journal();
  ASSERT_EQ(journal.size(), 2u);
  const JournalEntry& undo = journal[1];
  EXPECT_EQ(undo.kind, JournalKind::Undo);
  EXPECT_EQ(undo.stamp, 300u);
  ASSERT_EQ(undo.hives.size(), 3u);
  EXPECT_EQ(undo.hives[0].outcome, JournalOutcome::Scheduled);
  EXPECT_EQ(undo.hives[0].currentSize, 6000);
  EXPECT_EQ(undo.hives[0].copySize, 9000) << "the backup that goes back in";

  // Until the restart, and after it, there is nothing more to undo.
  EXPECT_FALSE(UndoOffered(fake.platform(), hives, JournalPath(fake)));
  EXPECT_EQ(Plan().refusal, UndoRefusal::AlreadyUndone);
}

TEST_F(UndoTest, UnattendedAsksAndShowsNothing) {
  WriteJournal({defrag});
  EXPECT_EQ(Run(true), UndoOutcome::Restarting);
  EXPECT_TRUE(dialogs.log.empty());
  EXPECT_EQ(fake.CallsNamed("RegReplaceKeyA").size(), 3u);
  EXPECT_EQ(fake.CallsNamed("ExitWindowsEx").size(), 1u);
}

// A No, or Stop while the window checks the backups (the three before the
// question, again after it): nothing swapped back, nothing recorded, and a
// restore point made for the undo is cancelled.
TEST_F(UndoTest, NoSwapsBeforeTheConfirmationAndNoneAfterANoOrAStop) {
  struct Row {
    bool yes;
    int stopAtShown;
    std::vector<std::string> asked;
    const char* restorePointCalls;
  };
  const Row rows[] = {
      {false, -1, {"confirm 3+0"}, ""},
      {true, 1, {}, ""},
      {true, 5, {"confirm 3+0", "restore point"}, "SRSetRestorePointA(101, 13, 7, )"},
  };
  for (const Row& row : rows) {
    WriteJournal({defrag});
    dialogs = {};
    dialogs.yes = row.yes;
    dialogs.stopAtShown = row.stopAtShown;
    EXPECT_EQ(Run(false, true), UndoOutcome::Declined) << row.stopAtShown;
    EXPECT_EQ(dialogs.log, row.asked) << row.stopAtShown;
    EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
    EXPECT_TRUE(fake.CallsNamed("AppendText").empty());
    std::vector<std::string> ends = fake.CallsNamed("SRSetRestorePointA(101");
    EXPECT_EQ(ends.empty() ? "" : ends[0], row.restorePointCalls) << row.stopAtShown;
    EXPECT_EQ(Journal().size(), 1u) << "a declined undo is no run";
  }
}

TEST_F(UndoTest, NotOfferedBeforeTheRestartThatMakesTheSwapsTakeEffect) {
  ASSERT_TRUE(MarkSwapsWaiting(fake, {"100", "then"}));  // the run's volatile key
  WriteJournal({defrag});
  EXPECT_EQ(Plan().refusal, UndoRefusal::NotRestarted);
  // Its swaps wait: the undo is refused as every other command is.
  EXPECT_EQ(Run(true), UndoOutcome::SwapsPending);
  EXPECT_TRUE(MachineCalls().empty());
  EXPECT_EQ(Run(false), UndoOutcome::SwapsPending);
  EXPECT_TRUE(dialogs.log.empty()) << "the window tells, and offers the restart";
}

TEST_F(UndoTest, NotOfferedWithoutABackupOrWhileTheCopyThatShouldHaveGoneIsThere) {
  WriteJournal({defrag});
  for (const char* file : {kSoftware, kSystem, kUser}) fake.RemoveFile(std::string(file) + ".bak");
  EXPECT_EQ(Plan().refusal, UndoRefusal::NothingToSwapBack);

  // A profile's hive is judged on its own.
  fake.AddFile(std::string(kUser) + ".bak", 5000);
  fake.MakeHiveFile(std::string(kUser) + ".bak", kUserKeys);
  fake.fileClock = 50;  // a copy from before the entry: Windows never took it
  fake.AddFile(std::string(kUser) + ".hvz", 3000);
  UndoPlan p = Plan();
  EXPECT_EQ(p.refusal, UndoRefusal::NothingToSwapBack);
  ASSERT_EQ(p.skipped.size(), 3u);
  EXPECT_EQ(p.skipped[0].second, UndoSkip::NoBackup);
  EXPECT_EQ(p.skipped[1].second, UndoSkip::NoBackup);
  EXPECT_EQ(p.skipped[2].second, UndoSkip::NotSwappedIn);

  fake.fileClock = 250;  // a later analysis' copy
  fake.AddFile(std::string(kUser) + ".hvz", 3000);
  p = Plan();
  EXPECT_EQ(p.refusal, UndoRefusal::None);
  ASSERT_EQ(p.swapBack.size(), 1u);
  EXPECT_EQ(p.swapBack[0].name, kUserName);

  // Neither a copy of the entry's very moment nor one whose time cannot be
  // read proves that the swap took effect.
  fake.fileClock = 100;
  fake.AddFile(std::string(kUser) + ".hvz", 3000);
  EXPECT_EQ(Plan().refusal, UndoRefusal::NothingToSwapBack);
  fake.fileClock = 250;
  fake.AddFile(std::string(kUser) + ".hvz", 3000).unreadable = true;
  EXPECT_EQ(Plan().refusal, UndoRefusal::NothingToSwapBack);
}

// SYSTEM of one date beside SOFTWARE of another may not start: when one
// machine hive cannot go back, neither does; a profile's hive goes back on
// its own.
TEST_F(UndoTest, AMachineHiveWithoutItsBackupHoldsTheOtherBackAndAProfilesHiveGoesBackAlone) {
  WriteJournal({defrag});
  fake.RemoveFile(std::string(kSoftware) + ".bak");
  EXPECT_EQ(Run(), UndoOutcome::Restarting);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"confirm 1+2"}));
  EXPECT_EQ(fake.CallsNamed("RegReplaceKeyA"),
            std::vector<std::string>{"RegReplaceKeyA(HKEY_USERS, S-1-5-21-7-1001, " + std::string(kUser) + ".bak, " +
                                     kUser + ".undo)"});
  ASSERT_EQ(done.hives.size(), 3u);
  EXPECT_EQ(done.hives[1].outcome, JournalOutcome::Skipped);
  EXPECT_EQ(done.hives[1].skipReason, "its backup is missing");
  EXPECT_EQ(done.hives[1].currentSize, 6000);
  EXPECT_EQ(done.hives[1].copySize, 0) << "the backup's size, not the defragmentation's copy";
  EXPECT_EQ(done.hives[2].skipReason, "the system and software hives go back only together, and the other one cannot");
  std::string confirmation = UndoConfirmation(plan, Keys);
  EXPECT_EQ(confirmation, std::string("RES_Undo_Confirm\n\n    ") + kUserName + "  (" + kUser + ")\n\n"
                              "RES_Undo_Skipped\n\n    " + kSoftwareName + ": RES_Undo_No_Backup\n    " + kSystemName +
                              ": RES_Undo_Not_Together\n\nRES_Undo_Loss(then)\n\nRES_Undo_Question");
  EXPECT_NE(UndoConfirmation(plan, TranslateWith(Messages())).find("ran on then."),
            std::string::npos)
      << "the date of the defragmentation";
  // Without a profile's hive to go back, nothing is asked.
  fake.Restart();
  SetUp();
  WriteJournal({defrag});
  fake.RemoveFile(std::string(kSoftware) + ".bak");
  fake.RemoveFile(std::string(kUser) + ".bak");
  dialogs.log.clear();
  EXPECT_EQ(Run(), UndoOutcome::NothingToUndo);
  EXPECT_EQ(dialogs.log, std::vector<std::string>{"nothing to undo"});
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
}

TEST_F(UndoTest, NotOfferedForAnEmptyMissingOrDamagedJournal) {
  EXPECT_EQ(Plan().refusal, UndoRefusal::NoEntry);
  fake.SetFileText(JournalPath(fake), "");
  EXPECT_EQ(Plan().refusal, UndoRefusal::NoEntry);
  std::string text = FormatJournalEntry(defrag);
  fake.SetFileText(JournalPath(fake), text.substr(0, text.size() - 10));  // cut in its last hive line
  EXPECT_EQ(Plan().refusal, UndoRefusal::Damaged);
  fake.SetFileText(JournalPath(fake), text + "[Defragmentation]\r\nTime=x\r\n");
  EXPECT_EQ(Plan().refusal, UndoRefusal::Damaged) << "the last entry decides, and it is cut";
  EXPECT_EQ(Run(true), UndoOutcome::NothingToUndo);
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
}

// Waiting swaps are known by the volatile key alone: not by a clock, nor by
// a backup that another program holds open, nor by a journal another
// computer wrote, whose entries are not this computer's to undo.
TEST_F(UndoTest, NeitherAClockNorAHeldBackupNorAnotherComputersJournalDecides) {
  WriteJournal({defrag});
  for (std::uint64_t clock : {std::uint64_t(1), std::uint64_t(99), 100 + kUndoDays * kDay}) {
    fake.fileClock = clock;  // set back before the entry, or the last moment of the undo's days
    EXPECT_EQ(Plan().refusal, UndoRefusal::None) << clock;
  }
  fake.fileClock = 300;
  fake.AddFile(std::string(kSoftware) + ".bak", 9000).locked = true;  // an antivirus scanning it
  EXPECT_EQ(Run(true), UndoOutcome::Restarting);
  fake.Restart();

  JournalEntry elsewhere = defrag;
  elsewhere.computer = "OTHER-PC";
  elsewhere.stamp = 400;
  WriteJournal({elsewhere});
  EXPECT_EQ(Plan().refusal, UndoRefusal::NoEntry);
  WriteJournal({defrag, elsewhere});
  EXPECT_EQ(Plan().entry.stamp, 100u) << "this computer's own entry";
  elsewhere.computer = "workstation";  // names compare without regard to case
  WriteJournal({elsewhere});
  EXPECT_EQ(Plan().entry.stamp, 400u);
}

TEST_F(UndoTest, RunsThatScheduledNothingNeverHideTheRunToUndo) {
  JournalEntry nothing = defrag;
  nothing.stamp = 150;
  for (JournalHive& h : nothing.hives) h.outcome = JournalOutcome::CheckFailed;
  JournalEntry restart;
  restart.kind = JournalKind::RestartNotStarted;
  restart.time = "x";
  restart.stamp = 160;
  WriteJournal({nothing});
  EXPECT_EQ(Plan().refusal, UndoRefusal::NothingScheduled);
  // Alone in the journal, a restart that did not start or an undo Windows
  // refused outright leaves nothing to undo.
  JournalEntry refusedUndo;
  refusedUndo.kind = JournalKind::Undo;
  refusedUndo.time = "x";
  refusedUndo.stamp = 170;
  refusedUndo.hives = {{kSystemName, kSystem, 1, 1, JournalOutcome::Refused, 5}};
  for (const JournalEntry& alone : {restart, refusedUndo}) {
    WriteJournal({alone});
    EXPECT_EQ(Plan().refusal, UndoRefusal::NoEntry);
  }
  WriteJournal({defrag, nothing, restart});
  UndoPlan p = Plan();
  EXPECT_EQ(p.refusal, UndoRefusal::None);
  EXPECT_EQ(p.entry.stamp, 100u);
}

TEST_F(UndoTest, ABackupFromLongBeforeTheDefragmentationIsNotSwappedBackAndTheReasonIsTheRealOne) {
  const std::uint64_t day = 24ull * 3600 * 10000000;
  defrag.stamp = 3 * day;
  fake.fileClock = 5 * day;
  WriteJournal({defrag});
  fake.fileClock = day;  // written two days before the defragmentation
  fake.AddFile(std::string(kSystem) + ".bak", 4000);
  fake.AddFile(std::string(kUser) + ".bak", 5000);
  fake.AddFile(std::string(kSoftware) + ".bak", 9000).unreadable = true;
  fake.fileClock = 5 * day;
  UndoPlan p = Plan();
  EXPECT_EQ(p.refusal, UndoRefusal::NothingToSwapBack);
  ASSERT_EQ(p.skipped.size(), 3u);
  EXPECT_EQ(p.skipped[0].second, UndoSkip::WrongBackup) << "a backup that cannot be measured proves nothing";
  EXPECT_EQ(p.skipped[1].second, UndoSkip::StaleBackup);
  EXPECT_EQ(p.skipped[2].second, UndoSkip::StaleBackup);
  EXPECT_NE(UndoRefusalText(p).find(std::string(kSystemName) + ": its backup was last written more than a day"),
            std::string::npos);
  // The boundary: a day before the entry is a day too early; a moment
  // later is the run's own.
  fake.AddFile(std::string(kSoftware) + ".bak", 9000).unreadable = false;
  for (std::uint64_t written : {2 * day, 2 * day + 1}) {
    fake.AddFile(std::string(kSystem) + ".bak", 4000).written = written;
    fake.AddFile(std::string(kSoftware) + ".bak", 9000).written = written;
    fake.AddFile(std::string(kUser) + ".bak", 5000).written = written;
    EXPECT_EQ(Plan().swapBack.size(), written == 2 * day ? 0u : 3u) << written;
  }
}

// Only the backup the swap made goes back: the journal recorded the live
// file's identity (the backup is that file, renamed) and size (a loaded
// hive's file never shrinks), and the backup must load and hold its own
// hive, before the questions and again after them.
TEST_F(UndoTest, ABackupThatIsNotTheSwapsOwnIsSkippedWithItsReasonAndBothPrivilegesAreEnabled) {
  const std::string swBak = std::string(kSoftware) + ".bak", syBak = std::string(kSystem) + ".bak";
  const std::string loadOfSoftwareBackup = "RegLoadKeyA(HKEY_LOCAL_MACHINE, VarnholdCopyCheck, " + swBak + ")";
  using Skips = std::vector<std::pair<std::string, UndoSkip>>;
  struct Case {
    const char* what;
    bool ids;
    std::function<void()> spoil;  // before the run
    std::function<void()> whileAsked;  // while the question is open
    Skips skips;
    UndoOutcome outcome = UndoOutcome::Restarting;
  } cases[] = {
      {"random bytes of the same size", true, [&] { fake.RemoveFile(swBak); fake.AddFile(swBak, 9000); }, {},
       {{kSoftwareName, UndoSkip::WrongBackup}, {kSystemName, UndoSkip::NotTogether}}},
      {"random bytes, an entry of an earlier version", false,
       [&] { fake.RemoveFile(swBak); fake.AddFile(swBak, 9000); }, {},
       {{kSoftwareName, UndoSkip::NotAHive}, {kSystemName, UndoSkip::NotTogether}}},
      {"the other hive's backup", true, [&] {
         fake.Move(swBak, swBak + ".x");
         fake.Move(syBak, swBak);
         fake.Move(swBak + ".x", syBak);
       }, {}, {{kSoftwareName, UndoSkip::WrongBackup}, {kSystemName, UndoSkip::WrongBackup}}},
      {"smaller than the hive was", false, [&] { fake.AddFile(swBak, 8999); }, {},
       {{kSoftwareName, UndoSkip::WrongBackup}, {kSystemName, UndoSkip::NotTogether}}},
      {"the software hive's backup copied over the system hive's, which keeps its identity", true,
       [&] { fake.OverwriteInPlace(swBak, syBak); }, {},
       {{kSystemName, UndoSkip::OtherHive}, {kSoftwareName, UndoSkip::NotTogether}}},
      {"replaced by random bytes while the question is open", true, {},
       [&] { fake.RemoveFile(swBak); fake.AddFile(swBak, 9000); },
       {{kSoftwareName, UndoSkip::WrongBackup}, {kSystemName, UndoSkip::NotTogether}}},
      {"gone while the question is open", true, {}, [&] { fake.RemoveFile(swBak); },
       {{kSoftwareName, UndoSkip::NoBackup}, {kSystemName, UndoSkip::NotTogether}}},
      {"gone as its load begins: RegLoadKey makes an empty hive of its name", true,
       [&] {
         fake.onCall = [&](const std::string& call) {
           if (call == loadOfSoftwareBackup && fake.HasFile(swBak)) fake.RemoveFile(swBak);
         };
       }, {}, {{kSoftwareName, UndoSkip::OtherHive}, {kSystemName, UndoSkip::NotTogether}}},
      {"every backup spoilt: none loads, nothing is asked", true,
       [&] {
         for (const char* file : {kSoftware, kSystem, kUser}) fake.SavedHive(std::string(file) + ".bak")->clear();
       }, {},
       {{kSoftwareName, UndoSkip::NotAHive}, {kSystemName, UndoSkip::NotAHive}, {kUserName, UndoSkip::NotAHive}},
       UndoOutcome::NothingToUndo},
  };
  for (const Case& c : cases) {
    fake.Restart();  // the last case's swaps and waiting key are gone
    fake.onCall = nullptr;
    SetUp();
    WriteJournal({c.ids ? WithIds(defrag) : defrag});
    if (c.spoil) c.spoil();
    dialogs.log.clear();
    dialogs.whileAsked = c.whileAsked;
    EXPECT_EQ(Run(false, true), c.outcome) << c.what;
    Skips skips;
    for (const auto& [hive, why] : plan.skipped) skips.push_back({hive.name, why});
    EXPECT_EQ(skips, c.skips) << c.what;
    EXPECT_EQ(fake.CallsNamed("RegReplaceKeyA").size(), plan.swapBack.size()) << c.what;
    for (const std::string& swap : fake.CallsNamed("RegReplaceKeyA"))
      EXPECT_NE(swap.find(kUser), std::string::npos) << c.what << ": " << swap;
    // Missing afterwards exactly when skipped as missing: no load made it anew.
    EXPECT_EQ(fake.HasFile(swBak), SkipOf(kSoftwareName) != UndoSkip::NoBackup) << c.what;
    if (c.outcome != UndoOutcome::Restarting) {
      EXPECT_EQ(dialogs.log, std::vector<std::string>{"nothing to undo"}) << c.what;
      EXPECT_TRUE(fake.CallsNamed("SRSetRestorePointA").empty()) << c.what;
      EXPECT_TRUE(fake.CallsNamed("AppendText").empty()) << c.what;
      continue;
    }
    // A backup spoilt while the question is open was still going back when asked.
    const std::size_t asked = c.whileAsked ? 3 : 3 - skips.size();
    EXPECT_EQ(dialogs.log, (std::vector<std::string>{"confirm " + std::to_string(asked) + "+" + std::to_string(3 - asked),
                                                     "restore point"}))
        << c.what;
    EXPECT_EQ(fake.CallsNamed("EnablePrivilege(SeBackupPrivilege").size(), 1u) << c.what;
    EXPECT_EQ(fake.CallsNamed("EnablePrivilege(SeRestorePrivilege").size(), 1u) << c.what;
  }
}

// The undo puts back SYSTEM, SOFTWARE and the profiles' hives, but not the
// component and driver stores nor Windows' own files: once either moved on
// since the defragmentation, and in any case 14 days on, it refuses before
// any question and says which, in the window and in /Undo's log.
TEST_F(UndoTest, OnlyWhileTheMachineStillMatchesTheBackupsAndForFourteenDays) {
  const std::string config = "C:\\WINDOWS\\system32\\config\\", components = config + "COMPONENTS";
  const std::string version = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  auto machineThen = [&] {
    fake.AddKey(RootKey::LocalMachine, version).values = {
        {"CurrentBuild", win::kRegSz, "19045"}, {"CurrentBuildNumber", win::kRegSz, "19045"},
        {"UBR", win::kRegDword, "4291"}};
    fake.AddFile(components, 80000).written = 120;
  };
  auto setBuild = [&](const char* name, const char* value) {
    for (FakeValue& v : fake.AddKey(RootKey::LocalMachine, version).values)
      if (v.name == name) v.text = value;
  };
  struct Row {
    const char* what;
    bool ids;  // an entry of this version, which recorded the machine
    std::function<void()> since;
    UndoRefusal refusal;
    std::string reason;  // in the log's words
    std::string message;  // in the window's, as language file keys
  } rows[] = {
      {"nothing changed, the last of the 14 days", true, [&] { fake.fileClock = 100 + 14 * kDay; }, UndoRefusal::None},
      {"a cumulative update", true, [&] { setBuild("UBR", "4292"); }, UndoRefusal::MachineChanged,
       "Windows was updated: build 19045.4291 then, 19045.4292 now", "RES_Undo_Build_Changed(19045.4291)(19045.4292)"},
      {"a feature update", true, [&] { setBuild("CurrentBuild", "22631"); }, UndoRefusal::MachineChanged,
       "build 19045.4291 then, 22631.4291 now", "RES_Undo_Build_Changed(19045.4291)(22631.4291)"},
      {"the component store written since", true, [&] { fake.AddFile(components, 80000).written = 250; },
       UndoRefusal::MachineChanged, components + " (the component or driver store) has changed since",
       "RES_Undo_Store_Changed(" + components + ")"},
      {"the component store grown", true, [&] { fake.AddFile(components, 90000).written = 120; },
       UndoRefusal::MachineChanged, components + " (the component", "RES_Undo_Store_Changed(" + components + ")"},
      {"the component store gone", true, [&] { fake.RemoveFile(components); }, UndoRefusal::MachineChanged,
       components + " (the component", "RES_Undo_Store_Changed(" + components + ")"},
      {"a driver store made since", true, [&] { fake.AddFile(config + "DRIVERS", 4096); }, UndoRefusal::MachineChanged,
       config + "DRIVERS (the component", "RES_Undo_Store_Changed(" + config + "DRIVERS)"},
      {"15 days on", true, [&] { fake.fileClock = 100 + 15 * kDay; }, UndoRefusal::TooOld,
       "an undo is offered for 14 days after a defragmentation only; the last defragmentation ran 15 days ago",
       "RES_Undo_Too_Old\n\n    RES_Undo_Age(15)"},
      {"an entry of an earlier version, a build later", false, [&] { setBuild("UBR", "4292"); }, UndoRefusal::None},
      {"an entry of an earlier version, 15 days on", false, [&] { fake.fileClock = 100 + 15 * kDay; },
       UndoRefusal::TooOld, "ran 15 days ago", "RES_Undo_Age(15)"},
  };
  for (const Row& row : rows) {
    fake.Restart();
    SetUp();
    machineThen();
    WriteJournal({row.ids ? WithIds(defrag) : defrag});
    row.since();
    dialogs.log.clear();
    const bool goesOn = row.refusal == UndoRefusal::None;
    EXPECT_EQ(Run(), goesOn ? UndoOutcome::Restarting : UndoOutcome::NothingToUndo) << row.what;
    EXPECT_EQ(plan.refusal, row.refusal) << row.what;
    if (goesOn) continue;
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"nothing to undo"}) << row.what;
    EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty()) << row.what;
    EXPECT_TRUE(fake.CallsNamed("RegLoadKeyA").empty()) << row.what;
    EXPECT_NE(UndoRefusalText(plan).find(row.reason), std::string::npos) << row.what << ": " << UndoRefusalText(plan);
    EXPECT_NE(UndoNothingMessage(plan, Keys).find(row.message), std::string::npos)
        << row.what << ": " << UndoNothingMessage(plan, Keys);
    // The menu still offers it, so that choosing it says why.
    EXPECT_TRUE(UndoOffered(fake.platform(), hives, JournalPath(fake))) << row.what;
  }
}

TEST_F(UndoTest, AnUndoThatWindowsRefusedLeavesTheDefragmentationToUndo) {
  WriteJournal({defrag});
  fake.refusedSwaps = {"SOFTWARE", "SYSTEM", "S-1-5-21-7-1001"};
  EXPECT_EQ(Run(), UndoOutcome::NothingScheduled);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"confirm 3+0", "nothing swapped back"}));
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty()) << "no restart when nothing was scheduled";
  ASSERT_EQ(Journal().size(), 2u);
  EXPECT_EQ(Journal()[1].hives[0].outcome, JournalOutcome::Refused);
  EXPECT_EQ(Journal()[1].hives[0].error, 5);
  EXPECT_EQ(UndoRefusedMessage(done, Keys),
            std::string("RES_Undo_Refused\n\n    ") + kSoftwareName + "  (5)\n    " + kSystemName + "  (5)\n    " +
                kUserName + "  (5)");
  fake.refusedSwaps.clear();
  EXPECT_EQ(Plan().refusal, UndoRefusal::None);
}

TEST_F(UndoTest, OnlyHivesTheSystemListsWithTheSameFileAreEverSwappedBack) {
  defrag.hives[2].file = "C:\\Users\\Public\\planted";
  fake.AddFile("C:\\Users\\Public\\planted.bak");
  defrag.hives[1].name = "\\registry\\machine\\system";  // the case of the name does not matter
  WriteJournal({defrag});
  EXPECT_EQ(Run(true), UndoOutcome::Restarting);
  EXPECT_EQ(fake.CallsNamed("RegReplaceKeyA"),
            (std::vector<std::string>{
                "RegReplaceKeyA(HKEY_LOCAL_MACHINE, SOFTWARE, " + std::string(kSoftware) + ".bak, " + kSoftware + ".undo)",
                "RegReplaceKeyA(HKEY_LOCAL_MACHINE, SYSTEM, " + std::string(kSystem) + ".bak, " + kSystem + ".undo)"}));
  ASSERT_EQ(plan.skipped.size(), 1u);
  EXPECT_EQ(plan.skipped[0].second, UndoSkip::NotLoaded);
}

TEST_F(UndoTest, ABackupReachedThroughALinkIsNeverSwappedBack) {
  WriteJournal({defrag});
  fake.AddLink("C:\\WINDOWS\\system32\\config\\system.bak");
  EXPECT_EQ(Run(true), UndoOutcome::Restarting);
  EXPECT_EQ(SkipOf(kSystemName), UndoSkip::WrongBackup);
  EXPECT_EQ(SkipOf(kSoftwareName), UndoSkip::NotTogether);
  EXPECT_EQ(fake.CallsNamed("RegReplaceKeyA").size(), 1u);
  // The last one linked after the questions: nothing is left, so nothing
  // is recorded or swapped.
  fake.Restart();
  SetUp();
  WriteJournal({defrag});
  dialogs.whileAsked = [&] { fake.AddLink(std::string(kUser) + ".bak"); };
  EXPECT_EQ(Run(), UndoOutcome::NothingToUndo);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"confirm 1+2", "nothing to undo"}));
  EXPECT_EQ(SkipOf(kUserName), UndoSkip::WrongBackup);
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
  EXPECT_TRUE(fake.CallsNamed("AppendText").empty());
}

TEST_F(UndoTest, AnUnwritableJournalMeansNoSwapBackAndNoRestart) {
  WriteJournal({defrag});
  fake.RefuseAppends(JournalPath(fake));
  EXPECT_EQ(Run(true), UndoOutcome::NotRecorded);
  EXPECT_EQ(logged.size(), 1u);
  EXPECT_TRUE(fake.CallsNamed("RegReplaceKeyA").empty());
  EXPECT_TRUE(fake.CallsNamed("ExitWindowsEx").empty());
}

}  // namespace
}  // namespace vh
