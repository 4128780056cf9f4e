// The hover image: picture swap on enter and leave, the two-pixel shift on
// any press, and pictures that are copies, never the caller's.
#include "flat/shift_image_win.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/wine/support/ui_test_support.h"

namespace vh {
namespace {

const Colour kRest = MakeColour(200, 200, 200);
const Colour kHover = MakeColour(250, 220, 0);

class ShiftImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr, test::TestFormDef("frmTest"));
    image = &Make<TDodShiftImage>(form.get(), form.get(), "bClose");
    image->SetBounds(100, 20, 24, 24);
    image->SetAutoSize(true);
    Bitmap rest(24, 24, kRest), hover(24, 24, kHover);
    image->SetPicture(rest);
    image->SetNoFocusedPicture(rest);
    image->SetFocusedPicture(hover);
    image->OnClick = [this](TObject&) { ++clicks; clickedAt = Point{image->Left(), image->Top()}; };
    image->OnMouseEnter = [this](TObject&) { ++enters; };
    image->OnMouseLeave = [this](TObject&) { ++leaves; };
  }
  Colour Shown() { return image->Picture().Pixel(5, 5); }

  std::unique_ptr<TForm> form;
  TDodShiftImage* image = nullptr;
  int clicks = 0, enters = 0, leaves = 0;
  Point clickedAt;
};

TEST_F(ShiftImageTest, EnterShowsTheHoveredPictureAndLeaveTheRestingOne) {
  test::Move(*form, 110, 30);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(Shown(), kHover);
  EXPECT_EQ(test::PaintClientToBitmap(*form).Pixel(110, 30), kHover);
  test::Move(*form, 5, 5);
  EXPECT_EQ(leaves, 1);
  EXPECT_EQ(Shown(), kRest);
}

TEST_F(ShiftImageTest, AnyPressShiftsTwoPixelsAndTheReleaseShiftsBack) {
  test::SendMouse(*form, WM_RBUTTONDOWN, 110, 30, MK_RBUTTON);
  EXPECT_EQ(image->Left(), 102);
  EXPECT_EQ(image->Top(), 22);
  test::SendMouse(*form, WM_RBUTTONUP, 110, 30);
  EXPECT_EQ(image->Left(), 100);
  EXPECT_EQ(image->Top(), 20);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ShiftImageTest, ClickFiresOnReleaseInsideBeforeTheShiftIsUndone) {
  test::Press(*form, 110, 30);
  test::Release(*form, 110, 30);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(clickedAt, (Point{102, 22}));
  EXPECT_EQ(image->Left(), 100);
  // Dragged off and released outside: no click, position restored.
  test::Press(*form, 110, 30);
  test::MoveHeld(*form, 300, 150);
  test::Release(*form, 300, 150);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(image->Left(), 100);
}

TEST_F(ShiftImageTest, NewRestingPictureWaitsForTheNextLeave) {
  test::Move(*form, 110, 30);
  test::Move(*form, 5, 5);
  Bitmap other(24, 24, MakeColour(0, 0, 255));
  image->SetNoFocusedPicture(other);
  EXPECT_EQ(Shown(), kRest);
  test::Move(*form, 110, 30);
  test::Move(*form, 5, 5);
  EXPECT_EQ(Shown(), MakeColour(0, 0, 255));
}

TEST_F(ShiftImageTest, PicturesAreCopiesOfTheCallersBitmaps) {
  Bitmap mine(24, 24, MakeColour(1, 2, 3));
  image->SetFocusedPicture(mine);
  mine.SetPixel(5, 5, MakeColour(9, 9, 9));
  test::Move(*form, 110, 30);
  EXPECT_EQ(Shown(), MakeColour(1, 2, 3));
  EXPECT_NE(image->Picture().Handle(), image->FocusedPicture().Handle());
}

TEST_F(ShiftImageTest, DisabledFiresEnterAndLeaveButKeepsItsPicture) {
  image->SetEnabled(false);
  test::Move(*form, 110, 30);
  test::Move(*form, 5, 5);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
  EXPECT_EQ(Shown(), kRest);
  test::Move(*form, 110, 30);
  EXPECT_EQ(Shown(), kRest);
}

}  // namespace
}  // namespace vh
