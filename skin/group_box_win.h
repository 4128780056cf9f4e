// TsuiGroupBox: a frame with a caption in the colours of its skin style. It
// hands its style and theme down to the skinned controls inside it
// (ApplyStyleToChildren). Its Caption is its own: the window text stays " ".
//
//   auto& frame = Make<TsuiGroupBox>(&form, &form, "gbRestore");
//   frame.SetBounds(8, 8, 300, 70);
//   frame.SetCaption("Restore point");
//   auto& box = Make<TsuiCheckBox>(&form, &frame, "cbRestorePoint");
#pragma once

#include "skin/file_theme_win.h"
#include "skin/panel_win.h"

namespace vh {

class TsuiCustomGroupBox : public TsuiCustomPanel {
 public:
  TsuiCustomGroupBox(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiCustomGroupBox"; }
};

class TsuiGroupBox : public TsuiCustomGroupBox, public SkinStyled {
 public:
  TsuiGroupBox(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiGroupBox"; }
  CaptionKind TranslationKind() const override { return CaptionKind::TsuiGroupBox; }

  TsuiUIStyle UIStyle() const override { return uiStyle_; }
  void SetUIStyle(TsuiUIStyle style) override;
  TsuiFileTheme* FileTheme() const override { return theme_.get(); }
  void SetFileTheme(TsuiFileTheme* theme) override;

  Colour BorderColor() const { return borderColor_; }
  void SetBorderColor(Colour c);
  // Where the children are aligned: the client shrunk by 3 at the sides and
  // the bottom and by |font height| + 5 at the top.
  Rect ChildArea() const;

  // The whole group box into `dc` at (0, 0), through a buffer of its size.
  void PaintGroupBox(HDC dc);

 protected:
  virtual void UIStyleChanged(TsuiUIStyle style, TsuiFileTheme* theme);
  void TextChanged() override;
  std::string PanelText() const override { return " "; }
  void PaintBackground(Canvas& canvas, const Rect& area) override;

 private:
  ThemeLink theme_;
  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  Colour borderColor_ = 0;
};

}  // namespace vh
