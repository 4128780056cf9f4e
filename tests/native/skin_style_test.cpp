// The style table, its wrong-kind answers, style resolution, the
// owner form's style and the cutting of strips into frames.
#include "skin/ui_style.h"

#include <gtest/gtest.h>

#include "skin/button_layout.h"

namespace vh {
namespace {

constexpr TsuiUIStyle kStyles[] = {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue,
                                   TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass};

TEST(SkinStyleTable, EntriesReadByTheControls) {
  const std::int32_t border[] = {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000};
  const std::int32_t background[] = {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7};
  const std::int32_t caption[] = {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000};
  const bool transparent[] = {true, false, false, false, true};
  for (int s = 0; s < 5; ++s) {
    SCOPED_TRACE(UIStyleName(kStyles[s]));
    EXPECT_EQ(BuiltinThemeColor(kStyles[s], 25), border[s]);
    EXPECT_EQ(BuiltinThemeColor(kStyles[s], 26), background[s]);
    EXPECT_EQ(BuiltinThemeColor(kStyles[s], 27), caption[s]);
    EXPECT_EQ(BuiltinThemeBool(kStyles[s], 2), transparent[s]);
  }
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::WinXP, 1), "WINXP_BUTTON");
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::BlueGlass, 3), "BLUEGLASS_CHECKBOX");
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::MacOS, 24), "MACOS_PROGRESSBAR");
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::DeepBlue, 24), "DEEPBLUE_PROGRESSBAR");
}

TEST(SkinStyleTable, KindsAreTheSameForEveryStyle) {
  int counts[4] = {0, 0, 0, 0};
  for (int n = 1; n <= kBuiltinThemeEntryCount; ++n) {
    const auto kind = BuiltinThemeEntryKind(n);
    ASSERT_TRUE(kind.has_value()) << n;
    ++counts[static_cast<int>(*kind)];
    for (TsuiUIStyle s : kStyles) EXPECT_EQ(BuiltinThemeEntry(s, n).kind, *kind) << n;
  }
  // 7 integers, 17 colours, 22 bitmaps (3 of them empty names), 2 booleans.
  EXPECT_EQ(counts[0], 7);
  EXPECT_EQ(counts[1], 17);
  EXPECT_EQ(counts[2], 22);
  EXPECT_EQ(counts[3], 2);
}

TEST(SkinStyleTable, OtherEntriesSpotChecks) {
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::BlueGlass, 8), -3);
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::MacOS, 8), -2);
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::BlueGlass, 13), 270);
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::WinXP, 17), 3);
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::WinXP, 47), 0);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::WinXP, 16), 0xC82C00);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::BlueGlass, 18), 0xEC5E5E);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::WinXP, 19), 0xEFD3C6);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::WinXP, 20), 0x000000);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::BlueGlass, 21), 0xE7E7E7);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::MacOS, 23), 0x000000);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::Protein, 23), 0xCED3D6);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::MacOS, 31), 0xC9C9C9);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::WinXP, 37), 0xE1AC93);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::MacOS, 44), 0x000000);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::Protein, 48), 0xFBFBFB);
  EXPECT_TRUE(BuiltinThemeBool(TsuiUIStyle::Protein, 6));
  EXPECT_FALSE(BuiltinThemeBool(TsuiUIStyle::DeepBlue, 6));
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::WinXP, 41), "WINXP_SIDECHENNEL_HANDLE");
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::MacOS, 42), "MACOS_SIDECHENNEL_BAR");
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::Protein, 30), "PROTEIN_TRACKBAR_SLIDER_V");
}

TEST(SkinStyleTable, ScrollButtonIsSharedByThreeStyles) {
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::MacOS, 38), "MACOS_SCROLLBUTTON");
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::WinXP, 38), "WINXP_SCROLLBUTTON");
  for (TsuiUIStyle s : {TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass}) {
    EXPECT_EQ(BuiltinThemeBitmapName(s, 38), "MORE_SCROLLBUTTON");
  }
  EXPECT_EQ(BuiltinBitmapSize("MORE_SCROLLBUTTON"), (Size{72, 17}));
  EXPECT_FALSE(BuiltinBitmapSize("DEEPBLUE_SCROLLBUTTON").has_value());
}

TEST(SkinStyleTable, EmptyNamesLoadNothing) {
  for (TsuiUIStyle s : kStyles) {
    for (int n : {43, 45, 46}) {
      const BuiltinThemeValue e = BuiltinThemeEntry(s, n);
      EXPECT_EQ(e.kind, ThemeEntryKind::Bitmap);
      EXPECT_EQ(e.bitmap, "");
    }
  }
  EXPECT_FALSE(BuiltinBitmapSize("").has_value());
}

TEST(SkinStyleTable, WrongKindAnswers) {
  // Entry 1 is a bitmap, 2 a boolean, 7 an integer, 25 a colour.
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::WinXP, 1), 0);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::MacOS, 2), 0);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::MacOS, 7), 0);
  EXPECT_FALSE(BuiltinThemeBool(TsuiUIStyle::MacOS, 7));
  EXPECT_FALSE(BuiltinThemeBool(TsuiUIStyle::MacOS, 25));
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::MacOS, 25), -1);
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::MacOS, 2), -1);
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::MacOS, 1), -1);
  EXPECT_EQ(BuiltinThemeBitmapName(TsuiUIStyle::MacOS, 25), "");
}

TEST(SkinStyleTable, FromThemeFileAndBadNumbersGiveKindZeroValueMinusOne) {
  for (int n : {1, 2, 25, 47}) {
    const BuiltinThemeValue e = BuiltinThemeEntry(TsuiUIStyle::FromThemeFile, n);
    EXPECT_EQ(e.kind, ThemeEntryKind::Integer);
    EXPECT_EQ(e.value, -1);
  }
  EXPECT_EQ(BuiltinThemeInt(TsuiUIStyle::FromThemeFile, 25), -1);
  EXPECT_EQ(BuiltinThemeColor(TsuiUIStyle::FromThemeFile, 25), 0);
  EXPECT_EQ(BuiltinThemeEntry(TsuiUIStyle::WinXP, 0).value, -1);
  EXPECT_EQ(BuiltinThemeEntry(TsuiUIStyle::WinXP, 49).value, -1);
  EXPECT_EQ(BuiltinThemeEntry(static_cast<TsuiUIStyle>(9), 25).value, -1);
  EXPECT_FALSE(BuiltinThemeEntryKind(0).has_value());
}

TEST(SkinStyleTable, NamesAndPrefixes) {
  EXPECT_STREQ(UIStyleName(TsuiUIStyle::BlueGlass), "BlueGlass");
  EXPECT_EQ(UIStyleFromName("WinXP"), TsuiUIStyle::WinXP);
  EXPECT_EQ(UIStyleFromName("FromThemeFile"), TsuiUIStyle::FromThemeFile);
  EXPECT_FALSE(UIStyleFromName("winxp").has_value());
  EXPECT_STREQ(UIStyleResourcePrefix(TsuiUIStyle::DeepBlue), "DEEPBLUE");
  EXPECT_STREQ(UIStyleResourcePrefix(TsuiUIStyle::FromThemeFile), "");
}

TEST(SkinStyleBitmaps, SizesOfTheFramedStrips) {
  EXPECT_EQ(BuiltinBitmapSize("WINXP_BUTTON"), (Size{54, 21}));
  EXPECT_EQ(BuiltinBitmapSize("BLUEGLASS_BUTTON"), (Size{231, 27}));
  EXPECT_EQ(BuiltinBitmapSize("MACOS_CHECKBOX"), (Size{60, 17}));
  EXPECT_EQ(BuiltinBitmapSize("PROTEIN_TITLE_LEFT"), (Size{441, 23}));
  EXPECT_EQ(BuiltinBitmapSize("WINXP_COMBOBOX_BUTTON"), (Size{16, 18}));
  EXPECT_EQ(BuiltinBitmapSize("MACOS_MENU_SELECT"), (Size{1, 21}));
  // Every name that the table gives for a built-in style is a resource.
  for (TsuiUIStyle s : kStyles) {
    for (int n = 1; n <= kBuiltinThemeEntryCount; ++n) {
      const std::string name = BuiltinThemeBitmapName(s, n);
      if (!name.empty()) {
        EXPECT_TRUE(BuiltinBitmapSize(name).has_value()) << name;
      }
    }
  }
  // Frame sizes of the built-in strips.
  const auto frame = [](const char* name, int frames) {
    const Size s = *BuiltinBitmapSize(name);
    return Size{s.width / frames, s.height};
  };
  EXPECT_EQ(frame("WINXP_BUTTON", 3), (Size{18, 21}));
  EXPECT_EQ(frame("DEEPBLUE_BUTTON", 3), (Size{74, 21}));
  EXPECT_EQ(frame("BLUEGLASS_BUTTON", 3), (Size{77, 27}));
  EXPECT_EQ(frame("MACOS_BUTTON", 3), (Size{84, 23}));
  EXPECT_EQ(frame("WINXP_CHECKBOX", 4), (Size{13, 13}));
  EXPECT_EQ(frame("MACOS_CHECKBOX", 4), (Size{15, 17}));
}

TEST(SkinStyleResolve, Rules) {
  EXPECT_EQ(ResolveUIStyle(false, TsuiUIStyle::WinXP).style, TsuiUIStyle::WinXP);
  EXPECT_FALSE(ResolveUIStyle(true, TsuiUIStyle::WinXP).useThemeFile);
  EXPECT_TRUE(ResolveUIStyle(true, TsuiUIStyle::FromThemeFile).useThemeFile);
  const ResolvedUIStyle none = ResolveUIStyle(false, TsuiUIStyle::FromThemeFile);
  EXPECT_FALSE(none.useThemeFile);
  EXPECT_EQ(none.style, TsuiUIStyle::DeepBlue);
}

TEST(SkinStyleResolve, OwnerFormStyle) {
  EXPECT_EQ(OwnerFormUIStyle(true, {{false, TsuiUIStyle::WinXP}, {true, TsuiUIStyle::MacOS},
                                    {true, TsuiUIStyle::Protein}}),
            TsuiUIStyle::MacOS);
  EXPECT_EQ(OwnerFormUIStyle(true, {{false, TsuiUIStyle::WinXP}}), TsuiUIStyle::DeepBlue);
  EXPECT_EQ(OwnerFormUIStyle(true, {}), TsuiUIStyle::DeepBlue);
  EXPECT_EQ(OwnerFormUIStyle(false, {{true, TsuiUIStyle::MacOS}}), TsuiUIStyle::DeepBlue);
}

TEST(SkinCutFrame, BlueGlassButtonStrip) {
  const Size strip{231, 27};
  EXPECT_EQ(CutSkinFrame(strip, 3, 1), (Rect{0, 0, 77, 27}));
  EXPECT_EQ(CutSkinFrame(strip, 3, 2), (Rect{77, 0, 154, 27}));
  EXPECT_EQ(CutSkinFrame(strip, 3, 3), (Rect{154, 0, 231, 27}));
}

TEST(SkinCutFrame, LeftoverColumnsLieBetweenTheLastTwoFrames) {
  // 52 / 3 = 17: frames 0..16, 17..33, and 35..51; column 34 is never shown.
  const Size strip{52, 13};
  EXPECT_EQ(CutSkinFrame(strip, 3, 2), (Rect{17, 0, 34, 13}));
  EXPECT_EQ(CutSkinFrame(strip, 3, 3), (Rect{35, 0, 52, 13}));
  // WinXP check box: 4 frames of 13.
  EXPECT_EQ(CutSkinFrame(Size{52, 13}, 4, 3), (Rect{26, 0, 39, 13}));
  // MacOS check box: 60 / 4 = 15.
  EXPECT_EQ(CutSkinFrame(Size{60, 17}, 4, 4), (Rect{45, 0, 60, 17}));
}

TEST(SkinCutFrame, NarrowStripGivesWidthZero) {
  EXPECT_EQ(CutSkinFrame(Size{2, 10}, 3, 1).Width(), 0);
  EXPECT_EQ(CutSkinFrame(Size{2, 10}, 3, 3).Width(), 0);
  EXPECT_EQ(CutSkinFrame(Size{2, 10}, 3, 3).Height(), 10);
  EXPECT_EQ(CutSkinFrame(Size{0, 0}, 3, 1), (Rect{0, 0, 0, 0}));
}

TEST(SkinCutFrame, OutsideTheRuleIsEmpty) {
  EXPECT_TRUE(CutSkinFrame(Size{231, 27}, 0, 1).IsEmpty());
  EXPECT_TRUE(CutSkinFrame(Size{231, 27}, 3, 0).IsEmpty());
  EXPECT_TRUE(CutSkinFrame(Size{231, 27}, 3, 4).IsEmpty());
  EXPECT_TRUE(CutSkinFrame(Size{-5, 27}, 3, 1).IsEmpty());
  EXPECT_EQ(CutSkinFrame(Size{231, 27}, 1, 1), (Rect{0, 0, 231, 27}));
}

TEST(SkinText, BlankMeansOnlySpacesAndControlCharacters) {
  EXPECT_TRUE(IsBlankText(""));
  EXPECT_TRUE(IsBlankText("  \t\r\n "));
  EXPECT_FALSE(IsBlankText("  x "));
  EXPECT_FALSE(IsBlankText("\xE9"));
}

}  // namespace
}  // namespace vh

namespace vh {
namespace {

TEST(SkinBuiltinBitmapLoad, WholeOrFrame) {
  auto load = BuiltinThemeBitmapLoad(TsuiUIStyle::WinXP, kEntryButton, 2, 3);
  ASSERT_TRUE(load.has_value());
  EXPECT_EQ(load->resource, "WINXP_BUTTON");
  EXPECT_EQ(load->source, (Rect{18, 0, 36, 21}));
  load = BuiltinThemeBitmapLoad(TsuiUIStyle::DeepBlue, kEntryProgressBar, 0, 0);
  ASSERT_TRUE(load.has_value());
  EXPECT_EQ(load->source, (Rect{0, 0, 1, 10}));
  load = BuiltinThemeBitmapLoad(TsuiUIStyle::WinXP, kEntryCheckBox, 3, 4);
  ASSERT_TRUE(load.has_value());
  EXPECT_EQ(load->source, (Rect{26, 0, 39, 13}));  // checked and disabled
  EXPECT_FALSE(BuiltinThemeBitmapLoad(TsuiUIStyle::WinXP, 25, 1, 1).has_value());   // a colour entry
  EXPECT_FALSE(BuiltinThemeBitmapLoad(TsuiUIStyle::WinXP, 43, 0, 0).has_value());   // empty name
  EXPECT_FALSE(BuiltinThemeBitmapLoad(TsuiUIStyle::FromThemeFile, 1, 0, 0).has_value());
}

}  // namespace
}  // namespace vh
