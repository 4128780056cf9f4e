// The four totals under the hive list, one row each as the hive list's
// columns are: the labels that show them, the figure of the analysis, the
// text the unattended modes report, the /Scan report's key and the
// insertion string of the run's event. The window, the report and the
// event all go through this table, so they cannot disagree on an order.
#pragma once

#include <string>
#include <vector>

#include "hive/figures.h"

namespace vh {

// The totals as the unattended modes report them.
struct TotalsText {
  std::string currentSize;
  std::string newSize;
  std::string sizeReduction;
  std::string compactPercent;
  int hivesNotCopied = 0;  // hives the analysis could not copy
  long long compactTenths = 0;  // the compaction percentage in tenths, as shown
};

struct TotalRow {
  const char* caption;                     // the layout's caption label
  const char* figure;                      // the layout's figure label
  std::string AnalysisFigures::*measured;  // what the analysis computed
  std::string TotalsText::*text;           // what the unattended modes report
  const char* reportKey;                   // its key in the report's [Scan Result]
  unsigned eventString;                    // its %n in the events that end /Scan and /Silent
};

// In the window's order, top to bottom.
const std::vector<TotalRow>& TotalRows();

}  // namespace vh
