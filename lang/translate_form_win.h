// Hands a form's components to the translation step, in creation order.
#pragma once

#include "lang/translation.h"
#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

TranslatableForm DescribeForTranslation(TForm& form);

// The step every window's FormShow takes: translate when Lan is not English.
void TranslateOnShow(TForm& form, Platform& platform, const std::string& lan);
// The same for a dialog, in the language it was given.
void TranslateOnShow(TForm& form, const DialogInputs& inputs);

// TranslateForm with a named language, whatever Lan says (the language menu).
// The fonts of the program's windows take the script of the file's code
// page from then on (SetTextCodePage).
void TranslateFormTo(TForm& form, Platform& platform, const std::string& language);

}  // namespace vh
