#include "platform/local_time_win.h"

namespace vh {

UserDateTime UserDateTimeOf(const SYSTEMTIME& local) {
  char date[128] = {}, time[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, time, sizeof time);
  const bool midnight = local.wHour == 0 && local.wMinute == 0 && local.wSecond == 0 && local.wMilliseconds == 0;
  return {date, time, midnight};
}

std::string UserTimeOfUtc(std::uint64_t utc) {
  FILETIME universal{DWORD(utc & 0xFFFFFFFFu), DWORD(utc >> 32)}, local;
  SYSTEMTIME shown;
  if (utc == 0 || !FileTimeToLocalFileTime(&universal, &local) || !FileTimeToSystemTime(&local, &shown)) return "";
  const UserDateTime text = UserDateTimeOf(shown);
  return text.date + " " + text.time;
}

}  // namespace vh
