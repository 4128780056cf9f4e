#include "skin/check_box_layout.h"

#include <algorithm>

namespace vh {

CheckBoxGlyphFrame CheckBoxGlyphFrameFor(bool themeInUse, int builtinGlyphEntry, bool checked, bool enabled) {
  CheckBoxGlyphFrame out;
  out.fromTheme = themeInUse && builtinGlyphEntry == 3;
  if (out.fromTheme) {
    out.count = 6;
    out.index = enabled ? (checked ? 1 : 3) : (checked ? 4 : 6);
  } else {
    out.count = 4;
    out.index = enabled ? (checked ? 1 : 2) : (checked ? 3 : 4);
  }
  return out;
}

Size CheckBoxAutoSize(Size glyph, int textHeightW, int captionWidth) {
  return Size{glyph.width + captionWidth + 8, std::max(textHeightW + 2, glyph.height) + 4};
}

CheckBoxPaintLayout CheckBoxLayout(Size client, Size glyph, int textHeightW, bool rightToLeft) {
  CheckBoxPaintLayout out;
  const int W = client.width, H = client.height;
  const int y = (H - textHeightW) / 2;
  const int glyphY = (H - glyph.height) / 2;
  if (!rightToLeft) {
    out.glyph = Point{1, glyphY};
    out.caption = Rect{glyph.width + 4, y, W, H};
    out.captionFlags = 0x20;
    out.focus = Rect{glyph.width + 3, y, W, y + textHeightW + 2};
  } else {
    out.glyph = Point{W - glyph.width - 1, glyphY};
    out.caption = Rect{0, y, W - glyph.width - 4, H};
    out.captionFlags = 0x22;
    out.focus = Rect{0, y, W - glyph.width - 2, y + textHeightW + 2};
  }
  return out;
}

CheckedChange CheckBoxModel::SetChecked(bool value, bool loading) {
  if (value == checked_) return CheckedChange{};
  checked_ = value;
  return CheckedChange{true, !loading};
}

CheckedChange CheckBoxModel::SetState(TCheckBoxState state, bool loading) {
  return SetChecked(state == TCheckBoxState::cbChecked, loading);
}

CheckedChange CheckBoxModel::Toggle(bool loading) { return SetChecked(!checked_, loading); }

bool CheckBoxKeyUpClicks(int key, bool keyTogglesState, bool focused, bool enabled) {
  return keyTogglesState && (key == 32 || key == 13) && focused && enabled;
}

bool CheckBoxAcceleratorClicks(bool isCaptionAccelerator, bool enabled, bool visible, bool parentEnabled) {
  return isCaptionAccelerator && enabled && visible && parentEnabled;
}

}  // namespace vh
