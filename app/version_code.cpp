#include "app/version_code.h"

namespace vh {

std::uint8_t GetWindowsVersionCode(const OsVersion& v) {
  if (v.platformId == 2) {
    if (v.major == 3) return 5;
    if (v.major == 4) return 6;
    if (v.major == 5) return v.minor == 1 ? 9 : v.minor == 2 ? 10 : 7;
    if (v.major == 6) return v.minor == 1 ? 12 : 11;
    return 0;
  }
  if (v.major == 4 && v.minor == 0) return 1;
  if (v.major == 4 && v.minor == 10) return 3;
  if (v.major == 4 && v.minor == 90) return 8;
  return 0;
}

bool IsSupportedVersionCode(std::uint8_t code) { return (code >= 5 && code <= 7) || (code >= 9 && code <= 12); }

}  // namespace vh
