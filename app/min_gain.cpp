#include "app/min_gain.h"

namespace vh {

namespace {

bool IsDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string WithoutTrailingZeros(std::string digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  return digits;
}

// Decimal comparison: equal whole parts are ordered by their decimals as
// text, which holds once trailing zeros are gone ("6" < "65" < "7").
bool Below(int whole, const std::string& fraction, const MinGain& minimum) {
  if (whole != minimum.whole) return whole < minimum.whole;
  return fraction < minimum.fraction;
}

}  // namespace

std::string MinGain::Text() const { return std::to_string(whole) + (fraction.empty() ? "" : "." + fraction) + "%"; }

std::optional<MinGain> ParseMinGain(const std::string& value) {
  std::size_t point = value.find('.');
  std::string whole = value.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : value.substr(point + 1);
  if (!IsDigits(whole) || (point != std::string::npos && !IsDigits(fraction))) return std::nullopt;
  std::size_t first = whole.find_first_not_of('0');
  whole = first == std::string::npos ? "0" : whole.substr(first);
  if (whole.size() > 3) return std::nullopt;
  MinGain minimum{std::stoi(whole), WithoutTrailingZeros(fraction)};
  if (minimum.whole > 100 || (minimum.whole == 100 && !minimum.fraction.empty())) return std::nullopt;
  return minimum;
}

std::optional<std::string> MinGainRefusal(const std::optional<MinGain>& minimum, long long compactTenths,
                                          const std::string& compactPercent) {
  if (!minimum) return std::nullopt;
  bool below = compactTenths < 0 ||
               Below(int(compactTenths / 10), compactTenths % 10 ? std::to_string(compactTenths % 10) : "", *minimum);
  if (!below) return std::nullopt;
  return "The compaction percentage " + compactPercent + " is below the minimum gain " + minimum->Text() +
         "; no hive was scheduled for replacement and the computer was not restarted.";
}

}  // namespace vh
