#include "skin/skin_layout_win.h"

#include "skin/button_win.h"
#include "skin/check_box_win.h"
#include "skin/group_box_win.h"
#include "skin/image_button_win.h"
#include "skin/panel_win.h"
#include "skin/progress_bar_win.h"
#include "skin/url_label_win.h"
#include "ui/picture_win.h"

namespace vh {

namespace {

template <typename T>
T& Place(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  T& control = Make<T>(&owner, &parent, def.name);
  control.SetBounds(def.bounds.left, def.bounds.top, def.bounds.Width(), def.bounds.Height());
  ApplyCommonProps(control, def);
  return control;
}

}  // namespace

// The image button's bitmap names the three pictures' common stem:
// <stem>_NORMAL, <stem>_HOVER and <stem>_DOWN.
TComponent& MakeSuiImageButton(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& button = Place<TsuiImageButton>(owner, parent, def);
  const std::string& stem = def.props.bitmap;
  button.SetPicNormal(LoadBitmapResource((stem + "_NORMAL").c_str()));
  button.SetPicMouseOn(LoadBitmapResource((stem + "_HOVER").c_str()));
  button.SetPicMouseDown(LoadBitmapResource((stem + "_DOWN").c_str()));
  return button;
}

// The link and hover colours are kept apart from the font colour the link
// starts in, so they are set before the layout's font.
TComponent& MakeSuiURLLabel(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& link = Make<TsuiURLLabel>(&owner, &parent, def.name);
  if (def.props.linkColour != kColourNone) link.SetFontLinkColor(def.props.linkColour);
  if (def.props.hoverColour != kColourNone) link.SetFontHoverColor(def.props.hoverColour);
  link.SetTransparent(def.props.transparent);
  link.SetBounds(def.bounds.left, def.bounds.top, def.bounds.Width(), def.bounds.Height());
  ApplyCommonProps(link, def);
  return link;
}

TComponent& MakeSuiImagePanel(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return Place<TsuiImagePanel>(owner, parent, def);
}

TComponent& MakeSuiButton(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& button = Place<TsuiButton>(owner, parent, def);
  button.SetModalResult(def.props.modalResult);
  return button;
}

TComponent& MakeSuiProgressBar(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return Place<TsuiProgressBar>(owner, parent, def);
}

TComponent& MakeSuiCheckBox(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return Place<TsuiCheckBox>(owner, parent, def);
}

TComponent& MakeSuiGroupBox(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return Place<TsuiGroupBox>(owner, parent, def);
}

}  // namespace vh
