#include "app/scan_report.h"

#include "platform/error.h"

namespace vh {

namespace {

const char* const kReportSections[] = {"Scan Result", "Scan Hives"};

bool EraseEverySection(ProfileFiles& profiles, const char* section, const std::string& path) {
  if (!profiles.EraseSection(section, path)) return false;
  // Bounded: a profile writer that reports success without erasing must
  // not keep the run from ending.
  for (int i = 0; i < 1000 && profiles.HasSection(section, path); ++i) {
    if (!profiles.EraseSection(section, path)) return false;
  }
  return true;
}

std::string HiveLine(const HiveSizes& hive) {
  return hive.name + "|" + std::to_string(hive.currentBytes) + "|" +
         (hive.copyBytes ? std::to_string(*hive.copyBytes) : std::string());
}

std::string ReorganizedLine(const Reorganization& r) {
  return UtcTimeText(r.time) + "|" + std::to_string(r.startBytes) + "|" + std::to_string(r.endBytes);
}

}  // namespace

bool EraseReportSections(ProfileFiles& profiles, const std::string& path) {
  for (const char* section : kReportSections) {
    if (!EraseEverySection(profiles, section, path)) return false;
  }
  return true;
}

void WriteScanHives(ProfileFiles& profiles, const std::string& path, const HivesReport& report) {
  std::vector<std::pair<std::string, std::string>> keys{
      {"Computer", report.computer}, {"Windows", report.windows}, {"Hives", std::to_string(report.hives.size())}};
  for (std::size_t i = 0; i < report.hives.size(); ++i)
    keys.push_back({"Hive" + std::to_string(i + 1), HiveLine(report.hives[i])});
  // After every line earlier versions wrote, so that readers of those keep
  // working.
  for (std::size_t i = 0; i < report.hives.size(); ++i) {
    if (report.hives[i].reorganized)
      keys.push_back({"Reorganized" + std::to_string(i + 1), ReorganizedLine(*report.hives[i].reorganized)});
  }
  for (const auto& key : keys) {
    if (!profiles.Write(kReportSections[1], key.first, key.second, path)) throw UnableToWrite(path);
  }
}

}  // namespace vh
