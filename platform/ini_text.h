// Profile-file text handled the way the platform's profile functions handle
// it: case-blind section and key names, blanks around names and values
// ignored, a value replaced in place, a missing key appended at the end of
// its section, a missing section appended at the end of the file.
#pragma once

#include <optional>
#include <string>

namespace vh {

std::optional<std::string> IniLookup(const std::string& text, const std::string& section,
                                     const std::string& key);
std::string IniSet(const std::string& text, const std::string& section, const std::string& key,
                   const std::string& value);
bool IniHasSection(const std::string& text, const std::string& section);
// Erases the first section of that name only, as the platform does.
std::string IniEraseSection(const std::string& text, const std::string& section);

}  // namespace vh
