#include "settings/options_dialog_win.h"

#include "skin/button_win.h"
#include "skin/check_box_win.h"
#include "skin/skin_layout_win.h"
#include "lang/translate_form_win.h"
#include "settings/options.h"

namespace vh {

namespace {

FormDef OptionsForm() {
  return DialogDef("frmOptions", "Options", 410, 178);
}

LayoutProps CancelButton() {
  LayoutProps p;
  p.modalResult = mrCancel;
  return p;
}

// Tab order is creation order: the group (its ticks in their own order),
// then OK and Cancel.
const std::vector<ControlDef>& OptionsLayout() {
  static const std::vector<ControlDef> layout = {
      {"GroupBox2", MakeGroupBox, "", MakeRect(8, 8, 394, 119), "", {}},
      {"cbAskBeforeDefrag", MakeSuiCheckBox, "GroupBox2", MakeRect(16, 48, 370, 19), "&Ask before defraging the registy", {}},
      {"cbShowLines", MakeSuiCheckBox, "GroupBox2", MakeRect(16, 81, 370, 19), "Show &Grid Lines for the hive name list", {}},
      {"cbCreateRestore", MakeSuiCheckBox, "GroupBox2", MakeRect(16, 16, 370, 19),
       "Create a system &restore point before defragment (XP, Vista, Seven)", {}},
      {"bOK", MakeSuiButton, "", MakeRect(221, 140, 80, 27), "&OK", {}},
      {"bCancel", MakeSuiButton, "", MakeRect(322, 140, 80, 27), "&Cancel", CancelButton()},
  };
  return layout;
}

}  // namespace

TfrmOptions::TfrmOptions(DialogInputs inputs, TOptionsSetting settings)
    : TForm(inputs.owner, OptionsForm()), inputs_(std::move(inputs)), settings_(std::move(settings)) {
  InstantiateLayout(*this, OptionsLayout());
  restorePointTick_ = Find<TsuiCheckBox>("cbCreateRestore");
  askBeforeDefragTick_ = Find<TsuiCheckBox>("cbAskBeforeDefrag");
  gridLinesTick_ = Find<TsuiCheckBox>("cbShowLines");
  TsuiButton& ok = *Find<TsuiButton>("bOK");
  TsuiButton& cancel = *Find<TsuiButton>("bCancel");
  for (TsuiCheckBox* tick : {askBeforeDefragTick_, gridLinesTick_, restorePointTick_})
    tick->SetUIStyle(TsuiUIStyle::WinXP);
  ok.SetUIStyle(TsuiUIStyle::WinXP);
  cancel.SetUIStyle(TsuiUIStyle::WinXP);
  ok.SetDefault(true);
  cancel.SetCancel(true);
  ok.OnClick = Bind(this, &TfrmOptions::bOKClick);
}

void TfrmOptions::FormCreate() {
  restorePointTick_->SetChecked(settings_.RestorePoint);
  askBeforeDefragTick_->SetChecked(settings_.IsAskBeforeDefrag);
  gridLinesTick_->SetChecked(settings_.IsShowLine);
}

void TfrmOptions::FormShow() { TranslateOnShow(*this, inputs_); }

void TfrmOptions::bOKClick(TObject&) {
  settings_.RestorePoint = restorePointTick_->Checked();
  settings_.IsAskBeforeDefrag = askBeforeDefragTick_->Checked();
  settings_.IsShowLine = gridLinesTick_->Checked();
  SetModalResult(mrOk);
}

std::optional<TOptionsSetting> EditOptions(DialogInputs inputs, TOptionsSetting settings) {
  auto dialog = CreateForm<TfrmOptions>(std::move(inputs), std::move(settings));
  if (dialog->ShowModal() != mrOk) return std::nullopt;
  return dialog->Settings();
}

}  // namespace vh
