// Form translation: every window is designed with English texts and, when it
// is shown in another language, replaces them by name from the language file
// DLan_<Language>.ini beside the executable.
//
//   CaptionKind       which caption a component offers to translation (each
//                     control class names its own, in ui/caption_kind.h).
//   TranslationSlot   one translatable caption of a window, with accessors.
//   TranslatableForm  a window as translation sees it: its name, its own
//                     caption and its slots in component creation order.
//   TranslateForm     applies a language file to such a form.
//
// Messages (not window texts) are lang/messages.h.
//
// The window side (ui/) fills a TranslatableForm from its components; this
// file never sees a window handle.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "lang/language_file.h"
#include "platform/platform.h"
#include "ui/caption_kind.h"

namespace vh {

struct TranslationSlot {
  std::string name;  // the component's name: the key, or its stem for columns
  CaptionKind kind = CaptionKind::Other;
  int column = -1;   // the column index, for TListViewColumn only
  std::function<std::string()> get;
  std::function<void(const std::string&)> set;
};

struct TranslatableForm {
  std::string name;  // the section, and the key of the window caption
  std::function<std::string()> getCaption;
  std::function<void(const std::string&)> setCaption;
  std::vector<TranslationSlot> slots;  // component creation order
};

// The profile functions' buffer: values longer than 2047 are cut.
constexpr std::size_t kLanguageValueBuffer = 2048;

// exeFolder (with its trailing separator) + "DLan_" + language + ".ini"; the
// language name is used unchanged, case included.
std::string LanguageFilePath(const std::string& exeFolder, const std::string& language);

// True unless lan, upper-cased, is "ENGLISH". An empty Lan is not English.
bool ShouldTranslate(const std::string& lan);

// Replaces the form's caption and every slot's text by the language file's
// values; a missing file or key keeps the current text. Separator menu
// items ("-") are never looked up.
void TranslateFormFromFile(const LanguageFile& file, const TranslatableForm& form);
// Reads DLan_<language>.ini once and applies it; returns what was read.
LanguageFile TranslateForm(ProfileFiles& profiles, const std::string& exeFolder, const std::string& language,
                           const TranslatableForm& form);

// The step of every window's show handler: translate unless Lan is English.
void TranslateOnShow(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                     const TranslatableForm& form);

}  // namespace vh
