// The four user options, kept in options.ini beside the executable in the
// section "Options".
#pragma once

#include <string>

#include "platform/platform.h"

namespace vh {

// As constructed, the record holds the defaults: what a run without
// options.ini gets, and what a missing or unreadable key reads as.
struct TOptionsSetting {
  bool IsAskBeforeDefrag = true;
  bool IsShowLine = true;
  bool RestorePoint = false;
  std::string Lan = "English";
};

// The executable's folder followed by "options.ini".
std::string OptionsFilePath(Files& files);

// true loads the record from iniPath, each missing key as its default;
// false saves it.
// A refused write throws AppError("Unable to write to <iniPath>") and stops
// at that key.
void LoadSaveOptions(TOptionsSetting& options, ProfileFiles& profiles, const std::string& iniPath,
                     bool load);

// Whether a language name can only ever name a file beside the executable:
// no folder separators, drive colon or other characters a file name cannot
// hold. A stored name that fails is read as English.
bool IsPlainLanguageName(const std::string& language);

// The profile-file Boolean: "0x" prefix taken as hex, a signed 32-bit
// integer (blanks and sign allowed; "$", "x" or "X" for hex); non-zero is
// true; anything that does not convert gives fallback.
bool ParseProfileBool(const std::string& text, bool fallback);

// The same integer conversion; false when the text is not a valid integer.
bool ParseProfileInt(const std::string& text, std::int32_t& value);

}  // namespace vh
