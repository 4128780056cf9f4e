#include "skin/nine_part.h"

#include <algorithm>

namespace vh {
namespace {

int NonNegative(int v) { return v < 0 ? 0 : v; }

enum class Corner { TopLeft, BottomLeft, TopRight, BottomRight };

// Trims the corner's source part and destination area to the smaller size per
// axis, keeping the outer edges, and places it unscaled at its corner.
NinePartPiece PlaceCorner(NinePiece piece, Corner corner, Rect source, Rect area, Size dest) {
  NinePartPiece out;
  out.piece = piece;
  out.mode = NinePieceMode::MaskedCorner;
  const int w = std::min(NonNegative(source.Width()), NonNegative(area.Width()));
  const int h = std::min(NonNegative(source.Height()), NonNegative(area.Height()));
  const bool left = corner == Corner::TopLeft || corner == Corner::BottomLeft;
  const bool top = corner == Corner::TopLeft || corner == Corner::TopRight;
  out.drawn = w > 0 && h > 0;
  if (out.drawn) {
    out.source.left = left ? source.left : source.right - w;
    out.source.right = out.source.left + w;
    out.source.top = top ? source.top : source.bottom - h;
    out.source.bottom = out.source.top + h;
    out.dest.left = left ? 0 : dest.width - w;
    out.dest.top = top ? 0 : dest.height - h;
    out.dest.right = out.dest.left + w;
    out.dest.bottom = out.dest.top + h;
  } else {
    // Not drawn: the empty rectangle at its corner of the destination.
    const int x = left ? 0 : dest.width;
    const int y = top ? 0 : dest.height;
    out.source = Rect{};
    out.dest = Rect{x, y, x, y};
  }
  return out;
}

enum class Side { Left, Right, Top, Bottom, None };

// Stretched piece; trimmed across its thickness when the source part is
// thicker than the destination, keeping the outer side.
NinePartPiece PlaceStretched(NinePiece piece, Side side, Rect source, Rect dest, Size skin, Size canvas) {
  // The table's source parts can pass the skin's edge by a row or column
  // when the skin is 1 or 2 pixels thin; never read outside it.
  source.left = std::max(source.left, 0);
  source.top = std::max(source.top, 0);
  source.right = std::min(source.right, skin.width);
  source.bottom = std::min(source.bottom, skin.height);
  NinePartPiece out;
  out.piece = piece;
  out.mode = NinePieceMode::StretchedFuchsiaTransparent;
  switch (side) {
    case Side::Left:
      if (source.Width() > dest.Width()) source.right = source.left + NonNegative(dest.Width());
      break;
    case Side::Right:
      if (source.Width() > dest.Width()) source.left = source.right - NonNegative(dest.Width());
      break;
    case Side::Top:
      if (source.Height() > dest.Height()) source.bottom = source.top + NonNegative(dest.Height());
      break;
    case Side::Bottom:
      if (source.Height() > dest.Height()) source.top = source.bottom - NonNegative(dest.Height());
      break;
    case Side::None:
      break;
  }
  out.source = source;
  out.dest = dest;
  // Not drawn when empty, or when it lies wholly off the destination (the
  // bottom edge starts one pixel up and left of its corners).
  const bool onCanvas = dest.right > 0 && dest.bottom > 0 && dest.left < canvas.width && dest.top < canvas.height;
  out.drawn = !source.IsEmpty() && !dest.IsEmpty() && onCanvas;
  return out;
}

}  // namespace

std::array<NinePartPiece, 9> NinePartSkinPlan(Size skin, Size dest) {
  const int sw = skin.width, sh = skin.height, dw = dest.width, dh = dest.height;
  const int hw = sw / 2, hh = sh / 2, dw2 = dw / 2, dh2 = dh / 2;

  const NinePartPiece tl =
      PlaceCorner(NinePiece::TopLeft, Corner::TopLeft, Rect{0, 0, hw, hh}, Rect{0, 0, dw2, dh2}, dest);
  const NinePartPiece bl = PlaceCorner(NinePiece::BottomLeft, Corner::BottomLeft, Rect{0, sh - hh + 1, hw, sh},
                                       Rect{0, dh - dh2 + 1, dw2, dh}, dest);
  const Rect TL = tl.dest, BL = bl.dest;
  const NinePartPiece left =
      PlaceStretched(NinePiece::LeftEdge, Side::Left, Rect{0, hh, hw, sh - hh}, Rect{0, TL.bottom, TL.right, BL.top}, skin, dest);
  const NinePartPiece tr = PlaceCorner(NinePiece::TopRight, Corner::TopRight, Rect{sw - hw + 1, 0, sw, hh},
                                       Rect{dw - dw2 + 1, 0, dw, dh2}, dest);
  const NinePartPiece br = PlaceCorner(NinePiece::BottomRight, Corner::BottomRight,
                                       Rect{sw - hw + 1, sh - hh + 1, sw, sh}, Rect{dw - dw2 + 1, dh - dh2 + 1, dw, dh},
                                       dest);
  const Rect TR = tr.dest, BR = br.dest;
  const NinePartPiece right = PlaceStretched(NinePiece::RightEdge, Side::Right, Rect{sw - hw + 1, sh - hh, sw, hh + 2},
                                             Rect{TR.left, TR.bottom, TR.right, BR.top}, skin, dest);
  const NinePartPiece top = PlaceStretched(NinePiece::TopEdge, Side::Top, Rect{hw, 0, sw - hw + 1, hh},
                                           Rect{TL.right, 0, TR.left, TL.bottom}, skin, dest);
  const NinePartPiece centre = PlaceStretched(NinePiece::Centre, Side::None, Rect{hw, hh, sw - hw + 1, sh - hh},
                                              Rect{TL.right, TL.bottom, TR.left, BR.top - 1}, skin, dest);
  const NinePartPiece bottom = PlaceStretched(NinePiece::BottomEdge, Side::Bottom, Rect{hw, sh - hh, sw - hw + 1, sh},
                                              Rect{TL.right - 1, BL.top - 1, BR.left, BR.bottom}, skin, dest);
  return {tl, bl, left, tr, br, right, top, centre, bottom};
}

}  // namespace vh
