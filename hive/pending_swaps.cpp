#include "hive/pending_swaps.h"

#include "hive/hive_copy.h"

namespace vh {

bool SwapsWaitForRestart(Files& files, SystemInfo& system, const std::vector<JournalEntry>& journal,
                         const HiveTable& hives) {
  for (auto it = journal.rbegin(); it != journal.rend(); ++it) {
    if (!it->SchedulesSwaps()) continue;
    if (it->stamp >= system.BootTime()) return true;
    break;
  }
  for (const std::string& file : hives.HiveFiles)
    if (IsFileLocked(files, BackupPath(file)) || IsFileLocked(files, UndoPath(file))) return true;
  return false;
}

}  // namespace vh
