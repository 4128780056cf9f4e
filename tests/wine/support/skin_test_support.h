// Helpers for the Wine tests of the skinned controls: comparing renderings,
// the built-in frames as the resources hold them, and theme files with
// solid, distinctly coloured frames.
#pragma once

#include <string>

#include "skin/file_theme_win.h"
#include "ui/gdi_win.h"

namespace vh::test {

// The first pixel where two renderings differ, or none: "(x, y) a != b".
std::string FirstDifference(const Bitmap& a, const Bitmap& b);

// Frame k of n of a built-in entry, cut from the executable's resource.
Bitmap BuiltinFrame(TsuiUIStyle style, int entry, int frame, int frames);

// Colours of the test theme file.
constexpr Colour kThemeButtonFrame[3] = {0x0000C0, 0x00C000, 0xC00000};
constexpr Colour kThemeCheckFrame[6] = {0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060};
constexpr Colour kThemeControl = 0x00DDEE;
constexpr Colour kThemeBorder = 0x7700AA;
constexpr Colour kThemeFont = 0x3366FF;
constexpr Colour kThemeButtonFont = 0x00AA11;
constexpr Colour kThemeFill = 0x11AA00;

// Writes a theme file with a button strip (3 frames of 20 x 21 in
// kThemeButtonFrame), a check box strip (6 frames of 13 x 13), a progress
// fill (4 x 10) and the control colours above; returns its path.
std::string WriteTestThemeFile(const std::string& folder, const std::string& password = "");

// A control of class TsuiForm with a style: what OwnerFormUIStyle looks for.
class FakeTsuiForm : public TWinControl, public SkinStyled {
 public:
  FakeTsuiForm(TComponent* owner, TWinControl* parent, TsuiUIStyle style);
  const char* ClassName() const override { return "TsuiForm"; }
  bool IsSkinForm() const override { return true; }
  TsuiUIStyle UIStyle() const override { return style_; }
  void SetUIStyle(TsuiUIStyle s) override { style_ = s; }
  TsuiFileTheme* FileTheme() const override { return nullptr; }
  void SetFileTheme(TsuiFileTheme*) override {}

 private:
  TsuiUIStyle style_;
};

}  // namespace vh::test
