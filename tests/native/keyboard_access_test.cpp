// The portable side of keyboard use and screen readers: accelerators given
// to a window's commands, Tab stepping, and what an element reports.
#include <gtest/gtest.h>

#include <set>

#include "ui/accel.h"
#include "ui/accessible_element.h"
#include "ui/tab_order.h"

namespace vh {
namespace {

const std::vector<char> kDefaults = {'A', 'D', 'O', 'M', 'L', 'H', 'X'};

TEST(AssignAcceleratorsTest, KeepsFreeMarksAndFillsTheMissingOnesFromTheDefaults) {
  auto out = AssignAccelerators({"&Analyze Registry", "Defrag Registry", "&Options", "Ho&mepage", "&Language", "&Help",
                                 "Exit"},
                                kDefaults);
  EXPECT_EQ(out, (std::vector<std::string>{"&Analyze Registry", "&Defrag Registry", "&Options", "Ho&mepage",
                                           "&Language", "&Help", "E&xit"}));
}

TEST(AssignAcceleratorsTest, ASecondClaimOnALetterMovesToAFreeOne) {
  // Both French buttons start with A: the first keeps it, the second takes
  // its default where it can, otherwise a word start, otherwise any letter.
  auto out = AssignAccelerators({"&Analyser", "&Aide", "&Avancer"}, {'A', 'H', 'V'});
  EXPECT_EQ(out[0], "&Analyser");
  EXPECT_EQ(out[1], "A&ide");  // no H in it, no free word start: the next free letter
  EXPECT_EQ(out[2], "A&vancer");  // its default V
  EXPECT_NE(AcceleratorOf(out[1]), AcceleratorOf(out[2]));
}

TEST(AssignAcceleratorsTest, PrefersWordStartsAndKeepsLiteralAmpersands) {
  auto out = AssignAccelerators({"Save && Quit", "Sort Quickly"}, {0, 0});
  EXPECT_EQ(out[0], "&Save && Quit");
  EXPECT_EQ(out[1], "Sort &Quickly");
  EXPECT_EQ(StripAccelerator(out[0]), "Save & Quit");
}

TEST(AssignAcceleratorsTest, TextWithoutLatinLettersGetsTheLetterAppended) {
  // GBK bytes of two Chinese characters: never split, never marked.
  const std::string chinese = "\xd1\xa1\xcf\xee";
  auto out = AssignAccelerators({chinese, chinese, "\xc8\xab"}, {'O', 'O', 0});
  EXPECT_EQ(out[0], chinese + "(&O)");
  EXPECT_EQ(out[1], chinese + "(&A)");  // O is taken: the first free letter
  EXPECT_EQ(out[2], std::string("\xc8\xab") + "(&B)");
}

TEST(AssignAcceleratorsTest, EveryCommandEndsWithADistinctLetter) {
  auto out = AssignAccelerators({"Aaa", "Aaa", "Aaa", "&A", "&a"}, {'A', 'A', 0, 0, 0});
  std::set<char> letters;
  for (const std::string& caption : out) {
    char a = AcceleratorOf(caption);
    EXPECT_NE(a, 0) << caption;
    EXPECT_TRUE(letters.insert(a).second) << caption;
  }
}

TEST(NextTabStopTest, StepsForwardAndBackSkippingWhatCannotTakeTheFocusAndWraps) {
  std::vector<bool> available = {true, false, true, true, false};
  EXPECT_EQ(NextTabStop(available, -1, false), 0);
  EXPECT_EQ(NextTabStop(available, -1, true), 3);
  EXPECT_EQ(NextTabStop(available, 0, false), 2);
  EXPECT_EQ(NextTabStop(available, 3, false), 0);
  EXPECT_EQ(NextTabStop(available, 0, true), 3);
  EXPECT_EQ(NextTabStop(available, 1, false), 2) << "from a stop that just became unavailable";
  EXPECT_EQ(NextTabStop({false, false}, 0, false), -1);
  EXPECT_EQ(NextTabStop({false, true}, 1, false), 1) << "the only stop keeps the focus";
}

TEST(ReadingOrderTest, TopToBottomThenLeftToRight) {
  std::vector<Rect> bounds = {MakeRect(16, 283, 35, 25), MakeRect(13, 93, 94, 25), MakeRect(40, 93, 10, 25),
                              MakeRect(16, 221, 64, 25)};
  EXPECT_EQ(ReadingOrder(bounds), (std::vector<int>{1, 2, 3, 0}));
}

TEST(AccessibleElementTest, PushButtonStatesFollowTheControl) {
  EXPECT_EQ(PushButtonState(false, true, true, true, true), unsigned(kAccUnavailable))
      << "a disabled button is only unavailable";
  EXPECT_EQ(PushButtonState(true, true, false, false, false), unsigned(kAccFocusable));
  EXPECT_EQ(PushButtonState(true, true, true, true, true),
            unsigned(kAccFocusable | kAccFocused | kAccPressed | kAccHot));
}

TEST(AccessibleElementTest, AFigureReadsWithItsCaptionAndCoversBoth) {
  AccessibleElement label, figure;
  label.name = "Current Registry Size:";
  label.bounds = MakeRect(116, 312, 109, 13);
  figure.name = "96,229 KB";
  figure.bounds = MakeRect(222, 312, 70, 13);
  AccessibleElement joined = JoinLabelAndFigure(label, figure);
  EXPECT_EQ(joined.name, "Current Registry Size: 96,229 KB");
  EXPECT_EQ(joined.bounds.left, 116);
  EXPECT_EQ(joined.bounds.right, 292);
  figure.name.clear();
  EXPECT_EQ(JoinLabelAndFigure(label, figure).name, "Current Registry Size:") << "before any analysis";
}

TEST(AccessibleElementTest, HitTestFindsTheTopmostElementAndShortcutsNameTheLetter) {
  std::vector<AccessibleElement> elements(2);
  elements[0].bounds = MakeRect(0, 0, 100, 100);
  elements[1].bounds = MakeRect(10, 10, 20, 20);
  EXPECT_EQ(ElementAt(elements, Point{15, 15}), 1);
  EXPECT_EQ(ElementAt(elements, Point{50, 50}), 0);
  EXPECT_EQ(ElementAt(elements, Point{100, 50}), -1) << "right edge excluded";
  EXPECT_EQ(AltShortcut("E&xit"), "Alt+X");
  EXPECT_EQ(AltShortcut("Exit"), "");
}

}  // namespace
}  // namespace vh
