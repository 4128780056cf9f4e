#include "app/locale_win.h"

#include <windows.h>

#include "app/unattended.h"
#include "platform/local_time_win.h"

namespace vh {

std::string UserDecimalSeparator() {
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) <= 1) return ".";
  return buffer;
}

std::string UserNowText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const UserDateTime text = UserDateTimeOf(now);
  return ReportTimeText(text.date, text.time, text.midnight);
}

}  // namespace vh
