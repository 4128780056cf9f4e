#include "hive/servicing.h"

namespace vh {

namespace {

constexpr std::uint32_t kKeyRead = 0x20019;

// A key whose presence is the marker.
struct MarkerKey {
  const char* subkey;  // below HKEY_LOCAL_MACHINE
  const char* found;
};
const MarkerKey kMarkerKeys[] = {
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootPending",
     "component servicing waits for a restart to finish installing updates"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\RebootRequired",
     "Windows Update waits for a restart to finish installing updates"},
};

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";
// Held by Windows Installer while any installation runs.
const char kInstallerMutex[] = "Global\\_MSIExecute";
// The servicing installer of Vista and later.
const char kServicingService[] = "TrustedInstaller";

bool KeyExists(Registry& registry, const char* subkey, std::uint32_t view) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, subkey, kKeyRead | view);
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

std::vector<std::string> FindServicing(Registry& registry, SystemInfo& system, bool wow64) {
  // The software hive's keys are read in the 64-bit view, where Windows
  // writes them; a 32-bit process would otherwise read Wow6432Node.
  const std::uint32_t view = wow64 ? win::kKeyWow64_64Key : 0;
  std::vector<std::string> found;
  for (const MarkerKey& marker : kMarkerKeys)
    if (KeyExists(registry, marker.subkey, view)) found.push_back(marker.found);
  if (HasValue(registry, kSessionManager, kPendingRenames))
    found.push_back("files wait to be replaced at the restart (pending file renames)");
  if (system.MutexExists(kInstallerMutex)) found.push_back("Windows Installer is installing a program");
  if (system.ServiceRunning(kServicingService))
    found.push_back("the Windows Modules Installer (TrustedInstaller) is running");
  return found;
}

}  // namespace vh
