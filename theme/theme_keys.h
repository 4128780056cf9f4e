// The 84 named keys of a theme file and the mapping from the key
// numbers that the controls ask for to those names.
#pragma once

#include <string>

namespace vh {

enum class ThemeKeyGroup { Colour, Bitmap, Integer, Boolean };

constexpr int kThemeColourKeys = 32;   // colour keys 0..31, names 0..31
constexpr int kThemeBitmapKeys = 34;   // bitmap keys 0..33, names 32..65
constexpr int kThemeIntegerKeys = 9;   // integer keys 0..8, names 66..74
constexpr int kThemeBooleanKeys = 9;   // boolean keys 0..8, names 75..83
constexpr int kThemeKeyNameCount = 84;

// Theme keys the controls of this system read.
constexpr int kThemeBitmapButton = 15;        // "SKIN2_BUTTON", 3 frames
constexpr int kThemeBitmapCheckBox = 16;      // "SKIN2_CHECKBOX", 6 frames
constexpr int kThemeBitmapProgressBar1 = 19;  // .. 22: left end, fill, background, right end
constexpr int kThemeBooleanButtonTrans = 5;   // "SKIN2_BUTTONTRANS"

// Name number 0..83 in the table's order; "" outside.
const char* ThemeKeyNameAt(int index);
// The name a key number of a group is stored under; "" for a key outside the
// group's range.
const char* ThemeKeyName(ThemeKeyGroup group, int key);

}  // namespace vh
