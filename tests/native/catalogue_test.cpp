#include "hive/catalogue.h"

#include <gtest/gtest.h>

#include "platform/file_path.h"
#include "tests/support/fake_platform.h"

namespace vh {
namespace {

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.AddDrive("A:\\", win::kDriveRemovable, "\\Device\\Floppy0");
    fake.AddDrive("C:\\", win::kDriveFixed, "\\Device\\HarddiskVolume1");
    fake.AddDrive("D:\\", win::kDriveFixed, "\\Device\\HarddiskVolume2");
  }
  HiveTable Build() {
    HiveTable table;
    table.Append("stale", "stale");
    HiveCatalogue(fake, fake, fake).BuildHiveCatalogue(table);
    return table;
  }
  FakePlatform fake;
};

TEST_F(CatalogueTest, KeepsStringEntriesInEnumerationOrderAndSkipsTheRest) {
  fake.AddFile("C:\\WINDOWS\\system32\\config\\SYSTEM");
  fake.AddFile("C:\\WINDOWS\\system32\\config\\SAM");
  fake.AddFile("D:\\Users\\u\\NTUSER.DAT");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\SYSTEM", win::kRegSz, "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SYSTEM");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\HARDWARE", win::kRegSz, "");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\NUMBER", win::kRegDword, "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SAM");
  fake.AddHiveListValue("\\REGISTRY\\USER\\S-1-5-21-1", win::kRegExpandSz, "\\device\\harddiskvolume2\\Users\\u\\NTUSER.DAT");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\SAM", win::kRegSz, "\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SAM");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\GONE", win::kRegSz, "\\Device\\HarddiskVolume1\\WINDOWS\\missing");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\NET", win::kRegSz, "\\Device\\Mup\\server\\SYSTEM");

  HiveTable table = Build();
  EXPECT_EQ(table.HiveNames, (std::vector<std::string>{"\\REGISTRY\\MACHINE\\SYSTEM", "\\REGISTRY\\USER\\S-1-5-21-1",
                                                       "\\REGISTRY\\MACHINE\\SAM"}));
  EXPECT_EQ(table.HiveFiles, (std::vector<std::string>{"C:\\WINDOWS\\system32\\config\\SYSTEM", "D:\\Users\\u\\NTUSER.DAT",
                                                       "C:\\WINDOWS\\system32\\config\\SAM"}));
  EXPECT_EQ(fake.calls.front(),
            "RegOpenKeyExA(HKEY_LOCAL_MACHINE, SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList, 0, "
            "0x20019)");
  EXPECT_EQ(fake.calls[1],
            "RegOpenKeyExA(HKEY_LOCAL_MACHINE, SYSTEM\\CurrentControlSet\\Control\\hivelist, 0, 0xF003F)");
  EXPECT_EQ(fake.calls.back(), "RegCloseKey");
}

TEST_F(CatalogueTest, UnopenableKeyGivesAnEmptyTable) {
  EXPECT_TRUE(Build().empty());
}

TEST_F(CatalogueTest, TheWholeDeviceNameAndItsSeparatorMustBeginThePath) {
  fake.AddDrive("E:\\", win::kDriveFixed, "\\Device\\HarddiskVolume12");
  fake.AddDrive("F:\\", win::kDriveFixed, "\\Device\\HarddiskVolume123");
  fake.AddFile("C:\\WINDOWS\\x");
  fake.AddFile("C:2\\WINDOWS\\x");  // what cutting volume 12 after its first digit would name
  fake.AddFile("E:\\WINDOWS\\x");
  fake.AddFile("F:\\WINDOWS\\x");
  HiveCatalogue catalogue(fake, fake, fake);
  EXPECT_EQ(catalogue.MapHiveDevicePath("\\Device\\HarddiskVolume1\\WINDOWS\\x"), "C:\\WINDOWS\\x");
  EXPECT_EQ(catalogue.MapHiveDevicePath("\\Device\\HarddiskVolume12\\WINDOWS\\x"), "E:\\WINDOWS\\x");
  EXPECT_EQ(catalogue.MapHiveDevicePath("\\DEVICE\\HARDDISKVOLUME123\\WINDOWS\\x"), "F:\\WINDOWS\\x");
  // A volume no fixed drive stands for, a device name with no separator
  // after it, and the marker anywhere but at the start.
  EXPECT_EQ(catalogue.MapHiveDevicePath("\\Device\\HarddiskVolume1234\\WINDOWS\\x"), "");
  EXPECT_EQ(catalogue.MapHiveDevicePath("\\Device\\HarddiskVolume1"), "");
  EXPECT_EQ(catalogue.MapHiveDevicePath("\\??\\Device\\HarddiskVolume1\\WINDOWS\\x"), "");
  EXPECT_EQ(catalogue.MapHiveDevicePath("X\\Device\\HarddiskVolume1\\WINDOWS\\x"), "");
}

TEST_F(CatalogueTest, DriveMatchIsCaseBlindAndTheFirstFixedDriveWins) {
  FakePlatform two;
  two.AddDrive("E:\\", win::kDriveRemovable, "\\Device\\HarddiskVolume1");
  two.AddDrive("F:\\", win::kDriveFixed, "\\Device\\HarddiskVolume12");
  two.AddDrive("G:\\", win::kDriveFixed, "\\Device\\HarddiskVolume1");
  two.AddDrive("H:\\", win::kDriveFixed, "\\device\\harddiskvolume1");
  HiveCatalogue catalogue(two, two, two);
  HiveCatalogue::DriveMatch match = catalogue.DriveForDevicePath("\\DEVICE\\HarddiskVolume1\\a");
  EXPECT_EQ(match.drive, "G:");
  EXPECT_EQ(match.deviceLength, 23u);
  EXPECT_EQ(catalogue.DriveForDevicePath("\\Device\\HarddiskVolume3\\a").drive, "");
}

TEST_F(CatalogueTest, OnlyMachineAndUserHivesEachFileOnceAndNoCopyThatIsNotAFile) {
  std::vector<std::string> log;
  fake.AddFile("C:\\config\\SYSTEM");
  fake.AddFile("C:\\config\\SAM");
  fake.AddFile("C:\\config\\SOFTWARE");
  fake.AddFile("C:\\config\\SOFTWARE.hvz", 4096);  // an old copy: replaced by the scan
  fake.AddFile("D:\\app\\settings.dat");
  fake.AddFile("C:\\config\\SECURITY");
  fake.AddFile("C:\\config\\SECURITY.hvz").directory = true;
  fake.AddHiveListValue("\\REGISTRY\\A\\{0b1c}", win::kRegSz, "\\Device\\HarddiskVolume2\\app\\settings.dat");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\SYSTEM", win::kRegSz, "\\Device\\HarddiskVolume1\\config\\SYSTEM");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\", win::kRegSz, "\\Device\\HarddiskVolume1\\config\\SAM");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\SAM", win::kRegSz, "\\Device\\HarddiskVolume1\\config\\SAM");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\SAM2", win::kRegSz, "\\Device\\HarddiskVolume1\\CONFIG\\sam");
  fake.AddHiveListValue("\\REGISTRY\\USER\\S-1-5-18", win::kRegSz, "\\Device\\HarddiskVolume1\\config\\SAM");
  fake.AddHiveListValue("\\registry\\machine\\SOFTWARE", win::kRegSz, "\\Device\\HarddiskVolume1\\config\\SOFTWARE");
  fake.AddHiveListValue("\\REGISTRY\\MACHINE\\SECURITY", win::kRegSz, "\\Device\\HarddiskVolume1\\config\\SECURITY");
  fake.AddHiveListValue("REGISTRY\\USER\\.DEFAULT", win::kRegSz, "\\Device\\HarddiskVolume2\\app\\settings.dat");
  fake.AddFile("D:\\Users\\u\\NTUSER.DAT");
  fake.AddLink("D:\\Users\\u\\NTUSER.DAT.hvz");
  fake.AddHiveListValue("\\REGISTRY\\USER\\S-1-5-21-9", win::kRegSz, "\\Device\\HarddiskVolume2\\Users\\u\\NTUSER.DAT");

  HiveTable table;
  HiveCatalogue(fake, fake, fake, [&](const std::string& line) { log.push_back(line); })
      .BuildHiveCatalogue(table);

  EXPECT_EQ(table.HiveNames, (std::vector<std::string>{"\\REGISTRY\\MACHINE\\SYSTEM", "\\REGISTRY\\MACHINE\\SAM",
                                                       "\\registry\\machine\\SOFTWARE"}));
  EXPECT_EQ(table.HiveFiles, (std::vector<std::string>{"C:\\config\\SYSTEM", "C:\\config\\SAM", "C:\\config\\SOFTWARE"}));
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], "Hive \\REGISTRY\\MACHINE\\SAM2 is left out: its file C:\\CONFIG\\sam is already listed for "
                    "\\REGISTRY\\MACHINE\\SAM.");
  EXPECT_NE(log[1].find("\\REGISTRY\\USER\\S-1-5-18"), std::string::npos);
  EXPECT_EQ(log[2], "Hive \\REGISTRY\\MACHINE\\SECURITY is left out: C:\\config\\SECURITY.hvz is not a file.");
  EXPECT_EQ(log[3], "Hive \\REGISTRY\\USER\\S-1-5-21-9 is left out: D:\\Users\\u\\NTUSER.DAT.hvz is not a file.");
}

// The fake's drives, each question to the system counted.
class CountedVolumes final : public Volumes {
 public:
  explicit CountedVolumes(Volumes& inner) : inner_(inner) {}
  int asked = 0;
  std::string LogicalDriveStrings(std::size_t n) override { return ++asked, inner_.LogicalDriveStrings(n); }
  std::uint32_t DriveType(const std::string& root) override { return ++asked, inner_.DriveType(root); }
  std::string DeviceName(const std::string& d, std::size_t n) override { return ++asked, inner_.DeviceName(d, n); }

 private:
  Volumes& inner_;
};

TEST_F(CatalogueTest, TheDrivesAreAskedOncePerBuildAndAnewForTheNext) {
  for (const char* hive : {"SYSTEM", "SOFTWARE", "SAM"}) {
    fake.AddFile(std::string("C:\\config\\") + hive);
    fake.AddHiveListValue(std::string("\\REGISTRY\\MACHINE\\") + hive, win::kRegSz,
                          std::string("\\Device\\HarddiskVolume1\\config\\") + hive);
  }
  fake.AddFile("E:\\Users\\u\\NTUSER.DAT");
  fake.AddHiveListValue("\\REGISTRY\\USER\\S-1-5-21-1", win::kRegSz, "\\Device\\HarddiskVolume3\\Users\\u\\NTUSER.DAT");
  CountedVolumes volumes(fake);
  HiveCatalogue catalogue(fake, volumes, fake);
  HiveTable table;
  catalogue.BuildHiveCatalogue(table);
  // The drive strings, three drive types and two fixed drives' devices.
  EXPECT_EQ(volumes.asked, 6);
  EXPECT_EQ(table.size(), 3u);
  // A drive that came since is found by the next build.
  fake.AddDrive("E:\\", win::kDriveFixed, "\\Device\\HarddiskVolume3");
  catalogue.BuildHiveCatalogue(table);
  EXPECT_EQ(volumes.asked, 6 + 8);
  EXPECT_EQ(table.HiveFiles.back(), "E:\\Users\\u\\NTUSER.DAT");
  // Where every hive lies on the first fixed drive, the drives after it
  // are never asked: the drive strings, A:'s and C:'s types, C:'s device.
  FakePlatform onC;
  onC.AddDrive("A:\\", win::kDriveRemovable, "\\Device\\Floppy0");
  onC.AddDrive("C:\\", win::kDriveFixed, "\\Device\\HarddiskVolume1");
  onC.AddDrive("D:\\", win::kDriveFixed, "\\Device\\HarddiskVolume2");
  for (const char* hive : {"SYSTEM", "SOFTWARE"}) {
    onC.AddFile(std::string("C:\\config\\") + hive);
    onC.AddHiveListValue(std::string("\\REGISTRY\\MACHINE\\") + hive, win::kRegSz,
                         std::string("\\Device\\HarddiskVolume1\\config\\") + hive);
  }
  CountedVolumes onlyC(onC);
  HiveCatalogue(onC, onlyC, onC).BuildHiveCatalogue(table);
  EXPECT_EQ(table.size(), 2u);
  EXPECT_EQ(onlyC.asked, 4);
}

TEST_F(CatalogueTest, FileOnlyOnARemovableDriveOrWithoutAnyDriveIsLeftOut) {
  FakePlatform usb;
  usb.AddDrive("E:\\", win::kDriveRemovable, "\\Device\\HarddiskVolume1");
  usb.AddFile("E:\\hive");
  usb.AddFile("\\hive");  // the bare remainder must not resolve on the current drive
  HiveCatalogue catalogue(usb, usb, usb);
  EXPECT_EQ(catalogue.MapHiveDevicePath("\\Device\\HarddiskVolume1\\hive"), "");
}

// A hive in the 64-bit system folder keeps the system's spelling in the
// table under WOW64 too, where its Sysnative alias also exists: the
// journal, the report, the event log and the recovery console know only
// "System32". Only the platform's own file calls go through Sysnative.
TEST_F(CatalogueTest, TheTableNamesTheSystemFolderAsWindowsDoesAndOnlyFileCallsGoThroughSysnative) {
  fake.AddFile("C:\\WINDOWS\\system32\\config\\SOFTWARE");
  for (bool wow64 : {false, true}) {
    fake.wow64 = wow64;
    EXPECT_EQ(HiveCatalogue(fake, fake, fake)
                  .MapHiveDevicePath("\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SOFTWARE"),
              "C:\\WINDOWS\\system32\\config\\SOFTWARE")
        << wow64;
  }
  struct Spelling {
    const char* path;
    const char* forFileCalls;  // under WOW64, in the Windows folder C:\WINDOWS
    const char* recorded;      // as a record of an earlier version is read
  } spellings[] = {
      {"C:\\WINDOWS\\system32\\config\\SOFTWARE", "C:\\WINDOWS\\Sysnative\\config\\SOFTWARE",
       "C:\\WINDOWS\\system32\\config\\SOFTWARE"},
      {"C:\\WINDOWS\\sysnative\\config\\SAM", "C:\\WINDOWS\\sysnative\\config\\SAM",
       "C:\\WINDOWS\\System32\\config\\SAM"},
      {"C:\\WINDOWS\\System32x\\a", "C:\\WINDOWS\\System32x\\a", "C:\\WINDOWS\\System32x\\a"},
      {"D:\\WINDOWS\\System32\\config\\SAM", "D:\\WINDOWS\\System32\\config\\SAM", "D:\\WINDOWS\\System32\\config\\SAM"},
      {"C:\\a\\system32\\b", "C:\\a\\system32\\b", "C:\\a\\system32\\b"},
      {"C:\\a\\Sysnativeb\\c", "C:\\a\\Sysnativeb\\c", "C:\\a\\Sysnativeb\\c"},
  };
  for (const Spelling& s : spellings) {
    EXPECT_EQ(Wow64FilePath(s.path, "C:\\WINDOWS\\"), s.forFileCalls) << s.path;
    EXPECT_EQ(SystemFolderSpelling(s.path), s.recorded) << s.path;
  }
}

TEST(IsWow64Test, MissingEntryPointMeansNotWow64) {
  FakePlatform fake;
  fake.wow64 = std::nullopt;
  EXPECT_FALSE(IsWow64(fake));
  fake.wow64 = true;
  EXPECT_TRUE(IsWow64(fake));
}

}  // namespace
}  // namespace vh
