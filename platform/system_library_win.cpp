#include "platform/system_library_win.h"

namespace vh {

bool RestrictLibrarySearch() {
  // Looked up, not imported: a program that imports it does not start on
  // XP, Vista, or a 7 without the loader update.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32, hidden by the XP headers
  auto set = KernelFunction<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
  if (set && set(kSearchSystem32)) return true;
  // XP SP1 and later: an empty string removes the current folder.
  SetDllDirectoryA("");
  return false;
}

std::string SystemLibraryPath(const char* name) {
  char folder[MAX_PATH];
  UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string path(folder, n);
  if (path.back() != '\\') path += '\\';
  return path + name;
}

HMODULE LoadSystemLibrary(const char* name) {
  std::string path = SystemLibraryPath(name);
  if (path.empty()) return nullptr;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace vh
