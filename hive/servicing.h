// Whether Windows is servicing itself: installing updates or a program, or
// waiting for its own restart to finish doing so. Servicing writes the
// system and software hives at shutdown and at the next start; after a swap
// those writes would go to the backup and be lost, while the files and the
// component store keep theirs. No swap may be scheduled then.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace vh {

// What was found, one plain line each ("Windows Update waits for a
// restart"); empty when Windows is not servicing itself.
std::vector<std::string> FindServicing(Registry& registry, SystemInfo& system, bool wow64);

}  // namespace vh
