// TFlatSpeedButton: a push button without a window of its own, painted on
// its parent's surface. At rest a caption in a thin frame (or a filled face,
// by TransparentMode); hovered a raised bevel in ColorFocused; pressed a
// sunken bevel with the contents moved one pixel. It may carry a glyph of up
// to four state cells, latch down in a group, hand ModalResult to its form
// and answer its caption's accelerator.
//
// Leaving is not left to the window system: one 100 ms timer shared by every
// button polls the cursor while a button is hovered (HoverOwner).
#pragma once

#include "flat/flat_colors.h"
#include "flat/speed_button_state.h"
#include "ui/component_win.h"
#include "ui/modal_result.h"
#include "ui/layout_win.h"
#include "ui/timer_win.h"

namespace vh {

using TAdvColors = int;  // 0..100
using TNumGlyphs = int;  // 1..4

class TFlatSpeedButton : public TGraphicControl {
 public:
  TFlatSpeedButton(TComponent* owner, TWinControl* parent, std::string name);
  ~TFlatSpeedButton() override;
  const char* ClassName() const override { return "TFlatSpeedButton"; }
  CaptionKind TranslationKind() const override { return CaptionKind::TFlatSpeedButton; }

  // Colours by index: 0 ColorFocused, 1 ColorDown, 2 ColorBorder,
  // 3 ColorHighLight, 4 ColorShadow.
  Colour GetColor(int index) const { return colors_[index]; }
  void SetColor(int index, Colour c);
  Colour ColorFocused() const { return colors_[0]; }
  Colour ColorDown() const { return colors_[1]; }
  Colour ColorBorder() const { return colors_[2]; }
  Colour ColorHighLight() const { return colors_[3]; }
  Colour ColorShadow() const { return colors_[4]; }
  void SetColorFocused(Colour c) { SetColor(0, c); }
  void SetColorDown(Colour c) { SetColor(1, c); }
  void SetColorBorder(Colour c) { SetColor(2, c); }
  using TControl::SetColor;

  // Shades ColorFocused, ColorDown and ColorBorder from the parent's colour
  // by the percentages in kAdv.
  void SetUseAdvColors(bool v);

  TTransparentMode TransparentMode() const { return mode_; }
  void SetTransparentMode(TTransparentMode m);
  const Bitmap& Glyph() const { return glyph_; }
  void SetGlyph(const Bitmap& glyph);
  TNumGlyphs NumGlyphs() const { return numGlyphs_; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout l);
  int Spacing() const { return spacing_; }
  void SetSpacing(int s);
  bool Down() const { return state_.down; }
  void SetDown(bool v);
  void SetGroupIndex(int g);
  bool AllowAllUp() const { return state_.allowAllUp; }
  void SetAllowAllUp(bool v);
  vh::ModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(vh::ModalResult r) { modalResult_ = r; }

  // State, for the main window and the tests.
  FaceState GetFaceState() const { return state_.faceState; }
  bool Hovered() const { return state_.hovered; }
  bool Tracking() const { return state_.tracking; }
  Point GlyphOrigin() const { return glyphOrigin_; }
  Rect CaptionRect() const { return captionRect_; }

  static TFlatSpeedButton* HoverOwner();
  static TTimer* HoverTimer();
  static int InstanceCount();

  void Paint(Canvas& canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;
  void Click() override;
  void DblClickPress(int x, int y) override;
  bool KeyboardHold(bool held) override;

  void EnabledChanged() override;
  void GroupButtonDown(int groupIndex, TControl& sender) override;
  bool DialogChar(char c) override;
  bool Describe(AccessibleElement& e) const override;
  void SysColorChanged() override;
  void ParentColorChanged() override;

  void HoverEnter();
  void HoverLeave();
  void UpdateHover();

 private:
  void Sync() { state_.enabled = Enabled(); }
  void CalcAdvColors();
  void AnnounceDown();
  void ReleaseHoverTimer();
  void HoverTick();
  bool CursorIsOverMe() const;
  void PaintGlyph(Canvas& canvas);
  void PaintCaption(Canvas& canvas);

  SpeedButtonState state_;
  TTransparentMode mode_ = TTransparentMode::tmNone;
  Colour colors_[5];
  static constexpr TAdvColors kAdv[3] = {10, 10, 50};  // focused, down, border
  bool useAdvColors_ = false;
  Bitmap glyph_;
  TNumGlyphs numGlyphs_ = 1;
  TButtonLayout layout_ = TButtonLayout::blGlyphTop;
  static constexpr int kMargin = -1;  // -1: glyph and caption centred together
  int spacing_ = 4;
  vh::ModalResult modalResult_ = mrNone;
  Point glyphOrigin_;
  Rect captionRect_;
};

// Layout factory: transparentMode, colorFocused, colorBorder, colorDown,
// modalResult, groupIndex, allowAllUp, down, bitmap (the glyph).
TComponent& MakeFlatSpeedButton(TComponent& owner, TWinControl& parent, const ControlDef& def);

}  // namespace vh
