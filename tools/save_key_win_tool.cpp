// Saves one registry key to a file, as the program's analysis does, for the
// demo registry's stand-in hive files.
//   save_key_win_tool HKLM|HKU <subkey> <file>
// Exit code 0 when saved, else the Win32 error code (2 for bad arguments).
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "hive/hive_copy.h"
#include "platform/win32_platform_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc != 4) return ERROR_FILE_NOT_FOUND;
  HKEY root = std::strcmp(__argv[1], "HKU") == 0 ? HKEY_USERS : HKEY_LOCAL_MACHINE;
  vh::Win32Platform system;
  vh::EnableBackupPrivilege(system.platform().privileges);
  // The 64-bit view, as the program reads it on a 64-bit system.
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExA(root, __argv[2], 0, KEY_READ | KEY_WOW64_64KEY, &key);
  if (rc != ERROR_SUCCESS) return int(rc);
  DeleteFileA(__argv[3]);
  rc = RegSaveKeyA(key, __argv[3], nullptr);
  RegCloseKey(key);
  return int(rc);
}
