#include "flat/flat_speed_button_win.h"

#include "flat/flat_draw_win.h"
#include "ui/accel.h"
#include "ui/form_win.h"
#include "ui/picture_win.h"

namespace vh {
namespace {

TTimer* gHoverTimer = nullptr;
TFlatSpeedButton* gHoverOwner = nullptr;
int gInstanceCount = 0;

Colour Plain(Colour c) { return Colour(ResolveColour(c)); }

}  // namespace

TFlatSpeedButton* TFlatSpeedButton::HoverOwner() { return gHoverOwner; }
TTimer* TFlatSpeedButton::HoverTimer() { return gHoverTimer; }
int TFlatSpeedButton::InstanceCount() { return gInstanceCount; }

TFlatSpeedButton::TFlatSpeedButton(TComponent* owner, TWinControl* parent, std::string name)
    : TGraphicControl(owner, parent, std::move(name)),
      colors_{MakeColour(235, 234, 225), MakeColour(217, 214, 197), MakeColour(160, 150, 131), MakeColour(255, 255, 255),
              MakeColour(0, 0, 0)} {
  // Clicks come from the release handling only; the parent captures the
  // mouse while a button is held and passes double clicks on.
  captureMouse = true;
  doubleClicks = true;
  clickEvents = false;
  tabStop = true;
  TControl::SetBounds(0, 0, 25, 25);
  if (gInstanceCount++ == 0) {
    gHoverTimer = new TTimer(nullptr, "HoverTimer");
    gHoverTimer->SetEnabled(false);
    gHoverTimer->SetInterval(100);
  }
}

TFlatSpeedButton::~TFlatSpeedButton() {
  if (gHoverOwner == this) ReleaseHoverTimer();
  if (--gInstanceCount == 0) {
    delete gHoverTimer;
    gHoverTimer = nullptr;
  }
}

// ---- setters -------------------------------------------------------------

void TFlatSpeedButton::SetColor(int index, Colour c) {
  if (index < 0 || index > 4) return;
  colors_[index] = c;
  Invalidate();
}

void TFlatSpeedButton::SetUseAdvColors(bool v) {
  if (v == useAdvColors_) return;
  useAdvColors_ = v;
  if (v) AdoptParentColor();
  else TControl::SetParentColor(false);
  CalcAdvColors();
  Invalidate();
}

void TFlatSpeedButton::CalcAdvColors() {
  if (!useAdvColors_) return;
  Colour parent = Plain(Color());
  colors_[0] = ShadeFromParent(parent, colors_[0], kAdv[0], ShadeDirection::Lighter);
  colors_[1] = ShadeFromParent(parent, colors_[1], kAdv[1], ShadeDirection::Darker);
  colors_[2] = ShadeFromParent(parent, colors_[2], kAdv[2], ShadeDirection::Darker);
}

void TFlatSpeedButton::SetTransparentMode(TTransparentMode m) {
  mode_ = m;
  Invalidate();
}

void TFlatSpeedButton::SetGlyph(const Bitmap& glyph) {
  if (&glyph == &glyph_) return;
  glyph_ = glyph.Clone();
  if (!glyph_.Empty()) numGlyphs_ = NumGlyphsForGlyph(glyph_.GetSize(), numGlyphs_);
  Invalidate();
}

void TFlatSpeedButton::SetLayout(TButtonLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Invalidate();
}

void TFlatSpeedButton::SetSpacing(int s) {
  if (s == spacing_) return;
  spacing_ = s;
  Invalidate();
}

void TFlatSpeedButton::SetDown(bool v) {
  DownOutcome out = state_.SetDown(v);
  if (!out.changed) return;
  if (out.repaint) {
    if (state_.down) Invalidate();
    else Repaint();
  }
  if (out.announce) AnnounceDown();
}

void TFlatSpeedButton::SetGroupIndex(int g) {
  if (g == state_.groupIndex) return;
  state_.groupIndex = g;
  AnnounceDown();
}

void TFlatSpeedButton::SetAllowAllUp(bool v) {
  if (v == state_.allowAllUp) return;
  state_.allowAllUp = v;
  AnnounceDown();
}

void TFlatSpeedButton::AnnounceDown() {
  if (state_.groupIndex == 0 || !Parent()) return;
  std::vector<TControl*> siblings = Parent()->Controls();
  for (TControl* c : siblings) c->GroupButtonDown(state_.groupIndex, *this);
}

void TFlatSpeedButton::GroupButtonDown(int groupIndex, TControl& sender) {
  if (groupIndex != state_.groupIndex || &sender == this) return;
  auto* other = dynamic_cast<TFlatSpeedButton*>(&sender);
  if (!other) return;
  if (state_.OtherWentDown(other->Down(), other->AllowAllUp())) Repaint();
}

// ---- painting ------------------------------------------------------------

void TFlatSpeedButton::Paint(Canvas& canvas) {
  Sync();
  Point offset = state_.ContentOffset();  // taken before the state correction
  Size text = Caption().empty() ? Size{} : canvas.MeasureLine(Caption(), FontHandle());
  GlyphAndCaption placed = PlaceGlyphAndCaption(ClientRect(), offset, text, layout_, kMargin, spacing_,
                                                glyph_.Empty() ? Size{} : glyph_.GetSize(), numGlyphs_);
  glyphOrigin_ = placed.GlyphOrigin;
  captionRect_ = placed.CaptionRect;
  state_.CorrectForPaint();

  switch (FaceFillFor(mode_, state_.hovered, state_.faceState)) {
    case FaceFill::Color: canvas.FillRect(ClientRect(), Color()); break;
    case FaceFill::ColorFocused: canvas.FillRect(ClientRect(), ColorFocused()); break;
    case FaceFill::ColorDown: canvas.FillRect(ClientRect(), ColorDown()); break;
    case FaceFill::None: break;
  }
  FrameColours frame = FrameColoursFor(state_.faceState, state_.hovered);
  auto pick = [this](FrameColour f) {
    return f == FrameColour::HighLight ? ColorHighLight() : f == FrameColour::Shadow ? ColorShadow() : ColorBorder();
  };
  DrawBevelFrame(canvas, ClientRect(), pick(frame.topLeft), pick(frame.bottomRight), 1);
  PaintGlyph(canvas);
  PaintCaption(canvas);
}

void TFlatSpeedButton::PaintGlyph(Canvas& canvas) {
  if (glyph_.Empty()) return;
  const int w = glyph_.Width() / numGlyphs_, h = glyph_.Height();
  if (w <= 0) return;
  Bitmap cell(w, h);
  {
    MemoryDC dc(cell.Handle());
    Canvas cellCanvas(dc.get());
    cellCanvas.StretchDraw(glyph_, Rect{0, 0, w, h}, GlyphSourceRect(glyph_.GetSize(), numGlyphs_, state_.faceState));
  }
  Colour transparent = glyph_.Pixel(0, glyph_.Height() - 1);
  if (numGlyphs_ == 1 && state_.faceState == FaceState::Disabled) {
    cell = MakeDisabledGlyph(cell, 0, kColourBtnFace, SystemColour(kIndexBtnHighlight), SystemColour(kIndexBtnShadow),
                             true);
    transparent = cell.Pixel(0, cell.Height() - 1);
  }
  canvas.DrawMasked(cell, glyphOrigin_.x, glyphOrigin_.y, transparent);
}

void TFlatSpeedButton::PaintCaption(Canvas& canvas) {
  if (Caption().empty()) return;
  // Accelerators are underlined only while the window's keyboard cues say
  // so. The mark is taken out rather than hidden by DT_HIDEPREFIX, which
  // Wine ignores.
  TForm* form = ParentForm();
  const bool hidden = form && !form->AcceleratorCuesShown();
  const std::string text = hidden ? StripAccelerator(Caption()) : Caption();
  const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | (hidden ? DT_NOPREFIX : 0);
  if (state_.faceState == FaceState::Disabled) {
    canvas.Text(text, captionRect_.Offset(1, 1), flags, SystemColour(kIndexBtnHighlight), FontHandle());
    canvas.Text(text, captionRect_, flags, SystemColour(kIndexBtnShadow), FontHandle());
  } else {
    canvas.Text(text, captionRect_, flags, Font().colour, FontHandle());
  }
}

// ---- mouse ---------------------------------------------------------------

void TFlatSpeedButton::MouseDown(TMouseButton button, int x, int y) {
  TControl::MouseDown(button, x, y);
  Sync();
  if (state_.Press(button == TMouseButton::mbLeft)) Repaint();
}

void TFlatSpeedButton::MouseMove(int x, int y) {
  TControl::MouseMove(x, y);
  Sync();
  if (state_.tracking && state_.TrackMove(InsideForTracking(Point{x, y}, Size{Width(), Height()}))) Repaint();
  if (gHoverOwner == this || TWinControl::FindControlAt(ClientToScreen(Point{x, y})) != this) return;
  if (gHoverOwner) gHoverOwner->HoverLeave();
  // A program without an active window shows no hover.
  if (!GetActiveWindow()) return;
  gHoverTimer->SetEnabled(false);
  gHoverOwner = this;
  gHoverTimer->OnTimer = [this](TObject&) { HoverTick(); };
  gHoverTimer->SetEnabled(true);
  HoverEnter();
}

void TFlatSpeedButton::MouseUp(TMouseButton button, int x, int y) {
  TControl::MouseUp(button, x, y);
  Sync();
  ReleaseOutcome out = state_.Release(InsideForTracking(Point{x, y}, Size{Width(), Height()}));
  if (out.announce) AnnounceDown();
  if (out.repaint) Repaint();
  if (out.click) Click();
  else if (out.hoverLeave) HoverLeave();
  if (out.updateHover) UpdateHover();
}

void TFlatSpeedButton::Click() {
  if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
  TControl::Click();
}

bool TFlatSpeedButton::KeyboardHold(bool held) {
  Sync();
  if (state_.KeyHold(held)) Repaint();
  return true;
}

// The second press of a double click is a press; only a latched button
// reports the double click itself.
void TFlatSpeedButton::DblClickPress(int x, int y) {
  TControl::DblClickPress(x, y);
  if (state_.down && OnDblClick) OnDblClick(*this);
}

// ---- hover ---------------------------------------------------------------

void TFlatSpeedButton::HoverEnter() {
  Sync();
  if (state_.HoverEnter()) Repaint();
}

void TFlatSpeedButton::HoverLeave() {
  Sync();
  if (!state_.HoverLeave()) return;
  ReleaseHoverTimer();
  Repaint();
}

void TFlatSpeedButton::ReleaseHoverTimer() {
  if (gHoverOwner != this) return;
  gHoverTimer->SetEnabled(false);
  gHoverTimer->OnTimer = nullptr;
  gHoverOwner = nullptr;
}

bool TFlatSpeedButton::CursorIsOverMe() const {
  POINT pt;
  if (!GetCursorPos(&pt)) return false;
  return TWinControl::FindControlAt(Point{pt.x, pt.y}) == this;
}

void TFlatSpeedButton::HoverTick() {
  if (!CursorIsOverMe()) HoverLeave();
}

void TFlatSpeedButton::UpdateHover() {
  Sync();
  switch (state_.UpdateHover(CursorIsOverMe())) {
    case SpeedButtonState::HoverAction::Enter: HoverEnter(); break;
    case SpeedButtonState::HoverAction::Leave: HoverLeave(); break;
    case SpeedButtonState::HoverAction::None: break;
  }
}

// ---- notifications -------------------------------------------------------

void TFlatSpeedButton::EnabledChanged() {
  Sync();
  if (!Enabled()) {
    state_.Disable();
    ReleaseHoverTimer();
  }
  UpdateHover();
  Repaint();
}

bool TFlatSpeedButton::DialogChar(char c) {
  if (!IsAccelerator(c, Caption()) || !Enabled()) return false;
  Click();
  return true;
}

bool TFlatSpeedButton::Describe(AccessibleElement& e) const {
  const bool pressed = state_.down || state_.faceState == FaceState::Pressed || state_.faceState == FaceState::Latched;
  DescribeButton(e, StripAccelerator(Caption()), tabStop, pressed, state_.hovered);
  e.keyboardShortcut = AltShortcut(Caption());
  return true;
}

void TFlatSpeedButton::SysColorChanged() {
  if (useAdvColors_) {
    AdoptParentColor();
    CalcAdvColors();
  }
  Invalidate();
}

void TFlatSpeedButton::ParentColorChanged() {
  TControl::ParentColorChanged();
  SysColorChanged();
}

// ---- layout --------------------------------------------------------------

TComponent& MakeFlatSpeedButton(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& b = Make<TFlatSpeedButton>(&owner, &parent, def.name);
  const LayoutProps& p = def.props;
  b.SetBounds(def.bounds.left, def.bounds.top, def.bounds.Width(), def.bounds.Height());
  b.SetTransparentMode(p.transparentMode);
  if (p.colorFocused != kColourNone) b.SetColorFocused(p.colorFocused);
  if (p.colorBorder != kColourNone) b.SetColorBorder(p.colorBorder);
  if (p.colorDown != kColourNone) b.SetColorDown(p.colorDown);
  b.SetModalResult(p.modalResult);
  b.SetGroupIndex(p.groupIndex);
  b.SetAllowAllUp(p.allowAllUp);
  if (!p.bitmap.empty()) b.SetGlyph(LoadBitmapResource(p.bitmap.c_str()));
  ApplyCommonProps(b, def);
  if (p.down) b.SetDown(true);
  return b;
}

}  // namespace vh
