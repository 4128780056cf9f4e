// A window and its windowless children as the window system drives them:
// errors thrown while painting, the mouse routing carried out with real
// capture, and children that go away.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/wine/support/ui_test_support.h"
#include "ui/controls_win.h"
#include "ui/message_box_win.h"

namespace vh {
namespace {

class BrokenPaint : public TGraphicControl {
 public:
  BrokenPaint(TComponent* owner, TWinControl* parent) : TGraphicControl(owner, parent, "Broken") {
    SetBounds(10, 10, 60, 30);
  }
  void Paint(Canvas&) override {
    ++paints;
    throw std::runtime_error("cannot paint");
  }
  int paints = 0;
};

class PaintError : public ::testing::Test {
 protected:
  PaintError() {
    SetMessageBoxHook([this](const std::string& text, const std::string&, UINT) {
      boxes.push_back(text);
      return IDOK;
    });
  }
  ~PaintError() override {
    SetMessageBoxHook(nullptr);
    SetExceptionSink(nullptr);
  }

  // Shows the form and lets it paint, then paints it again twice.
  void ShowAndRepaint() {
    form->Show();
    UpdateWindow(form->Handle());
    test::PumpFor(100);
    ASSERT_EQ(broken.paints, 1) << "the first paint ran once; WM_PAINT did not come again by itself";
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(form->Handle(), &pending, FALSE)) << "the failed paint still validated the window";
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, form->Handle(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
    for (int i = 0; i < 2; ++i) {
      broken.Invalidate();
      UpdateWindow(form->Handle());
    }
    EXPECT_EQ(broken.paints, 3);
  }

  std::vector<std::string> boxes;
  std::unique_ptr<TForm> form = CreateForm<TForm>(nullptr, test::TestFormDef("frmPaint"));
  BrokenPaint& broken = Make<BrokenPaint>(form.get(), form.get());
};

TEST_F(PaintError, EndsThePaintCycleAndIsShownOnceInABox) {
  ShowAndRepaint();
  EXPECT_EQ(boxes, std::vector<std::string>{"cannot paint"});
}

TEST_F(PaintError, GoesOnceToTheSinkWhenOneIsSet) {
  std::vector<std::string> sunk;
  SetExceptionSink([&](const std::string& text) { sunk.push_back(text); });
  ShowAndRepaint();
  EXPECT_EQ(sunk, std::vector<std::string>{"cannot paint"});
  EXPECT_TRUE(boxes.empty());
}

// A label that counts its clicks and may act when pressed.
class Clickable : public ::testing::Test {
 protected:
  Clickable() {
    label.SetBounds(20, 20, 80, 20);
    label.OnClick = [this](TObject&) { ++clicks; };
    form->Show();
  }
  std::unique_ptr<TForm> form = CreateForm<TForm>(nullptr, test::TestFormDef("frmClick"));
  TLabel& label = Make<TLabel>(form.get(), form.get(), "Link");
  int clicks = 0;
};

TEST_F(Clickable, PressAndReleaseOnTheLabelClicksItAndEndTheCapture) {
  test::Press(*form, 30, 30);
  EXPECT_EQ(GetCapture(), form->Handle());
  test::Release(*form, 30, 30);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Clickable, AControlHiddenOrDisabledWhilePressedIsNotClicked) {
  label.OnMouseDown = [this](TObject&, TMouseButton, int, int) { label.SetVisible(false); };
  test::Press(*form, 30, 30);
  EXPECT_EQ(GetCapture(), nullptr) << "the hidden control gave up the capture";
  test::Release(*form, 30, 30);

  label.SetVisible(true);
  label.OnMouseDown = [this](TObject&, TMouseButton, int, int) { label.SetEnabled(false); };
  test::Press(*form, 30, 30);
  test::Release(*form, 30, 30);
  EXPECT_EQ(clicks, 0);
}

TEST_F(Clickable, ACaptureTakenByAnotherWindowVoidsThePress) {
  test::Press(*form, 30, 30);
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetCapture(other);
  ReleaseCapture();
  DestroyWindow(other);
  test::Release(*form, 30, 30);
  EXPECT_EQ(clicks, 0);
}

TEST_F(Clickable, ADeletedLabelLeavesItsAreaToRepaint) {
  UpdateWindow(form->Handle());
  delete &label;
  RECT pending{};
  ASSERT_TRUE(GetUpdateRect(form->Handle(), &pending, FALSE));
  EXPECT_EQ(FromRECT(pending), MakeRect(20, 20, 80, 20));
}

TEST_F(Clickable, AClickThatDestroysTheWindowEndsTheRouting) {
  int ups = 0;
  int* upsSeen = &ups;
  label.OnMouseUp = [upsSeen](TObject&, TMouseButton, int, int) { ++*upsSeen; };
  label.OnClick = [this](TObject&) {
    ++clicks;
    form.reset();
  };
  test::Press(*form, 30, 30);
  HWND window = form->Handle();
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(ups, 0) << "nothing reached the destroyed label after the click";
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace vh
