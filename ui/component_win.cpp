#include "ui/component_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "ui/form_win.h"
#include "ui/menu_win.h"
#include "ui/message_box_win.h"

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

TNotifyEvent* TComponent::NotifyEvent(const std::string&) { return nullptr; }

// ---- TControl ------------------------------------------------------------

TControl::TControl(TComponent* owner, TWinControl* parent, std::string name)
    : TComponent(owner, std::move(name)), parent_(parent) {
  if (parent_) {
    parent_->controls_.push_back(this);
    font_ = parent_->font_;
    color_ = parent_->color_;
  }
}

TControl::~TControl() {
  if (TForm* f = parent_ ? ParentForm() : nullptr) f->ControlDestroyed(*this);
  if (parent_) parent_->OnChildDestroyed(*this);
}

TNotifyEvent* TControl::NotifyEvent(const std::string& event) {
  if (event == "OnClick") return &OnClick;
  if (event == "OnDblClick") return &OnDblClick;
  if (event == "OnMouseEnter") return &OnMouseEnter;
  if (event == "OnMouseLeave") return &OnMouseLeave;
  return nullptr;
}

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
  if (TForm* f = ParentForm(); f && f != this && !v) f->ControlBecameUnavailable(*this);
}

void TControl::VisibleChanged() {
  if (parent_) parent_->InvalidateChild(bounds_);
  if (TForm* f = ParentForm()) f->UpdateHints();
}

void TControl::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  EnabledChanged();
  if (TForm* f = ParentForm(); f && f != this && !v) f->ControlBecameUnavailable(*this);
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

void TControl::MouseDown(TMouseButton b, int x, int y) { FireMouseDown(b, x, y); }
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
  e.role = AccessibleRole::PushButton;
  e.name = accessibleName;
  e.description = Hint();
  e.defaultAction = "Press";
  e.state = PushButtonState(Enabled(), tabStop || !IsWindowless(), false, false, false);
  e.bounds = BoundsRect();
  return true;
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

namespace {

const char kObjectProp[] = "VhControl";
const char kOwnClass[] = "VhWindow";

TMouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return TMouseButton::mbRight;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
  }
}

}  // namespace

TWinControl::TWinControl(TComponent* owner, TWinControl* parent, std::string name)
    : TControl(owner, parent, std::move(name)) {}

TWinControl::~TWinControl() {
  // Children first (they unlink themselves), then our own window.
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    if (c->Owner() == nullptr) delete c;
    else c->parent_ = nullptr, controls_.pop_back();
  }
  if (hwnd_) {
    HWND h = hwnd_;
    if (subclassed_) RemoveWindowSubclass(h, SubclassProc, 0);
    RemovePropA(h, kObjectProp);
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<TWinControl*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

void TWinControl::CreateHandle(const char* className, DWORD style, DWORD exStyle, const std::string& text,
                               HWND parent, const Rect& bounds, const char* ownClass) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const bool own = className == nullptr;
  if (own) {
    className = ownClass ? ownClass : kOwnClass;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExA(instance, className, &wc)) {
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = StaticProc;
      wc.hInstance = instance;
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.hIcon = LoadIcon(instance, MAKEINTRESOURCE(1));
      wc.lpszClassName = className;
      RegisterClassExA(&wc);
    }
  }
  TControl::SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  HWND h = CreateWindowExA(exStyle, className ? className : kOwnClass, text.c_str(), style, bounds.left, bounds.top,
                           bounds.Width(), bounds.Height(), parent, nullptr, GetModuleHandleA(nullptr), this);
  if (!h) return;
  if (!own) {
    hwnd_ = h;
    subclassed_ = true;
    SetPropA(h, kObjectProp, this);
    SetWindowSubclass(h, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  SendMessageA(hwnd_, WM_SETFONT, WPARAM(FontHandle()), 0);
}

// Binds the object to its window in the window itself, once, at creation.
LRESULT CALLBACK TWinControl::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetPropA(hwnd, kObjectProp, self);
    }
  }
  TWinControl* self = FromHandle(hwnd);
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kObjectProp);
    if (self) self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<TWinControl*>(ref);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, 0);
    RemovePropA(hwnd, kObjectProp);
    self->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  return self->Dispatch(msg, wp, lp);
}

// No exception may cross into Win32: each is reported here.
LRESULT TWinControl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  try {
    return WndProc(msg, wp, lp);
  } catch (...) {
    ReportException();
    return 0;
  }
}

LRESULT TWinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (subclassed_) return DefSubclassProc(hwnd_, msg, wp, lp);
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (OwnsPainting()) return 1;
      break;
    case WM_PAINT:
      if (OwnsPainting()) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Rect area = FromRECT(ps.rcPaint);
        if (!area.IsEmpty()) {
          DoubleBuffer buffer(dc, area);
          Canvas canvas(buffer.dc());
          PaintClient(canvas, area);
          buffer.Flush();
        }
        EndPaint(hwnd_, &ps);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (OwnsPainting()) {
        Canvas canvas{HDC(wp)};
        PaintClient(canvas, ClientRect());
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (HWND(wp) == hwnd_ && LOWORD(lp) == HTCLIENT && HandleSetCursor()) return TRUE;
      break;
    case WM_CONTEXTMENU:
      if (HWND(wp) == hwnd_ && HandleContextMenu(lp)) return 0;
      break;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      SetMouseControl(nullptr);
      return 0;
    case WM_CAPTURECHANGED:
      if (HWND(lp) != hwnd_) captureControl_ = nullptr;
      break;
    case WM_CANCELMODE:
      if (captureControl_) {
        captureControl_ = nullptr;
        ReleaseCapture();
      }
      break;
    case WM_SETFOCUS:
      if (TForm* f = ParentForm(); f && f != this) f->NotifyFocusChanged(this);
      break;
    case WM_SYSCOLORCHANGE:
      SysColorChanged();
      ForEachControl([](TControl& c) {
        c.SysColorChanged();
        auto* w = dynamic_cast<TWinControl*>(&c);
        if (w && w->subclassed_ && w->hwnd_) SendMessageA(w->hwnd_, WM_SYSCOLORCHANGE, 0, 0);
      });
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      HWND child = msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : HWND(lp);
      TWinControl* target = child != hwnd_ ? FromHandle(child) : nullptr;
      LRESULT result = 0;
      if (target && target->Reflected(msg, wp, lp, result)) return result;
      break;
    }
    default:
      if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && HandleMouse(msg, wp, lp)) return 0;
      break;
  }
  return DefaultProc(msg, wp, lp);
}

bool TWinControl::HandleMouse(UINT msg, WPARAM wp, LPARAM lp) {
  Point p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (msg == WM_MOUSEMOVE) TrackEnterLeave(p);
  if (subclassed_) return false;  // standard controls keep their own mouse handling
  auto local = [&](TControl* c) { return Point{p.x - c->Left(), p.y - c->Top()}; };
  TMouseButton button = ButtonOf(msg);
  switch (msg) {
    case WM_MOUSEMOVE: {
      TControl* t = captureControl_ ? captureControl_ : ControlAtPos(p, false);
      if (t) t->MouseMove(local(t).x, local(t).y);
      else MouseMove(p.x, p.y);
      return true;
    }
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
      bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      TControl* t = ControlAtPos(p, false);
      if (!t) {
        if (dbl && button == TMouseButton::mbLeft) DblClickPress(p.x, p.y);
        else MouseDown(button, p.x, p.y);
        return true;
      }
      if (t->captureMouse) {
        captureControl_ = t;
        SetCapture(hwnd_);
      }
      Point l = local(t);
      if (dbl && button == TMouseButton::mbLeft && t->doubleClicks) {
        t->DblClickPress(l.x, l.y);
      } else {
        if (button == TMouseButton::mbLeft) clickedControl_ = t;
        t->MouseDown(button, l.x, l.y);
      }
      return true;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
      TControl* t = captureControl_ ? captureControl_ : ControlAtPos(p, false);
      if ((wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && captureControl_) {
        captureControl_ = nullptr;
        ReleaseCapture();
      }
      if (!t) {
        MouseUp(button, p.x, p.y);
        return true;
      }
      Point l = local(t);
      bool click = false;
      if (button == TMouseButton::mbLeft) {
        click = t == clickedControl_ && t->clickEvents && Contains(t->ClientRect(), l);
        clickedControl_ = nullptr;
      }
      if (click) t->Click();
      t->MouseUp(button, l.x, l.y);
      return true;
    }
    default: return false;
  }
}

void TWinControl::TrackEnterLeave(Point client) {
  if (!trackingLeave_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
    trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
  }
  TControl* under = nullptr;
  if (Contains(ClientRect(), client)) {
    under = ControlAtPos(client, true);
    if (!under) under = this;
  }
  SetMouseControl(under);
}

void TWinControl::SetMouseControl(TControl* c) {
  if (c == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = c;
  if (old) old->MouseLeave();
  if (c) c->MouseEnter();
}

bool TWinControl::HandleSetCursor() {
  POINT pt;
  GetCursorPos(&pt);
  ::ScreenToClient(hwnd_, &pt);
  TControl* c = ControlAtPos(Point{pt.x, pt.y}, true);
  if (!c) c = this;
  if (c->Cursor() == TCursor::crHandPoint) {
    ::SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
  }
  if (subclassed_) return false;
  ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return true;
}

bool TWinControl::HandleContextMenu(LPARAM lp) {
  Point screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (screen.x == -1 && screen.y == -1) {
    POINT pt;
    GetCursorPos(&pt);
    screen = Point{pt.x, pt.y};
  }
  TControl* c = ControlAtPos(ScreenToClient(screen), false);
  if (!c) c = this;
  if (!c->PopupMenu()) return false;
  c->PopupMenu()->Popup(screen.x, screen.y);
  return true;
}

void TWinControl::OnChildDestroyed(TControl& c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), &c), controls_.end());
  if (captureControl_ == &c) {
    captureControl_ = nullptr;
    if (hwnd_ && GetCapture() == hwnd_) ReleaseCapture();
  }
  if (mouseControl_ == &c) mouseControl_ = nullptr;
  if (clickedControl_ == &c) clickedControl_ = nullptr;
  if (c.IsWindowless()) InvalidateChild(c.BoundsRect());
}

TControl* TWinControl::ControlAtPos(Point p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowless() && c->Visible() && (allowDisabled || c->Enabled()) && Contains(c->BoundsRect(), p))
      return c;
  }
  return nullptr;
}

TControl* TWinControl::FindControlAt(Point screen) {
  POINT pt{screen.x, screen.y};
  HWND h = WindowFromPoint(pt);
  // WindowFromPoint stops above disabled children; go down to them.
  for (HWND child; h; h = child) {
    POINT local = pt;
    ::ScreenToClient(h, &local);
    child = ChildWindowFromPointEx(h, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == h) break;
  }
  TWinControl* w = nullptr;
  for (; h && !(w = FromHandle(h)); h = GetParent(h)) {
  }
  if (!w) return nullptr;
  TControl* c = w->ControlAtPos(w->ScreenToClient(screen), true);
  return c ? c : w;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
}

void TWinControl::BoundsChanged(const Rect&) {
  if (hwnd_) MoveWindow(hwnd_, Left(), Top(), Width(), Height(), TRUE);
  if (TForm* f = ParentForm()) f->UpdateHints();
}

void TWinControl::SetVisible(bool v) { TControl::SetVisible(v); }

void TWinControl::VisibleChanged() {
  if (hwnd_) ShowWindow(hwnd_, Visible() ? SW_SHOWNA : SW_HIDE);
  if (TForm* f = ParentForm()) f->UpdateHints();
}

void TWinControl::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
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
  if (!hwnd_) return;
  RECT rc = ToRECT(r);
  InvalidateRect(hwnd_, &rc, FALSE);
}

void TWinControl::UpdateNow() {
  if (hwnd_) UpdateWindow(hwnd_);
}

void TWinControl::PaintBackground(Canvas& canvas, const Rect& area) { canvas.FillRect(area, Color()); }

void TWinControl::PaintClient(Canvas& canvas, const Rect& area) {
  PaintBackground(canvas, area);
  for (TControl* c : controls_) {
    if (!c->IsWindowless() || !c->Visible()) continue;
    const Rect& b = c->BoundsRect();
    if (b.right <= area.left || b.left >= area.right || b.bottom <= area.top || b.top >= area.bottom) continue;
    HDC dc = canvas.Handle();
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
    IntersectClipRect(dc, 0, 0, b.Width(), b.Height());
    static_cast<TGraphicControl*>(c)->Paint(canvas);
    RestoreDC(dc, saved);
  }
  PaintOverlay(canvas, area);
}

void TWinControl::TextChanged() {
  if (hwnd_) SetWindowTextA(hwnd_, Caption().c_str());
  Invalidate();
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

namespace {

ExceptionSink& Sink() {
  static ExceptionSink sink;
  return sink;
}

}  // namespace

void SetExceptionSink(ExceptionSink sink) { Sink() = std::move(sink); }

void ReportException() {
  std::string text;
  try {
    throw;
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
    text = "Unexpected error";
  }
  if (Sink()) {
    Sink()(text);
  } else {
    ShowMessageBox(text, MB_OK | MB_ICONERROR);
  }
}

}  // namespace vh
