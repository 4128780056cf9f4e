// Entry point of varnhold.exe.
#include <windows.h>

#include <cstdio>
#include <string>

#include "hive/catalogue.h"
#include "hive/hive_copy.h"
#include "app/app_platform_win.h"
#include "settings/options.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vh::Platform& platform = vh::AppPlatform();
  vh::LoadSaveOptions(vh::OptionsSetting, platform.profiles, vh::OptionsFilePath(platform.files), true);
  bool wow64 = vh::IsWow64(platform.system);
  vh::HiveTable table;
  vh::HiveCatalogue(platform.registry, platform.volumes, platform.files, wow64).BuildHiveCatalogue(table);
  vh::EnableBackupPrivilege(platform.privileges);
  for (std::size_t i = 0; i < table.size(); ++i) {
    vh::SaveHiveCopy(platform.registry, platform.files, table.HiveNames[i], vh::CopyPath(table.HiveFiles[i]), wow64);
    std::printf("%-40s %12lld %12lld\n", table.HiveNames[i].c_str(),
                static_cast<long long>(vh::QueryFileSize(platform.files, table.HiveFiles[i])),
                static_cast<long long>(vh::QueryFileSize(platform.files, vh::CopyPath(table.HiveFiles[i]))));
  }
  return 0;
}
