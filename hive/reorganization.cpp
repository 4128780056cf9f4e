#include "hive/reorganization.h"

#include <cstdio>

#include "platform/file_path.h"
#include "platform/text.h"

namespace vh {

namespace {

constexpr char kProvider[] = "Microsoft-Windows-Kernel-General";
constexpr std::uint32_t kReorganizedEvent = 15;
constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kSecondsPerDay = 86400;
// FILETIME's 1601-01-01 to 1970-01-01, in days.
constexpr std::int64_t kDaysTo1970 = 134774;

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool HasDrive(const std::string& path) {
  return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':' && path[2] == '\\';
}

// A whole byte count: digits only, within 64 bits.
std::optional<std::int64_t> ByteCount(const std::string& text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

struct Civil {
  std::int64_t year;
  unsigned month, day;
};

// Days since 1970-01-01 to the Gregorian date (Howard Hinnant's algorithm).
Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {std::int64_t(yoe) + era * 400 + (m <= 2), m, d};
}

}  // namespace

std::string LoggedHiveFile(const std::string& logged, const std::string& systemRoot) {
  const std::string kSystemRoot = "\\SystemRoot\\";
  if (StartsWith(logged, kSystemRoot)) {
    if (systemRoot.empty()) return "";
    std::string root = systemRoot;
    if (root.back() != '\\') root += '\\';
    return root + logged.substr(kSystemRoot.size());
  }
  std::string path = logged;
  if (StartsWith(path, "\\??\\") || StartsWith(path, "\\\\?\\")) path = path.substr(4);
  return HasDrive(path) ? path : "";
}

Reorganizations LatestReorganizations(const std::vector<LoggedEvent>& events,
                                      const std::vector<std::string>& hiveFiles, const std::string& systemRoot) {
  Reorganizations latest(hiveFiles.size());
  std::vector<std::string> files;
  for (const std::string& file : hiveFiles) files.push_back(NormalisedPath(file));
  for (const LoggedEvent& event : events) {
    if (event.eventId != kReorganizedEvent || !EqualsIgnoreCase(event.provider, kProvider)) continue;
    std::optional<std::int64_t> start = ByteCount(event.originalSize);
    std::optional<std::int64_t> end = ByteCount(event.newSize);
    std::string file = LoggedHiveFile(event.hiveName, systemRoot);
    if (!start || !end || file.empty()) continue;
    file = NormalisedPath(file);
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (files[i] != file) continue;
      if (!latest[i] || latest[i]->time < event.time) latest[i] = Reorganization{event.time, *start, *end};
    }
  }
  return latest;
}

Reorganizations ReadReorganizations(Platform& platform, const HiveTable& hives) {
  const OsVersion v = platform.system.GetVersion();
  const bool windows8OrLater = v.platformId == 2 && (v.major > 6 || (v.major == 6 && v.minor >= 2));
  if (!windows8OrLater || hives.empty()) return Reorganizations(hives.size());
  return LatestReorganizations(platform.systemLog.HiveReorganizations(kLoggedReorganizationsRead), hives.HiveFiles,
                               platform.systemLog.SystemRoot());
}

std::string UtcTimeText(std::uint64_t time) {
  const std::uint64_t seconds = time / kTicksPerSecond;
  const Civil date = CivilFromDays(std::int64_t(seconds / kSecondsPerDay) - kDaysTo1970);
  const unsigned inDay = unsigned(seconds % kSecondsPerDay);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02uZ", static_cast<long long>(date.year), date.month,
                date.day, inDay / 3600, inDay / 60 % 60, inDay % 60);
  return text;
}

std::string UtcDateText(std::uint64_t time) { return UtcTimeText(time).substr(0, 10); }

std::int64_t DaysBetween(std::uint64_t then, std::uint64_t now) {
  return now > then ? std::int64_t((now - then) / kTicksPerSecond / kSecondsPerDay) : 0;
}

std::optional<RecentReorganization> RecentlyReorganized(const Reorganizations& all, std::uint64_t now,
                                                        std::int64_t withinDays) {
  std::optional<RecentReorganization> recent;
  for (const std::optional<Reorganization>& one : all) {
    if (!one) continue;
    const std::int64_t days = DaysBetween(one->time, now);
    if (days > withinDays) continue;
    if (!recent) recent = RecentReorganization{0, days};
    recent->hives += 1;
    if (days < recent->daysAgo) recent->daysAgo = days;
  }
  return recent;
}

}  // namespace vh
