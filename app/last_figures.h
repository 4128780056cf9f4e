// What the unattended modes report of the main window's last analysis: the
// totals and each hive's sizes, from the figures the analysis computed (not
// from the labels that show them).
#pragma once

#include <string>

#include "app/scan_report.h"
#include "app/unattended.h"
#include "hive/figures.h"
#include "hive/hive_table.h"
#include "hive/reorganization.h"

namespace vh {

// Empty texts without figures, or when no hive was copied (totals of
// nothing would read as a measured registry of 0 KB).
TotalsText TotalsOf(const AnalysisFigures* figures);

// One line per hive of the table, with the sizes the analysis measured and
// Windows' own latest reorganisation (one per table entry, or none at all);
// none without figures.
HivesReport HivesReportOf(const HiveTable& table, const AnalysisFigures* figures, const std::string& computer,
                          const std::string& windows, const Reorganizations& reorganizations = {});

}  // namespace vh
