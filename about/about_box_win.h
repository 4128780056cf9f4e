// TfrmAbout: the product, its version, the maker and the web address.
#pragma once

#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

class TLabel;

class TfrmAbout : public TForm {
 public:
  explicit TfrmAbout(DialogInputs inputs);
  const char* ClassName() const override { return "TfrmAbout"; }
  void lbEAddressClick(TObject& sender);

 protected:
  void FormShow() override;

 private:
  DialogInputs inputs_;
  TLabel* productName_ = nullptr;
};

}  // namespace vh
