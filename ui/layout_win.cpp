#include "ui/layout_win.h"

#include <stdexcept>

#include "ui/form_win.h"
#include "ui/menu_win.h"
#include "ui/picture_win.h"
#include "ui/timer_win.h"

namespace vh {

void ApplyCommonProps(TControl& c, const ControlDef& def) {
  const LayoutProps& p = def.props;
  if (!def.caption.empty()) c.SetCaption(def.caption);
  c.SetHint(p.hint);
  c.SetShowHint(p.showHint);
  if (p.handCursor) c.SetCursor(TCursor::crHandPoint);
  if (p.bold || p.underline || p.fontHeight != 0 || p.fontColour != kColourNone) {
    FontDef font = c.Font();
    font.bold = font.bold || p.bold;
    font.underline = font.underline || p.underline;
    if (p.fontHeight != 0) font.height = p.fontHeight;
    if (p.fontColour != kColourNone) font.colour = p.fontColour;
    c.SetFont(font);
  }
  if (p.color != kColourNone) c.SetColor(p.color);
  if (!p.popupMenu.empty()) {
    TComponent* owner = c.Owner();
    auto* menu = owner ? owner->Find<TPopupMenu>(p.popupMenu) : nullptr;
    if (!menu) throw std::logic_error("layout: no popup menu " + p.popupMenu + " for " + def.name);
    c.SetPopupMenu(menu);
  }
  if (p.disabled) c.SetEnabled(false);
  if (p.hidden) c.SetVisible(false);
}

namespace {

void PlaceWindowless(TControl& c, const ControlDef& def) {
  c.SetBounds(def.bounds.left, def.bounds.top, def.bounds.Width(), def.bounds.Height());
}

}  // namespace

TComponent& MakeLabel(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& label = Make<TLabel>(&owner, &parent, def.name);
  PlaceWindowless(label, def);
  label.SetAutoSize(false);
  label.SetAlignment(def.props.alignment);
  label.SetTransparent(def.props.transparent);
  label.SetWordWrap(def.props.wordWrap);
  ApplyCommonProps(label, def);
  // As the toolkit's labels: sized to the caption unless marked fixed.
  label.SetAutoSize(!def.props.fixedSize);
  return label;
}

TComponent& MakeImage(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& image = Make<TImage>(&owner, &parent, def.name);
  PlaceWindowless(image, def);
  image.SetStretch(def.props.stretch);
  image.SetTransparent(def.props.transparent);
  image.SetAutoSize(def.props.autoSize);
  if (!def.props.bitmap.empty()) image.SetPicture(LoadBitmapResource(def.props.bitmap.c_str()));
  if (!def.props.jpeg.empty()) image.SetJpegPicture(JpegResource(def.props.jpeg.c_str()));
  ApplyCommonProps(image, def);
  return image;
}

TComponent& MakeListView(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& list = Make<TListView>(&owner, &parent, def.name, def.bounds);
  for (const TListColumn& column : def.props.columns) list.AddColumn(column);
  list.SetGridLines(def.props.gridLines);
  ApplyCommonProps(list, def);
  return list;
}

TComponent& MakeMemo(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& memo = Make<TMemo>(&owner, &parent, def.name, def.bounds);
  ApplyCommonProps(memo, def);
  return memo;
}

TComponent& MakeGroupBox(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& box = Make<TGroupBox>(&owner, &parent, def.name, def.bounds);
  ApplyCommonProps(box, def);
  return box;
}

TComponent& MakePanel(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  auto& panel = Make<TPanel>(&owner, &parent, def.name, def.bounds);
  panel.SetBevelOuter(def.props.bevelOuter);
  panel.SetBevelInner(def.props.bevelInner);
  ApplyCommonProps(panel, def);
  return panel;
}

TComponent& MakeTimer(TComponent& owner, TWinControl&, const ControlDef& def) {
  auto& timer = Make<TTimer>(&owner, def.name);
  timer.SetInterval(def.props.interval);
  timer.SetEnabled(!def.props.timerDisabled);
  return timer;
}

void InstantiateLayout(TWinControl& form, const std::vector<ControlDef>& controls, const std::vector<MenuDef>& menus) {
  for (const MenuDef& m : menus) {
    auto& menu = Make<TPopupMenu>(&form, m.name);
    menu.ownerWindow = form.Handle();
    for (const MenuItemDef& item : m.items) menu.Add(item.name, item.caption).Checked = item.checked;
  }
  for (const ControlDef& def : controls) {
    TWinControl* parent = &form;
    if (!def.parent.empty()) parent = form.Find<TWinControl>(def.parent);
    def.make(form, *parent, def);
  }
}

}  // namespace vh
