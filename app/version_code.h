// The small code for the running Windows version that decides whether the
// program runs at all and whether it offers restore points.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vh {

std::uint8_t GetWindowsVersionCode(const OsVersion& version);

// 5 to 7 and 9 to 12: NT 3.x up to Windows 7 and later systems reporting 6.x.
bool IsSupportedVersionCode(std::uint8_t code);

}  // namespace vh
