#include "ui/color.h"

#include <algorithm>
#include <cmath>

namespace vh {
namespace {

int Round(double v) { return int(std::lround(v)); }

double HueToChannel(double m1, double m2, double hue) {
  if (hue < 0) hue += 1;
  if (hue > 1) hue -= 1;
  if (6 * hue < 1) return m1 + (m2 - m1) * hue * 6;
  if (2 * hue < 1) return m2;
  if (3 * hue < 2) return m1 + (m2 - m1) * (2.0 / 3 - hue) * 6;
  return m1;
}

int ToByte(double fraction) { return std::clamp(Round(fraction * 255), 0, 255); }

}  // namespace

Hls240 ColourToHls240(Colour plain) {
  double r = RedOf(plain) / 255.0, g = GreenOf(plain) / 255.0, b = BlueOf(plain) / 255.0;
  double hi = std::max({r, g, b}), lo = std::min({r, g, b});
  double l = (hi + lo) / 2, h = 0, s = 0;
  if (hi != lo) {
    double d = hi - lo;
    s = l <= 0.5 ? d / (hi + lo) : d / (2 - hi - lo);
    if (hi == r) h = (g - b) / d;
    else if (hi == g) h = 2 + (b - r) / d;
    else h = 4 + (r - g) / d;
    h /= 6;
    if (h < 0) h += 1;
  }
  return Hls240{Round(h * (kHslScale - 1)), Round(s * kHslScale), Round(l * kHslScale)};
}

Colour Hls240ToColour(Hls240 hls) {
  double h = hls.hue / double(kHslScale - 1), s = hls.saturation / double(kHslScale);
  double l = hls.lightness / double(kHslScale);
  if (s == 0) return MakeColour(ToByte(l), ToByte(l), ToByte(l));
  double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  double m1 = 2 * l - m2;
  return MakeColour(ToByte(HueToChannel(m1, m2, h + 1.0 / 3)), ToByte(HueToChannel(m1, m2, h)),
                    ToByte(HueToChannel(m1, m2, h - 1.0 / 3)));
}

}  // namespace vh
