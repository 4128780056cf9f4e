// The check a hive's copy passes before Windows is asked to boot from it:
// the copy is loaded as a hive of its own (so Windows checks its whole
// structure), compared with the live hive down to the second level of keys,
// and unloaded again at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "lang/messages.h"
#include "platform/platform.h"

namespace vh {

// The program's own keys below HKEY_LOCAL_MACHINE under which a copy is
// loaded while it is checked, and a single key saved on its own while the
// check asks whether RegSaveKey leaves it out.
extern const char kCheckKeyName[];
extern const char kProbeKeyName[];

struct CopyCheck {
  bool passed = false;
  Phrase reason;  // why not; no message when passed
};

// Unloads a copy that a killed run left loaded under either key. Needs
// the backup and restore privileges, which it enables only when there is
// something to unload.
void ReleaseStaleCheckKey(Registry& registry, Privileges& privileges);

// What a hive file holds at its root: RegLoadKey's answer, and the names of
// the keys at the root when it loaded.
struct HiveFileRoot {
  long error = 0;
  std::vector<std::string> keys;
  bool Loaded() const { return error == 0; }
};

// Loads a file under the check key, as a hive of its own (so Windows checks
// its whole structure), lists the keys at its root and unloads it at once.
// A file that does not exist is never loaded (RegLoadKey would create it):
// ERROR_FILE_NOT_FOUND. The caller has enabled the backup and restore
// privileges.
HiveFileRoot ReadHiveFileRoot(Registry& registry, Files& files, const std::string& file);

// What reads a passed copy while it is still loaded, as root\key.
using LoadedCopyReader = std::function<void(RootKey root, const std::string& key)>;

// Loads copyFile under the check key, compares it with the live hive and
// unloads it. The caller has enabled the restore privilege and tried the
// backup privilege: with backupHeld, both sides are read with backup
// semantics, as a backup program reads them, so that a key whose ACL shuts
// the administrators out is compared all the same. A copy that passes is
// given to readPassed before it is unloaded.
CopyCheck CheckHiveCopy(Registry& registry, Files& files, const std::string& hiveName, const std::string& copyFile,
                        bool backupHeld, const LoadedCopyReader& readPassed = {});

}  // namespace vh
