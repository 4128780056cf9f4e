#include "skin/group_box_win.h"

#include "skin/skin_paint_win.h"

namespace vh {

TsuiCustomGroupBox::TsuiCustomGroupBox(TComponent* owner, TWinControl* parent, std::string name)
    : TsuiCustomPanel(owner, parent, std::move(name)) {}

TsuiGroupBox::TsuiGroupBox(TComponent* owner, TWinControl* parent, std::string name)
    : TsuiCustomGroupBox(owner, parent, std::move(name)), theme_([this] {
        // The theme went away: the children and the box fall back to DeepBlue.
        ApplyStyleToChildren(*this, TsuiUIStyle::DeepBlue, nullptr);
        SetUIStyle(TsuiUIStyle::DeepBlue);
      }) {
  SetBounds(0, 0, 185, 105);
  if (Handle()) SetWindowTextA(Handle(), " ");
  SetParentColor(true);
  SetUIStyle(OwnerFormUIStyle(owner));
}

void TsuiGroupBox::SetUIStyle(TsuiUIStyle style) {
  uiStyle_ = style;
  UIStyleChanged(uiStyle_, theme_.get());
}

void TsuiGroupBox::SetFileTheme(TsuiFileTheme* theme) {
  theme_.Set(theme);
  SetUIStyle(uiStyle_);
}

void TsuiGroupBox::SetBorderColor(Colour c) {
  borderColor_ = c;
  Repaint();
}

void TsuiGroupBox::UIStyleChanged(TsuiUIStyle style, TsuiFileTheme* theme) {
  ApplyStyleToChildren(*this, style, theme);
  const ResolvedUIStyle r = ResolveUIStyle(theme_.Ready(), uiStyle_);
  FontDef font = Font();
  if (r.useThemeFile) {
    borderColor_ = theme_.get()->GetThemeColor(kThemeColourControlBorder);
    font.colour = theme_.get()->GetThemeColor(kThemeColourControlFont);
  } else {
    const GroupBoxColours colours = GroupBoxBuiltinColours(r.style);
    borderColor_ = colours.border;
    font.colour = colours.font;
  }
  if (font != Font()) SetFont(font);
  Repaint();
}

// The caption is the box's own: the window text stays " ".
void TsuiGroupBox::TextChanged() { Repaint(); }

Rect TsuiGroupBox::ChildArea() const { return GroupBoxChildArea(ClientRect(), Font().height); }

void TsuiGroupBox::PaintBackground(Canvas& canvas, const Rect&) { PaintGroupBox(canvas.Handle()); }

void TsuiGroupBox::PaintGroupBox(HDC target) {
  if (Width() <= 0 || Height() <= 0) return;
  SkinBuffer buffer(Width(), Height());
  Canvas canvas = buffer.canvas();
  if (Transparent()) PaintPanelFace(buffer.dc());
  else canvas.FillRect(ClientRect(), Color());
  HFONT font = FontHandle();
  const int captionWidth = TextExtent(buffer.dc(), font, Caption()).width;
  canvas.Polyline(GroupBoxFrameLine(ClientRect(), Font().height, captionWidth, Caption().empty(), false),
                  borderColor_);
  if (!Caption().empty()) {
    const Point at = GroupBoxCaptionOrigin(Width(), captionWidth, false);
    const Colour colour = Enabled() ? Font().colour : kClGray;
    canvas.Text(Caption(), Rect{at.x, at.y, Width(), Height()}, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP, colour, font);
  }
  buffer.CopyTo(target);
}

}  // namespace vh
