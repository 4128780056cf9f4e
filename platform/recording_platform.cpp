#include "platform/recording_platform.h"

#include <fstream>

namespace vh {

RecordingPlatform::RecordingPlatform(Platform& inner, std::string logFile)
    : inner_(inner),
      logFile_(std::move(logFile)),
      platform_{*this, inner.privileges, inner.volumes, inner.files, inner.system, *this, *this, inner.profiles,
                *this, inner.events} {}

void RecordingPlatform::Record(const std::string& line) {
  records_.push_back(line);
  if (logFile_.empty()) return;
  std::ofstream out(logFile_, std::ios::app | std::ios::binary);
  out << line << "\n";
}

KeyHandle RecordingPlatform::OpenKeyEx(RootKey root, const std::string& subkey, std::uint32_t access) {
  return inner_.registry.OpenKeyEx(root, subkey, access);
}
KeyHandle RecordingPlatform::OpenKey(RootKey root, const std::string& subkey) {
  return inner_.registry.OpenKey(root, subkey);
}
std::vector<std::string> RecordingPlatform::ValueNames(KeyHandle key) { return inner_.registry.ValueNames(key); }
std::uint32_t RecordingPlatform::ValueType(KeyHandle key, const std::string& name) {
  return inner_.registry.ValueType(key, name);
}
std::string RecordingPlatform::ReadString(KeyHandle key, const std::string& name) {
  return inner_.registry.ReadString(key, name);
}
long RecordingPlatform::SaveKey(KeyHandle key, const std::string& file) { return inner_.registry.SaveKey(key, file); }
void RecordingPlatform::CloseKey(KeyHandle key) { inner_.registry.CloseKey(key); }
// A loaded copy is unloaded again at once and changes nothing for good.
long RecordingPlatform::LoadKey(RootKey root, const std::string& name, const std::string& file) {
  return inner_.registry.LoadKey(root, name, file);
}
long RecordingPlatform::UnLoadKey(RootKey root, const std::string& name) {
  return inner_.registry.UnLoadKey(root, name);
}
std::optional<KeyFacts> RecordingPlatform::QueryKey(KeyHandle key) { return inner_.registry.QueryKey(key); }
std::vector<std::string> RecordingPlatform::SubkeyNames(KeyHandle key) { return inner_.registry.SubkeyNames(key); }
KeyKind RecordingPlatform::QueryKeyKind(KeyHandle parent, const std::string& name) {
  return inner_.registry.QueryKeyKind(parent, name);
}

long RecordingPlatform::ReplaceKey(RootKey root, const std::string& subkey, const std::string& newFile,
                                   const std::string& backupFile) {
  Record("RegReplaceKeyA\t" + RootKeyName(root) + "\t" + subkey + "\t" + newFile + "\t" + backupFile);
  // Reported as scheduled when the copy is there, as the system would.
  return inner_.files.Exists(newFile) && root != RootKey::None ? 0 : 2;
}

bool RecordingPlatform::ExitSystem(std::uint32_t flags, std::uint32_t reason) {
  Record("ExitWindowsEx\t" + std::to_string(flags) + "\t" + std::to_string(reason));
  return true;
}

RestoreOutcome RecordingPlatform::SetRestorePoint(const RestorePointRequest& request) {
  RestoreOutcome outcome = inner_.restore.SetRestorePoint(request);
  Record("SRSetRestorePointA\t" + std::to_string(request.eventType) + "\t" + std::to_string(request.restorePointType) +
         "\t" + request.description + "\t" +
         (outcome == RestoreOutcome::Created ? "created" : outcome == RestoreOutcome::Refused ? "refused" : "unavailable"));
  return outcome;
}

void RecordingPlatform::Open(const std::string& target) {
  Record("ShellExecuteA\tOpen\t" + target);
  inner_.shell.Open(target);
}

}  // namespace vh
