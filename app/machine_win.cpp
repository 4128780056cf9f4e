#include "app/machine_win.h"

#include <windows.h>

#include "platform/system_library_win.h"

namespace vh {

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

std::string VersionText(DWORD major, DWORD minor, DWORD build) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build & 0xFFFF);
}

}  // namespace

std::string ComputerNameText() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

std::string TrueWindowsVersion() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  auto rtlGetVersion = LibraryFunction<RtlGetVersionFn>(GetModuleHandleA("ntdll.dll"), "RtlGetVersion");
  if (rtlGetVersion && rtlGetVersion(&info) == 0)
    return VersionText(info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
  OSVERSIONINFOA fallback = {};
  fallback.dwOSVersionInfoSize = sizeof fallback;
  if (!GetVersionExA(&fallback)) return "";
  return VersionText(fallback.dwMajorVersion, fallback.dwMinorVersion, fallback.dwBuildNumber);
}

std::string AnsiFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return utf8;
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  if (n <= 0) return utf8;
  std::wstring wide(std::size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], n);
  int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  if (m <= 0) return utf8;
  std::string ansi(std::size_t(m), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), n, &ansi[0], m, nullptr, nullptr);
  return ansi;
}

}  // namespace vh
