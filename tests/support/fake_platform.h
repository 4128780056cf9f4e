// An in-memory stand-in for the operating system, for the native tests: a
// registry of keys and values, drives, files with sizes and locks, profile
// files that behave like the platform's, and a log of every call made, in
// the Win32 names and arguments, so that tests can compare sequences.
//
// Hive swaps follow Windows (NtReplaceKey, as documented for RegReplaceKey
// and as the kernel does it): the live hive file is renamed to the backup
// name at once and the running system keeps writing the hive there; the new
// file takes the hive file's name and stays open until the restart; a
// second replace of the hive before the restart is refused. Restart() is the
// next start: each hive loads from the file of its name, and every write made
// to a swapped hive since its swap is gone. A restart may be refused, and a
// power cut may end the run after any call (PowerCutAfter).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vh {

struct FakeValue {
  std::string name;
  std::uint32_t type = win::kRegSz;
  std::string text;  // also the data as stored, for ReadValueData
};

struct FakeKey {
  // The key's own name in the letter case it was made with, as Windows
  // keeps it; lookups by name ignore case.
  std::string name;
  std::vector<FakeValue> values;
  // What RegSaveKeyA does with this key: the size of the file it writes, or
  // the error it returns (leaving partial bytes behind when partialBytes).
  std::int64_t savedSize = 4096;
  long saveError = win::kErrorSuccess;
  std::int64_t partialBytes = 0;
  bool isVolatile = false;  // never saved, nor are its subkeys
  bool isLink = false;      // saved as the link itself
  std::uint64_t lastWrite = 1;
  // Its ACL lets no administrator read it: opened only with backup
  // semantics by a process whose backup privilege is enabled.
  bool deniesAdministrators = false;
};

// What RegSaveKeyA put into a file: the saved key's subtree by path below
// it, upper-cased ("" is the saved key itself).
using FakeHive = std::map<std::string, FakeKey>;

struct FakeFile {
  std::int64_t size = 0;
  bool directory = false;
  bool locked = false;        // held open without sharing by someone else
  std::uint64_t written = 0;  // last-write time, from the fake's clock
  bool unreadable = false;    // the directory entry cannot be read
  bool cutShort = false;      // its write was cut by a power cut
  bool restricted = false;    // saved with the administrators-only descriptor
  std::string reader;         // the account its descriptor also lets read it
  std::uint64_t id = 0;       // the file index: kept by a rename, new for a new file
  std::size_t unflushed = 0;  // appended bytes a power cut would lose
  std::optional<HiveFormat> format;  // the format RegSaveKeyEx wrote it in
};

// Thrown after the call at which a test cuts the power: the run ends there.
struct PowerCut {};

// One event written to the event log.
struct FakeEvent {
  EventType type = EventType::Information;
  std::uint32_t id = 0;
  std::vector<std::string> strings;
};

struct FakeDrive {
  std::string root;  // "C:\\"
  std::uint32_t type = win::kDriveFixed;
  std::string device;  // "\\Device\\HarddiskVolume1"
};

class FakePlatform final : public Registry,
                           public Privileges,
                           public Volumes,
                           public Files,
                           public SystemInfo,
                           public Power,
                           public RestoreClient,
                           public ProfileFiles,
                           public Shell,
                           public EventLog,
                           public SystemLog {
 public:
  FakePlatform();
  Platform& platform() { return platform_; }

  // --- set-up ---
  FakeKey& AddKey(RootKey root, const std::string& subkey);
  void RemoveKey(RootKey root, const std::string& subkey) { EraseSubtree(Upper(RootKeyName(root) + "\\" + subkey)); }
  void AddHiveListValue(const std::string& name, std::uint32_t type, const std::string& text);
  // A loaded hive as the system lists it: its hivelist entry under a device
  // path of drive C: (added when missing), and its file, held open.
  void AddLoadedHive(const std::string& hiveName, const std::string& file, std::int64_t size = 8192);
  void AddDrive(const std::string& root, std::uint32_t type, const std::string& device);
  FakeFile& AddFile(const std::string& path, std::int64_t size = 1);
  void RemoveFile(const std::string& path);
  bool HasFile(const std::string& path) const;
  const FakeFile* FindFile(const std::string& path) const;
  void SetProfileText(const std::string& file, const std::string& text);
  std::string ProfileText(const std::string& file) const;
  void RefuseProfileWrites(const std::string& file) { refusedProfiles_.push_back(Upper(file)); }

  // The hive saved into a file, for tests that spoil a copy; null when the
  // file holds none.
  FakeHive* SavedHive(const std::string& file);
  // Makes the file a hive that loads (a root key with one value), with
  // these keys at its root.
  void MakeHiveFile(const std::string& file, const std::vector<std::string>& rootKeys = {});
  // Writes what the file from holds (size, hive, text) into the file to, in
  // place, as a copy over an existing file does: to keeps its identity.
  void OverwriteInPlace(const std::string& from, const std::string& to);

  std::optional<bool> wow64 = false;
  // Hives (subkey, upper-cased) whose swap RegReplaceKeyA refuses with 5.
  std::vector<std::string> refusedSwaps;
  // The time files written now get; keys' last-write times compare to it.
  std::uint64_t fileClock = 10;
  // False: the system has no flags query, and only links can be told apart.
  bool tellsKeyKinds = true;
  OsVersion version{2, 6, 1};
  std::string computerName = "WORKSTATION";
  // Named mutexes that exist and services that run, as Windows' servicing
  // leaves them (_MSIExecute, TrustedInstaller).
  std::vector<std::string> mutexes;
  std::vector<std::string> runningServices;
  // Services in another state (SERVICE_START_PENDING, SERVICE_STOP_PENDING,
  // ...); a service on neither list is stopped.
  std::map<std::string, std::uint32_t> serviceStates;
  // Privileges the token does not hold: enabling them fails.
  std::vector<std::string> privilegesNotHeld;
  // ProcessIdToSessionId against WTSGetActiveConsoleSessionId; nullopt: the
  // system cannot say.
  std::optional<bool> consoleSession = true;
  // InitiateSystemShutdownEx answers ERROR_NOT_READY this many times before
  // it answers as initiateRestartError says (fast user switching with
  // nobody logged on, between logons).
  int notReadyRestarts = 0;
  // Called with each logged call right after it is logged: a test's way to
  // let something else on the machine act between two of the program's calls.
  std::function<void(const std::string& call)> onCall;
  RestoreOutcome restoreOutcome = RestoreOutcome::Created;
  std::string executableFolder = "C:\\Program Files\\Varnhold\\";

  // Every call, as "Name(arg, arg)", in order.
  std::vector<std::string> calls;
  // The calls whose name begins with prefix, in order.
  std::vector<std::string> CallsNamed(const std::string& prefix) const;

  // --- the machine's life ---
  // ExitWindowsEx's answer, and InitiateSystemShutdownEx's error code.
  bool acceptsExitSystem = true;
  long initiateRestartError = win::kErrorSuccess;
  // Restart requests taken (by either call) since the last start.
  int restartRequests = 0;
  // Ends the run with PowerCut right after the n-th logged call (1-based);
  // a file being written then is left cut short.
  void PowerCutAfter(std::size_t n) { cutAfter_ = n; }
  std::size_t CallCount() const { return callCount_; }
  // The next start: loaded copies are gone, each hive loads from the file
  // of its name, swapped hives' backups hold what the system wrote until
  // now, volatile keys are gone, and nobody holds a file any more. After a
  // power cut, what was appended to a file but never flushed is lost.
  void Restart();
  // Swaps taken since the last start: hive key (upper-cased), new file's
  // content now under the hive file's name, backup path.
  struct PendingSwap {
    std::string hiveFile;
    std::string backupFile;
  };
  const std::map<std::string, PendingSwap>& PendingSwaps() const { return pending_; }
  // The file that the hive root\subkey loads from, from hivelist; "" when
  // the system does not list it.
  std::string HiveFileOf(RootKey root, const std::string& subkey) const;
  // The hive's keys, as the registry holds them now, volatile keys left out.
  FakeHive LiveHive(RootKey root, const std::string& subkey) const;

  // --- Registry ---
  std::vector<std::string> ValueNames(KeyHandle key) override;
  std::uint32_t ValueType(KeyHandle key, const std::string& name) override;
  std::string ReadString(KeyHandle key, const std::string& name) override;
  std::optional<std::uint32_t> ReadDword(KeyHandle key, const std::string& name) override;
  std::optional<std::string> ReadValueData(KeyHandle key, const std::string& name) override;
  long SaveKey(KeyHandle key, const std::string& file, const std::string& readerSid, HiveFormat format) override;
  void CloseKey(KeyHandle key) override;
  long LoadKey(RootKey root, const std::string& name, const std::string& file) override;
  long UnLoadKey(RootKey root, const std::string& name) override;
  std::optional<KeyFacts> QueryKey(KeyHandle key) override;
  std::vector<std::string> SubkeyNames(KeyHandle key) override;
  long WriteString(KeyHandle key, const std::string& name, const std::string& text) override;
  // Keys whose creation RegCreateKeyExW refuses (subkey, upper-cased).
  std::vector<std::string> refusedKeys;
  // --- Privileges ---
  bool Enable(const std::string& privilege, std::uint32_t tokenAccess) override;
  // --- Volumes ---
  std::string LogicalDriveStrings(std::size_t bufferChars) override;
  std::uint32_t DriveType(const std::string& root) override;
  std::string DeviceName(const std::string& drive, std::size_t bufferChars) override;
  // --- Files ---
  bool Exists(const std::string& path) override;
  bool EntryExists(const std::string& path) override { return FindFile(path) != nullptr; }
  std::optional<std::int64_t> EntrySize(const std::string& path) override;
  bool CanOpenExclusive(const std::string& path) override;
  bool Delete(const std::string& path) override;
  bool Move(const std::string& from, const std::string& to) override;
  std::optional<std::uint64_t> EntryWriteTime(const std::string& path) override;
  std::string ExecutableFolder() override { return executableFolder; }
  std::string ExecutablePath() override { return executableFolder + "varnhold.exe"; }
  bool IsLinked(const std::string& path) override;
  bool AppendText(const std::string& path, const std::string& text) override;
  std::optional<std::string> ReadTail(const std::string& path, std::size_t maxBytes) override;
  bool Flush(const std::string& path) override;
  std::optional<std::string> Identity(const std::string& path) override;
  std::vector<std::string> FileNamesIn(const std::string& folder) override;
  // The text a file holds (AppendText's files); empty when it has none.
  std::string FileText(const std::string& path) const;
  void SetFileText(const std::string& path, const std::string& text);
  // Files whose appends and reads fail, as a locked or unreadable file's do.
  void RefuseAppends(const std::string& path) { refusedAppends_.push_back(FileKey(path)); }
  void RefuseReads(const std::string& path) { refusedReads_.push_back(FileKey(path)); }
  // Marks a path (and everything below it) as reached through a link.
  void AddLink(const std::string& path) { links_.push_back(FileKey(path)); }
  // Another name of an existing file or folder, with its identity: a hard
  // link, an 8.3 name, a junction to a folder. What is written later
  // through one name is not seen through the other.
  void AddName(const std::string& existing, const std::string& otherName) {
    files_[FileKey(otherName)] = files_.at(FileKey(existing));
  }
  // --- SystemInfo ---
  std::optional<bool> IsWow64Process() override { return wow64; }
  OsVersion GetVersion() override { return version; }
  std::uint64_t Now() override { return fileClock; }
  std::string ComputerName() override { return computerName; }
  bool MutexExists(const std::string& name) override;
  std::uint32_t ServiceState(const std::string& name) override;
  // --- Power ---
  bool ExitSystem(std::uint32_t flags, std::uint32_t reason) override;
  long InitiateRestart(std::uint32_t reason, bool forceAppsClosed) override;
  std::optional<bool> InConsoleSession() override { return consoleSession; }
  void Wait(std::uint32_t ms) override;
  // --- RestoreClient ---
  // From Windows 8 on (version 6.2 and later), a request to begin a point
  // within a day of the newest one makes none: it succeeds with that point's
  // sequence number ("Calling SRSetRestorePoint"). Cancelling a point
  // removes it.
  RestorePointResult SetRestorePoint(const RestorePointRequest& request) override;
  std::optional<std::vector<ListedRestorePoint>> ListRestorePoints() override;
  std::int64_t nextRestoreSequence = 41;
  // The points System Restore keeps, oldest first; false: its provider
  // cannot be asked.
  std::vector<ListedRestorePoint> restorePoints;
  bool listsRestorePoints = true;
  // --- ProfileFiles ---
  std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                   std::size_t bufferSize, const std::string& file) override;
  bool Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& file) override;
  bool EraseSection(const std::string& section, const std::string& file) override;
  bool HasSection(const std::string& section, const std::string& file) override;
  // The text planted with SetProfileText.
  std::optional<std::string> ReadBytes(const std::string& file, std::size_t maxBytes) override;
  // Windows-1252 (also standing for the system's ANSI code page) and, where
  // the host's iconv has it, any other code page; nullopt otherwise, as a
  // system without that code page answers.
  std::optional<std::string> DecodeText(const std::string& bytes, unsigned codePage) override;
  // --- Shell ---
  void Open(const std::string& target) override;
  // --- EventLog ---
  bool Report(EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) override;
  // The events written, in order; none are kept while the log refuses them.
  std::vector<FakeEvent> events;
  bool eventLogRefuses = false;
  // --- SystemLog ---
  // What the System log holds, as Windows 8 and later record a hive's
  // reorganisation at its load; newest first, as the query returns them.
  // Wine's log holds none.
  std::vector<LoggedEvent> HiveReorganizations(std::size_t maxEntries) override;
  std::string SystemRoot() override { return systemRoot; }
  std::vector<LoggedEvent> systemLogEntries;
  std::string systemRoot = "C:\\Windows";

 protected:
  bool OnWow64() override { return wow64.value_or(false); }
  KeyHandle OpenInView(RootKey root, const std::string& subkey, std::uint32_t access) override;
  KeyKind KindInView(KeyHandle parent, const std::string& name, std::uint32_t view) override;
  long ReplaceInView(RootKey root, const std::string& subkey, const std::string& newFile,
                     const std::string& backupFile, std::uint32_t view) override;
  KeyHandle CreateVolatileInView(RootKey root, const std::string& subkey, std::uint32_t access,
                                 bool& existed) override;
  long DeleteInView(RootKey root, const std::string& subkey, std::uint32_t view) override;
  KeyHandle OpenForBackupInView(RootKey root, const std::string& subkey, std::uint32_t access) override;

 private:
  static std::string Upper(const std::string& text);
  // A file's key in the fake's tables: the path upper-cased, in the
  // system's spelling.
  std::string FileKey(const std::string& path) const;
  bool OnWow64Now() const { return wow64.value_or(false); }
  // A 32-bit program's own view: what an open without the 64-bit view sees.
  bool Narrow(std::uint32_t access) { return OnWow64() && !(access & win::kKeyWow64_64Key); }
  // The key an open by name reaches in the view it asks for.
  std::string ViewedId(RootKey root, const std::string& subkey, std::uint32_t access);
  // The same for a key's id: SOFTWARE's keys are its 32-bit branch's in a
  // 32-bit program's own view, whatever view opened the parent handle.
  std::string InView(const std::string& id, std::uint32_t access);
  // Opens the key of that id (0 when there is none or its ACL refuses).
  KeyHandle OpenExisting(const std::string& id, std::uint32_t access, bool backup);
  KeyHandle OpenHandle(const std::string& id, std::uint32_t access);
  // Logs a call; true when the power is to be cut right after it.
  bool Log(const std::string& call);
  void CutIfDue(bool due) {
    if (due) throw PowerCut{};
  }
  void RenameEntry(const std::string& from, const std::string& to);
  void EraseSubtree(const std::string& id);
  // "C:\\x" for a device path of one of the drives; "" for none.
  std::string DrivePathOf(const std::string& devicePath) const;
  FakeKey* KeyFor(KeyHandle key);
  std::vector<std::string> ChildIds(const std::string& id) const;
  FakeHive SubtreeOf(const std::string& id, bool saving) const;
  bool ProfileWriteRefused(const std::string& file) const;

  std::map<std::string, FakeKey> keys_;  // "HKLM\\SUBKEY" upper-cased
  std::map<KeyHandle, std::string> open_;
  std::set<KeyHandle> narrowView_;  // opened in a 32-bit program's own view
  std::set<std::string> enabledPrivileges_;
  KeyHandle nextHandle_ = 0x100;
  std::vector<FakeDrive> drives_;
  std::map<std::string, FakeFile> files_;  // upper-cased path
  std::map<std::string, std::string> profiles_;  // upper-cased path -> text
  std::map<std::string, FakeHive> savedHives_;  // upper-cased file path
  std::vector<std::string> loaded_;  // ids of loaded hives' roots
  std::vector<std::string> refusedProfiles_;
  std::vector<std::string> links_;
  std::map<std::string, std::string> texts_;  // upper-cased path -> text
  std::vector<std::string> refusedAppends_;
  std::vector<std::string> refusedReads_;
  std::map<std::string, PendingSwap> pending_;
  std::size_t callCount_ = 0;
  std::optional<std::size_t> cutAfter_;
  bool powerCut_ = false;
  std::uint64_t nextFileId_ = 1;
  Platform platform_;
};

}  // namespace vh
