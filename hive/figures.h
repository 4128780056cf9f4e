// The figures of a complete analysis: per hive the current size, the size of
// its compacted copy and the reduction, and the four totals under the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hive/hive_table.h"
#include "lang/messages.h"
#include "platform/platform.h"

namespace vh {

// Whole kilobytes rounded up, grouped by "," every three digits, " KB".
std::string FormatSizeKB(std::int64_t bytes);

// One hive's figures, each shown in the hive list's column that names it
// (HiveListColumns, app/main_layout_win.h).
struct RowFigures {
  std::string currentSize;
  std::string newSize;    // the not-copied text when no copy was written
  std::string reduction;  // "12%"; empty when no copy was written
  bool copied = true;
  std::int64_t currentBytes = 0;  // the hive file's size as measured
  std::int64_t copyBytes = -1;    // the copy's; -1 when no copy was written
};

struct AnalysisFigures {
  std::vector<RowFigures> rows;
  std::int64_t totalCurrent = 0;
  std::int64_t totalNew = 0;
  std::string currentRegistrySize;
  std::string newRegistrySize;
  std::string sizeReduction;
  std::string compactPercent;
  float ratio = 0;         // held as a 32-bit float, as shown and compared
  bool adviseAgainst = false;  // the gain is under 3 per cent
  int notCopied = 0;           // hives without a copy, left out of the totals
  int leftAlone = 0;           // hives never the program's to copy, left out too
  // Some hive was copied: the analysis has something to defragment.
  bool AnyCopied() const { return notCopied + leftAlone < int(rows.size()); }
};

// The whole-number reduction of one row, "0%" when the copy is larger or
// the hive file is empty.
std::string RowReduction(std::int64_t current, std::int64_t compacted);

// The ratio in tenths of a per cent, rounded as it is shown: 2.95f is 30.
long long CompactTenths(float ratio);

// The ratio with one decimal in the user's separator: "2.6%".
std::string FormatCompactPercent(float ratio, const std::string& decimalSeparator);

// Measures every hive file and its copy and works out what the window shows.
// A hive whose copy was not written shows "not copied" as its new size, and
// one left alone why, each in the language of the messages given; neither
// counts in any total: a missing copy is no saving.
AnalysisFigures ComputeFigures(Files& files, const HiveTable& table, const std::string& decimalSeparator,
                               const Messages& messages = Messages());

}  // namespace vh
