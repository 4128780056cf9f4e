#include "skin/focus_control_win.h"

namespace vh {

void TSkinFocusControl::FontChanged() {
  TWinControl::FontChanged();
  Repaint();
}

void TSkinFocusControl::EnabledChanged() {
  TWinControl::EnabledChanged();
  Repaint();
}

void TSkinFocusControl::TextChanged() {
  TWinControl::TextChanged();
  Repaint();
}

bool TSkinFocusControl::CanFocusNow() const {
  return Handle() && Visible() && Enabled() && IsWindowVisible(Handle()) && IsWindowEnabled(Handle());
}

void TSkinFocusControl::StartPress() {
  pressed_ = true;
  SetCapture(Handle());
}

void TSkinFocusControl::MouseUp(TMouseButton button, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    const bool click = pressed_ && x >= 0 && y >= 0 && x < Width() && y < Height();
    CancelPress();
    if (click) Click();
  }
  TWinControl::MouseUp(button, x, y);
}

void TSkinFocusControl::CancelPress() {
  pressed_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
}

}  // namespace vh
