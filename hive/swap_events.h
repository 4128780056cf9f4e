// The event log's record of hive swaps: the hives a defragmentation or an
// undo scheduled (with their sizes), the reasons when it could schedule
// none, and a restart that did not start. Each call writes at most one
// event; a log that refuses it changes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hive/defrag.h"
#include "hive/undo.h"
#include "platform/platform.h"

namespace vh {

// Once a defragmentation has tried every swap, before any restart: an
// information event with the hives it scheduled and their sizes, or an error
// with the reasons when it scheduled none.
void ReportDefragEvent(EventLog& log, const DefragReport& report);

// The same for an undo, from what it records in the journal.
void ReportUndoEvent(EventLog& log, const JournalEntry& done);

// Swaps were scheduled but Windows did not start the restart; why, in plain
// words (RestartAttempt::Failure).
void ReportRestartNotStarted(EventLog& log, const std::string& reason);

// "\REGISTRY\MACHINE\SOFTWARE: 8,192 KB, 6,144 KB"
std::string SwapLine(const std::string& hiveName, std::int64_t fromBytes, std::int64_t toBytes);

// The lines of an event's list, one a line; "none" for no line.
std::string EventList(const std::vector<std::string>& lines);

}  // namespace vh
