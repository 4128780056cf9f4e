// The Win32 side of the mouse routing: turns the window's mouse messages into
// router events and carries out what the router decides; cursors and context
// menus of the windowless children.
#include "ui/component_win.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/menu_win.h"

namespace vh {

namespace {

TMouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return TMouseButton::mbRight;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
  }
}

}  // namespace

bool TWinControl::HandleMouse(UINT msg, WPARAM wp, LPARAM lp) {
  Point p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (msg == WM_MOUSEMOVE) TrackEnterLeave(p);
  if (subclassed_) return false;  // standard controls keep their own mouse handling
  switch (msg) {
    case WM_MOUSEMOVE:
      Carry(router_.Move(p));
      return true;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      Carry(router_.Down(ButtonOf(msg), p, false));
      return true;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
      Carry(router_.Down(ButtonOf(msg), p, true));
      return true;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      Carry(router_.Up(ButtonOf(msg), p, (wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0));
      return true;
    default: return false;
  }
}

void TWinControl::TrackEnterLeave(Point client) {
  if (!trackingLeave_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
    trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
  }
  Carry(router_.Hover(client, ClientRect()));
}

void TWinControl::Carry(const Routing& routing) {
  if (hwnd_ && routing.capture == CaptureChange::Take) SetCapture(hwnd_);
  if (hwnd_ && routing.capture == CaptureChange::Release && GetCapture() == hwnd_) ReleaseCapture();
  const std::shared_ptr<bool> alive = alive_;
  for (const MouseCall& call : routing.calls) {
    if (!*alive) return;
    if (!router_.Knows(call.target)) continue;
    auto& c = static_cast<TControl&>(*call.target);
    const Point at = call.at;
    switch (call.kind) {
      case MouseCall::Kind::Enter: c.MouseEnter(); break;
      case MouseCall::Kind::Leave: c.MouseLeave(); break;
      case MouseCall::Kind::Move: c.MouseMove(at.x, at.y); break;
      case MouseCall::Kind::Down: c.MouseDown(call.button, at.x, at.y); break;
      case MouseCall::Kind::DoublePress: c.DblClickPress(at.x, at.y); break;
      case MouseCall::Kind::Up: c.MouseUp(call.button, at.x, at.y); break;
      case MouseCall::Kind::Click: c.Click(); break;
    }
  }
}

void TWinControl::ChildAvailabilityChanged(TControl& c) { Carry(router_.AvailabilityChanged(c)); }

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
  Carry(router_.Remove(c));
  // Called from ~TControl, where the child no longer knows whether it was
  // windowless: its area is repainted either way.
  InvalidateChild(c.BoundsRect());
}

TControl* TWinControl::ControlAtPos(Point p, bool allowDisabled) const {
  return static_cast<TControl*>(router_.ControlAt(p, allowDisabled));
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

}  // namespace vh
