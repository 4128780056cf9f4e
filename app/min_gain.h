// /Silent's minimum gain: a compaction percentage below it is not worth a
// restart. Kept as its digits, so that /MinGain:2.6 is met exactly by an
// analysis that shows 2.6%, with no binary fraction in between.
#pragma once

#include <optional>
#include <string>

namespace vh {

struct MinGain {
  int whole = 0;         // 0 to 100
  std::string fraction;  // the decimals, without trailing zeros
  // "2.5%", as the log and the event log show it.
  std::string Text() const;
};

// A whole or decimal number from 0 to 100 ("5", "2.5", "0.25"; a point is
// the separator); nullopt for anything else.
std::optional<MinGain> ParseMinGain(const std::string& value);

// The log line when the compaction percentage, in tenths as the analysis
// shows it, is below the minimum; nullopt when it reaches it or there is no
// minimum.
std::optional<std::string> MinGainRefusal(const std::optional<MinGain>& minimum, long long compactTenths,
                                          const std::string& compactPercent);

}  // namespace vh
