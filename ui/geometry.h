// Portable geometry of the component layer. The types themselves are shared
// with the skinned controls (skin/geometry.h) so that both families speak the
// same Rect; this header adds the hit tests the windowless controls need.
#pragma once

#include "skin/geometry.h"

namespace vh {

// Right and bottom edges excluded, as the platform's PtInRect.
inline bool Contains(const Rect& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Both edges included: the drag-area rule of the main window counts a point
// on a control's right or bottom edge as the control's.
inline bool ContainsInclusive(const Rect& r, Point p) {
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

inline Rect MakeRect(int left, int top, int width, int height) { return Rect{left, top, left + width, top + height}; }

}  // namespace vh
