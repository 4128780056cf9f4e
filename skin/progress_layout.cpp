#include "skin/progress_layout.h"

#include <algorithm>
#include <cmath>

namespace vh {
namespace {

// Trunc of a double that may lie beyond 64 bits (it cannot with 32-bit
// inputs, but the conversion must never be undefined).
std::int64_t TruncToInt64(double v) {
  if (!(v == v)) return 0;
  if (v >= 9.2e18) return INT64_MAX;
  if (v <= -9.2e18) return INT64_MIN;
  return static_cast<std::int64_t>(v);
}

}  // namespace

std::int64_t PercentDone(int min, int max, int position) {
  if (min == max) return 0;
  const double done = static_cast<double>(position) - static_cast<double>(min);
  const double range = static_cast<double>(max) - static_cast<double>(min);
  return TruncToInt64(done / range * 100.0);
}

std::string ProgressCaption(int min, int max, int position) {
  return std::to_string(PercentDone(min, max, position)) + "%";
}

int FillLength(int min, int max, int position, int n) {
  if (min >= max || position <= min) return 0;
  if (position > max) return n;
  const double done = static_cast<double>(position) - static_cast<double>(min);
  const double range = static_cast<double>(max) - static_cast<double>(min);
  // done <= range here, so the result lies between 0 and n.
  return static_cast<int>(TruncToInt64(done / range * static_cast<double>(n)));
}

ProgressBuiltinLayout ProgressHorizontalLayout(Size client, int min, int max, int position) {
  ProgressBuiltinLayout out;
  const int W = client.width, H = client.height;
  out.b = FillLength(min, max, position, W - 1);
  if (out.b == 0) out.b = 1;
  out.fill = Rect{1, 1, out.b, H - 1};
  out.background = Rect{out.b, 1, W - 1, H - 1};
  out.border = Rect{0, 0, W, H};
  return out;
}

ProgressThemeLayout ProgressHorizontalThemeLayout(Size client, int leftWidth, int rightWidth, int min, int max,
                                                  int position) {
  ProgressThemeLayout out;
  const int W = client.width, H = client.height, lw = leftWidth, rw = rightWidth;
  out.f = FillLength(min, max, position, W - lw - rw);
  out.leftEnd = Rect{0, 0, lw, H};
  out.fill = Rect{lw, 0, lw + out.f, H};
  out.background = Rect{lw + out.f, 0, W - rw, H};
  out.rightEnd = Rect{W - rw, 0, W, H};
  return out;
}

bool ProgressShowsCaption(bool showCaption, bool smartShowCaption, int min, int position) {
  return showCaption && (!smartShowCaption || position != min);
}

Point ProgressCaptionOrigin(Size client, Size text) {
  return Point{(client.width - text.width) / 2, (client.height - text.height) / 2};
}

Point RotateQuarterLeftPoint(Point source, int sourceWidth) { return Point{source.y, sourceWidth - 1 - source.x}; }

std::vector<std::uint32_t> RotateQuarterLeft(const std::vector<std::uint32_t>& pixels, int width, int height) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return {};
  }
  // Result: height wide, width high.
  std::vector<std::uint32_t> out(pixels.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Point p = RotateQuarterLeftPoint(Point{x, y}, width);
      out[static_cast<std::size_t>(p.y) * height + p.x] = pixels[static_cast<std::size_t>(y) * width + x];
    }
  }
  return out;
}

std::vector<BandCopy> ThreeBandStripPlan(Size bitmap, Rect dest, int band, bool vertical) {
  std::vector<BandCopy> out;
  if (dest.left < 0) return out;
  const int length = vertical ? bitmap.width : bitmap.height;   // across the bands
  const int span = vertical ? dest.Width() : dest.Height();
  int b = band == 0 ? length / 3 : band;
  if (b < 0) b = 0;
  const int first = std::min(b, span);
  // Along the bands, in the bitmap's and destination's coordinates.
  const auto make = [&](int s0, int s1, int d0, int d1) {
    // Never read outside the bitmap.
    s0 = std::max(s0, 0);
    s1 = std::min(s1, length);
    BandCopy c;
    if (vertical) {
      c.source = Rect{s0, 0, s1, bitmap.height};
      c.dest = Rect{dest.left + d0, dest.top, dest.left + d1, dest.bottom};
    } else {
      c.source = Rect{0, s0, bitmap.width, s1};
      c.dest = Rect{dest.left, dest.top + d0, dest.right, dest.top + d1};
    }
    if (!c.source.IsEmpty() && !c.dest.IsEmpty()) out.push_back(c);
  };
  make(0, first, 0, first);
  make(length - b, length, span - b, span);
  make(b, length - b, b, span - b);
  return out;
}

}  // namespace vh
