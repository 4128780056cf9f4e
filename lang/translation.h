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
//   TranslateText     one message fragment in the current language.
//
// The window side (ui/) fills a TranslatableForm from its components; this
// file never sees a window handle.
#pragma once

#include <functional>
#include <string>
#include <vector>

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

// GetPrivateProfileStringA's buffer: values longer than 2047 are cut.
constexpr std::size_t kLanguageValueBuffer = 2048;

// exeFolder (with its trailing separator) + "DLan_" + language + ".ini"; the
// language name is used unchanged, case included.
std::string LanguageFilePath(const std::string& exeFolder, const std::string& language);

// True unless lan, upper-cased, is "ENGLISH". An empty Lan is not English.
bool ShouldTranslate(const std::string& lan);

// Replaces the form's caption and every slot's text by the language file's
// values; a missing file or key keeps the current text. Separator menu
// items ("-") are never looked up.
void TranslateFormFromFile(ProfileFiles& profiles, const std::string& languageFile,
                           const TranslatableForm& form);
void TranslateForm(ProfileFiles& profiles, const std::string& exeFolder, const std::string& language,
                   const TranslatableForm& form);

// The step of every window's show handler: translate unless Lan is English.
void TranslateOnShow(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                     const TranslatableForm& form);

// The value of key in section "ResourceString" of Lan's file. Falls back on
// englishText when Lan is English or the file offers no text, so that a
// message built from it always stays readable.
std::string TranslateText(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                          const std::string& key, const std::string& englishText);

// A message fragment: its key in "ResourceString" and its English text.
struct MessageText {
  const char* key;
  const char* english;
};
std::string TranslateText(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                          const MessageText& text);

}  // namespace vh
