// What the restore point dialog needs that is not a window: the request it
// makes, the outcome it reports, the step it answers with, and the pace of
// its bar.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vh {

// How the restore point step of a run went; the journal records it.
enum class RestorePointStep {
  NotAsked,      // the option is off, or the run is unattended
  NotOffered,    // this Windows has no System Restore
  Created,
  FailedWentOn,  // creation failed and the user chose to go on
  Stopped,       // creation failed or was abandoned, and the run stopped there
};

// What the restore point step came to, and the sequence number that ends
// the change it opened.
struct RestorePointMade {
  RestorePointStep step = RestorePointStep::NotAsked;
  std::int64_t sequenceNumber = 0;
};

// What the restore point is made before: its failure question names it.
enum class RestorePointFor { Defragmentation, Undo };

// BEGIN_SYSTEM_CHANGE for an APPLICATION_INSTALL, "Made by Quillmere".
RestorePointRequest MakeRestorePointRequest();

// lParam of the restore point worker's message: 0 created, 1 failed. A library or entry
// point that is missing counts as a failed creation, so the user decides.
std::intptr_t RestorePointResultCode(RestoreOutcome outcome);

// The bar shows elapsed time: +10 up to 30, +5 to 50, +3 to 60, +2 to 80,
// +1 to 99, then it stays.
int NextRestoreProgress(int position);

}  // namespace vh
