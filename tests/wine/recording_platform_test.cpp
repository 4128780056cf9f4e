// The recording platform keeps the machine-changing calls from Wine.
#include <gtest/gtest.h>

#include "platform/recording_platform.h"
#include "platform/win32_platform_win.h"
#include "tests/wine/support/wine_env.h"

namespace vh {
namespace {

TEST(RecordingPlatformOnWine, RecordsSwapAndRestartWithoutPassingThemOn) {
  Win32Platform real;
  test::ScratchFolder folder;
  std::string log = folder.File("calls.log");
  RecordingPlatform recording(real.platform(), log);
  Platform& p = recording.platform();
  test::WriteFileBytes(folder.File("SYSTEM.hvz"), 100);

  EXPECT_EQ(p.registry.ReplaceKey(RootKey::LocalMachine, "SYSTEM", folder.File("SYSTEM.hvz"), folder.File("SYSTEM.bak")), 0);
  EXPECT_NE(p.registry.ReplaceKey(RootKey::Users, "", folder.File("none.hvz"), folder.File("none.bak")), 0);
  // Passed on, this would end every process of the prefix, this test too.
  EXPECT_TRUE(p.power.ExitSystem(6, 1));

  ASSERT_EQ(recording.records().size(), 3u);
  EXPECT_EQ(recording.records()[0], "RegReplaceKeyA\tHKEY_LOCAL_MACHINE\tSYSTEM\t" + folder.File("SYSTEM.hvz") + "\t" +
                                        folder.File("SYSTEM.bak"));
  EXPECT_EQ(recording.records()[2], "ExitWindowsEx\t6\t1");
  EXPECT_EQ(test::ReadFileText(log), recording.records()[0] + "\n" + recording.records()[1] + "\n" +
                                         recording.records()[2] + "\n");
  EXPECT_FALSE(real.Exists(folder.File("SYSTEM.bak")));
  // Reads go to the real system.
  EXPECT_TRUE(p.files.Exists(folder.File("SYSTEM.hvz")));
}

}  // namespace
}  // namespace vh
