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

// A library's function looked up at run time rather than imported (an
// import the system lacks stops the program from starting); null when the
// library is not loaded or has no such function.
template <typename Fn>
Fn LibraryFunction(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}
// The same in kernel32, for the functions that older systems lack.
template <typename Fn>
Fn KernelFunction(const char* name) {
  return LibraryFunction<Fn>(GetModuleHandleA("kernel32.dll"), name);
}

// Loads name from the system folder by its full path, never by bare name;
// its own dependencies are looked up beside it first. Null when absent.
HMODULE LoadSystemLibrary(const char* name);

}  // namespace vh
