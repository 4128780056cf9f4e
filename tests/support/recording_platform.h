// Passes every call to another platform (the registry's through
// ForwardingRegistry), but keeps a record of the calls
// that change the machine for good (hive swap, restart, restore point, shell
// open) and never passes the swap or the restart on, so that a test run of
// the real program cannot swap the test machine's hives or restart it.
//
// The swap is played as Windows does it, on the files: the hive's file (as
// the hive list names it) is renamed to the backup name and the new file to
// the hive's, and a second swap of the hive in this run is refused. The
// renamed live file is held, as the system holds it until the restart,
// also for later runs that record into the same file. What a restart
// request comes to is the test's to say (restartAnswer).
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/forwarding_registry.h"
#include "platform/platform.h"

namespace vh {

class RecordingPlatform final : public ForwardingRegistry, public Power, public RestoreClient, public Shell,
                                public Files {
 public:
  // Records are kept in memory and, when logFile is not empty, appended to
  // that file one line each as they happen.
  RecordingPlatform(Platform& inner, std::string logFile = "");
  Platform& platform() { return platform_; }
  const std::vector<std::string>& records() const { return records_; }
  // Answers ExitWindowsEx (with the call's name "ExitWindowsEx") and
  // InitiateSystemShutdownEx ("InitiateSystemShutdownEx"): true when the
  // request is taken. Taken, when not set.
  std::function<bool(const std::string& call)> restartAnswer;

  bool ExitSystem(std::uint32_t flags, std::uint32_t reason) override;
  long InitiateRestart(std::uint32_t reason, bool forceAppsClosed) override;
  std::optional<bool> InConsoleSession() override { return inner_.power.InConsoleSession(); }
  void Wait(std::uint32_t ms) override { inner_.power.Wait(ms); }
  RestorePointResult SetRestorePoint(const RestorePointRequest& request) override;
  std::optional<std::vector<ListedRestorePoint>> ListRestorePoints() override {
    return inner_.restore.ListRestorePoints();
  }
  void Open(const std::string& target) override;

  // The inner files, but a live hive file a recorded swap renamed cannot be
  // opened exclusively.
  bool Exists(const std::string& path) override { return inner_.files.Exists(path); }
  bool EntryExists(const std::string& path) override { return inner_.files.EntryExists(path); }
  std::optional<std::int64_t> EntrySize(const std::string& path) override { return inner_.files.EntrySize(path); }
  bool CanOpenExclusive(const std::string& path) override;
  bool Delete(const std::string& path) override { return inner_.files.Delete(path); }
  bool Move(const std::string& from, const std::string& to) override { return inner_.files.Move(from, to); }
  std::optional<std::uint64_t> EntryWriteTime(const std::string& path) override {
    return inner_.files.EntryWriteTime(path);
  }
  bool IsLinked(const std::string& path) override { return inner_.files.IsLinked(path); }
  std::string ExecutableFolder() override { return inner_.files.ExecutableFolder(); }
  std::string ExecutablePath() override { return inner_.files.ExecutablePath(); }
  bool AppendText(const std::string& path, const std::string& text) override {
    return inner_.files.AppendText(path, text);
  }
  std::optional<std::string> ReadTail(const std::string& path, std::size_t maxBytes) override {
    return inner_.files.ReadTail(path, maxBytes);
  }
  bool Flush(const std::string& path) override { return inner_.files.Flush(path); }
  std::optional<std::string> Identity(const std::string& path) override { return inner_.files.Identity(path); }
  std::vector<std::string> FileNamesIn(const std::string& folder) override { return inner_.files.FileNamesIn(folder); }

 protected:
  long ReplaceInView(RootKey root, const std::string& subkey, const std::string& newFile,
                     const std::string& backupFile, std::uint32_t view) override;

 private:
  void Record(const std::string& line);
  bool RestartTaken(const std::string& call) { return !restartAnswer || restartAnswer(call); }

  Platform& inner_;
  std::string logFile_;
  std::vector<std::string> records_;
  std::set<std::string> swapped_;  // hive files swapped in this run
  std::set<std::string> held_;     // live hive files renamed by a recorded swap, upper-cased
  Platform platform_;
};

}  // namespace vh
