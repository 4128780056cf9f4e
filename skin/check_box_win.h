// TsuiCheckBox: a self-drawn two-state check box. The glyph is a frame of
// the style's CHECKBOX strip chosen by Checked and Enabled, the caption
// stands to its right with a dotted focus rectangle round it, and AutoSize
// fits the control to both on every paint. OnClick fires on every change of
// Checked, by the user or by code, but not while the form is loading.
//
//   auto& box = Make<TsuiCheckBox>(&form, &form, "cbShowLine");
//   box.SetBounds(16, 40, 93, 17);
//   box.SetCaption("Show grid &lines");
//   box.OnClick = Bind(this, &TfrmOptions::cbShowLineClick);
#pragma once

#include "skin/check_box_layout.h"
#include "skin/file_theme_win.h"
#include "skin/focus_control_win.h"
#include "ui/component_win.h"

namespace vh {

class TsuiCheckBox : public TSkinFocusControl, public SkinStyled {
 public:
  TsuiCheckBox(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiCheckBox"; }
  CaptionKind TranslationKind() const override { return CaptionKind::TsuiCheckBox; }

  TsuiUIStyle UIStyle() const override { return uiStyle_; }
  void SetUIStyle(TsuiUIStyle style) override;
  TsuiFileTheme* FileTheme() const override { return theme_.get(); }
  void SetFileTheme(TsuiFileTheme* theme) override;

  bool Checked() const { return model_.Checked(); }
  void SetChecked(bool v);
  TCheckBoxState State() const { return model_.State(); }
  void SetState(TCheckBoxState state);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  // While a layout applies its stored values: changes of Checked fire
  // nothing.
  bool Loading() const { return loading_; }
  void SetLoading(bool v) { loading_ = v; }

  // The whole box into `dc` at (0, 0), through a buffer of its size; resizes
  // the control first when AutoSize.
  void PaintBox(HDC dc);

  void MouseDown(TMouseButton button, int x, int y) override;
  // Toggle; OnClick follows from the change of Checked.
  void Click() override;
  bool DialogChar(char c) override;

 protected:
  virtual bool WantsFocusRect() const;
  virtual bool GlyphTransparent() const { return false; }
  virtual int BuiltinGlyphEntry() const { return kEntryCheckBox; }
  virtual int ThemeGlyphKey() const;
  virtual void CheckedChanged();
  virtual void BeforeToggle() {}
  virtual void Toggle();
  virtual bool KeyTogglesState() const { return true; }

  void PaintBackground(Canvas& canvas, const Rect& area) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Apply(const CheckedChange& change);
  void LoadGlyph(Bitmap& glyph) const;

  CheckBoxModel model_;
  ThemeLink theme_;
  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  bool autoSize_ = true;
  bool transparent_ = false;
  bool loading_ = false;
};

}  // namespace vh
