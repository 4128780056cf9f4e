// What the accessibility layer tells a screen reader about one windowless
// control: role, name, description, state, default action and where it is.
// Portable: the controls fill it, ui/accessible_win.* hands it to MSAA.
#pragma once

#include <string>
#include <vector>

#include "ui/geometry.h"

namespace vh {

enum class AccessibleRole { PushButton, StaticText, Link, Graphic };

// State bits; the Win32 layer maps them to the STATE_SYSTEM_* values.
enum AccessibleState : unsigned {
  kAccUnavailable = 1u << 0,
  kAccFocused = 1u << 1,
  kAccPressed = 1u << 2,
  kAccHot = 1u << 3,
  kAccFocusable = 1u << 4,
  kAccLinked = 1u << 5,
  kAccReadOnly = 1u << 6,
};

struct AccessibleElement {
  AccessibleRole role = AccessibleRole::StaticText;
  std::string name;
  std::string description;
  std::string defaultAction;  // empty: the element has none
  std::string keyboardShortcut;  // "Alt+A"; empty: none
  unsigned state = 0;
  Rect bounds;  // in the host window's client coordinates
};

// A push button's state bits from what the control knows of itself.
unsigned PushButtonState(bool enabled, bool focusable, bool focused, bool pressed, bool hot);

// A caption label and the figure beside it read as one: "Current Registry
// Size: 96,229 KB"; an empty figure leaves the caption alone. The element
// covers both.
AccessibleElement JoinLabelAndFigure(const AccessibleElement& label, const AccessibleElement& figure);

// "Alt+A" for a caption marked "&Analyze"; empty without a mark.
std::string AltShortcut(const std::string& caption);

// The index of the element at a client point, the last one listed (the
// topmost) winning; -1 when none.
int ElementAt(const std::vector<AccessibleElement>& elements, Point p);

}  // namespace vh
