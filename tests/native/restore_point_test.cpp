#include "restore/restore_point.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(RestorePointTest, RequestIsABeginSystemChangeMadeByQuillmere) {
  RestorePointRequest r = MakeRestorePointRequest();
  EXPECT_EQ(r.eventType, 100u);
  EXPECT_EQ(r.restorePointType, 0u);
  EXPECT_EQ(r.sequenceNumber, 0);
  EXPECT_EQ(r.description, "Made by Quillmere");
}

TEST(RestorePointTest, OnlyACreatedPointReportsSuccess) {
  EXPECT_EQ(RestorePointResultCode(RestoreOutcome::Created), 0);
  EXPECT_EQ(RestorePointResultCode(RestoreOutcome::Refused), 1);
  EXPECT_EQ(RestorePointResultCode(RestoreOutcome::Unavailable), 1);
}

TEST(RestorePointTest, BarReachesAHundredInThirtyEightTicksAndStays) {
  std::vector<int> seen;
  int p = 0;
  int ticks = 0;
  while (p < 100) {
    p = NextRestoreProgress(p);
    seen.push_back(p);
    ++ticks;
  }
  EXPECT_EQ(ticks, 38);
  EXPECT_EQ(std::vector<int>(seen.begin(), seen.begin() + 11),
            (std::vector<int>{10, 20, 30, 40, 45, 50, 55, 58, 61, 63, 65}));
  EXPECT_EQ(NextRestoreProgress(100), 100);
  EXPECT_EQ(NextRestoreProgress(120), 120);
}

}  // namespace
}  // namespace vh
