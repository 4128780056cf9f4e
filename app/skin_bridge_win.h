// Layout factories and the few settings of the skinned kinds the program's
// windows place.
#pragma once

#include "skin/ui_style.h"
#include "ui/layout_win.h"

namespace vh {

TComponent& MakeSuiImageButton(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiURLLabel(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiImagePanel(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiButton(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiProgressBar(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiCheckBox(TComponent& owner, TWinControl& parent, const ControlDef& def);
TComponent& MakeSuiGroupBox(TComponent& owner, TWinControl& parent, const ControlDef& def);

void SetUIStyle(TComponent& control, TsuiUIStyle style);

struct ProgressSettings {
  int min = 0, max = 100;
  Colour borderColor = MakeColour(0, 0, 0);
  Colour color = MakeColour(232, 232, 232);
  bool showCaption = true;
};
void ConfigureProgress(TComponent& bar, const ProgressSettings& settings);
int ProgressPosition(TComponent& bar);
void SetProgressPosition(TComponent& bar, int position);

bool IsChecked(TComponent& box);
void SetChecked(TComponent& box, bool checked);

void SetButtonRoles(TComponent& button, bool isDefault, bool isCancel);

}  // namespace vh
