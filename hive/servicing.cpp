#include "hive/servicing.h"

#include <cstdio>

#include "lang/messages.h"
#include "platform/text.h"

namespace vh {

namespace {

// A key whose presence is the marker.
struct MarkerKey {
  const char* subkey;  // below HKEY_LOCAL_MACHINE
  unsigned found;
};
const MarkerKey kMarkerKeys[] = {
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootPending", IDS_SERVICING_CBS},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\RebootInProgress",
     IDS_SERVICING_CBS_RESTARTING},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\PackagesPending",
     IDS_SERVICING_CBS_PACKAGES},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\RebootRequired",
     IDS_SERVICING_UPDATE},
    // Windows Installer's record of an installation it has begun and not
    // finished, kept across a restart.
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\InProgress", IDS_SERVICING_INSTALLER_INCOMPLETE},
};

// A value of Windows Setup's key that is set while setup runs or waits to
// run at the next start; 0 otherwise.
struct MarkerValue {
  const char* name;
  unsigned found;
};
const char kSetupKey[] = "SYSTEM\\Setup";
const MarkerValue kSetupValues[] = {
    {"SystemSetupInProgress", IDS_SERVICING_SETUP},
    {"OOBEInProgress", IDS_SERVICING_OOBE},
    {"SetupType", IDS_SERVICING_SETUP_TYPE},
};

// Component servicing's operations left for the next start, below the
// Windows folder.
const char kPendingXml[] = "\\WinSxS\\pending.xml";

const char kSessionManager[] = "Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";
const char kPendingRenames2[] = "PendingFileRenameOperations2";
// Held by Windows Installer while any installation runs.
const char kInstallerMutex[] = "Global\\_MSIExecute";
// The servicing installer of Vista and later. It stays for its idle
// timeout after its work and is stopping or starting on and off in
// between: only while it runs is it installing anything.
const char kServicingService[] = "TrustedInstaller";

bool KeyExists(Registry& registry, const char* subkey) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, subkey, win::kKeyRead);
  if (key) registry.CloseKey(key);
  return key != 0;
}

// Nothing at all: no bytes, or only zeros (a DWORD of 0, a multi-string of
// terminators alone).
bool Empty(const std::string& data) { return data.find_first_not_of('\0') == std::string::npos; }

std::optional<std::string> ReadData(Registry& registry, KeyHandle key, const char* name) {
  std::optional<std::string> data = registry.ReadValueData(key, name);
  if (!data || Empty(*data)) return std::nullopt;
  return data;
}

// "ControlSet001" from the hive's Select\Current; empty when unreadable. A
// loaded copy's CurrentControlSet is a link into the live hive, never into
// the copy.
std::string CurrentControlSet(Registry& registry, RootKey root, const std::string& hiveKey) {
  KeyHandle select = registry.OpenKeyEx(root, hiveKey + "\\Select", win::kKeyQueryValue);
  if (!select) return "";
  std::optional<std::string> current = registry.ReadValueData(select, "Current");
  registry.CloseKey(select);
  if (!current || current->size() != 4) return "";
  std::uint32_t n = 0;
  for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>((*current)[std::size_t(i)]);
  if (n == 0 || n > 999) return "";
  char name[24];
  std::snprintf(name, sizeof name, "ControlSet%03u", static_cast<unsigned>(n));
  return name;
}

}  // namespace

std::optional<PendingRenames> ReadPendingRenames(Registry& registry, RootKey root, const std::string& hiveKey) {
  std::string set = CurrentControlSet(registry, root, hiveKey);
  // The running system's own link leads where it should.
  if (set.empty() && root == RootKey::LocalMachine && EqualsIgnoreCase(hiveKey, "SYSTEM")) set = "CurrentControlSet";
  if (set.empty()) return std::nullopt;
  KeyHandle key = registry.OpenKeyEx(root, hiveKey + "\\" + set + "\\" + kSessionManager, win::kKeyQueryValue);
  if (!key) return std::nullopt;
  PendingRenames renames{ReadData(registry, key, kPendingRenames), ReadData(registry, key, kPendingRenames2)};
  registry.CloseKey(key);
  return renames;
}

std::vector<unsigned> FindServicing(Platform& platform, RenamesCheck renames,
                                    const std::optional<PendingRenames>& inCopy) {
  Registry& registry = platform.registry;
  std::vector<unsigned> found;
  for (const MarkerKey& marker : kMarkerKeys)
    if (KeyExists(registry, marker.subkey)) found.push_back(marker.found);
  if (KeyHandle setup = registry.OpenKeyEx(RootKey::LocalMachine, kSetupKey, win::kKeyQueryValue)) {
    for (const MarkerValue& marker : kSetupValues)
      if (ReadData(registry, setup, marker.name)) found.push_back(marker.found);
    registry.CloseKey(setup);
  }
  const std::string windows = platform.systemLog.SystemRoot();
  if (!windows.empty() && platform.files.Exists(windows + kPendingXml)) found.push_back(IDS_SERVICING_PENDING_XML);
  if (renames != RenamesCheck::Later) {
    const bool sinceCopy = renames == RenamesCheck::SinceCopy && inCopy.has_value();
    if (std::optional<PendingRenames> live = ReadPendingRenames(registry, RootKey::LocalMachine, "SYSTEM")) {
      if (live->renames && (!sinceCopy || live->renames != inCopy->renames)) found.push_back(IDS_SERVICING_RENAMES);
      if (live->renames2 && (!sinceCopy || live->renames2 != inCopy->renames2))
        found.push_back(IDS_SERVICING_RENAMES2);
    }
  }
  if (platform.system.MutexExists(kInstallerMutex)) found.push_back(IDS_SERVICING_INSTALLER);
  if (platform.system.ServiceState(kServicingService) == win::kServiceRunning) found.push_back(IDS_SERVICING_MODULES);
  return found;
}

std::vector<std::string> EnglishFindings(const std::vector<unsigned>& found) {
  std::vector<std::string> lines;
  for (unsigned id : found) lines.push_back(MessageOf(id).english);
  return lines;
}

}  // namespace vh
