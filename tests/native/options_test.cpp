#include "settings/options.h"

#include <gtest/gtest.h>

#include <tuple>

#include "lang/messages.h"

#include "platform/error.h"
#include "tests/support/fake_platform.h"

namespace vh {
namespace {

struct BoolCase {
  const char* text;
  bool fallback;
  bool expected;
};

void PrintTo(const BoolCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ProfileBoolTest : public ::testing::TestWithParam<BoolCase> {};

TEST_P(ProfileBoolTest, ReadsAsTheProfileIntegerRuleSays) {
  EXPECT_EQ(ParseProfileBool(GetParam().text, GetParam().fallback), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileBoolTest,
    ::testing::Values(BoolCase{"1", false, true}, BoolCase{"2", false, true}, BoolCase{"-1", false, true},
                      BoolCase{"0x10", false, true}, BoolCase{"0X1f", false, true}, BoolCase{"0", true, false},
                      BoolCase{"0x0", true, false}, BoolCase{"$0", true, false}, BoolCase{"x1", false, true},
                      BoolCase{"  +7", false, true}, BoolCase{"-0", true, false}, BoolCase{"yes", true, true},
                      BoolCase{"yes", false, false}, BoolCase{"", true, true}, BoolCase{"0x", true, true},
                      BoolCase{"1 ", false, false}, BoolCase{"-", true, true}, BoolCase{"$", false, false},
                      BoolCase{"2147483648", true, true}, BoolCase{"-2147483648", false, true},
                      BoolCase{"$FFFFFFFF", false, true}, BoolCase{"$100000000", true, true},
                      BoolCase{"99999999999999999999", false, false}));

TEST(ProfileIntTest, RangeAndHexWrap) {
  std::int32_t v = 0;
  ASSERT_TRUE(ParseProfileInt("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  ASSERT_TRUE(ParseProfileInt("$FFFFFFFF", v));
  EXPECT_EQ(v, -1);
  EXPECT_FALSE(ParseProfileInt("2147483648", v));
}

class OptionsStoreTest : public ::testing::Test {
 protected:
  const std::string ini = "C:\\Program Files\\Varnhold\\options.ini";
  FakePlatform fake;
  TOptionsSetting options;
};

TEST_F(OptionsStoreTest, PathIsTheExecutableFolderAndNoOtherPlace) {
  EXPECT_EQ(OptionsFilePath(fake), ini);
}

TEST_F(OptionsStoreTest, MissingFileGivesTheDefaultsReadInOrder) {
  LoadSaveOptions(options, fake, ini, true);
  EXPECT_TRUE(options.IsAskBeforeDefrag);
  EXPECT_TRUE(options.IsShowLine);
  EXPECT_FALSE(options.RestorePoint);
  EXPECT_EQ(options.Lan, "English");
  const TOptionsSetting fresh;  // a run that never loads starts as one that found no file
  EXPECT_EQ(std::tie(fresh.IsAskBeforeDefrag, fresh.IsShowLine, fresh.RestorePoint, fresh.Lan),
            std::tie(options.IsAskBeforeDefrag, options.IsShowLine, options.RestorePoint, options.Lan));
  EXPECT_EQ(fake.calls, (std::vector<std::string>{
                            "GetPrivateProfileStringA(Options, RestorePoint, " + ini + ")",
                            "GetPrivateProfileStringA(Options, IsAskBeforeDefrag, " + ini + ")",
                            "GetPrivateProfileStringA(Options, IsShowLine, " + ini + ")",
                            "GetPrivateProfileStringA(Options, Lan, " + ini + ")"}));
}

TEST_F(OptionsStoreTest, StoredValuesFollowTheReadingRules) {
  fake.SetProfileText(ini, "[Options]\r\nIsShowLine=0x0\r\nIsAskBeforeDefrag=yes\r\nRestorePoint=2\r\nLan=\r\n");
  LoadSaveOptions(options, fake, ini, true);
  EXPECT_FALSE(options.IsShowLine);
  EXPECT_TRUE(options.IsAskBeforeDefrag);
  EXPECT_TRUE(options.RestorePoint);
  EXPECT_EQ(options.Lan, "");  // empty stays empty, not English
  fake.SetProfileText(ini, "[Options]\r\nLan=french\r\n");
  LoadSaveOptions(options, fake, ini, true);
  EXPECT_EQ(options.Lan, "french");
}

TEST_F(OptionsStoreTest, ALanguageNameWithPathCharactersIsReadAsEnglish) {
  for (const char* stored : {"..\\..\\..\\somewhere\\evil", "../evil", "C:evil", "\\\\srv\\x", "Fr*nch", "a|b",
                             "tab\there"}) {
    fake.SetProfileText(ini, std::string("[Options]\r\nLan=") + stored + "\r\n");
    LoadSaveOptions(options, fake, ini, true);
    EXPECT_EQ(options.Lan, "English") << stored;
  }
  for (const char* stored : {"Chinese", "Brazilian Portuguese", "x.y", "Espa\xF1ol"}) {
    fake.SetProfileText(ini, std::string("[Options]\r\nLan=") + stored + "\r\n");
    LoadSaveOptions(options, fake, ini, true);
    EXPECT_EQ(options.Lan, stored);
  }
}

TEST_F(OptionsStoreTest, LanguageIsReadThroughA2048ByteBuffer) {
  fake.SetProfileText(ini, "[Options]\r\nLan=" + std::string(3000, 'a') + "\r\n");
  LoadSaveOptions(options, fake, ini, true);
  EXPECT_EQ(options.Lan.size(), 2047u);
}

TEST_F(OptionsStoreTest, FreshSaveWritesTheFourKeysInOrder) {
  options = {false, true, true, "German"};
  LoadSaveOptions(options, fake, ini, false);
  EXPECT_EQ(fake.ProfileText(ini),
            "[Options]\r\nRestorePoint=1\r\nIsAskBeforeDefrag=0\r\nIsShowLine=1\r\nLan=German\r\n");
}

TEST_F(OptionsStoreTest, SaveKeepsOtherSectionsAndAppendsAMissingKeyAtTheEndOfItsSection) {
  fake.SetProfileText(ini, "[Other]\r\nA=1\r\n[Options]\r\nLan=French\r\nIsShowLine=0\r\n\r\n[Tail]\r\nB=2\r\n");
  options = {true, true, false, "Dutch"};
  LoadSaveOptions(options, fake, ini, false);
  EXPECT_EQ(fake.ProfileText(ini),
            "[Other]\r\nA=1\r\n[Options]\r\nLan=Dutch\r\nIsShowLine=1\r\nRestorePoint=0\r\nIsAskBeforeDefrag=1\r\n"
            "\r\n[Tail]\r\nB=2\r\n");
}

TEST_F(OptionsStoreTest, RefusedWriteRaisesUnableToWriteAndStopsAtThatKey) {
  fake.RefuseProfileWrites(ini);
  options = {true, true, true, "English"};
  try {
    LoadSaveOptions(options, fake, ini, false);
    FAIL() << "no error raised";
  } catch (const AppError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + ini);
    // The user reads it as a message: the English of its row, or a
    // translation that puts the path where its language wants it.
    ASSERT_EQ(e.messageId, unsigned(IDS_UNABLE_TO_WRITE));
    EXPECT_EQ(Messages().Text(e.messageId, e.values), e.what());
    const Messages german(LanguageFile("[ResourceString]\r\nRES_Unable_To_Write=%1 kann nicht geschrieben werden\r\n", 1252));
    EXPECT_EQ(german.Text(e.messageId, e.values), ini + " kann nicht geschrieben werden");
  }
  EXPECT_EQ(fake.CallsNamed("WritePrivateProfileStringA").size(), 1u);
  EXPECT_TRUE(options.RestorePoint);
}

}  // namespace
}  // namespace vh
