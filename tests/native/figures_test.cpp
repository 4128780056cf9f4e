#include "hive/figures.h"

#include <gtest/gtest.h>

#include "lang/messages.h"

#include "tests/support/fake_platform.h"

namespace vh {
namespace {

TEST(FormatSizeKBTest, RoundsUpAndGroupsByThree) {
  EXPECT_EQ(FormatSizeKB(0), "0 KB");
  EXPECT_EQ(FormatSizeKB(1), "1 KB");
  EXPECT_EQ(FormatSizeKB(1024), "1 KB");
  EXPECT_EQ(FormatSizeKB(1025), "2 KB");
  EXPECT_EQ(FormatSizeKB(1048576), "1,024 KB");
  EXPECT_EQ(FormatSizeKB(1262342145), "1,232,757 KB");
  EXPECT_EQ(FormatSizeKB(4398046511104LL), "4,294,967,296 KB");  // past 32 bits
  // A separator one place off shows only where a group is full.
  for (const auto& digits : {std::pair<std::int64_t, const char*>{999, "999 KB"}, {100'000, "100,000 KB"},
                             {999'999, "999,999 KB"}, {123'456'789, "123,456,789 KB"}, {100'000'000, "100,000,000 KB"}})
    EXPECT_EQ(FormatSizeKB(digits.first * 1024), digits.second);
}

TEST(RowReductionTest, TruncatesAndNeverGoesNegativeOrDividesByZero) {
  EXPECT_EQ(RowReduction(1000, 999), "0%");
  EXPECT_EQ(RowReduction(1000, 880), "12%");
  EXPECT_EQ(RowReduction(1000, 0), "100%");
  EXPECT_EQ(RowReduction(1000, 1001), "0%");
  EXPECT_EQ(RowReduction(0, 0), "0%");
}

TEST(CompactPercentTest, OneDecimalHalfAwayFromZeroInTheUsersSeparator) {
  EXPECT_EQ(FormatCompactPercent(2.6f, "."), "2.6%");
  EXPECT_EQ(FormatCompactPercent(15.0f, ","), "15,0%");
  EXPECT_EQ(FormatCompactPercent(2.95f, "."), "3.0%");
  EXPECT_EQ(FormatCompactPercent(0.0f, "."), "0.0%");
  EXPECT_EQ(FormatCompactPercent(0.25f, "."), "0.3%");
  EXPECT_EQ(CompactTenths(2.6f), 26) << "the tenths shown, not the float's 2.5999";
  EXPECT_EQ(CompactTenths(2.95f), 30);
}

class FiguresTest : public ::testing::Test {
 protected:
  // One of the system's own hives: SYSTEM or SOFTWARE by name, any other a
  // listed profile's.
  void Hive(const std::string& file, std::int64_t current, std::optional<std::int64_t> compacted) {
    if (file == "SYSTEM" || file == "SOFTWARE") {
      table.Append("\\REGISTRY\\MACHINE\\" + file, "C:\\" + file);
    } else {
      table.ProfileSids.push_back("S-1-5-21-7-" + std::to_string(1000 + table.size()));
      table.Append("\\REGISTRY\\USER\\" + table.ProfileSids.back(), "C:\\" + file);
    }
    fake.AddFile("C:\\" + file, current);
    if (compacted) fake.AddFile("C:\\" + file + ".hvz", *compacted);
  }
  FakePlatform fake;
  HiveTable table;
};

TEST_F(FiguresTest, AdvisesAgainstATwoPointSixPercentGain) {
  Hive("SYSTEM", 30'000'000, 29'000'000);
  Hive("DEFAULT", 10'000'000, 9'960'000);
  AnalysisFigures f = ComputeFigures(fake, table, ".");
  EXPECT_EQ(f.currentRegistrySize, "39,063 KB");
  EXPECT_EQ(f.newRegistrySize, "38,047 KB");
  EXPECT_EQ(f.sizeReduction, "1,016 KB");
  EXPECT_EQ(f.compactPercent, "2.6%");
  EXPECT_TRUE(f.adviseAgainst);
  ASSERT_EQ(f.rows.size(), 2u);
  EXPECT_EQ(f.rows[0].currentSize, "29,297 KB");
  EXPECT_EQ(f.rows[0].newSize, "28,321 KB");
  EXPECT_EQ(f.rows[0].reduction, "3%");
  EXPECT_EQ(Messages().Text(IDS_ADVICE, {f.compactPercent}).rfind("The fragment rate of your registry is only 2.6%. We", 0),
            0u);
}

TEST_F(FiguresTest, AdviceBoundaryIsTheRoundedFloat) {
  Hive("A", 10000, 9705);  // 2.95 -> shows 3.0% and still advises
  AnalysisFigures almost = ComputeFigures(fake, table, ".");
  EXPECT_EQ(almost.compactPercent, "3.0%");
  EXPECT_TRUE(almost.adviseAgainst);
  fake.AddFile("C:\\A.hvz", 9700);  // exactly 3.0
  AnalysisFigures exact = ComputeFigures(fake, table, ".");
  EXPECT_EQ(exact.compactPercent, "3.0%");
  EXPECT_FALSE(exact.adviseAgainst);
}

TEST_F(FiguresTest, LargerCopiesGiveZeroAndNoAdvice) {
  Hive("A", 5000, 6000);
  Hive("B", 5000, 4500);
  AnalysisFigures f = ComputeFigures(fake, table, ".");
  EXPECT_EQ(f.sizeReduction, "0 KB");
  EXPECT_EQ(f.compactPercent, "0%");
  EXPECT_FALSE(f.adviseAgainst);
  EXPECT_EQ(f.rows[0].reduction, "0%");
  EXPECT_EQ(f.rows[0].newSize, "6 KB");
}

TEST_F(FiguresTest, AHiveNotCopiedShowsTheTextAndStaysOutOfEveryTotal) {
  Hive("A", 10000, 9000);
  Hive("B", 50000, std::nullopt);
  AnalysisFigures f = ComputeFigures(fake, table, ".", Messages());
  ASSERT_EQ(f.rows.size(), 2u);
  EXPECT_EQ(f.rows[1].currentSize, "49 KB");
  EXPECT_EQ(f.rows[1].newSize, "not copied");
  EXPECT_EQ(f.rows[1].reduction, "");
  EXPECT_FALSE(f.rows[1].copied);
  EXPECT_EQ(f.totalCurrent, 10000);
  EXPECT_EQ(f.totalNew, 9000);
  EXPECT_EQ(f.compactPercent, "10.0%") << "not 90% from a missing copy";
  EXPECT_FALSE(f.adviseAgainst);
  EXPECT_EQ(f.notCopied, 1);
  EXPECT_TRUE(f.AnyCopied());
}

TEST_F(FiguresTest, OnlyTheCopiedHivesDecideTheAdvice) {
  Hive("A", 2048, 2048);
  Hive("B", 90000, std::nullopt);
  AnalysisFigures f = ComputeFigures(fake, table, ".");
  EXPECT_EQ(f.sizeReduction, "0 KB");
  EXPECT_EQ(f.compactPercent, "0.0%");
  EXPECT_TRUE(f.adviseAgainst);
  fake.RemoveFile("C:\\A.hvz");
  AnalysisFigures none = ComputeFigures(fake, table, ".");
  EXPECT_FALSE(none.AnyCopied());
  EXPECT_EQ(none.notCopied, 2);
  EXPECT_EQ(none.rows[0].newSize, "not copied");
}

TEST_F(FiguresTest, EmptyHiveFilesNeitherCrashNorAdvise) {
  Hive("A", 0, 0);
  AnalysisFigures f = ComputeFigures(fake, table, ".");
  EXPECT_EQ(f.rows[0].reduction, "0%");
  EXPECT_EQ(f.compactPercent, "0%");
  EXPECT_FALSE(f.adviseAgainst);
}

}  // namespace
}  // namespace vh
