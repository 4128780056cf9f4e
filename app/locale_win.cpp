#include "app/locale_win.h"

#include <windows.h>

#include "app/unattended.h"

namespace vh {

std::string UserDecimalSeparator() {
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) <= 1) return ".";
  return buffer;
}

std::string UserNowText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[128] = {}, time[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, sizeof time);
  bool midnight = now.wHour == 0 && now.wMinute == 0 && now.wSecond == 0 && now.wMilliseconds == 0;
  return ReportTimeText(date, time, midnight);
}

}  // namespace vh
