// The real platform: every service over its Win32 call, the wide-character
// one wherever a path or a registry name passes.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vh {

class Win32Platform final : public Registry,
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
  Win32Platform();
  Platform& platform() { return platform_; }

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
  std::vector<std::string> CountedSubkeyNames(KeyHandle key, std::uint32_t count) override;
  void RunTogether(const std::function<void()>& first, const std::function<void()>& second) override;

  bool Enable(const std::string& privilege, std::uint32_t tokenAccess) override;

  std::string LogicalDriveStrings(std::size_t bufferChars) override;
  std::uint32_t DriveType(const std::string& root) override;
  std::string DeviceName(const std::string& drive, std::size_t bufferChars) override;

  bool Exists(const std::string& path) override;
  bool EntryExists(const std::string& path) override;
  std::optional<std::int64_t> EntrySize(const std::string& path) override;
  bool CanOpenExclusive(const std::string& path) override;
  bool Delete(const std::string& path) override;
  bool Move(const std::string& from, const std::string& to) override;
  std::optional<std::uint64_t> EntryWriteTime(const std::string& path) override;
  std::string ExecutableFolder() override;
  std::string ExecutablePath() override;
  bool IsLinked(const std::string& path) override;
  bool AppendText(const std::string& path, const std::string& text) override;
  std::optional<std::string> ReadTail(const std::string& path, std::size_t maxBytes) override;
  bool Flush(const std::string& path) override;
  std::optional<std::string> Identity(const std::string& path) override;
  std::vector<std::string> FileNamesIn(const std::string& folder) override;

  std::optional<bool> IsWow64Process() override;
  OsVersion GetVersion() override;
  std::uint64_t Now() override;
  std::string ComputerName() override;
  bool MutexExists(const std::string& name) override;
  std::uint32_t ServiceState(const std::string& name) override;

  bool ExitSystem(std::uint32_t flags, std::uint32_t reason) override;
  long InitiateRestart(std::uint32_t reason, bool forceAppsClosed) override;
  std::optional<bool> InConsoleSession() override;
  void Wait(std::uint32_t ms) override;

  RestorePointResult SetRestorePoint(const RestorePointRequest& request) override;
  // platform/restore_points_win.cpp
  std::optional<std::vector<ListedRestorePoint>> ListRestorePoints() override;

  std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                   std::size_t bufferSize, const std::string& file) override;
  bool Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& file) override;
  bool EraseSection(const std::string& section, const std::string& file) override;
  bool HasSection(const std::string& section, const std::string& file) override;
  std::optional<std::string> ReadBytes(const std::string& file, std::size_t maxBytes) override;
  std::optional<std::string> DecodeText(const std::string& bytes, unsigned codePage) override;

  void Open(const std::string& target) override;

  std::vector<LoggedEvent> HiveReorganizations(std::size_t maxEntries) override;
  std::string SystemRoot() override;

  bool Report(EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) override;

 protected:
  bool OnWow64() override { return wow64_; }
  KeyHandle OpenInView(RootKey root, const std::string& subkey, std::uint32_t access) override;
  KeyKind KindInView(KeyHandle parent, const std::string& name, std::uint32_t view) override;
  long ReplaceInView(RootKey root, const std::string& subkey, const std::string& newFile,
                     const std::string& backupFile, std::uint32_t view) override;
  KeyHandle CreateVolatileInView(RootKey root, const std::string& subkey, std::uint32_t access,
                                 bool& existed) override;
  long DeleteInView(RootKey root, const std::string& subkey, std::uint32_t view) override;
  KeyHandle OpenForBackupInView(RootKey root, const std::string& subkey, std::uint32_t access) override;

 private:
  // A path as this process must name it in a file call: the 64-bit system
  // folder through Sysnative under WOW64.
  std::wstring FilePath(const std::string& path) const;

  Platform platform_;
  bool wow64_;  // fixed for the process' life, asked once
  std::string windowsFolder_;
  bool sysnative_ = false;  // WOW64 with the Sysnative alias (XP x64 needs an update for it)
};

// ShellExecuteA(active window, "Open", target, ..., SW_SHOW) through the
// shell library of the system folder, loaded on first use.
void OpenWithShell(const std::string& target);

}  // namespace vh
