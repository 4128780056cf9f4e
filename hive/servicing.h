// Whether Windows is servicing itself: installing updates or a program, or
// waiting for its own restart to finish doing so. Servicing writes the
// system and software hives at shutdown and at the next start; after a swap
// those writes would go to the backup and be lost, while the files and the
// component store keep theirs. No swap may be scheduled then.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "res/string_ids.h"

namespace vh {

// What was found, one message each ("Windows Update waits for a
// restart"); empty when Windows is not servicing itself.
std::vector<unsigned> FindServicing(Registry& registry, SystemInfo& system);

// The findings in English, for the logs.
std::vector<std::string> EnglishFindings(const std::vector<unsigned>& found);

}  // namespace vh
