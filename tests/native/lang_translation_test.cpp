#include "lang/translation.h"

#include "lang/messages.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/support/fake_platform.h"

namespace vh {
namespace {

const char kFolder[] = "C:\\Program Files\\Varnhold\\";
const char kFrench[] = "C:\\Program Files\\Varnhold\\DLan_French.ini";

// A window reduced to what translation sees: texts kept by slot id.
class FakeWindow {
 public:
  explicit FakeWindow(const std::string& name, const std::string& caption) : caption_(caption) {
    form.name = name;
    form.getCaption = [this] { return caption_; };
    form.setCaption = [this](const std::string& t) { caption_ = t; };
  }
  FakeWindow(const FakeWindow&) = delete;
  FakeWindow& operator=(const FakeWindow&) = delete;

  void Add(const std::string& name, CaptionKind kind, const std::string& text, int column = -1) {
    std::string id = Id(name, column);
    texts_[id] = text;
    form.slots.push_back({name, kind, column, [this, id] { return texts_.at(id); },
                          [this, id](const std::string& t) { texts_[id] = t; }});
  }
  std::string Text(const std::string& name, int column = -1) const { return texts_.at(Id(name, column)); }
  const std::string& Caption() const { return caption_; }

  TranslatableForm form;

 private:
  static std::string Id(const std::string& name, int column) { return name + "#" + std::to_string(column); }
  std::string caption_;
  std::map<std::string, std::string> texts_;
};

class TranslateFormTest : public ::testing::Test {
 protected:
  TranslateFormTest() : window("frmMain", "frmMain") {
    window.Add("bOptions", CaptionKind::TFlatSpeedButton, "Options");
    window.Add("Label6", CaptionKind::TLabel, "Step Hint:");
    for (int i = 0; i < 4; ++i) window.Add("lvMain", CaptionKind::TListViewColumn, "col" + std::to_string(i), i);
    window.Add("Image1", CaptionKind::Other, "");
    window.Add("miFrench", CaptionKind::TMenuItem, "&French");
    window.Add("N6", CaptionKind::TMenuItem, "-");
    window.Add("suiGroupBox1", CaptionKind::TsuiGroupBox, "");
  }
  std::string Read(const std::string& file = kFrench) { return "ReadFile(" + file + ")"; }

  FakePlatform fake;
  FakeWindow window;
};

TEST_F(TranslateFormTest, ReplacesWhatTheFileHasAndKeepsTheRest) {
  fake.SetProfileText(kFrench,
                      "[frmMain]\r\nfrmMain=Varnhold\r\nbOptions=Options FR\r\nlvMain_Column2=Taille apr\xE8s\r\n"
                      "suiGroupBox1=Groupe\r\nImage1=never\r\n[Menu_frmMain]\r\nmiFrench=&Fran\xE7" "ais\r\n");
  TranslateForm(fake, kFolder, "French", window.form);

  EXPECT_EQ(window.Caption(), "Varnhold");
  EXPECT_EQ(window.Text("bOptions"), "Options FR");
  EXPECT_EQ(window.Text("Label6"), "Step Hint:");
  EXPECT_EQ(window.Text("lvMain", 1), "col1");
  EXPECT_EQ(window.Text("lvMain", 2), "Taille apr\u00E8s") << "read as Windows-1252, shown as UTF-8";
  EXPECT_EQ(window.Text("suiGroupBox1"), "Groupe");
  EXPECT_EQ(window.Text("Image1"), "");
  EXPECT_EQ(window.Text("miFrench"), "&Fran\u00E7" "ais");
  EXPECT_EQ(window.Text("N6"), "-");
}

TEST_F(TranslateFormTest, ReadsTheFileOnceAndNeverTranslatesASeparator) {
  fake.SetProfileText(kFrench, "[Menu_frmMain]\r\nN6=not a separator\r\n");
  TranslateForm(fake, kFolder, "French", window.form);
  EXPECT_EQ(fake.calls, std::vector<std::string>{Read()});
  EXPECT_EQ(window.Text("N6"), "-");
}

TEST_F(TranslateFormTest, MissingFileLeavesTheWindowAsItWas) {
  TranslateForm(fake, kFolder, "French", window.form);
  EXPECT_EQ(window.Caption(), "frmMain");
  EXPECT_EQ(window.Text("bOptions"), "Options");
  EXPECT_EQ(window.Text("lvMain", 3), "col3");
  EXPECT_EQ(window.Text("miFrench"), "&French");
}

TEST_F(TranslateFormTest, EmptyValueEmptiesAndOverlongValueIsCut) {
  fake.SetProfileText(kFrench, "[frmMain]\r\nLabel6=\r\nbOptions=" + std::string(3000, 'x') + "\r\n");
  TranslateForm(fake, kFolder, "French", window.form);
  EXPECT_EQ(window.Text("Label6"), "");
  EXPECT_EQ(window.Text("bOptions"), std::string(2047, 'x'));
}

TEST_F(TranslateFormTest, EnglishInAnyCaseReadsNoFile) {
  for (const char* lan : {"English", "ENGLISH", "english", "eNgLiSh"}) {
    TranslateOnShow(fake, kFolder, lan, window.form);
    EXPECT_TRUE(fake.calls.empty()) << lan;
  }
}

TEST_F(TranslateFormTest, EmptyLanIsNotEnglishAndLooksForDLanDotIni) {
  TranslateOnShow(fake, kFolder, "", window.form);
  ASSERT_FALSE(fake.calls.empty());
  EXPECT_EQ(fake.calls.front(), Read(std::string(kFolder) + "DLan_.ini"));
  EXPECT_EQ(window.Text("bOptions"), "Options");
}

TEST(LanguageFilePathTest, KeepsTheLanguageNameAsGiven) {
  EXPECT_EQ(LanguageFilePath(kFolder, "french"), std::string(kFolder) + "DLan_french.ini");
  EXPECT_EQ(LanguageFilePath("D:\\", "Other"), "D:\\DLan_Other.ini");
}

// How a language file's bytes are read: the code page it names, else the
// one its language is known by, else the system's; a byte-order mark wins.
struct CodePageCase {
  const char* language;
  std::string bytes;  // the file, after its [Language] section if any
  unsigned codePage;
  const char* value;  // frmMain/bOptions as UTF-8
};

// [f] b=选 in UTF-16, with its mark.
const char kUtf16File[] = "\xFF\xFE[\0f\0]\0\r\0\n\0b\0=\0\x09\x90\r\0\n\0";

TEST(LanguageFileCodePageTest, EachFileIsReadInTheCodePageItNamesOrIsKnownBy) {
  const std::string options = "[frmMain]\r\nbOptions=";
  const CodePageCase cases[] = {
      {"German", options + "Gr\xF6\xDF" "e\r\n", 1252, "Gr\u00F6\u00DF" "e"},
      {"Chinese", options + "\xD1\xA1\xCF\xEE(&O)\r\n", 936, "\u9009\u9879(&O)"},  // 选项 in GBK
      {"Other", options + "\xE9t\xE9\r\n", 0, "\u00E9t\u00E9"},                     // the system's (here 1252)
      {"Other", "[Language]\r\nCodePage=936\r\n" + options + "\xD1\xA1\xCF\xEE\r\n", 936, "\u9009\u9879"},
      {"Chinese", "[language]\r\ncodepage = 1252\r\n" + options + "\xE9\r\n", 1252, "\u00E9"},
      {"Other", "[Language]\r\nCodePage=65001\r\n" + options + "\xC3\xA9\r\n", 65001, "\u00E9"},
      {"German", "\xEF\xBB\xBF[Language]\r\nCodePage=1252\r\n" + options + "\xC3\xA9\r\n", 65001, "\u00E9"},
      // The mark is three bytes, also where a section the program reads
      // comes right after it.
      {"German", "\xEF\xBB\xBF" + options + "\xC3\xA9\r\n", 65001, "\u00E9"},
      {"Other", std::string(kUtf16File, sizeof kUtf16File - 1), 1200, ""},
      {"Other", "[Language]\r\nCodePage=93x\r\n" + options + "x\r\n", 0, "x"},
  };
  for (const CodePageCase& c : cases) {
    FakePlatform fake;
    const std::string path = LanguageFilePath(kFolder, c.language);
    fake.SetProfileText(path, c.bytes);
    LanguageFile file = ReadLanguageFile(fake, path, c.language);
    ASSERT_TRUE(file.Found()) << c.language << " " << c.codePage;
    EXPECT_EQ(file.CodePage(), c.codePage) << c.bytes;
    if (c.codePage == 1200) {
      EXPECT_EQ(file.Value("f", "b"), "\u9009") << "UTF-16 with its mark";
    } else {
      EXPECT_EQ(file.Value("frmMain", "bOptions"), c.value) << c.bytes;
    }
  }
}

TEST(LanguageFileCodePageTest, AFileTheSystemCannotDecodeOrTooBigToBeOneIsNoFile) {
  FakePlatform fake;
  const std::string path = LanguageFilePath(kFolder, "Other");
  fake.SetProfileText(path, "[Language]\r\nCodePage=1\r\n[frmMain]\r\nbOptions=x\r\n");  // no such code page
  EXPECT_FALSE(ReadLanguageFile(fake, path, "Other").Found());
  fake.SetProfileText(path, "[frmMain]\r\nbOptions=x\r\n" + std::string(kLanguageFileMaxBytes, ';'));
  EXPECT_FALSE(ReadLanguageFile(fake, path, "Other").Found());
}

class MessagesTest : public ::testing::Test {
 protected:
  std::string German(unsigned id, const std::vector<std::string>& values = {}) {
    return LoadMessages(fake, kFolder, "German").Text(id, values);
  }
  void GermanFile(const std::string& resourceStrings) {
    fake.SetProfileText(germanFile, "[ResourceString]\r\n" + resourceStrings);
  }
  const std::string germanFile = std::string(kFolder) + "DLan_German.ini";
  FakePlatform fake;
};

TEST_F(MessagesTest, EnglishInAnyCaseIsTheBuiltInTextAndReadsNoFile) {
  for (const char* lan : {"English", "ENGLISH", "english"})
    EXPECT_EQ(LoadMessages(fake, kFolder, lan).Text(IDS_CAN_NOT_BE_FOUND), "can not be found.") << lan;
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(MessagesTest, ReadsTheResourceStringSectionInTheFilesCodePage) {
  GermanFile("RES_Not_Found=wurde nicht gefunden \xFC.\r\n");
  EXPECT_EQ(German(IDS_CAN_NOT_BE_FOUND), "wurde nicht gefunden \u00FC.");
  EXPECT_EQ(fake.calls, std::vector<std::string>{"ReadFile(" + germanFile + ")"});
}

TEST_F(MessagesTest, EnglishStandsWhereTheFileHasNoUsableText) {
  EXPECT_EQ(German(IDS_CAN_NOT_BE_FOUND), "can not be found.") << "no file";
  for (const char* line : {"Other_Key=x", "RES_Not_Found=", "RES_Undo_Loss=ohne Datum", "RES_Undo_Loss=am %1 und %2"}) {
    GermanFile(std::string(line) + "\r\n");
    EXPECT_EQ(German(IDS_CAN_NOT_BE_FOUND), "can not be found.") << line;
    EXPECT_EQ(German(IDS_UNDO_LOSS, {"1.2.2026"}).rfind("The defragmentation to undo ran on 1.2.2026.", 0), 0u) << line;
  }
}

TEST(FillPlacesTest, EachPlaceTakesItsValueInWhateverOrderTheTextHasThem) {
  EXPECT_EQ(FillPlaces("%2 vor %1, %1!", {"a", "b"}), "b vor a, a!");
  EXPECT_EQ(FillPlaces("100% von %1 und %3 %", {"x"}), "100% von x und %3 %") << "other percent signs stay";
  EXPECT_EQ(FillPlaces("%1", {"%2"}), "%2") << "a value is not filled again";
  EXPECT_EQ(PlacesOf("%2 %1 %2 % %0 %a"), (std::set<int>{1, 2}));
}

}  // namespace
}  // namespace vh
