#include "app/skin_bridge_win.h"

#include "flat/flat_speed_button_win.h"

namespace vh {

// Until the skinned controls land these fall back on the layer's own.
TComponent& MakeSuiImageButton(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return MakeImage(owner, parent, def);
}
TComponent& MakeSuiURLLabel(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return MakeLabel(owner, parent, def);
}
TComponent& MakeSuiImagePanel(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return MakePanel(owner, parent, def);
}
TComponent& MakeSuiButton(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return MakeFlatSpeedButton(owner, parent, def);
}
TComponent& MakeSuiProgressBar(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return MakeLabel(owner, parent, def);
}
TComponent& MakeSuiCheckBox(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  ControlDef toggle = def;
  toggle.props.groupIndex = 1000 + int(parent.Controls().size());
  toggle.props.allowAllUp = true;
  return MakeFlatSpeedButton(owner, parent, toggle);
}
TComponent& MakeSuiGroupBox(TComponent& owner, TWinControl& parent, const ControlDef& def) {
  return MakeGroupBox(owner, parent, def);
}

void SetUIStyle(TComponent&, TsuiUIStyle) {}

void ConfigureProgress(TComponent&, const ProgressSettings&) {}

int ProgressPosition(TComponent& bar) {
  const std::string& text = dynamic_cast<TControl&>(bar).Caption();
  return text.empty() ? 0 : std::atoi(text.c_str());
}

void SetProgressPosition(TComponent& bar, int position) {
  dynamic_cast<TControl&>(bar).SetCaption(std::to_string(position));
}

bool IsChecked(TComponent& box) { return dynamic_cast<TFlatSpeedButton&>(box).Down(); }
void SetChecked(TComponent& box, bool checked) { dynamic_cast<TFlatSpeedButton&>(box).SetDown(checked); }

void SetButtonRoles(TComponent&, bool, bool) {}

}  // namespace vh
