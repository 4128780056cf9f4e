// The main window's language menu and what hangs on it: switching the
// language from the menu (miEnglishClick) and the tick marks at start-up.
// The flat buttons are fitted to their translated captions by the host
// (flat/speed_button_layout.h measures them).
//
//   LanguageMenuHost     what the main window lends to the switch: ticks,
//                        its own translation, button fitting, a message box.
//   LanguageMenuServices the platform services and the translation page.
//   miEnglishClick       the shared click handler of every language item.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vh {

// The language an item stands for: its component name without the first
// two characters ("miGerman" gives "German", the separator "N6" gives "").
std::string LanguageNameOfItem(const std::string& itemName);

// The start-up rule: an item is ticked when its language name equals Lan,
// case ignored. So the separator is ticked only when Lan is empty.
bool IsLanguageItemTicked(const std::string& itemName, const std::string& lan);

class LanguageMenuHost {
 public:
  virtual ~LanguageMenuHost() = default;
  // Untick every item of pmLanguage, then tick the named one.
  virtual void TickOnly(const std::string& itemName) = 0;
  // TranslateForm over the main window with that language.
  virtual void TranslateMainWindow(const std::string& language) = 0;
  virtual void FitSpeedButtons() = 0;
  // A message box with the OK button only and the caption "Varnhold".
  virtual void ShowMessage(const std::string& text) = 0;
};

struct LanguageMenuServices {
  Files& files;  // existence test and the executable's folder
  ProfileFiles& profiles;
  Shell& shell;
  std::string translationPage;  // string resource 65201
};

// The shared click handler of the language items. When the item's file
// exists, lan becomes its language, the item alone is ticked and the main
// window is translated and its buttons fitted. Otherwise the user is told
// that the file can not be found (with the translation page's address for
// "Other"), the translation page opens, and lan and the ticks stay.
// Nothing thrown on the way leaves this handler.
void miEnglishClick(const std::string& senderName, std::string& lan, const LanguageMenuServices& services,
                    LanguageMenuHost& host);

// The not-found message for a language file path, in the language that is
// still current.
std::string LanguageNotFoundMessage(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan,
                                    const std::string& path, const std::string& language,
                                    const std::string& translationPage);

}  // namespace vh
