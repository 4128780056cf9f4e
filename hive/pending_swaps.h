// Whether swaps scheduled by an earlier run still wait for the restart.
// Until then the program must not copy, check or swap again: a second
// RegReplaceKey of a hive is refused, its copy would be taken from a hive
// Windows is about to drop, and the earlier run's backups are live files.
#pragma once

#include <string>
#include <vector>

#include "hive/hive_table.h"
#include "hive/journal.h"
#include "platform/platform.h"

namespace vh {

// True when the journal's last run that scheduled swaps (a
// defragmentation or an undo) is newer than the system's start, or when a
// hive's backup or undo file is held open: after RegReplaceKey it is the
// live hive's file until the restart.
bool SwapsWaitForRestart(Files& files, SystemInfo& system, const std::vector<JournalEntry>& journal,
                         const HiveTable& hives);

}  // namespace vh
