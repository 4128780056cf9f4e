// TfrmOptions: the three option ticks. OK copies them into the settings
// record; Cancel and the close box change nothing.
#pragma once

#include "ui/form_win.h"

namespace vh {

class TfrmMain;

class TfrmOptions : public TForm {
 public:
  explicit TfrmOptions(TfrmMain& owner);
  const char* ClassName() const override { return "TfrmOptions"; }
  void bOKClick(TObject& sender);

 protected:
  void FormCreate() override;
  void FormShow() override;

 private:
  TfrmMain& main_;
};

}  // namespace vh
