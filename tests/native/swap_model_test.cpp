// The defragmentation and the undo against Windows' own swap, as the fake
// platform models it: a power cut after every call, a restart that does not
// come, a second run before the restart, and the hives never touched.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>

#include "hive/catalogue.h"
#include "hive/defrag.h"
#include "hive/hive_copy.h"
#include "hive/left_alone.h"
#include "hive/pending_swaps.h"
#include "hive/reorganization.h"
#include "platform/text.h"
#include "scan/scan_worker.h"
#include "hive/undo.h"
#include "tests/support/fake_platform.h"

namespace vh {
namespace {

class Quiet final : public ScanReporter {
 public:
  void ShowHive(const std::string&) override {}
  void HiveDone(std::uint32_t, std::int32_t) override {}
  void Finished() override {}
};

// Says yes to everything, and copies as the progress dialog does.
class YesDialogs final : public DefragDialogs, public UndoDialogs {
 public:
  explicit YesDialogs(FakePlatform& fake) : fake_(fake) {}
  DefragConfirmation AskBeforeDefrag() override { return {true, true}; }
  RestorePointMade CreateRestorePoint() override { return {RestorePointStep::Created, 41}; }
  bool ConfirmSwapAndRestart(const DefragPlan& plan) override {
    shown.push_back("final notice");
    notSwapped = plan.notSwapped;
    return true;
  }
  FreshCopies CopyAgain(const HiveTable& hives, const AfterCopies& then) override {
    std::atomic<bool> stop{false};
    Quiet quiet;
    RunHiveScan(fake_.platform(), ScanJob{hives, false, false, "", "", then}, stop, quiet);
    return FreshCopies::Done;
  }
  void ShowNothingScheduled(const DefragReport&) override { shown.push_back("nothing scheduled"); }
  bool ConfirmUndo(const UndoPlan&) override { return true; }
  void ShowNothingToUndo(const UndoPlan&) override { shown.push_back("nothing to undo"); }
  void ShowNothingSwappedBack(const JournalEntry&) override { shown.push_back("nothing swapped back"); }
  bool CheckUnderWindow(const AfterCopies& work) override {
    std::atomic<bool> stop{false};
    return work(true, stop, [](const std::string&) {});
  }
  std::vector<std::string> shown;
  std::vector<std::string> notSwapped;

 private:
  FakePlatform& fake_;
};

struct HiveDef {
  const char* name;
  const char* file;
  RootKey root;
  const char* key;
  std::vector<const char*> ownKeys;  // at its root, only this hive's
};
const HiveDef kHives[] = {
    {"\\REGISTRY\\MACHINE\\SOFTWARE", "C:\\Windows\\System32\\config\\SOFTWARE", RootKey::LocalMachine, "SOFTWARE",
     {"Microsoft", "Classes"}},
    {"\\REGISTRY\\MACHINE\\SYSTEM", "C:\\Windows\\System32\\config\\SYSTEM", RootKey::LocalMachine, "SYSTEM",
     {"Select", "ControlSet001"}},
    {"\\REGISTRY\\USER\\S-1-5-21-7-1001", "C:\\Users\\u\\NTUSER.DAT", RootKey::Users, "S-1-5-21-7-1001",
     {"Software", "Environment"}},
};

// What a hive holds, for comparison: each key's path and value names.
std::vector<std::string> Shape(const FakeHive& hive) {
  std::vector<std::string> shape;
  for (const auto& [path, key] : hive) {
    std::string line = path + ":";
    for (const FakeValue& v : key.values) line += " " + v.name;
    shape.push_back(line);
  }
  return shape;
}

// A machine with three loaded hives, each analysed, each with an old backup.
// SOFTWARE holds the 32-bit programs' branch, as on 64-bit Windows.
struct Machine {
  explicit Machine(bool wow64 = false) {
    fake.wow64 = wow64;
    fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Wow6432Node").values = {{"32-bit"}};
    for (const HiveDef& h : kHives) {
      fake.AddKey(h.root, h.key).values = {{"root value"}};
      fake.AddKey(h.root, std::string(h.key) + "\\Sub").values = {{"a"}, {"b"}};
      fake.AddKey(h.root, std::string(h.key) + "\\Sub\\Deeper").values = {{"c"}};
      for (const char* own : h.ownKeys) fake.AddKey(h.root, std::string(h.key) + "\\" + own);
      fake.AddLoadedHive(h.name, h.file);
      fake.AddFile(BackupPath(h.file), 3);
      hives.Append(h.name, h.file);
    }
    hives.ProfileSids = {"S-1-5-18", "S-1-5-21-7-1001"};
    Analyse();
    for (const HiveDef& h : kHives) before.push_back(Shape(fake.LiveHive(h.root, h.key)));
    fake.fileClock = 10;
    fake.calls.clear();
  }
  void Analyse() {
    for (std::size_t i = 0; i < hives.size(); ++i)
      SaveHiveCopy(fake, fake, hives.HiveNames[i], CopyPath(hives.HiveFiles[i]));
  }
  // A whole defragmentation, its restart and a new analysis: the journal
  // holds an entry whose swaps took effect, and each hive its backup.
  void EarlierRun() {
    if (Defrag() != DefragOutcome::Restarting) ADD_FAILURE() << "the earlier run";
    fake.Restart();
    fake.fileClock += 10;
    Analyse();
    fake.calls.clear();
  }
  JournalWriter Writer() {
    return {fake, fake, JournalPath(fake), [] { return std::string("today"); },
            [this](const std::string& line) { logged.push_back(line); }};
  }
  DefragOutcome Defrag() {
    JournalWriter journal = Writer();
    DefragRun run{fake.platform(), hives, options, false, 12, dialogs};
    run.journal = &journal;
    return DefragRegistry(run);
  }
  UndoOutcome Undo() {
    JournalWriter journal = Writer();
    UndoRun run{fake.platform(), hives, false, dialogs, journal};
    return UndoLastDefragmentation(run);
  }
  std::set<std::string> Offered() {
    UndoPlan plan = PlanUndo(Journal(), hives, fake.platform(), FindWaitingSwaps(fake).has_value());
    std::set<std::string> offered;
    for (const JournalHive& h : plan.swapBack) offered.insert(h.file);
    return offered;
  }
  std::vector<JournalEntry> Journal() { return ReadJournal(fake, JournalPath(fake)); }
  std::set<std::string> PendingFiles() const {
    std::set<std::string> files;
    for (const auto& [id, swap] : fake.PendingSwaps()) files.insert(swap.hiveFile);
    return files;
  }

  FakePlatform fake;
  HiveTable hives;
  TOptionsSetting options{true, true, true, "English"};
  YesDialogs dialogs{fake};
  std::vector<std::vector<std::string>> before;
  std::vector<std::string> logged;  // varnhold.log
};

// After the next start: every hive loads from its file, holds what it held
// (its old contents, or a checked copy of them), every swapped hive's old
// contents are in its backup, and the undo offers exactly the swaps that
// took effect: this run's, or where it swapped nothing, the earlier run's.
void CheckAfterStart(Machine& m, const std::set<std::string>& swapped, const std::string& step) {
  std::set<std::string> all;
  for (std::size_t i = 0; i < m.hives.size(); ++i) {
    const HiveDef& h = kHives[i];
    all.insert(h.file);
    ASSERT_TRUE(m.fake.HasFile(h.file)) << step << ": " << h.file;
    EXPECT_EQ(Shape(m.fake.LiveHive(h.root, h.key)), m.before[i]) << step << ": " << h.name;
    if (swapped.count(h.file)) {
      const FakeHive* backup = m.fake.SavedHive(BackupPath(h.file));
      ASSERT_NE(backup, nullptr) << step << ": " << h.name;
      EXPECT_EQ(Shape(*backup), m.before[i]) << step << ": " << h.name;
    }
  }
  EXPECT_FALSE(FindWaitingSwaps(m.fake)) << step << ": gone with the restart";
  // As the undo does first: a backup a cut run had set aside is put back.
  RecoverSetAsideBackups(m.fake, m.hives.HiveFiles);
  EXPECT_EQ(m.Offered(), swapped.empty() ? all : swapped) << step;
}

TEST(PowerCutTest, AtEveryStepOfADefragmentationEveryHiveStartsWholeAndTheUndoOffersWhatItCan) {
  std::size_t steps = 0;
  for (std::size_t n = 1;; ++n) {
    Machine m;
    m.EarlierRun();
    m.fake.PowerCutAfter(m.fake.CallCount() + n);
    bool cut = false;
    try {
      m.Defrag();
    } catch (const PowerCut&) {
      cut = true;
    }
    std::set<std::string> swapped = m.PendingFiles();
    m.fake.Restart();
    CheckAfterStart(m, swapped, "cut after call " + std::to_string(n));
    if (!cut) {
      steps = n;
      EXPECT_EQ(swapped.size(), 3u) << "the whole run swaps every hive";
      break;
    }
  }
  EXPECT_GT(steps, 20u);
}

TEST(PowerCutTest, AtEveryStepOfAnUndoEveryHiveStartsWholeAndNothingIsOfferedTwice) {
  for (std::size_t n = 1;; ++n) {
    Machine m;
    ASSERT_EQ(m.Defrag(), DefragOutcome::Restarting);
    m.fake.Restart();
    m.fake.fileClock += 100;
    m.fake.calls.clear();
    m.fake.PowerCutAfter(m.fake.CallCount() + n);
    bool cut = false;
    try {
      m.Undo();
    } catch (const PowerCut&) {
      cut = true;
    }
    std::set<std::string> swappedBack = m.PendingFiles();
    m.fake.Restart();
    const std::string step = "undo cut after call " + std::to_string(n);
    for (std::size_t i = 0; i < m.hives.size(); ++i)
      EXPECT_EQ(Shape(m.fake.LiveHive(kHives[i].root, kHives[i].key)), m.before[i]) << step;
    std::vector<JournalEntry> journal = m.Journal();
    bool undoJournalled = journal.back().kind == JournalKind::Undo && !journal.back().damaged;
    if (undoJournalled) {
      for (const JournalHive& h : journal.back().hives)
        EXPECT_TRUE(h.outcome != JournalOutcome::Scheduled || swappedBack.count(h.file)) << step;
    }
    // Whatever the undo swapped back has no backup any more: never offered again.
    UndoPlan plan = PlanUndo(journal, m.hives, m.fake.platform(), false);
    for (const JournalHive& h : plan.swapBack) EXPECT_FALSE(swappedBack.count(h.file)) << step << ": " << h.name;
    if (!cut) {
      EXPECT_EQ(swappedBack.size(), 3u);
      EXPECT_EQ(plan.refusal, UndoRefusal::AlreadyUndone);
      break;
    }
  }
}

TEST(RestartTest, RefusedByBothCallsTheRunSaysSoRecordsItAndNothingRunsBeforeTheRestart) {
  Machine m;
  m.fake.acceptsExitSystem = false;
  m.fake.initiateRestartError = 21;
  m.fake.notReadyRestarts = 1000;
  JournalWriter journal = m.Writer();
  DefragRun run{m.fake.platform(), m.hives, m.options, false, 12, m.dialogs};
  run.journal = &journal;
  EXPECT_EQ(DefragRegistry(run), DefragOutcome::RestartNotStarted);
  EXPECT_EQ(m.fake.CallsNamed("ExitWindowsEx").size(), 1u);
  // Not ready, it is asked again for a while, then given up.
  EXPECT_EQ(m.fake.CallsNamed("InitiateSystemShutdownExA").size(), std::size_t(kNotReadyTries));
  const std::string failure = "Windows was still not ready to restart after 30 requests (error 21)";
  EXPECT_EQ(run.restart.Failure(), failure);
  std::vector<JournalEntry> entries = m.Journal();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].kind, JournalKind::RestartNotStarted);
  EXPECT_EQ(entries[1].reason, failure);
  m.fake.notReadyRestarts = 0;

  // Taken by the second call: started.
  m.fake.initiateRestartError = win::kErrorShutdownInProgress;
  EXPECT_TRUE(RestartComputer(m.fake, m.fake).Started());
  // Every request is planned maintenance; after a cancel, asked again
  // without closing programs by force.
  m.fake.calls.clear();
  m.fake.initiateRestartError = win::kErrorSuccess;
  EXPECT_TRUE(RestartAgain(m.fake, m.fake, false).Started());
  EXPECT_TRUE(RestartAgain(m.fake, m.fake, true).Started());
  EXPECT_EQ(m.fake.CallsNamed("InitiateSystemShutdownExA"),
            (std::vector<std::string>{"InitiateSystemShutdownExA(2147614724)",
                                      "InitiateSystemShutdownExA(force, 2147614724)"}));
  EXPECT_EQ(RestartReason(), 0x80000000u | 0x00020000u | 0x00000004u)
      << "SHTDN_REASON_FLAG_PLANNED | MAJOR_OPERATINGSYSTEM | MINOR_RECONFIG";
}

// Outside the console session (a task run as SYSTEM, a service, a remote
// session) ExitWindowsEx may succeed without restarting anything:
// InitiateSystemShutdownEx comes first there, asked again while Windows is
// not ready (fast user switching with nobody logged on).
TEST(RestartTest, OutsideTheConsoleSessionTheServicesCallComesFirstAndIsAskedAgainWhileNotReady) {
  const std::string exit = "ExitWindowsEx(6, 2147614724)", initiate = "InitiateSystemShutdownExA(force, 2147614724)",
                    wait = "Sleep(" + std::to_string(kNotReadyWaitMs) + ")";
  struct Row {
    const char* what;
    std::optional<bool> console;
    int notReady;
    long initiateError;
    bool exitTaken;
    std::vector<std::string> calls;
    bool started;
  } rows[] = {
      {"at the console", true, 0, 0, true, {exit}, true},
      {"at the console, refused", true, 0, 0, false, {exit, initiate}, true},
      {"as SYSTEM in session 0", false, 0, 0, true, {initiate}, true},
      {"a system that cannot say", std::nullopt, 0, 0, true, {initiate}, true},
      {"not ready twice", false, 2, 0, true, {initiate, wait, initiate, wait, initiate}, true},
      {"refused outside the console", false, 0, 5, true, {initiate, exit}, true},
      {"refused both ways", false, 0, 5, false, {initiate, exit}, false},
  };
  for (const Row& row : rows) {
    FakePlatform fake;
    fake.consoleSession = row.console;
    fake.notReadyRestarts = row.notReady;
    fake.initiateRestartError = row.initiateError;
    fake.acceptsExitSystem = row.exitTaken;
    RestartAttempt attempt = RestartComputer(fake, fake);
    std::vector<std::string> calls;
    for (const std::string& call : fake.calls)
      if (call.rfind("EnablePrivilege", 0) != 0) calls.push_back(call);
    EXPECT_EQ(calls, row.calls) << row.what;
    EXPECT_EQ(attempt.Started(), row.started) << row.what;
  }
}

TEST(RestartTest, ASecondRunBeforeTheRestartIsRefusedAndTheFirstStaysUndoable) {
  Machine m;
  ASSERT_EQ(m.Defrag(), DefragOutcome::Restarting);
  m.fake.calls.clear();
  // Whatever the clock says: the volatile key is there until the restart.
  for (std::uint64_t clock : {std::uint64_t(0), std::uint64_t(1) << 62}) {
    m.fake.fileClock = clock;
    EXPECT_EQ(m.Defrag(), DefragOutcome::SwapsPending);
    EXPECT_EQ(m.Undo(), UndoOutcome::SwapsPending);
  }
  EXPECT_TRUE(m.fake.CallsNamed("RegSaveKeyA").empty());
  EXPECT_TRUE(m.fake.CallsNamed("RegReplaceKeyA").empty());
  EXPECT_TRUE(m.fake.CallsNamed("DeleteFileA").empty());
  EXPECT_TRUE(m.fake.CallsNamed("MoveFileA").empty());
  EXPECT_EQ(m.Journal().size(), 1u);
  std::optional<WaitingRun> waiting = FindWaitingSwaps(m.fake);
  ASSERT_TRUE(waiting);
  EXPECT_EQ(waiting->run, std::to_string(m.Journal()[0].stamp));
  EXPECT_EQ(WaitingRunText(*waiting), "the run of today (" + waiting->run + ") on WORKSTATION");
  m.fake.Restart();
  EXPECT_FALSE(FindWaitingSwaps(m.fake));
  EXPECT_TRUE(UndoOffered(m.fake.platform(), m.hives, JournalPath(m.fake)));

  // A key of that name that outlives the restart (restored from an export
  // taken while the swaps waited) is no evidence: its flags say it is not
  // volatile, or, where the system cannot tell, its run has taken effect.
  // The next run makes it again as a volatile key.
  struct Row {
    const char* what;
    bool tellsKeyKinds;
    bool restarted;
    bool namesTheRun;  // else a run this journal does not hold
    DefragOutcome outcome;
    const char* logged;
    bool madeBeforeTheMark = false;  // by someone else, right before the run makes its own
  } rows[] = {
      {"an ordinary key made right before the run's own", true, true, false, DefragOutcome::Restarting,
       "deleted and made again", true},
      {"an ordinary key after the restart", true, true, false, DefragOutcome::Restarting, "no volatile key"},
      {"a key after the restart, its kind unknown", false, true, true, DefragOutcome::Restarting, "have taken effect"},
      {"the run's own key before the restart, its kind unknown", false, false, true, DefragOutcome::SwapsPending,
       nullptr},
  };
  for (const Row& row : rows) {
    Machine run;
    ASSERT_EQ(run.Defrag(), DefragOutcome::Restarting) << row.what;
    if (row.restarted) {
      const std::string stamp = row.namesTheRun ? std::to_string(run.Journal()[0].stamp) : "123";
      run.fake.Restart();
      run.fake.fileClock += 10;
      run.Analyse();
      run.fake.AddKey(RootKey::LocalMachine, kSwapsWaitingKey).values = {{"Run", win::kRegSz, stamp},
                                                                        {"Time", win::kRegSz, "today"}};
    }
    run.fake.tellsKeyKinds = row.tellsKeyKinds;
    if (row.madeBeforeTheMark) {
      run.fake.RemoveKey(RootKey::LocalMachine, kSwapsWaitingKey);
      run.fake.onCall = [&run](const std::string& call) {
        if (call.rfind("FlushFileBuffers", 0) == 0)
          run.fake.AddKey(RootKey::LocalMachine, kSwapsWaitingKey).values = {{"Run", win::kRegSz, "123"}};
      };
    }
    EXPECT_EQ(run.Defrag(), row.outcome) << row.what;
    run.fake.onCall = nullptr;
    if (!row.logged) continue;
    ASSERT_FALSE(run.logged.empty()) << row.what;
    EXPECT_NE(run.logged[0].find(row.logged), std::string::npos) << run.logged[0];
    run.fake.Restart();
    const KeyHandle left = run.fake.OpenKeyEx(RootKey::LocalMachine, kSwapsWaitingKey, win::kKeyRead);
    EXPECT_EQ(left, 0u) << row.what << ": made volatile, gone with the restart";
  }
}

// Defragmented, started again, one backup spoilt in place: the undo judges
// by the identities the defragmentation's writer recorded, read back by the
// reader, leaves the spoilt one out and puts the others back.
TEST(RestartTest, ADefragmentationItsRestartASpoiltBackupAndItsUndo) {
  Machine m;
  ASSERT_EQ(m.Defrag(), DefragOutcome::Restarting);
  m.fake.Restart();
  m.fake.fileClock += 100;
  std::vector<JournalEntry> journal = m.Journal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_FALSE(journal[0].judgedByFiles) << "its outcome was written";
  for (const JournalHive& h : journal[0].hives) {
    EXPECT_EQ(h.outcome, JournalOutcome::Scheduled) << h.name;
    EXPECT_EQ(h.currentId, m.fake.Identity(BackupPath(h.file)).value_or("?")) << h.name << ": the live file, renamed";
    EXPECT_EQ(h.copyId, m.fake.Identity(h.file).value_or("?")) << h.name << ": the copy, now the hive";
  }
  // The user's backup overwritten by the software hive's: it keeps its
  // identity and its size is no smaller, but it holds another hive.
  m.fake.OverwriteInPlace(BackupPath(kHives[0].file), BackupPath(kHives[2].file));
  ASSERT_EQ(m.Undo(), UndoOutcome::Restarting);
  EXPECT_EQ(m.PendingFiles(), (std::set<std::string>{kHives[0].file, kHives[1].file}));
  const JournalEntry undo = m.Journal().back();
  ASSERT_EQ(undo.hives.size(), 3u);
  EXPECT_EQ(undo.hives[2].outcome, JournalOutcome::Skipped);
  EXPECT_EQ(undo.hives[2].skipReason, "its backup holds another hive");
  m.fake.Restart();
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_EQ(Shape(m.fake.LiveHive(kHives[i].root, kHives[i].key)), m.before[i]) << kHives[i].name;
  EXPECT_EQ(m.fake.Identity(kHives[2].file), journal[0].hives[2].copyId) << "the user's compacted hive stays";
}

TEST(RestartTest, NoSwapWithoutItsRecordOnDiskOrItsWaitingKeyOrTheRightToRestart) {
  for (const char* fault : {"journal", "flush", "key", "shutdown privilege"}) {
    Machine m;
    if (std::string(fault) == "journal") m.fake.RefuseAppends(JournalPath(m.fake));
    if (std::string(fault) == "key") m.fake.refusedKeys = {UpperAscii(kSwapsWaitingKey)};
    if (std::string(fault) == "flush") {
      m.fake.onCall = [&m](const std::string& call) {
        if (call.rfind("AppendText", 0) == 0) m.fake.RefuseAppends(JournalPath(m.fake));
      };
    }
    const bool privilege = std::string(fault) == "shutdown privilege";
    if (privilege) m.fake.privilegesNotHeld = {"SeShutdownPrivilege"};
    EXPECT_EQ(m.Defrag(), privilege ? DefragOutcome::NothingScheduled : DefragOutcome::NotRecorded) << fault;
    if (privilege) {
      EXPECT_EQ(m.dialogs.shown.back(), "nothing scheduled") << "the user hears why";
      EXPECT_EQ(m.Journal().back().ended,
                "the shutdown privilege is not held, so Windows could not be restarted; nothing was swapped");
    }
    EXPECT_TRUE(m.fake.CallsNamed("RegReplaceKeyA").empty()) << fault;
    EXPECT_TRUE(m.fake.CallsNamed("ExitWindowsEx").empty()) << fault;
    EXPECT_FALSE(FindWaitingSwaps(m.fake)) << fault;
  }
}

// The access a logged open by name asked for: its last argument.
std::uint32_t AccessOf(const std::string& call) {
  return std::uint32_t(std::stoul(call.substr(call.rfind(", ") + 2), nullptr, 16));
}

// A 32-bit program on 64-bit Windows: the catalogue, the copies, their
// checks, the swaps and the undo open every key in the 64-bit view, or the
// copy of SOFTWARE would lack its Wow6432Node and never be swapped.
TEST(Wow64Test, EveryOpenOfARunAndItsUndoIsInTheSystemsViewAndSoftwareIsSwappedBothWays) {
  for (bool wow64 : {false, true}) {
    Machine m(wow64);
    // A volatile key of SOFTWARE's own is never saved: its kind, asked in
    // the system's view, excuses it.
    m.fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Volatile Store").isVolatile = true;
    // The hives as the system lists them, the system folder in its own
    // spelling although Sysnative reaches it too.
    HiveTable listed;
    HiveCatalogue(m.fake, m.fake, m.fake).BuildHiveCatalogue(listed);
    ASSERT_EQ(listed.HiveFiles, m.hives.HiveFiles) << wow64;
    listed.ProfileSids = m.hives.ProfileSids;
    m.hives = listed;
    ASSERT_EQ(m.Defrag(), DefragOutcome::Restarting) << wow64;
    // What the journal names is what the recovery console and Windows' own
    // events name.
    const std::string journal = m.fake.FileText(JournalPath(m.fake));
    EXPECT_EQ(LowerAscii(journal).find("sysnative"), std::string::npos) << journal;
    LoggedEvent event{"Microsoft-Windows-Kernel-General", 15, 1, "\\SystemRoot\\System32\\Config\\SOFTWARE", "9", "8"};
    EXPECT_TRUE(LatestReorganizations({event}, m.hives.HiveFiles, m.fake.systemRoot)[0]) << wow64;
    EXPECT_EQ(m.PendingFiles().size(), 3u) << wow64 << ": " << ::testing::PrintToString(m.dialogs.notSwapped);
    m.fake.Restart();
    m.fake.fileClock += 100;
    ASSERT_EQ(m.Undo(), UndoOutcome::Restarting) << wow64;
    EXPECT_EQ(m.PendingFiles().size(), 3u) << wow64;
    std::vector<std::string> opens = m.fake.CallsNamed("RegOpenKeyExA");
    for (const std::string& create : m.fake.CallsNamed("RegCreateKeyExW")) opens.push_back(create);
    EXPECT_GT(opens.size(), 20u);
    for (const std::string& open : opens)
      EXPECT_EQ((AccessOf(open) & win::kKeyWow64_64Key) != 0, wow64) << open;
  }
}

TEST(LeftAloneTest, OnlyTheSystemsOwnHivesAreCopiedOrSwappedAndTheRestAreListedWithTheirReasons) {
  Machine m;
  const char* const kTableRows[] = {"BCD00000000", "SAM", "SECURITY", "COMPONENTS"};
  for (const char* key : kTableRows) {
    m.fake.AddKey(RootKey::LocalMachine, key).values = {{"secret"}};
    m.fake.AddLoadedHive(std::string("\\REGISTRY\\MACHINE\\") + key, std::string("C:\\W\\config\\") + key);
  }
  // Loaded by other programs: an offline image mounted for servicing, and
  // the hive of an account the system does not list as a profile.
  const char* const kOthers[] = {"\\REGISTRY\\MACHINE\\OFFLINE_SOFTWARE", "\\REGISTRY\\USER\\S-1-5-21-9-1005"};
  m.fake.AddKey(RootKey::LocalMachine, "OFFLINE_SOFTWARE");
  m.fake.AddLoadedHive(kOthers[0], "C:\\Mount\\Windows\\System32\\config\\SOFTWARE");
  m.fake.AddKey(RootKey::Users, "S-1-5-21-9-1005");
  m.fake.AddLoadedHive(kOthers[1], "C:\\Users\\other\\NTUSER.DAT");
  m.fake.AddKey(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList");
  for (const char* sid : {"S-1-5-18", "S-1-5-21-7-1001"})
    m.fake.AddKey(RootKey::LocalMachine, std::string("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\") +
                                             sid);
  HiveCatalogue(m.fake, m.fake, m.fake).BuildHiveCatalogue(m.hives);
  ASSERT_EQ(m.hives.size(), 9u) << "listed";
  EXPECT_EQ(m.hives.ProfileSids, (std::vector<std::string>{"S-1-5-18", "S-1-5-21-7-1001"}));
  EXPECT_EQ(HivesToCopy(m.hives).size(), 3u);
  std::atomic<bool> stop{false};
  Quiet quiet;
  m.fake.calls.clear();
  RunHiveScan(m.fake.platform(), ScanJob{HivesToCopy(m.hives), false}, stop, quiet);
  ASSERT_EQ(m.Defrag(), DefragOutcome::Restarting);
  for (const std::string& call : m.fake.calls) {
    for (const char* key : kTableRows) EXPECT_EQ(call.find(std::string("config\\") + key), std::string::npos) << call;
    EXPECT_EQ(call.find("Mount"), std::string::npos) << call;
    EXPECT_EQ(call.find("other"), std::string::npos) << call;
  }
  ASSERT_EQ(m.dialogs.notSwapped.size(), 6u);
  EXPECT_NE(m.dialogs.notSwapped[0].find("BCD00000000: it is the boot configuration"), std::string::npos);
  EXPECT_EQ(m.dialogs.notSwapped[4], std::string(kOthers[0]) + ": " + kOtherProgramsHive.Reason());
  // Neither in the journal, nor counted as a hive that failed.
  EXPECT_EQ(m.Journal()[0].hives.size(), 3u);
  EXPECT_EQ(m.Journal()[0].Scheduled(), 3);

  // Every row of the table, in any letter case, keeps its own reason.
  const char* const kEveryRow[] = {"BCD00000000", "SAM", "SECURITY", "COMPONENTS", "DRIVERS", "ELAM"};
  std::set<std::string> reasons;
  for (const char* row : kEveryRow) {
    const std::string upper = std::string("\\REGISTRY\\MACHINE\\") + row;
    for (const std::string& name : {upper, LowerAscii(upper), "\\Registry\\Machine\\" + LowerAscii(row)}) {
      std::optional<LeftAlone> why = LeftAloneReason(name, {});
      ASSERT_TRUE(why) << name;
      EXPECT_STRNE(why->Reason(), kOtherProgramsHive.Reason()) << name;
      reasons.insert(why->Reason());
    }
  }
  EXPECT_EQ(reasons.size(), std::size(kEveryRow));
  // The system's own: its two machine hives, the default user's, and the
  // listed profiles' hives and _Classes hives; any other is another program's.
  const std::vector<std::string> sids = {"S-1-5-21-7-1001"};
  for (const char* own : {"\\REGISTRY\\MACHINE\\SYSTEM", "\\registry\\machine\\software", "\\REGISTRY\\USER\\.DEFAULT",
                          "\\REGISTRY\\USER\\S-1-5-21-7-1001", "\\REGISTRY\\USER\\s-1-5-21-7-1001_classes"})
    EXPECT_FALSE(LeftAloneReason(own, sids)) << own;
  for (const char* other : {"\\REGISTRY\\USER\\SAM", "\\REGISTRY\\USER\\S-1-5-21-7-1002", "\\REGISTRY\\USER\\_Classes",
                            "\\REGISTRY\\USER\\S-1-5-21-7-1001\\Nested", "\\REGISTRY\\MACHINE\\SYSTEM2",
                            "\\REGISTRY\\MACHINE\\HARDWARE", "\\SOMEWHERE\\ELSE"})
    EXPECT_EQ(LeftAloneReason(other, sids).value_or(LeftAlone{0, 0}).reasonId, kOtherProgramsHive.reasonId) << other;
  // Only a plain SID reads a copy besides the administrators.
  struct {
    const char* name;
    const char* sid;
  } readers[] = {{"\\REGISTRY\\USER\\S-1-5-21-7-1001_Classes", "S-1-5-21-7-1001"},
                 {"\\REGISTRY\\USER\\.DEFAULT", ""},
                 {"\\REGISTRY\\USER\\", ""},
                 {"\\REGISTRY\\USER\\S-1-", "S-1-"},
                 {"\\REGISTRY\\USER\\S-1", ""},
                 {"\\REGISTRY\\USER\\_Classes", ""},
                 {"\\REGISTRY\\USER\\S-1-5-21-7-1001\\Nested", ""},
                 {"\\REGISTRY\\USER\\S-1-5-21-7-1001\\S-1-5-18", ""},
                 {"\\REGISTRY\\MACHINE\\S-1-5-18", ""}};
  for (const auto& r : readers) EXPECT_EQ(HiveReaderSid(r.name), r.sid) << r.name;
}

}  // namespace
}  // namespace vh
