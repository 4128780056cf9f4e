// TfrmAskDelete: "Are you sure ...?" before a defragmentation, with the
// "Don't ask me next time" tick. Whatever the answer, AskNextTime says
// whether the question is to come again.
#pragma once

#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

class TsuiCheckBox;

class TfrmAskDelete : public TForm {
 public:
  explicit TfrmAskDelete(DialogInputs inputs);
  bool AskNextTime() const { return askNextTime_; }
  const char* ClassName() const override { return "TfrmAskDelete"; }
  void cbAskClick(TObject& sender);

 protected:
  void FormShow() override;

 private:
  DialogInputs inputs_;
  TsuiCheckBox* askTick_ = nullptr;
  bool askNextTime_ = true;
};

// The answer to the question, in the caller's terms.
struct DefragConfirmation {
  bool goOn = false;
  bool askNextTime = true;
};

// Asks over inputs.owner whether to defragment now.
DefragConfirmation ConfirmDefrag(DialogInputs inputs);

}  // namespace vh
