// The loaded hives that are never the program's to swap: listed and shown
// as left alone, but never copied, checked or swapped. One table, each
// name with its reason.
#pragma once

#include <optional>
#include <string>

#include "hive/hive_table.h"

namespace vh {

struct LeftAlone {
  unsigned shownId;   // the message in the hive list's new-size column
  unsigned reasonId;  // the message in the notices; English in the journal's log lines
  const char* Shown() const;   // the English texts
  const char* Reason() const;
};

// The reason a hive is left alone, or nullopt for an ordinary hive. Only
// the machine's own hives of these names count ("\REGISTRY\MACHINE\SAM").
std::optional<LeftAlone> LeftAloneReason(const std::string& hiveName);

// The table without the hives left alone: what an analysis copies.
HiveTable HivesToCopy(const HiveTable& hives);

// The account that may read a copy of this hive besides the administrators
// and SYSTEM: the user of a user hive ("\REGISTRY\USER\S-1-5-21-..." and
// its "_Classes" hive), "" for any other.
std::string HiveReaderSid(const std::string& hiveName);

}  // namespace vh
