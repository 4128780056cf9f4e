// Whether swaps scheduled by a run still wait for the restart. Until then
// the program must not copy, check or swap again: a second RegReplaceKey of
// a hive is refused, its copy would be taken from a hive Windows is about
// to drop, and the earlier run's backups are live files.
//
// A run marks its swaps with a volatile key of its own before the first
// swap. Windows keeps a volatile key in memory only, so the key is there
// exactly until the restart, whatever the clock says, however long the
// system has been running, and whatever journal lies beside the program.
// A key of that name that is not volatile (restored from an export taken
// while swaps waited, say) outlives every restart: it is no evidence, and
// it is made again as a volatile one before the next run's swaps.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace vh {

// Below HKEY_LOCAL_MACHINE, in the 64-bit view under WOW64.
extern const char kSwapsWaitingKey[];

// The run whose swaps wait: its journal stamp, the local time it ran and
// the computer it ran on (empty in a key of an earlier version).
struct WaitingRun {
  std::string run;
  std::string time;
  std::string computer;
};

// The run the key names; nullopt when no swaps wait: no key, one that names
// no run, or one whose flags say it is not volatile.
std::optional<WaitingRun> FindWaitingSwaps(Registry& registry);

// Removes a key of that name that is no evidence, and says so to log: one
// whose flags say it is not volatile (it would also be copied into the
// compacted SOFTWARE and come back with it), and, where the system cannot
// tell by the flags, one whose run has taken effect. A run has when the
// hive files are the files the journal's entry of the run names to take
// their place and the files they replaced are no longer held by the
// system, which holds them, as the live hives, until the restart. True
// when removed.
bool RemoveStaleWaitingKey(Registry& registry, Files& files, const std::string& journalPath,
                           const std::function<void(const std::string&)>& log);

// Creates the volatile key and names the run in it; false when it could
// not be created or written, and then nothing may be swapped. A key of
// that name that is not volatile, or may not be, is deleted and made
// again, and log hears of it.
bool MarkSwapsWaiting(Registry& registry, const WaitingRun& run,
                      const std::function<void(const std::string&)>& log = {});

// The run scheduled no swap after all: the key no longer names it.
void ClearSwapsWaiting(Registry& registry);

// "the run of <time> (<stamp>) on <computer>", for a refusal that says what
// it found.
std::string WaitingRunText(const WaitingRun& run);

}  // namespace vh
