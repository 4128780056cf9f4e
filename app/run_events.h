// The event at the end of every unattended run, so that an administrator
// learns how each machine's run ended from the event log (or the events
// forwarded from it) without opening varnhold.log there.
#pragma once

#include <string>

#include "app/command_line.h"
#include "app/unattended.h"
#include "platform/platform.h"

namespace vh {

// What an exit code means, in a few words.
std::string ExitCodeMeaning(int code);

// One event for a run that was not interactive: its exit code and, for
// /Scan and /Silent, the totals (empty without figures). An error event
// when the run failed, an information event when it did its work or found
// the gain below its minimum.
void ReportRunEnd(EventLog& log, const Invocation& invocation, int exitCode, const TotalsText& totals);

}  // namespace vh
