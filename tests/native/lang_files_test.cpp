// Checks the language files shipped beside the executable: every key the
// windows look up is there, the figure labels are not, the bytes are in the
// language's ANSI code page with CRLF lines, and menu and dialog
// accelerators do not collide.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "app/undo_texts.h"
#include "lang/translation.h"
#include "tests/support/fake_platform.h"

namespace vh {
namespace {

const char kFolder[] = "C:\\Program Files\\Varnhold\\";
const char kAbsent[] = "\x01" "absent";

struct SectionKeys {
  std::string section;
  std::vector<std::string> keys;
};

const std::vector<SectionKeys>& KeyTable() {
  static const std::vector<SectionKeys> table = {
      {"frmMain",
       {"frmMain", "lTitle1", "bAnalyzeRegistry", "bDefragRegistry", "bOptions", "Label1", "Label3", "Label2",
        "lTitle3", "bLanguage", "bAbout", "bHomepage", "lLastWashed", "Label4", "Label5", "lCompactPercent1",
        "suiURLLabel1", "Label6", "bExit", "lTitle", "lvMain_Column0", "lvMain_Column1", "lvMain_Column2",
        "lvMain_Column3"}},
      {"Menu_frmMain",
       {"pmiHelp", "Homepage1", "pmiCheckUpdate", "pmiDonate", "About1", "miChinese", "miDutch", "miEnglish",
        "miFrench", "miGerman", "miItalian", "miSpanish", "miOther", "pmiUndo"}},
      {"frmOptions", {"frmOptions", "GroupBox2", "cbAskBeforeDefrag", "cbShowLines", "cbCreateRestore", "bOK", "bCancel"}},
      {"frmAskDelete",
       {"frmAskDelete", "Label2", "Label3", "cbAsk", "GroupBox1", "Label1", "bOK", "bCancel", "Panel2"}},
      {"frmSystemPoint", {"frmSystemPoint", "suiGroupBox1", "lScanTask", "Label1", "Label2", "Label3"}},
      {"frmGetNewHiveProgess", {"frmGetNewHiveProgess", "bStop", "GroupBox1", "Label1", "Label2"}},
      {"frmAbout", {"frmAbout", "Label1", "lCopywrite", "Label3", "lbEAddress", "Label2", "lPoweredBy", "Panel2", "bOK"}},
      {"ResourceString", {"RES_Not_Found"}},
  };
  return table;
}

// Shown figures that a value would overwrite on a language change.
const std::vector<std::string> kFigureLabels = {"lCurrentRegistrySize", "lNewRegistrySize", "lSizeReduction",
                                                "lCompactPercent", "lHiveInfo"};

// Items or buttons that share one menu or dialog, so one set of accelerators.
const std::vector<SectionKeys> kAcceleratorGroups = {
    {"frmMain", {"bAnalyzeRegistry", "bDefragRegistry", "bOptions", "bHomepage", "bLanguage", "bAbout", "bExit"}},
    {"Menu_frmMain", {"pmiHelp", "Homepage1", "pmiCheckUpdate", "pmiDonate", "pmiUndo", "About1"}},
    {"Menu_frmMain", {"miChinese", "miDutch", "miEnglish", "miFrench", "miGerman", "miItalian", "miSpanish"}},
    {"frmOptions", {"cbAskBeforeDefrag", "cbShowLines", "cbCreateRestore", "bOK", "bCancel"}},
    {"frmAskDelete", {"cbAsk", "bOK", "bCancel"}},
};

const std::vector<std::string> kLanguages = {"French", "German", "Spanish", "Italian", "Dutch", "Chinese", "English"};

std::string LangFolder() {
  std::string here = __FILE__;  // <repo>/tests/native/lang_files_test.cpp
  for (int up = 0; up < 3; ++up) here = here.substr(0, here.find_last_of("/\\"));
  return here + "/lang/";
}

std::string LoadBytes(const std::string& language) {
  std::ifstream in(LangFolder() + "DLan_" + language + ".ini", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The single accelerator character of a caption, upper-cased; 0 when none.
char Accelerator(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return char(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

class ShippedLanguageFileTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    bytes = LoadBytes(GetParam());
    ASSERT_FALSE(bytes.empty()) << "no " << LangFolder() << "DLan_" << GetParam() << ".ini";
    fake.SetProfileText(File(), bytes);
  }
  std::string File() const { return std::string(kFolder) + "DLan_" + GetParam() + ".ini"; }
  std::string Value(const std::string& section, const std::string& key) {
    return fake.Read(section, key, kAbsent, kLanguageValueBuffer, File());
  }

  std::string bytes;
  FakePlatform fake;
};

TEST_P(ShippedLanguageFileTest, HoldsEveryKeyTheWindowsLookUp) {
  for (const SectionKeys& entry : KeyTable())
    for (const std::string& key : entry.keys) EXPECT_NE(Value(entry.section, key), kAbsent) << entry.section << "/" << key;
}

TEST_P(ShippedLanguageFileTest, TranslatesEveryMessageOfTheUndo) {
  for (const MessageText& text : UndoMessageTexts()) {
    std::string value = Value("ResourceString", text.key);
    EXPECT_NE(value, kAbsent) << text.key;
    if (GetParam() == "English") {
      EXPECT_EQ(value, text.english) << "the file and the built-in English text differ";
    } else {
      EXPECT_NE(value, text.english) << text.key << " is not translated";
    }
  }
}

TEST(UndoMessageTest, AFileWithoutTheKeyFallsBackOnEnglish) {
  FakePlatform fake;
  fake.SetProfileText(std::string(kFolder) + "DLan_Other.ini", "[ResourceString]\r\nRES_Not_Found=x\r\n");
  for (const MessageText& text : UndoMessageTexts())
    EXPECT_EQ(TranslateText(fake, kFolder, "Other", text.key, text.english), text.english) << text.key;
}

TEST_P(ShippedLanguageFileTest, LeavesTheFigureLabelsAlone) {
  for (const std::string& key : kFigureLabels) EXPECT_EQ(Value("frmMain", key), kAbsent) << key;
}

TEST_P(ShippedLanguageFileTest, LinesEndInCrLf) {
  std::size_t lf = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n') {
      ++lf;
      EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
    }
  EXPECT_GT(lf, 0u);
  EXPECT_EQ(bytes.back(), '\n');
}

TEST_P(ShippedLanguageFileTest, AcceleratorsAreThereAndDifferWithinEachMenuAndDialog) {
  for (const SectionKeys& group : kAcceleratorGroups) {
    std::set<char> used;
    for (const std::string& key : group.keys) {
      char a = Accelerator(Value(group.section, key));
      EXPECT_NE(a, 0) << group.section << "/" << key;
      EXPECT_TRUE(used.insert(a).second) << group.section << "/" << key << " repeats '&" << a << "'";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageFileTest, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

// The program reads the files through the ANSI profile functions, so their
// bytes must be the language's code page, not UTF-8.
TEST(ShippedLanguageEncodingTest, WesternFilesAreWindows1252AndChineseIsGbk) {
  FakePlatform fake;
  auto value = [&](const std::string& language, const std::string& section, const std::string& key) {
    std::string file = std::string(kFolder) + "DLan_" + language + ".ini";
    fake.SetProfileText(file, LoadBytes(language));
    return fake.Read(section, key, kAbsent, kLanguageValueBuffer, file);
  };
  EXPECT_EQ(value("German", "Menu_frmMain", "miFrench"), "&Franz\xF6sisch");
  EXPECT_EQ(value("French", "frmMain", "bDefragRegistry"), "&D\xE9" "fragmenter");
  EXPECT_EQ(value("Spanish", "frmAskDelete", "bOK"), "&S\xED");
  EXPECT_EQ(value("Chinese", "frmMain", "bLanguage"), "\xD3\xEF\xD1\xD4(&L)");  // 语言(&L)
}

}  // namespace
}  // namespace vh
