#include "skin/image_button_win.h"

#include "ui/form_win.h"

#include "skin/skin_paint_win.h"

namespace vh {

TsuiImageButton::TsuiImageButton(TComponent* owner, TWinControl* parent, std::string name)
    : TsuiCustomButton(owner, parent, std::move(name)) {}

void TsuiImageButton::SetPicture(int index, const Bitmap& picture) {
  pictures_[index] = picture.Clone();
  AutoSizeChanged();
  Repaint();
}

void TsuiImageButton::SetStretch(bool v) {
  stretch_ = v;
  Repaint();
}

void TsuiImageButton::AutoSizeChanged() {
  if (!Parent() || !AutoSize() || PicNormal().Empty()) return;
  SetBounds(Left(), Top(), PicNormal().Width(), PicNormal().Height());
}

void TsuiImageButton::LoadPicture(Bitmap& skin, int index) const {
  const Bitmap& chosen = pictures_[index].Empty() ? pictures_[0] : pictures_[index];
  skin = chosen.Clone();
}

void TsuiImageButton::LoadNormalSkin(Bitmap& skin) { LoadPicture(skin, 0); }
void TsuiImageButton::LoadMouseOnSkin(Bitmap& skin) { LoadPicture(skin, 1); }
void TsuiImageButton::LoadMouseDownSkin(Bitmap& skin) { LoadPicture(skin, 2); }
void TsuiImageButton::LoadDisabledSkin(Bitmap& skin) { LoadPicture(skin, 3); }

void TsuiImageButton::DrawSkin(HDC dc, const Bitmap& skin) {
  if (skin.Empty()) return;
  const Rect whole{0, 0, skin.Width(), skin.Height()};
  const Rect dest = stretch_ ? ClientRect() : whole;
  if (SkinTransparent()) {
    StretchTransparentPart(dc, skin, whole, dest, skin.Pixel(0, 0));
  } else {
    Canvas(dc).StretchDraw(skin, dest, whole);
  }
}

// The pictures show hover and press, not the focus: reached by the keyboard,
// the button shows the dotted mark as every other one does. Taken by a
// click it shows none, as Windows hides focus marks until a key is used.
void TsuiImageButton::DrawFocus(HDC dc) {
  auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(Handle(), GA_ROOT)));
  if (form && !form->FocusCuesShown()) return;
  TsuiCustomButton::DrawFocus(dc);
}

}  // namespace vh
