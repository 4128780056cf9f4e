// The hive catalogue's faults seen from outside the real program: hives the
// system lists that must never be measured or swapped (another volume's,
// application hives, a hive listed twice, one with no room for its copy).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/unattended.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "tests/wine/support/program_run_fixture.h"

namespace vh {
namespace {

// The fixture and helpers the program-run tests share.
using namespace test;

std::string SwapOf(const test::TestHive& h) { return test::SwapRecord(h, h.file + ".hvz", h.file + ".bak"); }

TEST_F(ProgramRunTest, AHiveOnVolumeTwelveOrWithTheDeviceNameInsideItsPathIsLeftAlone) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 60000, 200000);
  // Cut after "Volume1", volume 12 named "C:2\...": relative to the current
  // folder of C:, which is the program's.
  ASSERT_EQ(home_.path().substr(0, 2), "C:");
  ASSERT_EQ(test::DevicePath("C:\\"), "\\Device\\HarddiskVolume1\\");
  ASSERT_TRUE(CreateDirectoryA(home_.File("2").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(home_.File("2\\vhtest").c_str(), nullptr));
  const std::string twelveFile = home_.File("2\\vhtest\\SAM");
  test::WriteFileBytes(twelveFile, 8192);
  const std::string inside = registry_.folder().File("Inside");
  test::WriteFileBytes(inside, 8192);
  ExtraHiveListValues extra;
  extra.Add("\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest\\Twelve", "\\Device\\HarddiskVolume12\\vhtest\\SAM");
  extra.Add("\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest\\Inside", "\\??\\X" + test::DevicePath(inside));

  RunOutcome outcome = Run("/Silent", {}, 30000);

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(Records()), Joined({SwapOf(alpha), "ExitWindowsEx\t6\t2147614724"}));
  EXPECT_EQ(FilesIn(home_.File("2\\vhtest")), std::vector<std::string>{"SAM"});
  EXPECT_FALSE(files_.Exists(CopyPath(inside)));
}

TEST_F(ProgramRunTest, OnlyDistinctMachineAndUserHivesWithRoomForAPlainCopyAreMeasuredAndSwapped) {
  ASSERT_TRUE(test::EnableTestPrivilege("SeBackupPrivilege"));
  const test::TestHive alpha = registry_.AddHive("Alpha", 240000, 700000);
  const test::TestHive beta = registry_.AddHive("Beta", 90000, 333333);
  const test::TestHive gamma = registry_.AddHive("Gamma", 60000, 200000);
  ASSERT_TRUE(CreateDirectoryA(CopyPath(gamma.file).c_str(), nullptr));
  const std::string appHive = registry_.folder().File("AppHive");
  test::WriteFileBytes(appHive, 8192);
  ExtraHiveListValues extra;
  extra.Add("\\REGISTRY\\A\\{8a9c0d1e-0000-4000-8000-123456789abc}", test::DevicePath(appHive));
  // Wine lists the values sorted by name: these come after alpha's own.
  extra.Add(alpha.name + "_Again", test::DevicePath(alpha.file));
  std::string upperAlpha = test::DevicePath(alpha.file);
  std::transform(upperAlpha.begin(), upperAlpha.end(), upperAlpha.begin(), ::toupper);
  extra.Add(alpha.name + "_Third", upperAlpha);
  const std::string report = registry_.folder().File("r.ini");

  RunOutcome scan = Run("/Scan \"" + report + "\"", {}, 30000);

  EXPECT_EQ(scan.exitCode, DWORD(kExitDone));
  std::int64_t current = QueryFileSize(files_, alpha.file) + QueryFileSize(files_, beta.file);
  std::int64_t compacted = OwnCopySize(alpha) + OwnCopySize(beta);
  float ratio = float(double(current - compacted) * 100.0 / double(current));
  char separator[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
  std::vector<std::string> section = ReportSection(test::ReadFileText(report));
  ASSERT_EQ(section.size(), 6u) << test::ReadFileText(report);
  EXPECT_EQ(section[1], "Current Size=" + FormatSizeKB(current));
  EXPECT_EQ(section[2], "New Size=" + FormatSizeKB(compacted));
  EXPECT_EQ(section[4], "Compact Percent=" + FormatCompactPercent(ratio, separator));
  EXPECT_EQ(Count(Log(), "is already listed for"), 2u) << Log();
  EXPECT_EQ(Count(Log(), CopyPath(gamma.file) + " is not a file"), 1u) << Log();

  RunOutcome silent = Run("/Silent", {}, 30000);

  EXPECT_EQ(silent.exitCode, DWORD(kExitDone));
  std::vector<std::string> records = Records();
  ASSERT_EQ(records.size(), 3u) << Joined(records);
  EXPECT_EQ(records[2], "ExitWindowsEx\t6\t2147614724");
  std::vector<std::string> swaps(records.begin(), records.begin() + 2);
  std::sort(swaps.begin(), swaps.end());
  EXPECT_EQ(swaps, (std::vector<std::string>{SwapOf(alpha), SwapOf(beta)}));
  DWORD folder = GetFileAttributesA(CopyPath(gamma.file).c_str());
  EXPECT_TRUE(folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
}  // namespace vh
