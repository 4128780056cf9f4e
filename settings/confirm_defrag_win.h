// The question before a defragmentation, asked over the caller's window.
#pragma once

#include "settings/defrag_confirmation.h"
#include "ui/dialog_inputs_win.h"

namespace vh {

// Shows TfrmAskDelete over inputs.owner until it is answered.
DefragConfirmation ConfirmDefrag(DialogInputs inputs);

}  // namespace vh
