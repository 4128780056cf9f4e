// The flat speed button against the real window system: its pixels per state
// and mode, the release rule, the shared hover timer, groups, accelerators
// and GDI hygiene.
#include "flat/flat_speed_button_win.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/wine/support/ui_test_support.h"

namespace vh {
namespace {

using test::kTestBackground;

const Colour kBorder = MakeColour(200, 40, 40);
const Colour kSilver = MakeColour(192, 192, 192);
const Colour kDown = MakeColour(217, 214, 197);
const Colour kWhite = MakeColour(255, 255, 255);
const Colour kBlack = 0;

class FlatButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr, test::TestFormDef("frmTest"));
    button = &Make<TFlatSpeedButton>(form.get(), form.get(), "bGo");
    button->SetBounds(10, 10, 60, 25);
    button->SetCaption("Go");
    button->SetTransparentMode(TTransparentMode::tmNotFocused);
    button->SetColorBorder(kBorder);
    button->SetColorFocused(kSilver);
    button->OnClick = [this](TObject&) { ++clicks; };
    // The faces alone: a click leaves no focus mark over them.
    button->tabStop = false;
  }

  // A pixel of the button in its own coordinates, from a fresh paint.
  Colour At(int x, int y) {
    Bitmap b = test::PaintClientToBitmap(*form);
    return b.Pixel(button->Left() + x, button->Top() + y);
  }

  // Bounding box of the caption's pixels: those differing from the fill at
  // (3, 3), inside the frame.
  Rect CaptionPixels() {
    Bitmap b = test::PaintClientToBitmap(*form);
    const int ox = button->Left(), oy = button->Top();
    Colour fill = b.Pixel(ox + 3, oy + 3);
    Rect box{1000, 1000, -1, -1};
    for (int y = 2; y < button->Height() - 2; ++y)
      for (int x = 2; x < button->Width() - 2; ++x)
        if (b.Pixel(ox + x, oy + y) != fill) {
          box.left = std::min(box.left, x);
          box.top = std::min(box.top, y);
          box.right = std::max(box.right, x + 1);
          box.bottom = std::max(box.bottom, y + 1);
        }
    return box;
  }

  void ExpectFrame(Colour topLeft, Colour bottomRight) {
    Bitmap b = test::PaintClientToBitmap(*form);
    auto px = [&](int x, int y) { return b.Pixel(button->Left() + x, button->Top() + y); };
    EXPECT_EQ(px(0, 12), topLeft) << "left edge";
    EXPECT_EQ(px(30, 0), topLeft) << "top edge";
    EXPECT_EQ(px(59, 12), bottomRight) << "right edge";
    EXPECT_EQ(px(30, 24), bottomRight) << "bottom edge";
  }

  std::unique_ptr<TForm> form;
  TFlatSpeedButton* button = nullptr;
  int clicks = 0;
};

TEST_F(FlatButtonTest, NotFocusedAtRestIsCaptionAndBorderOverTheParent) {
  EXPECT_EQ(At(3, 3), kTestBackground);
  ExpectFrame(kBorder, kBorder);
  Rect text = CaptionPixels();
  EXPECT_LT(text.left, text.right) << "caption drawn";
  // Centred: equal room left and right within a pixel.
  EXPECT_LE(std::abs((text.left - 0) - (60 - text.right)), 2);
}

TEST_F(FlatButtonTest, NotFocusedHoveredIsFocusedColourWithRaisedBevel) {
  button->HoverEnter();
  EXPECT_TRUE(button->Hovered());
  EXPECT_EQ(At(3, 3), kSilver);
  ExpectFrame(kWhite, kBlack);
}

TEST_F(FlatButtonTest, PressedIsDownColourSunkenAndCaptionMovedOnePixel) {
  button->HoverEnter();
  Rect rest = CaptionPixels();
  test::Press(*form, 30, 20);
  EXPECT_EQ(button->GetFaceState(), FaceState::Pressed);
  EXPECT_EQ(At(3, 3), kDown);
  ExpectFrame(kBlack, kWhite);
  EXPECT_EQ(CaptionPixels(), rest.Offset(1, 1));
  test::Release(*form, 30, 20);
}

TEST_F(FlatButtonTest, NoneFillsWithItsColourAtRestAndAlwaysNeverFills) {
  button->SetTransparentMode(TTransparentMode::tmNone);
  button->SetColor(MakeColour(10, 200, 10));
  EXPECT_EQ(At(3, 3), MakeColour(10, 200, 10));
  button->SetTransparentMode(TTransparentMode::tmAlways);
  button->HoverEnter();
  EXPECT_EQ(At(3, 3), kTestBackground);
  ExpectFrame(kWhite, kBlack);
}

TEST_F(FlatButtonTest, DisabledIsNeverFilledAndEngraved) {
  button->HoverEnter();
  button->SetEnabled(false);
  EXPECT_FALSE(button->Hovered());
  button->HoverEnter();
  EXPECT_FALSE(button->Hovered());
  EXPECT_EQ(At(3, 3), kTestBackground);
  ExpectFrame(kBorder, kBorder);
  Bitmap b = test::PaintClientToBitmap(*form);
  bool light = false, dark = false;
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 60; ++x) {
      Colour c = b.Pixel(10 + x, 10 + y);
      light = light || c == Colour(ResolveColour(SystemColour(kIndexBtnHighlight)));
      dark = dark || c == Colour(ResolveColour(SystemColour(kIndexBtnShadow)));
    }
  EXPECT_TRUE(light && dark) << "engraved caption";
  EXPECT_EQ(button->GetFaceState(), FaceState::Disabled);
  button->SetEnabled(true);
  test::PaintClientToBitmap(*form);
  EXPECT_EQ(button->GetFaceState(), FaceState::Up);
}

TEST_F(FlatButtonTest, ClickOnlyOnReleaseInsideAndModalResultReachesTheForm) {
  button->SetModalResult(mrYes);
  test::Press(*form, 20, 20);
  test::MoveHeld(*form, 200, 100);
  EXPECT_EQ(button->GetFaceState(), FaceState::Up);
  test::Release(*form, 200, 100);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(form->ModalResult(), mrNone);
  EXPECT_FALSE(button->Tracking());

  test::Press(*form, 20, 20);
  test::Release(*form, 21, 21);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrYes);
}

TEST_F(FlatButtonTest, BottomRowCountsAsInsideRightColumnDoesNot) {
  test::Press(*form, 20, 20);
  test::Release(*form, 20, 10 + 25);  // y = client height
  EXPECT_EQ(clicks, 1);
  test::Press(*form, 20, 20);
  test::Release(*form, 10 + 60, 20);  // x = client width
  EXPECT_EQ(clicks, 1);
}

TEST_F(FlatButtonTest, AcceleratorClicksEnabledButtonsOnly) {
  button->SetCaption("&Go");
  EXPECT_FALSE(form->DispatchDialogChar('x'));
  EXPECT_TRUE(form->DispatchDialogChar('g'));
  EXPECT_EQ(clicks, 1);
  button->SetEnabled(false);
  EXPECT_FALSE(form->DispatchDialogChar('G'));
  EXPECT_EQ(clicks, 1);
}

TEST_F(FlatButtonTest, DoubleClickOnAButtonNotDownGivesTwoClicksAndNoDblClick) {
  int dbl = 0;
  button->OnDblClick = [&](TObject&) { ++dbl; };
  test::Press(*form, 20, 20);
  test::Release(*form, 20, 20);
  test::SendMouse(*form, WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
  test::Release(*form, 20, 20);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(dbl, 0);
}

TEST_F(FlatButtonTest, HoverIsClearedByTheTimerWithoutAFurtherMove) {
  form->Show();
  test::PumpFor(100);
  if (!GetActiveWindow()) GTEST_SKIP() << "no active window on this display";
  Point inside = button->ClientToScreen(Point{20, 12});
  SetCursorPos(inside.x, inside.y);
  test::Move(*form, 30, 22);
  ASSERT_TRUE(button->Hovered());
  EXPECT_EQ(TFlatSpeedButton::HoverOwner(), button);
  EXPECT_TRUE(TFlatSpeedButton::HoverTimer()->Enabled());

  SetCursorPos(inside.x + 400, inside.y + 300);
  test::PumpFor(350);
  EXPECT_FALSE(button->Hovered());
  EXPECT_EQ(TFlatSpeedButton::HoverOwner(), nullptr);
  EXPECT_FALSE(TFlatSpeedButton::HoverTimer()->Enabled());
}

TEST_F(FlatButtonTest, OneHoverTimerForAllButtonsLivesWithTheLastOne) {
  int before = TFlatSpeedButton::InstanceCount();
  TTimer* timer = TFlatSpeedButton::HoverTimer();
  {
    auto other = CreateForm<TForm>(nullptr, test::TestFormDef("frmOther"));
    Make<TFlatSpeedButton>(other.get(), other.get(), "b1");
    EXPECT_EQ(TFlatSpeedButton::InstanceCount(), before + 1);
    EXPECT_EQ(TFlatSpeedButton::HoverTimer(), timer);
  }
  EXPECT_EQ(TFlatSpeedButton::InstanceCount(), before);
  form.reset();
  EXPECT_EQ(TFlatSpeedButton::InstanceCount(), 0);
  EXPECT_EQ(TFlatSpeedButton::HoverTimer(), nullptr);
}

class FlatGroupTest : public FlatButtonTest {
 protected:
  void SetUp() override {
    FlatButtonTest::SetUp();
    for (int i = 0; i < 3; ++i) {
      auto& b = Make<TFlatSpeedButton>(form.get(), form.get(), "g" + std::to_string(i));
      b.SetBounds(10 + 70 * i, 60, 60, 25);
      b.SetGroupIndex(1);
      b.OnClick = [this](TObject&) { ++groupClicks; };
      group[i] = &b;
    }
  }
  void ClickMember(int i) {
    test::Press(*form, 20 + 70 * i, 70);
    test::Release(*form, 20 + 70 * i, 70);
  }
  TFlatSpeedButton* group[3] = {};
  int groupClicks = 0;
};

TEST_F(FlatGroupTest, ClickingAnotherMemberReleasesTheFirst) {
  ClickMember(0);
  EXPECT_TRUE(group[0]->Down());
  EXPECT_EQ(group[0]->GetFaceState(), FaceState::Latched);
  ClickMember(1);
  EXPECT_TRUE(group[1]->Down());
  EXPECT_FALSE(group[0]->Down());
  EXPECT_EQ(group[0]->GetFaceState(), FaceState::Up);
  EXPECT_EQ(groupClicks, 2);
}

TEST_F(FlatGroupTest, WithoutAllUpTheLatchedButtonStaysDownAndStillClicks) {
  ClickMember(1);
  ClickMember(1);
  EXPECT_TRUE(group[1]->Down());
  EXPECT_EQ(groupClicks, 2);
  group[1]->SetDown(false);
  EXPECT_TRUE(group[1]->Down());
}

TEST_F(FlatGroupTest, AllowAllUpIsSharedWithinTheGroupAndLetsGo) {
  group[2]->SetAllowAllUp(true);
  EXPECT_TRUE(group[0]->AllowAllUp());
  EXPECT_TRUE(group[1]->AllowAllUp());
  ClickMember(0);
  ClickMember(0);
  EXPECT_FALSE(group[0]->Down());
}

TEST_F(FlatGroupTest, GroupsArePerParentAndGroupZeroNeverLatches) {
  TPanel& panel = Make<TPanel>(form.get(), form.get(), "Panel1", MakeRect(10, 100, 100, 40));
  auto& outsider = Make<TFlatSpeedButton>(form.get(), &panel, "gOut");
  outsider.SetGroupIndex(1);
  outsider.SetDown(true);
  group[0]->SetDown(true);
  EXPECT_TRUE(outsider.Down());
  button->SetDown(true);
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(button->GetFaceState(), FaceState::Up);
}

TEST_F(FlatButtonTest, GlyphCellsFollowTheStripAndTheTransparentCornerIsLeftOut) {
  // Four 8 x 8 cells: red, green, blue, yellow; the bottom-left pixel of the
  // strip (white) is the transparent colour.
  std::vector<std::uint32_t> px(32 * 8);
  const Colour cells[4] = {MakeColour(255, 0, 0), MakeColour(0, 255, 0), MakeColour(0, 0, 255),
                           MakeColour(255, 255, 0)};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 32; ++x) px[std::size_t(y * 32 + x)] = std::uint32_t(cells[x / 8]);
  px[std::size_t(7 * 32)] = std::uint32_t(kWhite);
  for (int x = 1; x < 8; ++x) px[std::size_t(7 * 32 + x)] = std::uint32_t(kWhite);
  button->SetCaption("");
  button->SetGlyph(Bitmap::FromPixels(32, 8, px));
  EXPECT_EQ(button->NumGlyphs(), 4);
  test::PaintClientToBitmap(*form);
  Point g = button->GlyphOrigin();
  EXPECT_EQ(At(g.x + 2, g.y + 2), cells[0]);
  EXPECT_EQ(At(g.x + 2, g.y + 7), kTestBackground) << "transparent row";
  test::Press(*form, 12, 12);
  test::PaintClientToBitmap(*form);
  g = button->GlyphOrigin();
  EXPECT_EQ(At(g.x + 2, g.y + 2), cells[2]);
  test::Release(*form, 12, 12);
  button->SetEnabled(false);
  test::PaintClientToBitmap(*form);
  EXPECT_EQ(At(button->GlyphOrigin().x + 2, button->GlyphOrigin().y + 2), cells[1]);
}

TEST_F(FlatButtonTest, AdvancedColoursFollowAWhiteParent) {
  form->SetColor(kWhite);
  button->SetUseAdvColors(true);
  EXPECT_EQ(Lightness240(button->ColorFocused()), 100);
  EXPECT_EQ(Lightness240(button->ColorBorder()), 200);
  form->SetColor(MakeColour(0, 0, 0));
  EXPECT_EQ(Lightness240(button->ColorBorder()), 0);
}

TEST_F(FlatButtonTest, AThousandPaintsLeaveNoGdiObjectBehind) {
  button->HoverEnter();
  Bitmap target(form->Width(), form->Height());
  MemoryDC dc(target.Handle());
  Canvas canvas(dc.get());
  // Both faces once, so that whatever a face keeps for good is counted.
  form->PaintClient(canvas, form->ClientRect());
  button->SetEnabled(false);
  form->PaintClient(canvas, form->ClientRect());
  button->SetEnabled(true);
  DWORD before = test::GdiObjects();
  for (int i = 0; i < 1000; ++i) {
    if (i == 500) button->SetEnabled(false);
    form->PaintClient(canvas, form->ClientRect());
  }
  EXPECT_EQ(test::GdiObjects(), before);
}

}  // namespace
}  // namespace vh
