#include "tests/wine/support/app_fixture.h"

#include <shlwapi.h>

#include <map>

#include "ui/message_box_win.h"

namespace vh::test {

namespace {

const char kHiveList[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";
const char kProfileList[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// Each test hive's SID is new to the process, so that no test meets the
// keys of another.
int NextRid() {
  static int rid = 1000;
  return rid++;
}

void DeleteProfile(const std::string& sid) {
  HKEY list = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &list) != 0) return;
  SHDeleteKeyA(list, sid.c_str());
  RegCloseKey(list);
}

std::map<UINT_PTR, std::function<void()>>& PendingActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto it = PendingActions().find(id);
  if (it == PendingActions().end()) return;
  std::function<void()> action = std::move(it->second);
  PendingActions().erase(it);
  action();
}

}  // namespace

std::string DevicePath(const std::string& path) {
  char device[256] = {};
  QueryDosDeviceA(path.substr(0, 2).c_str(), device, sizeof device);
  return device + path.substr(2);
}

void ForgetWaitingSwaps() {
  HKEY software = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &software) != 0) return;
  SHDeleteKeyA(software, "Varnhold Swaps Waiting");
  RegCloseKey(software);
}

TestRegistry::TestRegistry() : folder_("C:\\") {
  ForgetWaitingSwaps();
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kHiveList, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hivelist_, nullptr);
}

TestRegistry::~TestRegistry() {
  for (const TestHive& h : hives_) {
    RegDeleteValueA(hivelist_, h.name.c_str());
    if (h.sid.empty()) continue;  // the prefix's own hive, never deleted
    DeleteTestKey(h);
    DeleteProfile(h.sid);
  }
  RegCloseKey(hivelist_);
  ForgetWaitingSwaps();
}

HKEY OpenTestKey(const TestHive& hive) {
  HKEY k = nullptr;
  RegOpenKeyExA(HKEY_USERS, hive.sid.c_str(), 0, KEY_ALL_ACCESS, &k);
  return k;
}

bool SaveTestKey(const TestHive& hive, const std::string& file) {
  if (!EnableTestPrivilege("SeBackupPrivilege")) return false;
  DeleteFileA(file.c_str());
  HKEY k = OpenTestKey(hive);
  if (!k) return false;
  bool saved = RegSaveKeyA(k, file.c_str(), nullptr) == ERROR_SUCCESS;
  RegCloseKey(k);
  return saved;
}

void DeleteTestKey(const TestHive& hive) { SHDeleteKeyA(HKEY_USERS, hive.sid.c_str()); }

std::string SwapRecord(const TestHive& hive, const std::string& newFile, const std::string& backupFile) {
  return "RegReplaceKeyA\tHKEY_USERS\t" + hive.sid + "\t" + newFile + "\t" + backupFile;
}

const TestHive& TestRegistry::AddHive(const std::string& key, std::size_t payloadBytes, std::size_t fileBytes) {
  const std::string sid = "S-1-5-21-7-7-" + std::to_string(NextRid());
  HKEY profile = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kProfileList) + "\\" + sid).c_str(), 0, nullptr, 0,
                  KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &profile, nullptr);
  RegCloseKey(profile);
  HKEY k = nullptr;
  RegCreateKeyExA(HKEY_USERS, sid.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  std::string value(4000, 'r');
  for (std::size_t i = 0; i * value.size() < payloadBytes; ++i) {
    std::string name = "v" + std::to_string(i);
    RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
  }
  RegCloseKey(k);
  return List({"\\REGISTRY\\USER\\" + sid, folder_.File(key), sid}, fileBytes);
}

bool AddSubkeys(const TestHive& hive, int count) {
  for (int i = 0; i < count; ++i) {
    const std::string path = hive.sid + "\\Bulk" + std::to_string(i / 1000) + "\\K" + std::to_string(i);
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_USERS, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS)
      return false;
    const DWORD data = DWORD(i);
    LONG set = RegSetValueExA(k, "Value", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(k);
    if (set != ERROR_SUCCESS) return false;
  }
  return true;
}

const TestHive& TestRegistry::AddSystemHive(const std::string& key, std::size_t fileBytes) {
  return List({"\\REGISTRY\\MACHINE\\" + key, folder_.File(key), ""}, fileBytes);
}

const TestHive& TestRegistry::List(const TestHive& hive, std::size_t fileBytes) {
  WriteFileBytes(hive.file, fileBytes);
  std::string device = DevicePath(hive.file);
  RegSetValueExA(hivelist_, hive.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(device.c_str()),
                 DWORD(device.size() + 1));
  hives_.push_back(hive);
  return hives_.back();
}

MessageBoxes::MessageBoxes() {
  SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT) {
    texts.push_back(text);
    captions.push_back(caption);
    if (onShown) onShown();
    return answer;
  });
}

MessageBoxes::~MessageBoxes() { SetMessageBoxHook(nullptr); }

void AfterMs(int ms, std::function<void()> action) {
  UINT_PTR id = SetTimer(nullptr, 0, UINT(ms), RunPending);
  PendingActions()[id] = std::move(action);
}

}  // namespace vh::test
