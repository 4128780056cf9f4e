// A stand-in for a library someone planted beside the program under the name
// of the restore client: it leaves a mark when it is loaded.
#include <windows.h>

#include <string>

namespace {

void LeaveMark() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  HANDLE f = CreateFileA((std::string(temp) + "varnhold-planted-loaded").c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMark();
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI SRSetRestorePointA(void*, void*) { return TRUE; }
