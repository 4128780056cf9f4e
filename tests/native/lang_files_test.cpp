// Checks the language files shipped beside the executable: every key the
// windows look up and every message is there (messages with the places of
// their English), the figure labels are not, each file names the code page
// its bytes are in and has CRLF lines, and menu and dialog accelerators do
// not collide.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "lang/messages.h"
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
        "lTitle3", "bLanguage", "bAbout", "lLastWashed", "Label4", "Label5", "lCompactPercent1",
        "suiURLLabel1", "Label6", "bExit", "lTitle", "lvMain_Column0", "lvMain_Column1", "lvMain_Column2",
        "lvMain_Column3", "lRestartPending", "bRestartNow"}},
      {"Menu_frmMain",
       {"pmiHelp", "Homepage1", "pmiCheckUpdate", "pmiDonate", "About1", "miChinese", "miDutch", "miEnglish",
        "miFrench", "miGerman", "miItalian", "miSpanish", "miOther", "pmiUndo"}},
      {"frmOptions", {"frmOptions", "GroupBox2", "cbAskBeforeDefrag", "cbShowLines", "cbCreateRestore", "bOK", "bCancel"}},
      {"frmAskDelete",
       {"frmAskDelete", "Label2", "Label3", "cbAsk", "GroupBox1", "Label1", "bOK", "bCancel", "Panel2"}},
      {"frmSystemPoint", {"frmSystemPoint", "suiGroupBox1", "lScanTask", "Label1", "Label2", "Label3"}},
      {"frmGetNewHiveProgess", {"frmGetNewHiveProgess", "bStop", "GroupBox1", "Label1", "Label2"}},
      {"frmAbout", {"frmAbout", "Label1", "lCopywrite", "Label3", "lbEAddress", "Label2", "lPoweredBy", "Panel2", "bOK"}},
  };
  return table;
}

// Shown figures that a value would overwrite on a language change.
const std::vector<std::string> kFigureLabels = {"lCurrentRegistrySize", "lNewRegistrySize", "lSizeReduction",
                                                "lCompactPercent", "lHiveInfo"};

// Items or buttons that share one menu or dialog, so one set of accelerators.
const std::vector<SectionKeys> kAcceleratorGroups = {
    {"frmMain", {"bAnalyzeRegistry", "bDefragRegistry", "bOptions", "bLanguage", "bAbout", "bExit"}},
    {"frmMain", {"bRestartNow", "bOptions", "bLanguage", "bAbout", "bExit"}},
    {"Menu_frmMain", {"pmiHelp", "Homepage1", "pmiCheckUpdate", "pmiDonate", "pmiUndo", "About1"}},
    {"Menu_frmMain", {"miChinese", "miDutch", "miEnglish", "miFrench", "miGerman", "miItalian", "miSpanish"}},
    {"frmOptions", {"cbAskBeforeDefrag", "cbShowLines", "cbCreateRestore", "bOK", "bCancel"}},
    {"frmAskDelete", {"cbAsk", "bOK", "bCancel"}},
};

struct ShippedLanguage {
  std::string name;
  unsigned codePage;  // what its [Language] section names
};
const std::vector<ShippedLanguage> kLanguages = {{"French", 1252}, {"German", 1252}, {"Spanish", 1252},
                                                 {"Italian", 1252}, {"Dutch", 1252}, {"Chinese", 936},
                                                 {"English", 1252}};

// Messages that read the same in every language (none yet): they may be
// missing from a file or equal to the English.
const std::set<std::string> kDeliberatelyEnglish = {};

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

class ShippedLanguageFileTest : public ::testing::TestWithParam<ShippedLanguage> {
 protected:
  void SetUp() override {
    bytes = LoadBytes(Name());
    ASSERT_FALSE(bytes.empty()) << "no " << LangFolder() << "DLan_" << Name() << ".ini";
    fake.SetProfileText(File(), bytes);
    file = ReadLanguageFile(fake, File(), Name());
    ASSERT_TRUE(file.Found()) << "the code page of " << Name() << " cannot be decoded here";
  }
  const std::string& Name() const { return GetParam().name; }
  std::string File() const { return std::string(kFolder) + "DLan_" + Name() + ".ini"; }
  // The value as the program shows it (UTF-8), or kAbsent.
  std::string Value(const std::string& section, const std::string& key) {
    return file.Value(section, key).value_or(kAbsent);
  }

  std::string bytes;
  FakePlatform fake;
  LanguageFile file;
};

TEST_P(ShippedLanguageFileTest, HoldsEveryKeyTheWindowsLookUp) {
  for (const SectionKeys& entry : KeyTable())
    for (const std::string& key : entry.keys) EXPECT_NE(Value(entry.section, key), kAbsent) << entry.section << "/" << key;
}

TEST_P(ShippedLanguageFileTest, NamesTheCodePageItIsWrittenIn) {
  EXPECT_EQ(Value("Language", "CodePage"), std::to_string(GetParam().codePage));
  EXPECT_EQ(file.CodePage(), GetParam().codePage);
}

TEST_P(ShippedLanguageFileTest, TranslatesEveryMessageWithThePlacesOfItsEnglish) {
  for (const MessageText& m : AllMessages()) {
    const std::string value = Value("ResourceString", m.key);
    if (kDeliberatelyEnglish.count(m.key)) continue;
    ASSERT_NE(value, kAbsent) << m.key << " is missing";
    EXPECT_EQ(PlacesOf(value), PlacesOf(m.english)) << m.key << ": " << value;
    if (Name() == "English") {
      EXPECT_EQ(value, m.english) << "the file and the built-in English text differ";
    } else {
      EXPECT_NE(value, m.english) << m.key << " is not translated";
    }
  }
}

// A language file made for an earlier version: ANSI, no code page named,
// one message. Every other message stays English, and its own shows.
TEST(UserLanguageFileTest, AnOldFileKeepsWorkingAndEveryMessageItLacksIsEnglish) {
  FakePlatform fake;
  fake.SetProfileText(std::string(kFolder) + "DLan_Other.ini",
                      "[frmMain]\r\nbExit=Sa\xEDr\r\n[ResourceString]\r\nRES_Not_Found=no se encontr\xF3.\r\n");
  const Messages messages = LoadMessages(fake, kFolder, "Other");
  for (const MessageText& m : AllMessages()) {
    const std::string expected = m.id == IDS_CAN_NOT_BE_FOUND ? "no se encontr\u00F3." : FillPlaces(m.english, {"X"});
    EXPECT_EQ(messages.Text(m.id, {"X"}), expected) << m.key;
  }
}

// The main window's messages: each language's file is read once, and read
// again only when the language changes.
TEST(UserLanguageFileTest, TheCacheReadsAFileOnceForEachChangeOfLanguage) {
  FakePlatform fake;
  fake.executableFolder = kFolder;
  fake.SetProfileText(std::string(kFolder) + "DLan_German.ini", "[ResourceString]\r\nRES_Finish=Fertig\r\n");
  fake.SetProfileText(std::string(kFolder) + "DLan_French.ini", "[ResourceString]\r\nRES_Finish=Terminer\r\n");
  MessagesCache cache(fake.platform());
  struct Asked {
    const char* lan;
    const char* finish;
    std::size_t reads;  // of language files, so far
  };
  const Asked asked[] = {{"German", "Fertig", 1},   {"German", "Fertig", 1}, {"French", "Terminer", 2},
                         {"French", "Terminer", 2}, {"German", "Fertig", 3}, {"English", "Finish", 3}};
  for (const Asked& a : asked) {
    EXPECT_EQ(cache.For(a.lan).Text(IDS_FINISH), a.finish) << a.lan;
    EXPECT_EQ(fake.CallsNamed("ReadFile(" + std::string(kFolder) + "DLan_").size(), a.reads) << a.lan;
  }
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
                         [](const ::testing::TestParamInfo<ShippedLanguage>& info) { return info.param.name; });

// The files stay in their languages' ANSI code pages, which earlier
// versions and other programs read, never UTF-8.
TEST(ShippedLanguageEncodingTest, WesternFilesAreWindows1252AndChineseIsGbk) {
  EXPECT_NE(LoadBytes("German").find("miFrench=&Franz\xF6sisch\r\n"), std::string::npos);
  EXPECT_NE(LoadBytes("French").find("bDefragRegistry=&D\xE9" "fragmenter\r\n"), std::string::npos);
  EXPECT_NE(LoadBytes("Spanish").find("bOK=&S\xED\r\n"), std::string::npos);
  EXPECT_NE(LoadBytes("Chinese").find("bLanguage=\xD3\xEF\xD1\xD4(&L)\r\n"), std::string::npos);  // 语言(&L)
}

}  // namespace
}  // namespace vh
