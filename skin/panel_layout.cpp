#include "skin/panel_layout.h"

#include <cstdlib>

namespace vh {

GroupBoxColours GroupBoxBuiltinColours(TsuiUIStyle effectiveStyle) {
  return GroupBoxColours{BuiltinThemeColor(effectiveStyle, kEntryBorderColour),
                         BuiltinThemeColor(effectiveStyle, kEntryGroupCaptionColour)};
}

Rect GroupBoxChildArea(Rect client, int fontHeight) {
  return Rect{client.left + 3, client.top + std::abs(fontHeight) + 5, client.right - 3, client.bottom - 3};
}

int GroupBoxLineY(int fontHeight) { return std::abs(fontHeight) / 2 + 1; }

std::vector<Point> GroupBoxFrameLine(Rect client, int fontHeight, int captionWidth, bool captionEmpty,
                                     bool rightToLeft) {
  const int y = GroupBoxLineY(fontHeight);
  const int L = client.left, R = client.right, B = client.bottom;
  if (!rightToLeft) {
    return {{L + 2, y}, {L, y}, {L, B - 1}, {R - 1, B - 1}, {R - 1, y}, {captionEmpty ? L : L + captionWidth + 6, y}};
  }
  return {{R - 3, y},     {R - 1, y}, {R - 1, B - 1}, {L + 1, B - 1},
          {L + 1, y},     {captionEmpty ? R - 1 : R - captionWidth - 7, y}};
}

Point GroupBoxCaptionOrigin(int width, int captionWidth, bool rightToLeft) {
  return rightToLeft ? Point{width - captionWidth - 6, 0} : Point{5, 0};
}

std::vector<Point> PanelTileOrigins(Size client, Size picture) {
  std::vector<Point> out;
  if (picture.width <= 0 || picture.height <= 0) return out;
  for (int y = 0; y < client.height; y += picture.height) {
    for (int x = 0; x < client.width; x += picture.width) out.push_back(Point{x, y});
  }
  return out;
}

unsigned PanelCaptionFlags(CaptionAlignment alignment) {
  switch (alignment) {
    case CaptionAlignment::taLeftJustify:
      return 0x24;
    case CaptionAlignment::taRightJustify:
      return 0x26;
    case CaptionAlignment::taCenter:
      break;
  }
  return 0x25;
}

Size ImagePanelAutoSize(Size current, Size picture, TAlign align) {
  Size out = current;
  if (align != TAlign::alTop && align != TAlign::alBottom && align != TAlign::alClient) out.width = picture.width;
  if (align != TAlign::alLeft && align != TAlign::alRight && align != TAlign::alClient) out.height = picture.height;
  return out;
}

}  // namespace vh
