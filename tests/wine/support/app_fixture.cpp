#include "tests/wine/support/app_fixture.h"

#include <shlwapi.h>

#include <map>

#include "ui/message_box_win.h"

namespace vh::test {

namespace {

const char kHiveList[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";
const char kTestRoot[] = "SOFTWARE\\VarnholdTest";

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

TestRegistry::TestRegistry() : folder_("C:\\") {
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kHiveList, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hivelist_, nullptr);
}

TestRegistry::~TestRegistry() {
  for (const TestHive& h : hives_) RegDeleteValueA(hivelist_, h.name.c_str());
  RegCloseKey(hivelist_);
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTestRoot);
  HKEY software = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &software) == 0) {
    SHDeleteKeyA(software, "VarnholdTest");
    RegCloseKey(software);
  }
}

const TestHive& TestRegistry::AddHive(const std::string& key, std::size_t payloadBytes, std::size_t fileBytes) {
  HKEY k = nullptr;
  std::string path = std::string(kTestRoot) + "\\" + key;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &k,
                  nullptr);
  std::string value(4000, 'r');
  for (std::size_t i = 0; i * value.size() < payloadBytes; ++i) {
    std::string name = "v" + std::to_string(i);
    RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
  }
  RegCloseKey(k);
  return List({"\\REGISTRY\\MACHINE\\" + path, folder_.File(key)}, fileBytes);
}

const TestHive& TestRegistry::AddSystemHive(const std::string& key, std::size_t fileBytes) {
  return List({"\\REGISTRY\\MACHINE\\" + key, folder_.File(key)}, fileBytes);
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
