#include "lang/language_menu.h"

#include "lang/messages.h"
#include "lang/translation.h"
#include "platform/text.h"

namespace vh {

namespace {

// Only this item, of all the menu, is meant for languages nobody has
// translated yet, so only its message points at the translation page.
const char kOtherLanguage[] = "Other";

void SwitchTo(const std::string& senderName, const std::string& language, std::string& lan,
              LanguageMenuHost& host) {
  lan = language;
  host.TickOnly(senderName);
  host.TranslateMainWindow(lan);
  host.FitSpeedButtons();
}

void ReportMissing(const std::string& path, const std::string& language, const std::string& lan,
                   const LanguageMenuServices& services, LanguageMenuHost& host) {
  host.ShowMessage(LanguageNotFoundMessage(services.profiles, services.files.ExecutableFolder(), lan, path,
                                           language, services.translationPage));
  services.shell.Open(services.translationPage);
}

}  // namespace

std::string LanguageNameOfItem(const std::string& itemName) {
  return itemName.size() <= 2 ? std::string() : itemName.substr(2);
}

bool IsLanguageItemTicked(const std::string& itemName, const std::string& lan) {
  return EqualsIgnoreCase(LanguageNameOfItem(itemName), lan);
}

std::string LanguageNotFoundMessage(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                                    const std::string& path, const std::string& language,
                                    const std::string& translationPage) {
  const Messages messages = LoadMessages(profiles, exeFolder, lan);
  std::string message = path + " " + messages.Text(IDS_CAN_NOT_BE_FOUND);
  if (language == kOtherLanguage) message += "\r\n\r\n" + messages.Text(IDS_PLEASE_VISIT, {translationPage});
  return message;
}

void miEnglishClick(const std::string& senderName, std::string& lan, const LanguageMenuServices& services,
                    LanguageMenuHost& host) {
  // A language switch is a convenience: whatever fails in it (a message box,
  // the browser, a window's repaint) must not take the program down, and
  // the texts simply stay as they were.
  try {
    std::string language = LanguageNameOfItem(senderName);
    std::string path = LanguageFilePath(services.files.ExecutableFolder(), language);
    if (services.files.Exists(path))
      SwitchTo(senderName, language, lan, host);
    else
      ReportMissing(path, language, lan, services, host);
  } catch (...) {
  }
}

}  // namespace vh
