// Colour routines of the flat controls: the advanced colours that a flat
// speed button derives from its parent's colour.
#pragma once

#include "ui/color.h"

namespace vh {

enum class ShadeDirection { Lighter, Darker };

// The given colour when percent is 0; otherwise the parent colour (already
// resolved to plain red, green, blue) made lighter or darker by percent on
// the 240 lightness scale, after a fixed lift of 10. Lighter clamps at 100,
// as the original controls do, although the scale runs to 240.
Colour ShadeFromParent(Colour plainParent, Colour given, int percent, ShadeDirection direction);

}  // namespace vh
