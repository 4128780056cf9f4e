// Whether Windows is servicing itself: installing updates or a program, or
// waiting for its own restart to finish doing so. Servicing writes the
// system and software hives at shutdown and at the next start; after a swap
// those writes would go to the backup and be lost, while the files and the
// component store keep theirs. No swap may be scheduled then.
//
// Only what says servicing is under way counts, never a value that some
// products keep present across every restart: a pending rename that the
// checked copy of SYSTEM holds as it is now is carried out at the next start
// from the compacted hive just as from the old one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "res/string_ids.h"

namespace vh {

// The files Session Manager renames or deletes at the next start, as a
// hive holds them: each value's data, nullopt where there is none or it is
// empty (no bytes, or terminators only).
struct PendingRenames {
  std::optional<std::string> renames;   // PendingFileRenameOperations
  std::optional<std::string> renames2;  // PendingFileRenameOperations2
};

// Those of the system hive loaded at root\hiveKey ("SYSTEM" for the live
// one, the check key for a loaded copy), in its current control set;
// nullopt when they cannot be read.
std::optional<PendingRenames> ReadPendingRenames(Registry& registry, RootKey root, const std::string& hiveKey);

// How the pending renames are judged.
enum class RenamesCheck {
  Later,      // not now: the look right before the first swap judges them
  Any,        // every rename counts
  SinceCopy,  // a rename counts only when new or changed since the checked copy of SYSTEM
};

// What was found, one message each ("Windows Update waits for a
// restart"); empty when Windows is not servicing itself. SinceCopy without
// a copy's renames (none was checked) counts every rename.
std::vector<unsigned> FindServicing(Platform& platform, RenamesCheck renames = RenamesCheck::Any,
                                    const std::optional<PendingRenames>& inCopy = std::nullopt);

// The findings in English, for the logs.
std::vector<std::string> EnglishFindings(const std::vector<unsigned>& found);

}  // namespace vh
