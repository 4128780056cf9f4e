#include "platform/win32_platform_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/com_scope_win.h"
#include "platform/file_path.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "platform/thread_win.h"

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
bool FindEntry(const std::wstring& path, WIN32_FIND_DATAW& data) {
  HANDLE find = FindFirstFileW(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}

// A FILETIME as one 64-bit count of 100 ns.
std::uint64_t FileTimeValue(const FILETIME& time) {
  return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// GetFullPathNameW of a path; empty when it cannot be made.
std::wstring FullPath(const std::wstring& wide) {
  DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(wide.c_str(), DWORD(full.size()), &full[0], nullptr);
  if (n == 0 || n >= full.size()) return {};
  full.resize(n);
  return full;
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
    : platform_{*this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this},
      wow64_(Win32Platform::IsWow64Process().value_or(false)),
      windowsFolder_(Win32Platform::SystemRoot()) {
  if (wow64_ && !windowsFolder_.empty()) {
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(windowsFolder_ + "\\Sysnative").c_str());
    sysnative_ = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
}

std::wstring Win32Platform::FilePath(const std::string& path) const {
  return Utf8ToWide(sysnative_ ? Wow64FilePath(path, windowsFolder_) : path);
}

KeyHandle Win32Platform::OpenInView(RootKey root, const std::string& subkey, std::uint32_t access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootHandle(root), Utf8ToWide(subkey).c_str(), 0, access, &key) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<KeyHandle>(key);
}

std::vector<std::string> Win32Platform::ValueNames(KeyHandle key) {
  std::vector<std::string> names;
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyW(AsHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::vector<wchar_t> buffer(longest + 2);
  for (DWORD i = 0;; ++i) {
    DWORD length = DWORD(buffer.size());
    LONG rc = RegEnumValueW(AsHkey(key), i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {  // a value added since the query
      buffer.resize(buffer.size() * 2 + 256);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    names.push_back(WideToUtf8(buffer.data(), length));
  }
  return names;
}

std::uint32_t Win32Platform::ValueType(KeyHandle key, const std::string& name) {
  DWORD type = 0;
  if (RegQueryValueExW(AsHkey(key), Utf8ToWide(name).c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return 0;
  return type;
}

std::string Win32Platform::ReadString(KeyHandle key, const std::string& name) {
  std::wstring wideName = Utf8ToWide(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(AsHkey(key), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
  if (type != REG_SZ && type != REG_EXPAND_SZ) return "";
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
  if (RegQueryValueExW(AsHkey(key), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return "";
  return WideToUtf8(std::wstring(data.data()));  // stored data need not end in a NUL
}

std::optional<std::uint32_t> Win32Platform::ReadDword(KeyHandle key, const std::string& name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExW(AsHkey(key), Utf8ToWide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return std::nullopt;
  return value;
}

std::optional<std::string> Win32Platform::ReadValueData(KeyHandle key, const std::string& name) {
  std::wstring wideName = Utf8ToWide(name);
  for (DWORD size = 256;;) {
    std::string data(size, '\0');
    DWORD got = size;
    LONG rc = RegQueryValueExW(AsHkey(key), wideName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &got);
    if (rc == ERROR_MORE_DATA && got > size) {  // grown since, or longer than guessed
      size = got;
      continue;
    }
    if (rc != ERROR_SUCCESS) return std::nullopt;
    data.resize(got);
    return data;
  }
}

namespace {

// A SID made from its string form ("S-1-5-21-..."), parsed by hand:
// ConvertStringSidToSid would be the only import of the SDDL functions.
class OwnedSid {
 public:
  explicit OwnedSid(const std::string& text) {
    if (text.compare(0, 4, "S-1-") != 0) return;
    std::vector<unsigned long long> parts;
    std::size_t at = 4;
    while (at <= text.size()) {
      std::size_t dash = text.find('-', at);
      std::string part = text.substr(at, dash == std::string::npos ? std::string::npos : dash - at);
      if (part.empty() || part.size() > 10 || part.find_first_not_of("0123456789") != std::string::npos) return;
      parts.push_back(std::stoull(part));
      if (dash == std::string::npos) break;
      at = dash + 1;
    }
    if (parts.size() < 2 || parts.size() > 9 || parts[0] > 0xFFFFFFFFull) return;
    SID_IDENTIFIER_AUTHORITY authority{};
    for (int i = 0; i < 6; ++i) authority.Value[5 - i] = BYTE(parts[0] >> (8 * i));
    DWORD sub[8] = {};
    for (std::size_t i = 1; i < parts.size(); ++i) {
      if (parts[i] > 0xFFFFFFFFull) return;
      sub[i - 1] = DWORD(parts[i]);
    }
    if (!AllocateAndInitializeSid(&authority, BYTE(parts.size() - 1), sub[0], sub[1], sub[2], sub[3], sub[4],
                                  sub[5], sub[6], sub[7], &sid_))
      sid_ = nullptr;
  }
  OwnedSid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD a, DWORD b) {
    if (!AllocateAndInitializeSid(&authority, count, a, b, 0, 0, 0, 0, 0, 0, &sid_)) sid_ = nullptr;
  }
  ~OwnedSid() {
    if (sid_) FreeSid(sid_);
  }
  OwnedSid(const OwnedSid&) = delete;
  OwnedSid& operator=(const OwnedSid&) = delete;
  PSID get() const { return sid_; }

 private:
  PSID sid_ = nullptr;
};

// A protected DACL (nothing inherited from the folder) granting full
// access to the administrators, SYSTEM and, for a user's hive, that user.
class HiveFileSecurity {
 public:
  explicit HiveFileSecurity(const std::string& readerSid)
      : admins_(SID_IDENTIFIER_AUTHORITY{SECURITY_NT_AUTHORITY}, 2, SECURITY_BUILTIN_DOMAIN_RID,
                DOMAIN_ALIAS_RID_ADMINS),
        system_(SID_IDENTIFIER_AUTHORITY{SECURITY_NT_AUTHORITY}, 1, SECURITY_LOCAL_SYSTEM_RID, 0),
        reader_(readerSid) {
    std::vector<PSID> sids{admins_.get(), system_.get()};
    if (reader_.get()) sids.push_back(reader_.get());
    DWORD size = sizeof(ACL);
    for (PSID sid : sids) {
      if (!sid) return;
      size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
    }
    acl_.reset(new DWORD[size / sizeof(DWORD) + 1]);
    auto* acl = reinterpret_cast<PACL>(acl_.get());
    if (!InitializeAcl(acl, size, ACL_REVISION)) return;
    for (PSID sid : sids)
      if (!AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid)) return;
    if (!InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION)) return;
    if (!SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE)) return;
    descriptor_.Control |= SE_DACL_PROTECTED;
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    ready_ = true;
  }
  // Null when the descriptor could not be built: the caller saves nothing.
  SECURITY_ATTRIBUTES* get() { return ready_ ? &attributes_ : nullptr; }

 private:
  OwnedSid admins_, system_, reader_;
  std::unique_ptr<DWORD[]> acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool ready_ = false;
};

}  // namespace

namespace {

constexpr DWORD kStandardFormat = 1;  // REG_STANDARD_FORMAT
constexpr DWORD kLatestFormat = 2;    // REG_LATEST_FORMAT
using SaveKeyExFn = LONG(WINAPI*)(HKEY, LPCWSTR, const LPSECURITY_ATTRIBUTES, DWORD);

// RegSaveKeyExW in the format asked for; RegSaveKeyW, which writes the
// standard format, where the system has no RegSaveKeyExW or refuses the
// format.
LONG SaveInFormat(HKEY key, const std::wstring& path, SECURITY_ATTRIBUTES* security, HiveFormat format) {
  static SaveKeyExFn saveEx = LibraryFunction<SaveKeyExFn>(GetModuleHandleA("advapi32.dll"), "RegSaveKeyExW");
  if (saveEx) {
    LONG result = saveEx(key, path.c_str(), security, format == HiveFormat::Latest ? kLatestFormat : kStandardFormat);
    if (result != ERROR_INVALID_PARAMETER) return result;
  }
  return RegSaveKeyW(key, path.c_str(), security);
}

}  // namespace

long Win32Platform::SaveKey(KeyHandle key, const std::string& file, const std::string& readerSid, HiveFormat format) {
  HiveFileSecurity security(readerSid);
  // Without the descriptor the copy would take the folder's permissions,
  // which may let every user read it.
  if (!security.get()) return ERROR_NOT_ENOUGH_MEMORY;
  const std::wstring path = FilePath(file);
  long result = SaveInFormat(AsHkey(key), path, security.get(), format);
  if (result == ERROR_SUCCESS || GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return result;
  // Wine refuses security attributes here: the copy is saved plainly and
  // then given the same descriptor, or not kept at all.
  result = SaveInFormat(AsHkey(key), path, nullptr, format);
  if (result != ERROR_SUCCESS) return result;
  if (SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                       security.get()->lpSecurityDescriptor))
    return ERROR_SUCCESS;
  result = long(GetLastError());
  DeleteFileW(path.c_str());
  return result;
}

// RegReplaceKey opens a subkey it is given in the caller's own view, where
// SOFTWARE is the 32-bit branch and no hive's root; so the hive's root is
// opened here, in the view, and replaced by its handle.
long Win32Platform::ReplaceInView(RootKey root, const std::string& subkey, const std::string& newFile,
                                  const std::string& backupFile, std::uint32_t view) {
  HKEY key = nullptr;
  LONG opened = RegOpenKeyExW(RootHandle(root), Utf8ToWide(subkey).c_str(), 0, MAXIMUM_ALLOWED | view, &key);
  if (opened != ERROR_SUCCESS) return opened;
  LONG replaced = RegReplaceKeyW(key, nullptr, FilePath(newFile).c_str(), FilePath(backupFile).c_str());
  RegCloseKey(key);
  return replaced;
}

void Win32Platform::CloseKey(KeyHandle key) { RegCloseKey(AsHkey(key)); }

long Win32Platform::LoadKey(RootKey root, const std::string& name, const std::string& file) {
  return RegLoadKeyW(RootHandle(root), Utf8ToWide(name).c_str(), FilePath(file).c_str());
}

long Win32Platform::UnLoadKey(RootKey root, const std::string& name) {
  return RegUnLoadKeyW(RootHandle(root), Utf8ToWide(name).c_str());
}

std::optional<KeyFacts> Win32Platform::QueryKey(KeyHandle key) {
  DWORD subkeys = 0, values = 0;
  FILETIME written{};
  if (RegQueryInfoKeyW(AsHkey(key), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, &written) != ERROR_SUCCESS)
    return std::nullopt;
  return KeyFacts{subkeys, values, FileTimeValue(written)};
}

namespace {

// The first `limit` subkey names, fewer when the key has fewer.
std::vector<std::string> EnumeratedSubkeyNames(HKEY key, DWORD limit) {
  std::vector<std::string> names;
  wchar_t buffer[256];  // key names are at most 255 characters
  for (DWORD i = 0; i < limit; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(WideToUtf8(buffer, length));
  }
  return names;
}

}  // namespace

std::vector<std::string> Win32Platform::SubkeyNames(KeyHandle key) {
  return EnumeratedSubkeyNames(AsHkey(key), MAXDWORD);
}

std::vector<std::string> Win32Platform::CountedSubkeyNames(KeyHandle key, std::uint32_t count) {
  return EnumeratedSubkeyNames(AsHkey(key), count);
}

// The second on a thread of its own while this one runs the first; where
// no thread can be made, one after the other. The thread is joined before
// this returns, also when first throws (WorkerThread joins when destroyed).
void Win32Platform::RunTogether(const std::function<void()>& first, const std::function<void()>& second) {
  WorkerThread worker;
  if (!worker.Start(second)) {
    first();
    second();
    return;
  }
  first();
  worker.Join();
}

namespace {

// NtQueryKey's KeyFlagsInformation answer on the systems that give one
// (Windows 10 and later): the key's own flags in the second field.
struct KeyFlagsAnswer {
  ULONG wow64Flags;
  ULONG keyFlags;
  ULONG controlFlags;
};
constexpr int kKeyFlagsInformation = 5;
constexpr ULONG kKeyFlagVolatile = 0x1;
constexpr ULONG kKeyFlagLink = 0x2;
using NtQueryKeyFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

// Looked up at run time: older systems, and Wine, have no such query, or
// answer it with a shorter record that holds no key flags.
std::optional<KeyKind> KindFromFlags(HKEY key) {
  static NtQueryKeyFn query = LibraryFunction<NtQueryKeyFn>(GetModuleHandleA("ntdll.dll"), "NtQueryKey");
  if (!query) return std::nullopt;
  KeyFlagsAnswer answer{};
  ULONG length = 0;
  if (query(key, kKeyFlagsInformation, &answer, sizeof answer, &length) != 0 || length < sizeof answer)
    return std::nullopt;
  if (answer.keyFlags & kKeyFlagVolatile) return KeyKind::Volatile;
  if (answer.keyFlags & kKeyFlagLink) return KeyKind::Link;
  return KeyKind::Ordinary;
}

// The documented mark of a link on every system: opened as the link itself,
// it holds "SymbolicLinkValue" of type REG_LINK.
bool IsLinkKey(HKEY key) {
  DWORD type = 0;
  return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
         type == REG_LINK;
}

}  // namespace

KeyKind Win32Platform::KindInView(KeyHandle parent, const std::string& name, std::uint32_t view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(AsHkey(parent), Utf8ToWide(name).c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE | view, &key) !=
      ERROR_SUCCESS)
    return KeyKind::Unknown;
  std::optional<KeyKind> kind = KindFromFlags(key);
  if (!kind) kind = IsLinkKey(key) ? KeyKind::Link : KeyKind::Unknown;
  RegCloseKey(key);
  return *kind;
}

KeyHandle Win32Platform::CreateVolatileInView(RootKey root, const std::string& subkey, std::uint32_t access,
                                              bool& existed) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(RootHandle(root), Utf8ToWide(subkey).c_str(), 0, nullptr, REG_OPTION_VOLATILE, access, nullptr,
                      &key, &disposition) != ERROR_SUCCESS)
    return 0;
  existed = disposition == REG_OPENED_EXISTING_KEY;
  return reinterpret_cast<KeyHandle>(key);
}

long Win32Platform::DeleteInView(RootKey root, const std::string& subkey, std::uint32_t view) {
  // RegDeleteKeyW would delete in this process' own view; the function that
  // takes a view is XP x64's and Vista's, and a system without it has one
  // view only.
  using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
  static DeleteKeyExFn deleteEx = LibraryFunction<DeleteKeyExFn>(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExW");
  const std::wstring name = Utf8ToWide(subkey);
  if (deleteEx) return deleteEx(RootHandle(root), name.c_str(), view, 0);
  return RegDeleteKeyW(RootHandle(root), name.c_str());
}

KeyHandle Win32Platform::OpenForBackupInView(RootKey root, const std::string& subkey, std::uint32_t access) {
  HKEY key = nullptr;
  const std::wstring name = Utf8ToWide(subkey);
  LONG opened = RegOpenKeyExW(RootHandle(root), name.c_str(), REG_OPTION_BACKUP_RESTORE, access, &key);
  // A system that does not take the option for an open answers as if the
  // key could not be opened: it is asked once more, plainly.
  if (opened != ERROR_SUCCESS && opened != ERROR_FILE_NOT_FOUND)
    opened = RegOpenKeyExW(RootHandle(root), name.c_str(), 0, access, &key);
  return opened == ERROR_SUCCESS ? reinterpret_cast<KeyHandle>(key) : 0;
}

long Win32Platform::WriteString(KeyHandle key, const std::string& name, const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  return RegSetValueExW(AsHkey(key), Utf8ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                        DWORD((wide.size() + 1) * sizeof(wchar_t)));
}

bool Win32Platform::Enable(const std::string& privilege, std::uint32_t tokenAccess) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), tokenAccess, &token)) return false;
  TOKEN_PRIVILEGES state{};
  bool ok = LookupPrivilegeValueW(nullptr, Utf8ToWide(privilege).c_str(), &state.Privileges[0].Luid);
  if (ok) {
    state.PrivilegeCount = 1;
    state.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ok = AdjustTokenPrivileges(token, FALSE, &state, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
  }
  CloseHandle(token);
  return ok;
}

std::string Win32Platform::LogicalDriveStrings(std::size_t bufferChars) {
  std::vector<wchar_t> buffer(bufferChars + 1, L'\0');
  DWORD n = GetLogicalDriveStringsW(DWORD(bufferChars), buffer.data());
  if (n == 0 || n > bufferChars) return "";
  return WideToUtf8(buffer.data(), n);
}

std::uint32_t Win32Platform::DriveType(const std::string& root) { return GetDriveTypeW(Utf8ToWide(root).c_str()); }

std::string Win32Platform::DeviceName(const std::string& drive, std::size_t bufferChars) {
  std::vector<wchar_t> buffer(bufferChars + 1, L'\0');
  if (QueryDosDeviceW(Utf8ToWide(drive).c_str(), buffer.data(), DWORD(bufferChars)) == 0) return "";
  return WideToUtf8(std::wstring(buffer.data()));
}

bool Win32Platform::Exists(const std::string& path) {
  WIN32_FIND_DATAW data;
  return FindEntry(FilePath(path), data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::EntryExists(const std::string& path) {
  WIN32_FIND_DATAW data;
  return FindEntry(FilePath(path), data);
}

std::optional<std::int64_t> Win32Platform::EntrySize(const std::string& path) {
  std::wstring full = FullPath(FilePath(path));
  if (full.empty()) return std::nullopt;
  WIN32_FIND_DATAW data;
  if (!FindEntry(full, data)) return std::nullopt;
  return (std::int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32Platform::CanOpenExclusive(const std::string& path) {
  HANDLE file = CreateFileW(FilePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool Win32Platform::Delete(const std::string& path) { return DeleteFileW(FilePath(path).c_str()) != 0; }

bool Win32Platform::Move(const std::string& from, const std::string& to) {
  return MoveFileW(FilePath(from).c_str(), FilePath(to).c_str()) != 0;
}

std::optional<std::uint64_t> Win32Platform::EntryWriteTime(const std::string& path) {
  WIN32_FIND_DATAW data;
  if (!FindEntry(FilePath(path), data)) return std::nullopt;
  return FileTimeValue(data.ftLastWriteTime);
}

bool Win32Platform::IsLinked(const std::string& path) {
  std::wstring walk = FullPath(FilePath(path));
  if (walk.empty()) return true;  // cannot tell: assume the worst
  // Every existing prefix after the root: C:\a, C:\a\b, ...
  for (std::size_t at = walk.find(L'\\', 3); ; at = walk.find(L'\\', at + 1)) {
    std::wstring prefix = at == std::wstring::npos ? walk : walk.substr(0, at);
    DWORD attributes = GetFileAttributesW(prefix.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    if (at == std::wstring::npos) break;
  }
  return false;
}

std::string Win32Platform::ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) return WideToUtf8(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32Platform::ExecutableFolder() {
  std::string path = ExecutablePath();
  std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::optional<bool> Win32Platform::IsWow64Process() {
  auto fn = KernelFunction<BOOL(WINAPI*)(HANDLE, PBOOL)>("IsWow64Process");
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

std::uint64_t Win32Platform::Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return FileTimeValue(now);
}

std::string Win32Platform::ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &size) ? WideToUtf8(name, size) : std::string();
}

bool Win32Platform::MutexExists(const std::string& name) {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, Utf8ToWide(name).c_str());
  if (mutex) {
    CloseHandle(mutex);
    return true;
  }
  // A mutex of another session's SYSTEM service may refuse this process.
  return GetLastError() == ERROR_ACCESS_DENIED;
}

std::uint32_t Win32Platform::ServiceState(const std::string& name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return 0;
  std::uint32_t state = 0;
  if (SC_HANDLE service = OpenServiceW(manager, Utf8ToWide(name).c_str(), SERVICE_QUERY_STATUS)) {
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status)) state = status.dwCurrentState;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return state;
}

bool Win32Platform::AppendText(const std::string& path, const std::string& text) {
  // Others may append too (a second instance logging why it did nothing):
  // each write of FILE_APPEND_DATA lands at the end, whoever else has the
  // file open.
  HANDLE file = CreateFileW(FilePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool whole = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) && written == text.size();
  CloseHandle(file);
  return whole;
}

bool Win32Platform::Flush(const std::string& path) {
  // The cache holds a file's data whichever handle wrote it: a handle of
  // our own flushes what an earlier one appended.
  HANDLE file = CreateFileW(FilePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool flushed = FlushFileBuffers(file) != 0;
  CloseHandle(file);
  return flushed;
}

std::optional<std::string> Win32Platform::Identity(const std::string& path) {
  // No access asked: attributes can be read even of a hive file that the
  // system holds open without sharing.
  HANDLE file = CreateFileW(FilePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  BOOL read = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!read) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%08lX-%08lX%08lX", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
  return std::string(text);
}

std::vector<std::string> Win32Platform::FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = Utf8ToWide(folder);
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((pattern + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(WideToUtf8(data.cFileName));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

std::optional<std::string> Win32Platform::ReadTail(const std::string& path, std::size_t maxBytes) {
  HANDLE file = CreateFileW(FilePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  std::optional<std::string> text;
  if (GetFileSizeEx(file, &size)) {
    std::uint64_t total = std::uint64_t(size.QuadPart);
    std::uint64_t want = total > maxBytes ? maxBytes : total;
    LARGE_INTEGER from{};
    from.QuadPart = LONGLONG(total - want);
    std::string buffer(std::size_t(want), '\0');
    DWORD read = 0;
    if (SetFilePointerEx(file, from, nullptr, FILE_BEGIN) &&
        (want == 0 || ReadFile(file, &buffer[0], DWORD(want), &read, nullptr))) {
      buffer.resize(read);
      text = buffer;
    }
  }
  CloseHandle(file);
  return text;
}

bool Win32Platform::ExitSystem(std::uint32_t flags, std::uint32_t reason) {
  return ExitWindowsEx(flags, reason) != 0;
}

long Win32Platform::InitiateRestart(std::uint32_t reason, bool forceAppsClosed) {
  if (InitiateSystemShutdownExW(nullptr, nullptr, 0, forceAppsClosed, TRUE, reason)) return ERROR_SUCCESS;
  return long(GetLastError());
}

std::optional<bool> Win32Platform::InConsoleSession() {
  using SessionOfProcessFn = BOOL(WINAPI*)(DWORD, DWORD*);
  using ConsoleSessionFn = DWORD(WINAPI*)();
  static SessionOfProcessFn sessionOf = KernelFunction<SessionOfProcessFn>("ProcessIdToSessionId");
  static ConsoleSessionFn console = KernelFunction<ConsoleSessionFn>("WTSGetActiveConsoleSessionId");
  DWORD own = 0;
  if (!sessionOf || !console || !sessionOf(GetCurrentProcessId(), &own)) return std::nullopt;
  // 0xFFFFFFFF while no session is attached to the console (a switch of
  // users in progress): nobody is there either way.
  return console() == own;
}

void Win32Platform::Wait(std::uint32_t ms) { Sleep(ms); }

RestorePointResult Win32Platform::SetRestorePoint(const RestorePointRequest& request) {
  // The System Restore client is a COM client: its documentation asks for
  // COM on the thread that calls it.
  ComScope com(COINIT_MULTITHREADED);
  // The program runs elevated: a library of that name planted beside the
  // executable must never be the one that is loaded.
  HMODULE library = LoadSystemLibrary("SrClient.dll");
  if (!library) return {};
  auto entry = LibraryFunction<SetRestorePointFn>(library, "SRSetRestorePointA");
  if (!entry) {
    FreeLibrary(library);
    return {};
  }
  RestorePointInfoA info{};
  info.dwEventType = request.eventType;
  info.dwRestorePtType = request.restorePointType;
  info.llSequenceNumber = request.sequenceNumber;
  request.description.copy(info.szDescription, sizeof info.szDescription - 1);
  StateMgrStatus status{};
  BOOL created = entry(&info, &status);
  FreeLibrary(library);
  if (!created) return {RestoreOutcome::Refused, 0};
  return {RestoreOutcome::Created, status.llSequenceNumber};
}

std::string Win32Platform::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                std::size_t bufferSize, const std::string& file) {
  // The wide reader decodes an ANSI file by the ANSI code page; encoding the
  // value back gives the file's own bytes.
  std::vector<wchar_t> buffer(bufferSize + 1, L'\0');
  DWORD n = GetPrivateProfileStringW(AnsiToWide(section).c_str(), AnsiToWide(key).c_str(),
                                     AnsiToWide(defaultValue).c_str(), buffer.data(), DWORD(bufferSize),
                                     FilePath(file).c_str());
  return WideToAnsi(buffer.data(), n);
}

bool Win32Platform::Write(const std::string& section, const std::string& key, const std::string& value,
                          const std::string& file) {
  return WritePrivateProfileStringW(AnsiToWide(section).c_str(), AnsiToWide(key).c_str(),
                                    AnsiToWide(value).c_str(), FilePath(file).c_str()) != 0;
}

bool Win32Platform::EraseSection(const std::string& section, const std::string& file) {
  return WritePrivateProfileStringW(AnsiToWide(section).c_str(), nullptr, nullptr, FilePath(file).c_str()) != 0;
}

std::optional<std::string> Win32Platform::ReadBytes(const std::string& file, std::size_t maxBytes) {
  HANDLE h = CreateFileW(FilePath(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[16384];
  DWORD read = 0;
  bool ok = true;
  while (bytes.size() < maxBytes && (ok = ReadFile(h, buffer, sizeof buffer, &read, nullptr) != 0) && read > 0)
    bytes.append(buffer, std::min<std::size_t>(read, maxBytes - bytes.size()));
  CloseHandle(h);
  if (!ok) return std::nullopt;
  return bytes;
}

std::optional<std::string> Win32Platform::DecodeText(const std::string& bytes, unsigned codePage) {
  const std::wstring wide = CodePageToWide(bytes, codePage);
  // Nothing decoded from something: the system has no such code page.
  if (wide.empty() && !bytes.empty()) return std::nullopt;
  return WideToUtf8(wide);
}

bool Win32Platform::HasSection(const std::string& section, const std::string& file) {
  std::wstring wanted = AnsiToWide(section);
  for (DWORD size = 4096; size <= (1u << 24); size *= 4) {
    std::vector<wchar_t> names(size, L'\0');
    DWORD n = GetPrivateProfileSectionNamesW(names.data(), size, FilePath(file).c_str());
    if (n + 2 >= size) continue;  // cut short: ask again with more room
    for (const wchar_t* name = names.data(); *name; name += lstrlenW(name) + 1)
      if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, name, -1, wanted.c_str(), -1) == CSTR_EQUAL) return true;
    return false;
  }
  return false;
}

void Win32Platform::Open(const std::string& target) { OpenWithShell(target); }

bool Win32Platform::Report(EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) {
  // Registered per event: a run writes a handful, and no handle outlives it.
  HANDLE source = RegisterEventSourceW(nullptr, L"Varnhold");
  if (!source) return false;
  std::vector<std::wstring> wide;
  for (const std::string& text : strings) wide.push_back(Utf8ToWide(text));
  std::vector<LPCWSTR> insertions;
  for (const std::wstring& text : wide) insertions.push_back(text.c_str());
  BOOL written = ReportEventW(source, WORD(type), 0, DWORD(eventId), nullptr, WORD(insertions.size()), 0,
                              insertions.empty() ? nullptr : insertions.data(), nullptr);
  DeregisterEventSource(source);
  return written != FALSE;
}

void OpenWithShell(const std::string& target) {
  // The shell library is loaded when a page is first opened, not at
  // start-up, where it would bring half a dozen others with it; and only
  // from the system folder.
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static HMODULE shell = LoadSystemLibrary("shell32.dll");
  auto execute = LibraryFunction<ShellExecuteFn>(shell, "ShellExecuteA");
  if (!execute) return;
  // A shell extension may answer the verb, and those are COM objects.
  ComScope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  execute(GetActiveWindow(), "Open", target.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace vh
