#include "app/totals.h"

namespace vh {

const std::vector<TotalRow>& TotalRows() {
  static const std::vector<TotalRow> rows = {
      {"lLastWashed", "lCurrentRegistrySize", &AnalysisFigures::currentRegistrySize, &TotalsText::currentSize,
       "Current Size", 3},
      {"Label4", "lNewRegistrySize", &AnalysisFigures::newRegistrySize, &TotalsText::newSize, "New Size", 4},
      {"Label5", "lSizeReduction", &AnalysisFigures::sizeReduction, &TotalsText::sizeReduction, "Size Reduction", 5},
      {"lCompactPercent1", "lCompactPercent", &AnalysisFigures::compactPercent, &TotalsText::compactPercent,
       "Compact Percent", 6},
  };
  return rows;
}

}  // namespace vh
