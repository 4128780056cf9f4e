#include "hive/journal.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace vh {
namespace {

JournalEntry EveryOutcome() {
  JournalEntry e;
  e.kind = JournalKind::Defragmentation;
  e.time = "12/7/2026 12:31:17 PM";
  e.stamp = 134097390770000000ull;
  e.restorePoint = RestorePointStep::FailedWentOn;
  e.hives = {{"\\REGISTRY\\MACHINE\\SOFTWARE", "C:\\W\\config\\software", 8388608, 6291456, JournalOutcome::Scheduled},
             {"\\REGISTRY\\MACHINE\\SAM", "C:\\W\\config\\SAM", 262144, 0, JournalOutcome::NotCopied},
             {"\\REGISTRY\\USER\\S-1-5-19", "C:\\lsp\\NTUSER.DAT", 524288, 262144, JournalOutcome::CheckFailed},
             {"\\REGISTRY\\MACHINE\\odd|name", "C:\\odd", -1, 4096, JournalOutcome::Refused, 5}};
  e.machine = MachineState{"19045.4291", {{"C:\\W\\config\\COMPONENTS", 83886080, 134097390000000000ull},
                                          {"C:\\W\\config\\DRIVERS", -1, 0}}};
  return e;
}

TEST(JournalTest, AnEntryReadsBackAsItWasWrittenWithEveryOutcome) {
  JournalEntry written = EveryOutcome();
  std::string text = FormatJournalEntry(written);
  EXPECT_EQ(text.substr(0, text.find("Hive=")),
            "[Defragmentation]\r\nTime=12/7/2026 12:31:17 PM\r\nStamp=134097390770000000\r\n"
            "Restore Point=failed, went on\r\nWindows=19045.4291\r\n"
            "Store=83886080|134097390000000000|C:\\W\\config\\COMPONENTS\r\nStore=-1|0|C:\\W\\config\\DRIVERS\r\n"
            "Hives=4\r\n");
  EXPECT_NE(text.find("Hive=refused with error 5|-1|4096|C:\\odd|\\REGISTRY\\MACHINE\\odd|name\r\n"),
            std::string::npos);

  std::vector<JournalEntry> read = ParseJournal(text);
  ASSERT_EQ(read.size(), 1u);
  const JournalEntry& e = read[0];
  EXPECT_FALSE(e.damaged);
  EXPECT_EQ(e.time, written.time);
  EXPECT_EQ(e.stamp, written.stamp);
  EXPECT_EQ(e.restorePoint, RestorePointStep::FailedWentOn);
  ASSERT_EQ(e.hives.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(e.hives[i].name, written.hives[i].name);
    EXPECT_EQ(e.hives[i].file, written.hives[i].file);
    EXPECT_EQ(e.hives[i].currentSize, written.hives[i].currentSize);
    EXPECT_EQ(e.hives[i].copySize, written.hives[i].copySize);
    EXPECT_EQ(e.hives[i].outcome, written.hives[i].outcome);
  }
  EXPECT_EQ(e.hives[3].error, 5);
  EXPECT_EQ(e.Scheduled(), 1);
  ASSERT_TRUE(e.machine);
  EXPECT_EQ(e.machine->build, "19045.4291");
  ASSERT_EQ(e.machine->stores.size(), 2u);
  EXPECT_EQ(e.machine->stores[0].file, "C:\\W\\config\\COMPONENTS");
  EXPECT_EQ(e.machine->stores[0].size, 83886080);
  EXPECT_EQ(e.machine->stores[0].written, 134097390000000000ull);
  EXPECT_EQ(e.machine->stores[1].size, -1);
  // An entry of an earlier version recorded no machine, and reads as such.
  written.machine.reset();
  EXPECT_FALSE(ParseJournal(FormatJournalEntry(written))[0].machine);

  // Earlier versions wrote a 64-bit system's hives through Sysnative; read
  // back, they name the folder as the system lists it.
  JournalEntry earlier = written;
  earlier.hives[0].file = "C:\\WINDOWS\\sysnative\\config\\software";
  EXPECT_EQ(ParseJournal(FormatJournalEntry(earlier))[0].hives[0].file, "C:\\WINDOWS\\System32\\config\\software");
}

TEST(JournalTest, UndoEntriesAndEveryRestorePointStepRoundTrip) {
  std::string text;
  for (RestorePointStep step : {RestorePointStep::NotAsked, RestorePointStep::NotOffered, RestorePointStep::Created,
                                RestorePointStep::FailedWentOn, RestorePointStep::Stopped, RestorePointStep::Reused}) {
    JournalEntry e;
    e.time = "t";
    e.restorePoint = step;
    text += FormatJournalEntry(e);
  }
  JournalEntry undo;
  undo.kind = JournalKind::Undo;
  undo.time = "t";
  JournalHive skipped{"\\REGISTRY\\MACHINE\\SYSTEM", "C:\\s", 1, 2, JournalOutcome::Skipped};
  skipped.skipReason = "its backup is missing";
  undo.hives = {skipped};
  text += FormatJournalEntry(undo);
  EXPECT_EQ(text.find("Restore Point", text.find("[Undo]")), std::string::npos) << "an undo makes no restore point";

  std::vector<JournalEntry> read = ParseJournal(text);
  EXPECT_NE(text.find("Restore Point=reused\r\n"), std::string::npos);
  ASSERT_EQ(read.size(), 7u);
  EXPECT_EQ(read[2].restorePoint, RestorePointStep::Created);
  EXPECT_EQ(read[4].restorePoint, RestorePointStep::Stopped);
  EXPECT_EQ(read[5].restorePoint, RestorePointStep::Reused);
  EXPECT_EQ(read[6].kind, JournalKind::Undo);
  ASSERT_EQ(read[6].hives.size(), 1u);
  EXPECT_EQ(read[6].hives[0].outcome, JournalOutcome::Skipped);
  EXPECT_EQ(read[6].hives[0].skipReason, "its backup is missing");
  for (const JournalEntry& e : read) EXPECT_FALSE(e.damaged);
}

TEST(JournalTest, ALineBreakInANameCannotForgeALine) {
  JournalEntry e;
  e.time = "t\r\n[Undo]";
  e.hives = {{"\\REGISTRY\\USER\\x\r\nHive=scheduled|1|1|C:\\evil|\\REGISTRY\\MACHINE\\SAM", "C:\\a|b", 1, 1,
              JournalOutcome::Scheduled}};
  std::vector<JournalEntry> read = ParseJournal(FormatJournalEntry(e));
  ASSERT_EQ(read.size(), 1u);
  EXPECT_FALSE(read[0].damaged);
  ASSERT_EQ(read[0].hives.size(), 1u);
  EXPECT_EQ(read[0].hives[0].file, "C:\\a?b");
  EXPECT_EQ(read[0].hives[0].name.find('\n'), std::string::npos);
  // A lone carriage return inside a field ends no line either.
  e.time = "12/7/2026\r[Undo]";
  e.computer = "PC\rStamp=1";
  read = ParseJournal(FormatJournalEntry(e));
  ASSERT_EQ(read.size(), 1u);
  EXPECT_FALSE(read[0].damaged);
  EXPECT_EQ(read[0].time, "12/7/2026?[Undo]");
  EXPECT_EQ(read[0].computer, "PC?Stamp=1");
}

TEST(JournalTest, AnEntryCutShortOrMalformedIsDamagedAndLeavesTheOthersAlone) {
  std::string good = FormatJournalEntry(EveryOutcome());
  std::string cut = good.substr(0, good.rfind("Hive="));  // the last hive line lost
  std::vector<JournalEntry> read = ParseJournal(good + cut);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_FALSE(read[0].damaged);
  EXPECT_TRUE(read[1].damaged);

  for (const std::string& bad :
       {std::string("Stamp=12x"), std::string("Stamp=99999999999999999999999"), std::string("Restore Point=maybe"),
        std::string("Hives=two"), std::string("Hive=scheduled|1|2|C:\\f"), std::string("Hive=lost|1|2|C:\\f|n"),
        std::string("Hive=scheduled|1|2||n"), std::string("Hive=refused with error x|1|2|C:\\f|n"),
        std::string("Hive=scheduled|1|2|C:\\f|n\rx"), std::string("Store=1|2|C:\\f"),
        std::string("Windows=1\r\nStore=1|2"), std::string("Windows=1\r\nStore=x|2|C:\\f"),
        std::string("Windows=1\r\nStore=1|-2|C:\\f"), std::string("Windows=1\r\nStore=1|2|"),
        std::string("Windows=1\r\nWindows=2")}) {
    // A hive line is announced, so that only its own fault can damage the entry.
    std::string count = bad.rfind("Hive=", 0) == 0 ? "1" : "0";
    std::string text =
        "[Defragmentation]\r\nTime=t\r\nStamp=1\r\nRestore Point=created\r\nHives=" + count + "\r\n" + bad + "\r\n";
    std::vector<JournalEntry> one = ParseJournal(text);
    ASSERT_EQ(one.size(), 1u) << bad;
    EXPECT_TRUE(one[0].damaged) << bad;
  }
  EXPECT_FALSE(ParseJournal("[Defragmentation]\r\nTime=t\r\nStamp=1\r\nRestore Point=created\r\nHives=1\r\n"
                            "Hive=scheduled|1|2|C:\\f|n\r\n\r\n")[0]
                   .damaged);
  EXPECT_TRUE(ParseJournal("[Defragmentation]\r\nTime=t\r\nHives=0\r\nRestore Point=created\r\n")[0].damaged)
      << "no stamp";
}

TEST(JournalTest, TextOutsideEntriesIsPassedOver) {
  std::string text = "ons=3\r\nHive=scheduled|1|1|C:\\x|y\r\n[Other]\r\nStamp=5\r\n" +
                     FormatJournalEntry(EveryOutcome()) +
                     "[Notes]\r\nHive=scheduled|1|1|C:\\x|y\r\n";
  std::vector<JournalEntry> read = ParseJournal(text);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_FALSE(read[0].damaged);
  EXPECT_TRUE(ParseJournal("").empty());
}

class JournalFileTest : public ::testing::Test {
 protected:
  JournalWriter Writer() {
    return {fake, fake, JournalPath(fake), [] { return std::string("12/7/2026 1:00:00 PM"); },
            [this](const std::string& line) { failures.push_back(line); }};
  }
  FakePlatform fake;
  std::vector<std::string> failures;
};

TEST_F(JournalFileTest, EntriesAreAppendedBesideTheProgramAndNothingIsEverCut) {
  EXPECT_EQ(JournalPath(fake), "C:\\Program Files\\Varnhold\\varnhold-journal.txt");
  fake.SetFileText(JournalPath(fake), "; kept by hand\r\n");
  fake.fileClock = 500;
  JournalEntry defrag = EveryOutcome();
  EXPECT_TRUE(AppendJournalEntry(Writer(), defrag));
  EXPECT_EQ(defrag.stamp, 500u) << "the caller learns the stamp that names the run";
  fake.fileClock = 600;
  JournalEntry undo;
  undo.kind = JournalKind::Undo;
  EXPECT_TRUE(AppendJournalEntry(Writer(), undo));

  std::string text = fake.FileText(JournalPath(fake));
  EXPECT_EQ(text.rfind("; kept by hand\r\n[Defragmentation]\r\nTime=12/7/2026 1:00:00 PM\r\nStamp=500\r\n", 0), 0u);
  std::vector<JournalEntry> read = ReadJournal(fake, JournalPath(fake));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].stamp, 500u);
  EXPECT_EQ(read[1].stamp, 600u);
  EXPECT_EQ(read[1].kind, JournalKind::Undo);
  EXPECT_EQ(read[1].computer, "WORKSTATION");
  EXPECT_TRUE(failures.empty());
}

TEST_F(JournalFileTest, ANewEntryStartsOnALineOfItsOwnWhateverTheJournalEndsWith) {
  const std::string whole = FormatJournalEntry(EveryOutcome());
  std::string crOnly = whole;
  for (std::size_t at = crOnly.find("\r\n"); at != std::string::npos; at = crOnly.find("\r\n", at))
    crOnly.erase(at + 1, 1);
  struct Case {
    const char* what;
    std::string before;
    bool lastDamaged;  // the entry before the new one
  } cases[] = {
      {"a write cut inside a line", whole.substr(0, whole.size() - 20), true},
      {"a write cut before the closing blank line", whole.substr(0, whole.size() - 2), true},
      {"carriage returns only", crOnly, false},
      {"carriage returns only, cut before the closing blank line", crOnly.substr(0, crOnly.size() - 1), true},
      {"NUL padding after a whole entry", whole + std::string(64, '\0'), false},
      {"NUL padding inside an entry", whole.substr(0, whole.size() - 20) + std::string(64, '\0'), true},
      {"NUL padding after a cut closing line", whole.substr(0, whole.size() - 2) + std::string(64, '\0'), true},
  };
  for (const Case& c : cases) {
    fake.SetFileText(JournalPath(fake), c.before);
    JournalEntry undo;
    undo.kind = JournalKind::Undo;
    ASSERT_TRUE(AppendJournalEntry(Writer(), undo));
    std::vector<JournalEntry> read = ReadJournal(fake, JournalPath(fake));
    ASSERT_EQ(read.size(), 2u) << c.what;
    EXPECT_EQ(read[0].damaged, c.lastDamaged) << c.what;
    EXPECT_EQ(read[1].kind, JournalKind::Undo) << c.what;
    EXPECT_FALSE(read[1].damaged) << c.what;
  }
}

TEST(JournalTest, CountsAndStampsThatDoNotAddUpAreDamage) {
  const std::string head = "[Defragmentation]\r\nTime=t\r\nRestore Point=created\r\n";
  const std::string hive = "Hive=scheduled|1|2|C:\\f|n\r\n";
  struct Case {
    std::string text;
    bool damaged;
  } cases[] = {
      {head + "Stamp=1\r\nHives=2\r\n" + hive + "\r\n", true},  // a hive line lost, the blank line kept
      {head + "Stamp=1\r\nHives=1\r\n" + hive + hive + "\r\n", true},
      {head + "Stamp=18446744073709551616\r\nHives=1\r\n" + hive + "\r\n", true},  // 2^64 wraps to 0
      {head + "Stamp=18446744073709551615\r\nHives=1\r\n" + hive + "\r\n", false},
      {"[Restart Not Started]\r\nTime=t\r\nStamp=5\r\nReason=refused\r\n\r\n", false},
      {"[Restart Not Started]\r\nTime=t\r\nReason=refused\r\n\r\n", true},
      {head + "Stamp=1\r\nHives=1\r\n" + hive + "Ids=a|b\r\nIds=a|b\r\n\r\n", true},  // one Ids a hive
      {head + "Stamp=1\r\nHives=1\r\nIds=a|b\r\n" + hive + "\r\n", true},  // Ids before its hive
      {head + "Stamp=1\r\nHives=1\r\n" + hive + "Ids=ab\r\n\r\n", true},
      {head + "Stamp=1\r\nComputer=PC\r\nHives=1\r\n" + hive + "Ids=|b\r\n\r\n", false},
  };
  for (const Case& c : cases) {
    std::vector<JournalEntry> read = ParseJournal(c.text);
    ASSERT_EQ(read.size(), 1u) << c.text;
    EXPECT_EQ(read[0].damaged, c.damaged) << c.text;
  }
}

TEST_F(JournalFileTest, AJournalThatCannotBeWrittenIsLoggedAndReadsAsEmpty) {
  fake.RefuseAppends(JournalPath(fake));
  JournalEntry entry = EveryOutcome();
  EXPECT_FALSE(AppendJournalEntry(Writer(), entry));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0], "The journal C:\\Program Files\\Varnhold\\varnhold-journal.txt could not be written.");
  EXPECT_TRUE(ReadJournal(fake, JournalPath(fake)).empty());
  fake.SetFileText(JournalPath(fake), FormatJournalEntry(EveryOutcome()));
  fake.RefuseReads(JournalPath(fake));
  EXPECT_TRUE(ReadJournal(fake, JournalPath(fake)).empty());
}

// A run that swaps writes its entry first, each hive "to swap" with its
// files' identities, and its outcome after the last swap; entries of
// earlier versions have neither.
TEST_F(JournalFileTest, AnOutcomeFoldsIntoItsEntryAndAnEntryWithoutOneIsJudgedByItsFiles) {
  const std::string sw = "C:\\W\\config\\software", sy = "C:\\W\\config\\system";
  fake.AddFile(sw + ".hvz");
  fake.AddFile(sy + ".hvz");
  fake.AddFile(sw);
  fake.AddFile(sy);
  JournalEntry planned;
  planned.restorePoint = RestorePointStep::Created;
  planned.hives = {{"\\REGISTRY\\MACHINE\\SOFTWARE", sw, 9, 6, JournalOutcome::ToSwap},
                   {"\\REGISTRY\\MACHINE\\SYSTEM", sy, 5, 4, JournalOutcome::ToSwap},
                   {"\\REGISTRY\\USER\\.DEFAULT", "C:\\W\\config\\default", 1, 0, JournalOutcome::NotCopied}};
  for (JournalHive& h : planned.hives) {
    if (h.outcome != JournalOutcome::ToSwap) continue;
    h.currentId = *fake.Identity(h.file);
    h.copyId = *fake.Identity(h.file + ".hvz");
  }
  fake.fileClock = 700;
  ASSERT_TRUE(AppendJournalEntry(Writer(), planned, true));
  EXPECT_EQ(fake.CallsNamed("FlushFileBuffers").size(), 1u);
  // The software hive was swapped (Windows renamed its copy to the hive's
  // name), then the program was killed.
  fake.RemoveFile(sw);
  ASSERT_TRUE(fake.Move(sw + ".hvz", sw));
  std::vector<JournalEntry> read = ReadJournal(fake, JournalPath(fake));
  ASSERT_EQ(read.size(), 1u);
  EXPECT_FALSE(read[0].damaged);
  EXPECT_TRUE(read[0].judgedByFiles);
  EXPECT_EQ(read[0].hives[0].outcome, JournalOutcome::Scheduled);
  EXPECT_EQ(read[0].hives[1].outcome, JournalOutcome::NotSwapped);
  EXPECT_EQ(read[0].hives[2].outcome, JournalOutcome::NotCopied);
  EXPECT_EQ(read[0].hives[1].copyId, planned.hives[1].copyId);

  // With its outcome, the outcome decides; one cut short is passed over.
  JournalHive refused = planned.hives[1];
  refused.outcome = JournalOutcome::Refused;
  refused.error = 5;
  JournalHive swapped = planned.hives[0];
  swapped.outcome = JournalOutcome::Scheduled;
  JournalEntry outcome = SwapOutcomeOf(planned.stamp, {swapped, refused});
  std::string text = FormatJournalEntry(outcome);
  EXPECT_NE(text.find("[Swap Outcome]\r\n"), std::string::npos);
  EXPECT_NE(text.find("Run=700\r\n"), std::string::npos);
  const std::string before = fake.FileText(JournalPath(fake));
  fake.SetFileText(JournalPath(fake), before + text.substr(0, text.size() - 2));
  EXPECT_TRUE(ReadJournal(fake, JournalPath(fake))[0].judgedByFiles) << "a cut outcome";
  ASSERT_TRUE(AppendJournalEntry(Writer(), outcome, true));
  read = ReadJournal(fake, JournalPath(fake));
  ASSERT_EQ(read.size(), 1u) << "the outcome is no entry of its own";
  EXPECT_FALSE(read[0].judgedByFiles);
  EXPECT_EQ(read[0].hives[0].outcome, JournalOutcome::Scheduled);
  EXPECT_EQ(read[0].hives[1].outcome, JournalOutcome::Refused);
  EXPECT_EQ(read[0].hives[1].error, 5);
  EXPECT_EQ(read[0].Scheduled(), 1);

  // Without identities (no file index), the copy's name being gone tells.
  planned.hives[0].copyId.clear();
  planned.hives[1].copyId.clear();
  fake.SetFileText(JournalPath(fake), FormatJournalEntry(planned));
  read = ReadJournal(fake, JournalPath(fake));
  EXPECT_EQ(read[0].hives[0].outcome, JournalOutcome::Scheduled);
  EXPECT_EQ(read[0].hives[1].outcome, JournalOutcome::NotSwapped);
}

}  // namespace
}  // namespace vh
