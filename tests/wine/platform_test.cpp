// The hive routines and the settings store over the real Win32 API (Wine).
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "hive/catalogue.h"
#include "hive/copy_check.h"
#include "hive/hive_copy.h"
#include "hive/reorganization.h"
#include "platform/error.h"
#include "platform/win32_platform_win.h"
#include "settings/options.h"
#include "tests/wine/support/program_win.h"
#include "tests/wine/support/wine_env.h"

namespace vh {
namespace {

const char kHiveList[] = "SYSTEM\\CurrentControlSet\\Control\\hivelist";

// Adds values to the real hivelist key and takes them out again.
class HiveListValues {
 public:
  HiveListValues() {
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kHiveList, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  ~HiveListValues() {
    for (const std::string& name : names_) RegDeleteValueA(key_, name.c_str());
    RegCloseKey(key_);
  }
  void Text(const std::string& name, DWORD type, const std::string& text) {
    names_.push_back(name);
    RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
  }
  void Number(const std::string& name, DWORD value) {
    names_.push_back(name);
    RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }

 private:
  HKEY key_ = nullptr;
  std::vector<std::string> names_;
};

// "C:\x\y" -> "\Device\HarddiskVolume1\x\y" with the drive's own device.
std::string BuildFolderOnZ() {
  std::string folder = test::BuiltProgram("");
  return folder.substr(0, folder.size() - 1);
}

std::string DevicePath(Win32Platform& p, const std::string& path) {
  return p.DeviceName(path.substr(0, 2), 127) + path.substr(2);
}

TEST(CatalogueOnWine, MapsTheRealHiveListOverFixedDrivesCAndZ) {
  Win32Platform p;
  ASSERT_EQ(p.DeviceName("C:", 127), "\\Device\\HarddiskVolume1");
  ASSERT_EQ(p.DeviceName("Z:", 127), "\\Device\\HarddiskVolume2");
  test::ScratchFolder onC("C:\\");
  // Below the build folder: a folder such as /tmp may be a mount of its own,
  // which Wine reports as a reparse point, and such a hive is left out.
  test::ScratchFolder onZ(BuildFolderOnZ());
  test::WriteFileBytes(onC.File("SYSTEM"), 8192);
  test::WriteFileBytes(onZ.File("NTUSER.DAT"), 4096);
  test::WriteFileBytes(onC.File("SAM"), 4096);

  HiveListValues values;
  values.Text("\\REGISTRY\\MACHINE\\VHTEST_SYSTEM", REG_SZ, DevicePath(p, onC.File("SYSTEM")));
  values.Text("\\REGISTRY\\USER\\VHTEST_USER", REG_EXPAND_SZ, DevicePath(p, onZ.File("NTUSER.DAT")));
  values.Number("\\REGISTRY\\MACHINE\\VHTEST_DWORD", 1);
  values.Text("\\REGISTRY\\MACHINE\\VHTEST_EMPTY", REG_SZ, "");
  std::string lower = DevicePath(p, onC.File("SAM"));
  for (char& c : lower) c = char(tolower(c));
  values.Text("\\REGISTRY\\MACHINE\\VHTEST_LOWER", REG_SZ, lower);
  values.Text("\\REGISTRY\\MACHINE\\VHTEST_MISSING", REG_SZ, DevicePath(p, onC.File("nothing")));

  HiveTable table;
  HiveCatalogue(p, p, p).BuildHiveCatalogue(table);
  std::map<std::string, std::string> found;
  std::vector<std::string> order;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table.HiveNames[i].find("VHTEST_") == std::string::npos) continue;
    found[table.HiveNames[i]] = table.HiveFiles[i];
    order.push_back(table.HiveNames[i]);
  }
  EXPECT_EQ(found, (std::map<std::string, std::string>{
                       {"\\REGISTRY\\MACHINE\\VHTEST_SYSTEM", onC.File("SYSTEM")},
                       {"\\REGISTRY\\USER\\VHTEST_USER", onZ.File("NTUSER.DAT")},
                       {"\\REGISTRY\\MACHINE\\VHTEST_LOWER", "C:" + lower.substr(std::string("\\device\\harddiskvolume1").size())}}));
  // The table keeps the registry's own enumeration order.
  KeyHandle key = p.OpenKeyEx(RootKey::LocalMachine, kHiveList, KEY_READ);
  std::vector<std::string> enumerated;
  for (const std::string& name : p.ValueNames(key))
    if (found.count(name)) enumerated.push_back(name);
  p.CloseKey(key);
  EXPECT_EQ(order, enumerated);
  EXPECT_EQ(QueryFileSize(p, onC.File("SYSTEM")), 8192);
}

// The program names the 64-bit system folder as Windows does, "System32";
// only the platform's own file calls reach it through Sysnative, where this
// 32-bit process' "System32" would be SysWOW64.
TEST(CatalogueOnWine, The32BitProcessSeesWow64AndItsFileCallsReachTheNativeSystemFolder) {
  Win32Platform p;
  ASSERT_TRUE(IsWow64(p));
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string native = std::string(windows) + "\\Sysnative\\vh-spelling-test.txt";
  const std::string wow64 = std::string(windows) + "\\SysWOW64\\vh-spelling-test.txt";
  const std::string spelt = std::string(windows) + "\\System32\\vh-spelling-test.txt";
  test::WriteFileText(native, "native");
  EXPECT_TRUE(p.Exists(spelt));
  EXPECT_EQ(p.Identity(spelt), p.Identity(native));
  EXPECT_TRUE(p.AppendText(spelt, "+"));
  EXPECT_EQ(test::ReadFileText(native), "native+");
  EXPECT_EQ(GetFileAttributesA(wow64.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing in the 32-bit folder";
  EXPECT_TRUE(p.Delete(spelt));
  EXPECT_EQ(GetFileAttributesA(native.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(HiveCopyOnWine, SaveNeedsTheBackupPrivilegeThenWritesARealHive) {
  Win32Platform p;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnholdTest", 0, nullptr, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  std::string data(20000, 'v');
  RegSetValueExA(key, "Payload", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
  RegCloseKey(key);

  test::ScratchFolder folder;
  std::string target = folder.File("SOFTWARE.hvz");
  test::WriteFileBytes(target, 10);
  EXPECT_FALSE(SaveHiveCopy(p, p, "\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest", target));
  EXPECT_FALSE(p.Exists(target)) << "the old copy must be gone even when the save is refused";

  EnableBackupPrivilege(p);
  ASSERT_TRUE(SaveHiveCopy(p, p, "\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest", target));
  std::string saved = test::ReadFileText(target);
  EXPECT_NE(saved.find("Payload"), std::string::npos);
  EXPECT_GT(QueryFileSize(p, target), 20000);
  ASSERT_TRUE(SaveHiveCopy(p, p, "\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest", target)) << "second run overwrites";

  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnholdTest", KEY_WOW64_64KEY, 0);
}

// A test key in the 64-bit view with subkeys three levels deep, and a link.
class CheckedKey {
 public:
  CheckedKey() {
    for (const char* path : {"", "\\A", "\\A\\B", "\\A\\B\\C", "\\Target"}) Create(path);
    SetText("\\A", "v", "1");
    SetText("\\A\\B", "v", "1");
    HKEY link = nullptr;
    std::string name = std::string(kRoot) + "\\Link";
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                    KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &link, nullptr);
    std::wstring target = L"\\Registry\\Machine\\Software\\VarnholdCheckTest\\Target";
    RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.c_str()),
                   DWORD(target.size() * sizeof(wchar_t)));
    RegCloseKey(link);
  }
  ~CheckedKey() {
    HKEY link = nullptr;
    std::string name = std::string(kRoot) + "\\Link";
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                      &link) == 0) {
      using DeleteKeyFn = LONG(WINAPI*)(HANDLE);
      auto deleteKey = reinterpret_cast<DeleteKeyFn>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
      if (deleteKey) deleteKey(link);
      RegCloseKey(link);
    }
    HKEY software = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &software);
    SHDeleteKeyA(software, "VarnholdCheckTest");
    RegCloseKey(software);
  }
  void Create(const std::string& path) {
    HKEY k = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kRoot + path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                    nullptr, &k, nullptr);
    RegCloseKey(k);
  }
  void SetText(const std::string& path, const char* name, const char* text) {
    HKEY k = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kRoot + path).c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &k);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(strlen(text) + 1));
    RegCloseKey(k);
  }
  static constexpr const char* kHive = "\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdCheckTest";
  std::string kRoot = "SOFTWARE\\VarnholdCheckTest";
};

bool CheckKeyPresent() {
  HKEY k = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kCheckKeyName, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

TEST(CopyCheckOnWine, ACopyLoadsBackMatchesWithItsLinkAndIsUnloadedAtOnce) {
  Win32Platform p;
  EnableBackupPrivilege(p);
  EnableRestorePrivilege(p);
  CheckedKey key;
  KeyHandle root = OpenHiveKey(p, CheckedKey::kHive);
  ASSERT_NE(root, 0u);
  EXPECT_EQ(p.QueryKeyKind(root, "Link"), KeyKind::Link) << "the documented link query";
  EXPECT_EQ(p.QueryKeyKind(root, "A"), KeyKind::Unknown) << "Wine has no query of a key's flags";
  p.CloseKey(root);
  test::ScratchFolder folder;
  std::string copy = folder.File("check.hvz");
  ASSERT_TRUE(SaveHiveCopy(p, p, CheckedKey::kHive, copy));

  CopyCheck check = CheckHiveCopy(p, p, CheckedKey::kHive, copy, true);
  EXPECT_TRUE(check.passed) << check.reason.English();
  EXPECT_FALSE(CheckKeyPresent());

  // Written after the copy: not held against it.
  key.Create("\\A\\New");
  key.SetText("", "later", "x");
  check = CheckHiveCopy(p, p, CheckedKey::kHive, copy, true);
  EXPECT_TRUE(check.passed) << check.reason.English();
}

TEST(CopyCheckOnWine, CountedSubkeyNamesStopAtTheCountOrAtTheLastKey) {
  Win32Platform p;
  CheckedKey key;  // the root holds A, Link and Target
  KeyHandle root = OpenHiveKey(p, CheckedKey::kHive);
  ASSERT_NE(root, 0u);
  const std::vector<std::string> all = p.SubkeyNames(root);
  ASSERT_EQ(all.size(), 3u);
  for (std::uint32_t count : {0u, 2u, 3u, 5u})
    EXPECT_EQ(p.CountedSubkeyNames(root, count),
              std::vector<std::string>(all.begin(), all.begin() + std::min<std::size_t>(count, all.size())))
        << count;
  p.CloseKey(root);
}

TEST(CopyCheckOnWine, ACopyWithoutAKeyOrNotAHiveAtAllFailsAndAStaleLoadIsReleased) {
  Win32Platform p;
  EnableBackupPrivilege(p);
  EnableRestorePrivilege(p);
  CheckedKey key;
  test::ScratchFolder folder;
  std::string copy = folder.File("check.hvz");
  ASSERT_TRUE(SaveHiveCopy(p, p, CheckedKey::kHive, copy));
  // Wine's copy is text: cut the second-level key B, and its subkey, out.
  std::string text = test::ReadFileText(copy);
  std::string cut;
  std::size_t at = 0;
  for (std::size_t next; at < text.size(); at = next) {
    next = text.find("\n[", at + 1);
    next = next == std::string::npos ? text.size() : next + 1;
    std::string section = text.substr(at, next - at);
    if (section.rfind("[A\\\\B", 0) != 0) cut += section;
  }
  ASSERT_NE(cut.size(), text.size()) << text;
  test::WriteFileText(copy, cut);
  CopyCheck check = CheckHiveCopy(p, p, CheckedKey::kHive, copy, true);
  EXPECT_FALSE(check.passed);
  EXPECT_EQ(check.reason.English(), "the copy does not match the registry: key A\\B is missing from the copy");
  EXPECT_FALSE(CheckKeyPresent());

  test::WriteFileText(copy, "garbage, not a hive\r\n");
  check = CheckHiveCopy(p, p, CheckedKey::kHive, copy, true);
  EXPECT_EQ(check.reason.English(), "the copy does not load as a hive (error 1017)");
  EXPECT_FALSE(CheckKeyPresent()) << "the refused load is not left behind";

  // A load a killed run left behind.
  ASSERT_TRUE(SaveHiveCopy(p, p, CheckedKey::kHive, copy));
  ASSERT_EQ(p.LoadKey(RootKey::LocalMachine, kCheckKeyName, copy), 0);
  ASSERT_TRUE(CheckKeyPresent());
  ReleaseStaleCheckKey(p, p);
  EXPECT_FALSE(CheckKeyPresent());
  ASSERT_EQ(p.LoadKey(RootKey::LocalMachine, kCheckKeyName, copy), 0);
  check = CheckHiveCopy(p, p, CheckedKey::kHive, copy, true);
  EXPECT_TRUE(check.passed) << "unloaded before the check: " << check.reason.English();
  EXPECT_FALSE(CheckKeyPresent());
}

TEST(CopyCheckOnWine, TheSystemHivesVolatileMountedDevicesIsLeftOutOfItsCopyAndToldApartByItsOwnSave) {
  Win32Platform p;
  EnableBackupPrivilege(p);
  EnableRestorePrivilege(p);
  test::ScratchFolder folder;
  std::string copy = folder.File("SYSTEM.hvz");
  ASSERT_TRUE(SaveHiveCopy(p, p, "\\REGISTRY\\MACHINE\\SYSTEM", copy));
  ASSERT_EQ(p.LoadKey(RootKey::LocalMachine, kCheckKeyName, copy), 0);
  KeyHandle loaded = p.OpenKeyEx(RootKey::LocalMachine, kCheckKeyName, win::kKeyRead);
  KeyHandle live = p.OpenKeyEx(RootKey::LocalMachine, "SYSTEM", win::kKeyRead);
  std::vector<std::string> copied = p.SubkeyNames(loaded);
  std::vector<std::string> names = p.SubkeyNames(live);
  EXPECT_NE(std::find(names.begin(), names.end(), "MountedDevices"), names.end());
  EXPECT_EQ(std::find(copied.begin(), copied.end(), "MountedDevices"), copied.end());
  EXPECT_EQ(copied.size() + 1, names.size());
  EXPECT_EQ(p.QueryKeyKind(live, "MountedDevices"), KeyKind::Unknown);
  p.CloseKey(loaded);
  p.CloseKey(live);
  EXPECT_EQ(p.UnLoadKey(RootKey::LocalMachine, kCheckKeyName), 0);
  // No flags query on Wine: saved on its own, MountedDevices holds nothing.
  CopyCheck check = CheckHiveCopy(p, p, "\\REGISTRY\\MACHINE\\SYSTEM", copy, true);
  EXPECT_TRUE(check.passed) << check.reason.English();
  EXPECT_FALSE(p.Exists(copy + ".key"));
  HKEY probe = nullptr;
  EXPECT_NE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kProbeKeyName, &probe), ERROR_SUCCESS);
}

TEST(CopyCheckOnWine, AVolatileKeyWithContentPassesAnEmptyOneCannotBeToldApart) {
  Win32Platform p;
  EnableBackupPrivilege(p);
  EnableRestorePrivilege(p);
  CheckedKey key;
  HKEY session = nullptr;
  std::string path = key.kRoot + "\\A\\Session";
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &session, nullptr),
            0);
  test::ScratchFolder folder;
  std::string copy = folder.File("check.hvz");
  ASSERT_TRUE(SaveHiveCopy(p, p, CheckedKey::kHive, copy));
  CopyCheck check = CheckHiveCopy(p, p, CheckedKey::kHive, copy, true);
  EXPECT_EQ(check.reason.English(), "the copy does not match the registry: key A\\Session is missing from the copy (the "
                          "system cannot tell whether it is volatile)");
  RegSetValueExA(session, "user", 0, REG_SZ, reinterpret_cast<const BYTE*>("u"), 2);
  RegCloseKey(session);
  ASSERT_TRUE(SaveHiveCopy(p, p, CheckedKey::kHive, copy));
  check = CheckHiveCopy(p, p, CheckedKey::kHive, copy, true);
  EXPECT_TRUE(check.passed) << check.reason.English();
}

TEST(HiveCopyOnWine, AFileHeldWithoutSharingIsLockedAndStillMeasurable) {
  Win32Platform p;
  test::ScratchFolder folder;
  std::string path = folder.File("held.hvz");
  EXPECT_FALSE(IsFileLocked(p, path));
  EXPECT_EQ(QueryFileSize(p, path), 0);
  test::WriteFileBytes(path, 3000);
  EXPECT_FALSE(IsFileLocked(p, path));
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(IsFileLocked(p, path));
  EXPECT_EQ(QueryFileSize(p, path), 3000);
  CloseHandle(held);
  EXPECT_FALSE(IsFileLocked(p, path));
}

TEST(JournalFileOnWine, AppendsNeverTruncateAndTheTailIsTheFilesEnd) {
  Win32Platform p;
  test::ScratchFolder folder;
  std::string path = folder.File("journal.txt");
  EXPECT_FALSE(p.ReadTail(path, 100).has_value()) << "no file yet";
  EXPECT_TRUE(p.AppendText(path, "first\r\n"));
  EXPECT_TRUE(p.AppendText(path, "second\r\n"));
  EXPECT_EQ(test::ReadFileText(path), "first\r\nsecond\r\n");
  EXPECT_EQ(p.ReadTail(path, 100).value_or("?"), "first\r\nsecond\r\n");
  EXPECT_EQ(p.ReadTail(path, 8).value_or("?"), "second\r\n");
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(p.AppendText(path, "third\r\n")) << "a file held without sharing cannot be written";
  CloseHandle(held);
  EXPECT_FALSE(p.AppendText(folder.File("no such folder") + "\\journal.txt", "x"));
}

TEST(SystemOnWine, TheComputerHasANameAndAFileKeepsItsIdentityThroughARenameButNotARewrite) {
  Win32Platform p;
  char name[64];
  DWORD size = sizeof name;
  ASSERT_TRUE(GetComputerNameA(name, &size));
  EXPECT_EQ(p.ComputerName(), std::string(name, size));
  test::ScratchFolder folder;
  const std::string file = folder.File("hive"), renamed = folder.File("hive.bak");
  test::WriteFileText(file, "live");
  std::optional<std::string> before = p.Identity(file);
  ASSERT_TRUE(before);
  // Held without sharing, as the system holds a loaded hive's file.
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(p.Identity(file), before) << "read without access";
  CloseHandle(held);
  ASSERT_TRUE(p.Move(file, renamed));
  EXPECT_EQ(p.Identity(renamed), before);
  test::WriteFileText(file, "live");
  EXPECT_NE(p.Identity(file), before);
  EXPECT_FALSE(p.Identity(folder.File("none")));
  EXPECT_TRUE(p.AppendText(file, "x"));
  EXPECT_TRUE(p.Flush(file));
  EXPECT_FALSE(p.Flush(folder.File("none")));
  EXPECT_FALSE(p.MutexExists("Global\\VarnholdNoSuchMutex"));
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Global\\VarnholdProbeMutex");
  EXPECT_TRUE(p.MutexExists("Global\\VarnholdProbeMutex"));
  CloseHandle(mutex);
  EXPECT_EQ(p.ServiceState("VarnholdNoSuchService"), 0u);
}

TEST(SystemLogOnWine, TheEventLogApiIsLookedUpAndWinesLogNamesNoHiveAndTheRootIsTheWindowsFolder) {
  Win32Platform real;
  // Wine's event log holds no entry of Windows' own reorganisation: the
  // query, made through the looked-up API, finds nothing and fails nothing.
  EXPECT_TRUE(real.HiveReorganizations(kLoggedReorganizationsRead).empty());
  char windows[MAX_PATH] = {};
  ASSERT_GT(GetSystemWindowsDirectoryA(windows, MAX_PATH), 0u);
  EXPECT_EQ(real.SystemRoot(), windows);
  EXPECT_EQ(LoggedHiveFile("\\SystemRoot\\System32\\Config\\SOFTWARE", real.SystemRoot()),
            std::string(windows) + "\\System32\\Config\\SOFTWARE");
}

TEST(SettingsOnWine, RoundTripThroughTheProfileFunctionsKeepsOtherSections) {
  Win32Platform p;
  test::ScratchFolder folder;
  std::string ini = folder.File("options.ini");
  test::WriteFileText(ini, "[Other]\r\nKeep=me\r\n[Options]\r\nLan=French\r\n[Tail]\r\nB=2\r\n");

  TOptionsSetting loaded;
  LoadSaveOptions(loaded, p, ini, true);
  EXPECT_TRUE(loaded.IsAskBeforeDefrag);
  EXPECT_TRUE(loaded.IsShowLine);
  EXPECT_FALSE(loaded.RestorePoint);
  EXPECT_EQ(loaded.Lan, "French");

  loaded.IsShowLine = false;
  loaded.Lan = "German";
  LoadSaveOptions(loaded, p, ini, false);
  std::string text = test::ReadFileText(ini);
  EXPECT_NE(text.find("[Other]\r\nKeep=me\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Tail]\r\nB=2"), std::string::npos) << text;
  std::size_t options = text.find("[Options]");
  std::size_t lan = text.find("Lan=German");
  std::size_t appended = text.find("RestorePoint=0");
  std::size_t tail = text.find("[Tail]");
  EXPECT_LT(options, lan);
  EXPECT_LT(lan, appended) << "a missing key goes to the end of its section";
  EXPECT_LT(appended, tail);

  TOptionsSetting again;
  LoadSaveOptions(again, p, ini, true);
  EXPECT_FALSE(again.IsShowLine);
  EXPECT_EQ(again.Lan, "German");
}

TEST(SettingsOnWine, AnUnwritableFileRaisesUnableToWrite) {
  Win32Platform p;
  test::ScratchFolder folder;
  std::string ini = folder.File("options.ini");
  test::WriteFileText(ini, "[Options]\r\n");
  HANDLE held = CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TOptionsSetting options{true, true, true, "English"};
  try {
    LoadSaveOptions(options, p, ini, false);
    ADD_FAILURE() << "the write was not refused";
  } catch (const AppError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + ini);
  }
  CloseHandle(held);
}

}  // namespace
}  // namespace vh

namespace vh {
namespace {

TEST(LinksOnWine, APathThroughASymbolicLinkIsSeenAsLinked) {
  Win32Platform p;
  test::ScratchFolder folder;
  test::WriteFileBytes(folder.File("real.dat"), 10);
  EXPECT_FALSE(p.IsLinked(folder.File("real.dat")));
  EXPECT_FALSE(p.IsLinked(folder.File("absent.hvz")));
  CreateDirectoryA(folder.File("real").c_str(), nullptr);
  // Vista and later, hidden by the XP headers the program is built with.
  using CreateSymbolicLinkFn = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  auto createLink = reinterpret_cast<CreateSymbolicLinkFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
  constexpr DWORD kDirectoryLink = 1;  // SYMBOLIC_LINK_FLAG_DIRECTORY
  if (!createLink) GTEST_SKIP() << "no CreateSymbolicLinkA";
  if (!createLink(folder.File("link").c_str(), folder.File("real").c_str(), kDirectoryLink)) {
    GTEST_SKIP() << "this Wine cannot make symbolic links (error " << GetLastError() << ")";
  }
  if (GetFileAttributesA(folder.File("link").c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "this Wine makes symbolic links it cannot show";
  }
  EXPECT_TRUE(p.IsLinked(folder.File("link")));
  EXPECT_TRUE(p.IsLinked(folder.File("link\\NTUSER.DAT.hvz")));
  RemoveDirectoryA(folder.File("link").c_str());
}


// UTF-8 of a wide text, as the platform takes paths.
std::string Utf8(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(std::size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), int(wide.size()), &text[0], n, nullptr, nullptr);
  return text;
}

TEST(WidePathsOnWine, FilesAndProfilesUnderANameOutsideTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 1252u);
  Win32Platform p;
  test::ScratchFolder scratch;
  const std::wstring folder = std::wstring(scratch.path().begin(), scratch.path().end()) + L"\\\x7528\x6237";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::string file = Utf8(folder) + "\\hive";
  HANDLE h = CreateFileW((folder + L"\\hive").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, "12345", 5, &written, nullptr);
  CloseHandle(h);

  EXPECT_TRUE(p.Exists(file));
  EXPECT_EQ(p.EntrySize(file).value_or(-1), 5);
  EXPECT_TRUE(p.CanOpenExclusive(file));
  EXPECT_FALSE(p.IsLinked(file));
  EXPECT_FALSE(p.Exists(Utf8(folder)));
  EXPECT_TRUE(p.EntryExists(Utf8(folder)));

  // Profile values keep the file's code page: "Fran\xE7" is one byte in
  // the file and the same byte read back.
  const std::string ini = Utf8(folder) + "\\r.ini";
  EXPECT_TRUE(p.Write("Scan Result", "Lan", "Fran\xE7" "ais", ini));
  EXPECT_TRUE(p.Write("Other", "k", "v", ini));
  EXPECT_EQ(p.Read("Scan Result", "Lan", "", 2048, ini), "Fran\xE7" "ais");
  EXPECT_TRUE(p.HasSection("scan result", ini));
  EXPECT_TRUE(p.EraseSection("Scan Result", ini));
  EXPECT_FALSE(p.HasSection("Scan Result", ini));
  EXPECT_TRUE(p.HasSection("Other", ini));
  HANDLE r = CreateFileW((folder + L"\\r.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(r, INVALID_HANDLE_VALUE);
  char bytes[256] = {};
  DWORD read = 0;
  ReadFile(r, bytes, sizeof bytes - 1, &read, nullptr);
  CloseHandle(r);
  EXPECT_EQ(std::string(bytes, read).find("Lan"), std::string::npos);
  EXPECT_NE(std::string(bytes, read).find("k=v"), std::string::npos);

  EXPECT_TRUE(p.Write("Options", "Lan", "Fran\xE7" "ais", ini));
  r = CreateFileW((folder + L"\\r.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  read = 0;
  ReadFile(r, bytes, sizeof bytes - 1, &read, nullptr);
  CloseHandle(r);
  EXPECT_NE(std::string(bytes, read).find("Lan=Fran\xE7" "ais\r\n"), std::string::npos) << std::string(bytes, read);

  EXPECT_TRUE(p.Delete(file));
  EXPECT_FALSE(p.EntryExists(file));
  DeleteFileW((folder + L"\\r.ini").c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace vh
