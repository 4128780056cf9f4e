#include "app/scan_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/hive_info.h"
#include "app/last_figures.h"
#include "hive/reorganization.h"
#include "platform/file_path.h"
#include "platform/error.h"
#include "tests/support/fake_platform.h"

namespace vh {
namespace {

class ScanHivesTest : public ::testing::Test {
 protected:
  void Hive(const std::string& name, std::int64_t current, std::optional<std::int64_t> compacted) {
    // A machine hive by its key, a user hive as "USER\\<key>".
    const bool user = name.rfind("USER\\", 0) == 0;
    const std::string file = "C:\\config\\" + name.substr(user ? 5 : 0);
    table.Append("\\REGISTRY\\" + (user ? name : "MACHINE\\" + name), file);
    fake.AddFile(file, current);
    if (compacted) fake.AddFile(CopyPath(file), *compacted);
  }
  std::string Written(const AnalysisFigures* figures, const Reorganizations& reorganized = {}) {
    WriteScanHives(fake, report, HivesReportOf(table, figures, "PC-0042", "10.0.19045", reorganized));
    return fake.ProfileText(report);
  }
  const std::string report = "C:\\r.ini";
  FakePlatform fake;
  HiveTable table;
};

TEST_F(ScanHivesTest, EachHiveInTableOrderWithTheMeasuredBytesAndNoCopySizeWithoutACopy) {
  Hive("SOFTWARE", 8'388'608, 6'291'456);
  Hive("USER\\.DEFAULT", 262'144, std::nullopt);  // its copy could not be written
  Hive("SAM", 65'536, std::nullopt);            // left alone, never copied
  Hive("SYSTEM", 12'582'912, 9'437'184);
  AnalysisFigures figures = ComputeFigures(fake, table, ".");
  EXPECT_EQ(Written(&figures),
            "[Scan Hives]\r\nComputer=PC-0042\r\nWindows=10.0.19045\r\nHives=4\r\n"
            "Hive1=\\REGISTRY\\MACHINE\\SOFTWARE|8388608|6291456\r\n"
            "Hive2=\\REGISTRY\\USER\\.DEFAULT|262144|\r\n"
            "Hive3=\\REGISTRY\\MACHINE\\SAM|65536|\r\n"
            "Hive4=\\REGISTRY\\MACHINE\\SYSTEM|12582912|9437184\r\n");
  TotalsText totals = TotalsOf(&figures);
  EXPECT_EQ(totals.currentSize, "20,480 KB");
  EXPECT_EQ(totals.compactPercent, "25.0%");
  EXPECT_EQ(totals.compactTenths, 250);
  EXPECT_EQ(totals.hivesNotCopied, 1);
}

TEST_F(ScanHivesTest, WithoutFiguresOrCopiesNoTotalsAndNoHiveLines) {
  Hive("USER\\.DEFAULT", 262'144, std::nullopt);
  EXPECT_EQ(Written(nullptr), "[Scan Hives]\r\nComputer=PC-0042\r\nWindows=10.0.19045\r\nHives=0\r\n");
  AnalysisFigures none = ComputeFigures(fake, table, ".");
  TotalsText totals = TotalsOf(&none);
  EXPECT_EQ(totals.currentSize, "") << "a registry of 0 KB was never measured";
  EXPECT_EQ(totals.hivesNotCopied, 1);
}

constexpr std::uint64_t kDay = 864000000000ull;
constexpr std::uint64_t kNov30 = 134404964430000000ull;  // 2026-11-30 07:14:03 UTC

TEST_F(ScanHivesTest, WindowsOwnReorganisationIsTheNewestWellFormedEntryPerListedHiveFile) {
  const std::string kernel = "Microsoft-Windows-Kernel-General";
  const std::string software = "\\SystemRoot\\System32\\Config\\SOFTWARE";
  table.Append("\\REGISTRY\\MACHINE\\SOFTWARE", "C:\\Windows\\System32\\config\\SOFTWARE");
  table.Append("\\REGISTRY\\MACHINE\\SYSTEM", "C:\\Windows\\System32\\config\\SYSTEM");
  table.Append("\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000", "C:\\Users\\ana\\NTUSER.DAT");
  table.Append("\\REGISTRY\\MACHINE\\SAM", "C:\\Windows\\System32\\config\\SAM");
  fake.systemLogEntries = {
      {kernel, 15, kNov30 - 17 * kDay, software, "95000000", "70000000"},  // older
      {kernel, 15, kNov30, software, "92815360", "60125184"},              // the newest
      {kernel, 15, kNov30 + kDay, software, "92,815,360", "60125184"},     // malformed sizes
      {kernel, 15, kNov30 + kDay, software, "-5", "60125184"},
      {kernel, 15, kNov30 + kDay, software, "92815360", ""},
      {kernel, 15, kNov30 + kDay, software, "99999999999999999999", "1"},
      {kernel, 15, kNov30 - 3 * kDay, "\\??\\C:\\users\\ANA\\ntuser.dat", "1048576", "786432"},
      {kernel, 15, kNov30, "\\??\\C:\\Users\\bob\\NTUSER.DAT", "1048576", "786432"},  // not listed
      {kernel, 16, kNov30, "\\SystemRoot\\System32\\Config\\SYSTEM", "5", "3"},    // another event
      {"Microsoft-Windows-Kernel-Power", 15, kNov30, "\\SystemRoot\\System32\\Config\\SYSTEM", "5", "3"},
      {kernel, 15, kNov30, "\\Device\\HarddiskVolume2\\Windows\\System32\\config\\SAM", "5", "3"},
      {kernel, 15, kNov30, "SAM", "5", "3"},
  };
  fake.version = {2, 6, 1};  // Windows 7: it never reorganises a hive itself
  Reorganizations none = ReadReorganizations(fake.platform(), table);
  EXPECT_EQ(none.size(), 4u);
  EXPECT_EQ(std::count(none.begin(), none.end(), std::nullopt), 4);
  EXPECT_TRUE(fake.CallsNamed("EvtQuery").empty());

  fake.version = {2, 6, 2};  // Windows 8 and later, as they report themselves
  Reorganizations found = ReadReorganizations(fake.platform(), table);
  ASSERT_EQ(found.size(), 4u);
  ASSERT_TRUE(found[0]);
  EXPECT_EQ(found[0]->time, kNov30);
  EXPECT_EQ(found[0]->startBytes, 92815360);
  EXPECT_EQ(found[0]->endBytes, 60125184);
  EXPECT_FALSE(found[1]);
  ASSERT_TRUE(found[2]);
  EXPECT_EQ(found[2]->time, kNov30 - 3 * kDay);
  EXPECT_FALSE(found[3]);

  fake.AddFile("C:\\Windows\\System32\\config\\SOFTWARE", 61'000'000);
  AnalysisFigures figures = ComputeFigures(fake, table, ".");
  std::string text = Written(&figures, found);
  EXPECT_NE(text.find("Hive4=\\REGISTRY\\MACHINE\\SAM|0|\r\n"
                      "Reorganized1=2026-11-30T07:14:03Z|92815360|60125184\r\n"
                      "Reorganized3=2026-11-27T07:14:03Z|1048576|786432\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("Reorganized2"), std::string::npos);
}

TEST(ReorganizationTextTest, TheKernelsNamesOfHiveFilesAndEveryPathSpellingComeToOne) {
  struct Row {
    const char* logged;
    const char* file;
  } rows[] = {
      {"\\SystemRoot\\System32\\Config\\SAM", "C:\\Windows\\System32\\Config\\SAM"},
      {"\\systemroot\\System32\\Config\\SAM", "C:\\Windows\\System32\\Config\\SAM"},
      {"\\??\\D:\\Users\\ana\\NTUSER.DAT", "D:\\Users\\ana\\NTUSER.DAT"},
      {"\\\\?\\C:\\x.dat", "C:\\x.dat"},
      {"C:\\x.dat", "C:\\x.dat"},
      {"\\Device\\HarddiskVolume2\\x.dat", ""},
      {"\\REGISTRY\\MACHINE\\SAM", ""},
      {"\\??\\UNC\\server\\x.dat", ""},
      {"", ""},
  };
  for (const Row& r : rows) EXPECT_EQ(LoggedHiveFile(r.logged, "C:\\Windows"), r.file) << r.logged;
  EXPECT_EQ(LoggedHiveFile("\\SystemRoot\\x", "C:\\Windows\\"), "C:\\Windows\\x");
  EXPECT_EQ(LoggedHiveFile("\\SystemRoot\\x", ""), "") << "a root that cannot be read names nothing";
  for (const char* same : {"c:/windows/system32/CONFIG/sam", "C:\\Windows\\.\\System32\\x\\..\\config\\SAM",
                           "\\\\?\\C:\\Windows\\System32\\config\\SAM", "C:\\Windows\\\\System32\\config\\SAM. ",
                           "C:\\..\\Windows\\System32\\config\\SAM::$DATA"})
    EXPECT_EQ(NormalisedPath(same), "C:\\WINDOWS\\SYSTEM32\\CONFIG\\SAM") << same;
  EXPECT_EQ(NormalisedPath("\\\\?\\UNC\\srv\\share\\..\\r.ini"), "\\\\SRV\\SHARE\\R.INI");
}

TEST(ReorganizationTextTest, TheInfoLineAndTheAdviceSayWhatWindowsDidAndHowLongAgo) {
  const ReorganizationTexts texts{"File: %1", "Windows compacted it itself %1, on %2: from %3 to %4.",
                                  "Windows compacted %1 itself %2.", "these hives", "%1 of these hives",
                                  "today", "1 day ago", "%1 days ago"};
  const std::uint64_t now = kNov30 + 2 * kDay + 5;
  EXPECT_EQ(HiveInfoText("\\REGISTRY\\MACHINE\\SOFTWARE", "C:\\Windows\\System32\\config\\SOFTWARE",
                         Reorganization{kNov30, 92815360, 60125184}, now, texts),
            "\\REGISTRY\\MACHINE\\SOFTWARE\nFile: C:\\Windows\\System32\\config\\SOFTWARE\n"
            "Windows compacted it itself 2 days ago, on 2026-11-30: from 90,640 KB to 58,716 KB.");
  EXPECT_EQ(HiveInfoText("\\REGISTRY\\MACHINE\\SAM", "C:\\%1\\SAM", std::nullopt, now, texts),
            "\\REGISTRY\\MACHINE\\SAM\nFile: C:\\%1\\SAM")
      << "a value is never substituted into";
  Reorganizations two = {Reorganization{kNov30, 2, 1}, std::nullopt, Reorganization{kNov30 - 40 * kDay, 2, 1}};
  EXPECT_EQ(ReorganizedAdviceText(RecentlyReorganized(two, now), 3, texts),
            "Windows compacted 1 of these hives itself 2 days ago.");
  two[1] = Reorganization{kNov30 + 2 * kDay, 2, 1};
  two[2] = Reorganization{kNov30 + kDay, 2, 1};
  EXPECT_EQ(ReorganizedAdviceText(RecentlyReorganized(two, now), 3, texts), "Windows compacted these hives itself today.");
  EXPECT_EQ(ReorganizedAdviceText(RecentlyReorganized({Reorganization{kNov30 - 31 * kDay, 2, 1}}, kNov30), 1, texts), "")
      << "a month ago is not recent";
  EXPECT_EQ(ReorganizedAdviceText(RecentlyReorganized({std::nullopt}, kNov30), 1, texts), "");
  EXPECT_EQ(DaysAgoText(1, texts), "1 day ago");
  EXPECT_EQ(UtcTimeText(133537247990000000ull), "2024-02-29T23:59:59Z");
  EXPECT_EQ(DaysBetween(kNov30, kNov30 - 1), 0);
}

TEST_F(ScanHivesTest, AReportThatCannotBeWrittenThrows) {
  fake.RefuseProfileWrites(report);
  EXPECT_THROW(Written(nullptr), AppError);
}

}  // namespace
}  // namespace vh
