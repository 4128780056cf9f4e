// Mouse routing among the windowless controls of one window. The router
// decides which control is hot (under the mouse), which holds the mouse
// capture while a button is down and which was pressed and so may be
// clicked; each event returns the calls the window then makes on its
// controls, in order, and what becomes of the capture. The window itself
// joins in as the host: it gets what falls on no control.
#pragma once

#include <vector>

#include "ui/geometry.h"

namespace vh {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// A control as the router sees it; every control of the component layer is one.
class RoutedControl {
 public:
  struct RouteInfo {
    Rect bounds;  // in the host's client coordinates
    bool windowless = true;
    bool visible = true;
    bool enabled = true;
  };
  virtual RouteInfo RouteState() const = 0;

  // Style flags of the windowless controls, set by their constructors.
  bool captureMouse = true;  // the host captures the mouse while a button is held
  bool doubleClicks = true;  // receives double clicks (else a second press)
  bool clickEvents = true;   // the host's release inside fires Click

 protected:
  ~RoutedControl() = default;
};

struct MouseCall {
  enum class Kind { Enter, Leave, Move, Down, DoublePress, Up, Click };
  Kind kind;
  RoutedControl* target;  // a child, or the host
  Point at;               // in the target's client coordinates
  TMouseButton button = TMouseButton::mbLeft;
};

enum class CaptureChange { None, Take, Release };

struct Routing {
  CaptureChange capture = CaptureChange::None;  // carried out before the calls
  std::vector<MouseCall> calls;
};

class InputRouter {
 public:
  explicit InputRouter(RoutedControl& host) : host_(host) {}

  // Children in z-order: each added one lies above those before it.
  void Add(RoutedControl& child);
  // The child is gone: forgotten without calls; releases a capture it held.
  Routing Remove(RoutedControl& child);
  bool Knows(const RoutedControl* target) const;

  // The topmost visible windowless child at a host point; disabled ones only
  // when allowDisabled.
  RoutedControl* ControlAt(Point p, bool allowDisabled) const;

  // The mouse is at p: the hot control follows it, the host where no child
  // is, nothing outside the client area.
  Routing Hover(Point p, const Rect& client);
  Routing Move(Point p);
  Routing Down(TMouseButton button, Point p, bool doubleClick);
  Routing Up(TMouseButton button, Point p, bool buttonsStillHeld);
  // The mouse left the window.
  Routing Leave();
  // Another window took the capture: the held press is void.
  Routing CaptureLost();
  // A child was hidden or disabled: it loses the capture and its press;
  // hidden, it stops being hot too.
  Routing AvailabilityChanged(RoutedControl& child);

  RoutedControl* Hot() const { return hot_; }
  RoutedControl* Captured() const { return captured_; }
  RoutedControl* Pressed() const { return pressed_; }

 private:
  MouseCall At(MouseCall::Kind kind, RoutedControl& target, Point host, TMouseButton button) const;
  void SetHot(RoutedControl* c, Routing& out);
  void Drop(RoutedControl& child, Routing& out);

  RoutedControl& host_;
  std::vector<RoutedControl*> children_;
  RoutedControl* hot_ = nullptr;
  RoutedControl* captured_ = nullptr;
  RoutedControl* pressed_ = nullptr;
};

}  // namespace vh
