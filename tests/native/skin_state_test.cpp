// The input state of the push button and the Checked
// state of the check box.
#include <gtest/gtest.h>

#include "skin/button_state.h"
#include "skin/check_box_layout.h"

namespace vh {
namespace {

TEST(SkinButtonState, PressAndReleaseInside) {
  ButtonStateMachine b;
  ButtonContext c;
  ButtonEffects e = b.PointerEnters(c);
  EXPECT_TRUE(b.Hot());
  EXPECT_TRUE(e.fireMouseEnter);
  e = b.LeftMouseDown(c);
  EXPECT_TRUE(b.Down());
  EXPECT_TRUE(e.createRepeatTimer);
  EXPECT_TRUE(e.takeFocus);
  EXPECT_TRUE(e.repaint);
  // A second press does not make a second timer.
  EXPECT_FALSE(b.LeftMouseDown(c).createRepeatTimer);
  e = b.Click();
  EXPECT_FALSE(b.Down());
  EXPECT_TRUE(e.destroyRepeatTimer);
  EXPECT_FALSE(b.RepeatTimerAlive());
  EXPECT_TRUE(b.Hot());
}

TEST(SkinButtonState, MovingOutsideDropsHotAndDownButKeepsTheTimer) {
  ButtonStateMachine b;
  ButtonContext c;
  b.PointerEnters(c);
  b.LeftMouseDown(c);
  EXPECT_FALSE(b.MouseMove(80, 27, 80, 27).repaint);  // the edge counts as inside
  EXPECT_TRUE(b.MouseMove(81, 5, 80, 27).repaint);
  EXPECT_FALSE(b.Hot());
  EXPECT_FALSE(b.Down());
  EXPECT_TRUE(b.RepeatTimerAlive());
  // Leaving destroys it.
  const ButtonEffects e = b.PointerLeaves();
  EXPECT_TRUE(e.destroyRepeatTimer);
  EXPECT_TRUE(e.fireMouseExit);
}

TEST(SkinButtonState, CancelModeStopsEverything) {
  ButtonStateMachine b;
  ButtonContext c;
  b.PointerEnters(c);
  b.LeftMouseDown(c);
  const ButtonEffects e = b.CancelMode();
  EXPECT_FALSE(b.Hot());
  EXPECT_FALSE(b.Down());
  EXPECT_TRUE(e.destroyRepeatTimer);
}

TEST(SkinButtonState, DesignTimeEnterDoesNothing) {
  ButtonStateMachine b;
  ButtonContext c;
  c.designTime = true;
  EXPECT_FALSE(b.PointerEnters(c).repaint);
  EXPECT_FALSE(b.Hot());
}

TEST(SkinButtonState, SpaceAndEnterClickOnRelease) {
  ButtonStateMachine b;
  ButtonContext c;
  c.focused = true;
  b.KeyDown(kVkSpace, c);
  EXPECT_TRUE(b.Down());
  ButtonEffects e = b.KeyUp(kVkSpace, c);
  EXPECT_TRUE(e.click);
  EXPECT_FALSE(b.Down());
  b.KeyDown(kVkReturn, c);
  EXPECT_TRUE(b.KeyUp(kVkReturn, c).click);
  // Unfocused or disabled: nothing.
  ButtonContext unfocused;
  EXPECT_FALSE(b.KeyDown(kVkSpace, unfocused).repaint);
  EXPECT_FALSE(b.Down());
  ButtonContext disabled;
  disabled.focused = true;
  disabled.enabled = false;
  b.KeyDown(kVkSpace, disabled);
  EXPECT_FALSE(b.Down());
  // Release without a press does not click.
  EXPECT_FALSE(b.KeyUp(kVkSpace, c).click);
  // No focus taken without TabStop.
  ButtonContext noTab;
  noTab.tabStop = false;
  EXPECT_FALSE(b.LeftMouseDown(noTab).takeFocus);
}

TEST(SkinButtonState, AcceleratorDialogKeysAndDefault) {
  EXPECT_TRUE(ButtonAcceleratorClicks(true, true, false, true, true, true));
  EXPECT_TRUE(ButtonAcceleratorClicks(true, false, true, true, true, true));
  EXPECT_FALSE(ButtonAcceleratorClicks(true, false, false, true, true, true));
  EXPECT_FALSE(ButtonAcceleratorClicks(true, true, true, false, true, true));
  EXPECT_FALSE(ButtonAcceleratorClicks(false, true, true, true, true, true));
  EXPECT_TRUE(ButtonDialogKeyClicks(kVkReturn, true, false, false, true));
  EXPECT_FALSE(ButtonDialogKeyClicks(kVkReturn, false, true, false, true));
  EXPECT_TRUE(ButtonDialogKeyClicks(kVkEscape, false, true, false, true));
  EXPECT_FALSE(ButtonDialogKeyClicks(kVkEscape, false, true, true, true));
  EXPECT_FALSE(ButtonDialogKeyClicks(kVkReturn, true, false, false, false));
  EXPECT_TRUE(ButtonActiveDefault(true, false, false));
  EXPECT_FALSE(ButtonActiveDefault(false, true, true));
  EXPECT_TRUE(ButtonActiveDefault(false, false, true));
  EXPECT_FALSE(ButtonActiveDefault(false, false, false));
}

TEST(SkinCheckBoxState, OnClickFiresOnEveryChangeExceptWhileLoading) {
  CheckBoxModel box;
  EXPECT_FALSE(box.SetChecked(false).changed);
  CheckedChange c = box.SetChecked(true, true);
  EXPECT_TRUE(c.changed);
  EXPECT_FALSE(c.fireOnClick);
  c = box.Toggle();
  EXPECT_TRUE(c.fireOnClick);
  EXPECT_FALSE(box.Checked());
  box.SetChecked(true);
  c = box.SetState(TCheckBoxState::cbGrayed);
  EXPECT_TRUE(c.fireOnClick);
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(box.State(), TCheckBoxState::cbUnchecked);
  EXPECT_FALSE(box.SetState(TCheckBoxState::cbGrayed).changed);
  box.SetState(TCheckBoxState::cbChecked);
  EXPECT_EQ(box.State(), TCheckBoxState::cbChecked);
}

TEST(SkinCheckBoxState, KeysAndAccelerator) {
  EXPECT_TRUE(CheckBoxKeyUpClicks(13, true, true, true));
  EXPECT_TRUE(CheckBoxKeyUpClicks(32, true, true, true));
  EXPECT_FALSE(CheckBoxKeyUpClicks(65, true, true, true));
  EXPECT_FALSE(CheckBoxKeyUpClicks(32, false, true, true));
  EXPECT_FALSE(CheckBoxKeyUpClicks(32, true, false, true));
  EXPECT_FALSE(CheckBoxKeyUpClicks(32, true, true, false));
  EXPECT_TRUE(CheckBoxAcceleratorClicks(true, true, true, true));
  EXPECT_FALSE(CheckBoxAcceleratorClicks(true, true, true, false));
}

}  // namespace
}  // namespace vh
