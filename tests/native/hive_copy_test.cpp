#include "hive/hive_copy.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace vh {
namespace {

TEST(SplitHiveNameTest, FindsEitherMarkerAnywhereAndKeepsTheSubkeyCase) {
  HiveKeyPath sam = SplitHiveName("\\registry\\machine\\sam");
  EXPECT_EQ(sam.root, RootKey::LocalMachine);
  EXPECT_EQ(sam.subkey, "sam");
  HiveKeyPath user = SplitHiveName("\\REGISTRY\\USER\\S-1-5-18");
  EXPECT_EQ(user.root, RootKey::Users);
  EXPECT_EQ(user.subkey, "S-1-5-18");
  EXPECT_EQ(SplitHiveName("\\REGISTRY\\A\\B").root, RootKey::None);
  EXPECT_EQ(SplitHiveName("").root, RootKey::None);
}

struct OpenCase {
  const char* name;
  bool wow64;
  const char* expectedOpen;
  HiveFormat format;  // the format Windows keeps the hive in
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name << (c.wow64 ? " wow64" : ""); }

class SaveHiveCopyOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(SaveHiveCopyOpenTest, OpensTheHiveInTheSystemsViewByRootNameAndSavesItInItsOwnFormat) {
  FakePlatform fake;
  fake.wow64 = GetParam().wow64;
  fake.AddKey(RootKey::LocalMachine, "SOFTWARE");
  fake.AddKey(RootKey::LocalMachine, "SYSTEM");
  fake.AddKey(RootKey::Users, "S-1-5-21-1-2-3-1000_Classes");
  fake.AddKey(RootKey::Users, "S-1-5-21-1-2-3-1000");
  fake.AddKey(RootKey::Users, ".DEFAULT");
  ASSERT_TRUE(SaveHiveCopy(fake, fake, GetParam().name, "C:\\h.hvz"));
  EXPECT_EQ(fake.calls.front(), GetParam().expectedOpen);
  EXPECT_EQ(fake.calls.back(), "RegCloseKey");
  ASSERT_TRUE(fake.HasFile("C:\\h.hvz"));
  EXPECT_EQ(fake.FindFile("C:\\h.hvz")->format, GetParam().format);
}

const HiveFormat kLatest = HiveFormat::Latest, kStandard = HiveFormat::Standard;

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveHiveCopyOpenTest,
    ::testing::Values(
        OpenCase{"\\REGISTRY\\MACHINE\\SOFTWARE", true, "RegOpenKeyExA(HKEY_LOCAL_MACHINE, SOFTWARE, 0, 0x20119)",
                 kLatest},
        OpenCase{"\\REGISTRY\\MACHINE\\SOFTWARE", false, "RegOpenKeyExA(HKEY_LOCAL_MACHINE, SOFTWARE, 0, 0x20019)",
                 kLatest},
        OpenCase{"\\registry\\machine\\software", false, "RegOpenKeyExA(HKEY_LOCAL_MACHINE, software, 0, 0x20019)",
                 kLatest},
        OpenCase{"\\REGISTRY\\MACHINE\\SYSTEM", true, "RegOpenKeyExA(HKEY_LOCAL_MACHINE, SYSTEM, 0, 0x20119)", kLatest},
        OpenCase{"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000_Classes", true,
                 "RegOpenKeyExA(HKEY_USERS, S-1-5-21-1-2-3-1000_Classes, 0, 0x20119)", kLatest},
        OpenCase{"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000_CLASSES", false,
                 "RegOpenKeyExA(HKEY_USERS, S-1-5-21-1-2-3-1000_CLASSES, 0, 0x20019)", kLatest},
        OpenCase{"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000", false,
                 "RegOpenKeyExA(HKEY_USERS, S-1-5-21-1-2-3-1000, 0, 0x20019)", kStandard},
        OpenCase{"\\REGISTRY\\USER\\.DEFAULT", true, "RegOpenKeyExA(HKEY_USERS, .DEFAULT, 0, 0x20119)", kStandard}));

TEST(SaveHiveCopyTest, DeletesAnExistingTargetInEveryCase) {
  FakePlatform fake;
  fake.AddFile("C:\\x.hvz", 77);
  EXPECT_FALSE(SaveHiveCopy(fake, fake, "\\NOWHERE\\X", "C:\\x.hvz"));
  EXPECT_FALSE(fake.HasFile("C:\\x.hvz"));
  EXPECT_TRUE(fake.CallsNamed("Reg").empty());

  fake.AddFile("C:\\x.hvz", 77);
  EXPECT_FALSE(SaveHiveCopy(fake, fake, "\\REGISTRY\\MACHINE\\ABSENT", "C:\\x.hvz"));
  EXPECT_FALSE(fake.HasFile("C:\\x.hvz"));

  fake.AddKey(RootKey::LocalMachine, "SYSTEM").savedSize = 5000;
  fake.AddFile("C:\\x.hvz", 77);
  EXPECT_TRUE(SaveHiveCopy(fake, fake, "\\REGISTRY\\MACHINE\\SYSTEM", "C:\\x.hvz"));
  EXPECT_EQ(fake.FindFile("C:\\x.hvz")->size, 5000);
}

TEST(SaveHiveCopyTest, AFailedSaveLeavesNoPartialCopyBehind) {
  FakePlatform fake;
  FakeKey& key = fake.AddKey(RootKey::LocalMachine, "SYSTEM");
  key.saveError = 112;  // ERROR_DISK_FULL after writing part of the file
  key.partialBytes = 1234;
  EXPECT_FALSE(SaveHiveCopy(fake, fake, "\\REGISTRY\\MACHINE\\SYSTEM", "C:\\s.hvz"));
  EXPECT_FALSE(fake.HasFile("C:\\s.hvz"));
  EXPECT_EQ(fake.calls.back(), "DeleteFileA(C:\\s.hvz)");
}

TEST(PrivilegeTest, BackupAndRestoreUseTheirNamesAndTokenAccess) {
  FakePlatform fake;
  EnableBackupPrivilege(fake);
  EnableRestorePrivilege(fake);
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"EnablePrivilege(SeBackupPrivilege, 0x28)",
                                                  "EnablePrivilege(SeRestorePrivilege, 0xF00FF)"}));
}

TEST(QueryFileSizeTest, MissingIsZeroUnreadableIsMinusOneLargeFilesKeepAll64Bits) {
  FakePlatform fake;
  EXPECT_EQ(QueryFileSize(fake, "C:\\none"), 0);
  fake.AddFile("C:\\odd").unreadable = true;
  EXPECT_EQ(QueryFileSize(fake, "C:\\odd"), -1);
  fake.AddFile("C:\\big", 5'000'000'000LL);
  EXPECT_EQ(QueryFileSize(fake, "C:\\big"), 5'000'000'000LL);
  fake.AddFile("C:\\locked", 262144).locked = true;
  EXPECT_EQ(QueryFileSize(fake, "C:\\locked"), 262144);
  fake.AddFile("C:\\dir").directory = true;
  EXPECT_EQ(QueryFileSize(fake, "C:\\dir"), 0);
}

TEST(IsFileLockedTest, OnlyAnExistingFileThatCannotBeOpenedExclusivelyIsLocked) {
  FakePlatform fake;
  EXPECT_FALSE(IsFileLocked(fake, "C:\\none"));
  EXPECT_TRUE(fake.CallsNamed("CreateFileA").empty());
  fake.AddFile("C:\\free");
  EXPECT_FALSE(IsFileLocked(fake, "C:\\free"));
  fake.AddFile("C:\\held").locked = true;
  EXPECT_TRUE(IsFileLocked(fake, "C:\\held"));
}

}  // namespace
}  // namespace vh

namespace vh {
namespace {

TEST(LinkHardeningTest, NothingIsDeletedOrWrittenThroughAPlantedLink) {
  FakePlatform fake;
  fake.AddKey(RootKey::Users, "S-1-5-21-7");
  fake.AddFile("C:\\Users\\u\\NTUSER.DAT.hvz", 10);
  fake.AddLink("C:\\Users\\u\\NTUSER.DAT.hvz");
  EXPECT_FALSE(SaveHiveCopy(fake, fake, "\\REGISTRY\\USER\\S-1-5-21-7", "C:\\Users\\u\\NTUSER.DAT.hvz"));
  EXPECT_TRUE(fake.CallsNamed("DeleteFileA").empty());
  EXPECT_TRUE(fake.CallsNamed("RegSaveKeyA").empty());

  DeleteLeftoverCopies(fake, {"C:\\Users\\u\\NTUSER.DAT", "C:\\W\\SYSTEM"});
  EXPECT_TRUE(fake.HasFile("C:\\Users\\u\\NTUSER.DAT.hvz"));

  FakePlatform folder;
  folder.AddKey(RootKey::Users, "S-1-5-21-7");
  folder.AddLink("C:\\Users\\u\\AppData");  // a junction on the way
  EXPECT_FALSE(SaveHiveCopy(folder, folder, "\\REGISTRY\\USER\\S-1-5-21-7",
                            "C:\\Users\\u\\AppData\\Local\\UsrClass.dat.hvz"));
  EXPECT_TRUE(folder.CallsNamed("RegSaveKeyA").empty());
}

TEST(DeleteLeftoverCopiesTest, DeletesEveryExistingCopyAndLeavesHeldOnes) {
  FakePlatform fake;
  fake.AddFile("C:\\a.hvz");
  fake.AddFile("C:\\b.hvz").locked = true;  // named in a pending swap
  fake.AddFile("C:\\c");
  DeleteLeftoverCopies(fake, {"C:\\a", "C:\\b", "C:\\c"});
  EXPECT_FALSE(fake.HasFile("C:\\a.hvz"));
  EXPECT_TRUE(fake.HasFile("C:\\b.hvz"));
  EXPECT_TRUE(fake.HasFile("C:\\c"));
  EXPECT_EQ(fake.CallsNamed("DeleteFileA"), (std::vector<std::string>{"DeleteFileA(C:\\a.hvz)", "DeleteFileA(C:\\b.hvz)"}));
}

}  // namespace
}  // namespace vh
