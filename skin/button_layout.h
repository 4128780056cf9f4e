// Pure layout and state rules of the skinned push buttons: which
// skin frame a state shows, the auto size, the glyph and caption placement,
// the caption passes and the focus rectangle. The Win32 button calls these
// and only paints.
#pragma once

#include <vector>

#include "skin/ui_style.h"
#include "ui/geometry.h"
#include "ui/glyph_layout.h"

namespace vh {

// Frame (1-based, of 3) of the button strip for a state: disabled 1; enabled
// and Down 3, else Hot 2, else 1.
int ButtonSkinFrame(bool enabled, bool down, bool hot);

// Auto-size of TsuiCustomButton: the strip's height, and a third of its width
// (the strip holds three frames); an absent or empty strip counts as 74 x 21.
Size ButtonAutoSize(std::optional<Size> strip);
// The same for built-in entry 1 of the style as set (no ResolveUIStyle, so
// FromThemeFile loads nothing and gives 24 x 21).
Size ButtonAutoSizeForStyle(TsuiUIStyle style);

// DrawFocus of the base: (m, m, width - m, height - m).
Rect ButtonFocusRect(Size client, int margin);
// TsuiButton in MacOS and BlueGlass shows focus by a bold caption instead of
// the dotted rectangle.
bool ButtonFocusIsBoldCaption(TsuiUIStyle style);

// Auto-repeat period: a negative interval is used as 0.
int ButtonRepeatInterval(int mouseContinuouslyDownInterval);

// The placement of a TsuiButton's glyph and caption (DrawSkin steps 2 to 4).
struct ButtonGlyphPlacement {
  Point glyph;      // (gx, gy), already moved by 1 when Down
  Point caption;    // (CaptionX, CaptionY), not moved for Down here
  Size glyphSize;   // one image: a glyph twice as wide as high holds two
  int glyphImages;  // 1 or 2
};
// `control` is W x H, `glyph` the glyph bitmap's size, `text` the caption's
// size in the canvas font, `spacing` the Spacing property. Integer divisions
// round toward zero.
ButtonGlyphPlacement ButtonGlyphLayout(TButtonLayout layout, Size control, Size glyph, Size text, int spacing,
                                       bool down);

// One drawing of the caption: the rectangle to draw into and its colour.
// `useFont`: the font's own colour; otherwise `colour`.
struct CaptionPass {
  Rect rect;
  bool useFont = true;
  Colour colour = kClBlack;
};
// The base DrawCaption (also TsuiButton without glyph): disabled draws at
// client + (1, 1) in white and then at client in grey; enabled and Down
// draws once at client + (1, 1); otherwise once at client. Each pass is then
// measured and centred with CentreMeasuredCaption.
std::vector<CaptionPass> ButtonCaptionPasses(Rect client, bool enabled, bool down);
// DrawText measured `measured` (calculate-rectangle, expand-tabs, word-break
// from `textRect`); the rectangle moved by ((text width - measured width) div
// 2, (text height - measured height) div 2), into which the caption is drawn
// with DT_CENTER.
Rect CentreMeasuredCaption(Rect textRect, Rect measured);
// TsuiButton's DrawCaption with a glyph: single-line drawings into the
// rectangle from the caption position to (W, H). Disabled: white at
// (CaptionX + 1, CaptionY + 1), then grey at (CaptionX, CaptionY). Enabled and
// Down: once at (CaptionX + 1, CaptionY + 1). Otherwise once at the position.
std::vector<CaptionPass> ButtonGlyphCaptionPasses(Point caption, Size control, bool enabled, bool down);

// DrawText flags of the caption drawings.
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtSingleLine = 0x20;
constexpr unsigned kDtMeasureFlags = 0x450;  // DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK

}  // namespace vh
