#include "settings/confirm_defrag_win.h"

#include "settings/ask_delete_dialog_win.h"

namespace vh {

DefragConfirmation ConfirmDefrag(DialogInputs inputs) { return CreateForm<TfrmAskDelete>(std::move(inputs))->Ask(); }

}  // namespace vh
