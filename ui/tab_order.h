// Tab-key stepping over a form's focusable controls, windowed and windowless
// alike. Portable: the form lists which stops can take the focus now.
#pragma once

#include <vector>

#include "ui/geometry.h"

namespace vh {

// The stop after `current` (or before it, backwards) that can take the
// focus, wrapping around; current -1 starts from the ends. -1 when none can.
int NextTabStop(const std::vector<bool>& available, int current, bool backward);

// Indexes of rectangles in reading order: top to bottom, then left to right.
std::vector<int> ReadingOrder(const std::vector<Rect>& bounds);

}  // namespace vh
