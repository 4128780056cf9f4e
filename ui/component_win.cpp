#include "ui/component_win.h"

#include <algorithm>
#include <stdexcept>

#include "platform/text_win.h"
#include "ui/form_win.h"

namespace vh {

// ---- TComponent ----------------------------------------------------------

TComponent::TComponent(TComponent* owner, std::string name) : owner_(owner), name_(std::move(name)) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) {
    auto& list = owner_->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) delete components_.back();  // unlinks itself
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* c : components_)
    if (c->name_ == name) return c;
  return nullptr;
}

void TComponent::ThrowMissing(const std::string& name, bool wrongType) const {
  std::string owner = name_.empty() ? ClassName() : name_;
  throw std::logic_error(owner + (wrongType ? " has \"" + name + "\" but of another kind" : " has no \"" + name + "\""));
}


// ---- TControl ------------------------------------------------------------

TControl::TControl(TComponent* owner, TWinControl* parent, std::string name)
    : TComponent(owner, std::move(name)), parent_(parent) {
  if (parent_) {
    parent_->controls_.push_back(this);
    parent_->router_.Add(*this);
    font_ = parent_->font_;
    color_ = parent_->color_;
  }
}

TControl::~TControl() {
  if (TForm* f = parent_ ? ParentForm() : nullptr) f->ControlDestroyed(*this);
  if (parent_) parent_->OnChildDestroyed(*this);
}

RoutedControl::RouteInfo TControl::RouteState() const { return RouteInfo{bounds_, IsWindowless(), visible_, enabled_}; }

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Rect old = bounds_;
  bounds_ = MakeRect(left, top, width, height);
  if (old != bounds_) BoundsChanged(old);
}

void TControl::BoundsChanged(const Rect& old) {
  if (parent_) {
    parent_->InvalidateChild(old);
    parent_->InvalidateChild(bounds_);
  }
  if (TForm* f = ParentForm()) f->UpdateHints();
}

Point TControl::ClientToScreen(Point p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->Handle()) {
    POINT pt{p.x, p.y};
    ::ClientToScreen(w->Handle(), &pt);
    return Point{pt.x, pt.y};
  }
  if (!parent_) return p;
  return parent_->ClientToScreen(Point{p.x + bounds_.left, p.y + bounds_.top});
}

Point TControl::ScreenToClient(Point p) const {
  Point origin = ClientToScreen(Point{0, 0});
  return Point{p.x - origin.x, p.y - origin.y};
}

void TControl::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  VisibleChanged();
  AvailabilityChanged(v);
}

void TControl::VisibleChanged() {
  if (parent_) parent_->InvalidateChild(bounds_);
  if (TForm* f = ParentForm()) f->UpdateHints();
}

void TControl::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  EnabledChanged();
  AvailabilityChanged(v);
}

// Shown or hidden, enabled or disabled: the parent's routing and the form's
// focus let go of a control that can no longer take input.
void TControl::AvailabilityChanged(bool nowAvailable) {
  if (parent_) parent_->ChildAvailabilityChanged(*this);
  if (TForm* f = ParentForm(); f && f != this && !nowAvailable) f->ControlBecameUnavailable(*this);
}

void TControl::SetCaption(const std::string& text) {
  if (caption_ == text) return;
  caption_ = text;
  TextChanged();
}

void TControl::SetFont(const FontDef& font) {
  parentFont_ = false;
  font_ = font;
  fontHandle_.Reset();
  FontChanged();
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  font_ = parent_->font_;
  fontHandle_.Reset();
  FontChanged();
}

void TControl::ScriptChanged() {
  fontHandle_.Reset();
  FontChanged();
}

HFONT TControl::FontHandle() {
  if (!fontHandle_) fontHandle_ = MakeFont(font_);
  return fontHandle_.get();
}

void TControl::SetColor(Colour c) {
  parentColor_ = false;
  if (color_ == c) return;
  color_ = c;
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v) ParentColorChanged();
}

void TControl::AdoptParentColor() {
  parentColor_ = true;
  if (parent_) color_ = parent_->color_;
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  color_ = parent_->color_;
  ColorChanged();
}

void TControl::SetHint(const std::string& hint) {
  hint_ = hint;
  if (TForm* f = ParentForm()) f->UpdateHints();
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  if (TForm* f = ParentForm()) f->UpdateHints();
}

void TControl::FireMouseDown(TMouseButton b, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, b, x, y);
}

void TControl::MouseDown(TMouseButton b, int x, int y) {
  // As a push button does, a control the Tab key stops at takes the
  // keyboard focus when it is clicked.
  if (b == TMouseButton::mbLeft && tabStop && Enabled())
    if (TForm* form = ParentForm()) form->FocusControl(*this);
  FireMouseDown(b, x, y);
}
void TControl::MouseMove(int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, x, y);
}
void TControl::MouseUp(TMouseButton b, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, b, x, y);
}
void TControl::Click() {
  if (OnClick) OnClick(*this);
}
void TControl::DblClickPress(int x, int y) {
  if (clickEvents && OnDblClick) OnDblClick(*this);
  MouseDown(TMouseButton::mbLeft, x, y);
}
bool TControl::Describe(AccessibleElement& e) const {
  if (accessibleName.empty() || !OnClick) return false;
  DescribeButton(e, accessibleName, tabStop || !IsWindowless(), false, false);
  return true;
}

void TControl::DescribeButton(AccessibleElement& e, std::string name, bool focusable, bool pressed,
                              bool hot) const {
  e.role = AccessibleRole::PushButton;
  e.name = std::move(name);
  e.description = Hint();
  e.defaultAction = "Press";
  e.state = PushButtonState(Enabled(), focusable, false, pressed, hot);
  e.bounds = BoundsRect();
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(*this);
}
void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(*this);
}

// ---- TGraphicControl -----------------------------------------------------

void TGraphicControl::Invalidate() {
  if (Parent()) Parent()->InvalidateChild(BoundsRect());
}

void TGraphicControl::Repaint() {
  Invalidate();
  if (Parent()) Parent()->UpdateNow();
}

// ---- TWinControl ---------------------------------------------------------

TWinControl::TWinControl(TComponent* owner, TWinControl* parent, std::string name)
    : TControl(owner, parent, std::move(name)) {}

void TWinControl::BoundsChanged(const Rect&) {
  if (hwnd_) MoveWindow(hwnd_, Left(), Top(), Width(), Height(), TRUE);
  if (TForm* f = ParentForm()) f->UpdateHints();
}

void TWinControl::VisibleChanged() {
  if (hwnd_) ShowWindow(hwnd_, Visible() ? SW_SHOWNA : SW_HIDE);
  if (TForm* f = ParentForm()) f->UpdateHints();
}

// A hidden window is painted whole when it is shown: invalidating it before
// is a wasted round trip to the window manager's server per call, and a
// window's controls are all set up while it is hidden.
void TWinControl::Invalidate() {
  if (hwnd_ && IsWindowVisible(hwnd_)) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TWinControl::Repaint() {
  Invalidate();
  UpdateNow();
}

void TWinControl::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

bool TWinControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

void TWinControl::InvalidateChild(const Rect& r) {
  if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
  RECT rc = ToRECT(r);
  InvalidateRect(hwnd_, &rc, FALSE);
}

void TWinControl::UpdateNow() {
  if (hwnd_) UpdateWindow(hwnd_);
}

void TWinControl::TextChanged() {
  if (hwnd_) SetWindowTextW(hwnd_, Utf8ToWide(Caption()).c_str());
  Invalidate();
}

void TWinControl::ScriptChanged() {
  TControl::ScriptChanged();
  for (TControl* c : controls_) c->ScriptChanged();
}

void TWinControl::FontChanged() {
  if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, WPARAM(FontHandle()), TRUE);
  for (TControl* c : controls_) c->ParentFontChanged();
  Invalidate();
}

void TWinControl::ColorChanged() {
  for (TControl* c : controls_) c->ParentColorChanged();
  Invalidate();
}

void TWinControl::EnabledChanged() {
  if (hwnd_) EnableWindow(hwnd_, Enabled());
  Invalidate();
}

void TWinControl::ForEachControl(const std::function<void(TControl&)>& f) {
  AnyControl([&](TControl& c) {
    f(c);
    return false;
  });
}

bool TWinControl::AnyControl(const std::function<bool(TControl&)>& f) {
  std::vector<TControl*> snapshot = controls_;  // a handler may add or remove controls
  for (TControl* c : snapshot) {
    if (f(*c)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->AnyControl(f)) return true;
  }
  return false;
}

}  // namespace vh
