// TfrmAbout: the product, its version, the maker and the web address.
#pragma once

#include "ui/form_win.h"

namespace vh {

class TfrmMain;

class TfrmAbout : public TForm {
 public:
  explicit TfrmAbout(TfrmMain& owner);
  const char* ClassName() const override { return "TfrmAbout"; }
  void lbEAddressClick(TObject& sender);

 protected:
  void FormShow() override;

 private:
  TfrmMain& main_;
};

}  // namespace vh
