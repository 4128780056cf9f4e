// Colours of the component layer: 32-bit values in the order $00BBGGRR (low
// byte red); negative values name the platform's system colours and are
// resolved by the Win32 side. Also hue, saturation and lightness on the
// 240 scale that the flat controls shade with.
#pragma once

#include <cstdint>

namespace vh {

using Colour = std::int32_t;

constexpr Colour MakeColour(int r, int g, int b) {
  return Colour((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return c & 0xFF; }
constexpr int GreenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Colour c) { return (c >> 16) & 0xFF; }

// System colours as stored in layouts: the high bit set and the platform's
// colour index in the low byte.
constexpr Colour SystemColour(int index) { return Colour(0x80000000u | unsigned(index)); }
constexpr bool IsSystemColour(Colour c) { return c < 0; }
constexpr int SystemColourIndex(Colour c) { return c & 0xFF; }

// The platform's indexes of the system colours the controls use.
constexpr int kIndexWindow = 5;
constexpr int kIndexWindowText = 8;
constexpr int kIndexActiveCaption = 2;
constexpr int kIndexBtnFace = 15;
constexpr int kIndexBtnShadow = 16;
constexpr int kIndexBtnText = 18;
constexpr int kIndexBtnHighlight = 20;

constexpr Colour kClBlack = 0x000000;
constexpr Colour kClWhite = 0xFFFFFF;
constexpr Colour kClGray = 0x808080;
constexpr Colour kClRed = 0x0000FF;
constexpr Colour kClBlue = 0xFF0000;
// The transparent colour of the nine-part button skins.
constexpr Colour kClFuchsia = 0xFF00FF;

constexpr Colour kColourBtnFace = SystemColour(kIndexBtnFace);
constexpr Colour kColourWindowText = SystemColour(kIndexWindowText);
constexpr Colour kColourNone = 0x1FFFFFFF;  // "no colour": a label or image that draws no background

// Scale of hue, saturation and lightness used by the flat controls.
constexpr int kHslScale = 240;

struct Hls240 {
  int hue = 0;         // 0..239
  int saturation = 0;  // 0..240
  int lightness = 0;   // 0..240
};

// Standard HSL of a plain colour, hue scaled by 239 and the others by 240,
// each rounded to the nearest whole number.
Hls240 ColourToHls240(Colour plain);
// The reverse; channels rounded and kept within 0..255 even when the
// lightness lies outside the scale.
Colour Hls240ToColour(Hls240 hls);

// Lightness of a plain colour on the 240 scale (for tests and shading).
inline int Lightness240(Colour plain) { return ColourToHls240(plain).lightness; }

}  // namespace vh
