// The services of the operating system that Varnhold's logic uses, behind
// small interfaces so that the logic builds and runs without Windows.
//
// Three implementations exist: the real one over Win32 (platform/*_win.cpp),
// an in-memory fake for the native tests (tests/support/fake_platform.h), and a
// recording wrapper (tests/support/recording_platform.h) that passes the real calls
// through but keeps the ones that would change the machine for good.
//
// Values follow the Win32 calls they stand for (error codes, access masks,
// drive types) so that tests can check the exact arguments.
//
// Paths, registry names and registry text are UTF-8; the real platform
// converts them at its boundary and calls the wide-character functions, so a
// hive under a user name outside the ANSI code page is still reached.
// Profile-file values are the exception: they are text in the ANSI code
// page, as the files hold them (options.ini, the scan report). Language
// files are read whole and decoded from the code page they name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vh {

enum class RootKey { None, LocalMachine, Users };

// "HKEY_LOCAL_MACHINE", "HKEY_USERS" or "(none)", for logs and records.
std::string RootKeyName(RootKey root);

// An open registry key; 0 is no key.
using KeyHandle = std::uintptr_t;

// Win32 values the logic passes or compares against.
namespace win {
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kDriveRemovable = 2;
constexpr std::uint32_t kTokenAdjustPrivilegesQuery = 0x28;
constexpr std::uint32_t kTokenAllAccessOld = 0xF00FF;
constexpr long kErrorSuccess = 0;
constexpr std::uint32_t kEwxReboot = 2;
constexpr std::uint32_t kEwxForce = 4;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorAlreadyExists = 183;
constexpr long kErrorShutdownInProgress = 1115;
constexpr long kErrorBadHiveFile = 1017;  // ERROR_BADDB: not a hive
constexpr long kErrorNotReady = 21;  // InitiateSystemShutdownEx: not ready yet, ask again shortly
constexpr std::uint32_t kServiceRunning = 4;  // SERVICE_RUNNING
}  // namespace win

// The format RegSaveKeyEx writes: the standard one (REG_STANDARD_FORMAT),
// which Windows keeps user profile hives in so that any earlier system may
// load them, or the latest (REG_LATEST_FORMAT), Windows' own for its
// machine hives and the classes hives ("Registry Hives").
enum class HiveFormat { Standard, Latest };

// What a key's own facts say, from RegQueryInfoKeyA.
struct KeyFacts {
  std::uint32_t subkeys = 0;
  std::uint32_t values = 0;
  std::uint64_t lastWrite = 0;  // FILETIME, 100 ns units
};

// Why a key may be missing from a hive's saved copy. RegSaveKey never saves
// volatile keys, and saves a symbolic link as a link, not its target.
enum class KeyKind { Ordinary, Volatile, Link, Unknown };

// Keys are opened by name in a view. A 32-bit program on 64-bit Windows has
// two: in its own, SOFTWARE opens as its 32-bit branch and a loaded hive
// hides its Wow6432Node. Every key this program opens lies in a hive (the
// live one, a loaded copy or backup, a key saved on its own) or holds the
// system's own state (hivelist, profiles, servicing markers), and each is
// read as the system holds it, in the 64-bit view. Windows does not remember
// the view of a parent handle, so the view goes with every open by name; it
// is added here, once, never by a caller.
class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExW with options 0, in the view; never creates. 0 on failure.
  KeyHandle OpenKeyEx(RootKey root, const std::string& subkey, std::uint32_t access) {
    return OpenInView(root, subkey, access | View());
  }
  // The same with backup semantics (REG_OPTION_BACKUP_RESTORE): with the
  // backup privilege enabled, the key is read whatever its ACL says, as a
  // backup program reads it. Without the privilege, as OpenKeyEx.
  KeyHandle OpenKeyForBackup(RootKey root, const std::string& subkey, std::uint32_t access) {
    return OpenForBackupInView(root, subkey, access | View());
  }
  // Whether the subkey is volatile or a link, from the key's flags where
  // the system can tell; Unknown when it cannot.
  KeyKind QueryKeyKind(KeyHandle parent, const std::string& name) { return KindInView(parent, name, View()); }
  // RegReplaceKeyW on the hive's root key, opened in the view; the Win32
  // error code. Windows renames at once: the live hive file becomes
  // backupFile (and the running system goes on writing the hive there),
  // newFile takes the hive file's name and is held open until the restart,
  // which loads it. A second replace before the restart fails.
  long ReplaceKey(RootKey root, const std::string& subkey, const std::string& newFile,
                  const std::string& backupFile) {
    return ReplaceInView(root, subkey, newFile, backupFile, View());
  }
  // RegCreateKeyExW with REG_OPTION_VOLATILE, in the view: the key is kept
  // in memory only, so the next start has none. An existing key is opened
  // as it is, volatile or not (the option "is ignored for keys that already
  // exist"): existed says which, from the disposition. Returns 0 on failure.
  KeyHandle CreateVolatileKey(RootKey root, const std::string& subkey, std::uint32_t access,
                              bool* existed = nullptr) {
    bool opened = false;
    KeyHandle key = CreateVolatileInView(root, subkey, access | View(), opened);
    if (existed) *existed = opened;
    return key;
  }
  // RegDeleteKeyExW in the view (RegDeleteKeyW where the system has no
  // views); a key with subkeys is not deleted. The Win32 error code.
  long DeleteKey(RootKey root, const std::string& subkey) { return DeleteInView(root, subkey, View()); }
  // KEY_WOW64_64KEY for a 32-bit program on 64-bit Windows, else 0.
  std::uint32_t View() { return OnWow64() ? win::kKeyWow64_64Key : 0; }

  // Every value name, in enumeration order (RegEnumValueA from index 0).
  virtual std::vector<std::string> ValueNames(KeyHandle key) = 0;
  // The value's REG_* type, or 0 when it cannot be read.
  virtual std::uint32_t ValueType(KeyHandle key, const std::string& name) = 0;
  // The stored text, unexpanded; empty when absent or not a string.
  virtual std::string ReadString(KeyHandle key, const std::string& name) = 0;
  // A REG_DWORD value; nullopt when absent or of another type.
  virtual std::optional<std::uint32_t> ReadDword(KeyHandle key, const std::string& name) = 0;
  // The value's data as stored, whatever its type (a DWORD's four bytes, a
  // multi-string's UTF-16 with its terminators); nullopt when absent.
  virtual std::optional<std::string> ReadValueData(KeyHandle key, const std::string& name) = 0;
  // RegSaveKeyExW in that format, looked up at run time; RegSaveKeyW where
  // the system has no such function or refuses the format. The Win32 error
  // code. The file is readable only by the administrators, SYSTEM and, when
  // readerSid is not empty, that account (the user whose hive it is): a
  // copy of SAM would otherwise hand every password hash to whoever may
  // read the hive folder.
  virtual long SaveKey(KeyHandle key, const std::string& file, const std::string& readerSid, HiveFormat format) = 0;
  virtual void CloseKey(KeyHandle key) = 0;
  // RegLoadKeyA: loads a hive file as root\name; the Win32 error code. The
  // names this program loads under lie outside every redirected key.
  virtual long LoadKey(RootKey root, const std::string& name, const std::string& file) = 0;
  // RegUnLoadKeyA; the Win32 error code.
  virtual long UnLoadKey(RootKey root, const std::string& name) = 0;
  // Counts and last-write time; nullopt when they cannot be read.
  virtual std::optional<KeyFacts> QueryKey(KeyHandle key) = 0;
  // Every subkey name, in enumeration order (RegEnumKeyExA from index 0).
  virtual std::vector<std::string> SubkeyNames(KeyHandle key) = 0;
  // RegSetValueExW of a REG_SZ value; the Win32 error code.
  virtual long WriteString(KeyHandle key, const std::string& name, const std::string& text) = 0;
  // The names of a key whose subkey count QueryKey has just given: the
  // enumeration stops at that count rather than asking for one name more
  // to learn there is none (a registry call per key). This default lists
  // them all.
  virtual std::vector<std::string> CountedSubkeyNames(KeyHandle key, std::uint32_t /*count*/) {
    return SubkeyNames(key);
  }
  // Runs both; at once, on two threads, where the registry answers calls
  // from two threads concurrently (the system's does), which halves two
  // independent walks of many keys. This default runs first, then second:
  // a registry that records or counts its calls keeps them in one order.
  virtual void RunTogether(const std::function<void()>& first, const std::function<void()>& second) {
    first();
    second();
  }

 protected:
  // Whether this is a 32-bit process on 64-bit Windows.
  virtual bool OnWow64() = 0;
  // The opens by name, with the view already in access or view.
  virtual KeyHandle OpenInView(RootKey root, const std::string& subkey, std::uint32_t access) = 0;
  virtual KeyKind KindInView(KeyHandle parent, const std::string& name, std::uint32_t view) = 0;
  virtual long ReplaceInView(RootKey root, const std::string& subkey, const std::string& newFile,
                             const std::string& backupFile, std::uint32_t view) = 0;
  virtual KeyHandle CreateVolatileInView(RootKey root, const std::string& subkey, std::uint32_t access,
                                         bool& existed) = 0;
  virtual long DeleteInView(RootKey root, const std::string& subkey, std::uint32_t view) = 0;
  // A registry that cannot open with backup semantics opens as usual.
  virtual KeyHandle OpenForBackupInView(RootKey root, const std::string& subkey, std::uint32_t access) {
    return OpenInView(root, subkey, access);
  }
};

class Privileges {
 public:
  virtual ~Privileges() = default;
  // OpenProcessToken(current process, tokenAccess), LookupPrivilegeValueA
  // (local system) and, when found, AdjustTokenPrivileges with the privilege
  // enabled. False when the token does not hold it (ERROR_NOT_ALL_ASSIGNED)
  // or the token could not be adjusted.
  virtual bool Enable(const std::string& privilege, std::uint32_t tokenAccess) = 0;
};

class Volumes {
 public:
  virtual ~Volumes() = default;
  // GetLogicalDriveStringsA into a buffer of bufferChars: the raw characters
  // written ("C:\\\0D:\\\0"), without the final NUL.
  virtual std::string LogicalDriveStrings(std::size_t bufferChars) = 0;
  // GetDriveTypeA of a root such as "C:\\".
  virtual std::uint32_t DriveType(const std::string& root) = 0;
  // QueryDosDeviceA of "C:" into a buffer of bufferChars: the first string.
  virtual std::string DeviceName(const std::string& drive, std::size_t bufferChars) = 0;
};

class Files {
 public:
  virtual ~Files() = default;
  // A directory entry of that name exists and is not a directory. The file
  // is not opened, so a locked hive file exists.
  virtual bool Exists(const std::string& path) = 0;
  // A directory entry of that name exists, of any kind (folders too).
  virtual bool EntryExists(const std::string& path) = 0;
  // The full 64-bit size from the directory entry (GetFullPathNameA and
  // FindFirstFileA with every attribute); nullopt when no entry is found.
  virtual std::optional<std::int64_t> EntrySize(const std::string& path) = 0;
  // CreateFileA for reading and writing, no sharing, OPEN_EXISTING; closes
  // the handle at once. True when the open succeeded.
  virtual bool CanOpenExclusive(const std::string& path) = 0;
  // DeleteFileA.
  virtual bool Delete(const std::string& path) = 0;
  // MoveFileA: renames, never over an existing file. False on failure.
  virtual bool Move(const std::string& from, const std::string& to) = 0;
  // The last-write time (FILETIME, 100 ns units) from the directory entry;
  // nullopt when no entry is found.
  virtual std::optional<std::uint64_t> EntryWriteTime(const std::string& path) = 0;
  // True when the path, or a folder on the way to it, is a symbolic link or
  // a junction. Files beside user hives lie in folders their users can
  // write; the elevated program must not delete or write through a link
  // planted there.
  virtual bool IsLinked(const std::string& path) = 0;
  // The running executable's folder, with its trailing separator.
  virtual std::string ExecutableFolder() = 0;
  // The running executable's full path (GetModuleFileName).
  virtual std::string ExecutablePath() = 0;
  // Appends text at the end of the file, creating it when absent; never
  // truncates. False when the file cannot be opened or written whole.
  virtual bool AppendText(const std::string& path, const std::string& text) = 0;
  // At most the last maxBytes bytes of the file; nullopt when it cannot be
  // read.
  virtual std::optional<std::string> ReadTail(const std::string& path, std::size_t maxBytes) = 0;
  // FlushFileBuffers on the file: what was written to it is on the disk
  // when this returns true.
  virtual bool Flush(const std::string& path) = 0;
  // What tells this file from any other, whatever its name: its volume's
  // serial number and its file index (GetFileInformationByHandle), as
  // text. A rename keeps it; a new file under the old name has another.
  // The file is opened for no access, so a file the system holds open
  // still answers. nullopt when the file cannot be reached.
  virtual std::optional<std::string> Identity(const std::string& path) = 0;
  // The names of the files (not folders) in a folder, as the directory
  // lists them (FindFirstFileW); none when it cannot be read.
  virtual std::vector<std::string> FileNamesIn(const std::string& folder) = 0;
};

struct OsVersion {
  std::uint32_t platformId = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // IsWow64Process looked up at run time; nullopt when the system has none.
  virtual std::optional<bool> IsWow64Process() = 0;
  // GetVersionExA with a zeroed 148-byte record; zeros when it fails.
  virtual OsVersion GetVersion() = 0;
  // The current time, UTC, in FILETIME units (100 ns since 1601).
  virtual std::uint64_t Now() = 0;
  // GetComputerNameW: the computer's NetBIOS name; empty when unreadable.
  virtual std::string ComputerName() = 0;
  // OpenMutexW(SYNCHRONIZE) of a named mutex: true when it exists (opened,
  // or refused for want of access).
  virtual bool MutexExists(const std::string& name) = 0;
  // QueryServiceStatus of the service: its dwCurrentState (SERVICE_RUNNING,
  // SERVICE_START_PENDING, ...); 0 when the service cannot be asked.
  virtual std::uint32_t ServiceState(const std::string& name) = 0;
};

class Power {
 public:
  virtual ~Power() = default;
  // ExitWindowsEx(flags, reason). True says only that the request was
  // taken: the system, the user or another program may still abort it.
  virtual bool ExitSystem(std::uint32_t flags, std::uint32_t reason) = 0;
  // InitiateSystemShutdownExW(this computer, no message, no delay,
  // forceAppsClosed, reboot, reason): the call that works for a process
  // outside the interactive session. Without force, an application with
  // unsaved work may still refuse. The Win32 error code.
  virtual long InitiateRestart(std::uint32_t reason, bool forceAppsClosed) = 0;
  // Whether this process runs in the session attached to the console
  // (ProcessIdToSessionId against WTSGetActiveConsoleSessionId, both looked
  // up at run time): there ExitWindowsEx restarts; outside it (a service,
  // a task run as SYSTEM in session 0, a remote session) ExitWindowsEx may
  // succeed without restarting anything. nullopt when the system cannot say.
  virtual std::optional<bool> InConsoleSession() = 0;
  // Sleep: the short while InitiateSystemShutdownEx asks for when it was
  // not ready (ERROR_NOT_READY) before it is called again.
  virtual void Wait(std::uint32_t ms) = 0;
};

// The request passed to SRSetRestorePointA (RESTOREPOINTINFOA).
struct RestorePointRequest {
  std::uint32_t eventType = 0;
  std::uint32_t restorePointType = 0;
  std::int64_t sequenceNumber = 0;
  std::string description;  // at most 63 characters reach the record
};

// END_SYSTEM_CHANGE for the change a restore point opened: kept (the
// point stays), or CANCELLED_OPERATION (the point is removed again).
inline RestorePointRequest EndOfRestorePoint(std::int64_t sequenceNumber, bool keep) {
  RestorePointRequest end;
  end.eventType = 101;                      // END_SYSTEM_CHANGE
  end.restorePointType = keep ? 0u : 13u;  // APPLICATION_INSTALL, CANCELLED_OPERATION
  end.sequenceNumber = sequenceNumber;
  return end;
}

enum class RestoreOutcome { Created, Refused, Unavailable };

struct RestorePointResult {
  RestoreOutcome outcome = RestoreOutcome::Unavailable;
  std::int64_t sequenceNumber = 0;  // STATEMGRSTATUS: what ends the change
};

// A restore point as System Restore lists it.
struct ListedRestorePoint {
  std::int64_t sequenceNumber = 0;
  std::uint64_t created = 0;  // CreationTime, UTC, FILETIME units; 0 when unreadable
};

class RestoreClient {
 public:
  virtual ~RestoreClient() = default;
  // Every restore point System Restore keeps, from its WMI provider (the
  // SystemRestore class of root\default, XP and later; COM looked up at run
  // time); nullopt when the provider cannot be asked.
  virtual std::optional<std::vector<ListedRestorePoint>> ListRestorePoints() = 0;
  // Loads the restore client library from the system folder only, calls
  // SRSetRestorePointA once, with COM initialised on the calling thread,
  // and frees the library. Unavailable when the library or its entry point
  // is missing.
  virtual RestorePointResult SetRestorePoint(const RestorePointRequest& request) = 0;
};

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // GetPrivateProfileStringA with a buffer of bufferSize bytes.
  virtual std::string Read(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize,
                           const std::string& file) = 0;
  // WritePrivateProfileStringA; false when the platform refuses the write.
  virtual bool Write(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) = 0;
  // WritePrivateProfileStringA(section, NULL, NULL, file): erases the first
  // section of that name.
  virtual bool EraseSection(const std::string& section, const std::string& file) = 0;
  // Whether the file holds a section of that name (case ignored).
  virtual bool HasSection(const std::string& section, const std::string& file) = 0;
  // A file the program reads in its own code page (a language file): at
  // most maxBytes of it from the start, as stored; nullopt when it cannot be
  // read.
  virtual std::optional<std::string> ReadBytes(const std::string& file, std::size_t maxBytes) = 0;
  // Text in that code page (0: the system's ANSI code page) as UTF-8, by
  // MultiByteToWideChar; nullopt when the system has no such code page.
  virtual std::optional<std::string> DecodeText(const std::string& bytes, unsigned codePage) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteA(owner, "Open", target, no parameters, no folder, SW_SHOW).
  virtual void Open(const std::string& target) = 0;
};

// The event types the program reports with (EVENTLOG_ERROR_TYPE,
// EVENTLOG_INFORMATION_TYPE).
enum class EventType : std::uint16_t { Error = 1, Information = 4 };

class EventLog {
 public:
  virtual ~EventLog() = default;
  // RegisterEventSourceW (local computer, the program's source), ReportEventW
  // with category 0, no user, the strings as insertions and no data, then
  // DeregisterEventSource. False when the event was not written; nothing a
  // run does depends on it.
  virtual bool Report(EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) = 0;
};

// One entry of the System log that says Windows reorganised a hive, as the
// log holds it: Microsoft-Windows-Kernel-General's event 15 (Windows 8 and
// later), "Hive <HiveName> was reorganized with a starting size of
// <OriginalSize> bytes and an ending size of <NewSize> bytes". Nothing is
// checked here: the values are the event's, as rendered.
struct LoggedEvent {
  std::string provider;
  std::uint32_t eventId = 0;
  std::uint64_t time = 0;    // TimeCreated: UTC, FILETIME units
  std::string hiveName;      // the hive's file as the kernel names it
  std::string originalSize;  // bytes
  std::string newSize;       // bytes
};

class SystemLog {
 public:
  virtual ~SystemLog() = default;
  // The System log's Kernel-General event 15 entries, newest first, at
  // most maxEntries. The event log API (wevtapi.dll, Vista and later) is
  // looked up at run time: empty without it, and when the query fails.
  virtual std::vector<LoggedEvent> HiveReorganizations(std::size_t maxEntries) = 0;
  // The Windows folder (GetSystemWindowsDirectory), which the kernel's
  // "\SystemRoot" stands for.
  virtual std::string SystemRoot() = 0;
};

// Everything at once, as the logic receives it. The references stay valid
// for the platform's lifetime.
struct Platform {
  Registry& registry;
  Privileges& privileges;
  Volumes& volumes;
  Files& files;
  SystemInfo& system;
  Power& power;
  RestoreClient& restore;
  ProfileFiles& profiles;
  Shell& shell;
  EventLog& events;
  SystemLog& systemLog;
};

// The same services with one of them replaced: decorators and tests swap in
// their own without listing the rest.
inline Platform WithRegistry(const Platform& p, Registry& registry) {
  return {registry, p.privileges, p.volumes, p.files, p.system, p.power, p.restore, p.profiles, p.shell, p.events, p.systemLog};
}
inline Platform WithPrivileges(const Platform& p, Privileges& privileges) {
  return {p.registry, privileges, p.volumes, p.files, p.system, p.power, p.restore, p.profiles, p.shell, p.events, p.systemLog};
}
inline Platform WithRestore(const Platform& p, RestoreClient& restore) {
  return {p.registry, p.privileges, p.volumes, p.files, p.system, p.power, restore, p.profiles, p.shell, p.events, p.systemLog};
}
inline Platform WithSystemLog(const Platform& p, SystemLog& systemLog) {
  return {p.registry, p.privileges, p.volumes, p.files, p.system, p.power, p.restore, p.profiles, p.shell, p.events, systemLog};
}
inline Platform WithEventLog(const Platform& p, EventLog& events) {
  return {p.registry, p.privileges, p.volumes, p.files, p.system, p.power, p.restore, p.profiles, p.shell, events, p.systemLog};
}

}  // namespace vh
