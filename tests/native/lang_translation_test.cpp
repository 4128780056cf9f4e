#include "lang/translation.h"

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
  std::string Call(const std::string& section, const std::string& key, const std::string& file = kFrench) {
    return "GetPrivateProfileStringA(" + section + ", " + key + ", " + file + ")";
  }

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
  EXPECT_EQ(window.Text("lvMain", 2), "Taille apr\xE8s");
  EXPECT_EQ(window.Text("suiGroupBox1"), "Groupe");
  EXPECT_EQ(window.Text("Image1"), "");
  EXPECT_EQ(window.Text("miFrench"), "&Fran\xE7" "ais");
  EXPECT_EQ(window.Text("N6"), "-");
}

TEST_F(TranslateFormTest, LooksUpCaptionThenComponentsInOrderAndNeverASeparator) {
  fake.SetProfileText(kFrench, "[Menu_frmMain]\r\nN6=not a separator\r\n");
  TranslateForm(fake, kFolder, "French", window.form);

  std::vector<std::string> expected = {
      Call("frmMain", "frmMain"),        Call("frmMain", "bOptions"),       Call("frmMain", "Label6"),
      Call("frmMain", "lvMain_Column0"), Call("frmMain", "lvMain_Column1"), Call("frmMain", "lvMain_Column2"),
      Call("frmMain", "lvMain_Column3"), Call("Menu_frmMain", "miFrench"),  Call("frmMain", "suiGroupBox1"),
  };
  EXPECT_EQ(fake.calls, expected);
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
  EXPECT_EQ(fake.calls.front(), Call("frmMain", "frmMain", std::string(kFolder) + "DLan_.ini"));
  EXPECT_EQ(window.Text("bOptions"), "Options");
}

TEST(LanguageFilePathTest, KeepsTheLanguageNameAsGiven) {
  EXPECT_EQ(LanguageFilePath(kFolder, "french"), std::string(kFolder) + "DLan_french.ini");
  EXPECT_EQ(LanguageFilePath("D:\\", "Other"), "D:\\DLan_Other.ini");
}

class TranslateTextTest : public ::testing::Test {
 protected:
  std::string German() { return TranslateText(fake, kFolder, "German", "RES_Not_Found", "can not be found."); }
  const std::string germanFile = std::string(kFolder) + "DLan_German.ini";
  FakePlatform fake;
};

TEST_F(TranslateTextTest, EnglishReturnsTheEnglishTextWithoutReading) {
  EXPECT_EQ(TranslateText(fake, kFolder, "english", "RES_Not_Found", "can not be found."), "can not be found.");
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(TranslateTextTest, ReadsTheResourceStringSectionOfTheCurrentLanguage) {
  fake.SetProfileText(germanFile, "[ResourceString]\r\nRES_Not_Found=wurde nicht gefunden.\r\n");
  EXPECT_EQ(German(), "wurde nicht gefunden.");
  EXPECT_EQ(fake.calls, std::vector<std::string>{"GetPrivateProfileStringA(ResourceString, RES_Not_Found, " +
                                                 germanFile + ")"});
}

TEST_F(TranslateTextTest, FallsBackOnEnglishWhereTheFileHasNoText) {
  EXPECT_EQ(German(), "can not be found.");  // no file
  fake.SetProfileText(germanFile, "[ResourceString]\r\nOther_Key=x\r\n");
  EXPECT_EQ(German(), "can not be found.");  // no key
  fake.SetProfileText(germanFile, "[ResourceString]\r\nRES_Not_Found=\r\n");
  EXPECT_EQ(German(), "can not be found.");  // empty value
}

}  // namespace
}  // namespace vh
