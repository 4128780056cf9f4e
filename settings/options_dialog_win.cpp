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
  for (const char* name : {"cbAskBeforeDefrag", "cbShowLines", "cbCreateRestore"})
    Find<TsuiCheckBox>(name)->SetUIStyle(TsuiUIStyle::WinXP);
  Find<TsuiButton>("bOK")->SetUIStyle(TsuiUIStyle::WinXP);
  Find<TsuiButton>("bCancel")->SetUIStyle(TsuiUIStyle::WinXP);
  Find<TsuiButton>("bOK")->SetDefault(true);
  Find<TsuiButton>("bCancel")->SetCancel(true);
  WireHandlers<TfrmOptions>(*this, {{"bOK", "OnClick", &TfrmOptions::bOKClick}});
}

void TfrmOptions::FormCreate() {
  Find<TsuiCheckBox>("cbCreateRestore")->SetChecked(settings_.RestorePoint);
  Find<TsuiCheckBox>("cbAskBeforeDefrag")->SetChecked(settings_.IsAskBeforeDefrag);
  Find<TsuiCheckBox>("cbShowLines")->SetChecked(settings_.IsShowLine);
}

void TfrmOptions::FormShow() { TranslateOnShow(*this, inputs_); }

void TfrmOptions::bOKClick(TObject&) {
  settings_.RestorePoint = Find<TsuiCheckBox>("cbCreateRestore")->Checked();
  settings_.IsAskBeforeDefrag = Find<TsuiCheckBox>("cbAskBeforeDefrag")->Checked();
  settings_.IsShowLine = Find<TsuiCheckBox>("cbShowLines")->Checked();
  SetModalResult(mrOk);
}

}  // namespace vh
