#include "lang/language_menu.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "flat/speed_button_layout.h"
#include "tests/support/fake_platform.h"

namespace vh {
namespace {

const char kFolder[] = "C:\\Program Files\\Varnhold\\";
const char kPage[] = "https://www.tolvane-software.com/varnhold/translate";

// Logs what the main window is asked to do into the fake's call log, so
// that window actions and platform calls can be checked in one sequence.
class RecordingHost : public LanguageMenuHost {
 public:
  explicit RecordingHost(std::vector<std::string>& log) : log_(log) {}
  void TickOnly(const std::string& item) override { log_.push_back("TickOnly(" + item + ")"); }
  void TranslateMainWindow(const std::string& language) override {
    log_.push_back("Translate(" + language + ")");
    if (throwOnTranslate) throw std::runtime_error("paint failed");
  }
  void FitSpeedButtons() override { log_.push_back("FitSpeedButtons"); }
  void ShowMessage(const std::string& text) override {
    log_.push_back("MessageBox");
    messages.push_back(text);
  }
  std::vector<std::string> messages;
  bool throwOnTranslate = false;

 private:
  std::vector<std::string>& log_;
};

class LanguageMenuTest : public ::testing::Test {
 protected:
  std::string File(const std::string& language) { return std::string(kFolder) + "DLan_" + language + ".ini"; }
  void Click(const std::string& item) { miEnglishClick(item, lan, services, host); }
  // The calls that are not profile reads: what the user sees happen.
  std::vector<std::string> Actions() const {
    std::vector<std::string> out;
    for (const std::string& c : fake.calls)
      if (c.rfind("ReadFile", 0) != 0) out.push_back(c);
    return out;
  }

  FakePlatform fake;
  LanguageMenuServices services{fake, fake, fake, kPage};
  RecordingHost host{fake.calls};
  std::string lan = "English";
};

TEST_F(LanguageMenuTest, PresentFileSwitchesTicksTranslatesAndFitsInThatOrder) {
  fake.AddFile(File("French"));
  Click("miFrench");
  EXPECT_EQ(lan, "French");
  EXPECT_EQ(Actions(), (std::vector<std::string>{"TickOnly(miFrench)", "Translate(French)", "FitSpeedButtons"}));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(LanguageMenuTest, EnglishNeedsItsOwnFileToSwitchBack) {
  lan = "German";
  fake.AddFile(File("English"));
  Click("miEnglish");
  EXPECT_EQ(lan, "English");
  EXPECT_EQ(Actions().at(1), "Translate(English)");
}

TEST_F(LanguageMenuTest, MissingFileTellsTheUserOpensThePageAndChangesNothing) {
  Click("miFrench");
  EXPECT_EQ(lan, "English");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], File("French") + " can not be found.");
  EXPECT_EQ(Actions(), (std::vector<std::string>{"MessageBox", std::string("ShellExecuteA(Open, ") + kPage + ", SW_SHOW)"}));
}

TEST_F(LanguageMenuTest, MissingOtherAddsTheVisitLine) {
  Click("miOther");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            File("Other") + " can not be found.\r\n\r\nPlease visit " + std::string(kPage));
  EXPECT_EQ(fake.CallsNamed("ShellExecuteA").size(), 1u);
}

TEST_F(LanguageMenuTest, PresentOtherBecomesTheLanguageLikeAnyOther) {
  fake.AddFile(File("Other"));
  Click("miOther");
  EXPECT_EQ(lan, "Other");
  EXPECT_TRUE(fake.CallsNamed("ShellExecuteA").empty());
}

TEST_F(LanguageMenuTest, NotFoundFragmentComesFromTheLanguageStillCurrent) {
  lan = "German";
  fake.SetProfileText(File("German"), "[ResourceString]\r\nRES_Not_Found=wurde nicht gefunden.\r\n");
  Click("miFrench");
  EXPECT_EQ(host.messages.at(0), File("French") + " wurde nicht gefunden.");
  EXPECT_EQ(fake.CallsNamed("ReadFile"), std::vector<std::string>{"ReadFile(" + File("German") + ")"});
  EXPECT_EQ(lan, "German");
}

TEST_F(LanguageMenuTest, CurrentLanguageFileMissingStillGivesAReadableMessage) {
  lan = "German";
  Click("miFrench");
  EXPECT_EQ(host.messages.at(0), File("French") + " can not be found.");
}

TEST_F(LanguageMenuTest, TheMessageIsInTheCodePageOfTheCurrentLanguagesFile) {
  lan = "German";
  fake.SetProfileText(File("German"), "[ResourceString]\r\nRES_Not_Found=wurde nicht gefunden \xFC.\r\n"
                                      "RES_Please_Visit=Siehe %1 \x80\r\n");
  Click("miOther");
  EXPECT_EQ(host.messages.at(0), File("Other") + " wurde nicht gefunden \u00FC.\r\n\r\nSiehe " + kPage + " \u20AC");
}

TEST_F(LanguageMenuTest, ErrorsOnTheWayAreSwallowed) {
  fake.AddFile(File("French"));
  host.throwOnTranslate = true;
  EXPECT_NO_THROW(Click("miFrench"));
  // The steps after the failure do not run.
  EXPECT_TRUE(fake.CallsNamed("FitSpeedButtons").empty());
}

struct TickCase {
  const char* item;
  const char* lan;
  bool ticked;
};

void PrintTo(const TickCase& c, std::ostream* os) { *os << c.item << " / \"" << c.lan << '"'; }

class LanguageTickRuleTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(LanguageTickRuleTest, ItemIsTickedWhenItsLanguageNameEqualsLanIgnoringCase) {
  EXPECT_EQ(IsLanguageItemTicked(GetParam().item, GetParam().lan), GetParam().ticked);
}

INSTANTIATE_TEST_SUITE_P(Table, LanguageTickRuleTest,
                         ::testing::Values(TickCase{"miGerman", "German", true}, TickCase{"miGerman", "GERMAN", true},
                                           TickCase{"miGerman", "English", false},
                                           TickCase{"miOther", "other", true}, TickCase{"N6", "", true},
                                           TickCase{"N6", "English", false}, TickCase{"miEnglish", "", false},
                                           TickCase{"miGerman", "Germany", false}));

TEST(LanguageFitSpeedButtonsTest, WidthIsCaptionWidthPlusSeventeen) {
  int options = 0, defrag = 0;
  std::vector<SpeedButtonFit> buttons = {{"Optionen", [&](int w) { options = w; }},
                                         {"Defragmentieren", [&](int w) { defrag = w; }}};
  FitSpeedButtons(buttons, [](const std::string& caption) { return int(caption.size()) * 6; });
  EXPECT_EQ(options, 8 * 6 + 17);
  EXPECT_EQ(defrag, 15 * 6 + 17);
}

}  // namespace
}  // namespace vh
