// What the skinned controls that take the keyboard focus share: a tab stop
// kept in the window's own style, a repaint whenever font, enabled state or
// caption change, and the test whether the focus can go there now.
#pragma once

#include "ui/component_win.h"

namespace vh {

class TSkinFocusControl : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void FontChanged() override;
  void EnabledChanged() override;
  void TextChanged() override;
  bool CanFocusNow() const;
};

}  // namespace vh
