#include "skin/custom_button_win.h"

#include "skin/button_layout.h"
#include "skin/button_win.h"
#include "skin/skin_paint_win.h"
#include "platform/text_win.h"
#include "ui/accel.h"
#include "ui/form_win.h"

namespace vh {

namespace {

const char kButtonClass[] = "VhSkinButton";

bool ModifierHeld() {
  return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

}  // namespace

TsuiCustomButton::TsuiCustomButton(TComponent* owner, TWinControl* parent, std::string name)
    : TSkinFocusControl(owner, parent, std::move(name)), theme_([this] {
        // The theme went away: no theme and DeepBlue, at once.
        SetUIStyle(TsuiUIStyle::DeepBlue);
      }) {
  CreateHandle(nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, "", parent ? parent->Handle() : nullptr,
               Rect{0, 0, 75, 25}, kButtonClass);
}

TsuiCustomButton::~TsuiCustomButton() = default;

// ---- properties ----------------------------------------------------------

void TsuiCustomButton::SetAutoSize(bool v) {
  autoSize_ = v;
  AutoSizeChanged();
  Repaint();
}

void TsuiCustomButton::SetTransparent(bool v) {
  transparent_ = v;
  TransparentChanged();
}

void TsuiCustomButton::TransparentChanged() {
  skinTransparent_ = transparent_;
  Repaint();
}

void TsuiCustomButton::SetUIStyle(TsuiUIStyle style) {
  uiStyle_ = style;
  UIStyleChanged();
  Repaint();
}

void TsuiCustomButton::SetDefault(bool v) {
  default_ = v;
  TForm* form = ParentForm();
  if (Handle() && form) form->NotifyFocusChanged(form->ActiveControl());
}

void TsuiCustomButton::AutoSizeChanged() {
  if (!autoSize_) return;
  const Size s = ButtonAutoSizeForStyle(uiStyle_);
  SetBounds(Left(), Top(), s.width, s.height);
}

void TsuiCustomButton::TextChanged() {
  TWinControl::TextChanged();
  CaptionChanged();
  Repaint();
}

// ---- skins ---------------------------------------------------------------

void TsuiCustomButton::LoadSkinFrame(Bitmap& skin, int frame) {
  const ResolvedUIStyle r = Resolved();
  if (r.useThemeFile) {
    theme_.get()->GetThemeBitmap(kThemeBitmapButton, skin, frame, kButtonFrames);
  } else {
    LoadBuiltinThemeBitmap(r.style, kEntryButton, &skin, frame, kButtonFrames);
  }
}

void TsuiCustomButton::LoadNormalSkin(Bitmap& skin) { LoadSkinFrame(skin, 1); }
void TsuiCustomButton::LoadMouseOnSkin(Bitmap& skin) { LoadSkinFrame(skin, 2); }
void TsuiCustomButton::LoadMouseDownSkin(Bitmap& skin) { LoadSkinFrame(skin, 3); }
void TsuiCustomButton::LoadDisabledSkin(Bitmap& skin) { LoadSkinFrame(skin, 1); }

void TsuiCustomButton::LoadStateSkin(Bitmap& skin) {
  try {
    if (!Enabled()) LoadDisabledSkin(skin);
    else if (Down()) LoadMouseDownSkin(skin);
    else if (Hot()) LoadMouseOnSkin(skin);
    else LoadNormalSkin(skin);
  } catch (...) {
    // Painting never fails visibly: no skin, only the background.
    skin = Bitmap();
  }
}

// ---- painting ------------------------------------------------------------

void TsuiCustomButton::PaintBackground(Canvas& canvas, const Rect&) { PaintButton(canvas.Handle()); }

void TsuiCustomButton::PaintButton(HDC target) {
  if (Width() <= 0 || Height() <= 0) return;
  SkinBuffer buffer(Width(), Height());
  Bitmap skin;
  LoadStateSkin(skin);
  if (transparent_) PaintParentBackground(buffer.dc(), *this);
  else buffer.canvas().FillRect(ClientRect(), Color());
  DrawSkin(buffer.dc(), skin);
  if (Focused()) DrawFocus(buffer.dc());
  if (!IsBlankText(Caption())) DrawCaption(buffer.dc(), Caption());
  buffer.CopyTo(target);
}

void TsuiCustomButton::DrawSkin(HDC dc, const Bitmap& skin) {
  if (skin.Empty()) return;
  const Bitmap greyed = Enabled() ? Bitmap() : GreyedCopy(skin, skin.Pixel(0, 0));
  const Bitmap& shown = Enabled() ? skin : greyed;
  const Rect whole{0, 0, skin.Width(), skin.Height()};
  if (skinTransparent_) {
    DrawTransparentPart(dc, shown, whole, 0, 0, skin.Pixel(0, 0));
  } else {
    Canvas(dc).Draw(shown, 0, 0);
  }
}

void TsuiCustomButton::DrawCaption(HDC dc, const std::string& text) {
  FontDef face = Font();
  face.bold = face.bold || boldCaption_;
  vh::FontHandle bold = boldCaption_ ? MakeFont(face) : vh::FontHandle();
  HFONT font = boldCaption_ ? bold.get() : FontHandle();
  SelectScope use(dc, font);
  for (const CaptionPass& pass : ButtonCaptionPasses(ClientRect(), Enabled(), Down())) {
    RECT measured = ToRECT(pass.rect);
    DrawTextUtf8(dc, text, &measured, kDtMeasureFlags);
    const Rect at = CentreMeasuredCaption(pass.rect, FromRECT(measured));
    Canvas(dc).Text(text, at, kDtCenter, pass.useFont ? Font().colour : pass.colour, font);
  }
  boldCaption_ = false;
}

void TsuiCustomButton::DrawFocus(HDC dc) { Canvas(dc).FocusRect(ButtonFocusRect(ClientSize(), kFocusedRectMargin)); }

// ---- input ---------------------------------------------------------------

ButtonContext TsuiCustomButton::Context() const {
  ButtonContext c;
  c.enabled = Enabled();
  c.visible = Visible();
  c.focused = Focused();
  c.canFocus = CanFocusNow();
  return c;
}

void TsuiCustomButton::CreateRepeatTimer() {
  retiredTimer_.reset();
  repeatTimer_ = std::make_unique<TTimer>(nullptr, "RepeatTimer");
  repeatTimer_->SetInterval(unsigned(ButtonRepeatInterval(repeatInterval_)));
  repeatTimer_->OnTimer = [this](TComponent&) {
    if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(*this);
  };
}

void TsuiCustomButton::DestroyRepeatTimer() {
  if (!repeatTimer_) return;
  repeatTimer_->SetEnabled(false);
  retiredTimer_ = std::move(repeatTimer_);
}

void TsuiCustomButton::Apply(const ButtonEffects& e) {
  if (e.destroyRepeatTimer) DestroyRepeatTimer();
  if (e.createRepeatTimer) CreateRepeatTimer();
  if (e.takeFocus && CanFocusNow()) SetFocus();
  if (e.repaint) Repaint();
  if (e.fireMouseEnter) TControl::MouseEnter();
  if (e.fireMouseExit) {
    if (OnMouseExit) OnMouseExit(*this);
    TControl::MouseLeave();
  }
  if (e.click) Click();
}

void TsuiCustomButton::MouseDown(TMouseButton button, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    StartPress();
    Apply(state_.LeftMouseDown(Context()));
  }
  TWinControl::MouseDown(button, x, y);
}

void TsuiCustomButton::MouseMove(int x, int y) {
  TWinControl::MouseMove(x, y);
  Apply(state_.MouseMove(x, y, Width(), Height()));
}


void TsuiCustomButton::Click() {
  Apply(state_.Click());
  if (Parent()) {
    if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
  }
  TWinControl::Click();
}

void TsuiCustomButton::MouseEnter() {
  ButtonContext c = Context();
  Apply(state_.PointerEnters(c));
}

void TsuiCustomButton::MouseLeave() { Apply(state_.PointerLeaves()); }

bool TsuiCustomButton::DialogChar(char c) {
  if (!Handle()) return false;
  HWND focus = GetFocus();
  const bool focusedIsSkin = focus && SendMessageA(focus, WM_ISSKINBUTTON, 0, 0) == 1;
  const bool parentEnabled = Parent() == nullptr || Parent()->Enabled();
  if (!ButtonAcceleratorClicks(IsAccelerator(c, Caption()), GetKeyState(VK_MENU) < 0, focusedIsSkin, parentEnabled,
                               Enabled(), Visible() && IsWindowVisible(Handle())))
    return false;
  Click();
  return true;
}

bool TsuiCustomButton::DialogKey(int vk) {
  if (!ButtonDialogKeyClicks(vk, activeDefault_, cancel_, ModifierHeld(), CanFocusNow())) return false;
  Click();
  return true;
}

void TsuiCustomButton::FocusChanged(TWinControl* focused) {
  const bool another = focused != this && dynamic_cast<TsuiButton*>(focused) != nullptr;
  activeDefault_ = ButtonActiveDefault(focused == this, another, default_);
  Repaint();
}

LRESULT TsuiCustomButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ISSKINBUTTON:
      return 1;
    case WM_LBUTTONDBLCLK:
      // No double clicks: the second press is a press.
      return TWinControl::WndProc(WM_LBUTTONDOWN, wp, lp);
    case WM_KEYDOWN:
      Apply(state_.KeyDown(int(wp), Context()));
      return 0;
    case WM_KEYUP:
      Apply(state_.KeyUp(int(wp), Context()));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT r = TWinControl::WndProc(msg, wp, lp);
      Repaint();
      return r;
    }
    case WM_CANCELMODE: {
      const LRESULT r = TWinControl::WndProc(msg, wp, lp);
      CancelPress();
      Apply(state_.CancelMode());
      return r;
    }
    case WM_SETTEXT: {
      const LRESULT r = TWinControl::WndProc(msg, wp, lp);
      // A Unicode window: the text comes as UTF-16, whoever set it.
      const auto* text = reinterpret_cast<const wchar_t*>(lp);
      if (text && Caption() != WideToUtf8(text)) SetCaption(WideToUtf8(text));
      return r;
    }
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

}  // namespace vh
