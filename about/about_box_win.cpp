#include "about/about_box_win.h"

#include "platform/platform.h"
#include "platform/string_table_win.h"
#include "skin/button_win.h"
#include "skin/skin_layout_win.h"
#include "lang/translate_form_win.h"
#include "res/string_ids.h"
#include "ui/controls_win.h"

namespace vh {

namespace {

FormDef AboutForm() {
  FormDef frame = DialogDef("frmAbout", "About Varnhold", 360, 249);
  frame.font.charset = ANSI_CHARSET;
  return frame;
}

const std::vector<ControlDef>& AboutLayout() {
  static const std::vector<ControlDef> layout = [] {
    LayoutProps banner;
    banner.jpeg = "ABOUT_BANNER";
    banner.autoSize = true;
    LayoutProps icon;
    icon.bitmap = "ABOUT_ICON";
    icon.autoSize = true;
    LayoutProps sunken;
    sunken.bevelOuter = TBevelCut::bvLowered;
    LayoutProps link;
    link.handCursor = true;
    link.underline = true;
    link.fontColour = MakeColour(0, 0, 255);
    LayoutProps ok;
    ok.modalResult = mrOk;
    return std::vector<ControlDef>{
        {"Image2", MakeImage, "", MakeRect(0, 0, 360, 50), "", banner},
        {"Image1", MakeImage, "", MakeRect(20, 61, 32, 32), "", icon},
        {"Label1", MakeLabel, "", MakeRect(80, 62, 132, 13), "", {}},
        {"Label2", MakeLabel, "", MakeRect(80, 84, 139, 13), "Version: 1.5   Build 20091125", {}},
        {"lPoweredBy", MakeLabel, "", MakeRect(80, 107, 59, 13), "Powered by:", {}},
        {"lCopywrite", MakeLabel, "", MakeRect(80, 129, 197, 13), "Copyright (C) 2026 Tolvane Software", {}},
        {"Label3", MakeLabel, "", MakeRect(80, 152, 131, 13), "Email: support@tolvane.com", {}},
        {"Panel2", MakePanel, "", MakeRect(80, 176, 262, 2), "", sunken},
        {"lbEAddress", MakeLabel, "", MakeRect(80, 186, 112, 13), "tolvane.com", link},
        {"bOK", MakeSuiButton, "", MakeRect(256, 211, 80, 27), "&OK", ok},
    };
  }();
  return layout;
}

}  // namespace

TfrmAbout::TfrmAbout(DialogInputs inputs) : TForm(inputs.owner, AboutForm()), inputs_(std::move(inputs)) {
  InstantiateLayout(*this, AboutLayout());
  productName_ = Find<TLabel>("Label1");
  auto& ok = *Find<TsuiButton>("bOK");
  ok.SetUIStyle(TsuiUIStyle::WinXP);
  ok.SetDefault(true);
  ok.SetCancel(true);
  Find<TLabel>("lbEAddress")->OnClick = Bind(this, &TfrmAbout::lbEAddressClick);
}

void TfrmAbout::FormShow() {
  productName_->SetCaption(LoadResString(IDS_PRODUCT_NAME));
  TranslateOnShow(*this, inputs_);
}

void TfrmAbout::lbEAddressClick(TObject&) { inputs_.platform.shell.Open(LoadResString(IDS_HOME_URL)); }

}  // namespace vh
