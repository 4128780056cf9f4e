// What the main window says of one hive beyond its sizes (its full name,
// its file, Windows' own latest reorganisation), and the advice's sentence
// on that reorganisation. The texts are the user's language's messages, their
// places unfilled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hive/reorganization.h"

namespace vh {

struct ReorganizationTexts {
  std::string file;         // "File: %1"
  std::string reorganized;  // "Windows compacted it itself %1, on %2: from %3 to %4."
  std::string advice;       // "Windows compacted %1 itself %2."
  std::string theseHives;   // "these hives"
  std::string someHives;    // "%1 of these hives"
  std::string today;
  std::string oneDayAgo;
  std::string daysAgo;  // "%1 days ago"
};

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
