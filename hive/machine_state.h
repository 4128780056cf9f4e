// What an undo does not put back: the hives of the component store
// (COMPONENTS) and of the driver store (DRIVERS) beside SYSTEM, which
// Windows writes when it installs updates, features and drivers, and the
// build of Windows itself. Backups of SYSTEM and SOFTWARE older than a change
// of either no longer fit them: swapped back, they would leave updates and
// drivers half registered, and Windows perhaps unable to start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hive/hive_table.h"
#include "lang/messages.h"
#include "platform/platform.h"

namespace vh {

struct StoreHive {
  std::string file;
  std::int64_t size = -1;     // bytes; -1 when unreadable
  std::uint64_t written = 0;  // last write, FILETIME units
};

struct MachineState {
  // CurrentBuild and UBR ("19045.4291"), with the service pack where there
  // is one ("7601 Service Pack 1", XP's "2600 Service Pack 3"); empty when
  // unreadable.
  std::string build;
  std::vector<StoreHive> stores;  // those that exist, COMPONENTS first
};

// The machine as it is now; the stores are looked for in SYSTEM's folder.
MachineState ReadMachineState(Registry& registry, Files& files, const HiveTable& hives);

// What differs between then and now, each as the undo's reason.
std::vector<Phrase> MachineChanges(const MachineState& then, const MachineState& now);

}  // namespace vh
