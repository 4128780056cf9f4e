#include "hive/figures.h"

#include <cmath>

#include "hive/hive_copy.h"
#include "hive/left_alone.h"

namespace vh {

std::string FormatSizeKB(std::int64_t bytes) {
  std::int64_t kb = bytes / 1024;
  if (bytes % 1024 != 0) ++kb;
  std::string digits = std::to_string(kb);
  std::string groups;
  while (digits.size() > 3 && (digits.size() > 4 || digits[0] != '-')) {
    groups = "," + digits.substr(digits.size() - 3) + groups;
    digits.resize(digits.size() - 3);
  }
  return digits + groups + " KB";
}

std::string RowReduction(std::int64_t current, std::int64_t compacted) {
  if (compacted > current || current <= 0) return "0%";
  return std::to_string((current - compacted) * 100 / current) + "%";
}

long long CompactTenths(float ratio) {
  // Rounded half away from zero from the float's own value: 2.95f is
  // 2.9500000477 and reads 3.0.
  long long tenths = (long long)std::floor(std::fabs(double(ratio)) * 10.0 + 0.5);
  return ratio < 0 ? -tenths : tenths;
}

std::string FormatCompactPercent(float ratio, const std::string& decimalSeparator) {
  long long tenths = CompactTenths(ratio);
  std::string sign = tenths < 0 ? "-" : "";
  if (tenths < 0) tenths = -tenths;
  return sign + std::to_string(tenths / 10) + decimalSeparator + std::to_string(tenths % 10) + "%";
}

AnalysisFigures ComputeFigures(Files& files, const HiveTable& table, const std::string& decimalSeparator,
                               const Messages& messages) {
  const std::string notCopiedText = messages.Text(IDS_NOT_COPIED);
  AnalysisFigures f;
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::int64_t current = QueryFileSize(files, table.HiveFiles[i]);
    // Never copied, so no more a failure than a saving.
    if (std::optional<LeftAlone> why = LeftAloneReason(table.HiveNames[i], table.ProfileSids)) {
      f.rows.push_back({FormatSizeKB(current), messages.Text(why->shownId), "", false, current, -1});
      ++f.leftAlone;
      continue;
    }
    if (!files.Exists(CopyPath(table.HiveFiles[i]))) {
      f.rows.push_back({FormatSizeKB(current), notCopiedText, "", false, current, -1});
      ++f.notCopied;
      continue;
    }
    std::int64_t compacted = QueryFileSize(files, CopyPath(table.HiveFiles[i]));
    f.totalCurrent += current;
    f.totalNew += compacted;
    f.rows.push_back(
        {FormatSizeKB(current), FormatSizeKB(compacted), RowReduction(current, compacted), true, current, compacted});
  }
  f.currentRegistrySize = FormatSizeKB(f.totalCurrent);
  f.newRegistrySize = FormatSizeKB(f.totalNew);
  bool grew = f.totalNew > f.totalCurrent;
  f.sizeReduction = grew ? "0 KB" : FormatSizeKB(f.totalCurrent - f.totalNew);
  if (grew || f.totalCurrent <= 0) {
    // Nothing to compact, or nothing measured: no percentage to divide out.
    f.compactPercent = "0%";
    return f;
  }
  f.ratio = float(double(f.totalCurrent - f.totalNew) * 100.0 / double(f.totalCurrent));
  f.compactPercent = FormatCompactPercent(f.ratio, decimalSeparator);
  f.adviseAgainst = f.ratio < 3.0f;
  return f;
}

}  // namespace vh
