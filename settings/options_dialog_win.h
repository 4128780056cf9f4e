// TfrmOptions: the three option ticks, started from the settings it is
// given. After OK, Settings() holds the ticks; Cancel and the close box
// leave it as given.
#pragma once

#include <optional>

#include "settings/options.h"
#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

class TsuiCheckBox;

class TfrmOptions : public TForm {
 public:
  TfrmOptions(DialogInputs inputs, TOptionsSetting settings);
  const TOptionsSetting& Settings() const { return settings_; }
  const char* ClassName() const override { return "TfrmOptions"; }
  void bOKClick(TObject& sender);

 protected:
  void FormCreate() override;
  void FormShow() override;

 private:
  DialogInputs inputs_;
  TOptionsSetting settings_;
  TsuiCheckBox* restorePointTick_ = nullptr;
  TsuiCheckBox* askBeforeDefragTick_ = nullptr;
  TsuiCheckBox* gridLinesTick_ = nullptr;
};

// Shows the Options dialog over inputs.owner: the settings after OK, none
// after Cancel or the close box.
std::optional<TOptionsSetting> EditOptions(DialogInputs inputs, TOptionsSetting settings);

}  // namespace vh
