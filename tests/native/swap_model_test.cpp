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
  bool AskBeforeDefrag() override { return true; }
  RestorePointMade CreateRestorePoint() override { return {RestorePointStep::Created, 41}; }
  bool ConfirmSwapAndRestart(const DefragPlan& plan) override {
    shown.push_back("final notice");
    notSwapped = plan.notSwapped;
    return true;
  }
  void CopyAgain(const HiveTable& hives) override {
    std::atomic<bool> stop{false};
    Quiet quiet;
    RunHiveScan(fake_.platform(), ScanJob{hives, false}, stop, quiet);
  }
  void ShowNothingScheduled(const DefragReport&) override { shown.push_back("nothing scheduled"); }
  bool ConfirmUndo(const UndoPlan&) override { return true; }
  void ShowNothingToUndo(const UndoPlan&) override { shown.push_back("nothing to undo"); }
  void ShowNothingSwappedBack(const JournalEntry&) override { shown.push_back("nothing swapped back"); }
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
};
const HiveDef kHives[] = {
    {"\\REGISTRY\\MACHINE\\SOFTWARE", "C:\\W\\config\\SOFTWARE", RootKey::LocalMachine, "SOFTWARE"},
    {"\\REGISTRY\\MACHINE\\SYSTEM", "C:\\W\\config\\SYSTEM", RootKey::LocalMachine, "SYSTEM"},
    {"\\REGISTRY\\USER\\S-1-5-21-7-1001", "C:\\Users\\u\\NTUSER.DAT", RootKey::Users, "S-1-5-21-7-1001"},
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
      fake.AddLoadedHive(h.name, h.file);
      fake.AddFile(BackupPath(h.file), 3);
      hives.Append(h.name, h.file);
    }
    for (std::size_t i = 0; i < hives.size(); ++i)
      SaveHiveCopy(fake, fake, hives.HiveNames[i], CopyPath(hives.HiveFiles[i]));
    for (const HiveDef& h : kHives) before.push_back(Shape(fake.LiveHive(h.root, h.key)));
    fake.bootTime = 5;
    fake.fileClock = 10;
    fake.calls.clear();
  }
  JournalWriter Writer() { return {fake, fake, JournalPath(fake), [] { return std::string("today"); }, {}}; }
  DefragOutcome Defrag() {
    JournalWriter journal = Writer();
    DefragRun run{fake.platform(), hives, options, false, 12, [] {}, dialogs};
    run.journal = &journal;
    return DefragRegistry(run);
  }
  UndoOutcome Undo() {
    JournalWriter journal = Writer();
    UndoRun run{fake.platform(), hives, false, dialogs, journal};
    return UndoLastDefragmentation(run);
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
};

// After the next start: every hive loads from its file, holds what it held
// (its old contents, or a checked copy of them), every swapped hive's old
// contents are in its backup, the journal claims no swap that did not
// happen, and the undo offers exactly the journalled swaps that took effect.
void CheckAfterStart(Machine& m, const std::set<std::string>& swapped, const std::string& step) {
  std::set<std::string> journalled;
  for (const JournalEntry& e : m.Journal())
    if (e.kind == JournalKind::Defragmentation && !e.damaged)
      for (const JournalHive& h : e.hives)
        if (h.outcome == JournalOutcome::Scheduled) journalled.insert(h.file);
  for (std::size_t i = 0; i < m.hives.size(); ++i) {
    const HiveDef& h = kHives[i];
    ASSERT_TRUE(m.fake.HasFile(h.file)) << step << ": " << h.file;
    EXPECT_EQ(Shape(m.fake.LiveHive(h.root, h.key)), m.before[i]) << step << ": " << h.name;
    if (swapped.count(h.file)) {
      const FakeHive* backup = m.fake.SavedHive(BackupPath(h.file));
      ASSERT_NE(backup, nullptr) << step << ": " << h.name;
      EXPECT_EQ(Shape(*backup), m.before[i]) << step << ": " << h.name;
    }
    EXPECT_TRUE(!journalled.count(h.file) || swapped.count(h.file)) << step << ": claimed " << h.name;
  }
  UndoPlan plan = PlanUndo(m.Journal(), m.hives, m.fake, m.fake.BootTime());
  std::set<std::string> offered;
  for (const JournalHive& h : plan.swapBack) offered.insert(h.file);
  EXPECT_EQ(offered, journalled) << step;
}

TEST(PowerCutTest, AtEveryStepOfADefragmentationEveryHiveStartsWholeAndTheUndoOffersWhatItCan) {
  std::size_t steps = 0;
  for (std::size_t n = 1;; ++n) {
    Machine m;
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
    UndoPlan plan = PlanUndo(journal, m.hives, m.fake, m.fake.BootTime());
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
  JournalWriter journal = m.Writer();
  DefragRun run{m.fake.platform(), m.hives, m.options, false, 12, [] {}, m.dialogs};
  run.journal = &journal;
  EXPECT_EQ(DefragRegistry(run), DefragOutcome::RestartNotStarted);
  EXPECT_EQ(m.fake.CallsNamed("ExitWindowsEx").size(), 1u);
  EXPECT_EQ(m.fake.CallsNamed("InitiateSystemShutdownExA").size(), 1u);
  EXPECT_EQ(run.restart.Failure(), "Windows refused to restart (error 21)");
  std::vector<JournalEntry> entries = m.Journal();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].kind, JournalKind::RestartNotStarted);
  EXPECT_EQ(entries[1].reason, "Windows refused to restart (error 21)");

  // Taken by the second call: started.
  m.fake.initiateRestartError = win::kErrorShutdownInProgress;
  EXPECT_TRUE(RestartComputer(m.fake, m.fake).Started());
}

TEST(RestartTest, ASecondRunBeforeTheRestartIsRefusedAndTheFirstStaysUndoable) {
  for (bool journalWritable : {true, false}) {
    Machine m;
    if (!journalWritable) m.fake.RefuseAppends(JournalPath(m.fake));
    ASSERT_EQ(m.Defrag(), DefragOutcome::Restarting);
    m.fake.calls.clear();
    // The files tell even where the journal cannot.
    EXPECT_EQ(m.Defrag(), DefragOutcome::SwapsPending) << journalWritable;
    EXPECT_EQ(m.Undo(), UndoOutcome::SwapsPending) << journalWritable;
    EXPECT_TRUE(m.fake.CallsNamed("RegSaveKeyA").empty());
    EXPECT_TRUE(m.fake.CallsNamed("RegReplaceKeyA").empty());
    EXPECT_TRUE(m.fake.CallsNamed("DeleteFileA").empty());
    EXPECT_TRUE(m.fake.CallsNamed("MoveFileA").empty());
    EXPECT_EQ(m.Journal().size(), journalWritable ? 1u : 0u);
    m.fake.Restart();
    EXPECT_FALSE(SwapsWaitForRestart(m.fake, m.fake, m.Journal(), m.hives));
    EXPECT_EQ(UndoOffered(m.fake.platform(), m.hives, JournalPath(m.fake)), journalWritable);
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
    HiveTable listed;
    HiveCatalogue(m.fake, m.fake, m.fake, wow64).BuildHiveCatalogue(listed);
    EXPECT_EQ(listed.size(), 3u) << wow64;
    ASSERT_EQ(m.Defrag(), DefragOutcome::Restarting) << wow64;
    EXPECT_EQ(m.PendingFiles().size(), 3u) << wow64 << ": " << ::testing::PrintToString(m.dialogs.notSwapped);
    m.fake.Restart();
    m.fake.fileClock += 100;
    ASSERT_EQ(m.Undo(), UndoOutcome::Restarting) << wow64;
    EXPECT_EQ(m.PendingFiles().size(), 3u) << wow64;
    std::vector<std::string> opens = m.fake.CallsNamed("RegOpenKeyExA");
    EXPECT_GT(opens.size(), 20u);
    for (const std::string& open : opens)
      EXPECT_EQ((AccessOf(open) & win::kKeyWow64_64Key) != 0, wow64) << open;
  }
}

TEST(LeftAloneTest, BootConfigurationAccountsAndServicingHivesAreListedButNeverCopiedNorSwapped) {
  Machine m;
  const char* const kLeftAlone[] = {"BCD00000000", "SAM", "SECURITY", "COMPONENTS"};
  for (const char* key : kLeftAlone) {
    std::string name = std::string("\\REGISTRY\\MACHINE\\") + key;
    m.fake.AddKey(RootKey::LocalMachine, key).values = {{"secret"}};
    m.fake.AddLoadedHive(name, std::string("C:\\W\\config\\") + key);
  }
  HiveCatalogue(m.fake, m.fake, m.fake, false).BuildHiveCatalogue(m.hives);
  ASSERT_EQ(m.hives.size(), 7u) << "listed";
  EXPECT_EQ(HivesToCopy(m.hives).size(), 3u);
  std::atomic<bool> stop{false};
  Quiet quiet;
  m.fake.calls.clear();
  RunHiveScan(m.fake.platform(), ScanJob{HivesToCopy(m.hives), false}, stop, quiet);
  ASSERT_EQ(m.Defrag(), DefragOutcome::Restarting);
  for (const char* key : kLeftAlone) {
    for (const std::string& call : m.fake.calls)
      EXPECT_EQ(call.find(std::string("config\\") + key), std::string::npos) << call;
  }
  EXPECT_EQ(m.dialogs.notSwapped.size(), 4u);
  EXPECT_NE(m.dialogs.notSwapped[0].find("BCD00000000: it is the boot configuration"), std::string::npos);
  // Neither in the journal, nor counted as a hive that failed.
  EXPECT_EQ(m.Journal()[0].hives.size(), 3u);
  EXPECT_EQ(m.Journal()[0].Scheduled(), 3);
  EXPECT_FALSE(LeftAloneReason("\\REGISTRY\\USER\\SAM"));
  EXPECT_EQ(HiveReaderSid("\\REGISTRY\\USER\\S-1-5-21-7-1001_Classes"), "S-1-5-21-7-1001");
  EXPECT_EQ(HiveReaderSid("\\REGISTRY\\USER\\.DEFAULT"), "");
}

}  // namespace
}  // namespace vh
