#include "skin/button_layout.h"

namespace vh {

int ButtonSkinFrame(bool enabled, bool down, bool hot) {
  if (!enabled) return 1;
  if (down) return 3;
  if (hot) return 2;
  return 1;
}

Size ButtonAutoSize(std::optional<Size> strip) {
  Size s = (strip && strip->width > 0 && strip->height > 0) ? *strip : kEmptyButtonSkinSize;
  return Size{s.width / kButtonFrames, s.height};
}

Size ButtonAutoSizeForStyle(TsuiUIStyle style) {
  return ButtonAutoSize(BuiltinBitmapSize(BuiltinThemeBitmapName(style, kEntryButton)));
}

Rect ButtonFocusRect(Size client, int margin) {
  return Rect{margin, margin, client.width - margin, client.height - margin};
}

bool ButtonFocusIsBoldCaption(TsuiUIStyle style) {
  return style == TsuiUIStyle::MacOS || style == TsuiUIStyle::BlueGlass;
}

int ButtonRepeatInterval(int mouseContinuouslyDownInterval) {
  return mouseContinuouslyDownInterval < 0 ? 0 : mouseContinuouslyDownInterval;
}

ButtonGlyphPlacement ButtonGlyphLayout(TButtonLayout layout, Size control, Size glyph, Size text, int spacing,
                                       bool down) {
  ButtonGlyphPlacement out;
  int gw = glyph.width;
  const int gh = glyph.height;
  out.glyphImages = 1;
  if (gh > 0 && gw == 2 * gh) {
    gw = gh;
    out.glyphImages = 2;
  }
  out.glyphSize = Size{gw, gh};
  const int W = control.width, H = control.height, tw = text.width, th = text.height, s = spacing;
  int gx = 0, gy = 0, cx = 0, cy = 0;
  switch (layout) {
    case TButtonLayout::blGlyphLeft:
      gx = (W - gw - tw - s) / 2;
      gy = (H - gh) / 2;
      cx = gx + gw + s;
      cy = (H - th) / 2;
      break;
    case TButtonLayout::blGlyphRight:
      gx = (W + tw + s - gw) / 2;
      gy = (H - gh) / 2;
      cx = gx - tw - s;
      cy = (H - th) / 2;
      break;
    case TButtonLayout::blGlyphTop:
      gx = (W - gw) / 2;
      gy = (H - th - gh - s) / 2;
      cx = (W - tw) / 2;
      cy = gy + gh + s;
      break;
    case TButtonLayout::blGlyphBottom:
      gx = (W - gw) / 2;
      gy = (H + th + s - gh) / 2;
      cx = (W - tw) / 2;
      cy = gy - th - s;
      break;
  }
  if (down) {
    ++gx;
    ++gy;
  }
  out.glyph = Point{gx, gy};
  out.caption = Point{cx, cy};
  return out;
}

std::vector<CaptionPass> ButtonCaptionPasses(Rect client, bool enabled, bool down) {
  if (!enabled) {
    return {CaptionPass{client.Offset(1, 1), false, kClWhite}, CaptionPass{client, false, kClGray}};
  }
  if (down) return {CaptionPass{client.Offset(1, 1), true, kClBlack}};
  return {CaptionPass{client, true, kClBlack}};
}

Rect CentreMeasuredCaption(Rect textRect, Rect measured) {
  const int dx = (textRect.Width() - measured.Width()) / 2;
  const int dy = (textRect.Height() - measured.Height()) / 2;
  return measured.Offset(dx, dy);
}

std::vector<CaptionPass> ButtonGlyphCaptionPasses(Point caption, Size control, bool enabled, bool down) {
  const auto at = [&](int x, int y) { return Rect{x, y, control.width, control.height}; };
  if (!enabled) {
    return {CaptionPass{at(caption.x + 1, caption.y + 1), false, kClWhite},
            CaptionPass{at(caption.x, caption.y), false, kClGray}};
  }
  if (down) return {CaptionPass{at(caption.x + 1, caption.y + 1), true, kClBlack}};
  return {CaptionPass{at(caption.x, caption.y), true, kClBlack}};
}

}  // namespace vh
