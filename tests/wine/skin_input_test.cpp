// The skinned controls' keyboard and mouse behaviour under the real window
// system: Enter and Escape with Default and Cancel buttons, accelerators with
// and without Alt, Space on check boxes, OnClick rules, auto-repeat, modal
// results, the image button's pictures and the link label.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/button_win.h"
#include "skin/check_box_win.h"
#include "skin/image_button_win.h"
#include "skin/url_label_win.h"
#include "tests/wine/support/ui_test_support.h"

namespace vh {
namespace {

// Posts a key to the focused window and runs the message loop as the
// program does (accelerators, dialog keys).
void Type(UINT msg, WPARAM key) {
  PostMessageA(GetFocus(), msg, key, 0);
  ProcessMessages();
}

void SetAltHeld(bool held) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_MENU] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

class SkinInput : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr, test::TestFormDef("frmInput", 360, 200));
    ok = &Button("bOK", "&OK", 10, mrOk);
    cancel = &Button("bCancel", "&Cancel", 100, mrCancel);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    box = &Make<TsuiCheckBox>(form.get(), form.get(), "cbAsk");
    box->SetBounds(10, 60, 150, 17);
    box->SetCaption("&Ask first");
    box->OnClick = [this](TObject&) { ++boxClicks; };
    form->Show();
    ProcessMessages();
  }
  void TearDown() override { SetAltHeld(false); }

  TsuiButton& Button(const std::string& name, const std::string& caption, int x, ModalResult result) {
    auto& b = Make<TsuiButton>(form.get(), form.get(), name);
    b.SetBounds(x, 10, 80, 27);
    b.SetCaption(caption);
    b.SetModalResult(result);
    b.OnClick = [this, &b](TObject&) { clicked.push_back(b.Name()); };
    return b;
  }

  std::unique_ptr<TForm> form;
  TsuiButton* ok = nullptr;
  TsuiButton* cancel = nullptr;
  TsuiCheckBox* box = nullptr;
  std::vector<std::string> clicked;
  int boxClicks = 0;
};

TEST_F(SkinInput, EnterClicksTheDefaultButtonAndEscapeTheCancelButton) {
  box->SetFocus();
  ASSERT_TRUE(box->Focused());
  EXPECT_TRUE(ok->ActiveDefault());
  Type(WM_KEYDOWN, VK_RETURN);
  Type(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(clicked, (std::vector<std::string>{"bOK", "bCancel"}));
  EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(SkinInput, EnterClicksTheFocusedSkinnedButtonInsteadOfTheDefault) {
  cancel->SetFocus();
  EXPECT_FALSE(ok->ActiveDefault());
  EXPECT_TRUE(cancel->ActiveDefault());
  Type(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(clicked, (std::vector<std::string>{"bCancel"}));
  box->SetFocus();
  EXPECT_TRUE(ok->ActiveDefault());
  EXPECT_FALSE(cancel->ActiveDefault());
}

TEST_F(SkinInput, AcceleratorsNeedNoAltWhileASkinnedButtonHasTheFocus) {
  EXPECT_EQ(SendMessageA(ok->Handle(), WM_ISSKINBUTTON, 0, 0), 1);
  EXPECT_EQ(SendMessageA(box->Handle(), WM_ISSKINBUTTON, 0, 0), 0);
  ok->SetFocus();
  Type(WM_CHAR, 'c');
  EXPECT_EQ(clicked, (std::vector<std::string>{"bCancel"}));

  clicked.clear();
  box->SetFocus();
  Type(WM_CHAR, 'c');
  EXPECT_TRUE(clicked.empty());  // the focus is not on a skinned button: Alt is needed
  SetAltHeld(true);
  Type(WM_SYSCHAR, 'c');
  EXPECT_EQ(clicked, (std::vector<std::string>{"bCancel"}));

  clicked.clear();
  cancel->SetEnabled(false);
  Type(WM_SYSCHAR, 'c');
  EXPECT_TRUE(clicked.empty());
}

TEST_F(SkinInput, CheckBoxAcceleratorTogglesWithoutAlt) {
  ok->SetFocus();
  Type(WM_CHAR, 'a');
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(box->Focused());
  EXPECT_EQ(boxClicks, 1);
}

TEST_F(SkinInput, SpaceAndEnterReleasedOverTheFocusedBoxToggleIt) {
  box->SetFocus();
  Type(WM_KEYDOWN, VK_SPACE);
  EXPECT_FALSE(box->Checked());  // key down does nothing special
  Type(WM_KEYUP, VK_SPACE);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(boxClicks, 1);
  PostMessageA(box->Handle(), WM_KEYUP, VK_RETURN, 0);
  ProcessMessages();
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(boxClicks, 2);

  ok->SetFocus();
  SendMessageA(box->Handle(), WM_KEYUP, VK_SPACE, 0);  // not focused
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(boxClicks, 2);
}

TEST_F(SkinInput, SpaceReleasedOverAFocusedPressedButtonClicksIt) {
  ok->SetFocus();
  Type(WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(ok->Down());
  EXPECT_TRUE(clicked.empty());
  Type(WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(ok->Down());
  EXPECT_EQ(clicked, (std::vector<std::string>{"bOK"}));
  ok->SetEnabled(false);
  SendMessageA(ok->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_FALSE(ok->Down());
}

TEST_F(SkinInput, CheckedFiresOnClickOnEveryChangeButNotWhileLoading) {
  box->SetChecked(false);
  EXPECT_EQ(boxClicks, 0);
  test::Press(*box, 5, 5);
  test::Release(*box, 5, 5);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(boxClicks, 1);
  test::Press(*box, 5, 5);
  test::Release(*box, 500, 5);  // released outside: no click
  EXPECT_TRUE(box->Checked());
  box->SetState(TCheckBoxState::cbGrayed);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(boxClicks, 2);
  box->SetLoading(true);
  box->SetChecked(true);
  box->SetLoading(false);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(boxClicks, 2);
}

TEST_F(SkinInput, AClickEndsAModalFormWithTheButtonsResult) {
  auto& yes = Button("bYes", "&Yes", 190, mrYes);
  auto& plain = Button("bPlain", "Plain", 270, mrNone);
  form->Hide();
  test::Press(plain, 5, 5);
  test::Release(plain, 5, 5);
  EXPECT_EQ(form->ModalResult(), 0);
  PostMessageA(yes.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(yes.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(form->ShowModal(), mrYes);
}

TEST_F(SkinInput, HoldingTheMouseRepeatsUntilReleaseOrCancelMode) {
  int ticks = 0;
  ok->SetMouseContinuouslyDownInterval(20);
  ok->OnMouseContinuouslyDown = [&](TObject&) { ++ticks; };
  test::Press(*ok, 5, 5);
  ASSERT_NE(ok->RepeatTimer(), nullptr);
  test::PumpFor(200);
  EXPECT_GT(ticks, 2);
  test::Release(*ok, 5, 5);
  EXPECT_EQ(ok->RepeatTimer(), nullptr);
  EXPECT_EQ(clicked, (std::vector<std::string>{"bOK"}));
  const int after = ticks;
  test::PumpFor(60);
  EXPECT_EQ(ticks, after);

  // A negative interval is used as 0, which a timer takes as "stopped".
  ok->SetMouseContinuouslyDownInterval(-5);
  test::Press(*ok, 5, 5);
  EXPECT_EQ(ok->RepeatTimer()->Interval(), 0u);
  EXPECT_TRUE(ok->Down());
  SendMessageA(ok->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(ok->Down());
  EXPECT_FALSE(ok->Hot());
  EXPECT_EQ(ok->RepeatTimer(), nullptr);
}

TEST_F(SkinInput, DoubleClickArrivesAsTwoClicks) {
  test::Press(*ok, 5, 5);
  test::Release(*ok, 5, 5);
  test::SendMouse(*ok, WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
  test::Release(*ok, 5, 5);
  EXPECT_EQ(clicked.size(), 2u);
}

TEST_F(SkinInput, WindowTextAndAutoSize) {
  SetWindowTextA(ok->Handle(), "&Done");
  EXPECT_EQ(ok->Caption(), "&Done");
  ok->SetUIStyle(TsuiUIStyle::FromThemeFile);
  ok->SetAutoSize(true);
  EXPECT_EQ(ok->Width(), 24);
  EXPECT_EQ(ok->Height(), 21);
  ok->SetUIStyle(TsuiUIStyle::WinXP);
  ok->SetAutoSize(true);
  EXPECT_EQ(ok->Width(), 18);
}

TEST_F(SkinInput, ImageButtonWithOnlyPicNormalShowsItInEveryState) {
  auto& b = Make<TsuiImageButton>(form.get(), form.get(), "bMin");
  b.SetBounds(200, 100, 10, 10);
  b.SetAutoSize(true);
  b.SetPicNormal(Bitmap(24, 20, 0x00AA00));
  EXPECT_EQ(b.Width(), 24);
  EXPECT_EQ(b.Height(), 20);
  EXPECT_EQ(b.UIStyle(), TsuiUIStyle::FromThemeFile);
  EXPECT_EQ(test::PaintClientToBitmap(b).Pixel(12, 10), 0x00AA00);
  b.MouseEnter();
  test::Press(b, 3, 3);
  EXPECT_EQ(test::PaintClientToBitmap(b).Pixel(12, 10), 0x00AA00);
  test::Release(b, 3, 3);
  b.SetPicMouseOn(Bitmap(24, 20, 0x0000AA));
  EXPECT_EQ(test::PaintClientToBitmap(b).Pixel(12, 10), 0x0000AA);
  b.SetEnabled(false);
  EXPECT_EQ(test::PaintClientToBitmap(b).Pixel(12, 10), 0x00AA00);
}

class RecordingShell : public Shell {
 public:
  void Open(const std::string& target) override { opened.push_back(target); }
  std::vector<std::string> opened;
};

TEST_F(SkinInput, LinkLabelOpensItsAddressAndFollowsThePointer) {
  auto& link = Make<TsuiURLLabel>(form.get(), form.get(), "lHome");
  RecordingShell shell;
  link.SetShell(&shell);
  int clicks = 0;
  link.OnClick = [&](TObject&) { ++clicks; };
  EXPECT_TRUE(link.Font().underline);
  EXPECT_EQ(link.Font().colour, kClBlue);
  EXPECT_EQ(link.Cursor(), TCursor::crHandPoint);
  link.SetURL("https://www.tolvane.com/varnhold/");
  link.Click();
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://www.tolvane.com/varnhold/"}));
  link.SetURL(" \t ");
  link.Click();
  EXPECT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(clicks, 2);

  link.SetFontLinkColor(0x008000);
  EXPECT_EQ(link.Font().colour, 0x008000);
  link.MouseEnter();
  EXPECT_EQ(link.Font().colour, kClRed);
  link.MouseLeave();
  EXPECT_EQ(link.Font().colour, 0x008000);
}

}  // namespace
}  // namespace vh
