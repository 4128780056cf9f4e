#include "app/last_figures.h"

namespace vh {

TotalsText TotalsOf(const AnalysisFigures* figures) {
  TotalsText totals;
  if (!figures) return totals;
  totals.hivesNotCopied = figures->notCopied;
  if (!figures->AnyCopied()) return totals;
  for (const TotalRow& row : TotalRows()) totals.*row.text = figures->*row.measured;
  totals.compactTenths = CompactTenths(figures->ratio);
  return totals;
}

HivesReport HivesReportOf(const HiveTable& table, const AnalysisFigures* figures, const std::string& computer,
                          const std::string& windows, const Reorganizations& reorganizations) {
  HivesReport report{computer, windows, {}};
  if (!figures) return report;
  for (std::size_t i = 0; i < figures->rows.size() && i < table.size(); ++i) {
    const RowFigures& row = figures->rows[i];
    HiveSizes hive{table.HiveNames[i], row.currentBytes, std::nullopt};
    if (row.copied) hive.copyBytes = row.copyBytes;
    if (i < reorganizations.size()) hive.reorganized = reorganizations[i];
    report.hives.push_back(hive);
  }
  return report;
}

}  // namespace vh
