// The MSI package's custom action: its removal refuses while Varnhold runs,
// as the setup program's uninstaller does. A running Varnhold keeps its
// executable and, when it closes, writes its settings file again: removed
// from under it, the program would be left half there, without its entry.
//
// Built as varnhold_msi.dll, carried in the package's Binary table and run
// before InstallValidate when the product is removed (scripts/make-msi.sh).
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

namespace {

// The program's instance mutex and main window class
// (app/single_instance_win.cpp, app/main_window_win.cpp): held while a
// window or an unattended run is up, in any session.
const wchar_t kGlobalMutex[] = L"Global\\Varnhold Made by Tolvane Software";
const wchar_t kLocalMutex[] = L"Varnhold Made by Tolvane Software";
const wchar_t kWindowClass[] = L"Varnhold Made by Tolvane Software";

const wchar_t kRefusal[] =
    L"Varnhold is running. Close it (or wait for its scheduled run to end), then uninstall again.";

bool MutexExists(const wchar_t* name) {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name);
  if (mutex) {
    CloseHandle(mutex);
    return true;
  }
  // Another session's SYSTEM run may refuse this process the mutex.
  return GetLastError() == ERROR_ACCESS_DENIED;
}

bool Running() { return MutexExists(kGlobalMutex) || MutexExists(kLocalMutex); }

// Windows Installer's own files-in-use handling hears which process holds
// the files: with a user interface, its dialog names Varnhold and offers to
// look again once it is closed; a quiet removal answers nothing. True when
// asked to look again.
bool TellFilesInUse(MSIHANDLE install) {
  DWORD process = 0;
  if (HWND window = FindWindowW(kWindowClass, nullptr)) GetWindowThreadProcessId(window, &process);
  MSIHANDLE record = MsiCreateRecord(2);
  MsiRecordSetStringW(record, 1, L"Varnhold");
  MsiRecordSetInteger(record, 2, int(process));
  const int answer = MsiProcessMessage(install, INSTALLMESSAGE_FILESINUSE, record);
  MsiCloseHandle(record);
  return answer == IDRETRY;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall RefuseWhileRunning(MSIHANDLE install) {
  while (Running()) {
    if (TellFilesInUse(install)) continue;
    // Shown with a user interface, in the log of a quiet removal.
    MSIHANDLE record = MsiCreateRecord(0);
    MsiRecordSetStringW(record, 0, kRefusal);
    MsiProcessMessage(install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONSTOP), record);
    MsiCloseHandle(record);
    return ERROR_INSTALL_FAILURE;
  }
  return ERROR_SUCCESS;
}
