// The input state machine of TsuiCustomButton (mouse and
// keyboard): Hot, Down and the auto-repeat timer, driven by pointer, mouse,
// key and cancel-mode events. Each event returns what the Win32 control must
// do (repaint, create or destroy the repeat timer, take the focus, click,
// fire the enter/exit events); the control does it and nothing else.
// Also the pure rules for the accelerator, the dialog keys and ActiveDefault.
#pragma once

namespace vh {

constexpr int kVkReturn = 13;
constexpr int kVkEscape = 27;
constexpr int kVkSpace = 32;

struct ButtonEffects {
  bool repaint = false;
  bool createRepeatTimer = false;   // interval ButtonRepeatInterval(MouseContinuouslyDownInterval)
  bool destroyRepeatTimer = false;
  bool takeFocus = false;           // a failure is ignored
  bool click = false;               // run the button's Click
  bool fireMouseEnter = false;
  bool fireMouseExit = false;
};

// What the control knows of itself when an event comes.
struct ButtonContext {
  bool enabled = true;
  bool visible = true;
  bool focused = false;   // has the keyboard focus
  bool canFocus = true;   // can take the focus
  bool tabStop = true;
  bool designTime = false;
};

class ButtonStateMachine {
 public:
  bool Hot() const { return hot_; }
  bool Down() const { return down_; }
  bool RepeatTimerAlive() const { return timer_; }

  // Left button down (other buttons only get the standard processing).
  ButtonEffects LeftMouseDown(const ButtonContext& c);
  // Mouse move at (x, y) in client coordinates of a W x H button.
  ButtonEffects MouseMove(int x, int y, int width, int height);
  ButtonEffects PointerEnters(const ButtonContext& c);
  ButtonEffects PointerLeaves();
  // The click (a release inside the control, a key, an accelerator); the
  // control then copies ModalResult to its form and runs the standard click.
  ButtonEffects Click();
  ButtonEffects KeyDown(int key, const ButtonContext& c);
  ButtonEffects KeyUp(int key, const ButtonContext& c);
  ButtonEffects CancelMode();

 private:
  void StopRepeat(ButtonEffects& e);
  bool hot_ = false;
  bool down_ = false;
  bool timer_ = false;
};

// Accelerator: the character is the caption's accelerator, and Alt is held
// or the focused window answers 1 to WM_ISSKINBUTTON, and the parent and the
// button are enabled and the button visible: click and consume the key.
bool ButtonAcceleratorClicks(bool isCaptionAccelerator, bool altHeld, bool focusedIsSkinButton, bool parentEnabled,
                             bool enabled, bool visible);
// Dialog keys: Enter while ActiveDefault or Escape while Cancel, without
// Shift, Ctrl or Alt, and the button able to take the focus.
bool ButtonDialogKeyClicks(int key, bool activeDefault, bool cancel, bool shiftCtrlOrAlt, bool canFocus);
// ActiveDefault after a focus change within the form.
bool ButtonActiveDefault(bool focusedIsThisButton, bool focusedIsAnotherTsuiButton, bool defaultProperty);

}  // namespace vh
