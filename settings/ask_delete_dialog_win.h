// TfrmAskDelete: "Are you sure ...?" before a defragmentation, with the
// "Don't ask me next time" tick. Whatever the answer, AskNextTime says
// whether the question is to come again. ConfirmDefrag
// (settings/confirm_defrag_win.h) shows it.
#pragma once

#include "settings/defrag_confirmation.h"
#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

class TsuiCheckBox;

class TfrmAskDelete : public TForm {
 public:
  explicit TfrmAskDelete(DialogInputs inputs);
  bool AskNextTime() const { return askNextTime_; }
  // Shows the dialog modally until it is answered.
  DefragConfirmation Ask();
  const char* ClassName() const override { return "TfrmAskDelete"; }
  void cbAskClick(TObject& sender);

 protected:
  void FormShow() override;

 private:
  DialogInputs inputs_;
  TsuiCheckBox* askTick_ = nullptr;
  bool askNextTime_ = true;
};

}  // namespace vh
