// Pure rules of the skinned check box (Part 3.4): the glyph frame for a
// state, the auto size and the painting rectangles.
#pragma once

#include "skin/geometry.h"

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

// AutoSize: Height := max(text height of "W" + 2, glyph height) + 4,
// Width := glyph width + caption text width + 8.
Size CheckBoxAutoSize(Size glyph, int textHeightW, int captionWidth);

// Where the painting puts the glyph, the caption and the focus rectangle.
struct CheckBoxPaintLayout {
  Point glyph;
  Rect caption;            // DrawText rectangle
  unsigned captionFlags;   // DT_SINGLELINE (0x20), | DT_RIGHT (0x22) right to left
  Rect focus;              // when WantsFocusRect
};
CheckBoxPaintLayout CheckBoxLayout(Size client, Size glyph, int textHeightW, bool rightToLeft);

}  // namespace vh
