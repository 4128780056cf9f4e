// One spelling for a path, so that two names of one file compare equal.
#pragma once

#include <string>

namespace vh {

// The path as Windows resolves it for a file, in one spelling: "/" taken as
// "\", "\\?\" dropped, repeated separators, "." and ".." resolved, the
// trailing dots and blanks Windows drops from each name dropped, and a
// "::$DATA" stream suffix dropped (it names the file itself); upper case
// (ASCII) so that equal paths compare equal.
std::string NormalisedPath(const std::string& path);

}  // namespace vh
