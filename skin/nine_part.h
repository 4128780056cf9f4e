// The geometry of DrawNinePartSkin: which part of a skin frame
// goes where when a push button's skin is stretched to any size. The Win32
// side draws each piece as the plan says; the plan is pure so that it can be
// checked natively.
#pragma once

#include <array>

#include "ui/geometry.h"

namespace vh {

enum class NinePiece {
  TopLeft,
  BottomLeft,
  LeftEdge,
  TopRight,
  BottomRight,
  RightEdge,
  TopEdge,
  Centre,
  BottomEdge,
};

// How a piece is drawn.
enum class NinePieceMode {
  // Unscaled through an image mask: clFuchsia is left out only when the
  // skin is drawn transparent, otherwise the corner is opaque.
  MaskedCorner,
  // Stretched from `source` into a bitmap of the destination's size, then
  // drawn with clFuchsia as the transparent colour, whatever the transparent
  // argument.
  StretchedFuchsiaTransparent,
};

struct NinePartPiece {
  NinePiece piece = NinePiece::TopLeft;
  NinePieceMode mode = NinePieceMode::MaskedCorner;
  bool drawn = false;  // false: width or height 0 (or less) in source or destination
  Rect source;         // in the skin frame
  Rect dest;           // relative to the destination's top-left
};

// The nine pieces in drawing order, for a skin frame of
// `skin` size drawn over a destination of `dest` size. Corners are cut to the
// smaller of their source part and destination area per axis and keep their
// outer edges; a corner not drawn counts as the empty rectangle at its
// corner of the destination (so an edge next to it reaches to that corner).
// Edges are trimmed only across their thickness, keeping the outer side; the
// centre is never trimmed.
std::array<NinePartPiece, 9> NinePartSkinPlan(Size skin, Size dest);

}  // namespace vh
