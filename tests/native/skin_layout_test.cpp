// The pure layout of the skinned controls.
#include <gtest/gtest.h>

#include "skin/button_layout.h"
#include "skin/check_box_layout.h"
#include "skin/nine_part.h"
#include "skin/panel_layout.h"
#include "skin/progress_layout.h"

namespace vh {
namespace {

const NinePartPiece& Piece(const std::array<NinePartPiece, 9>& plan, NinePiece which) {
  for (const NinePartPiece& p : plan) {
    if (p.piece == which) return p;
  }
  throw std::logic_error("piece missing");
}

// The WinXP frame (18 x 21) on an 80 x 27 button: corners kept, edges
// stretched along one axis, the middle along both.
TEST(SkinNinePart, WinXPFrameOnDefaultButton) {
  const auto plan = NinePartSkinPlan(Size{18, 21}, Size{80, 27});
  const NinePiece order[] = {NinePiece::TopLeft,     NinePiece::BottomLeft, NinePiece::LeftEdge,
                             NinePiece::TopRight,    NinePiece::BottomRight, NinePiece::RightEdge,
                             NinePiece::TopEdge,     NinePiece::Centre,     NinePiece::BottomEdge};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(plan[i].piece, order[i]) << i;
    EXPECT_TRUE(plan[i].drawn) << i;
  }
  // Corners, where they were actually drawn.
  EXPECT_EQ(Piece(plan, NinePiece::TopLeft).dest, (Rect{0, 0, 9, 10}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomLeft).dest, (Rect{0, 18, 9, 27}));
  EXPECT_EQ(Piece(plan, NinePiece::TopRight).dest, (Rect{72, 0, 80, 10}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomRight).dest, (Rect{72, 18, 80, 27}));
  EXPECT_EQ(Piece(plan, NinePiece::TopLeft).source, (Rect{0, 0, 9, 10}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomLeft).source, (Rect{0, 12, 9, 21}));
  EXPECT_EQ(Piece(plan, NinePiece::TopRight).source, (Rect{10, 0, 18, 10}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomRight).source, (Rect{10, 12, 18, 21}));
  for (NinePiece c : {NinePiece::TopLeft, NinePiece::BottomLeft, NinePiece::TopRight, NinePiece::BottomRight}) {
    EXPECT_EQ(Piece(plan, c).mode, NinePieceMode::MaskedCorner);
  }
  // Left edge: source row 10 over rows 10..17 of columns 0..8.
  EXPECT_EQ(Piece(plan, NinePiece::LeftEdge).source, (Rect{0, 10, 9, 11}));
  EXPECT_EQ(Piece(plan, NinePiece::LeftEdge).dest, (Rect{0, 10, 9, 18}));
  // Right edge: source row 11, columns 10..17, over rows 10..17 of columns 72..79.
  EXPECT_EQ(Piece(plan, NinePiece::RightEdge).source, (Rect{10, 11, 18, 12}));
  EXPECT_EQ(Piece(plan, NinePiece::RightEdge).dest, (Rect{72, 10, 80, 18}));
  // Top edge: source column 9 (rows 0..9) over columns 9..71.
  EXPECT_EQ(Piece(plan, NinePiece::TopEdge).source, (Rect{9, 0, 10, 10}));
  EXPECT_EQ(Piece(plan, NinePiece::TopEdge).dest, (Rect{9, 0, 72, 10}));
  // Centre: the single pixel (9, 10) over (9, 10, 72, 17).
  EXPECT_EQ(Piece(plan, NinePiece::Centre).source, (Rect{9, 10, 10, 11}));
  EXPECT_EQ(Piece(plan, NinePiece::Centre).dest, (Rect{9, 10, 72, 17}));
  // Bottom edge: source column 9, rows 11..20, across (8, 17, 72, 27).
  EXPECT_EQ(Piece(plan, NinePiece::BottomEdge).source, (Rect{9, 11, 10, 21}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomEdge).dest, (Rect{8, 17, 72, 27}));
  for (NinePiece e : {NinePiece::LeftEdge, NinePiece::RightEdge, NinePiece::TopEdge, NinePiece::Centre,
                      NinePiece::BottomEdge}) {
    EXPECT_EQ(Piece(plan, e).mode, NinePieceMode::StretchedFuchsiaTransparent);
  }
}

TEST(SkinNinePart, SmallDestinationTrimsCornersKeepingOuterEdges) {
  // BlueGlass frame 77 x 27 on a 20 x 10 destination.
  const auto plan = NinePartSkinPlan(Size{77, 27}, Size{20, 10});
  // TL: source (0,0,38,13), area (0,0,10,5) -> 10 x 5.
  EXPECT_EQ(Piece(plan, NinePiece::TopLeft).source, (Rect{0, 0, 10, 5}));
  EXPECT_EQ(Piece(plan, NinePiece::TopLeft).dest, (Rect{0, 0, 10, 5}));
  // BR: source (40,15,77,27), area (11,6,20,10) -> 9 x 4, bottom-right kept.
  EXPECT_EQ(Piece(plan, NinePiece::BottomRight).source, (Rect{68, 23, 77, 27}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomRight).dest, (Rect{11, 6, 20, 10}));
  // BL: source (0,15,38,27), area (0,6,10,10) -> 10 x 4.
  EXPECT_EQ(Piece(plan, NinePiece::BottomLeft).source, (Rect{0, 23, 10, 27}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomLeft).dest, (Rect{0, 6, 10, 10}));
  // Left edge: between TL and BL, rows 5..5: one row high, width 10; the
  // source (0,13,38,14) is 38 wide, trimmed to 10 keeping its left side.
  EXPECT_EQ(Piece(plan, NinePiece::LeftEdge).dest, (Rect{0, 5, 10, 6}));
  EXPECT_EQ(Piece(plan, NinePiece::LeftEdge).source, (Rect{0, 13, 10, 14}));
  // Top edge between TL and TR: TR = (11, 0, 20, 5), so the top edge is
  // column 10 only; its source is 38..40 (2 wide) and 13 high, trimmed to 5.
  EXPECT_EQ(Piece(plan, NinePiece::TopRight).dest, (Rect{11, 0, 20, 5}));
  EXPECT_EQ(Piece(plan, NinePiece::TopEdge).dest, (Rect{10, 0, 11, 5}));
  EXPECT_EQ(Piece(plan, NinePiece::TopEdge).source, (Rect{38, 0, 40, 5}));
  // Right edge keeps its right side: source (40,14,77,15) trimmed to 9 wide.
  EXPECT_EQ(Piece(plan, NinePiece::RightEdge).source, (Rect{68, 14, 77, 15}));
  // Bottom edge keeps its bottom side.
  EXPECT_EQ(Piece(plan, NinePiece::BottomEdge).dest, (Rect{9, 5, 11, 10}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomEdge).source, (Rect{38, 22, 40, 27}));
}

TEST(SkinNinePart, EmptySkinDrawsNothing) {
  const auto plan = NinePartSkinPlan(Size{0, 0}, Size{80, 27});
  for (const NinePartPiece& p : plan) EXPECT_FALSE(p.drawn) << static_cast<int>(p.piece);
  // Missing corners count as empty rectangles at their corners.
  EXPECT_EQ(Piece(plan, NinePiece::TopLeft).dest, (Rect{0, 0, 0, 0}));
  EXPECT_EQ(Piece(plan, NinePiece::BottomRight).dest, (Rect{80, 27, 80, 27}));
}

TEST(SkinNinePart, ZeroSizedButtonDrawsNothing) {
  const auto plan = NinePartSkinPlan(Size{18, 21}, Size{0, 0});
  for (const NinePartPiece& p : plan) EXPECT_FALSE(p.drawn) << static_cast<int>(p.piece);
}

TEST(SkinNinePart, PiecesStayInsideSourceAndDestinationWhenDrawn) {
  for (int sw = 0; sw <= 12; ++sw) {
    for (int sh = 0; sh <= 12; ++sh) {
      for (int dw = 0; dw <= 30; dw += 3) {
        for (int dh = 0; dh <= 30; dh += 5) {
          for (const NinePartPiece& p : NinePartSkinPlan(Size{sw, sh}, Size{dw, dh})) {
            if (!p.drawn) continue;
            EXPECT_GE(p.source.left, 0);
            EXPECT_GE(p.source.top, 0);
            EXPECT_LE(p.source.right, sw);
            EXPECT_LE(p.source.bottom, sh);
            if (p.mode == NinePieceMode::MaskedCorner) {
              EXPECT_EQ(p.source.Width(), p.dest.Width());
              EXPECT_EQ(p.source.Height(), p.dest.Height());
              EXPECT_GE(p.dest.left, 0);
              EXPECT_LE(p.dest.right, dw);
            }
          }
        }
      }
    }
  }
}

TEST(SkinButton, FrameByState) {
  EXPECT_EQ(ButtonSkinFrame(true, false, false), 1);
  EXPECT_EQ(ButtonSkinFrame(true, false, true), 2);
  EXPECT_EQ(ButtonSkinFrame(true, true, true), 3);
  EXPECT_EQ(ButtonSkinFrame(true, true, false), 3);
  EXPECT_EQ(ButtonSkinFrame(false, true, true), 1);
}

TEST(SkinButton, AutoSize) {
  EXPECT_EQ(ButtonAutoSizeForStyle(TsuiUIStyle::FromThemeFile), (Size{24, 21}));
  EXPECT_EQ(ButtonAutoSizeForStyle(TsuiUIStyle::WinXP), (Size{18, 21}));
  EXPECT_EQ(ButtonAutoSizeForStyle(TsuiUIStyle::BlueGlass), (Size{77, 27}));
  EXPECT_EQ(ButtonAutoSizeForStyle(TsuiUIStyle::MacOS), (Size{84, 23}));
  EXPECT_EQ(ButtonAutoSize(Size{0, 0}), (Size{24, 21}));
}

TEST(SkinButton, FocusAndRepeat) {
  EXPECT_EQ(ButtonFocusRect(Size{80, 27}, 2), (Rect{2, 2, 78, 25}));
  EXPECT_TRUE(ButtonFocusIsBoldCaption(TsuiUIStyle::BlueGlass));
  EXPECT_TRUE(ButtonFocusIsBoldCaption(TsuiUIStyle::MacOS));
  EXPECT_FALSE(ButtonFocusIsBoldCaption(TsuiUIStyle::WinXP));
  EXPECT_FALSE(ButtonFocusIsBoldCaption(TsuiUIStyle::DeepBlue));
  EXPECT_EQ(ButtonRepeatInterval(-5), 0);
  EXPECT_EQ(ButtonRepeatInterval(100), 100);
}

TEST(SkinButton, GlyphLayouts) {
  const Size W{80, 27}, glyph{16, 16}, text{30, 13};
  ButtonGlyphPlacement p = ButtonGlyphLayout(TButtonLayout::blGlyphLeft, W, glyph, text, 4, false);
  EXPECT_EQ(p.glyph, (Point{15, 5}));  // (80-16-30-4)/2, (27-16)/2
  EXPECT_EQ(p.caption, (Point{35, 7}));
  p = ButtonGlyphLayout(TButtonLayout::blGlyphRight, W, glyph, text, 4, false);
  EXPECT_EQ(p.glyph, (Point{49, 5}));  // (80+30+4-16)/2
  EXPECT_EQ(p.caption, (Point{15, 7}));
  p = ButtonGlyphLayout(TButtonLayout::blGlyphTop, W, glyph, text, 4, false);
  EXPECT_EQ(p.glyph, (Point{32, -3}));  // (27-13-16-4)/2 = -3 (toward zero)
  EXPECT_EQ(p.caption, (Point{25, 17}));
  p = ButtonGlyphLayout(TButtonLayout::blGlyphBottom, W, glyph, text, 4, false);
  EXPECT_EQ(p.glyph, (Point{32, 14}));  // (27+13+4-16)/2
  EXPECT_EQ(p.caption, (Point{25, -3}));
  // Down moves the glyph only.
  p = ButtonGlyphLayout(TButtonLayout::blGlyphLeft, W, glyph, text, 4, true);
  EXPECT_EQ(p.glyph, (Point{16, 6}));
  EXPECT_EQ(p.caption, (Point{35, 7}));
  // Rounding toward zero with a negative numerator: (10 - 16 - 30 - 4) / 2 = -20.
  p = ButtonGlyphLayout(TButtonLayout::blGlyphLeft, Size{11, 27}, glyph, text, 4, false);
  EXPECT_EQ(p.glyph.x, -19);
}

TEST(SkinButton, TwoImageGlyph) {
  const ButtonGlyphPlacement p =
      ButtonGlyphLayout(TButtonLayout::blGlyphLeft, Size{80, 27}, Size{32, 16}, Size{30, 13}, 4, false);
  EXPECT_EQ(p.glyphImages, 2);
  EXPECT_EQ(p.glyphSize, (Size{16, 16}));
  EXPECT_EQ(p.glyph, (Point{15, 5}));
}

TEST(SkinButton, CaptionPasses) {
  const Rect client{0, 0, 80, 27};
  auto passes = ButtonCaptionPasses(client, false, false);
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_EQ(passes[0].rect, (Rect{1, 1, 81, 28}));
  EXPECT_EQ(passes[0].colour, kClWhite);
  EXPECT_FALSE(passes[0].useFont);
  EXPECT_EQ(passes[1].rect, client);
  EXPECT_EQ(passes[1].colour, kClGray);
  passes = ButtonCaptionPasses(client, true, true);
  ASSERT_EQ(passes.size(), 1u);
  EXPECT_EQ(passes[0].rect, (Rect{1, 1, 81, 28}));
  EXPECT_TRUE(passes[0].useFont);
  passes = ButtonCaptionPasses(client, true, false);
  ASSERT_EQ(passes.size(), 1u);
  EXPECT_EQ(passes[0].rect, client);
  // Measured 20 x 13 from (0, 0): moved by (30, 7).
  EXPECT_EQ(CentreMeasuredCaption(client, Rect{0, 0, 20, 13}), (Rect{30, 7, 50, 20}));
  passes = ButtonGlyphCaptionPasses(Point{35, 7}, Size{80, 27}, false, false);
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_EQ(passes[0].rect, (Rect{36, 8, 80, 27}));
  EXPECT_EQ(passes[1].rect, (Rect{35, 7, 80, 27}));
  passes = ButtonGlyphCaptionPasses(Point{35, 7}, Size{80, 27}, true, true);
  ASSERT_EQ(passes.size(), 1u);
  EXPECT_EQ(passes[0].rect, (Rect{36, 8, 80, 27}));
}

TEST(SkinProgress, PercentDone) {
  EXPECT_EQ(PercentDone(0, 1000, 999), 99);
  EXPECT_EQ(PercentDone(0, 1000, 1200), 120);
  EXPECT_EQ(PercentDone(5, 5, 7), 0);
  EXPECT_EQ(PercentDone(0, 1000, 50), 5);
  EXPECT_EQ(PercentDone(0, 100, -50), -50);
  EXPECT_EQ(PercentDone(0, 1000, -1), 0);  // -0.1 truncated toward zero
  EXPECT_EQ(PercentDone(INT32_MIN, INT32_MAX, INT32_MAX), 100);
  EXPECT_EQ(PercentDone(0, 1, INT32_MAX), 214748364700LL);
  EXPECT_EQ(ProgressCaption(0, 100, 50), "50%");
  EXPECT_EQ(ProgressCaption(0, 1000, 999), "99%");
  EXPECT_EQ(ProgressCaption(0, 1000, 1200), "120%");
  EXPECT_EQ(ProgressCaption(3, 3, 3), "0%");
}

TEST(SkinProgress, FillLength) {
  EXPECT_EQ(FillLength(0, 1000, 50, 344), 17);
  EXPECT_EQ(FillLength(0, 1000, 1000, 344), 344);
  EXPECT_EQ(FillLength(0, 1000, 1200, 344), 344);
  EXPECT_EQ(FillLength(0, 1000, 0, 344), 0);
  EXPECT_EQ(FillLength(0, 1000, -5, 344), 0);
  EXPECT_EQ(FillLength(5, 5, 7, 344), 0);
  EXPECT_EQ(FillLength(10, 5, 7, 344), 0);
  EXPECT_EQ(FillLength(INT32_MIN, INT32_MAX, INT32_MAX - 1, 1000), 999);
}

TEST(SkinProgress, TheAnalysisDialogsBarAtFiftyOfAThousand) {
  ProgressBuiltinLayout l = ProgressHorizontalLayout(Size{345, 18}, 0, 1000, 50);
  EXPECT_EQ(l.b, 17);
  EXPECT_EQ(l.fill, (Rect{1, 1, 17, 17}));
  EXPECT_EQ(l.background, (Rect{17, 1, 344, 17}));
  EXPECT_EQ(l.border, (Rect{0, 0, 345, 18}));
  l = ProgressHorizontalLayout(Size{345, 18}, 0, 1000, 1000);
  EXPECT_EQ(l.b, 344);
  EXPECT_EQ(l.background, (Rect{344, 1, 344, 17}));
  EXPECT_TRUE(l.background.IsEmpty());
  // Min = Max: an empty bar, b = 1.
  l = ProgressHorizontalLayout(Size{345, 18}, 0, 0, 0);
  EXPECT_EQ(l.b, 1);
  EXPECT_TRUE(l.fill.IsEmpty());
}

TEST(SkinProgress, ThemeLayoutAndCaption) {
  const ProgressThemeLayout t = ProgressHorizontalThemeLayout(Size{150, 12}, 4, 5, 0, 100, 50);
  EXPECT_EQ(t.f, 70);  // (150 - 9) * 0.5 = 70.5
  EXPECT_EQ(t.leftEnd, (Rect{0, 0, 4, 12}));
  EXPECT_EQ(t.fill, (Rect{4, 0, 74, 12}));
  EXPECT_EQ(t.background, (Rect{74, 0, 145, 12}));
  EXPECT_EQ(t.rightEnd, (Rect{145, 0, 150, 12}));
  EXPECT_FALSE(ProgressShowsCaption(true, true, 0, 0));
  EXPECT_TRUE(ProgressShowsCaption(true, true, 0, 1));
  EXPECT_TRUE(ProgressShowsCaption(true, false, 0, 0));
  EXPECT_FALSE(ProgressShowsCaption(false, false, 0, 5));
  EXPECT_EQ(ProgressCaptionOrigin(Size{345, 18}, Size{21, 13}), (Point{162, 2}));
}

TEST(SkinProgress, RotateQuarterLeft) {
  // 3 x 2: rows (1 2 3) (4 5 6) become 2 x 3: (3 6) (2 5) (1 4).
  const std::vector<std::uint32_t> src = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(RotateQuarterLeft(src, 3, 2), (std::vector<std::uint32_t>{3, 6, 2, 5, 1, 4}));
  EXPECT_EQ(RotateQuarterLeftPoint(Point{0, 0}, 3), (Point{0, 2}));
  EXPECT_TRUE(RotateQuarterLeft(src, 4, 2).empty());
}

TEST(SkinProgress, ThreeBandStrip) {
  // A 10 x 12 bitmap into (4, 0, 20, 18) with band 2.
  auto bands = ThreeBandStripPlan(Size{10, 12}, Rect{4, 0, 20, 18}, 2, false);
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(bands[0].source, (Rect{0, 0, 10, 2}));
  EXPECT_EQ(bands[0].dest, (Rect{4, 0, 20, 2}));
  EXPECT_EQ(bands[1].source, (Rect{0, 10, 10, 12}));
  EXPECT_EQ(bands[1].dest, (Rect{4, 16, 20, 18}));
  EXPECT_EQ(bands[2].source, (Rect{0, 2, 10, 10}));
  EXPECT_EQ(bands[2].dest, (Rect{4, 2, 20, 16}));
  EXPECT_TRUE(ThreeBandStripPlan(Size{10, 12}, Rect{-1, 0, 20, 18}, 2, false).empty());
  // Band 0: a third of the height.
  bands = ThreeBandStripPlan(Size{10, 12}, Rect{0, 0, 5, 30}, 0, false);
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(bands[0].source, (Rect{0, 0, 10, 4}));
  // Vertical: across the width.
  bands = ThreeBandStripPlan(Size{12, 10}, Rect{0, 4, 18, 20}, 2, true);
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(bands[0].dest, (Rect{0, 4, 2, 20}));
  EXPECT_EQ(bands[1].source, (Rect{10, 0, 12, 10}));
}

TEST(SkinCheckBox, FrameByState) {
  const auto f = [](bool theme, bool checked, bool enabled) {
    const CheckBoxGlyphFrame g = CheckBoxGlyphFrameFor(theme, 3, checked, enabled);
    return std::make_pair(g.index, g.count);
  };
  EXPECT_EQ(f(false, true, true), std::make_pair(1, 4));
  EXPECT_EQ(f(false, false, true), std::make_pair(2, 4));
  EXPECT_EQ(f(false, true, false), std::make_pair(3, 4));
  EXPECT_EQ(f(false, false, false), std::make_pair(4, 4));
  EXPECT_EQ(f(true, true, true), std::make_pair(1, 6));
  EXPECT_EQ(f(true, false, true), std::make_pair(3, 6));
  EXPECT_EQ(f(true, true, false), std::make_pair(4, 6));
  EXPECT_EQ(f(true, false, false), std::make_pair(6, 6));
  // Another glyph entry never takes the theme strip.
  EXPECT_FALSE(CheckBoxGlyphFrameFor(true, 4, true, true).fromTheme);
}

TEST(SkinCheckBox, AutoSizeAndLayout) {
  // WinXP glyph 13 x 13, 8-point dialog font: "W" 13 high.
  EXPECT_EQ(CheckBoxAutoSize(Size{13, 13}, 13, 60), (Size{81, 19}));
  EXPECT_EQ(CheckBoxAutoSize(Size{15, 17}, 13, 60), (Size{83, 21}));
  const CheckBoxPaintLayout l = CheckBoxLayout(Size{81, 19}, Size{13, 13}, 13, false);
  EXPECT_EQ(l.glyph, (Point{1, 3}));
  EXPECT_EQ(l.caption, (Rect{17, 3, 81, 19}));
  EXPECT_EQ(l.captionFlags, 0x20u);
  EXPECT_EQ(l.focus, (Rect{16, 3, 81, 18}));
  // An empty glyph: the caption starts at x = 4.
  EXPECT_EQ(CheckBoxLayout(Size{93, 17}, Size{0, 0}, 13, false).caption.left, 4);
  const CheckBoxPaintLayout r = CheckBoxLayout(Size{81, 19}, Size{13, 13}, 13, true);
  EXPECT_EQ(r.glyph, (Point{67, 3}));
  EXPECT_EQ(r.caption, (Rect{0, 3, 64, 19}));
  EXPECT_EQ(r.captionFlags, 0x22u);
  EXPECT_EQ(r.focus, (Rect{0, 3, 66, 18}));
}

TEST(SkinGroupBox, ColoursAndGeometry) {
  EXPECT_EQ(GroupBoxBuiltinColours(TsuiUIStyle::DeepBlue).border, 0);
  EXPECT_EQ(GroupBoxBuiltinColours(TsuiUIStyle::DeepBlue).font, 0);
  EXPECT_EQ(GroupBoxBuiltinColours(TsuiUIStyle::WinXP).border, 0x686868);
  EXPECT_EQ(GroupBoxBuiltinColours(TsuiUIStyle::WinXP).font, 0xCF4602);
  EXPECT_EQ(GroupBoxLineY(-11), 6);
  EXPECT_EQ(GroupBoxChildArea(Rect{0, 0, 185, 105}, -11), (Rect{3, 16, 182, 102}));
  const std::vector<Point> empty = GroupBoxFrameLine(Rect{0, 0, 185, 105}, -11, 0, true, false);
  EXPECT_EQ(empty, (std::vector<Point>{{2, 6}, {0, 6}, {0, 104}, {184, 104}, {184, 6}, {0, 6}}));
  const std::vector<Point> captioned = GroupBoxFrameLine(Rect{0, 0, 185, 105}, -11, 50, false, false);
  EXPECT_EQ(captioned.back(), (Point{56, 6}));
  const std::vector<Point> rtl = GroupBoxFrameLine(Rect{0, 0, 185, 105}, -11, 50, false, true);
  EXPECT_EQ(rtl, (std::vector<Point>{{182, 6}, {184, 6}, {184, 104}, {1, 104}, {1, 6}, {128, 6}}));
  EXPECT_EQ(GroupBoxCaptionOrigin(185, 50, false), (Point{5, 0}));
  EXPECT_EQ(GroupBoxCaptionOrigin(185, 50, true), (Point{129, 0}));
}

TEST(SkinPanel, TilingAutoSizeAndFlags) {
  const std::vector<Point> tiles = PanelTileOrigins(Size{100, 50}, Size{30, 30});
  EXPECT_EQ(tiles, (std::vector<Point>{{0, 0}, {30, 0}, {60, 0}, {90, 0}, {0, 30}, {30, 30}, {60, 30}, {90, 30}}));
  EXPECT_TRUE(PanelTileOrigins(Size{100, 50}, Size{0, 30}).empty());
  EXPECT_EQ(PanelCaptionFlags(CaptionAlignment::taLeftJustify), 0x24u);
  EXPECT_EQ(PanelCaptionFlags(CaptionAlignment::taCenter), 0x25u);
  EXPECT_EQ(PanelCaptionFlags(CaptionAlignment::taRightJustify), 0x26u);
  EXPECT_EQ(ImagePanelAutoSize(Size{10, 10}, Size{40, 20}, TAlign::alNone), (Size{40, 20}));
  EXPECT_EQ(ImagePanelAutoSize(Size{10, 10}, Size{40, 20}, TAlign::alTop), (Size{10, 20}));
  EXPECT_EQ(ImagePanelAutoSize(Size{10, 10}, Size{40, 20}, TAlign::alLeft), (Size{40, 10}));
  EXPECT_EQ(ImagePanelAutoSize(Size{10, 10}, Size{40, 20}, TAlign::alClient), (Size{10, 10}));
}

TEST(SkinLinkLabel, BlankAddressOpensNothing) {
  EXPECT_FALSE(LinkLabelOpensURL(""));
  EXPECT_FALSE(LinkLabelOpensURL("  \t"));
  EXPECT_TRUE(LinkLabelOpensURL(" https://example.invalid/ "));
  EXPECT_EQ(kLinkFontHoverColour, 0x0000FF);
  EXPECT_EQ(kLinkFontLinkColour, 0xFF0000);
}

}  // namespace
}  // namespace vh
