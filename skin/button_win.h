// TsuiButton: the skinned push button of the dialogs ("&OK", "&Cancel",
// "Stop"...). Its style's three-frame BUTTON skin is stretched over any size
// in nine parts; the caption is centred, or placed beside a glyph by Layout.
// MacOS and BlueGlass show the focus by a bold caption, the other styles by
// a dotted rectangle.
//
//   auto& ok = Make<TsuiButton>(&form, &form, "bOK");
//   ok.SetBounds(120, 200, 80, 27);
//   ok.SetCaption("&OK");
//   ok.SetModalResult(mrOk);
//   ok.SetDefault(true);
#pragma once

#include "skin/button_layout.h"
#include "skin/custom_button_win.h"

namespace vh {

class TsuiButton : public TsuiCustomButton, public SkinStyled {
 public:
  TsuiButton(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiButton"; }
  CaptionKind TranslationKind() const override { return CaptionKind::TsuiButton; }

  TsuiUIStyle UIStyle() const override { return StoredUIStyle(); }
  void SetUIStyle(TsuiUIStyle style) override { TsuiCustomButton::SetUIStyle(style); }
  TsuiFileTheme* FileTheme() const override { return Theme().get(); }
  void SetFileTheme(TsuiFileTheme* theme) override;

  const Bitmap& Glyph() const { return glyph_; }
  // Copied; a glyph twice as wide as high holds an enabled and a disabled
  // image. Its top-left pixel's colour is transparent.
  void SetGlyph(const Bitmap& glyph);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

 protected:
  void UIStyleChanged() override;
  void DrawSkin(HDC dc, const Bitmap& skin) override;
  void DrawCaption(HDC dc, const std::string& text) override;
  void DrawFocus(HDC dc) override;

 private:
  void DrawGlyph(HDC dc, const ButtonGlyphPlacement& at);

  Bitmap glyph_;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int spacing_ = 4;
  int captionX_ = 0;  // where DrawSkin placed the caption beside the glyph
  int captionY_ = 0;
};

}  // namespace vh
