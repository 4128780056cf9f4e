// Pure rules of the group box, the image panel and the link label:
// the group box's colours, child area, frame line and caption place;
// the panel's tiling, auto size and caption flags; the link label's colours.
#pragma once

#include <vector>

#include "skin/ui_style.h"
#include "ui/geometry.h"

namespace vh {

// BorderColor and font colour of a group box in a built-in style: entries 25
// and 27 of the effective style (DeepBlue: both black; WinXP: $686868 and
// $CF4602).
struct GroupBoxColours {
  Colour border = kClBlack;
  Colour font = kClBlack;
};
GroupBoxColours GroupBoxBuiltinColours(TsuiUIStyle effectiveStyle);
// Theme keys used instead when a theme file is in use.
constexpr int kThemeColourControl = 21;
constexpr int kThemeColourControlBorder = 22;
constexpr int kThemeColourControlFont = 23;
constexpr int kThemeColourButtonFont = 24;

// Children are aligned inside the client rectangle shrunk by 3 at the left,
// right and bottom and by |font height| + 5 at the top.
Rect GroupBoxChildArea(Rect client, int fontHeight);
// The y of the frame's top line: |font height| div 2 + 1 (6 for height -11).
int GroupBoxLineY(int fontHeight);
// The frame as a polyline (each segment drawn with LineTo, end point
// excluded), for a caption of `captionWidth` pixels (`captionEmpty` when
// Caption is empty).
std::vector<Point> GroupBoxFrameLine(Rect client, int fontHeight, int captionWidth, bool captionEmpty,
                                     bool rightToLeft);
// Caption at (5, 0), or (Width - text width - 6, 0) right to left.
Point GroupBoxCaptionOrigin(int width, int captionWidth, bool rightToLeft);

enum class TsuiDrawStyle : std::uint8_t { suiNormal = 0, suiStretch = 1, suiTile = 2 };
// The caption alignment in the order of the platform's TAlignment (ui/controls_win.h,
// which portable code cannot include); the Win32 panel converts by ordinal.
enum class CaptionAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

// suiTile: the top-left corners of the copies, at every multiple of the
// picture's size from (0, 0) until the client is covered. None for an empty
// picture.
std::vector<Point> PanelTileOrigins(Size client, Size picture);
// DrawText flags of the panel caption: 0x24 left, 0x25 centred, 0x26 right.
unsigned PanelCaptionFlags(CaptionAlignment alignment);
// Auto-size with a picture: the picture's width unless the panel is aligned
// top, bottom or client (which set the width), and the picture's height unless
// it is aligned left, right or client.
Size ImagePanelAutoSize(Size current, Size picture, TAlign align);

// Link label colours: constructor values and the pointer rule.
constexpr Colour kLinkFontHoverColour = kClRed;
constexpr Colour kLinkFontLinkColour = kClBlue;
// A click opens the address when it is not blank.
inline bool LinkLabelOpensURL(const std::string& url) { return !IsBlankText(url); }

}  // namespace vh
