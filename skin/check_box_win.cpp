#include "skin/check_box_win.h"

#include "skin/button_state.h"
#include "skin/skin_paint_win.h"
#include "theme/theme_keys.h"
#include "ui/accel.h"

namespace vh {

namespace {

const char kCheckBoxClass[] = "VhSkinCheckBox";

}  // namespace

TsuiCheckBox::TsuiCheckBox(TComponent* owner, TWinControl* parent, std::string name)
    : TSkinFocusControl(owner, parent, std::move(name)), theme_([this] { SetUIStyle(TsuiUIStyle::DeepBlue); }) {
  CreateHandle(nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, "", parent ? parent->Handle() : nullptr,
               Rect{0, 0, 93, 17}, kCheckBoxClass);
  SetUIStyle(OwnerFormUIStyle(owner));
}

// ---- properties ----------------------------------------------------------

void TsuiCheckBox::SetUIStyle(TsuiUIStyle style) {
  uiStyle_ = style;
  Repaint();
}

void TsuiCheckBox::SetFileTheme(TsuiFileTheme* theme) {
  theme_.Set(theme);
  SetUIStyle(uiStyle_);
}

void TsuiCheckBox::Apply(const CheckedChange& change) {
  if (!change.changed) return;
  Repaint();
  CheckedChanged();
}

void TsuiCheckBox::SetChecked(bool v) { Apply(model_.SetChecked(v, loading_)); }

void TsuiCheckBox::SetState(TCheckBoxState state) { Apply(model_.SetState(state, loading_)); }

void TsuiCheckBox::CheckedChanged() {
  if (!loading_ && OnClick) OnClick(*this);
}

void TsuiCheckBox::Toggle() {
  BeforeToggle();
  SetChecked(!Checked());
}

void TsuiCheckBox::SetAutoSize(bool v) {
  autoSize_ = v;
  Repaint();
}

void TsuiCheckBox::SetTransparent(bool v) {
  transparent_ = v;
  Repaint();
}

bool TsuiCheckBox::WantsFocusRect() const { return Focused(); }

int TsuiCheckBox::ThemeGlyphKey() const { return kThemeBitmapCheckBox; }

// ---- painting ------------------------------------------------------------

void TsuiCheckBox::LoadGlyph(Bitmap& glyph) const {
  const ResolvedUIStyle r = ResolveUIStyle(theme_.Ready(), uiStyle_);
  const CheckBoxGlyphFrame frame = CheckBoxGlyphFrameFor(r.useThemeFile, BuiltinGlyphEntry(), Checked(), Enabled());
  if (frame.fromTheme) {
    theme_.get()->GetThemeBitmap(ThemeGlyphKey(), glyph, frame.index, frame.count);
  } else {
    const TsuiUIStyle style = r.useThemeFile ? TsuiUIStyle::DeepBlue : r.style;
    LoadBuiltinThemeBitmap(style, BuiltinGlyphEntry(), &glyph, frame.index, frame.count);
  }
}

void TsuiCheckBox::PaintBackground(Canvas& canvas, const Rect&) { PaintBox(canvas.Handle()); }

void TsuiCheckBox::PaintBox(HDC target) {
  Bitmap glyph;
  LoadGlyph(glyph);
  HFONT font = FontHandle();
  const int textHeightW = TextExtent(target, font, "W").height;
  if (autoSize_) {
    const Size s = CheckBoxAutoSize(glyph.GetSize(), textHeightW, TextExtent(target, font, Caption()).width);
    if (s.width != Width() || s.height != Height()) SetBounds(Left(), Top(), s.width, s.height);
  }
  if (Width() <= 0 || Height() <= 0) return;
  SkinBuffer buffer(Width(), Height());
  Canvas canvas = buffer.canvas();
  if (transparent_) PaintParentBackground(buffer.dc(), *this);
  else canvas.FillRect(ClientRect(), Color());
  const CheckBoxPaintLayout at = CheckBoxLayout(Size{Width(), Height()}, glyph.GetSize(), textHeightW, false);
  if (GlyphTransparent()) {
    DrawTransparentPart(buffer.dc(), glyph, Rect{0, 0, glyph.Width(), glyph.Height()}, at.glyph.x, at.glyph.y,
                        glyph.Pixel(0, 0));
  } else {
    canvas.Draw(glyph, at.glyph.x, at.glyph.y);
  }
  canvas.Text(Caption(), at.caption, at.captionFlags, Font().colour, font);
  if (WantsFocusRect()) canvas.FocusRect(at.focus);
  buffer.CopyTo(target);
}

// ---- input ---------------------------------------------------------------

void TsuiCheckBox::MouseDown(TMouseButton button, int x, int y) {
  TWinControl::MouseDown(button, x, y);
  if (button != TMouseButton::mbLeft) return;
  StartPress();
  if (CanFocusNow()) SetFocus();
}

// OnClick is the box's own event and fires from CheckedChanged, so the
// standard click adds nothing here.
void TsuiCheckBox::Click() { Toggle(); }

bool TsuiCheckBox::DialogChar(char c) {
  const bool parentEnabled = Parent() == nullptr || Parent()->Enabled();
  if (!CheckBoxAcceleratorClicks(IsAccelerator(c, Caption()), Enabled(), Visible(), parentEnabled)) return false;
  if (CanFocusNow()) SetFocus();
  Click();
  return true;
}

LRESULT TsuiCheckBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDBLCLK:
      return TWinControl::WndProc(WM_LBUTTONDOWN, wp, lp);
    case WM_KEYUP:
      if (CheckBoxKeyUpClicks(int(wp), KeyTogglesState(), Focused(), Enabled())) {
        Repaint();
        Click();
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT r = TWinControl::WndProc(msg, wp, lp);
      Repaint();
      return r;
    }
    case WM_CANCELMODE:
      CancelPress();
      break;
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace vh
