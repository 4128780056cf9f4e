// The recording platform keeps the machine-changing calls from Wine.
#include <gtest/gtest.h>

#include "platform/recording_platform.h"
#include "platform/win32_platform_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/wine_env.h"

namespace vh {
namespace {

TEST(RecordingPlatformOnWine, RecordsSwapAndRestartPlayingTheSwapOnTheFilesOnly) {
  Win32Platform real;
  test::TestRegistry registry;
  const test::TestHive hive = registry.AddHive("Alpha", 0, 300);
  const std::string key = hive.name.substr(std::string("\\REGISTRY\\MACHINE\\").size());
  const std::string copy = hive.file + ".hvz", backup = hive.file + ".bak";
  test::WriteFileBytes(copy, 100);
  std::string log = registry.folder().File("calls.log");
  RecordingPlatform recording(real.platform(), log);
  Platform& p = recording.platform();

  EXPECT_EQ(p.registry.ReplaceKey(RootKey::LocalMachine, key, copy, backup), 0);
  EXPECT_NE(p.registry.ReplaceKey(RootKey::LocalMachine, key, copy, backup), 0) << "one swap a hive until the restart";
  EXPECT_NE(p.registry.ReplaceKey(RootKey::Users, "", registry.folder().File("none.hvz"),
                                  registry.folder().File("none.bak")),
            0);
  // Passed on, this would end every process of the prefix, this test too.
  EXPECT_TRUE(p.power.ExitSystem(6, 1));

  ASSERT_EQ(recording.records().size(), 4u);
  EXPECT_EQ(recording.records()[0], "RegReplaceKeyA\tHKEY_LOCAL_MACHINE\t" + key + "\t" + copy + "\t" + backup);
  EXPECT_EQ(recording.records()[3], "ExitWindowsEx\t6\t1");
  std::string written;
  for (const std::string& line : recording.records()) written += line + "\n";
  EXPECT_EQ(test::ReadFileText(log), written);
  // As Windows swaps: the hive's file goes to the backup name, the copy
  // takes the hive's; reads go to the real system.
  EXPECT_EQ(p.files.EntrySize(backup).value_or(-1), 300);
  EXPECT_EQ(p.files.EntrySize(hive.file).value_or(-1), 100);
  EXPECT_FALSE(p.files.Exists(copy));
}

}  // namespace
}  // namespace vh
