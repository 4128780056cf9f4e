// The user's regional settings, as the figures and the scan report use them.
#pragma once

#include <string>

namespace vh {

// The decimal separator of the user's locale ("." when it cannot be read).
std::string UserDecimalSeparator();

// Now, in the user's short date format, a blank and the long time format;
// the time is left out at exactly midnight.
std::string UserNowText();

}  // namespace vh
