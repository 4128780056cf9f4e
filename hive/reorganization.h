// What Windows did to the hives by itself. Since Windows 8 the kernel
// reorganises a hive as it loads it at start, when the last reorganisation
// is old enough (7 days by default) and the gain is worth it, and logs each
// one in the System log (Kernel-General, event 15) with the hive's file and
// its sizes before and after. Matched to the table by file, this tells the
// user what is left to gain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hive/hive_table.h"
#include "platform/platform.h"

namespace vh {

struct Reorganization {
  std::uint64_t time = 0;  // UTC, FILETIME units
  std::int64_t startBytes = 0;
  std::int64_t endBytes = 0;
};

// One per table entry, in its order; none for a hive the log does not name.
using Reorganizations = std::vector<std::optional<Reorganization>>;

// How many of the log's newest entries are read: the kernel writes at most
// one per hive and start, so this reaches weeks back on any machine.
constexpr std::size_t kLoggedReorganizationsRead = 512;

// The kernel's name of a hive file as a drive-letter path:
// "\SystemRoot\System32\Config\SOFTWARE" under systemRoot, and "\??\C:\x",
// "\\?\C:\x" and "C:\x" as "C:\x". Empty for any other form.
std::string LoggedHiveFile(const std::string& logged, const std::string& systemRoot);

// The newest well-formed entry of each listed hive file; entries of other
// providers or events, of hives not listed, or whose sizes are not whole
// byte counts are passed over.
Reorganizations LatestReorganizations(const std::vector<LoggedEvent>& events,
                                      const std::vector<std::string>& hiveFiles, const std::string& systemRoot);

// Asks the System log on Windows 8 and later (6.2 and up, as the system
// reports itself to the program); none before, where Windows never
// reorganises a hive by itself.
Reorganizations ReadReorganizations(Platform& platform, const HiveTable& hives);

// The moment as the report writes it, UTC: "2026-11-30T07:14:03Z".
std::string UtcTimeText(std::uint64_t time);
// The date alone: "2026-11-30".
std::string UtcDateText(std::uint64_t time);

// Whole days from then to now; 0 when then is not earlier.
std::int64_t DaysBetween(std::uint64_t then, std::uint64_t now);

// The newest reorganisation among the hives, when it is at most withinDays
// old: how many hives Windows reorganised in those days and how long ago
// the newest was.
struct RecentReorganization {
  std::size_t hives = 0;
  std::int64_t daysAgo = 0;
};
std::optional<RecentReorganization> RecentlyReorganized(const Reorganizations& all, std::uint64_t now,
                                                        std::int64_t withinDays = 30);

}  // namespace vh
