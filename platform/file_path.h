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

// The system folder as a 32-bit program on 64-bit Windows must name it to
// reach it: "<windowsFolder>\System32\..." as "<windowsFolder>\Sysnative\...",
// since its own "System32" leads to SysWOW64 (File System Redirector). Any
// other path is returned as it is. Only the program's own file calls use
// this spelling; everything recorded or compared keeps the system's.
std::string Wow64FilePath(const std::string& path, const std::string& windowsFolder);

// The system's spelling of a path an earlier version recorded through
// Sysnative: the folder named "Sysnative" as "System32", as Windows, its
// event log and its recovery console name it. Any other path as it is.
std::string SystemFolderSpelling(const std::string& path);

}  // namespace vh
