// The recording platform keeps the machine-changing calls from Wine, and
// plays the swap on the files as Windows does.
#include <gtest/gtest.h>

#include "tests/support/recording_platform.h"
#include "platform/win32_platform_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/wine_env.h"

namespace vh {
namespace {

TEST(RecordingPlatformOnWine, RecordsSwapAndRestartAndRenamesAsWindowsWould) {
  Win32Platform real;
  test::TestRegistry registry;
  const test::TestHive& hive = registry.AddHive("Recorded", 100, 1000);
  const std::string subkey = hive.sid;
  std::string log = registry.folder().File("calls.log");
  RecordingPlatform recording(real.platform(), log);
  Platform& p = recording.platform();
  test::WriteFileText(hive.file + ".hvz", "the copy");

  EXPECT_EQ(p.registry.ReplaceKey(RootKey::Users, subkey, hive.file + ".hvz", hive.file + ".bak"), 0);
  // The live file is the backup now, the copy has the hive's name.
  EXPECT_EQ(test::ReadFileText(hive.file), "the copy");
  EXPECT_EQ(real.EntrySize(hive.file + ".bak"), std::optional<std::int64_t>(1000));
  EXPECT_FALSE(real.Exists(hive.file + ".hvz"));
  test::WriteFileText(hive.file + ".hvz", "a second copy");
  EXPECT_EQ(p.registry.ReplaceKey(RootKey::Users, subkey, hive.file + ".hvz", hive.file + ".bak2"),
            win::kErrorAccessDenied)
      << "a second swap before the restart";
  EXPECT_EQ(p.registry.ReplaceKey(RootKey::Users, "", hive.file + ".hvz", hive.file + ".x"), win::kErrorFileNotFound)
      << "not a listed hive";
  // Passed on, this would end every process of the prefix, this test too.
  EXPECT_TRUE(p.power.ExitSystem(6, 1));
  recording.restartAnswer = [](const std::string&) { return false; };
  EXPECT_FALSE(p.power.ExitSystem(6, 1));
  EXPECT_NE(p.power.InitiateRestart(1, false), 0);

  ASSERT_EQ(recording.records().size(), 6u);
  EXPECT_EQ(recording.records()[0], test::SwapRecord(hive, hive.file + ".hvz", hive.file + ".bak"));
  EXPECT_EQ(recording.records()[3], "ExitWindowsEx\t6\t1");
  EXPECT_EQ(recording.records()[5], "InitiateSystemShutdownExA\t1") << "not forced";
  std::string expected;
  for (const std::string& r : recording.records()) expected += r + "\n";
  EXPECT_EQ(test::ReadFileText(log), expected);
}

}  // namespace
}  // namespace vh
