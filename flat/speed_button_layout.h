// Pure layout of the flat speed button: where glyph and caption go, which
// cell of the glyph strip is drawn, and which colours fill and frame the face
// in each state. The Win32 side measures the caption and paints.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/geometry.h"
#include "ui/glyph_layout.h"

namespace vh {

enum class FaceState { Up = 0, Disabled = 1, Pressed = 2, Latched = 3 };

struct GlyphAndCaption {
  Point GlyphOrigin;
  Rect CaptionRect;
};

// client: the client rectangle; offset: (1, 1) while pressed; textSize: the
// caption measured on one line, (0, 0) for an empty caption; glyphStrip: the
// whole glyph bitmap's size, (0, 0) when empty; numGlyphs: cells in the strip.
GlyphAndCaption PlaceGlyphAndCaption(const Rect& client, Point offset, Size textSize, TButtonLayout layout,
                                     int margin, int spacing, Size glyphStrip, int numGlyphs);

// NumGlyphs after a new glyph: width / height when the width is a whole
// multiple of the height (1 when that exceeds 4); otherwise unchanged.
int NumGlyphsForGlyph(Size glyph, int current);

// The source rectangle of the glyph strip drawn in a state.
Rect GlyphSourceRect(Size glyphStrip, int numGlyphs, FaceState state);

// Which of the button's colours fills the face; None leaves the parent's
// surface visible.
enum class FaceFill { None, Color, ColorFocused, ColorDown };
FaceFill FaceFillFor(TTransparentMode mode, bool hovered, FaceState state);

// Which colours draw the one-pixel frame.
enum class FrameColour { Border, HighLight, Shadow };
struct FrameColours {
  FrameColour topLeft;
  FrameColour bottomRight;
};
FrameColours FrameColoursFor(FaceState state, bool hovered);

// A flat button as the fitting sees it.
struct SpeedButtonFit {
  std::string caption;
  std::function<void(int)> setWidth;
};

// Caption text width (measured on the main window's canvas) + 17.
constexpr int kSpeedButtonCaptionPadding = 17;
int FittedSpeedButtonWidth(int captionTextWidth);
void FitSpeedButtons(const std::vector<SpeedButtonFit>& buttons,
                     const std::function<int(const std::string&)>& textWidth);

}  // namespace vh
