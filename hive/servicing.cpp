#include "hive/servicing.h"

#include "lang/messages.h"

namespace vh {

namespace {

// A key whose presence is the marker.
struct MarkerKey {
  const char* subkey;  // below HKEY_LOCAL_MACHINE
  unsigned found;
};
const MarkerKey kMarkerKeys[] = {
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootPending",
     IDS_SERVICING_CBS},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\RebootRequired",
     IDS_SERVICING_UPDATE},
};

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";
// Held by Windows Installer while any installation runs.
const char kInstallerMutex[] = "Global\\_MSIExecute";
// The servicing installer of Vista and later.
const char kServicingService[] = "TrustedInstaller";

bool KeyExists(Registry& registry, const char* subkey) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, subkey, win::kKeyRead);
  if (key) registry.CloseKey(key);
  return key != 0;
}

bool HasValue(Registry& registry, const char* subkey, const char* name) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, subkey, win::kKeyQueryValue);
  if (!key) return false;
  bool found = registry.ValueType(key, name) != 0;
  registry.CloseKey(key);
  return found;
}

}  // namespace

std::vector<unsigned> FindServicing(Registry& registry, SystemInfo& system) {
  std::vector<unsigned> found;
  for (const MarkerKey& marker : kMarkerKeys)
    if (KeyExists(registry, marker.subkey)) found.push_back(marker.found);
  if (HasValue(registry, kSessionManager, kPendingRenames))
    found.push_back(IDS_SERVICING_RENAMES);
  if (system.MutexExists(kInstallerMutex)) found.push_back(IDS_SERVICING_INSTALLER);
  if (system.ServiceRunning(kServicingService)) found.push_back(IDS_SERVICING_MODULES);
  return found;
}

std::vector<std::string> EnglishFindings(const std::vector<unsigned>& found) {
  std::vector<std::string> lines;
  for (unsigned id : found) lines.push_back(MessageOf(id).english);
  return lines;
}

}  // namespace vh
