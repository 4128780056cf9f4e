// Loading system libraries so that a library planted beside the elevated
// program, or in the current folder, is never the one that runs. Works from
// XP SP3 on: the loader's search flags of later systems are used only when
// the running system has them.
#pragma once

#include <windows.h>

#include <string>

namespace vh {

// Narrows the search for libraries loaded later to the system folder when
// the system can (SetDefaultDllDirectories: Windows 8, or Vista and 7 with
// the loader update); otherwise at least takes the current folder out of it.
// True when the system-folder-only search is in force.
bool RestrictLibrarySearch();

// The full path of name in the system folder, empty when it cannot be built.
std::string SystemLibraryPath(const char* name);

// Loads name from the system folder by its full path, never by bare name;
// its own dependencies are looked up beside it first. Null when absent.
HMODULE LoadSystemLibrary(const char* name);

}  // namespace vh
