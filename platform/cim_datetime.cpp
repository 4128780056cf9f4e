#include "platform/cim_datetime.h"

namespace vh {

namespace {

bool Digits(const std::string& text, std::size_t from, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

bool LeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1601 to the first of that month.
std::int64_t DaysSince1601(int year, int month) {
  std::int64_t days = 0;
  const int years = year - 1601;
  days += std::int64_t(years) * 365 + years / 4 - years / 100 + years / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days;
}

}  // namespace

std::optional<std::uint64_t> CimDateTimeToFileTime(const std::string& text) {
  if (text.size() != 25 || text[14] != '.' || (text[21] != '+' && text[21] != '-')) return std::nullopt;
  int year, month, day, hour, minute, second, micro, offset;
  if (!Digits(text, 0, 4, year) || !Digits(text, 4, 2, month) || !Digits(text, 6, 2, day) ||
      !Digits(text, 8, 2, hour) || !Digits(text, 10, 2, minute) || !Digits(text, 12, 2, second) ||
      !Digits(text, 15, 6, micro) || !Digits(text, 22, 3, offset))
    return std::nullopt;
  if (year < 1601 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59)
    return std::nullopt;
  std::int64_t seconds = (DaysSince1601(year, month) + day - 1) * 86400 + hour * 3600 + minute * 60 + second;
  // Local time = UTC + offset.
  seconds -= std::int64_t(text[21] == '-' ? -offset : offset) * 60;
  if (seconds < 0) return std::nullopt;
  return std::uint64_t(seconds) * 10000000 + std::uint64_t(micro) * 10;
}

}  // namespace vh
