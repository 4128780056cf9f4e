#include "skin/button_win.h"

#include "skin/panel_layout.h"
#include "skin/skin_paint_win.h"
#include "theme/theme_keys.h"

namespace vh {

TsuiButton::TsuiButton(TComponent* owner, TWinControl* parent, std::string name)
    : TsuiCustomButton(owner, parent, std::move(name)) {
  SetBounds(0, 0, 80, 27);
  SetUIStyle(OwnerFormUIStyle(owner));
}

void TsuiButton::SetFileTheme(TsuiFileTheme* theme) {
  Theme().Set(theme);
  SetUIStyle(UIStyle());
}

void TsuiButton::SetGlyph(const Bitmap& glyph) {
  glyph_ = glyph.Clone();
  Repaint();
}

void TsuiButton::SetLayout(TButtonLayout layout) {
  layout_ = layout;
  Repaint();
}

void TsuiButton::SetSpacing(int spacing) {
  spacing_ = spacing;
  Repaint();
}

void TsuiButton::UIStyleChanged() {
  const ResolvedUIStyle r = Resolved();
  FontDef font = Font();
  if (r.useThemeFile) {
    SetTransparent(Theme().get()->GetThemeBool(kThemeBooleanButtonTrans));
    font.colour = Theme().get()->GetThemeColor(kThemeColourButtonFont);
  } else {
    SetTransparent(BuiltinThemeBool(r.style, kEntryButtonTransparent));
    font.colour = kClBlack;
  }
  if (font != Font()) SetFont(font);
}

void TsuiButton::DrawSkin(HDC dc, const Bitmap& skin) {
  DrawNinePartSkin(skin, dc, ClientRect(), SkinTransparent());
  if (glyph_.Empty()) return;
  const Size text = TextExtent(dc, FontHandle(), Caption());
  const ButtonGlyphPlacement at =
      ButtonGlyphLayout(layout_, ClientSize(), glyph_.GetSize(), text, spacing_, Down());
  captionX_ = at.caption.x;
  captionY_ = at.caption.y;
  DrawGlyph(dc, at);
}

void TsuiButton::DrawGlyph(HDC dc, const ButtonGlyphPlacement& at) {
  const Colour key = glyph_.Pixel(0, 0);
  const int gw = at.glyphSize.width, gh = at.glyphSize.height;
  if (at.glyphImages == 2) {
    const Rect image = Enabled() ? Rect{0, 0, gw, gh} : Rect{gw, 0, 2 * gw, gh};
    DrawTransparentPart(dc, glyph_, image, at.glyph.x, at.glyph.y, key);
    return;
  }
  const Rect whole{0, 0, glyph_.Width(), glyph_.Height()};
  if (Enabled()) {
    DrawTransparentPart(dc, glyph_, whole, at.glyph.x, at.glyph.y, key);
  } else {
    DrawTransparentPart(dc, GreyedCopy(glyph_, key), whole, at.glyph.x, at.glyph.y, key);
  }
}

void TsuiButton::DrawCaption(HDC dc, const std::string& text) {
  if (glyph_.Empty()) {
    TsuiCustomButton::DrawCaption(dc, text);
    return;
  }
  for (const CaptionPass& pass : ButtonGlyphCaptionPasses(Point{captionX_, captionY_}, ClientSize(), Enabled(), Down()))
    Canvas(dc).Text(text, pass.rect, kDtSingleLine, pass.useFont ? Font().colour : pass.colour, FontHandle());
}

void TsuiButton::DrawFocus(HDC dc) {
  if (ButtonFocusIsBoldCaption(UIStyle())) boldCaption_ = true;
  else TsuiCustomButton::DrawFocus(dc);
}

}  // namespace vh
