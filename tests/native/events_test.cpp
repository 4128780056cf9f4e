#include <gtest/gtest.h>

#include "app/run_events.h"
#include "hive/swap_events.h"
#include "tests/support/fake_platform.h"
#include "res/event_ids.h"

namespace vh {
namespace {

TEST(RunEndEventTest, EveryUnattendedRunEndsWithItsCodeAndScanAndSilentWithTheirTotals) {
  const TotalsText totals{"1,232,757 KB", "1,202,106 KB", "30,651 KB", "2.5%", 1, 25};
  const std::vector<std::string> figures{"1,232,757 KB", "1,202,106 KB", "30,651 KB", "2.5%", "1"};
  auto with = [](std::vector<std::string> head, const std::vector<std::string>& middle, const std::string& last) {
    head.insert(head.end(), middle.begin(), middle.end());
    head.push_back(last);
    return head;
  };
  Invocation scan{RunMode::Scan, "C:\\r.ini", "", std::nullopt};
  Invocation silent{RunMode::Silent, "", "", ParseMinGain("5")};
  Invocation undo{RunMode::Undo, "", "", std::nullopt};
  Invocation refused{RunMode::BadCommandLine, "", "/Undo", std::nullopt};
  struct Case {
    Invocation invocation;
    int code;
    EventType type;
    std::uint32_t id;
    std::vector<std::string> strings;
  };
  for (const Case& c : std::vector<Case>{
           {scan, kExitDone, EventType::Information, kEventScanEnded,
            with({"0", "done"}, figures, "C:\\r.ini")},
           {scan, kExitReportNotWritten, EventType::Error, kEventScanEnded,
            with({"3", "the report file could not be written"}, figures, "C:\\r.ini")},
           {silent, kExitBelowMinGain, EventType::Information, kEventSilentEnded,
            with({"13", ExitCodeMeaning(13)}, figures, "5%")},
           {silent, kExitNothingScheduled, EventType::Error, kEventSilentEnded,
            with({"4", ExitCodeMeaning(4)}, figures, "5%")},
           {undo, kExitNothingToUndo, EventType::Error, kEventUndoEnded,
            {"8", "there is no defragmentation to undo; nothing was done"}},
           {refused, kExitBadCommandLine, EventType::Error, kEventCommandLineRefused,
            {"7", "the command line was refused; nothing was done", "/Undo"}},
       }) {
    FakePlatform fake;
    ReportRunEnd(fake, c.invocation, c.code, totals);
    ASSERT_EQ(fake.events.size(), 1u) << c.code;
    EXPECT_EQ(fake.events[0].type, c.type) << c.code;
    EXPECT_EQ(fake.events[0].id, c.id) << c.code;
    EXPECT_EQ(fake.events[0].strings, c.strings) << c.code;
  }
  FakePlatform interactive;
  ReportRunEnd(interactive, Invocation{}, kExitDone, totals);
  EXPECT_TRUE(interactive.events.empty()) << "a user at the window needs no event";
}

TEST(SwapEventTest, AnUndoListsTheHivesItSwapsBackAndWhyOthersAreNot) {
  JournalEntry done;
  done.kind = JournalKind::Undo;
  done.hives = {{"\\REGISTRY\\MACHINE\\SOFTWARE", "C:\\s", 6'291'456, 8'388'608, JournalOutcome::Scheduled, 0, ""},
                {"\\REGISTRY\\MACHINE\\SAM", "C:\\sam", 262'144, 393'216, JournalOutcome::Refused, 5, ""},
                {"\\REGISTRY\\MACHINE\\SYSTEM", "C:\\sy", -1, -1, JournalOutcome::Skipped, 0, "its backup is missing"}};
  FakePlatform fake;
  ReportUndoEvent(fake, done);
  ASSERT_EQ(fake.events.size(), 1u);
  EXPECT_EQ(fake.events[0].type, EventType::Information);
  EXPECT_EQ(fake.events[0].id, kEventUndoScheduled);
  EXPECT_EQ(fake.events[0].strings,
            (std::vector<std::string>{"1", "3", "\\REGISTRY\\MACHINE\\SOFTWARE: 6,144 KB, 8,192 KB",
                                      "\\REGISTRY\\MACHINE\\SAM: Windows refused the swap back (error 5)\r\n"
                                      "\\REGISTRY\\MACHINE\\SYSTEM: its backup is missing"}));
  done.hives.erase(done.hives.begin());
  fake.events.clear();
  ReportUndoEvent(fake, done);
  ASSERT_EQ(fake.events.size(), 1u);
  EXPECT_EQ(fake.events[0].type, EventType::Error);
  EXPECT_EQ(fake.events[0].id, kEventUndoNothingScheduled);
  ReportRestartNotStarted(fake, "Windows refused the restart (error 1115)");
  EXPECT_EQ(fake.events.back().type, EventType::Error);
  EXPECT_EQ(fake.events.back().id, kEventRestartNotStarted);
  EXPECT_EQ(fake.events.back().strings, std::vector<std::string>{"Windows refused the restart (error 1115)"});
}

}  // namespace
}  // namespace vh
