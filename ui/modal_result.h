// How a modal window ended: the values the platform's dialog box commands
// use (IDOK, IDCANCEL, IDYES, IDNO), so a message box's answer and a form's
// modal result compare alike.
#pragma once

namespace vh {

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

}  // namespace vh
