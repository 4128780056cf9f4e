// Drawing routines of the flat controls: the one-colour or bevelled frame
// and the embossed grey copy of a glyph for the disabled state.
#pragma once

#include "ui/gdi_win.h"

namespace vh {

// n one-pixel frames inside r, each with its top and left edges in one
// colour and its bottom and right edges in the other.
void DrawBevelFrame(Canvas& canvas, Rect r, Colour topLeft, Colour bottomRight, int n);

// The embossed picture of a glyph: background everywhere, the glyph's dark
// pixels drawn in the highlight colour one pixel down and right (when
// drawHighlight) and in the shadow colour in place.
Bitmap MakeDisabledGlyph(const Bitmap& glyph, Colour outline, Colour background, Colour highlight, Colour shadow,
                         bool drawHighlight);

}  // namespace vh
