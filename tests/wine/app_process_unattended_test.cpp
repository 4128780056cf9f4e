// The unattended modes of the real program, started as its own process the
// way scripts, scheduled tasks and deployment tools start it: /Scan, /Silent
// and /Undo with their exit codes, report, log and journal. The test build of
// the program records hive swaps and the restart instead of doing them.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/unattended.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "tests/wine/support/program_run_fixture.h"

namespace vh {
namespace {

// The fixture and helpers the program-run tests share.
using namespace test;

// The text after the first "from" up to the next "to".
std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  std::size_t start = text.find(from);
  if (start == std::string::npos) return "";
  start += from.size();
  return text.substr(start, text.find(to, start) - start);
}

int ProcessesNamed(const char* exe) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, exe) == 0) ++count;
  CloseHandle(snapshot);
  return count;
}

TEST_F(ProgramRunTest, ScanWritesTheMeasuredTotalsIntoAQuotedPathWithBlanks) {
  ASSERT_TRUE(test::EnableTestPrivilege("SeBackupPrivilege"));
  // Copies: AddHive returns into a vector that the next call may move.
  const test::TestHive alpha = registry_.AddHive("Alpha", 240000, 700000);
  const test::TestHive beta = registry_.AddHive("Beta", 90000, 333333);
  std::string reports = registry_.folder().File("My Reports");
  ASSERT_TRUE(CreateDirectoryA(reports.c_str(), nullptr));
  std::string report = reports + "\\r.ini";
  test::WriteFileText(report, "[Before]\r\nkept=1\r\n"
                              "[Scan Result]\r\nOld Key=stale\r\nCurrent Size=1 KB\r\n"
                              "[After]\r\nz=9\r\n");

  RunOutcome outcome = Run("/Scan \"" + report + "\"");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(outcome.visibleWindows), "");
  EXPECT_GT(outcome.screenshots, 0);
  EXPECT_EQ(outcome.mostPixelsChanged, 0u) << "something appeared on the screen";

  std::int64_t current = QueryFileSize(files_, alpha.file) + QueryFileSize(files_, beta.file);
  std::int64_t compacted = OwnCopySize(registry_.hives()[0]) + OwnCopySize(registry_.hives()[1]);
  ASSERT_GT(compacted, 0);
  ASSERT_LT(compacted, current);
  float ratio = float(double(current - compacted) * 100.0 / double(current));
  char separator[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);

  std::string text = test::ReadFileText(report);
  std::size_t from = text.find("[Scan Result]");
  ASSERT_NE(from, std::string::npos) << text;
  std::vector<std::string> section = Lines(text.substr(from, text.find('[', from + 1) - from));
  ASSERT_EQ(section.size(), 6u) << text;
  EXPECT_EQ(section[1], "Current Size=" + FormatSizeKB(current));
  EXPECT_EQ(section[2], "New Size=" + FormatSizeKB(compacted));
  EXPECT_EQ(section[3], "Size Reduction=" + FormatSizeKB(current - compacted));
  EXPECT_EQ(section[4], "Compact Percent=" + FormatCompactPercent(ratio, separator));
  SYSTEMTIME now;
  GetLocalTime(&now);
  char today[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, today, sizeof today);
  EXPECT_EQ(section[5].rfind(std::string("Time=") + today + " ", 0), 0u) << section[5];

  EXPECT_EQ(text.find("Old Key"), std::string::npos);
  EXPECT_NE(text.find("[Before]\r\nkept=1"), std::string::npos) << text;
  EXPECT_NE(text.find("[After]\r\nz=9"), std::string::npos) << text;
  // A scan never defragments and never restarts.
  EXPECT_EQ(Joined(Records()), "");
  EXPECT_FALSE(files_.Exists(CopyPath(alpha.file)));
  EXPECT_FALSE(files_.Exists(CopyPath(beta.file)));
}

TEST_F(ProgramRunTest, ScanWithoutAPathAnalysesAndWritesNoFile) {
  registry_.AddHive("Alpha", 60000, 200000);
  std::vector<std::string> before = FilesIn(registry_.folder().path());
  CreatedFiles created(registry_.folder().path());

  RunOutcome outcome = Run("/Scan");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(outcome.visibleWindows), "");
  EXPECT_EQ(outcome.mostPixelsChanged, 0u);
  EXPECT_EQ(Joined(created.Names()), "Alpha.hvz\n") << "the analysis wrote no copy";
  EXPECT_EQ(FilesIn(registry_.folder().path()), before);
  // Only the settings, saved at every close; no report, no log.
  EXPECT_EQ(Joined(FilesIn(home_.path())), Joined({"options.ini", kProgram}));
  char section[64] = {};
  EXPECT_EQ(GetPrivateProfileSectionA("Scan Result", section, sizeof section, "win.ini"), 0u);
  EXPECT_EQ(Joined(Records()), "");
}

TEST_F(ProgramRunTest, SilentInLowerCaseSchedulesEverySwapAndTheRestartAndIgnoresAnExtraArgument) {
  registry_.AddHive("Alpha", 60000, 200000);
  registry_.AddHive("Beta", 30000, 100000);

  RunOutcome outcome = Run("/silent extra");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(outcome.visibleWindows), "");
  EXPECT_EQ(outcome.mostPixelsChanged, 0u);
  std::vector<std::string> records = Records();
  ASSERT_EQ(records.size(), 3u) << Joined(records);
  std::vector<std::string> swaps(records.begin(), records.begin() + 2);
  std::sort(swaps.begin(), swaps.end());
  for (std::size_t i = 0; i < 2; ++i) {
    const test::TestHive& h = registry_.hives()[i];
    EXPECT_EQ(swaps[i], test::SwapRecord(h, h.file + ".hvz", h.file + ".bak"));
  }
  EXPECT_EQ(records[2], "ExitWindowsEx\t6\t2147614724");
  EXPECT_EQ(Log(), "");
  // The run is in the journal beside the program, each hive scheduled.
  std::string journal = test::ReadFileText(home_.File("varnhold-journal.txt"));
  EXPECT_EQ(journal.rfind("[Defragmentation]\r\nTime=", 0), 0u) << journal;
  // With the machine its undo would not put back: the build of Windows (the
  // test hives lie outside any config folder, so no store hive is named).
  EXPECT_NE(journal.find("\r\nRestore Point=not asked\r\nWindows="), std::string::npos) << journal;
  EXPECT_NE(journal.find("\r\nHives=2\r\n"), std::string::npos) << journal;
  EXPECT_EQ(journal.find("\r\nStore="), std::string::npos) << journal;
  // Swapped as Windows does: the live file went to the backup, the copy
  // took the hive's name.
  for (const test::TestHive& h : registry_.hives()) {
    EXPECT_NE(journal.find("Hive=scheduled|" + std::to_string(QueryFileSize(files_, BackupPath(h.file))) + "|" +
                           std::to_string(QueryFileSize(files_, h.file)) + "|"),
              std::string::npos)
        << journal;
    EXPECT_FALSE(files_.Exists(CopyPath(h.file)));
  }
  EXPECT_NE(journal.find("|" + registry_.hives()[0].file + "|" + registry_.hives()[0].name + "\r\n"),
            std::string::npos)
      << journal;
}

TEST_F(ProgramRunTest, SilentWhoseRestartIsRefusedOrAbortedEndsWithItsCodeAndASecondRunDoesNothing) {
  for (const char* answer : {"refuse", "abort"}) {
    registry_.AddHive(std::string("Gamma") + answer, 30000, 100000);
    DeleteFileA(home_.File("varnhold-journal.txt").c_str());
    test::ForgetWaitingSwaps();  // the restart of the run before
    SetEnvironmentVariableA("VARNHOLD_RESTART", answer);
    RunOutcome outcome = Run("/Silent");
    SetEnvironmentVariableA("VARNHOLD_RESTART", nullptr);
    EXPECT_EQ(outcome.exitCode, DWORD(kExitRestartNotStarted)) << answer;
    EXPECT_EQ(Joined(outcome.visibleWindows), "") << answer;
    EXPECT_NE(Log().find("Windows could not be restarted"), std::string::npos) << answer << Log();
    EXPECT_NE(test::ReadFileText(home_.File("varnhold-journal.txt")).find("[Restart Not Started]"), std::string::npos)
        << answer;

    // Its swaps wait: nothing is copied, swapped or restarted again, and
    // the log names the run found, when and where it ran.
    std::size_t recorded = Records().size();
    RunOutcome again = Run("/Silent");
    EXPECT_EQ(again.exitCode, DWORD(kExitSwapsPending)) << answer;
    EXPECT_EQ(Records().size(), recorded) << answer;
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    GetComputerNameA(computer, &size);
    const std::string stamp = Between(test::ReadFileText(home_.File("varnhold-journal.txt")), "Stamp=", "\r\n");
    EXPECT_NE(Log().find("Found: the run of "), std::string::npos) << Log();
    EXPECT_NE(Log().find(" (" + stamp + ") on " + computer + "."), std::string::npos) << Log();
    EXPECT_EQ(Run("/Scan").exitCode, DWORD(kExitSwapsPending)) << answer;
  }
}

// A journal entry as an earlier version wrote it (no identities, no record
// of the machine), for a run an hour ago: an undo is offered for 14 days.
std::string OldDefragmentation(const std::vector<std::pair<std::string, std::string>>& scheduled) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t hourAgo = ((std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime) - 3600ull * 10000000;
  std::string text = "[Defragmentation]\r\nTime=1/1/2001 1:00:00 AM\r\nStamp=" + std::to_string(hourAgo) +
                     "\r\nRestore Point=not asked\r\nHives=" + std::to_string(scheduled.size()) + "\r\n";
  for (const auto& hive : scheduled) text += "Hive=scheduled|8192|4096|" + hive.second + "|" + hive.first + "\r\n";
  return text + "\r\n";
}

TEST_F(ProgramRunTest, UndoSwapsEachBackupBackAndRestartsWithoutAWindow) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 30000, 100000);
  const test::TestHive beta = registry_.AddHive("Beta", 30000, 100000);
  ASSERT_TRUE(test::SaveTestKey(alpha, alpha.file + ".bak"));
  std::string journalPath = home_.File("varnhold-journal.txt");
  std::string journal = OldDefragmentation({{alpha.name, alpha.file}, {beta.name, beta.file},
                                            {"\\REGISTRY\\MACHINE\\SOFTWARE\\Elsewhere", "C:\\elsewhere"}});
  test::WriteFileText(journalPath, journal);

  RunOutcome outcome = Run("/Undo");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(outcome.visibleWindows), "");
  EXPECT_GT(outcome.screenshots, 0);
  EXPECT_EQ(outcome.mostPixelsChanged, 0u) << "something appeared on the screen";
  EXPECT_EQ(Joined(Records()),
            test::SwapRecord(alpha, alpha.file + ".bak", alpha.file + ".undo") + "\nExitWindowsEx\t6\t2147614724\n");
  std::string log = Log();
  EXPECT_NE(log.find("Not swapped back: " + beta.name + ": its backup is missing"), std::string::npos) << log;
  EXPECT_NE(log.find("Not swapped back: \\REGISTRY\\MACHINE\\SOFTWARE\\Elsewhere: the system does not list"),
            std::string::npos)
      << log;
  std::string after = test::ReadFileText(journalPath);
  ASSERT_EQ(after.rfind(journal, 0), 0u) << "the journal is only ever appended to";
  std::string undo = after.substr(journal.size());
  EXPECT_EQ(undo.rfind("[Undo]\r\nTime=", 0), 0u) << undo;
  // Recorded before the swap back, its outcome after it.
  EXPECT_NE(undo.find("\r\nHives=3\r\nHive=to swap|"), std::string::npos) << undo;
  EXPECT_NE(undo.find("[Swap Outcome]\r\n"), std::string::npos) << undo;
  EXPECT_NE(undo.find("\r\nHives=1\r\nHive=scheduled|"), std::string::npos) << undo;
  EXPECT_NE(undo.find("Hive=skipped: its backup is missing|"), std::string::npos) << undo;

  // The undo's swaps wait for the restart: a second run does nothing.
  RunOutcome again = Run("/undo");
  EXPECT_EQ(again.exitCode, DWORD(kExitSwapsPending));
  EXPECT_EQ(Records().size(), 2u) << Joined(Records());
}

TEST_F(ProgramRunTest, UndoWithNothingToUndoEndsWithItsCodeAndTouchesNothing) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 30000, 100000);
  RunOutcome none = Run("/Undo");
  EXPECT_EQ(none.exitCode, 8u);
  EXPECT_EQ(Joined(none.visibleWindows), "");
  EXPECT_NE(Log().find("Nothing to undo: the journal holds no defragmentation."), std::string::npos) << Log();

  // A backup is there, but the journal's last entry is cut short.
  test::WriteFileText(alpha.file + ".bak", "the old contents");
  std::string entry = OldDefragmentation({{alpha.name, alpha.file}});
  test::WriteFileText(home_.File("varnhold-journal.txt"), entry.substr(0, entry.size() - 8));
  RunOutcome damaged = Run("/Undo");
  EXPECT_EQ(damaged.exitCode, DWORD(kExitNothingToUndo));
  EXPECT_EQ(Joined(damaged.visibleWindows), "");
  EXPECT_EQ(Joined(Records()), "") << "no swap, no restart";
  EXPECT_NE(Log().find("the journal's last entry cannot be read"), std::string::npos) << Log();
}

// Nobody is there to press OK: the refusal of a held copy is a line in the
// log and the exit code, never a box that keeps the run for ever.
TEST_F(ProgramRunTest, SilentAfterTheRefusalOfAHeldCopySchedulesNothingFailsAndShowsNoBox) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 60000, 200000);
  registry_.AddHive("Beta", 30000, 100000);
  std::string held = CopyPath(alpha.file);
  test::WriteFileBytes(held, 4096);
  HANDLE copy = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(copy, INVALID_HANDLE_VALUE);
  std::vector<std::string> boxTexts;

  RunOutcome outcome = Run("/Silent", [&] {
    for (HWND box : MessageBoxesOf(pid_)) {
      boxTexts.push_back(MessageBoxText(box));
      test::PressButton(box, IDOK);
    }
  });
  CloseHandle(copy);

  EXPECT_EQ(Joined(boxTexts), "");
  EXPECT_EQ(Joined(outcome.visibleWindows), "");
  EXPECT_EQ(outcome.exitCode, DWORD(kExitAnalysisIncomplete));
  EXPECT_EQ(Joined(Records()), "") << "a swap or restart after an incomplete analysis";
  EXPECT_NE(Log().find("The copy " + held + " is held open by another program"), std::string::npos) << Log();
  EXPECT_NE(Log().find("no hive was scheduled"), std::string::npos) << Log();
}

TEST_F(ProgramRunTest, ScanLeavesAHiveWithoutItsKeyOutOfTheTotalsAndCountsIt) {
  ASSERT_TRUE(test::EnableTestPrivilege("SeBackupPrivilege"));
  const test::TestHive alpha = registry_.AddHive("Alpha", 90000, 333333);
  const test::TestHive gone = registry_.AddHive("Gone", 10000, 700000);
  test::DeleteTestKey(gone);
  std::string report = registry_.folder().File("r.ini");

  RunOutcome outcome = Run("/Scan \"" + report + "\"");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  std::int64_t current = QueryFileSize(files_, alpha.file);
  std::int64_t compacted = OwnCopySize(alpha);
  std::string text = test::ReadFileText(report);
  std::vector<std::string> section = Lines(text.substr(0, text.find("[Scan Hives]")));
  ASSERT_EQ(section.size(), 7u) << Joined(section);
  EXPECT_EQ(section[1], "Current Size=" + FormatSizeKB(current)) << "the missing hive's 700,000 bytes are left out";
  EXPECT_EQ(section[2], "New Size=" + FormatSizeKB(compacted));
  EXPECT_EQ(section[3], "Size Reduction=" + FormatSizeKB(current - compacted));
  EXPECT_EQ(section[5].rfind("Time=", 0), 0u);
  EXPECT_EQ(section[6], "Hives Not Copied=1");
  EXPECT_FALSE(files_.Exists(CopyPath(gone.file)));

  // Each hive with its own sizes in bytes; the one without a copy has none.
  char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD computerSize = sizeof computer;
  ASSERT_TRUE(GetComputerNameA(computer, &computerSize));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion =
      reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  ASSERT_TRUE(rtlGetVersion && rtlGetVersion(&version) == 0);
  std::vector<std::string> hives = Lines(text.substr(text.find("[Scan Hives]")));
  // Wine's System log holds no reorganisation of a hive: no Reorganized key.
  ASSERT_EQ(hives.size(), 6u) << text;
  EXPECT_EQ(hives[1], std::string("Computer=") + computer);
  EXPECT_EQ(hives[2], "Windows=" + std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
                          "." + std::to_string(version.dwBuildNumber));
  EXPECT_EQ(hives[3], "Hives=2");
  std::vector<std::string> expected{alpha.name + "|" + std::to_string(current) + "|" + std::to_string(compacted),
                                    gone.name + "|" + std::to_string(QueryFileSize(files_, gone.file)) + "|"};
  std::vector<std::string> written{hives[4], hives[5]};
  for (std::size_t i = 0; i < written.size(); ++i) {
    std::string key = "Hive" + std::to_string(i + 1) + "=";
    ASSERT_EQ(written[i].rfind(key, 0), 0u) << written[i];
    written[i] = written[i].substr(key.size());
  }
  std::sort(written.begin(), written.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(written, expected);
}

TEST_F(ProgramRunTest, SilentBelowItsMinimumGainSchedulesNothingAndEndsWithItsCode) {
  registry_.AddHive("Alpha", 60000, 200000);

  RunOutcome outcome = Run("/Silent /MinGain:100", {}, 30000);

  EXPECT_EQ(outcome.exitCode, DWORD(kExitBelowMinGain));
  EXPECT_EQ(outcome.exitCode, 13u);
  EXPECT_EQ(Joined(Records()), "") << "nothing scheduled, no restart";
  EXPECT_NE(Log().find("is below the minimum gain 100%; no hive was scheduled"), std::string::npos) << Log();
}

TEST_F(ProgramRunTest, SilentWithNoCopyThatPassesItsCheckSchedulesNothingRestartsNothingAndFails) {
  // Wine has no query of a key's flags, and an empty volatile key saved on
  // its own looks like any empty key: the copies leave it out, and it cannot
  // be told apart from a lost one, so no copy passes.
  for (const char* key : {"Alpha", "Beta"}) {
    const test::TestHive h = registry_.AddHive(key, 30000, 100000);
    HKEY volatileKey = nullptr;
    std::string path = h.sid + "\\Session";
    ASSERT_EQ(RegCreateKeyExA(HKEY_USERS, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &volatileKey, nullptr),
              0);
    RegCloseKey(volatileKey);
    test::WriteFileText(h.file + ".bak", "kept");
  }

  RunOutcome outcome = Run("/Silent");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitNothingScheduled));
  EXPECT_EQ(outcome.exitCode, 4u);
  EXPECT_EQ(Joined(outcome.visibleWindows), "");
  EXPECT_EQ(Joined(Records()), "") << "nothing scheduled, no restart";
  std::string log = Log();
  EXPECT_NE(log.find("Not scheduled: " + registry_.hives()[0].name + ": the copy does not match the "
                     "registry: key Session is missing from the copy"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("No hive was scheduled for replacement; the computer was not restarted."), std::string::npos);
  for (const test::TestHive& h : registry_.hives()) {
    EXPECT_EQ(test::ReadFileText(h.file + ".bak"), "kept");
    EXPECT_FALSE(files_.Exists(CopyPath(h.file))) << "a copy that failed its check is deleted";
  }
}

TEST_F(ProgramRunTest, AReportThatCannotBeWrittenEndsTheProgramWithItsOwnCode) {
  registry_.AddHive("Alpha", 60000, 200000);
  std::string inMissingFolder = registry_.folder().File("No Such Folder") + "\\r.ini";
  std::string held = registry_.folder().File("held.ini");
  test::WriteFileText(held, "[Scan Result]\r\nOld Key=stale\r\n");
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  for (const std::string& report : {inMissingFolder, held}) {
    RunOutcome outcome = Run("/Scan \"" + report + "\"");

    EXPECT_EQ(outcome.exitCode, DWORD(kExitReportNotWritten)) << report;
    EXPECT_EQ(Joined(outcome.visibleWindows), "");
    EXPECT_EQ(outcome.mostPixelsChanged, 0u);
    EXPECT_EQ(ProcessesNamed(kProgram), 0);
    EXPECT_EQ(FindWindowA(kMainClass, nullptr), nullptr);
    EXPECT_NE(Log().find("Unable to write to " + report + "\r\n"), std::string::npos) << Log();
  }
  CloseHandle(holder);
  EXPECT_EQ(test::ReadFileText(held), "[Scan Result]\r\nOld Key=stale\r\n");
  EXPECT_EQ(Joined(Records()), "");
}

}  // namespace
}  // namespace vh
