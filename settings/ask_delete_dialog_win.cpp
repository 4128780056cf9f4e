#include "settings/ask_delete_dialog_win.h"

#include "skin/button_win.h"
#include "skin/check_box_win.h"
#include "skin/skin_layout_win.h"
#include "lang/translate_form_win.h"
#include "ui/controls_win.h"

namespace vh {

namespace {

FormDef AskDeleteForm() {
  return DialogDef("frmAskDelete", "Defrag Now", 352, 193);
}

LayoutProps WrappedLabel() {
  LayoutProps p;
  p.fixedSize = true;
  p.wordWrap = true;
  return p;
}

LayoutProps FixedLabel() {
  LayoutProps p;
  p.fixedSize = true;
  return p;
}

LayoutProps Answer(ModalResult modalResult) {
  LayoutProps p;
  p.modalResult = modalResult;
  return p;
}

LayoutProps Separator() {
  LayoutProps p;
  p.bevelOuter = TBevelCut::bvLowered;
  return p;
}

// The Tab key follows the positions on the dialog: Yes, No, the tick box.
// The two lines under the question are as wide as the dialog allows: each
// language splits its sentence between them.
const std::vector<ControlDef>& AskDeleteLayout() {
  static const std::vector<ControlDef> layout = {
      {"GroupBox1", MakeGroupBox, "", MakeRect(8, 8, 336, 100), "", {}},
      {"Label1", MakeLabel, "GroupBox1", MakeRect(24, 24, 290, 28),
       "Are you sure you want to start to defrag your registry?", WrappedLabel()},
      {"bCancel", MakeSuiButton, "GroupBox1", MakeRect(184, 57, 80, 24), "&No", Answer(mrNo)},
      {"bOK", MakeSuiButton, "GroupBox1", MakeRect(72, 57, 80, 24), "&Yes", Answer(mrYes)},
      {"Label2", MakeLabel, "", MakeRect(8, 115, 336, 13), "You must restart your computer for the changes to take effect",
       FixedLabel()},
      {"Label3", MakeLabel, "", MakeRect(8, 133, 336, 13), "after you finish the Registry defragment.", FixedLabel()},
      {"cbAsk", MakeSuiCheckBox, "", MakeRect(8, 166, 128, 19), "&Don't ask me next time", {}},
      {"Panel2", MakePanel, "", MakeRect(8, 157, 336, 2), "", Separator()},
  };
  return layout;
}

}  // namespace

TfrmAskDelete::TfrmAskDelete(DialogInputs inputs) : TForm(inputs.owner, AskDeleteForm()), inputs_(std::move(inputs)) {
  InstantiateLayout(*this, AskDeleteLayout());
  TsuiButton& yes = *Find<TsuiButton>("bOK");
  TsuiButton& no = *Find<TsuiButton>("bCancel");
  askTick_ = Find<TsuiCheckBox>("cbAsk");
  yes.SetUIStyle(TsuiUIStyle::WinXP);
  no.SetUIStyle(TsuiUIStyle::WinXP);
  // Enter answers Yes, Esc answers No, as in a message box asking the same.
  yes.SetDefault(true);
  no.SetCancel(true);
  askTick_->SetUIStyle(TsuiUIStyle::BlueGlass);
  askTick_->OnClick = Bind(this, &TfrmAskDelete::cbAskClick);
}

void TfrmAskDelete::FormShow() { TranslateOnShow(*this, inputs_); }

void TfrmAskDelete::cbAskClick(TObject&) { askNextTime_ = !askTick_->Checked(); }

DefragConfirmation TfrmAskDelete::Ask() {
  const bool goOn = ShowModal() == mrYes;
  return {goOn, askNextTime_};
}

}  // namespace vh
