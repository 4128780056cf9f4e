// The program's own files beside it (the executable, the journal, the log,
// the settings, the language files), which no report may overwrite: /Scan
// writing its sections into the journal would break the entry an undo
// needs.
#pragma once

#include <string>

namespace vh {

// The path as Windows resolves it for a file, in one spelling: "/" taken as
// "\", "\\?\" dropped, repeated separators, "." and ".." resolved, the
// trailing dots and blanks Windows drops from each name dropped, and a
// "::$DATA" stream suffix dropped (it names the file itself); upper case
// (ASCII) so that equal paths compare equal.
std::string NormalisedPath(const std::string& path);

// True when path names the program (programPath, absolute) or one of the
// files it keeps beside it; compares normalised paths, case ignored.
bool IsProgramFile(const std::string& path, const std::string& programPath);

}  // namespace vh
