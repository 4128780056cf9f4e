#include "scan/scan_estimate.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace vh {
namespace {

TEST(TickStepTest, FollowsTheRateOfTheFirstHive) {
  const std::pair<std::int64_t, std::int64_t> table[] = {{0, 10}, {5, 15},  {10, 10}, {20, 30},
                                                         {29, 48}, {30, 30}, {50, 50}, {120, 50}};
  for (auto [raw, step] : table) EXPECT_EQ(TickStepFromRate(raw), step) << "raw " << raw;
}

class ScanEstimateTest : public ::testing::Test {
 protected:
  // Five hives of the given sizes.
  ScanEstimate Make(std::vector<std::int64_t> sizes, bool wow64 = false) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      files.push_back("C:\\h" + std::to_string(i));
      fake.AddFile(files.back(), sizes[i]);
    }
    ScanEstimate e(fake, files, wow64);
    e.Reset();
    e.Start();
    return e;
  }
  FakePlatform fake;
};

TEST_F(ScanEstimateTest, FirstReportSetsTheStepFromTheFirstCopysSpeed) {
  ScanEstimate e = Make({20'000'000, 10'000'000, 10'000'000});
  EXPECT_EQ(e.TotalCurrentBytes(), 40'000'000);
  fake.AddFile("C:\\h0.hvz", 2'000'000);
  e.OnHiveDone(500, 1);  // raw 100
  EXPECT_EQ(e.TickStep(), 50);
  EXPECT_EQ(e.Position(), 500);
  EXPECT_EQ(e.StepLimit(), 750);

  ScanEstimate w = Make({20'000'000, 10'000'000, 10'000'000}, true);
  w.OnHiveDone(500, 1);
  EXPECT_EQ(w.TickStep(), 25);
}

TEST_F(ScanEstimateTest, ZeroMillisecondsGivesFortyOrTwentyUnderWow64) {
  ScanEstimate e = Make({100, 100});
  e.OnHiveDone(0, 1);
  EXPECT_EQ(e.TickStep(), 40);
  ScanEstimate w = Make({100, 100}, true);
  w.OnHiveDone(0, 1);
  EXPECT_EQ(w.TickStep(), 20);
}

TEST_F(ScanEstimateTest, TimerStepsButNeverReachesTheLimitThenFollowsTheGrowingCopy) {
  ScanEstimate e = Make({1000, 1000, 2000});
  e.OnTimerTick();  // first hive: no step yet, no copy
  EXPECT_EQ(e.Position(), 0);
  e.OnHiveDone(0, 1);  // step 40, position 250, limit 500
  for (int i = 0; i < 20; ++i) e.OnTimerTick();
  EXPECT_EQ(e.Position(), 490) << "steps while a whole step stays below the limit of 500";
  fake.AddFile("C:\\h1.hvz", 600);
  e.OnTimerTick();
  EXPECT_EQ(e.Position(), 400) << "a visible copy sets the position, even backwards";
}

TEST_F(ScanEstimateTest, LastReportKeepsTheLimitAndLaterReportsAndTicksDoNothing) {
  ScanEstimate e = Make({1000, 3000});
  e.OnHiveDone(0, 1);
  EXPECT_EQ(e.StepLimit(), 1000);
  e.OnHiveDone(0, 2);
  EXPECT_EQ(e.Position(), 1000);
  EXPECT_EQ(e.StepLimit(), 1000);
  EXPECT_EQ(e.HivesDone(), 2);
  e.OnHiveDone(0, 3);
  EXPECT_EQ(e.BytesDone(), 4000);
  fake.AddFile("C:\\h1.hvz", 99999);
  e.OnTimerTick();
  EXPECT_EQ(e.Position(), 1000);
}

TEST_F(ScanEstimateTest, ReachingAThousandStopsTheTimerButNotTheReports) {
  ScanEstimate e = Make({1000, 1000});
  e.OnHiveDone(0, 1);
  fake.AddFile("C:\\h1.hvz", 1500);  // a copy larger than its hive
  e.OnTimerTick();
  EXPECT_EQ(e.Position(), 1250);
  EXPECT_FALSE(e.TimerEnabled());
  e.OnHiveDone(0, 2);
  EXPECT_EQ(e.Position(), 1000);
}

TEST_F(ScanEstimateTest, EmptyHiveFilesNeverDivideByZero) {
  ScanEstimate e = Make({0, 0});
  e.OnHiveDone(7, 1);
  e.OnTimerTick();
  EXPECT_EQ(e.Position(), 0);
}

}  // namespace
}  // namespace vh
