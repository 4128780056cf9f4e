// The loaded hives that are never the program's to swap: listed and shown
// as left alone, but never copied, checked or swapped. Only the system's own
// hives are swapped: SYSTEM, SOFTWARE, the default user's, and those of the
// profiles the system lists (each user's and its _Classes). Among the
// machine's own, one table names those left alone with their reasons; any
// other hive was loaded by another program (reg load, an offline image
// mounted for servicing), whose later writes would go to the backup.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hive/hive_table.h"
#include "platform/platform.h"

namespace vh {

struct LeftAlone {
  unsigned shownId;   // the message in the hive list's new-size column
  unsigned reasonId;  // the message in the notices; English in the journal's log lines
  const char* Shown() const;   // the English texts
  const char* Reason() const;
};

// The reason a hive is left alone, or nullopt for one of the system's own
// to swap; profileSids are the SIDs ProfileList lists. Names compare
// without regard to case.
std::optional<LeftAlone> LeftAloneReason(const std::string& hiveName, const std::vector<std::string>& profileSids);

// The reason every hive of another program is given.
extern const LeftAlone kOtherProgramsHive;

// The profiles' SIDs, from HKLM\...\ProfileList; none when the key cannot
// be read.
std::vector<std::string> ReadProfileSids(Registry& registry);

// The table without the hives left alone: what an analysis copies.
HiveTable HivesToCopy(const HiveTable& hives);

// The account that may read a copy of this hive besides the administrators
// and SYSTEM: the user of a user hive ("\REGISTRY\USER\S-1-5-21-..." and
// its "_Classes" hive), "" for any other.
std::string HiveReaderSid(const std::string& hiveName);

}  // namespace vh
