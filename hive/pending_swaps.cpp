#include "hive/pending_swaps.h"

#include "hive/hive_copy.h"

namespace vh {

namespace {

bool SchedulesSwaps(const JournalEntry& entry) {
  return entry.kind != JournalKind::RestartNotStarted && entry.Scheduled() > 0;
}

}  // namespace

PendingSwaps FindPendingSwaps(Files& files, SystemInfo& system, const std::vector<JournalEntry>& journal,
                              const HiveTable& hives) {
  PendingSwaps found;
  const std::uint64_t boot = system.BootTime();
  for (auto it = journal.rbegin(); it != journal.rend(); ++it) {
    if (!SchedulesSwaps(*it)) continue;
    if (it->stamp >= boot) found = {true, it->time};
    break;
  }
  if (found.pending) return found;
  for (const std::string& file : hives.HiveFiles) {
    if (IsFileLocked(files, BackupPath(file)) || IsFileLocked(files, UndoPath(file))) return {true, ""};
  }
  return found;
}

}  // namespace vh
