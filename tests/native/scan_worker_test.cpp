#include "scan/scan_worker.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fake_platform.h"

namespace vh {
namespace {

// Records the reports and can press Stop when a given hive starts.
class Recorder final : public ScanReporter {
 public:
  explicit Recorder(std::atomic<bool>& stop, int stopAtHive = -1) : stop_(stop), stopAt_(stopAtHive) {}
  void ShowHive(const std::string& name) override {
    events.push_back("show " + name);
    if (++shown_ == stopAt_) stop_ = true;
  }
  void HiveDone(std::uint32_t ms, std::int32_t done) override {
    events.push_back("done " + std::to_string(ms) + " " + std::to_string(done));
  }
  void CopiesDone() override { events.push_back("copies done"); }
  void Finished() override { events.push_back("Finish"); }
  std::vector<std::string> events;

 private:
  std::atomic<bool>& stop_;
  int stopAt_;
  int shown_ = 0;
};

class TickingClock final : public ScanClock {
 public:
  std::uint64_t NowMs() override { return now_ += 120; }

 private:
  std::uint64_t now_ = 1000;
};

class ScanWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 5; ++i) {
      std::string key = "H" + std::to_string(i);
      fake.AddKey(RootKey::LocalMachine, key);
      job.hives.Append("\\REGISTRY\\MACHINE\\" + key, "C:\\" + key);
    }
  }
  FakePlatform fake;
  ScanJob job;
  TickingClock clock;
  std::atomic<bool> stop{false};
};

TEST_F(ScanWorkerTest, CopiesEveryHiveInOrderReportingTheFirstHivesTimeThenFinishes) {
  Recorder r(stop);
  RunHiveScan(fake.platform(), job, stop, r, clock);
  EXPECT_EQ(fake.calls.front(), "EnablePrivilege(SeBackupPrivilege, 0x28)");
  ASSERT_EQ(r.events.size(), 11u);
  EXPECT_EQ(r.events[0], "show \\REGISTRY\\MACHINE\\H1");
  EXPECT_EQ(r.events[1], "done 120 1");
  EXPECT_EQ(r.events[9], "done 120 5");
  EXPECT_EQ(r.events[10], "Finish");
  EXPECT_TRUE(fake.HasFile("C:\\H5.hvz"));
}

// A 32-bit millisecond counter (the Windows tick count) that wraps while the
// first hive is copied still gives the true time.
class WrappingTickClock final : public ScanClock {
 public:
  std::uint64_t NowMs() override {
    std::uint32_t now = next_;
    next_ += 0x300;
    return now;
  }

 private:
  std::uint32_t next_ = 0xFFFFFF00u;
};

TEST_F(ScanWorkerTest, AWrapOfAThirtyTwoBitTickCountDuringTheFirstHiveStillGivesItsTime) {
  Recorder r(stop);
  WrappingTickClock ticks;
  RunHiveScan(fake.platform(), job, stop, r, ticks);
  ASSERT_GE(r.events.size(), 2u);
  EXPECT_EQ(r.events[1], "done 768 1");
}

TEST_F(ScanWorkerTest, StopDuringTheThirdHiveFinishesItAndEndsStoppedWithoutFinish) {
  Recorder r(stop, 3);
  EXPECT_EQ(RunHiveScan(fake.platform(), job, stop, r, clock), ScanCompletion::Stopped);
  EXPECT_EQ(r.events, (std::vector<std::string>{"show \\REGISTRY\\MACHINE\\H1", "done 120 1", "show \\REGISTRY\\MACHINE\\H2",
                                                "done 120 2", "show \\REGISTRY\\MACHINE\\H3", "done 120 3"}));
  EXPECT_TRUE(fake.HasFile("C:\\H3.hvz"));
  EXPECT_FALSE(fake.HasFile("C:\\H4.hvz"));
}

// A stop taken late, while the last hive is copied or while the work after
// the copies runs, still ends the scan as stopped: the dialog told the user
// so, and the defragmentation must swap nothing.
TEST_F(ScanWorkerTest, AStopTakenDuringTheLastHiveOrTheWorkAfterTheCopiesEndsTheScanStopped) {
  struct Row {
    int stopAtHive;      // 1-based hive whose start presses Stop; -1 never
    bool stopInAfter;    // the work after the copies presses Stop
    bool afterSaysGoOn;  // what that work answers
    ScanCompletion expected;
    const char* afterSaw;  // what the work after the copies was told
  };
  const Row rows[] = {
      {5, false, true, ScanCompletion::Stopped, "copied 1"},
      {2, false, true, ScanCompletion::Stopped, "copied 0"},
      {-1, true, true, ScanCompletion::Stopped, "copied 1"},
      {-1, false, false, ScanCompletion::Stopped, "copied 1"},
      {-1, false, true, ScanCompletion::Complete, "copied 1"},
  };
  for (const Row& row : rows) {
    stop = false;
    std::string afterSaw;
    job.afterCopies = [&](bool copied, const std::atomic<bool>&, const std::function<void(const std::string&)>& show) {
      afterSaw = std::string("copied ") + (copied ? "1" : "0");
      show("checking");
      if (row.stopInAfter) stop = true;
      return row.afterSaysGoOn;
    };
    Recorder r(stop, row.stopAtHive);
    EXPECT_EQ(RunHiveScan(fake.platform(), job, stop, r, clock), row.expected) << row.stopAtHive << row.stopInAfter;
    EXPECT_EQ(afterSaw, row.afterSaw);
    ASSERT_FALSE(r.events.empty());
    EXPECT_EQ(r.events.back() == "Finish", row.expected == ScanCompletion::Complete);
    EXPECT_NE(std::find(r.events.begin(), r.events.end(), "show checking"), r.events.end());
    EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "copies done"), afterSaw == "copied 1" ? 1 : 0)
        << "the dialog's line changes only when every hive was copied";
  }
}

TEST_F(ScanWorkerTest, AFailedCopyDoesNotStopTheScanAndAnEmptyTableFinishesAtOnce) {
  job.hives.HiveNames[1] = "\\REGISTRY\\MACHINE\\GONE";
  Recorder r(stop);
  EXPECT_EQ(RunHiveScan(fake.platform(), job, stop, r, clock), ScanCompletion::Complete);
  EXPECT_FALSE(fake.HasFile("C:\\H2.hvz"));
  EXPECT_TRUE(fake.HasFile("C:\\H3.hvz"));
  EXPECT_EQ(r.events.back(), "Finish");

  Recorder empty(stop);
  EXPECT_EQ(RunHiveScan(fake.platform(), ScanJob{}, stop, empty, clock), ScanCompletion::Complete);
  EXPECT_EQ(empty.events, (std::vector<std::string>{"Finish"}));
}

}  // namespace
}  // namespace vh
