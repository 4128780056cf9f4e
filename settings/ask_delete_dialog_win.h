// TfrmAskDelete: "Are you sure ...?" before a defragmentation, with the
// "Don't ask me next time" tick that switches the question off at once.
#pragma once

#include "ui/form_win.h"

namespace vh {

class TfrmMain;

class TfrmAskDelete : public TForm {
 public:
  explicit TfrmAskDelete(TfrmMain& owner);
  const char* ClassName() const override { return "TfrmAskDelete"; }
  void cbAskClick(TObject& sender);

 protected:
  void FormShow() override;

 private:
  TfrmMain& main_;
};

}  // namespace vh
