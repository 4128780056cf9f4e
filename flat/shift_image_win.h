// TDodShiftImage: a picture that behaves like a button. It shows
// FocusedPicture while the mouse is over it and NoFocusedPicture after the
// mouse has left, and the whole control moves two pixels right and down
// while any mouse button is held on it. Both pictures are the control's own
// copies, never the caller's objects.
#pragma once

#include "ui/controls_win.h"
#include "ui/layout_win.h"

namespace vh {

class TDodShiftImage : public TImage {
 public:
  TDodShiftImage(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TDodShiftImage"; }

  const Bitmap& FocusedPicture() const { return focused_; }
  // Copies; nothing is shown until the mouse next enters.
  void SetFocusedPicture(const Bitmap& picture);
  const Bitmap& NoFocusedPicture() const { return noFocused_; }
  // Copies; nothing is shown until the mouse next leaves.
  void SetNoFocusedPicture(const Bitmap& picture);

  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;
  // Space held moves it as a held mouse button does.
  bool KeyboardHold(bool held) override;

 private:
  Bitmap focused_;
  Bitmap noFocused_;
};

// Layout factory: bitmap is the picture at rest (also NoFocusedPicture),
// bitmap2 the hovered one.
TComponent& MakeShiftImage(TComponent& owner, TWinControl& parent, const ControlDef& def);

}  // namespace vh
