#include "app/scan_report.h"

#include <gtest/gtest.h>

#include "app/last_figures.h"
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
  std::string Written(const AnalysisFigures* figures) {
    WriteScanHives(fake, report, HivesReportOf(table, figures, "PC-0042", "10.0.19045"));
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

TEST_F(ScanHivesTest, AReportThatCannotBeWrittenThrows) {
  fake.RefuseProfileWrites(report);
  EXPECT_THROW(Written(nullptr), AppError);
}

}  // namespace
}  // namespace vh
