#include "skin/button_state.h"

namespace vh {

ButtonEffects ButtonStateMachine::LeftMouseDown(const ButtonContext& c) {
  ButtonEffects e;
  down_ = true;
  if (!timer_) {
    timer_ = true;
    e.createRepeatTimer = true;
  }
  e.takeFocus = c.tabStop && c.canFocus && c.enabled && c.visible;
  e.repaint = true;
  return e;
}

ButtonEffects ButtonStateMachine::MouseMove(int x, int y, int width, int height) {
  ButtonEffects e;
  if (x < 0 || y < 0 || x > width || y > height) {
    hot_ = false;
    down_ = false;  // the repeat timer keeps running
    e.repaint = true;
  }
  return e;
}

ButtonEffects ButtonStateMachine::PointerEnters(const ButtonContext& c) {
  ButtonEffects e;
  if (c.designTime) return e;
  hot_ = true;
  e.repaint = true;
  e.fireMouseEnter = true;
  return e;
}

ButtonEffects ButtonStateMachine::PointerLeaves() {
  ButtonEffects e = CancelMode();
  e.fireMouseExit = true;
  return e;
}

ButtonEffects ButtonStateMachine::Click() {
  ButtonEffects e;
  if (down_) {
    StopRepeat(e);
    down_ = false;
    e.repaint = true;
  }
  return e;
}

ButtonEffects ButtonStateMachine::KeyDown(int key, const ButtonContext& c) {
  ButtonEffects e;
  if ((key == kVkSpace || key == kVkReturn) && c.focused && c.enabled) {
    down_ = true;
    e.repaint = true;
  }
  return e;
}

ButtonEffects ButtonStateMachine::KeyUp(int key, const ButtonContext& c) {
  ButtonEffects e;
  if ((key == kVkSpace || key == kVkReturn) && c.focused && down_ && c.enabled) {
    down_ = false;
    e.repaint = true;
    e.click = true;
  }
  return e;
}

ButtonEffects ButtonStateMachine::CancelMode() {
  ButtonEffects e;
  hot_ = false;
  down_ = false;
  StopRepeat(e);
  e.repaint = true;
  return e;
}

void ButtonStateMachine::StopRepeat(ButtonEffects& e) {
  if (!timer_) return;
  timer_ = false;
  e.destroyRepeatTimer = true;
}

bool ButtonAcceleratorClicks(bool isCaptionAccelerator, bool altHeld, bool focusedIsSkinButton, bool parentEnabled,
                             bool enabled, bool visible) {
  return isCaptionAccelerator && (altHeld || focusedIsSkinButton) && parentEnabled && enabled && visible;
}

bool ButtonDialogKeyClicks(int key, bool activeDefault, bool cancel, bool shiftCtrlOrAlt, bool canFocus) {
  if (shiftCtrlOrAlt || !canFocus) return false;
  return (key == kVkReturn && activeDefault) || (key == kVkEscape && cancel);
}

bool ButtonActiveDefault(bool focusedIsThisButton, bool focusedIsAnotherTsuiButton, bool defaultProperty) {
  if (focusedIsThisButton) return true;
  if (focusedIsAnotherTsuiButton) return false;
  return defaultProperty;
}

}  // namespace vh
