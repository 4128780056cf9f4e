#include <gtest/gtest.h>

#include "flat/flat_colors.h"
#include "flat/speed_button_layout.h"
#include "flat/speed_button_state.h"

namespace vh {
namespace {

const Colour kWhite = MakeColour(255, 255, 255);

TEST(ShadeFromParent, WhiteParentFocusedClampsAtOneHundred) {
  for (int percent : {1, 10, 50, 100}) {
    Colour c = ShadeFromParent(kWhite, MakeColour(235, 234, 225), percent, ShadeDirection::Lighter);
    EXPECT_EQ(Lightness240(c), 100) << percent;
  }
}

TEST(ShadeFromParent, DefaultBorderPercentGivesLightnessTwoHundred) {
  Colour c = ShadeFromParent(kWhite, MakeColour(160, 150, 131), 50, ShadeDirection::Darker);
  EXPECT_EQ(Lightness240(c), 200);
}

TEST(ShadeFromParent, ZeroPercentKeepsTheGivenColourAndDarkerStopsAtBlack) {
  EXPECT_EQ(ShadeFromParent(kWhite, MakeColour(1, 2, 3), 0, ShadeDirection::Darker), MakeColour(1, 2, 3));
  EXPECT_EQ(ShadeFromParent(MakeColour(0, 0, 0), kWhite, 100, ShadeDirection::Darker), MakeColour(0, 0, 0));
}

TEST(NumGlyphsRule, WholeMultiplesUpToFour) {
  EXPECT_EQ(NumGlyphsForGlyph(Size{64, 16}, 1), 4);
  EXPECT_EQ(NumGlyphsForGlyph(Size{100, 16}, 3), 3);
  EXPECT_EQ(NumGlyphsForGlyph(Size{80, 16}, 2), 1);
  EXPECT_EQ(NumGlyphsForGlyph(Size{32, 16}, 1), 2);
  EXPECT_EQ(NumGlyphsForGlyph(Size{0, 0}, 2), 2);
}

TEST(GlyphSourceRect, CellsByCountAndState) {
  const Size strip{64, 16};
  EXPECT_EQ(GlyphSourceRect(strip, 4, FaceState::Up), (Rect{0, 0, 16, 16}));
  EXPECT_EQ(GlyphSourceRect(strip, 4, FaceState::Disabled), (Rect{16, 0, 32, 16}));
  EXPECT_EQ(GlyphSourceRect(strip, 4, FaceState::Pressed), (Rect{32, 0, 48, 16}));
  EXPECT_EQ(GlyphSourceRect(strip, 4, FaceState::Latched), (Rect{48, 0, 64, 16}));
  // Uneven strips run to the right edge in the last cell.
  EXPECT_EQ(GlyphSourceRect(Size{50, 16}, 3, FaceState::Pressed), (Rect{32, 0, 50, 16}));
  EXPECT_EQ(GlyphSourceRect(Size{50, 16}, 2, FaceState::Disabled), (Rect{25, 0, 50, 16}));
  EXPECT_EQ(GlyphSourceRect(Size{50, 16}, 1, FaceState::Disabled), (Rect{0, 0, 50, 16}));
}

// Client 100 x 40, text 30 x 13, glyph 16 x 16.
struct PlaceCase {
  TButtonLayout layout;
  int margin, spacing;
  Point glyph;
  Rect caption;
};

class PlaceGlyphAndCaptionTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceGlyphAndCaptionTest, PutsGlyphAndCaptionAlongTheLayoutAxis) {
  const PlaceCase& c = GetParam();
  GlyphAndCaption out =
      PlaceGlyphAndCaption(Rect{0, 0, 100, 40}, Point{}, Size{30, 13}, c.layout, c.margin, c.spacing, Size{16, 16}, 1);
  EXPECT_EQ(out.GlyphOrigin, c.glyph);
  EXPECT_EQ(out.CaptionRect, c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PlaceGlyphAndCaptionTest,
    ::testing::Values(
        // Centred as a block: margin (100 - (16 + 4 + 30) + 1) div 2 = 25.
        PlaceCase{TButtonLayout::blGlyphLeft, -1, 4, {25, 12}, {45, 14, 75, 27}},
        PlaceCase{TButtonLayout::blGlyphRight, -1, 4, {59, 12}, {25, 14, 55, 27}},
        // Spread evenly: (100 - 16 - 30) div 3 = 18 before, between and after.
        PlaceCase{TButtonLayout::blGlyphLeft, -1, -1, {18, 12}, {52, 14, 82, 27}},
        // Fixed margin, spacing spread: ((100 - (5 + 16)) - 30) div 2 = 24.
        PlaceCase{TButtonLayout::blGlyphLeft, 5, -1, {5, 12}, {45, 14, 75, 27}},
        PlaceCase{TButtonLayout::blGlyphRight, 5, 2, {79, 12}, {47, 14, 77, 27}},
        // Vertically: (40 - (16 + 4 + 13) + 1) div 2 = 4.
        PlaceCase{TButtonLayout::blGlyphTop, -1, 4, {42, 4}, {35, 24, 65, 37}},
        PlaceCase{TButtonLayout::blGlyphBottom, -1, 4, {42, 20}, {35, 3, 65, 16}},
        PlaceCase{TButtonLayout::blGlyphTop, -1, -1, {42, 3}, {35, 22, 65, 35}},
        PlaceCase{TButtonLayout::blGlyphBottom, 0, 0, {42, 24}, {35, 11, 65, 24}}));

TEST(PlaceGlyphAndCaption, CaptionOnlyIsCentredAndMovesWhenPressed) {
  // No glyph: the spacing drops to 0 and the caption is centred both ways.
  GlyphAndCaption at = PlaceGlyphAndCaption(Rect{0, 0, 94, 25}, Point{}, Size{80, 13}, TButtonLayout::blGlyphTop, -1,
                                            4, Size{}, 1);
  EXPECT_EQ(at.CaptionRect, (Rect{7, 6, 87, 19}));
  GlyphAndCaption pressed = PlaceGlyphAndCaption(Rect{0, 0, 94, 25}, Point{1, 1}, Size{80, 13},
                                                 TButtonLayout::blGlyphTop, -1, 4, Size{}, 1);
  EXPECT_EQ(pressed.CaptionRect, at.CaptionRect.Offset(1, 1));
}

TEST(FaceFill, TableOfTheThreeModes) {
  using F = FaceFill;
  using S = FaceState;
  const auto nf = TTransparentMode::tmNotFocused, none = TTransparentMode::tmNone;
  for (S s : {S::Up, S::Disabled, S::Pressed, S::Latched}) {
    EXPECT_EQ(FaceFillFor(TTransparentMode::tmAlways, true, s), F::None);
    EXPECT_EQ(FaceFillFor(nf, false, s), F::None);
  }
  EXPECT_EQ(FaceFillFor(nf, true, S::Up), F::ColorFocused);
  EXPECT_EQ(FaceFillFor(nf, true, S::Disabled), F::Color);
  EXPECT_EQ(FaceFillFor(nf, true, S::Pressed), F::ColorDown);
  EXPECT_EQ(FaceFillFor(nf, true, S::Latched), F::ColorFocused);
  EXPECT_EQ(FaceFillFor(none, false, S::Up), F::Color);
  EXPECT_EQ(FaceFillFor(none, false, S::Disabled), F::Color);
  EXPECT_EQ(FaceFillFor(none, false, S::Latched), F::ColorDown);
  EXPECT_EQ(FaceFillFor(none, true, S::Latched), F::ColorFocused);
}

TEST(FrameColours, BevelByStateAndHover) {
  EXPECT_EQ(FrameColoursFor(FaceState::Up, true).topLeft, FrameColour::HighLight);
  EXPECT_EQ(FrameColoursFor(FaceState::Up, true).bottomRight, FrameColour::Shadow);
  EXPECT_EQ(FrameColoursFor(FaceState::Up, false).topLeft, FrameColour::Border);
  EXPECT_EQ(FrameColoursFor(FaceState::Disabled, true).bottomRight, FrameColour::Border);
  EXPECT_EQ(FrameColoursFor(FaceState::Latched, false).topLeft, FrameColour::Shadow);
  EXPECT_EQ(FrameColoursFor(FaceState::Pressed, true).bottomRight, FrameColour::HighLight);
}

TEST(TrackingInside, BottomRowInsideRightColumnOutside) {
  EXPECT_TRUE(InsideForTracking(Point{0, 25}, Size{94, 25}));
  EXPECT_FALSE(InsideForTracking(Point{94, 10}, Size{94, 25}));
  EXPECT_FALSE(InsideForTracking(Point{-1, 10}, Size{94, 25}));
  EXPECT_FALSE(InsideForTracking(Point{10, 26}, Size{94, 25}));
}

TEST(FaceStateMachine, PressDragOffAndBackThenReleaseOutsideDoesNotClick) {
  SpeedButtonState s;
  EXPECT_TRUE(s.Press(true));
  EXPECT_EQ(s.faceState, FaceState::Pressed);
  EXPECT_TRUE(s.TrackMove(false));
  EXPECT_EQ(s.faceState, FaceState::Up);
  EXPECT_FALSE(s.TrackMove(false));
  EXPECT_TRUE(s.TrackMove(true));
  EXPECT_EQ(s.faceState, FaceState::Pressed);
  s.TrackMove(false);
  ReleaseOutcome out = s.Release(false);
  EXPECT_FALSE(out.click);
  EXPECT_TRUE(out.hoverLeave);
  EXPECT_FALSE(s.tracking);
  EXPECT_EQ(s.faceState, FaceState::Up);
}

TEST(FaceStateMachine, ReleaseInsideOutsideAGroupClicksAndEndsUp) {
  SpeedButtonState s;
  s.hovered = true;
  s.Press(true);
  ReleaseOutcome out = s.Release(true);
  EXPECT_TRUE(out.click);
  EXPECT_TRUE(out.repaint);
  EXPECT_FALSE(s.hovered);  // UpdateHover sets it again when the cursor is there
  EXPECT_EQ(s.faceState, FaceState::Up);
  EXPECT_TRUE(out.updateHover);
}

TEST(FaceStateMachine, RightButtonAndDisabledButtonDoNotPress) {
  SpeedButtonState s;
  EXPECT_FALSE(s.Press(false));
  EXPECT_FALSE(s.tracking);
  s.enabled = false;
  EXPECT_FALSE(s.Press(true));
  EXPECT_EQ(s.faceState, FaceState::Up);
  EXPECT_FALSE(s.Release(true).click);
}

TEST(FaceStateMachine, SpaceHeldPressesTheFaceUnlessDisabledLatchedOrHeldByTheMouse) {
  SpeedButtonState s;
  EXPECT_TRUE(s.KeyHold(true));
  EXPECT_EQ(s.faceState, FaceState::Pressed);
  EXPECT_FALSE(s.KeyHold(true)) << "the key's repeats change nothing";
  EXPECT_TRUE(s.KeyHold(false));
  EXPECT_EQ(s.faceState, FaceState::Up);
  s.Press(true);
  EXPECT_FALSE(s.KeyHold(false)) << "the mouse's press stays";
  EXPECT_EQ(s.faceState, FaceState::Pressed);
  SpeedButtonState off;
  off.enabled = false;
  EXPECT_FALSE(off.KeyHold(true));
  SpeedButtonState latched;
  latched.groupIndex = 1;
  latched.SetDown(true);
  EXPECT_FALSE(latched.KeyHold(false));
  EXPECT_EQ(latched.faceState, FaceState::Latched);
}

TEST(FaceStateMachine, GroupLatchesWithoutAllUpAndStillClicks) {
  SpeedButtonState s;
  s.groupIndex = 1;
  s.Press(true);
  ReleaseOutcome first = s.Release(true);
  EXPECT_TRUE(first.click);
  EXPECT_TRUE(first.announce);
  EXPECT_TRUE(s.down);
  EXPECT_EQ(s.faceState, FaceState::Latched);
  // A latched button is not pressed again and moves keep it latched.
  EXPECT_FALSE(s.Press(true));
  EXPECT_FALSE(s.TrackMove(true));
  ReleaseOutcome second = s.Release(true);
  EXPECT_TRUE(second.click);
  EXPECT_TRUE(s.down);
  EXPECT_EQ(s.faceState, FaceState::Latched);
}

TEST(FaceStateMachine, AllowAllUpReleasesTheLatchedButton) {
  SpeedButtonState s;
  s.groupIndex = 1;
  s.allowAllUp = true;
  s.SetDown(true);
  s.Press(true);
  s.Release(true);
  EXPECT_FALSE(s.down);
  EXPECT_EQ(s.faceState, FaceState::Up);
}

TEST(FaceStateMachine, DownOutsideAGroupStaysUp) {
  SpeedButtonState s;
  DownOutcome out = s.SetDown(true);
  EXPECT_FALSE(out.changed);
  EXPECT_FALSE(s.down);
  EXPECT_EQ(s.faceState, FaceState::Up);
}

TEST(FaceStateMachine, AnotherMemberGoingDownReleasesAndPassesAllowAllUp) {
  SpeedButtonState s;
  s.groupIndex = 2;
  s.SetDown(true);
  EXPECT_TRUE(s.OtherWentDown(true, true));
  EXPECT_FALSE(s.down);
  EXPECT_EQ(s.faceState, FaceState::Up);
  EXPECT_TRUE(s.allowAllUp);
  EXPECT_FALSE(s.OtherWentDown(false, false));
  EXPECT_FALSE(s.allowAllUp);
}

TEST(FaceStateMachine, DisabledAndBackAtPaint) {
  SpeedButtonState s;
  s.groupIndex = 3;
  s.SetDown(true);
  s.hovered = true;
  s.Disable();
  EXPECT_FALSE(s.hovered);
  s.enabled = false;
  s.tracking = true;
  s.CorrectForPaint();
  EXPECT_EQ(s.faceState, FaceState::Disabled);
  EXPECT_FALSE(s.tracking);
  s.enabled = true;
  s.CorrectForPaint();
  EXPECT_EQ(s.faceState, FaceState::Latched);
}

TEST(FaceStateMachine, HoverIsKeptWhileTrackingAndUpdateHoverFollowsTheCursor) {
  SpeedButtonState s;
  EXPECT_TRUE(s.HoverEnter());
  EXPECT_FALSE(s.HoverEnter());
  s.tracking = true;
  EXPECT_FALSE(s.HoverLeave());
  EXPECT_TRUE(s.hovered);
  s.tracking = false;
  EXPECT_EQ(s.UpdateHover(false), SpeedButtonState::HoverAction::Leave);
  EXPECT_TRUE(s.HoverLeave());
  EXPECT_FALSE(s.hovered);
  EXPECT_EQ(s.UpdateHover(true), SpeedButtonState::HoverAction::Enter);
  EXPECT_TRUE(s.HoverEnter());
  EXPECT_TRUE(s.hovered);
}

}  // namespace
}  // namespace vh
