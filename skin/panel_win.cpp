#include "skin/panel_win.h"

#include "skin/skin_paint_win.h"

namespace vh {

namespace {

const char kPanelClass[] = "VhSkinPanel";

}  // namespace

TsuiCustomPanel::TsuiCustomPanel(TComponent* owner, TWinControl* parent, std::string name)
    : TWinControl(owner, parent, std::move(name)) {
  CreateHandle(nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, "",
               parent ? parent->Handle() : nullptr, Rect{0, 0, 185, 41}, kPanelClass);
}

TsuiImagePanel::TsuiImagePanel(TComponent* owner, TWinControl* parent, std::string name)
    : TsuiCustomPanel(owner, parent, std::move(name)) {
  SetColor(kColourBtnFace);
}

void TsuiCustomPanel::SetPicture(const Bitmap& picture) {
  picture_ = picture.Clone();
  AdjustSize();
  Repaint();
}

void TsuiCustomPanel::SetTransparent(bool v) {
  transparent_ = v;
  Repaint();
}

void TsuiCustomPanel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustSize();
}

void TsuiCustomPanel::SetDrawStyle(TsuiDrawStyle s) {
  drawStyle_ = s;
  Repaint();
}

void TsuiCustomPanel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Repaint();
}

void TsuiCustomPanel::AdjustSize() {
  if (!autoSize_ || picture_.Empty()) return;
  const Size s = ImagePanelAutoSize(Size{Width(), Height()}, picture_.GetSize(), kAlign);
  SetBounds(Left(), Top(), s.width, s.height);
}

void TsuiCustomPanel::BoundsChanged(const Rect& old) {
  TWinControl::BoundsChanged(old);
  Repaint();
}

void TsuiCustomPanel::FontChanged() {
  TWinControl::FontChanged();
  Repaint();
}

void TsuiCustomPanel::PaintBackground(Canvas& canvas, const Rect&) { PaintPanel(canvas.Handle()); }

void TsuiCustomPanel::PaintPanel(HDC target) {
  if (Width() <= 0 || Height() <= 0) return;
  SkinBuffer buffer(Width(), Height());
  PaintPanelFace(buffer.dc());
  buffer.CopyTo(target);
}

void TsuiCustomPanel::PaintPanelFace(HDC dc) {
  Canvas canvas(dc);
  if (transparent_) PaintParentBackground(dc, *this);
  const Rect client = ClientRect();
  const Rect whole{0, 0, picture_.Width(), picture_.Height()};
  if (!picture_.Empty()) {
    // A transparent panel's picture leaves out the colour of its top-left pixel.
    const Colour key = picture_.Pixel(0, 0);
    const auto draw = [&](const Rect& dest) {
      if (transparent_) StretchTransparentPart(dc, picture_, whole, dest, key);
      else canvas.StretchDraw(picture_, dest, whole);
    };
    switch (drawStyle_) {
      case TsuiDrawStyle::suiStretch:
        draw(client);
        break;
      case TsuiDrawStyle::suiTile:
        for (const Point& p : PanelTileOrigins(Size{Width(), Height()}, picture_.GetSize()))
          draw(whole.Offset(p.x, p.y));
        break;
      case TsuiDrawStyle::suiNormal:
        draw(whole);
        break;
    }
  } else if (!transparent_) {
    canvas.FillRect(client, Color());
  }
  const std::string text = PanelText();
  if (IsBlankText(text)) return;
  const unsigned flags = PanelCaptionFlags(static_cast<CaptionAlignment>(static_cast<int>(alignment_)));
  canvas.Text(text, client, flags, Font().colour, FontHandle());
}

}  // namespace vh
