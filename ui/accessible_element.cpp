#include "ui/accessible_element.h"

#include <algorithm>

#include "ui/accel.h"

namespace vh {

unsigned PushButtonState(bool enabled, bool focusable, bool focused, bool pressed, bool hot) {
  if (!enabled) return kAccUnavailable;
  unsigned s = 0;
  if (focusable) s |= kAccFocusable;
  if (focused) s |= kAccFocused;
  if (pressed) s |= kAccPressed;
  if (hot) s |= kAccHot;
  return s;
}

AccessibleElement JoinLabelAndFigure(const AccessibleElement& label, const AccessibleElement& figure) {
  AccessibleElement joined = label;
  if (!figure.name.empty()) joined.name = label.name + " " + figure.name;
  joined.bounds = Rect{std::min(label.bounds.left, figure.bounds.left), std::min(label.bounds.top, figure.bounds.top),
                       std::max(label.bounds.right, figure.bounds.right),
                       std::max(label.bounds.bottom, figure.bounds.bottom)};
  return joined;
}

std::string AltShortcut(const std::string& caption) {
  char a = AcceleratorOf(caption);
  return a == 0 ? std::string() : std::string("Alt+") + a;
}

int ElementAt(const std::vector<AccessibleElement>& elements, Point p) {
  for (int i = int(elements.size()) - 1; i >= 0; --i)
    if (Contains(elements[std::size_t(i)].bounds, p)) return i;
  return -1;
}

}  // namespace vh
