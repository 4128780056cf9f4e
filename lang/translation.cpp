#include "lang/translation.h"

#include "platform/text.h"

namespace vh {

namespace {

const char kResourceSection[] = "ResourceString";
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

void TranslateSlot(ProfileFiles& profiles, const std::string& file, const std::string& formName,
                   const TranslationSlot& slot) {
  Lookup lookup = LookupFor(slot, formName);
  if (lookup.key.empty() || !slot.get || !slot.set) return;
  std::string current = slot.get();
  // A separator's "-" is what makes it a separator: it must never change.
  if (slot.kind == CaptionKind::TMenuItem && current == kSeparatorCaption) return;
  slot.set(profiles.Read(lookup.section, lookup.key, current, kLanguageValueBuffer, file));
}

}  // namespace

std::string LanguageFilePath(const std::string& exeFolder, const std::string& language) {
  return exeFolder + "DLan_" + language + ".ini";
}

bool ShouldTranslate(const std::string& lan) { return UpperAscii(lan) != "ENGLISH"; }

void TranslateFormFromFile(ProfileFiles& profiles, const std::string& languageFile,
                           const TranslatableForm& form) {
  if (form.getCaption && form.setCaption)
    form.setCaption(profiles.Read(form.name, form.name, form.getCaption(), kLanguageValueBuffer, languageFile));
  for (const TranslationSlot& slot : form.slots) TranslateSlot(profiles, languageFile, form.name, slot);
}

void TranslateForm(ProfileFiles& profiles, const std::string& exeFolder, const std::string& language,
                   const TranslatableForm& form) {
  TranslateFormFromFile(profiles, LanguageFilePath(exeFolder, language), form);
}

void TranslateOnShow(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                     const TranslatableForm& form) {
  if (ShouldTranslate(lan)) TranslateForm(profiles, exeFolder, lan, form);
}

std::string TranslateText(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                          const std::string& key, const std::string& englishText) {
  if (!ShouldTranslate(lan)) return englishText;
  std::string text = profiles.Read(kResourceSection, key, "", kLanguageValueBuffer, LanguageFilePath(exeFolder, lan));
  return text.empty() ? englishText : text;
}

std::string TranslateText(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                          const MessageText& text) {
  return TranslateText(profiles, exeFolder, lan, text.key, text.english);
}

}  // namespace vh
