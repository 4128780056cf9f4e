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

}  // namespace vh
