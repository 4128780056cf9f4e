#include "tests/support/recording_platform.h"

#include <fstream>

#include "platform/device_path.h"
#include "platform/text.h"

namespace vh {

RecordingPlatform::RecordingPlatform(Platform& inner, std::string logFile)
    : ForwardingRegistry(inner.registry),
      inner_(inner),
      logFile_(std::move(logFile)),
      platform_{*this, inner.privileges, inner.volumes, *this, inner.system, *this, *this, inner.profiles,
                *this, inner.events, inner.systemLog} {
  // Swaps that earlier runs recorded wait for the same restart.
  std::ifstream earlier(logFile_, std::ios::binary);
  for (std::string line; std::getline(earlier, line);) {
    if (line.rfind("RegReplaceKeyA\t", 0) != 0) continue;
    held_.insert(UpperAscii(line.substr(line.rfind('\t') + 1)));
  }
}

bool RecordingPlatform::CanOpenExclusive(const std::string& path) {
  return !held_.count(UpperAscii(path)) && inner_.files.CanOpenExclusive(path);
}

void RecordingPlatform::Record(const std::string& line) {
  records_.push_back(line);
  if (logFile_.empty()) return;
  std::ofstream out(logFile_, std::ios::app | std::ios::binary);
  out << line << "\n";
}

long RecordingPlatform::ReplaceInView(RootKey root, const std::string& subkey, const std::string& newFile,
                                      const std::string& backupFile, std::uint32_t) {
  Record("RegReplaceKeyA\t" + RootKeyName(root) + "\t" + subkey + "\t" + newFile + "\t" + backupFile);
  Files& files = inner_.files;
  std::string hiveFile = root == RootKey::None ? "" : ListedHiveFile(inner_.registry, inner_.volumes, root, subkey);
  if (hiveFile.empty() || !files.Exists(newFile)) return win::kErrorFileNotFound;
  if (swapped_.count(UpperAscii(hiveFile))) return win::kErrorAccessDenied;
  if (files.EntryExists(backupFile)) return win::kErrorAlreadyExists;
  if (!files.Move(hiveFile, backupFile)) return win::kErrorAccessDenied;
  if (!files.Move(newFile, hiveFile)) {
    files.Move(backupFile, hiveFile);
    return win::kErrorAccessDenied;
  }
  swapped_.insert(UpperAscii(hiveFile));
  held_.insert(UpperAscii(backupFile));
  return win::kErrorSuccess;
}

bool RecordingPlatform::ExitSystem(std::uint32_t flags, std::uint32_t reason) {
  Record("ExitWindowsEx\t" + std::to_string(flags) + "\t" + std::to_string(reason));
  return RestartTaken("ExitWindowsEx");
}

long RecordingPlatform::InitiateRestart(std::uint32_t reason, bool forceAppsClosed) {
  Record("InitiateSystemShutdownExA\t" + std::to_string(reason) + (forceAppsClosed ? "\tforce" : ""));
  // Refused for good, as a token without the right to shut down is.
  return RestartTaken("InitiateSystemShutdownEx") ? win::kErrorSuccess : win::kErrorAccessDenied;
}

RestorePointResult RecordingPlatform::SetRestorePoint(const RestorePointRequest& request) {
  RestorePointResult result = inner_.restore.SetRestorePoint(request);
  const RestoreOutcome outcome = result.outcome;
  Record("SRSetRestorePointA\t" + std::to_string(request.eventType) + "\t" + std::to_string(request.restorePointType) +
         "\t" + request.description + "\t" +
         (outcome == RestoreOutcome::Created ? "created" : outcome == RestoreOutcome::Refused ? "refused" : "unavailable"));
  return result;
}

void RecordingPlatform::Open(const std::string& target) {
  Record("ShellExecuteA\tOpen\t" + target);
  inner_.shell.Open(target);
}

}  // namespace vh
