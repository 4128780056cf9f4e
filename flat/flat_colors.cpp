#include "flat/flat_colors.h"

namespace vh {

Colour ShadeFromParent(Colour plainParent, Colour given, int percent, ShadeDirection direction) {
  if (percent == 0) return given;
  Hls240 hls = ColourToHls240(plainParent);
  hls.lightness += 10;
  if (direction == ShadeDirection::Lighter) {
    hls.lightness += percent;
    if (hls.lightness > 100) hls.lightness = 100;
  } else {
    hls.lightness -= percent;
    if (hls.lightness < 0) hls.lightness = 0;
  }
  return Hls240ToColour(hls);
}

}  // namespace vh
