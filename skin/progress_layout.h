// Pure rules of the skinned progress bar: the percentage, the fill
// length, the rectangles painted for a horizontal bar, the caption's place,
// the quarter turn of the fill image and the three-band strip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace vh {

// 0 when Min = Max; otherwise (Position - Min) / (Max - Min) x 100 in
// floating point, truncated toward zero, unclamped (negative below Min, over
// 100 above Max). 64-bit: extreme values cannot overflow.
std::int64_t PercentDone(int min, int max, int position);
// The caption: PercentDone followed by "%" ("50%").
std::string ProgressCaption(int min, int max, int position);
// 0 when Min >= Max or Position <= Min; n when Position > Max; otherwise
// (Position - Min) / (Max - Min) x n in floating point, truncated.
int FillLength(int min, int max, int position, int n);

// A horizontal bar in a built-in style (or a theme without its three extra
// bitmaps): the picture is stretched over `fill`, `background` is filled with
// Color, and a one-pixel border is drawn round the client rectangle.
struct ProgressBuiltinLayout {
  int b = 1;        // FillLength(W - 1), at least 1
  Rect fill;        // (1, 1, b, H - 1)
  Rect background;  // (b, 1, W - 1, H - 1)
  Rect border;      // (0, 0, W, H)
};
ProgressBuiltinLayout ProgressHorizontalLayout(Size client, int min, int max, int position);

// A horizontal bar from a theme file with left end, background and right end
// bitmaps of widths lw and rw; no border. Each piece is drawn with
// DrawThreeBandStrip, band 2.
struct ProgressThemeLayout {
  int f = 0;  // FillLength(W - lw - rw)
  Rect leftEnd, fill, background, rightEnd;
};
ProgressThemeLayout ProgressHorizontalThemeLayout(Size client, int leftWidth, int rightWidth, int min, int max,
                                                  int position);

// Whether the caption is drawn: ShowCaption, and SmartShowCaption off or
// Position different from Min.
bool ProgressShowsCaption(bool showCaption, bool smartShowCaption, int min, int position);
// ((W - text width) div 2, (H - text height) div 2).
Point ProgressCaptionOrigin(Size client, Size text);

// RotateQuarterLeft: the source pixel (x, y) of a w-wide bitmap goes to
// (y, w - 1 - x) of the h-wide, w-high result.
Point RotateQuarterLeftPoint(Point source, int sourceWidth);
// The same for a whole bitmap held as rows of 32-bit pixels (w x h, row 0 on
// top); the result is h x w. A size that does not match the pixels gives an
// empty result.
std::vector<std::uint32_t> RotateQuarterLeft(const std::vector<std::uint32_t>& pixels, int width, int height);

// One stretched copy of DrawThreeBandStrip.
struct BandCopy {
  Rect source;
  Rect dest;
};
// DrawThreeBandStrip for a bitmap of `bitmap` size into `dest` with band b
// (0: a third of the bitmap's height, or width when vertical). Nothing when
// dest.left < 0. Horizontal (a bar growing left to right): the top min(b,
// dest height) rows to the top of dest, the bottom b rows to dest's bottom b
// rows, the rows between to the rows between; vertical does the same across
// the width. Copies whose source or destination would be empty are left out.
std::vector<BandCopy> ThreeBandStripPlan(Size bitmap, Rect dest, int band, bool vertical);

}  // namespace vh
