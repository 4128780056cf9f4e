// The program's own files beside it (the executable, the journal, the log,
// the settings, the language files), which no report may overwrite: /Scan
// writing its sections into the journal would break the entry an undo
// needs, and into a language file would rewrite it.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vh {

// True when path names the program (programPath, absolute) or one of the
// files it keeps beside it, however it is spelt: the same path normalised
// (case ignored), a name of those files in the program's folder reached by
// another path (a junction, Wine's Z: drive), or one of those very files
// under another name (a hard link, an 8.3 name), told by its identity.
bool IsProgramFile(Files& files, const std::string& path, const std::string& programPath);

}  // namespace vh
