#include "ui/input_routing.h"

#include <algorithm>

namespace vh {

void InputRouter::Add(RoutedControl& child) { children_.push_back(&child); }

Routing InputRouter::Remove(RoutedControl& child) {
  children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
  Routing out;
  Drop(child, out);
  if (hot_ == &child) hot_ = nullptr;
  return out;
}

bool InputRouter::Knows(const RoutedControl* target) const {
  return target == &host_ || std::find(children_.begin(), children_.end(), target) != children_.end();
}

RoutedControl* InputRouter::ControlAt(Point p, bool allowDisabled) const {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    const RoutedControl::RouteInfo s = (*it)->RouteState();
    if (s.windowless && s.visible && (allowDisabled || s.enabled) && Contains(s.bounds, p)) return *it;
  }
  return nullptr;
}

MouseCall InputRouter::At(MouseCall::Kind kind, RoutedControl& target, Point host, TMouseButton button) const {
  Point at = host;
  if (&target != &host_) {
    const Rect b = target.RouteState().bounds;
    at = Point{host.x - b.left, host.y - b.top};
  }
  return MouseCall{kind, &target, at, button};
}

void InputRouter::SetHot(RoutedControl* c, Routing& out) {
  if (c == hot_) return;
  RoutedControl* old = hot_;
  hot_ = c;
  if (old) out.calls.push_back(MouseCall{MouseCall::Kind::Leave, old, Point{}});
  if (c) out.calls.push_back(MouseCall{MouseCall::Kind::Enter, c, Point{}});
}

// Disabled children stay hot: they still show their hint and cursor.
Routing InputRouter::Hover(Point p, const Rect& client) {
  Routing out;
  RoutedControl* under = nullptr;
  if (Contains(client, p)) {
    under = ControlAt(p, true);
    if (!under) under = &host_;
  }
  SetHot(under, out);
  return out;
}

Routing InputRouter::Move(Point p) {
  RoutedControl* target = captured_ ? captured_ : ControlAt(p, false);
  Routing out;
  out.calls.push_back(At(MouseCall::Kind::Move, target ? *target : host_, p, TMouseButton::mbLeft));
  return out;
}

Routing InputRouter::Down(TMouseButton button, Point p, bool doubleClick) {
  const bool left = button == TMouseButton::mbLeft;
  // Every left press starts anew: a click needs its own press on the same control.
  if (left) pressed_ = nullptr;
  Routing out;
  RoutedControl* target = ControlAt(p, false);
  if (!target) {
    const auto kind = doubleClick && left ? MouseCall::Kind::DoublePress : MouseCall::Kind::Down;
    out.calls.push_back(At(kind, host_, p, button));
    return out;
  }
  if (target->captureMouse) {
    captured_ = target;
    out.capture = CaptureChange::Take;
  }
  if (doubleClick && left && target->doubleClicks) {
    out.calls.push_back(At(MouseCall::Kind::DoublePress, *target, p, button));
  } else {
    if (left) pressed_ = target;
    out.calls.push_back(At(MouseCall::Kind::Down, *target, p, button));
  }
  return out;
}

Routing InputRouter::Up(TMouseButton button, Point p, bool buttonsStillHeld) {
  RoutedControl* target = captured_ ? captured_ : ControlAt(p, false);
  Routing out;
  if (!buttonsStillHeld && captured_) {
    captured_ = nullptr;
    out.capture = CaptureChange::Release;
  }
  RoutedControl* pressed = pressed_;
  if (button == TMouseButton::mbLeft) pressed_ = nullptr;
  if (!target) {
    out.calls.push_back(At(MouseCall::Kind::Up, host_, p, button));
    return out;
  }
  const MouseCall up = At(MouseCall::Kind::Up, *target, p, button);
  const Rect b = target->RouteState().bounds;
  const bool inside = Contains(Rect{0, 0, b.Width(), b.Height()}, up.at);
  if (button == TMouseButton::mbLeft && target == pressed && target->clickEvents && inside) {
    out.calls.push_back(MouseCall{MouseCall::Kind::Click, target, up.at, button});
  }
  out.calls.push_back(up);
  return out;
}

Routing InputRouter::Leave() {
  Routing out;
  SetHot(nullptr, out);
  return out;
}

Routing InputRouter::CaptureLost() {
  if (captured_) pressed_ = nullptr;
  captured_ = nullptr;
  return Routing{};
}

void InputRouter::Drop(RoutedControl& child, Routing& out) {
  if (captured_ == &child) {
    captured_ = nullptr;
    out.capture = CaptureChange::Release;
  }
  if (pressed_ == &child) pressed_ = nullptr;
}

Routing InputRouter::AvailabilityChanged(RoutedControl& child) {
  Routing out;
  const RoutedControl::RouteInfo s = child.RouteState();
  if (!s.visible && hot_ == &child) SetHot(nullptr, out);
  if (!s.visible || !s.enabled) Drop(child, out);
  return out;
}

}  // namespace vh
