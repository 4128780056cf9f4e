// TsuiImageButton: a push button drawn from four pictures the form supplies
// (normal, mouse over, pressed, disabled); an empty one falls back to
// PicNormal. It has no style of its own: UIStyle reads FromThemeFile.
//
//   auto& minimise = Make<TsuiImageButton>(&form, &form, "bMinimize");
//   minimise.SetBounds(488, 9, 24, 24);
//   minimise.SetPicNormal(LoadBitmapResource("MINIMIZE_NORMAL"));
//   minimise.SetPicMouseOn(LoadBitmapResource("MINIMIZE_HOVER"));
//   minimise.SetPicMouseDown(LoadBitmapResource("MINIMIZE_DOWN"));
#pragma once

#include "skin/custom_button_win.h"

namespace vh {

class TsuiImageButton : public TsuiCustomButton {
 public:
  TsuiImageButton(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiImageButton"; }

  TsuiUIStyle UIStyle() const override { return TsuiUIStyle::FromThemeFile; }
  void SetUIStyle(TsuiUIStyle) override {}

  // Each setter copies the picture, runs the auto size and repaints.
  const Bitmap& PicNormal() const { return pictures_[0]; }
  void SetPicNormal(const Bitmap& picture) { SetPicture(0, picture); }
  void SetPicMouseOn(const Bitmap& picture) { SetPicture(1, picture); }
  void SetPicMouseDown(const Bitmap& picture) { SetPicture(2, picture); }

  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);

 protected:
  void AutoSizeChanged() override;
  void LoadNormalSkin(Bitmap& skin) override;
  void LoadMouseOnSkin(Bitmap& skin) override;
  void LoadMouseDownSkin(Bitmap& skin) override;
  void LoadDisabledSkin(Bitmap& skin) override;
  void DrawSkin(HDC dc, const Bitmap& skin) override;
  void DrawFocus(HDC dc) override;

 private:
  void SetPicture(int index, const Bitmap& picture);
  // The picture, or PicNormal when it is empty.
  void LoadPicture(Bitmap& skin, int index) const;

  Bitmap pictures_[4];
  bool stretch_ = false;
};

}  // namespace vh
