// Layouts as data: one table per window, each row a control with its name,
// kind (a factory), parent, bounds, caption and properties, instantiated in
// table order, which is the creation order the form's Components() keeps.
//
//   static const std::vector<ControlDef> kLayout = {
//     {"lTitle", MakeLabel, "", MakeRect(17, 12, 197, 16), "Varnhold", {.bold = true, .transparent = true}},
//     {"bExit", MakeFlatSpeedButton, "", MakeRect(16, 314, 35, 25), "Exit", {.hint = "Exit", .showHint = true}},
//   (designated initializers in the order LayoutProps declares its fields)
//   };
//   InstantiateLayout(form, kLayout, kMenus);
#pragma once

#include <string>
#include <vector>

#include "ui/component_win.h"
#include "ui/controls_win.h"
#include "ui/glyph_layout.h"
#include "ui/modal_result.h"

namespace vh {

struct ControlDef;
using ControlFactory = TComponent& (*)(TComponent& owner, TWinControl& parent, const ControlDef& def);

// Properties a row may set; each kind reads those that concern it. Zero or
// empty values mean "as the kind's default".
struct LayoutProps {
  std::string hint;
  bool showHint = false;
  bool hidden = false;
  bool disabled = false;
  bool handCursor = false;
  std::string popupMenu;  // name of a menu of the same layout
  // Font: changes to the parent's font.
  bool bold = false;
  bool underline = false;
  int fontHeight = 0;
  Colour fontColour = kColourNone;
  Colour color = kColourNone;  // kColourNone: the parent's
  // Labels and pictures.
  TAlignment alignment = TAlignment::taLeftJustify;
  bool transparent = false;
  Colour linkColour = kColourNone;   // link labels: after the pointer leaves
  Colour hoverColour = kColourNone;  // link labels: under the pointer
  bool fixedSize = false;  // labels: keep the given size instead of the caption's
  bool wordWrap = false;
  bool autoSize = false;   // pictures
  bool stretch = false;
  std::string bitmap;      // BITMAP resource shown by a picture
  std::string jpeg;        // RCDATA JPEG resource shown by a picture
  std::string bitmap2;     // second picture (the hover image's hovered one)
  // List views.
  std::vector<TListColumn> columns;
  bool gridLines = false;
  // Panels.
  TBevelCut bevelOuter = TBevelCut::bvRaised;
  TBevelCut bevelInner = TBevelCut::bvNone;
  // Timers.
  unsigned interval = 1000;
  bool timerDisabled = false;
  // Flat speed buttons.
  TTransparentMode transparentMode = TTransparentMode::tmNone;
  Colour colorFocused = kColourNone;
  Colour colorBorder = kColourNone;
  Colour colorDown = kColourNone;
  ModalResult modalResult = mrNone;
  int groupIndex = 0;
  bool allowAllUp = false;
  bool down = false;
};

struct ControlDef {
  std::string name;
  ControlFactory make;
  std::string parent;  // "" = the form
  Rect bounds;         // left, top, right, bottom: built with MakeRect or {l, t, l + w, t + h}
  std::string caption;
  LayoutProps props;
};

struct MenuItemDef {
  std::string name;
  std::string caption;  // "-" is a separator
  bool checked = false;
};

struct MenuDef {
  std::string name;
  std::vector<MenuItemDef> items;
};

// Creates menus first, then controls in order. Throws std::logic_error for
// a row whose parent or popup menu does not exist.
void InstantiateLayout(TWinControl& form, const std::vector<ControlDef>& controls,
                       const std::vector<MenuDef>& menus = {});

// Factories of the layer's own kinds.
TComponent& MakeLabel(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeImage(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeListView(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeMemo(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeGroupBox(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakePanel(TComponent& owner, TWinControl& parent, const ControlDef& def);

// Timers are components without bounds: a row with this factory creates one
// (interval and timerDisabled).
TComponent& MakeTimer(TComponent& owner, TWinControl& parent, const ControlDef& def);

// Applies the properties every control shares (hint, visibility, cursor,
// font, colour); the factories call it, and so may factories elsewhere.
void ApplyCommonProps(TControl& control, const ControlDef& def);

}  // namespace vh
