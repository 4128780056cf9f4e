#include "restore/restore_point.h"

#include <gtest/gtest.h>

#include "platform/cim_datetime.h"
#include "tests/support/fake_platform.h"

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

// Only a point the request made is ever the run's own: from Windows 8 on,
// a request within a day of the last point gets that point.
TEST(RestorePointTest, APointIsOursOnlyWhenTheRequestMadeIt) {
  const std::uint64_t hour = 3600ull * 10000000, now = 1000 * hour;
  const OsVersion seven{2, 6, 1}, eight{2, 6, 2}, ten{2, 10, 0};
  struct Row {
    const char* what;
    OsVersion version;
    std::vector<ListedRestorePoint> before;
    bool listed;
    RestoreOutcome outcome;
    bool ours;
    std::uint64_t existingTime;
  } rows[] = {
      {"Windows 7, a point an hour old", seven, {{40, now - hour}}, true, RestoreOutcome::Created, true, 0},
      {"Windows 7, no list", seven, {{40, now - hour}}, false, RestoreOutcome::Created, true, 0},
      {"Windows 8, a point of two hours ago", eight, {{39, now - 30 * hour}, {40, now - 2 * hour}}, true,
       RestoreOutcome::Created, false, now - 2 * hour},
      {"Windows 10, the last point a day and an hour old", ten, {{40, now - 25 * hour}}, true,
       RestoreOutcome::Created, true, 0},
      {"Windows 10, no point yet", ten, {}, true, RestoreOutcome::Created, true, 0},
      {"Windows 10, a point of two hours ago, no list", ten, {{40, now - 2 * hour}}, false, RestoreOutcome::Created,
       false, 0},
      {"System Restore off", ten, {}, true, RestoreOutcome::Refused, false, 0},
  };
  for (const Row& row : rows) {
    FakePlatform fake;
    fake.version = row.version;
    fake.fileClock = now;
    fake.restorePoints = row.before;
    fake.listsRestorePoints = row.listed;
    fake.restoreOutcome = row.outcome;
    RestorePointBegun begun = BeginRestorePoint(fake, OneRestorePointADay(row.version), now);
    EXPECT_EQ(begun.result.outcome, row.outcome) << row.what;
    EXPECT_EQ(begun.ours, row.ours) << row.what;
    EXPECT_EQ(begun.existingTime, row.existingTime) << row.what;
    EXPECT_EQ(fake.CallsNamed("SRSetRestorePointA"),
              std::vector<std::string>{"SRSetRestorePointA(100, 0, 0, Made by Quillmere)"})
        << row.what;
  }
  // Without a list before, a point listed afterwards as made since the
  // request began is the request's own.
  FakePlatform fake;
  fake.version = ten;
  fake.fileClock = now;
  fake.onCall = [&](const std::string& call) {
    if (call.rfind("IWbemServices", 0) == 0) fake.listsRestorePoints = !fake.listsRestorePoints;
  };
  fake.listsRestorePoints = true;  // turned off by the first list, on by the second
  EXPECT_TRUE(BeginRestorePoint(fake, true, now).ours);
}

// The provider gives a point's CreationTime as WMI's date and time text.
TEST(RestorePointTest, TheProvidersTimeTextReadsAsUtc) {
  const std::uint64_t unixEpoch = 116444736000000000ull;
  EXPECT_EQ(CimDateTimeToFileTime("19700101000000.000000+000"), unixEpoch);
  EXPECT_EQ(CimDateTimeToFileTime("19700101010000.000001+060"), unixEpoch + 10);
  EXPECT_EQ(CimDateTimeToFileTime("19691231230000.000000-060"), unixEpoch);
  EXPECT_EQ(CimDateTimeToFileTime("20000229120000.000000+000"), 125962992000000000ull);
  EXPECT_EQ(CimDateTimeToFileTime("16010101000000.000000+000"), 0u);
  for (const char* bad : {"", "20260230120000.000000+000", "20261301120000.000000+000", "2026010112000.000000+000",
                          "20260101120000.000000*000", "20260101120000,000000+000", "2026010112000a.000000+000",
                          "16010101000000.000000+001", "20260101240000.000000+000"})
    EXPECT_FALSE(CimDateTimeToFileTime(bad)) << bad;
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
