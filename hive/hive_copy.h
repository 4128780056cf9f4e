// Routines that touch one hive or one file: the compacted copy of a hive,
// the token privileges hive files need, a file's size and its lock state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vh {

struct HiveKeyPath {
  RootKey root = RootKey::None;
  std::string subkey;  // case kept
};

// "\REGISTRY\MACHINE\SAM" -> LocalMachine, "SAM"; markers found anywhere,
// case-blind.
HiveKeyPath SplitHiveName(const std::string& hiveName);

// Opens the hive's root key for reading, as its copy is saved from. 0 when
// it cannot be opened.
KeyHandle OpenHiveKey(Registry& registry, const std::string& hiveName);

// The format Windows keeps the hive in ("Registry Hives"): the latest for
// SYSTEM, SOFTWARE and each profile's _Classes hive; the standard one for
// the profiles' own hives (NTUSER.DAT, .DEFAULT's), which an earlier system
// must still be able to load from a roaming profile, and for any other.
HiveFormat SaveFormatOf(const std::string& hiveName);

// Writes the compacted copy of the hive to target (RegSaveKeyEx, in the
// hive's own format: the analysis measures what the swap gives). Any file at
// target is deleted first; a failed save leaves no file behind, so that a
// partial copy can never be taken for a good one. A target reached through a
// link is neither deleted nor written.
bool SaveHiveCopy(Registry& registry, Files& files, const std::string& hiveName, const std::string& target);

// True when the token holds the privilege and it is now enabled.
bool EnableBackupPrivilege(Privileges& privileges);
void EnableRestorePrivilege(Privileges& privileges);

// Size from the directory entry, without opening the file: 0 when absent,
// -1 when the entry cannot be read. Full 64-bit range.
std::int64_t QueryFileSize(Files& files, const std::string& path);

// Deletes the file when it exists and is not reached through a link: a
// link could point anywhere, and the program only ever deletes its own files.
void DeleteUnlessLinked(Files& files, const std::string& path);

// Deletes every copy (hive file + ".hvz") that exists. A copy named in a
// pending swap is held by the system and stays.
void DeleteLeftoverCopies(Files& files, const std::vector<std::string>& hiveFiles);

// True when the file exists and cannot be opened exclusively.
bool IsFileLocked(Files& files, const std::string& path);

}  // namespace vh
