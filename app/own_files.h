// The program's own files beside it (the executable, the journal, the log,
// the settings, the language files), which no report may overwrite: /Scan
// writing its sections into the journal would break the entry an undo
// needs.
#pragma once

#include <string>

namespace vh {

// True when path names the program (programPath, absolute) or one of the
// files it keeps beside it; compares normalised paths, case ignored.
bool IsProgramFile(const std::string& path, const std::string& programPath);

}  // namespace vh
