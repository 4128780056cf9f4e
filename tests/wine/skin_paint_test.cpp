// The skinned controls' pixels against the real window system: the nine-part
// button skin, the progress bar's fill and border, the check box frames, the
// group box frame, theme files versus DeepBlue, and GDI hygiene.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "skin/button_win.h"
#include "skin/check_box_win.h"
#include "skin/group_box_win.h"
#include "skin/image_button_win.h"
#include "skin/panel_win.h"
#include "skin/progress_bar_win.h"
#include "skin/skin_paint_win.h"
#include "skin/url_label_win.h"
#include "tests/wine/support/skin_test_support.h"
#include "tests/wine/support/ui_test_support.h"
#include "tests/wine/support/wine_env.h"
#include "theme/bitmap_file.h"

namespace vh {
namespace {

using test::PaintClientToBitmap;

class SkinPaint : public ::testing::Test {
 protected:
  void SetUp() override { form = CreateForm<TForm>(nullptr, test::TestFormDef("frmSkin", 400, 300)); }
  template <typename T>
  T& Add(const std::string& name, TsuiUIStyle style) {
    T& c = Make<T>(form.get(), form.get(), name);
    c.SetUIStyle(style);
    return c;
  }
  std::unique_ptr<TForm> form;
};

TEST(SkinResources, EveryBuiltinBitmapIsThereInItsTableSize) {
  for (const BuiltinBitmapResource& r : BuiltinBitmapResources()) {
    HANDLE h = LoadImageA(GetModuleHandleA(nullptr), r.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(h, nullptr) << r.name;
    BITMAP info{};
    GetObject(h, sizeof(info), &info);
    DeleteObject(h);
    EXPECT_EQ((Size{info.bmWidth, std::abs(info.bmHeight)}), r.size) << r.name;
  }
  Bitmap untouched(3, 3);
  LoadBuiltinThemeBitmap(TsuiUIStyle::DeepBlue, 25, &untouched, 0, 0);  // a colour entry: nothing happens
  EXPECT_EQ(untouched.GetSize(), (Size{3, 3}));
  LoadBuiltinThemeBitmap(TsuiUIStyle::DeepBlue, 43, &untouched, 0, 0);  // an empty name: nothing loaded
  EXPECT_TRUE(untouched.Empty());
}

// The WinXP frame (18 x 21) on an 80 x 27 button lands piece by piece in the
// rectangles the nine-part plan gives.
TEST_F(SkinPaint, WinXPNinePartFrameLandsInThePlannedRectangles) {
  auto& b = Add<TsuiButton>("bXP", TsuiUIStyle::WinXP);
  b.SetBounds(10, 10, 80, 27);
  const Bitmap frame = test::BuiltinFrame(TsuiUIStyle::WinXP, kEntryButton, 1, 3);
  ASSERT_EQ(frame.GetSize(), (Size{18, 21}));
  const Bitmap shot = PaintClientToBitmap(b);
  struct Check {
    const char* piece;
    Rect dest;
    // Source pixel for a destination pixel.
    Point (*source)(int x, int y);
  };
  const Check checks[] = {
      {"top-left", Rect{0, 0, 9, 10}, [](int x, int y) { return Point{x, y}; }},
      {"bottom-left", Rect{0, 18, 9, 27}, [](int x, int y) { return Point{x, y - 6}; }},
      {"top-right", Rect{72, 0, 80, 10}, [](int x, int y) { return Point{x - 62, y}; }},
      {"bottom-right", Rect{72, 18, 80, 27}, [](int x, int y) { return Point{x - 62, y - 6}; }},
      {"left edge", Rect{0, 10, 9, 17}, [](int x, int) { return Point{x, 10}; }},
      {"right edge", Rect{72, 10, 80, 17}, [](int x, int) { return Point{x - 62, 11}; }},
      {"top edge", Rect{9, 0, 72, 10}, [](int, int y) { return Point{9, y}; }},
      {"centre", Rect{9, 10, 72, 17}, [](int, int) { return Point{9, 10}; }},
  };
  for (const Check& c : checks) {
    for (int y = c.dest.top; y < c.dest.bottom; ++y)
      for (int x = c.dest.left; x < c.dest.right; ++x) {
        const Point s = c.source(x, y);
        ASSERT_EQ(shot.Pixel(x, y), frame.Pixel(s.x, s.y)) << c.piece << " at (" << x << ", " << y << ")";
      }
  }
}

TEST_F(SkinPaint, ButtonFramesFollowHotAndDown) {
  auto& b = Add<TsuiButton>("bDB", TsuiUIStyle::DeepBlue);
  b.SetBounds(10, 10, 74, 21);  // the frame's own size: every pixel from the frame
  const Bitmap frames[3] = {test::BuiltinFrame(TsuiUIStyle::DeepBlue, kEntryButton, 1, 3),
                            test::BuiltinFrame(TsuiUIStyle::DeepBlue, kEntryButton, 2, 3),
                            test::BuiltinFrame(TsuiUIStyle::DeepBlue, kEntryButton, 3, 3)};
  EXPECT_EQ(PaintClientToBitmap(b).Pixel(37, 2), frames[0].Pixel(37, 2));
  b.MouseEnter();
  EXPECT_TRUE(b.Hot());
  EXPECT_EQ(PaintClientToBitmap(b).Pixel(37, 2), frames[1].Pixel(37, 2));
  test::Press(b, 5, 5);
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(PaintClientToBitmap(b).Pixel(37, 2), frames[2].Pixel(37, 2));
  test::Release(b, 5, 5);
  b.SetEnabled(false);
  EXPECT_EQ(PaintClientToBitmap(b).Pixel(37, 2), frames[0].Pixel(37, 2));
}

// MacOS buttons are drawn transparent: their clFuchsia corners show the form.
TEST_F(SkinPaint, TransparentMacOSButtonShowsTheParentInItsCorners) {
  auto& b = Add<TsuiButton>("bMac", TsuiUIStyle::MacOS);
  b.SetBounds(20, 20, 90, 27);
  EXPECT_TRUE(b.Transparent());
  const Bitmap frame = test::BuiltinFrame(TsuiUIStyle::MacOS, kEntryButton, 1, 3);
  ASSERT_EQ(frame.Pixel(0, 0), kClFuchsia);
  const Bitmap shot = PaintClientToBitmap(b);
  EXPECT_EQ(shot.Pixel(0, 0), test::kTestBackground);
  EXPECT_EQ(shot.Pixel(89, 26), test::kTestBackground);
  EXPECT_NE(shot.Pixel(45, 13), test::kTestBackground);
  for (int y = 0; y < 27; ++y)
    for (int x = 0; x < 90; ++x) ASSERT_NE(shot.Pixel(x, y), kClFuchsia) << x << ", " << y;
}

TEST_F(SkinPaint, FocusedBlueGlassButtonIsBoldWithoutADottedRectangle) {
  form->Show();
  auto& glass = Add<TsuiButton>("bGlass", TsuiUIStyle::BlueGlass);
  glass.SetBounds(10, 10, 90, 27);
  glass.SetCaption("OK");
  auto& xp = Add<TsuiButton>("bXP", TsuiUIStyle::WinXP);
  xp.SetBounds(10, 50, 90, 27);
  xp.SetCaption("OK");
  const Bitmap glassIdle = PaintClientToBitmap(glass), xpIdle = PaintClientToBitmap(xp);
  glass.SetFocus();
  const Bitmap glassFocused = PaintClientToBitmap(glass);
  xp.SetFocus();
  const Bitmap xpFocused = PaintClientToBitmap(xp);
  // WinXP: the dotted rectangle at the margin of 2; the caption as before.
  EXPECT_NE(xpFocused.Pixel(2, 13), xpIdle.Pixel(2, 13));
  EXPECT_EQ(xpFocused.Pixel(45, 3), xpIdle.Pixel(45, 3));
  // BlueGlass: nothing at the margin, more ink in the caption.
  EXPECT_EQ(glassFocused.Pixel(2, 13), glassIdle.Pixel(2, 13));
  EXPECT_NE(test::FirstDifference(glassFocused, glassIdle), "");
}

TEST_F(SkinPaint, ProgressBarFillBackgroundAndBorder) {
  auto& bar = Add<TsuiProgressBar>("pb", TsuiUIStyle::DeepBlue);
  bar.SetBounds(10, 10, 345, 18);
  bar.SetShowCaption(false);
  bar.SetMax(1000);
  bar.SetPosition(50);
  EXPECT_EQ(bar.Caption(), "5%");
  EXPECT_EQ(bar.Color(), 0xE8E8E8);
  EXPECT_EQ(bar.BorderColor(), 0x000000);
  Bitmap shot = PaintClientToBitmap(bar);
  const Colour fill = shot.Pixel(5, 9);
  EXPECT_NE(fill, 0xE8E8E8);
  EXPECT_EQ(shot.Pixel(16, 9), fill);      // the fill ends at b = 17
  EXPECT_EQ(shot.Pixel(17, 9), 0xE8E8E8);  // the background starts there
  EXPECT_EQ(shot.Pixel(0, 0), 0x000000);
  EXPECT_EQ(shot.Pixel(344, 17), 0x000000);
  bar.SetPosition(1200);
  EXPECT_EQ(bar.Caption(), "120%");
  shot = PaintClientToBitmap(bar);
  EXPECT_EQ(shot.Pixel(343, 9), fill);
  bar.SetPosition(999);
  EXPECT_EQ(bar.Caption(), "99%");
}

TEST_F(SkinPaint, ProgressCaptionIsCentredAndSmartCaptionHidesAtMin) {
  auto& bar = Add<TsuiProgressBar>("pb", TsuiUIStyle::WinXP);
  bar.SetBounds(10, 10, 200, 18);
  bar.SetCaptionColor(0x0000FF);
  bar.SetPosition(0);
  auto redColumns = [&] {
    Bitmap shot = PaintClientToBitmap(bar);
    Rect box{1000, 0, -1, 0};
    for (int y = 1; y < 17; ++y)
      for (int x = 1; x < 199; ++x)
        if (shot.Pixel(x, y) == 0x0000FF) box.left = std::min(box.left, x), box.right = std::max(box.right, x + 1);
    return box;
  };
  HDC dc = GetDC(nullptr);
  const int tw = TextExtent(dc, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), "0%").width;
  ReleaseDC(nullptr, dc);
  const Rect shown = redColumns();
  ASSERT_LT(shown.left, shown.right);
  EXPECT_GE(shown.left, (200 - tw) / 2);
  EXPECT_LE(shown.right, (200 - tw) / 2 + tw);
  EXPECT_LE(shown.left, (200 - tw) / 2 + 2);
  bar.SetSmartShowCaption(true);
  EXPECT_GT(redColumns().left, redColumns().right);
  bar.SetPosition(1);
  EXPECT_LT(redColumns().left, redColumns().right);
}

TEST_F(SkinPaint, SettingTheStyleResetsTheBarsColours) {
  auto& bar = Add<TsuiProgressBar>("pb", TsuiUIStyle::DeepBlue);
  bar.SetColor(0x123456);
  bar.SetUIStyle(TsuiUIStyle::WinXP);
  EXPECT_EQ(bar.Color(), 0xDEEBEF);
  EXPECT_EQ(bar.BorderColor(), 0x686868);
}

TEST_F(SkinPaint, CheckBoxShowsTheFrameOfItsState) {
  auto& box = Add<TsuiCheckBox>("cb", TsuiUIStyle::DeepBlue);
  box.SetBounds(10, 10, 120, 17);
  box.SetAutoSize(false);
  const int gy = (17 - 13) / 2;
  auto glyphMatches = [&](int frame) {
    const Bitmap expected = test::BuiltinFrame(TsuiUIStyle::DeepBlue, kEntryCheckBox, frame, 4);
    const Bitmap shot = PaintClientToBitmap(box);
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 13; ++x)
        if (shot.Pixel(1 + x, gy + y) != expected.Pixel(x, y)) return false;
    return true;
  };
  EXPECT_TRUE(glyphMatches(2));
  box.SetChecked(true);
  EXPECT_TRUE(glyphMatches(1));
  box.SetEnabled(false);
  EXPECT_TRUE(glyphMatches(3));
  EXPECT_FALSE(glyphMatches(1));
  box.SetChecked(false);
  EXPECT_TRUE(glyphMatches(4));
}

TEST_F(SkinPaint, CheckBoxAutoSizeFollowsTheCaption) {
  auto& box = Add<TsuiCheckBox>("cb", TsuiUIStyle::WinXP);
  box.SetCaption("Ask");
  PaintClientToBitmap(box);
  const int narrow = box.Width();
  // max(text height + 2, 13) + 4: 19 in the dialog font, whose text is 13
  // high; Wine's stand-in font may differ by a pixel.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, box.FontHandle());
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(box.Height(), std::max(int(tm.tmHeight) + 2, 13) + 4);
  box.SetCaption("Ask before defragmenting");
  PaintClientToBitmap(box);
  EXPECT_GT(box.Width(), narrow);
}

TEST_F(SkinPaint, DeepBlueGroupBoxLineAtSixWithTheCaptionGap) {
  auto& box = Add<TsuiGroupBox>("gb", TsuiUIStyle::DeepBlue);
  box.SetBounds(10, 10, 200, 80);
  box.SetColor(0xFFFFFF);
  Bitmap shot = PaintClientToBitmap(box);
  for (int x = 0; x < 200; ++x) ASSERT_EQ(shot.Pixel(x, 6), 0x000000) << x;
  EXPECT_EQ(shot.Pixel(0, 79), 0x000000);
  EXPECT_EQ(shot.Pixel(199, 40), 0x000000);
  EXPECT_EQ(shot.Pixel(100, 5), 0xFFFFFF);
  EXPECT_EQ(shot.Pixel(100, 7), 0xFFFFFF);

  box.SetCaption("Restore point");
  shot = PaintClientToBitmap(box);
  HDC dc = GetDC(nullptr);
  const int captionWidth = TextExtent(dc, box.FontHandle(), "Restore point").width;
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(shot.Pixel(1, 6), 0x000000);
  EXPECT_EQ(shot.Pixel(3, 6), 0xFFFFFF);  // the gap before the caption at x = 5
  EXPECT_EQ(shot.Pixel(4, 6), 0xFFFFFF);
  for (int x = captionWidth + 8; x < 200; ++x) ASSERT_EQ(shot.Pixel(x, 6), 0x000000) << x;
  bool ink = false;
  for (int x = 5; x < 5 + captionWidth; ++x)
    for (int y = 0; y < 12; ++y) ink = ink || shot.Pixel(x, y) != 0xFFFFFF;
  EXPECT_TRUE(ink);
}

TEST_F(SkinPaint, GroupBoxHandsItsStyleToItsSkinnedChildren) {
  auto& box = Add<TsuiGroupBox>("gb", TsuiUIStyle::DeepBlue);
  auto& button = Make<TsuiButton>(form.get(), &box, "b");
  auto& check = Make<TsuiCheckBox>(form.get(), &box, "c");
  auto& bar = Make<TsuiProgressBar>(form.get(), &box, "p");
  auto& inner = Make<TsuiGroupBox>(form.get(), &box, "g");
  auto& innerButton = Make<TsuiButton>(form.get(), &inner, "ib");
  box.SetUIStyle(TsuiUIStyle::WinXP);
  EXPECT_EQ(button.UIStyle(), TsuiUIStyle::WinXP);
  EXPECT_EQ(check.UIStyle(), TsuiUIStyle::WinXP);
  EXPECT_EQ(bar.UIStyle(), TsuiUIStyle::WinXP);
  EXPECT_EQ(inner.UIStyle(), TsuiUIStyle::WinXP);
  EXPECT_EQ(innerButton.UIStyle(), TsuiUIStyle::WinXP);
  EXPECT_EQ(box.BorderColor(), 0x686868);
  EXPECT_EQ(box.Font().colour, 0xCF4602);
  EXPECT_EQ(bar.Color(), 0xDEEBEF);
}

TEST_F(SkinPaint, ControlsStartInTheStyleOfTheFormsTsuiForm) {
  EXPECT_EQ(Make<TsuiButton>(form.get(), form.get(), "b1").UIStyle(), TsuiUIStyle::DeepBlue);
  Make<test::FakeTsuiForm>(form.get(), form.get(), TsuiUIStyle::MacOS);
  EXPECT_EQ(Make<TsuiButton>(form.get(), form.get(), "b2").UIStyle(), TsuiUIStyle::MacOS);
  EXPECT_EQ(Make<TsuiCheckBox>(form.get(), form.get(), "c2").UIStyle(), TsuiUIStyle::MacOS);
  EXPECT_EQ(Make<TsuiGroupBox>(form.get(), form.get(), "g2").UIStyle(), TsuiUIStyle::MacOS);
}

TEST_F(SkinPaint, ImagePanelLineTilesAndStretches) {
  auto& line = Make<TsuiImagePanel>(form.get(), form.get(), "line");
  line.SetBounds(0, 0, 100, 1);
  line.SetColor(SystemColour(kIndexActiveCaption));
  Bitmap shot = PaintClientToBitmap(line);
  for (int x = 0; x < 100; ++x) ASSERT_EQ(shot.Pixel(x, 0), Colour(GetSysColor(COLOR_ACTIVECAPTION))) << x;

  auto& tiles = Make<TsuiImagePanel>(form.get(), form.get(), "tiles");
  tiles.SetBounds(0, 10, 100, 50);
  Bitmap tile(30, 30, 0x00FF00);
  tile.SetPixel(0, 0, 0x0000FF);
  tiles.SetPicture(tile);
  tiles.SetDrawStyle(TsuiDrawStyle::suiTile);
  shot = PaintClientToBitmap(tiles);
  for (int x : {0, 30, 60, 90})
    for (int y : {0, 30}) EXPECT_EQ(shot.Pixel(x, y), 0x0000FF) << x << ", " << y;
  EXPECT_EQ(shot.Pixel(99, 49), 0x00FF00);

  tiles.SetAutoSize(true);
  EXPECT_EQ(tiles.Width(), 30);
  EXPECT_EQ(tiles.Height(), 30);
}

// With no theme, FromThemeFile draws every pixel as DeepBlue does.
TEST_F(SkinPaint, FromThemeFileWithoutAThemeDrawsExactlyLikeDeepBlue) {
  auto pair = [&](auto& a, auto& b, const char* what) {
    a.SetBounds(0, 0, 120, 27);
    b.SetBounds(0, 40, 120, 27);
    a.SetCaption("&Yes");
    b.SetCaption("&Yes");
    EXPECT_EQ(test::FirstDifference(PaintClientToBitmap(a), PaintClientToBitmap(b)), "") << what;
  };
  pair(Add<TsuiButton>("b1", TsuiUIStyle::FromThemeFile), Add<TsuiButton>("b2", TsuiUIStyle::DeepBlue), "button");
  pair(Add<TsuiCheckBox>("c1", TsuiUIStyle::FromThemeFile), Add<TsuiCheckBox>("c2", TsuiUIStyle::DeepBlue),
       "check box");
  pair(Add<TsuiGroupBox>("g1", TsuiUIStyle::FromThemeFile), Add<TsuiGroupBox>("g2", TsuiUIStyle::DeepBlue),
       "group box");
  auto& p1 = Add<TsuiProgressBar>("p1", TsuiUIStyle::FromThemeFile);
  auto& p2 = Add<TsuiProgressBar>("p2", TsuiUIStyle::DeepBlue);
  p1.SetBounds(0, 0, 150, 12);
  p2.SetBounds(0, 20, 150, 12);
  EXPECT_EQ(test::FirstDifference(PaintClientToBitmap(p1), PaintClientToBitmap(p2)), "") << "progress bar";
}

class SkinTheme : public SkinPaint {
 protected:
  test::ScratchFolder folder;
};

TEST_F(SkinTheme, ThemedControlsDrawFromTheFileAndFallBackWhenItGoes) {
  auto* theme = &Make<TsuiFileTheme>(form.get(), "theme");
  theme->SetThemeFile(test::WriteTestThemeFile(folder.path()));
  ASSERT_TRUE(theme->Ready());
  auto& button = Add<TsuiButton>("b", TsuiUIStyle::FromThemeFile);
  auto& box = Add<TsuiCheckBox>("c", TsuiUIStyle::FromThemeFile);
  auto& bar = Add<TsuiProgressBar>("p", TsuiUIStyle::FromThemeFile);
  auto& group = Add<TsuiGroupBox>("g", TsuiUIStyle::FromThemeFile);
  button.SetBounds(0, 0, 80, 27);
  box.SetBounds(0, 40, 120, 17);
  box.SetAutoSize(false);
  bar.SetBounds(0, 60, 150, 12);
  button.SetFileTheme(theme);
  box.SetFileTheme(theme);
  bar.SetFileTheme(theme);
  group.SetFileTheme(theme);

  EXPECT_EQ(PaintClientToBitmap(button).Pixel(40, 13), test::kThemeButtonFrame[0]);
  EXPECT_EQ(button.Font().colour, test::kThemeButtonFont);
  EXPECT_FALSE(button.Transparent());
  EXPECT_EQ(PaintClientToBitmap(box).Pixel(5, 6), test::kThemeCheckFrame[2]);  // unchecked: frame 3 of 6
  box.SetChecked(true);
  EXPECT_EQ(PaintClientToBitmap(box).Pixel(5, 6), test::kThemeCheckFrame[0]);
  box.SetEnabled(false);
  EXPECT_EQ(PaintClientToBitmap(box).Pixel(5, 6), test::kThemeCheckFrame[3]);
  EXPECT_EQ(bar.Color(), test::kThemeControl);
  EXPECT_EQ(bar.BorderColor(), test::kThemeBorder);
  EXPECT_EQ(PaintClientToBitmap(bar).Pixel(10, 6), test::kThemeFill);
  EXPECT_EQ(group.BorderColor(), test::kThemeBorder);

  delete theme;
  for (SkinStyled* c : std::initializer_list<SkinStyled*>{&button, &box, &bar, &group}) {
    EXPECT_EQ(c->FileTheme(), nullptr);
    EXPECT_EQ(c->UIStyle(), TsuiUIStyle::DeepBlue);
  }
  auto& reference = Add<TsuiButton>("ref", TsuiUIStyle::DeepBlue);
  reference.SetBounds(0, 100, 80, 27);
  EXPECT_EQ(test::FirstDifference(PaintClientToBitmap(button), PaintClientToBitmap(reference)), "");
  EXPECT_EQ(group.BorderColor(), 0x000000);
  EXPECT_EQ(bar.Color(), 0xE8E8E8);
}

// The environment variables of the temporary folder unset for one test, in
// the C runtime's copy and the process's both, and set back afterwards.
class NoTemporaryFolderVariables {
 public:
  NoTemporaryFolderVariables() {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::string(name) + "=" + value : "");
      _putenv((std::string(name) + "=").c_str());
      SetEnvironmentVariableA(name, nullptr);
    }
  }
  ~NoTemporaryFolderVariables() {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i].empty()) continue;
      _putenv(saved_[i].c_str());
      SetEnvironmentVariableA(kNames[i], saved_[i].substr(saved_[i].find('=') + 1).c_str());
    }
  }

 private:
  static constexpr const char* kNames[] = {"TMP", "TEMP", "TMPDIR"};
  std::vector<std::string> saved_;
};

TEST_F(SkinTheme, TheReaderUsesTheSystemTemporaryFolderNeverTheCurrentOne) {
  const std::string path = test::WriteTestThemeFile(folder.path());
  // The current folder may be the program's own under Program Files.
  test::ScratchFolder current;
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(current.path().c_str()));
  HANDLE changes = FindFirstChangeNotificationA(current.path().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(changes, INVALID_HANDLE_VALUE);
  {
    NoTemporaryFolderVariables unset;
    auto& theme = Make<TsuiFileTheme>(form.get(), "theme");
    theme.SetThemeFile(path);
    EXPECT_TRUE(theme.Ready());
  }
  EXPECT_EQ(WaitForSingleObject(changes, 300), DWORD(WAIT_TIMEOUT)) << "a file came and went in the current folder";
  FindCloseChangeNotification(changes);
  SetCurrentDirectoryA(previous);
}

TEST_F(SkinTheme, LoadingAThemeRefreshesTheFormsControlsAndBadFilesLeaveItUnready) {
  auto& theme = Make<TsuiFileTheme>(form.get(), "theme");
  auto& bar = Add<TsuiProgressBar>("p", TsuiUIStyle::FromThemeFile);
  bar.SetFileTheme(&theme);
  EXPECT_EQ(bar.Color(), 0xE8E8E8);  // not ready: DeepBlue
  theme.SetThemeFile(folder.File("missing.sk2"));
  EXPECT_FALSE(theme.Ready());
  test::WriteFileText(folder.File("junk.sk2"), "SK this is not an archive at all, but it is long enough......");
  theme.SetThemeFile(folder.File("junk.sk2"));
  EXPECT_FALSE(theme.Ready());
  theme.SetThemeFile(test::WriteTestThemeFile(folder.path(), "secret"));
  EXPECT_FALSE(theme.Ready());  // encrypted, no password
  theme.SetPassword("secret");
  EXPECT_TRUE(theme.Ready());
  EXPECT_EQ(bar.Color(), test::kThemeControl);  // refreshed by the load
  EXPECT_TRUE(theme.GetThemeBitmap(kThemeBitmapButton).GetSize() == (Size{60, 21}));
  EXPECT_TRUE(theme.GetThemeBitmap(0).Empty());
}

TEST(SkinBitmaps, BitmapBytesDecodeAndJunkGivesNothing) {
  std::vector<std::uint32_t> px = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
  const Bitmap b = DecodeBitmapFile(MakeBitmapFile(2, 2, px));
  ASSERT_EQ(b.GetSize(), (Size{2, 2}));
  EXPECT_EQ(b.Pixel(0, 0), 0x0000FF);
  EXPECT_EQ(b.Pixel(1, 1), 0xFFFFFF);
  EXPECT_TRUE(DecodeBitmapFile({'B', 'M', 1, 2, 3}).Empty());
}

// A 4 x 1 run-length bitmap: four pixels of palette entry 1, then the end.
std::vector<std::uint8_t> Rle8Bitmap(std::uint32_t sizeImage) {
  std::vector<std::uint8_t> f(66, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, 66);
  put32(10, 62);
  put32(14, 40);
  put32(18, 4);
  put32(22, 1);
  f[26] = 1;   // planes
  f[28] = 8;   // bits
  put32(30, 1);  // RLE8
  put32(34, sizeImage);
  put32(46, 2);  // colours used
  put32(58, 0x0000FF);  // entry 1: blue (the file keeps blue, green, red)
  f[62] = 4, f[63] = 1, f[64] = 0, f[65] = 1;
  return f;
}

TEST(SkinBitmaps, RunLengthDataMustEndInsideTheBytes) {
  const Bitmap good = DecodeBitmapFile(Rle8Bitmap(4));
  ASSERT_EQ(good.GetSize(), (Size{4, 1}));
  EXPECT_EQ(good.Pixel(3, 0), 0xFF0000);
  EXPECT_TRUE(DecodeBitmapFile(Rle8Bitmap(100000)).Empty());
  EXPECT_TRUE(DecodeBitmapFile(Rle8Bitmap(0)).Empty());
}

TEST(SkinBitmaps, CutAndTurn) {
  Bitmap strip(231, 2, 0);
  strip.SetPixel(76, 0, 0x0000FF);
  strip.SetPixel(154, 0, 0x00FF00);
  Bitmap frame;
  CutSkinFrame(strip, frame, 3, 1);
  EXPECT_EQ(frame.GetSize(), (Size{77, 2}));
  EXPECT_EQ(frame.Pixel(76, 0), 0x0000FF);
  CutSkinFrame(strip, frame, 3, 3);
  EXPECT_EQ(frame.Pixel(0, 0), 0x00FF00);
  CutSkinFrame(Bitmap(2, 2), frame, 3, 1);
  EXPECT_TRUE(frame.Empty());

  Bitmap wide(3, 2, 0);
  wide.SetPixel(0, 0, 0x0000FF);  // top-left goes to the bottom-left
  const Bitmap turned = RotateQuarterLeft(wide);
  EXPECT_EQ(turned.GetSize(), (Size{2, 3}));
  EXPECT_EQ(turned.Pixel(0, 2), 0x0000FF);
}

TEST(SkinHygiene, ManyControlsAndPaintsLeaveNoGdiObjectBehind) {
  auto form = CreateForm<TForm>(nullptr, test::TestFormDef("frmLeak"));
  auto round = [&] {
    auto& b = Make<TsuiButton>(form.get(), form.get(), "b");
    b.SetCaption("&OK");
    auto& glass = Make<TsuiButton>(form.get(), form.get(), "g");
    glass.SetUIStyle(TsuiUIStyle::BlueGlass);
    glass.SetGlyph(Bitmap(32, 16, 0xFFFFFF));
    glass.SetEnabled(false);
    auto& c = Make<TsuiCheckBox>(form.get(), form.get(), "c");
    c.SetCaption("Check");
    c.SetTransparent(true);
    auto& p = Make<TsuiProgressBar>(form.get(), form.get(), "p");
    auto& g = Make<TsuiGroupBox>(form.get(), form.get(), "gb");
    g.SetCaption("Group");
    auto& i = Make<TsuiImageButton>(form.get(), form.get(), "i");
    i.SetPicNormal(Bitmap(20, 20, 0x00FF00));
    auto& panel = Make<TsuiImagePanel>(form.get(), form.get(), "ip");
    panel.SetPicture(Bitmap(8, 8));
    panel.SetDrawStyle(TsuiDrawStyle::suiTile);
    auto& l = Make<TsuiURLLabel>(form.get(), form.get(), "l");
    for (int k = 0; k < 5; ++k) {
      for (TWinControl* w : std::initializer_list<TWinControl*>{&b, &glass, &c, &p, &g, &i, &panel})
        PaintClientToBitmap(*w);
      l.MouseEnter();
      l.MouseLeave();
    }
    delete &l;
    delete &panel;
    delete &i;
    delete &g;
    delete &p;
    delete &c;
    delete &glass;
    delete &b;
  };
  round();  // warms the caches of the system
  const DWORD before = test::GdiObjects();
  for (int n = 0; n < 40; ++n) round();
  EXPECT_EQ(test::GdiObjects(), before);
}

}  // namespace
}  // namespace vh
