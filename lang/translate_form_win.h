// Hands a form's components to the translation step, in creation order.
#pragma once

#include "lang/translation.h"
#include "ui/form_win.h"

namespace vh {

TranslatableForm DescribeForTranslation(TForm& form);

// The step every window's FormShow takes: translate when Lan is not English.
void TranslateOnShow(TForm& form, Platform& platform, const std::string& lan);

// TranslateForm with a named language, whatever Lan says (the language menu).
void TranslateFormTo(TForm& form, Platform& platform, const std::string& language);

}  // namespace vh
