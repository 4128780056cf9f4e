#include "skin/focus_control_win.h"

namespace vh {

void TSkinFocusControl::SetTabStop(bool v) {
  tabStop_ = v;
  if (Handle()) {
    LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    SetWindowLongA(Handle(), GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~LONG(WS_TABSTOP)));
  }
  Repaint();
}

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

}  // namespace vh
