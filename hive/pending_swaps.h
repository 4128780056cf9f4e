// Whether swaps scheduled by a run still wait for the restart. Until then
// the program must not copy, check or swap again: a second RegReplaceKey of
// a hive is refused, its copy would be taken from a hive Windows is about
// to drop, and the earlier run's backups are live files.
//
// A run marks its swaps with a volatile key of its own before the first
// swap. Windows keeps a volatile key in memory only, so the key is there
// exactly until the restart, whatever the clock says, however long the
// system has been running, and whatever journal lies beside the program.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace vh {

// Below HKEY_LOCAL_MACHINE, in the 64-bit view under WOW64.
extern const char kSwapsWaitingKey[];

// The run whose swaps wait: its journal stamp and the local time it ran.
struct WaitingRun {
  std::string run;
  std::string time;
};

// The run the key names; nullopt when no swaps wait.
std::optional<WaitingRun> FindWaitingSwaps(Registry& registry);

// Creates the volatile key and names the run in it; false when it could
// not be created or written, and then nothing may be swapped.
bool MarkSwapsWaiting(Registry& registry, const WaitingRun& run);

// The run scheduled no swap after all: the key no longer names it.
void ClearSwapsWaiting(Registry& registry);

// "the run of <time> (<stamp>)", for a refusal that says what it found.
std::string WaitingRunText(const WaitingRun& run);

}  // namespace vh
