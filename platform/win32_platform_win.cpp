#include "platform/win32_platform_win.h"

#include <windows.h>

#include <vector>

#include "platform/system_library_win.h"

namespace vh {

namespace {

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
    case RootKey::None: break;
  }
  return nullptr;
}

HKEY AsHkey(KeyHandle key) { return reinterpret_cast<HKEY>(key); }

// The directory entry of a path, if any; the file itself is never opened.
bool FindEntry(const std::string& path, WIN32_FIND_DATAA& data) {
  HANDLE find = FindFirstFileA(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}

// The restore entry point's request record, packed as the library expects.
#pragma pack(push, 1)
struct RestorePointInfoA {
  DWORD dwEventType;
  DWORD dwRestorePtType;
  INT64 llSequenceNumber;
  char szDescription[64];
};
struct StateMgrStatus {
  DWORD nStatus;
  INT64 llSequenceNumber;
};
#pragma pack(pop)
using SetRestorePointFn = BOOL(WINAPI*)(RestorePointInfoA*, StateMgrStatus*);

}  // namespace

Win32Platform::Win32Platform()
    : platform_{*this, *this, *this, *this, *this, *this, *this, *this, *this} {}

KeyHandle Win32Platform::OpenKeyEx(RootKey root, const std::string& subkey, std::uint32_t access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootHandle(root), subkey.c_str(), 0, access, &key) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<KeyHandle>(key);
}

KeyHandle Win32Platform::OpenKey(RootKey root, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyA(RootHandle(root), subkey.c_str(), &key) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<KeyHandle>(key);
}

std::vector<std::string> Win32Platform::ValueNames(KeyHandle key) {
  std::vector<std::string> names;
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyA(AsHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::vector<char> buffer(longest + 2);
  for (DWORD i = 0;; ++i) {
    DWORD length = DWORD(buffer.size());
    LONG rc = RegEnumValueA(AsHkey(key), i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {  // a value added since the query
      buffer.resize(buffer.size() * 2 + 256);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(buffer.data(), length);
  }
  return names;
}

std::uint32_t Win32Platform::ValueType(KeyHandle key, const std::string& name) {
  DWORD type = 0;
  if (RegQueryValueExA(AsHkey(key), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) return 0;
  return type;
}

std::string Win32Platform::ReadString(KeyHandle key, const std::string& name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(AsHkey(key), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
  if (type != REG_SZ && type != REG_EXPAND_SZ) return "";
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(AsHkey(key), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return "";
  return std::string(data.data());  // stored data need not end in a NUL
}

long Win32Platform::SaveKey(KeyHandle key, const std::string& file) {
  return RegSaveKeyA(AsHkey(key), file.c_str(), nullptr);
}

long Win32Platform::ReplaceKey(RootKey root, const std::string& subkey, const std::string& newFile,
                               const std::string& backupFile) {
  return RegReplaceKeyA(RootHandle(root), subkey.c_str(), newFile.c_str(), backupFile.c_str());
}

void Win32Platform::CloseKey(KeyHandle key) { RegCloseKey(AsHkey(key)); }

bool Win32Platform::Enable(const std::string& privilege, std::uint32_t tokenAccess) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), tokenAccess, &token)) return false;
  TOKEN_PRIVILEGES state{};
  bool ok = LookupPrivilegeValueA(nullptr, privilege.c_str(), &state.Privileges[0].Luid);
  if (ok) {
    state.PrivilegeCount = 1;
    state.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ok = AdjustTokenPrivileges(token, FALSE, &state, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
  }
  CloseHandle(token);
  return ok;
}

std::string Win32Platform::LogicalDriveStrings(std::size_t bufferChars) {
  std::vector<char> buffer(bufferChars + 1, '\0');
  DWORD n = GetLogicalDriveStringsA(DWORD(bufferChars), buffer.data());
  if (n == 0 || n > bufferChars) return "";
  return std::string(buffer.data(), n);
}

std::uint32_t Win32Platform::DriveType(const std::string& root) { return GetDriveTypeA(root.c_str()); }

std::string Win32Platform::DeviceName(const std::string& drive, std::size_t bufferChars) {
  std::vector<char> buffer(bufferChars + 1, '\0');
  if (QueryDosDeviceA(drive.c_str(), buffer.data(), DWORD(bufferChars)) == 0) return "";
  return std::string(buffer.data());
}

bool Win32Platform::Exists(const std::string& path) {
  WIN32_FIND_DATAA data;
  return FindEntry(path, data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::int64_t> Win32Platform::EntrySize(const std::string& path) {
  char full[MAX_PATH * 2];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return std::nullopt;
  WIN32_FIND_DATAA data;
  if (!FindEntry(full, data)) return std::nullopt;
  return (std::int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32Platform::CanOpenExclusive(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool Win32Platform::Delete(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32Platform::IsLinked(const std::string& path) {
  char full[MAX_PATH * 2];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return true;  // cannot tell: assume the worst
  std::string walk(full, n);
  // Every existing prefix after the root: C:\a, C:\a\b, ...
  for (std::size_t at = walk.find('\\', 3); ; at = walk.find('\\', at + 1)) {
    std::string prefix = at == std::string::npos ? walk : walk.substr(0, at);
    DWORD attributes = GetFileAttributesA(prefix.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    if (at == std::string::npos) break;
  }
  return false;
}

std::string Win32Platform::ExecutableFolder() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) {
      std::string path(buffer.data(), n);
      std::size_t slash = path.find_last_of("\\/:");
      return slash == std::string::npos ? "" : path.substr(0, slash + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<bool> Win32Platform::IsWow64Process() {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleA("kernel32");
  auto fn = kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process"))) : nullptr;
  if (!fn) return std::nullopt;
  BOOL wow64 = FALSE;
  fn(GetCurrentProcess(), &wow64);
  return wow64 != FALSE;
}

OsVersion Win32Platform::GetVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&info);
#pragma GCC diagnostic pop
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

bool Win32Platform::ExitSystem(std::uint32_t flags, std::uint32_t reason) {
  return ExitWindowsEx(flags, reason) != 0;
}

RestoreOutcome Win32Platform::SetRestorePoint(const RestorePointRequest& request) {
  // The program runs elevated: a library of that name planted beside the
  // executable must never be the one that is loaded.
  HMODULE library = LoadSystemLibrary("SrClient.dll");
  if (!library) return RestoreOutcome::Unavailable;
  auto entry = reinterpret_cast<SetRestorePointFn>(reinterpret_cast<void*>(GetProcAddress(library, "SRSetRestorePointA")));
  if (!entry) {
    FreeLibrary(library);
    return RestoreOutcome::Unavailable;
  }
  RestorePointInfoA info{};
  info.dwEventType = request.eventType;
  info.dwRestorePtType = request.restorePointType;
  info.llSequenceNumber = request.sequenceNumber;
  request.description.copy(info.szDescription, sizeof info.szDescription - 1);
  StateMgrStatus status{};
  BOOL created = entry(&info, &status);
  FreeLibrary(library);
  return created ? RestoreOutcome::Created : RestoreOutcome::Refused;
}

std::string Win32Platform::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                std::size_t bufferSize, const std::string& file) {
  std::vector<char> buffer(bufferSize + 1, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                     DWORD(bufferSize), file.c_str());
  return std::string(buffer.data(), n);
}

bool Win32Platform::Write(const std::string& section, const std::string& key, const std::string& value,
                          const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

bool Win32Platform::EraseSection(const std::string& section, const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != 0;
}

void Win32Platform::Open(const std::string& target) { OpenWithShell(target); }

void OpenWithShell(const std::string& target) {
  // The shell library is loaded when a page is first opened, not at
  // start-up, where it would bring half a dozen others with it; and only
  // from the system folder.
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static HMODULE shell = LoadSystemLibrary("shell32.dll");
  auto execute = shell ? reinterpret_cast<ShellExecuteFn>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")))
                       : nullptr;
  if (execute) execute(GetActiveWindow(), "Open", target.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace vh
