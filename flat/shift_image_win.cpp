#include "flat/shift_image_win.h"

#include "ui/picture_win.h"

namespace vh {

namespace {
constexpr int kShift = 2;
}

TDodShiftImage::TDodShiftImage(TComponent* owner, TWinControl* parent, std::string name)
    : TImage(owner, parent, std::move(name)) {}

void TDodShiftImage::SetFocusedPicture(const Bitmap& picture) { focused_ = picture.Clone(); }

void TDodShiftImage::SetNoFocusedPicture(const Bitmap& picture) { noFocused_ = picture.Clone(); }

void TDodShiftImage::MouseEnter() {
  TImage::MouseEnter();
  if (Enabled()) SetPicture(focused_);
}

void TDodShiftImage::MouseLeave() {
  TImage::MouseLeave();
  if (Enabled()) SetPicture(noFocused_);
}

void TDodShiftImage::MouseDown(TMouseButton button, int x, int y) {
  TImage::MouseDown(button, x, y);
  SetBounds(Left() + kShift, Top() + kShift, Width(), Height());
}

void TDodShiftImage::MouseUp(TMouseButton button, int x, int y) {
  TImage::MouseUp(button, x, y);
  SetBounds(Left() - kShift, Top() - kShift, Width(), Height());
}

bool TDodShiftImage::KeyboardHold(bool held) {
  const int shift = held ? kShift : -kShift;
  SetBounds(Left() + shift, Top() + shift, Width(), Height());
  return true;
}

TComponent& MakeShiftImage(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& image = Make<TDodShiftImage>(&owner, &parent, def.name);
  image.SetBounds(def.bounds.left, def.bounds.top, def.bounds.Width(), def.bounds.Height());
  image.SetAutoSize(def.props.autoSize);
  if (!def.props.bitmap.empty()) {
    Bitmap rest = LoadBitmapResource(def.props.bitmap.c_str());
    image.SetPicture(rest);
    image.SetNoFocusedPicture(rest);
  }
  if (!def.props.bitmap2.empty()) image.SetFocusedPicture(LoadBitmapResource(def.props.bitmap2.c_str()));
  ApplyCommonProps(image, def);
  return image;
}

}  // namespace vh
