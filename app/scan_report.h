// The /Scan report file beyond its totals: erasing the report's sections
// before the analysis, and the [Scan Hives] section that tells an
// administrator which hive on which machine would gain:
//
//   [Scan Hives]
//   Computer=PC-0042
//   Windows=10.0.19045
//   Hives=2
//   Hive1=\REGISTRY\MACHINE\SOFTWARE|8388608|6291456
//   Hive2=\REGISTRY\MACHINE\SAM|262144|          (no copy was written)
//   Reorganized1=2026-11-30T07:14:03Z|9437184|8388608 (Windows' own, from
//                                             the System log; only for a
//                                             hive it names)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hive/reorganization.h"
#include "platform/platform.h"

namespace vh {

struct HiveSizes {
  std::string name;                     // as listed under hivelist
  std::int64_t currentBytes = 0;        // the hive file's size
  std::optional<std::int64_t> copyBytes;  // the compacted copy's; none without a copy
  std::optional<Reorganization> reorganized;  // Windows' own latest, when logged
};

struct HivesReport {
  std::string computer;
  std::string windows;  // major.minor.build
  std::vector<HiveSizes> hives;  // in the table's order; none without figures
};

// Erases every [Scan Result] and [Scan Hives] section of the file: the
// profile writer erases only the first section of a name, and a second one
// would keep stale keys. False when the file cannot be written.
bool EraseReportSections(ProfileFiles& profiles, const std::string& path);

// Writes the [Scan Hives] section; throws UnableToWrite when a key cannot be
// written.
void WriteScanHives(ProfileFiles& profiles, const std::string& path, const HivesReport& report);

}  // namespace vh
