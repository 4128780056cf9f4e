// TsuiProgressBar: a self-drawn progress bar. The style's fill image is
// stretched over the done part, Color fills the rest, a one-pixel border in
// BorderColor goes round, and the percentage ("5%") is centred on top. A
// theme file with its left end, background and right end bitmaps draws the
// bar from four three-band strips instead, without a border.
//
//   auto& bar = Make<TsuiProgressBar>(&form, &form, "pbProgress");
//   bar.SetBounds(10, 40, 345, 18);
//   bar.SetMax(1000);
//   bar.SetPosition(0);          // Caption "0%"
//   bar.SetShowCaption(true);
#pragma once

#include "skin/file_theme_win.h"
#include "ui/component_win.h"

namespace vh {

enum class TsuiProgressBarOrientation : std::uint8_t { suiHorizontal = 0, suiVertical = 1 };

class TsuiProgressBar : public TWinControl, public SkinStyled {
 public:
  TsuiProgressBar(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiProgressBar"; }

  TsuiUIStyle UIStyle() const override { return uiStyle_; }
  void SetUIStyle(TsuiUIStyle style) override;
  TsuiFileTheme* FileTheme() const override { return theme_.get(); }
  void SetFileTheme(TsuiFileTheme* theme) override;

  // Each stores the value, rewrites Caption and repaints; none is clamped.
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const { return position_; }
  void SetPosition(int v);
  void SetOrientation(TsuiProgressBarOrientation o);

  const Bitmap& Picture() const { return picture_; }
  void SetPicture(const Bitmap& picture);
  using TControl::Color;
  void SetColor(Colour c);
  Colour BorderColor() const { return borderColor_; }
  void SetBorderColor(Colour c);
  void SetCaptionColor(Colour c);
  void SetShowCaption(bool v);
  void SetSmartShowCaption(bool v);

  // The whole bar into `dc` at (0, 0), through a buffer of its size.
  void PaintBar(HDC dc);

 protected:
  virtual void UIStyleChanged();
  void PaintBackground(Canvas& canvas, const Rect& area) override;

 private:
  void PositionChanged();
  bool HasThemeEnds() const;
  void PaintHorizontal(HDC dc);
  void PaintHorizontalTheme(HDC dc);
  void PaintVertical(HDC dc);
  void PaintCaption(HDC dc);

  ThemeLink theme_;
  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  static constexpr int kMin = 0;
  int max_ = 100;
  int position_ = 50;
  TsuiProgressBarOrientation orientation_ = TsuiProgressBarOrientation::suiHorizontal;
  Bitmap picture_;
  Colour borderColor_ = 0;
  Colour captionColor_ = 0;
  bool showCaption_ = true;
  bool smartShowCaption_ = false;
  // From a theme file only: left end, background, right end.
  Bitmap leftEnd_, themeBackground_, rightEnd_;
};

// A bitmap turned a quarter to the left: (x, y) goes to (y, w - 1 - x).
Bitmap RotateQuarterLeft(const Bitmap& source);

// DrawThreeBandStrip: the top and bottom `band` rows (columns when
// vertical) keep their thickness, the middle is stretched.
void DrawThreeBandStrip(const Bitmap& bitmap, HDC dc, const Rect& dest, int band, bool vertical);

}  // namespace vh
