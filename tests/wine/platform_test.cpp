// The hive routines and the settings store over the real Win32 API (Wine).
#include <gtest/gtest.h>

#include <map>

#include "hive/catalogue.h"
#include "hive/hive_copy.h"
#include "platform/error.h"
#include "platform/win32_platform_win.h"
#include "settings/options.h"
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
std::string DevicePath(Win32Platform& p, const std::string& path) {
  return p.DeviceName(path.substr(0, 2), 127) + path.substr(2);
}

TEST(CatalogueOnWine, MapsTheRealHiveListOverFixedDrivesCAndZ) {
  Win32Platform p;
  ASSERT_EQ(p.DeviceName("C:", 127), "\\Device\\HarddiskVolume1");
  ASSERT_EQ(p.DeviceName("Z:", 127), "\\Device\\HarddiskVolume2");
  test::ScratchFolder onC("C:\\");
  test::ScratchFolder onZ("Z:\\tmp");
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
  HiveCatalogue(p, p, p, IsWow64(p)).BuildHiveCatalogue(table);
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

TEST(CatalogueOnWine, The32BitProcessSeesWow64AndSysnative) {
  Win32Platform p;
  ASSERT_TRUE(IsWow64(p));
  char system[MAX_PATH];
  GetWindowsDirectoryA(system, MAX_PATH);
  std::string kernel = std::string(system) + "\\System32\\kernel32.dll";
  HiveCatalogue catalogue(p, p, p, true);
  EXPECT_EQ(catalogue.RedirectToSysnative(kernel), std::string(system) + "\\sysnative\\kernel32.dll");
  std::string none = std::string(system) + "\\system32\\no-such-file.dat";
  EXPECT_EQ(catalogue.RedirectToSysnative(none), none);
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
  EXPECT_FALSE(SaveHiveCopy(p, p, "\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest", target, true));
  EXPECT_FALSE(p.Exists(target)) << "the old copy must be gone even when the save is refused";

  EnableBackupPrivilege(p);
  ASSERT_TRUE(SaveHiveCopy(p, p, "\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest", target, true));
  std::string saved = test::ReadFileText(target);
  EXPECT_NE(saved.find("Payload"), std::string::npos);
  EXPECT_GT(QueryFileSize(p, target), 20000);
  ASSERT_TRUE(SaveHiveCopy(p, p, "\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest", target, true)) << "second run overwrites";

  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnholdTest", KEY_WOW64_64KEY, 0);
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

}  // namespace
}  // namespace vh
