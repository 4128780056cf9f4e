#include "flat/speed_button_layout.h"

namespace vh {
namespace {

bool Horizontal(TButtonLayout layout) {
  return layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
}

// Margin and spacing along the layout's axis with extent e, glyph g, text t.
void ResolveMarginAndSpacing(int e, int g, int t, int& margin, int& spacing) {
  if (margin == -1 && spacing == -1) {
    margin = (e - g - t) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (e - (g + spacing + t) + 1) / 2;
  } else if (spacing == -1) {
    spacing = ((e - (margin + g)) - t) / 2;
  }
}

}  // namespace

GlyphAndCaption PlaceGlyphAndCaption(const Rect& client, Point offset, Size textSize, TButtonLayout layout,
                                     int margin, int spacing, Size glyphStrip, int numGlyphs) {
  const int w = client.Width(), h = client.Height();
  const int gw = numGlyphs > 0 ? glyphStrip.width / numGlyphs : 0, gh = glyphStrip.height;
  const int tw = textSize.width, th = textSize.height;
  Point glyph, text;
  if (Horizontal(layout)) {
    glyph.y = (h - gh + 1) / 2;
    text.y = (h - th + 1) / 2;
  } else {
    glyph.x = (w - gw + 1) / 2;
    text.x = (w - tw + 1) / 2;
  }
  if (tw == 0 || gw == 0) spacing = 0;
  if (Horizontal(layout)) ResolveMarginAndSpacing(w, gw, tw, margin, spacing);
  else ResolveMarginAndSpacing(h, gh, th, margin, spacing);
  switch (layout) {
    case TButtonLayout::blGlyphLeft:
      glyph.x = margin;
      text.x = margin + gw + spacing;
      break;
    case TButtonLayout::blGlyphRight:
      glyph.x = w - margin - gw;
      text.x = glyph.x - spacing - tw;
      break;
    case TButtonLayout::blGlyphTop:
      glyph.y = margin;
      text.y = margin + gh + spacing;
      break;
    case TButtonLayout::blGlyphBottom:
      glyph.y = h - margin - gh;
      text.y = glyph.y - spacing - th;
      break;
  }
  GlyphAndCaption out;
  out.GlyphOrigin = Point{glyph.x + client.left + offset.x, glyph.y + client.top + offset.y};
  out.CaptionRect = Rect{0, 0, tw, th}.Offset(text.x + client.left + offset.x, text.y + client.top + offset.y);
  return out;
}

int NumGlyphsForGlyph(Size glyph, int current) {
  if (glyph.width <= 0 || glyph.height <= 0 || glyph.width % glyph.height != 0) return current;
  int n = glyph.width / glyph.height;
  return n > 4 ? 1 : n;
}

Rect GlyphSourceRect(Size glyphStrip, int numGlyphs, FaceState state) {
  if (numGlyphs < 1 || numGlyphs > 4) numGlyphs = 1;
  const int w = glyphStrip.width / numGlyphs, h = glyphStrip.height, right = glyphStrip.width;
  auto cell = [&](int k) { return Rect{k * w, 0, (k + 1) * w, h}; };
  auto toEnd = [&](int k) { return Rect{k * w, 0, right, h}; };
  switch (numGlyphs) {
    case 2: return state == FaceState::Disabled ? toEnd(1) : cell(0);
    case 3:
      if (state == FaceState::Disabled) return cell(1);
      if (state == FaceState::Up) return cell(0);
      return toEnd(2);
    case 4:
      if (state == FaceState::Disabled) return cell(1);
      if (state == FaceState::Pressed) return cell(2);
      if (state == FaceState::Latched) return toEnd(3);
      return cell(0);
    default: return Rect{0, 0, right, h};
  }
}

FaceFill FaceFillFor(TTransparentMode mode, bool hovered, FaceState state) {
  if (mode == TTransparentMode::tmAlways) return FaceFill::None;
  if (hovered) {
    switch (state) {
      case FaceState::Disabled: return FaceFill::Color;
      case FaceState::Pressed: return FaceFill::ColorDown;
      default: return FaceFill::ColorFocused;
    }
  }
  if (mode == TTransparentMode::tmNotFocused) return FaceFill::None;
  return (state == FaceState::Up || state == FaceState::Disabled) ? FaceFill::Color : FaceFill::ColorDown;
}

FrameColours FrameColoursFor(FaceState state, bool hovered) {
  switch (state) {
    case FaceState::Pressed:
    case FaceState::Latched: return {FrameColour::Shadow, FrameColour::HighLight};
    case FaceState::Up:
      if (hovered) return {FrameColour::HighLight, FrameColour::Shadow};
      return {FrameColour::Border, FrameColour::Border};
    default: return {FrameColour::Border, FrameColour::Border};
  }
}

int FittedSpeedButtonWidth(int captionTextWidth) { return captionTextWidth + kSpeedButtonCaptionPadding; }

void FitSpeedButtons(const std::vector<SpeedButtonFit>& buttons,
                     const std::function<int(const std::string&)>& textWidth) {
  for (const SpeedButtonFit& button : buttons)
    if (button.setWidth) button.setWidth(FittedSpeedButtonWidth(textWidth(button.caption)));
}

}  // namespace vh
