// Pure rules of the skinned check box: the glyph frame for a
// state, the auto size, the painting rectangles, and the Checked state with
// the rule for when OnClick fires.
#pragma once

#include <cstdint>

#include "ui/geometry.h"

namespace vh {

// Which frame of which strip shows the glyph.
struct CheckBoxGlyphFrame {
  bool fromTheme = false;  // theme bitmap ThemeGlyphKey cut into 6, else built-in entry into 4
  int index = 1;           // 1-based
  int count = 4;
};
// `themeInUse`: ResolveUIStyle chose the theme file; `builtinGlyphEntry`: 3
// for the check box (a radio button would give another entry, and then the
// theme strip is not used). Built-in frames: checked 1, unchecked 2, checked
// disabled 3, unchecked disabled 4; theme frames 1, 3, 4, 6.
CheckBoxGlyphFrame CheckBoxGlyphFrameFor(bool themeInUse, int builtinGlyphEntry, bool checked, bool enabled);

// Auto-size: 4 pixels taller than the larger of the glyph and a line of text
// (measured on "W", plus 2); as wide as the glyph and the caption plus 8.
Size CheckBoxAutoSize(Size glyph, int textHeightW, int captionWidth);

// Where the painting puts the glyph, the caption and the focus rectangle.
struct CheckBoxPaintLayout {
  Point glyph;
  Rect caption;            // DrawText rectangle
  unsigned captionFlags;   // DT_SINGLELINE (0x20), | DT_RIGHT (0x22) right to left
  Rect focus;              // when WantsFocusRect
};
CheckBoxPaintLayout CheckBoxLayout(Size client, Size glyph, int textHeightW, bool rightToLeft);

enum class TCheckBoxState : std::uint8_t { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

// Checked and its OnClick rule. Each setter returns whether the value
// changed (the control repaints) and `fireOnClick` tells whether OnClick
// runs (a change while the form is being loaded does not fire it).
struct CheckedChange {
  bool changed = false;
  bool fireOnClick = false;
};
class CheckBoxModel {
 public:
  bool Checked() const { return checked_; }
  TCheckBoxState State() const { return checked_ ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked; }
  CheckedChange SetChecked(bool value, bool loading = false);
  // cbGrayed unchecks.
  CheckedChange SetState(TCheckBoxState state, bool loading = false);
  // A click: flips Checked.
  CheckedChange Toggle(bool loading = false);

 private:
  bool checked_ = false;
};

// Key up toggles (repaint and click) for Space or Enter when KeyTogglesState,
// the box has the focus and is enabled.
bool CheckBoxKeyUpClicks(int key, bool keyTogglesState, bool focused, bool enabled);
// The accelerator clicks (and takes the focus when possible) when the
// character is the caption's accelerator and the box is enabled and visible
// with an enabled parent; Alt is not required.
bool CheckBoxAcceleratorClicks(bool isCaptionAccelerator, bool enabled, bool visible, bool parentEnabled);

}  // namespace vh
