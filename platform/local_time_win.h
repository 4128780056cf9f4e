// Times as the user reads them: the short date and the long time of the
// user's regional settings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace vh {

struct UserDateTime {
  std::string date;
  std::string time;
  bool midnight = false;  // exactly 0:00:00.000
};

UserDateTime UserDateTimeOf(const SYSTEMTIME& local);

// A UTC moment (FILETIME units) in local time, "<date> <time>"; empty when
// it cannot be converted.
std::string UserTimeOfUtc(std::uint64_t utc);

}  // namespace vh
