#include "lang/translation.h"

#include "platform/text.h"

namespace vh {

namespace {

const char kMenuSectionPrefix[] = "Menu_";
const char kColumnInfix[] = "_Column";
const char kSeparatorCaption[] = "-";

// The key and section a slot is looked up under; empty key when the slot
// is not looked up at all.
struct Lookup {
  std::string section;
  std::string key;
};

Lookup LookupFor(const TranslationSlot& slot, const std::string& formName) {
  switch (slot.kind) {
    case CaptionKind::TLabel:
    case CaptionKind::TButton:
    case CaptionKind::TGroupBox:
    case CaptionKind::TPanel:
    case CaptionKind::TsuiURLLabel:
    case CaptionKind::TFlatSpeedButton:
    case CaptionKind::TsuiCheckBox:
    case CaptionKind::TsuiButton:
    case CaptionKind::TsuiGroupBox:
      return {formName, slot.name};
    case CaptionKind::TListViewColumn:
      if (slot.column < 0) return {};
      return {formName, slot.name + kColumnInfix + std::to_string(slot.column)};
    case CaptionKind::TMenuItem:
      return {kMenuSectionPrefix + formName, slot.name};
    case CaptionKind::Other:
      break;
  }
  return {};
}

void TranslateSlot(const LanguageFile& file, const std::string& formName, const TranslationSlot& slot) {
  Lookup lookup = LookupFor(slot, formName);
  if (lookup.key.empty() || !slot.get || !slot.set) return;
  std::string current = slot.get();
  // A separator's "-" is what makes it a separator: it must never change.
  if (slot.kind == CaptionKind::TMenuItem && current == kSeparatorCaption) return;
  if (std::optional<std::string> text = file.Value(lookup.section, lookup.key)) slot.set(*text);
}

}  // namespace

std::string LanguageFilePath(const std::string& exeFolder, const std::string& language) {
  return exeFolder + "DLan_" + language + ".ini";
}

bool ShouldTranslate(const std::string& lan) { return UpperAscii(lan) != "ENGLISH"; }

void TranslateFormFromFile(const LanguageFile& file, const TranslatableForm& form) {
  if (!file.Found()) return;
  if (form.getCaption && form.setCaption) {
    if (std::optional<std::string> caption = file.Value(form.name, form.name)) form.setCaption(*caption);
  }
  for (const TranslationSlot& slot : form.slots) TranslateSlot(file, form.name, slot);
}

LanguageFile TranslateForm(ProfileFiles& profiles, const std::string& exeFolder, const std::string& language,
                           const TranslatableForm& form) {
  LanguageFile file = ReadLanguageFile(profiles, LanguageFilePath(exeFolder, language), language);
  TranslateFormFromFile(file, form);
  return file;
}

void TranslateOnShow(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                     const TranslatableForm& form) {
  if (ShouldTranslate(lan)) TranslateForm(profiles, exeFolder, lan, form);
}

}  // namespace vh
