// Layout factories of the skinned controls, for the windows' layout tables.
#pragma once

#include "ui/layout_win.h"

namespace vh {

TComponent& MakeSuiImageButton(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiURLLabel(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiImagePanel(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiButton(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiProgressBar(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiCheckBox(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiGroupBox(TComponent& owner, TWinControl& parent, const ControlDef& def);

}  // namespace vh
