#include "skin/progress_bar_win.h"

#include "skin/panel_layout.h"
#include "skin/progress_layout.h"
#include "skin/skin_paint_win.h"
#include "theme/theme_keys.h"

namespace vh {

namespace {

const char kBarClass[] = "VhSkinProgressBar";
constexpr int kThemeBandHeight = 2;

}  // namespace

Bitmap RotateQuarterLeft(const Bitmap& source) {
  const int w = source.Width(), h = source.Height();
  std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] = std::uint32_t(source.Pixel(x, y));
  const std::vector<std::uint32_t> turned = vh::RotateQuarterLeft(pixels, w, h);
  return turned.empty() ? Bitmap() : Bitmap::FromPixels(h, w, turned);
}

void DrawThreeBandStrip(const Bitmap& bitmap, HDC dc, const Rect& dest, int band, bool vertical) {
  if (bitmap.Empty()) return;
  for (const BandCopy& c : ThreeBandStripPlan(bitmap.GetSize(), dest, band, vertical))
    Canvas(dc).StretchDraw(bitmap, c.dest, c.source);
}

TsuiProgressBar::TsuiProgressBar(TComponent* owner, TWinControl* parent, std::string name)
    : TWinControl(owner, parent, std::move(name)), theme_([this] { SetUIStyle(TsuiUIStyle::DeepBlue); }) {
  CreateHandle(nullptr, WS_CHILD | WS_VISIBLE, 0, "", parent ? parent->Handle() : nullptr, Rect{0, 0, 150, 12},
               kBarClass);
  PositionChanged();
  SetUIStyle(OwnerFormUIStyle(owner));
}

// ---- properties ----------------------------------------------------------

void TsuiProgressBar::SetUIStyle(TsuiUIStyle style) {
  uiStyle_ = style;
  UIStyleChanged();
}

void TsuiProgressBar::SetFileTheme(TsuiFileTheme* theme) {
  theme_.Set(theme);
  SetUIStyle(uiStyle_);
}

void TsuiProgressBar::SetOrientation(TsuiProgressBarOrientation o) {
  orientation_ = o;
  UIStyleChanged();
}

void TsuiProgressBar::SetMax(int v) {
  max_ = v;
  PositionChanged();
}

void TsuiProgressBar::SetPosition(int v) {
  position_ = v;
  PositionChanged();
}

void TsuiProgressBar::PositionChanged() {
  SetCaption(ProgressCaption(kMin, max_, position_));
  Repaint();
}

void TsuiProgressBar::SetPicture(const Bitmap& picture) {
  picture_ = picture.Clone();
  Repaint();
}

void TsuiProgressBar::SetColor(Colour c) {
  TControl::SetColor(c);
  Repaint();
}

void TsuiProgressBar::SetBorderColor(Colour c) {
  borderColor_ = c;
  Repaint();
}

void TsuiProgressBar::SetCaptionColor(Colour c) {
  captionColor_ = c;
  Repaint();
}

void TsuiProgressBar::SetShowCaption(bool v) {
  showCaption_ = v;
  Repaint();
}

void TsuiProgressBar::SetSmartShowCaption(bool v) {
  smartShowCaption_ = v;
  Repaint();
}

void TsuiProgressBar::UIStyleChanged() {
  const ResolvedUIStyle r = ResolveUIStyle(theme_.Ready(), uiStyle_);
  const bool vertical = orientation_ == TsuiProgressBarOrientation::suiVertical;
  if (r.useThemeFile) {
    const TsuiFileTheme& theme = *theme_.get();
    picture_ = theme.GetThemeBitmap(kThemeBitmapProgressBar1 + 1).Clone();
    TControl::SetColor(theme.GetThemeColor(kThemeColourControl));
    borderColor_ = theme.GetThemeColor(kThemeColourControlBorder);
    leftEnd_ = theme.GetThemeBitmap(kThemeBitmapProgressBar1).Clone();
    themeBackground_ = theme.GetThemeBitmap(kThemeBitmapProgressBar1 + 2).Clone();
    rightEnd_ = theme.GetThemeBitmap(kThemeBitmapProgressBar1 + 3).Clone();
    if (vertical) {
      leftEnd_ = RotateQuarterLeft(leftEnd_);
      themeBackground_ = RotateQuarterLeft(themeBackground_);
      rightEnd_ = RotateQuarterLeft(rightEnd_);
    }
  } else {
    LoadBuiltinThemeBitmap(r.style, kEntryProgressBar, &picture_, 0, 0);
    TControl::SetColor(BuiltinThemeColor(r.style, kEntryProgressBackground));
    borderColor_ = BuiltinThemeColor(r.style, kEntryBorderColour);
    leftEnd_ = Bitmap();
    themeBackground_ = Bitmap();
    rightEnd_ = Bitmap();
  }
  if (vertical) picture_ = RotateQuarterLeft(picture_);
  Repaint();
}

// ---- painting ------------------------------------------------------------

bool TsuiProgressBar::HasThemeEnds() const {
  return theme_.Ready() && !leftEnd_.Empty() && !themeBackground_.Empty() && !rightEnd_.Empty();
}

void TsuiProgressBar::PaintBackground(Canvas& canvas, const Rect&) { PaintBar(canvas.Handle()); }

void TsuiProgressBar::PaintBar(HDC target) {
  if (Width() <= 0 || Height() <= 0) return;
  SkinBuffer buffer(Width(), Height());
  const bool themed = HasThemeEnds() && orientation_ == TsuiProgressBarOrientation::suiHorizontal;
  if (themed) PaintHorizontalTheme(buffer.dc());
  else if (orientation_ == TsuiProgressBarOrientation::suiVertical) PaintVertical(buffer.dc());
  else PaintHorizontal(buffer.dc());
  // A vertical bar is too narrow for the caption, which would be cut.
  if (orientation_ == TsuiProgressBarOrientation::suiHorizontal) PaintCaption(buffer.dc());
  if (!themed) buffer.canvas().FrameRect(ClientRect(), borderColor_);
  buffer.CopyTo(target);
}

void TsuiProgressBar::PaintHorizontal(HDC dc) {
  const ProgressBuiltinLayout at = ProgressHorizontalLayout(Size{Width(), Height()}, kMin, max_, position_);
  Canvas canvas(dc);
  if (!picture_.Empty() && !at.fill.IsEmpty())
    canvas.StretchDraw(picture_, at.fill, Rect{0, 0, picture_.Width(), picture_.Height()});
  canvas.FillRect(at.background, Color());
}

void TsuiProgressBar::PaintHorizontalTheme(HDC dc) {
  Canvas(dc).FillRect(ClientRect(), Color());
  const ProgressThemeLayout at = ProgressHorizontalThemeLayout(Size{Width(), Height()}, leftEnd_.Width(),
                                                               rightEnd_.Width(), kMin, max_, position_);
  DrawThreeBandStrip(leftEnd_, dc, at.leftEnd, kThemeBandHeight, false);
  DrawThreeBandStrip(picture_, dc, at.fill, kThemeBandHeight, false);
  DrawThreeBandStrip(themeBackground_, dc, at.background, kThemeBandHeight, false);
  DrawThreeBandStrip(rightEnd_, dc, at.rightEnd, kThemeBandHeight, false);
}

// Fills from the bottom up with the turned picture.
void TsuiProgressBar::PaintVertical(HDC dc) {
  const int w = Width(), h = Height();
  int done = FillLength(kMin, max_, position_, h - 1);
  if (done == 0) done = 1;
  const int top = h - done;
  Canvas canvas(dc);
  const Rect fill{1, top, w - 1, h - 1};
  if (!picture_.Empty() && !fill.IsEmpty())
    canvas.StretchDraw(picture_, fill, Rect{0, 0, picture_.Width(), picture_.Height()});
  canvas.FillRect(Rect{1, 1, w - 1, top}, Color());
}

void TsuiProgressBar::PaintCaption(HDC dc) {
  if (!ProgressShowsCaption(showCaption_, smartShowCaption_, kMin, position_)) return;
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const Size text = TextExtent(dc, font, Caption());
  const Point at = ProgressCaptionOrigin(Size{Width(), Height()}, text);
  Canvas(dc).Text(Caption(), Rect{at.x, at.y, at.x + text.width, at.y + text.height},
                  DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP, captionColor_, font);
}

}  // namespace vh
