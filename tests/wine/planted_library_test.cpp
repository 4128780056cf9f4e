// The restore client is loaded from the system folder only: a library of its
// name beside the elevated program (SrClient.dll is built next to this test)
// is never loaded.
#include <gtest/gtest.h>

#include "platform/win32_platform_win.h"
#include "restore/restore_point.h"
#include "tests/wine/support/wine_env.h"

namespace vh {
namespace {

std::string Mark() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "varnhold-planted-loaded";
}

TEST(PlantedLibrary, TheRestoreClientComesFromTheSystemFolderOnly) {
  DeleteFileA(Mark().c_str());
  Win32Platform platform;
  platform.SetRestorePoint(MakeRestorePointRequest());
  EXPECT_EQ(GetFileAttributesA(Mark().c_str()), INVALID_FILE_ATTRIBUTES) << "the planted library was loaded";

  // The trap is real: a plain load by name takes the planted one.
  HMODULE plain = LoadLibraryA("SrClient.dll");
  ASSERT_NE(plain, nullptr);
  EXPECT_NE(GetFileAttributesA(Mark().c_str()), INVALID_FILE_ATTRIBUTES);
  FreeLibrary(plain);
  DeleteFileA(Mark().c_str());
}

}  // namespace
}  // namespace vh
