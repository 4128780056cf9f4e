// What the skinned controls that take the keyboard focus share: a tab stop
// kept in the window's own style, a repaint whenever font, enabled state or
// caption change, the test whether the focus can go there now, and the
// left-button press that clicks when it is released inside.
#pragma once

#include "ui/component_win.h"

namespace vh {

class TSkinFocusControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  // A release of the left button inside the control after StartPress
  // clicks it.
  void MouseUp(TMouseButton button, int x, int y) override;

 protected:
  void FontChanged() override;
  void EnabledChanged() override;
  void TextChanged() override;
  bool CanFocusNow() const;

  // The left button went down inside: the pointer is held until it comes up.
  void StartPress();
  // The system took the pointer away (WM_CANCELMODE): no click follows.
  void CancelPress();

 private:
  bool pressed_ = false;
};

}  // namespace vh
