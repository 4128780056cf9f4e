// What the main window says of one hive beyond its sizes (its full name,
// its file, Windows' own latest reorganisation), and the advice's sentence
// on that reorganisation. The texts come from the string table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hive/reorganization.h"

namespace vh {

struct ReorganizationTexts {
  std::string file;         // "File: %s"
  std::string reorganized;  // "Windows compacted it itself %s, on %s: from %s to %s."
  std::string advice;       // "Windows compacted %s itself %s."
  std::string theseHives;   // "these hives"
  std::string someHives;    // "%s of these hives"
  std::string today;
  std::string oneDayAgo;
  std::string daysAgo;  // "%s days ago"
};

// text with each "%s" replaced by the next value, left to right; a value
// never takes part in a later replacement.
std::string Substitute(const std::string& text, const std::vector<std::string>& values);

// "today", "1 day ago", "12 days ago".
std::string DaysAgoText(std::int64_t days, const ReorganizationTexts& texts);

// Three lines: the name, the file, and Windows' reorganisation when the log
// holds one.
std::string HiveInfoText(const std::string& name, const std::string& file,
                         const std::optional<Reorganization>& reorganized, std::uint64_t now,
                         const ReorganizationTexts& texts);

// "Windows compacted these hives itself 2 days ago."; empty when Windows did
// not, lately.
std::string ReorganizedAdviceText(const std::optional<RecentReorganization>& recent, std::size_t listedHives,
                                  const ReorganizationTexts& texts);

}  // namespace vh
