// The real program started as its own process, the way scripts, scheduled
// tasks and deployment tools start it: the unattended modes with their exit
// codes and report, and the single-instance rule. The test build of the
// program records hive swaps and the restart instead of doing them.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/unattended.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "platform/win32_platform_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/wine_env.h"
#include "tests/wine/support/program_win.h"
#include "tests/wine/support/wait_win.h"

namespace vh {
namespace {

using test::BuiltProgram;
using test::Lines;
using test::ClassOf;
using test::CaptionOf;
using test::kMainClass;
using test::MessageBoxesOf;
using test::MessageBoxText;
using test::ProgramProcess;
using test::SeenWindow;
using test::VisibleWindowsOf;
using test::Widen;
using test::WineVersionFor;

const char kProgram[] = "varnhold_recorded.exe";
const char kRefusal[] = "Can not analyze the registry now! Please try again later.";
constexpr int kRunTimeoutMs = 60000;
// A start of the program under a loaded Wine may take seconds.
constexpr int kStartDeadlineMs = 20000;

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
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

// The whole screen as 32-bit pixels: what a user would see.
std::vector<std::uint32_t> CaptureScreen() {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  auto* first = static_cast<std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + std::size_t(width) * std::size_t(height));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::size_t PixelsChanged(const std::vector<std::uint32_t>& before, const std::vector<std::uint32_t>& now) {
  std::size_t changed = 0;
  for (std::size_t i = 0; i < before.size() && i < now.size(); ++i)
    changed += (before[i] & 0xFFFFFF) != (now[i] & 0xFFFFFF);
  return changed;
}

// What a run of the program showed and ended with.
struct RunOutcome {
  bool ended = false;
  DWORD exitCode = STILL_ACTIVE;
  std::vector<std::string> visibleWindows;  // "class 'caption'", each once
  std::size_t mostPixelsChanged = 0;
  int screenshots = 0;
};

// Keeps each window once, in the order first seen.
void Note(RunOutcome& outcome, const std::string& window) {
  auto& seen = outcome.visibleWindows;
  if (std::find(seen.begin(), seen.end(), window) == seen.end()) seen.push_back(window);
}

// Polls every few milliseconds until the program ends: notes every visible
// window it has, compares the screen with how it looked before the start
// when asked to, and gives each poll to onPoll.
RunOutcome WaitForEnd(const ProgramProcess& program, const std::function<void()>& onPoll = {},
                      const std::vector<std::uint32_t>* screenBefore = nullptr, int timeoutMs = kRunTimeoutMs) {
  RunOutcome outcome;
  DWORD start = GetTickCount(), lastShot = 0;
  while (!program.EndsWithin(2)) {
    for (const SeenWindow& w : VisibleWindowsOf(program.id())) Note(outcome, w.className + " '" + w.caption + "'");
    if (onPoll) onPoll();
    DWORD now = GetTickCount();
    if (screenBefore && now - lastShot >= 25) {
      lastShot = now;
      ++outcome.screenshots;
      outcome.mostPixelsChanged = std::max(outcome.mostPixelsChanged, PixelsChanged(*screenBefore, CaptureScreen()));
    }
    if (int(now - start) > timeoutMs) return outcome;
  }
  outcome.ended = true;
  outcome.exitCode = program.ExitCode();
  return outcome;
}

// The program copied into a scratch folder, so that its options.ini and
// varnhold.log land there and go with it; hives listed in the prefix's
// hivelist; swaps and the restart recorded in a file of the folder.
class ProgramRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A window of an earlier run would turn every start into a wake-up.
    ASSERT_EQ(FindWindowA(kMainClass, nullptr), nullptr) << "a Varnhold main window is already open";
    ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE)) << "cannot copy " << BuiltProgram();
    SetEnvironmentVariableA("VARNHOLD_RECORD", records_.c_str());
  }
  void TearDown() override { SetEnvironmentVariableA("VARNHOLD_RECORD", nullptr); }

  RunOutcome Run(const std::string& arguments, const std::function<void()>& onPoll = {},
                 int timeoutMs = kRunTimeoutMs) {
    std::vector<std::uint32_t> screen = CaptureScreen();
    ProgramProcess program(exe_, arguments, home_.path());
    EXPECT_TRUE(program.started()) << "CreateProcessA failed: " << GetLastError();
    if (!program.started()) return {};
    pid_ = program.id();
    RunOutcome outcome = WaitForEnd(program, onPoll, &screen, timeoutMs);
    EXPECT_TRUE(outcome.ended) << kProgram << " " << arguments << " still ran after " << timeoutMs << " ms";
    return outcome;
  }

  std::vector<std::string> Records() const { return Lines(test::ReadFileText(records_)); }
  std::string Log() const { return test::ReadFileText(home_.File("varnhold.log")); }

  // The sizes of the copies the program writes, measured on copies the
  // test writes itself from the same keys (the program deletes its own
  // when it closes).
  std::int64_t OwnCopySize(const std::string& key) {
    std::string file = registry_.folder().File(key + ".own");
    DeleteFileA(file.c_str());
    HKEY k = nullptr;
    std::string path = "SOFTWARE\\VarnholdTest\\" + key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &k), 0);
    EXPECT_EQ(RegSaveKeyA(k, file.c_str(), nullptr), 0);
    RegCloseKey(k);
    return QueryFileSize(files_, file);
  }

  test::ScratchFolder home_;
  std::string exe_ = home_.File(kProgram);
  std::string records_ = home_.File("records.txt");
  test::TestRegistry registry_;
  Win32Platform real_;
  Files& files_ = real_.platform().files;
  DWORD pid_ = 0;
};

std::string Joined(const std::vector<std::string>& items) {
  std::string all;
  for (const std::string& s : items) all += s + "\n";
  return all;
}

// The names of the files created in a folder while it is watched. The
// program deletes its copies when it closes, and a run can be over before
// any poll sees them; the folder's change queue keeps every creation.
class CreatedFiles {
 public:
  explicit CreatedFiles(const std::string& folder)
      : folder_(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)) {
    overlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Listen();
  }
  ~CreatedFiles() {
    CancelIo(folder_);
    CloseHandle(folder_);
    CloseHandle(overlapped_.hEvent);
  }
  // Everything reported until no change comes for quietMs.
  std::vector<std::string> Names(int quietMs = 300) {
    std::vector<std::string> names;
    DWORD bytes = 0;
    while (WaitForSingleObject(overlapped_.hEvent, DWORD(quietMs)) == WAIT_OBJECT_0 &&
           GetOverlappedResult(folder_, &overlapped_, &bytes, FALSE) && bytes > 0) {
      for (auto* at = buffer_; ; at += reinterpret_cast<FILE_NOTIFY_INFORMATION*>(at)->NextEntryOffset) {
        auto* entry = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(at);
        if (entry->Action == FILE_ACTION_ADDED) names.push_back(Narrow(entry->FileName, entry->FileNameLength));
        if (entry->NextEntryOffset == 0) break;
      }
      Listen();
    }
    return names;
  }

 private:
  void Listen() {
    ResetEvent(overlapped_.hEvent);
    ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &overlapped_,
                          nullptr);
  }
  static std::string Narrow(const WCHAR* name, DWORD bytes) {
    char text[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, name, int(bytes / sizeof(WCHAR)), text, sizeof text - 1, nullptr, nullptr);
    return text;
  }

  HANDLE folder_;
  OVERLAPPED overlapped_{};
  alignas(DWORD) char buffer_[16384];
};

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
  std::int64_t compacted = OwnCopySize("Alpha") + OwnCopySize("Beta");
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
    std::string key = h.name.substr(std::string("\\REGISTRY\\MACHINE\\").size());
    EXPECT_EQ(swaps[i], "RegReplaceKeyA\tHKEY_LOCAL_MACHINE\t" + key + "\t" + h.file + ".hvz\t" + h.file + ".bak");
  }
  EXPECT_EQ(records[2], "ExitWindowsEx\t6\t1");
  EXPECT_EQ(Log(), "");
  // The run is in the journal beside the program, each hive scheduled.
  std::string journal = test::ReadFileText(home_.File("varnhold-journal.txt"));
  EXPECT_EQ(journal.rfind("[Defragmentation]\r\nTime=", 0), 0u) << journal;
  EXPECT_NE(journal.find("\r\nRestore Point=not asked\r\nHives=2\r\n"), std::string::npos) << journal;
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
    SetEnvironmentVariableA("VARNHOLD_RESTART", answer);
    RunOutcome outcome = Run("/Silent");
    SetEnvironmentVariableA("VARNHOLD_RESTART", nullptr);
    EXPECT_EQ(outcome.exitCode, DWORD(kExitRestartNotStarted)) << answer;
    EXPECT_EQ(Joined(outcome.visibleWindows), "") << answer;
    EXPECT_NE(Log().find("Windows could not be restarted"), std::string::npos) << answer << Log();
    EXPECT_NE(test::ReadFileText(home_.File("varnhold-journal.txt")).find("[Restart Not Started]"), std::string::npos)
        << answer;

    // Its swaps wait: nothing is copied, swapped or restarted again.
    std::size_t recorded = Records().size();
    RunOutcome again = Run("/Silent");
    EXPECT_EQ(again.exitCode, DWORD(kExitSwapsPending)) << answer;
    EXPECT_EQ(Records().size(), recorded) << answer;
    EXPECT_EQ(Run("/Scan").exitCode, DWORD(kExitSwapsPending)) << answer;
  }
}

// A journal entry as the program writes it, for a run long before this
// system started.
std::string OldDefragmentation(const std::vector<std::pair<std::string, std::string>>& scheduled) {
  std::string text = "[Defragmentation]\r\nTime=1/1/2001 1:00:00 AM\r\nStamp=126227268000000000\r\n"
                     "Restore Point=not asked\r\nHives=" + std::to_string(scheduled.size()) + "\r\n";
  for (const auto& hive : scheduled) text += "Hive=scheduled|8192|4096|" + hive.second + "|" + hive.first + "\r\n";
  return text + "\r\n";
}

TEST_F(ProgramRunTest, UndoSwapsEachBackupBackAndRestartsWithoutAWindow) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 30000, 100000);
  const test::TestHive beta = registry_.AddHive("Beta", 30000, 100000);
  test::WriteFileText(alpha.file + ".bak", "the old contents");
  std::string journalPath = home_.File("varnhold-journal.txt");
  std::string journal = OldDefragmentation({{alpha.name, alpha.file}, {beta.name, beta.file},
                                            {"\\REGISTRY\\MACHINE\\SOFTWARE\\Elsewhere", "C:\\elsewhere"}});
  test::WriteFileText(journalPath, journal);

  RunOutcome outcome = Run("/Undo");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(outcome.visibleWindows), "");
  EXPECT_GT(outcome.screenshots, 0);
  EXPECT_EQ(outcome.mostPixelsChanged, 0u) << "something appeared on the screen";
  std::string key = alpha.name.substr(std::string("\\REGISTRY\\MACHINE\\").size());
  EXPECT_EQ(Joined(Records()), "RegReplaceKeyA\tHKEY_LOCAL_MACHINE\t" + key + "\t" + alpha.file + ".bak\t" +
                                   alpha.file + ".undo\nExitWindowsEx\t6\t1\n");
  std::string log = Log();
  EXPECT_NE(log.find("Not swapped back: " + beta.name + ": its backup is missing"), std::string::npos) << log;
  EXPECT_NE(log.find("Not swapped back: \\REGISTRY\\MACHINE\\SOFTWARE\\Elsewhere: the system does not list"),
            std::string::npos)
      << log;
  std::string after = test::ReadFileText(journalPath);
  ASSERT_EQ(after.rfind(journal, 0), 0u) << "the journal is only ever appended to";
  std::string undo = after.substr(journal.size());
  EXPECT_EQ(undo.rfind("[Undo]\r\nTime=", 0), 0u) << undo;
  EXPECT_NE(undo.find("\r\nHives=3\r\nHive=scheduled|"), std::string::npos) << undo;
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

TEST_F(ProgramRunTest, SilentAfterTheRefusalOfAHeldCopySchedulesNothingAndFails) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 60000, 200000);
  registry_.AddHive("Beta", 30000, 100000);
  std::string held = CopyPath(alpha.file);
  test::WriteFileBytes(held, 4096);
  HANDLE copy = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(copy, INVALID_HANDLE_VALUE);
  std::vector<std::string> boxTexts;

  RunOutcome outcome = Run("/Silent", [&] {
    for (HWND box : MessageBoxesOf(pid_)) {
      std::string text = MessageBoxText(box);
      if (text.empty()) continue;  // not filled in yet
      if (boxTexts.empty() || boxTexts.back() != text) boxTexts.push_back(text);
      test::PressButton(box, IDOK);
    }
  });
  CloseHandle(copy);

  ASSERT_EQ(boxTexts.size(), 1u) << Joined(boxTexts);
  EXPECT_EQ(boxTexts[0], kRefusal);
  for (const std::string& w : outcome.visibleWindows) EXPECT_EQ(w, "#32770 'Varnhold'");
  EXPECT_EQ(outcome.exitCode, DWORD(kExitAnalysisIncomplete));
  EXPECT_EQ(Joined(Records()), "") << "a swap or restart after an incomplete analysis";
  EXPECT_NE(Log().find("no hive was scheduled"), std::string::npos) << Log();
}

TEST_F(ProgramRunTest, ScanLeavesAHiveWithoutItsKeyOutOfTheTotalsAndCountsIt) {
  ASSERT_TRUE(test::EnableTestPrivilege("SeBackupPrivilege"));
  const test::TestHive alpha = registry_.AddHive("Alpha", 90000, 333333);
  const test::TestHive gone = registry_.AddHive("Gone", 10000, 700000);
  HKEY parent = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VarnholdTest", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &parent),
            0);
  ASSERT_EQ(SHDeleteKeyA(parent, "Gone"), 0);
  RegCloseKey(parent);
  std::string report = registry_.folder().File("r.ini");

  RunOutcome outcome = Run("/Scan \"" + report + "\"");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  std::int64_t current = QueryFileSize(files_, alpha.file);
  std::int64_t compacted = OwnCopySize("Alpha");
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
    std::string path = std::string("SOFTWARE\\VarnholdTest\\") + key + "\\Session";
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &volatileKey, nullptr),
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
  EXPECT_NE(log.find("Not scheduled: \\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest\\Alpha: the copy does not match the "
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

TEST_F(ProgramRunTest, ASecondStartWakesTheFirstAndEnds) {
  std::vector<std::uint32_t> screen = CaptureScreen();
  ProgramProcess first(exe_, "", home_.path());
  ASSERT_TRUE(first.started());
  HWND main = nullptr;
  auto shown = [&] { return (main = FindWindowA(kMainClass, nullptr)) && IsWindowVisible(main); };
  ASSERT_TRUE(test::WaitUntil(shown, kStartDeadlineMs))
      << "the first start shows no main window";
  // The screen comparison of the unattended runs sees a shown window.
  EXPECT_TRUE(test::WaitUntil([&] { return PixelsChanged(screen, CaptureScreen()) > 10000; }, kStartDeadlineMs));
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(test::WaitUntil([&] { return IsIconic(main) != 0; }, kStartDeadlineMs));

  ProgramProcess second(exe_, "", home_.path());
  ASSERT_TRUE(second.started());
  RunOutcome woke = WaitForEnd(second, {}, nullptr, 20000);
  EXPECT_TRUE(woke.ended);
  EXPECT_EQ(woke.exitCode, 0u);
  EXPECT_EQ(Joined(woke.visibleWindows), "") << "the second start showed a window";

  auto woken = [&] { return IsWindowVisible(main) && !IsIconic(main) && GetForegroundWindow() == main; };
  EXPECT_TRUE(test::WaitUntil(woken, kStartDeadlineMs))
      << "visible " << IsWindowVisible(main) << ", iconic " << IsIconic(main) << ", foreground "
      << (GetForegroundWindow() == main);
  EXPECT_EQ(FindWindowA(kMainClass, nullptr), main);

  PostMessageA(main, WM_CLOSE, 0, 0);
  RunOutcome closed = WaitForEnd(first, {}, nullptr, 20000);
  EXPECT_TRUE(closed.ended) << "the first instance did not end after WM_CLOSE";
  EXPECT_EQ(closed.exitCode, 0u);
}


// ---- Faults of closing, the single instance and unattended refusals ------

// Answers every box of the program with OK, keeping each box's text once per
// box (a box is known by its window).
class BoxAnswerer {
 public:
  explicit BoxAnswerer(const DWORD& pid) : pid_(pid) {}
  void operator()() {
    for (HWND box : MessageBoxesOf(pid_)) {
      std::string text = MessageBoxText(box);
      if (text.empty()) continue;  // not filled in yet
      if (std::find(seen_.begin(), seen_.end(), box) == seen_.end()) {
        seen_.push_back(box);
        texts.push_back(text);
      }
      test::PressButton(box, IDOK);
    }
  }
  std::vector<std::string> texts;

 private:
  const DWORD& pid_;
  std::vector<HWND> seen_;
};

// A file held open without sharing, as another program would hold it.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr)) {}
  ~HeldFile() { Release(); }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

// hivelist values the test adds beside the fixture's, removed afterwards.
class ExtraHiveListValues {
 public:
  ExtraHiveListValues() {
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\hivelist", 0, KEY_ALL_ACCESS, &key_);
  }
  ~ExtraHiveListValues() {
    for (const std::wstring& name : names_) RegDeleteValueW(key_, name.c_str());
    RegCloseKey(key_);
  }
  void Add(const std::wstring& name, const std::wstring& data) {
    RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   DWORD((data.size() + 1) * sizeof(wchar_t)));
    names_.push_back(name);
  }
  void Add(const std::string& name, const std::string& data) { Add(Widen(name), Widen(data)); }

 private:
  HKEY key_ = nullptr;
  std::vector<std::wstring> names_;
};

std::vector<std::string> ReportSection(const std::string& text) {
  std::size_t from = text.find("[Scan Result]");
  if (from == std::string::npos) return {};
  return Lines(text.substr(from, text.find('[', from + 1) - from));
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST_F(ProgramRunTest, AnUnwritableSettingsFileIsLoggedAndTheUnattendedRunStillEndsWithItsCode) {
  registry_.AddHive("Alpha", 60000, 200000);
  const std::string options = home_.File("options.ini");
  const std::string report = registry_.folder().File("r.ini");
  // Held open by another program. (A read-only file would do on Windows;
  // the tests run as root, whom Wine lets write it.)
  HeldFile held(options);
  ASSERT_TRUE(held.held());

  BoxAnswerer boxes(pid_);
  RunOutcome scan = Run("/Scan \"" + report + "\"", std::ref(boxes), 20000);
  EXPECT_EQ(Joined(boxes.texts), "");
  EXPECT_EQ(scan.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(scan.visibleWindows), "");
  EXPECT_EQ(ReportSection(test::ReadFileText(report)).size(), 6u) << test::ReadFileText(report);
  EXPECT_EQ(Count(Log(), "Unable to write to " + options + "\r\n"), 1u) << Log();

  RunOutcome silent = Run("/Silent", std::ref(boxes), 20000);
  EXPECT_EQ(Joined(boxes.texts), "");
  EXPECT_EQ(silent.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(silent.visibleWindows), "");
  EXPECT_EQ(Records().size(), 2u) << Joined(Records());
  EXPECT_EQ(Count(Log(), "Unable to write to " + options + "\r\n"), 2u) << Log();
}

HWND VisibleMainWindow() {
  HWND main = FindWindowA(kMainClass, nullptr);
  return main && IsWindowVisible(main) ? main : nullptr;
}

TEST_F(ProgramRunTest, ClosingTheWindowWithAnUnwritableSettingsFileShowsOneBoxAndCloses) {
  ProgramProcess program(exe_, "", home_.path());
  ASSERT_TRUE(program.started());
  HWND main = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, kStartDeadlineMs));
  const std::string options = home_.File("options.ini");
  HeldFile held(options);
  ASSERT_TRUE(held.held());

  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD pid = program.id();
  BoxAnswerer boxes(pid);
  RunOutcome closed = WaitForEnd(program, std::ref(boxes), nullptr, 20000);

  EXPECT_TRUE(closed.ended) << "the window stayed after the box";
  EXPECT_EQ(closed.exitCode, DWORD(kExitDone));
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Unable to write to " + options});
}

TEST_F(ProgramRunTest, OfTwoScansStartedTogetherOnlyOneWorksAndTheOtherEndsWithItsCode) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 60000, 200000);
  registry_.AddHive("Beta", 30000, 100000);
  // A held copy keeps whichever run holds the instance at its refusal box,
  // so that the two runs certainly overlap.
  test::WriteFileBytes(CopyPath(alpha.file), 4096);
  HeldFile copy(CopyPath(alpha.file));
  ASSERT_TRUE(copy.held());
  const std::string r1 = registry_.folder().File("r1.ini"), r2 = registry_.folder().File("r2.ini");

  ProgramProcess one(exe_, "/Scan \"" + r1 + "\"", home_.path());
  ProgramProcess two(exe_, "/Scan \"" + r2 + "\"", home_.path());
  ASSERT_TRUE(one.started() && two.started());
  auto boxesOf = [](DWORD pid) { return int(MessageBoxesOf(pid).size()); };
  // The one that does not hold the instance ends by itself, with no box.
  ASSERT_TRUE(test::WaitUntil([&] { return one.Ended() || two.Ended(); }, kStartDeadlineMs));
  ASSERT_TRUE(test::WaitUntil([&] { return boxesOf(one.id()) + boxesOf(two.id()) >= 1; }, kStartDeadlineMs));
  Sleep(500);  // a second box, had both run, would be up by now
  EXPECT_EQ(boxesOf(one.id()) + boxesOf(two.id()), 1);
  copy.Release();
  DWORD pid1 = one.id(), pid2 = two.id();
  BoxAnswerer boxes1(pid1), boxes2(pid2);
  RunOutcome a = WaitForEnd(one, std::ref(boxes1), nullptr, 20000);
  RunOutcome b = WaitForEnd(two, std::ref(boxes2), nullptr, 20000);
  ASSERT_TRUE(a.ended && b.ended);

  std::vector<DWORD> codes{a.exitCode, b.exitCode};
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<DWORD>{DWORD(kExitDone), DWORD(kExitAnotherInstance)}));
  EXPECT_EQ(files_.Exists(r1) + files_.Exists(r2), 1) << "both runs wrote a report";
  EXPECT_EQ(Count(Log(), "Another instance of Varnhold is running"), 1u) << Log();
  EXPECT_EQ(Joined(a.visibleWindows) + Joined(b.visibleWindows), "#32770 'Varnhold'\n");
}

TEST_F(ProgramRunTest, AnInteractiveStartNeverShowsTheWindowOfAnUnattendedRun) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 60000, 200000);
  test::WriteFileBytes(CopyPath(alpha.file), 4096);
  HeldFile copy(CopyPath(alpha.file));
  ASSERT_TRUE(copy.held());
  const std::string report = registry_.folder().File("r.ini");
  ProgramProcess scan(exe_, "/Scan \"" + report + "\"", home_.path());
  ASSERT_TRUE(scan.started());
  auto boxUp = [&] { return !MessageBoxesOf(scan.id()).empty(); };
  ASSERT_TRUE(test::WaitUntil(boxUp, kStartDeadlineMs)) << "the scan does not hold at its refusal";

  ProgramProcess second(exe_, "", home_.path());
  ASSERT_TRUE(second.started());
  RunOutcome woke = WaitForEnd(second, {}, nullptr, 20000);
  EXPECT_TRUE(woke.ended);
  EXPECT_EQ(woke.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(woke.visibleWindows), "");
  Sleep(300);  // nothing to wait for: a window shown on the wake-up would be up by now
  EXPECT_EQ(VisibleMainWindow(), nullptr) << "the unattended run's window was shown";

  copy.Release();
  DWORD pid = scan.id();
  BoxAnswerer boxes(pid);
  RunOutcome scanned = WaitForEnd(scan, std::ref(boxes), nullptr, 20000);
  EXPECT_EQ(scanned.exitCode, DWORD(kExitDone));
  for (const std::string& w : scanned.visibleWindows) EXPECT_EQ(w, "#32770 'Varnhold'");
}

TEST_F(ProgramRunTest, SilentWhileTheWindowIsOpenLogsAndEndsWithItsCodeHavingDoneNothing) {
  registry_.AddHive("Alpha", 60000, 200000);
  ProgramProcess window(exe_, "", home_.path());
  ASSERT_TRUE(window.started());
  HWND main = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, kStartDeadlineMs));
  CreatedFiles created(registry_.folder().path());

  RunOutcome silent = Run("/Silent", {}, 20000);

  EXPECT_EQ(silent.exitCode, DWORD(kExitAnotherInstance));
  EXPECT_EQ(Joined(silent.visibleWindows), "");
  EXPECT_EQ(Joined(Records()), "");
  EXPECT_EQ(Joined(created.Names()), "") << "a copy was made beside the hives";
  EXPECT_NE(Log().find("Another instance of Varnhold is running"), std::string::npos) << Log();
  EXPECT_EQ(VisibleMainWindow(), main);
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForEnd(window, {}, nullptr, 20000).ended);
}

TEST_F(ProgramRunTest, TwoInteractiveStartsTogetherOpenOneWindow) {
  ProgramProcess one(exe_, "", home_.path());
  ProgramProcess two(exe_, "", home_.path());
  ASSERT_TRUE(one.started() && two.started());
  ASSERT_TRUE(test::WaitUntil([] { return VisibleMainWindow() != nullptr; }, kStartDeadlineMs));
  auto mainWindowsOf = [](DWORD pid) {
    int n = 0;
    for (const SeenWindow& w : VisibleWindowsOf(pid)) n += w.className == kMainClass;
    return n;
  };
  // The second start ends; only then is the count final.
  ASSERT_TRUE(test::WaitUntil([&] { return one.Ended() || two.Ended(); }, kStartDeadlineMs)) << "both starts still run";
  EXPECT_EQ(mainWindowsOf(one.id()) + mainWindowsOf(two.id()), 1);
  PostMessageA(FindWindowA(kMainClass, nullptr), WM_CLOSE, 0, 0);
  RunOutcome a = WaitForEnd(one, {}, nullptr, 20000), b = WaitForEnd(two, {}, nullptr, 20000);
  EXPECT_TRUE(a.ended && b.ended);
  EXPECT_EQ(a.exitCode, 0u);
  EXPECT_EQ(b.exitCode, 0u);
}

TEST_F(ProgramRunTest, UnattendedOnAnUnsupportedWindowsLogsAndEndsWithItsCode) {
  registry_.AddHive("Alpha", 60000, 200000);
  WineVersionFor win98(kProgram, "win98");
  const std::string report = registry_.folder().File("r.ini");
  for (const std::string& arguments : {"/Scan \"" + report + "\"", std::string("/Silent")}) {
    BoxAnswerer boxes(pid_);
    RunOutcome outcome = Run(arguments, std::ref(boxes), 20000);
    EXPECT_EQ(outcome.exitCode, DWORD(kExitUnsupportedWindows)) << arguments;
    EXPECT_EQ(Joined(boxes.texts), "") << arguments;
    EXPECT_EQ(Joined(outcome.visibleWindows), "") << arguments;
  }
  EXPECT_EQ(Count(Log(), "does not support the current Windows system"), 2u) << Log();
  EXPECT_FALSE(files_.Exists(report));
  EXPECT_EQ(Joined(Records()), "");
}

// ---- Hive catalogue faults, seen from outside ------------------------------

std::string SwapOf(const test::TestHive& h) {
  std::string key = h.name.substr(std::string("\\REGISTRY\\MACHINE\\").size());
  return "RegReplaceKeyA\tHKEY_LOCAL_MACHINE\t" + key + "\t" + h.file + ".hvz\t" + h.file + ".bak";
}

TEST_F(ProgramRunTest, AHiveOnVolumeTwelveOrWithTheDeviceNameInsideItsPathIsLeftAlone) {
  const test::TestHive alpha = registry_.AddHive("Alpha", 60000, 200000);
  // Cut after "Volume1", volume 12 named "C:2\...": relative to the current
  // folder of C:, which is the program's.
  ASSERT_EQ(home_.path().substr(0, 2), "C:");
  ASSERT_EQ(test::DevicePath("C:\\"), "\\Device\\HarddiskVolume1\\");
  ASSERT_TRUE(CreateDirectoryA(home_.File("2").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(home_.File("2\\vhtest").c_str(), nullptr));
  const std::string twelveFile = home_.File("2\\vhtest\\SAM");
  test::WriteFileBytes(twelveFile, 8192);
  const std::string inside = registry_.folder().File("Inside");
  test::WriteFileBytes(inside, 8192);
  ExtraHiveListValues extra;
  extra.Add("\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest\\Twelve", "\\Device\\HarddiskVolume12\\vhtest\\SAM");
  extra.Add("\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest\\Inside", "\\??\\X" + test::DevicePath(inside));

  RunOutcome outcome = Run("/Silent", {}, 30000);

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(Joined(Records()), Joined({SwapOf(alpha), "ExitWindowsEx\t6\t1"}));
  EXPECT_EQ(FilesIn(home_.File("2\\vhtest")), std::vector<std::string>{"SAM"});
  EXPECT_FALSE(files_.Exists(CopyPath(inside)));
}

TEST_F(ProgramRunTest, OnlyDistinctMachineAndUserHivesWithRoomForAPlainCopyAreMeasuredAndSwapped) {
  ASSERT_TRUE(test::EnableTestPrivilege("SeBackupPrivilege"));
  const test::TestHive alpha = registry_.AddHive("Alpha", 240000, 700000);
  const test::TestHive beta = registry_.AddHive("Beta", 90000, 333333);
  const test::TestHive gamma = registry_.AddHive("Gamma", 60000, 200000);
  ASSERT_TRUE(CreateDirectoryA(CopyPath(gamma.file).c_str(), nullptr));
  const std::string appHive = registry_.folder().File("AppHive");
  test::WriteFileBytes(appHive, 8192);
  ExtraHiveListValues extra;
  extra.Add("\\REGISTRY\\A\\{8a9c0d1e-0000-4000-8000-123456789abc}", test::DevicePath(appHive));
  extra.Add("\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest\\AlphaAgain", test::DevicePath(alpha.file));
  std::string upperAlpha = test::DevicePath(alpha.file);
  std::transform(upperAlpha.begin(), upperAlpha.end(), upperAlpha.begin(), ::toupper);
  extra.Add("\\REGISTRY\\USER\\AlphaThird", upperAlpha);
  const std::string report = registry_.folder().File("r.ini");

  RunOutcome scan = Run("/Scan \"" + report + "\"", {}, 30000);

  EXPECT_EQ(scan.exitCode, DWORD(kExitDone));
  std::int64_t current = QueryFileSize(files_, alpha.file) + QueryFileSize(files_, beta.file);
  std::int64_t compacted = OwnCopySize("Alpha") + OwnCopySize("Beta");
  float ratio = float(double(current - compacted) * 100.0 / double(current));
  char separator[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
  std::vector<std::string> section = ReportSection(test::ReadFileText(report));
  ASSERT_EQ(section.size(), 6u) << test::ReadFileText(report);
  EXPECT_EQ(section[1], "Current Size=" + FormatSizeKB(current));
  EXPECT_EQ(section[2], "New Size=" + FormatSizeKB(compacted));
  EXPECT_EQ(section[4], "Compact Percent=" + FormatCompactPercent(ratio, separator));
  EXPECT_EQ(Count(Log(), "is already listed for"), 2u) << Log();
  EXPECT_EQ(Count(Log(), CopyPath(gamma.file) + " is not a file"), 1u) << Log();

  RunOutcome silent = Run("/Silent", {}, 30000);

  EXPECT_EQ(silent.exitCode, DWORD(kExitDone));
  std::vector<std::string> records = Records();
  ASSERT_EQ(records.size(), 3u) << Joined(records);
  EXPECT_EQ(records[2], "ExitWindowsEx\t6\t1");
  std::vector<std::string> swaps(records.begin(), records.begin() + 2);
  std::sort(swaps.begin(), swaps.end());
  EXPECT_EQ(swaps, (std::vector<std::string>{SwapOf(alpha), SwapOf(beta)}));
  DWORD folder = GetFileAttributesA(CopyPath(gamma.file).c_str());
  EXPECT_TRUE(folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY));
}

// ---- Command line and files --------------------------------------------------

TEST_F(ProgramRunTest, ARelativeReportPathLandsInTheCurrentFolder) {
  registry_.AddHive("Alpha", 60000, 200000);
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string misplaced = std::string(windows) + "\\vh-rel-report.ini";
  DeleteFileA(misplaced.c_str());

  RunOutcome outcome = Run("/Scan vh-rel-report.ini", {}, 30000);

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(ReportSection(test::ReadFileText(home_.File("vh-rel-report.ini"))).size(), 6u);
  EXPECT_FALSE(files_.Exists(misplaced));
  DeleteFileA(misplaced.c_str());
}

TEST_F(ProgramRunTest, AnUnknownOrMalformedSwitchIsLoggedWithTheUsageAndOpensNoWindow) {
  registry_.AddHive("Alpha", 60000, 200000);
  // Each line with the argument it refuses.
  const std::vector<std::pair<std::string, std::string>> lines{
      {"/Scan /Silent", "/Silent"}, {"/Scan /Foo", "/Foo"},         {"-Scan x", "-Scan"},
      {"/Scan:x", "/Scan:x"},       {"/Foo", "/Foo"},               {"-Silent", "-Silent"},
      {"/Silent /Undo", "/Undo"},   {"/Undo /Foo", "/Foo"},         {"/Silent /MinGain:abc", "/MinGain:abc"},
      {"/Scan r.ini -x", "-x"}};
  for (const auto& line : lines) {
    RunOutcome outcome = Run(line.first, {}, 15000);
    EXPECT_EQ(outcome.exitCode, DWORD(kExitBadCommandLine)) << line.first;
    EXPECT_EQ(Joined(outcome.visibleWindows), "") << line.first;
    EXPECT_EQ(outcome.mostPixelsChanged, 0u) << line.first;
  }
  std::vector<std::string> log = Lines(Log());
  ASSERT_EQ(log.size(), lines.size()) << Log();
  for (std::size_t i = 0; i < log.size(); ++i) {
    EXPECT_NE(log[i].find("\"" + lines[i].second + "\""), std::string::npos) << log[i];
    EXPECT_NE(log[i].find("Usage: varnhold.exe [/Silent [/MinGain:<percent>] | /Scan [report file] | /Undo]"),
              std::string::npos)
        << log[i];
  }
  for (const char* name : {"C:\\Silent", "C:\\Foo", "C:\\x"}) EXPECT_FALSE(files_.Exists(name)) << name;
  // No window, so no settings saved and no copy made.
  EXPECT_EQ(Joined(FilesIn(home_.path())), Joined({"varnhold.log", kProgram}));
  EXPECT_EQ(Joined(Records()), "");
}

TEST_F(ProgramRunTest, ALanguageNameWithPathCharactersLoadsNoFileFromElsewhere) {
  ASSERT_TRUE(CreateDirectoryA(home_.File("evil").c_str(), nullptr));
  test::WriteFileText(home_.File("evil\\French.ini"), "[frmMain]\r\nfrmMain=EVIL\r\nlTitle=EVIL\r\n");
  test::WriteFileText(home_.File("options.ini"), "[Options]\r\nLan=..\\evil\\French\r\n");
  ProgramProcess program(exe_, "", home_.path());
  ASSERT_TRUE(program.started());
  HWND main = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, kStartDeadlineMs));
  EXPECT_TRUE(program.Idle());
  EXPECT_EQ(CaptionOf(main), "Varnhold");
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForEnd(program, {}, nullptr, 20000).ended);
  EXPECT_NE(test::ReadFileText(home_.File("options.ini")).find("Lan=English"), std::string::npos);
}

TEST_F(ProgramRunTest, EveryScanResultSectionOfTheReportIsReplaced) {
  registry_.AddHive("Alpha", 60000, 200000);
  const std::string report = registry_.folder().File("r.ini");
  test::WriteFileText(report, "[Scan Result]\r\nOld Key=stale\r\n[Mid]\r\nm=1\r\n"
                              "[Scan Result]\r\nStale Two=x\r\nTime=never\r\n");

  RunOutcome outcome = Run("/Scan \"" + report + "\"", {}, 30000);

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  std::string text = test::ReadFileText(report);
  EXPECT_EQ(Count(text, "[Scan Result]"), 1u) << text;
  EXPECT_EQ(text.find("Stale Two"), std::string::npos) << text;
  EXPECT_EQ(text.find("Old Key"), std::string::npos) << text;
  EXPECT_EQ(text.find("never"), std::string::npos) << text;
  EXPECT_NE(text.find("[Mid]\r\nm=1"), std::string::npos) << text;
  EXPECT_EQ(ReportSection(text).size(), 6u) << text;
}

// ---- Paths outside the ANSI code page ---------------------------------------

// The scratch folder's clean-up walks names in the ANSI code page and
// cannot reach these; they go when the test ends, however it ends.
struct WideNamesRemovedAtEnd {
  std::vector<std::wstring> paths;  // files and folders, innermost last
  ~WideNamesRemovedAtEnd() {
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
      for (const wchar_t* suffix : {L"", L".hvz"}) DeleteFileW((*it + suffix).c_str());
      RemoveDirectoryW(it->c_str());
    }
  }
};

std::int64_t WideFileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (std::int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(ProgramRunTest, HivesAndReportsUnderNamesOutsideTheAnsiCodePageAreReached) {
  ASSERT_EQ(GetACP(), 1252u) << "the test needs characters the ANSI code page lacks";
  const test::TestHive alpha = registry_.AddHive("Alpha", 60000, 200000);
  // A user folder with a Chinese name, the hive file in it, and a key for
  // the program to copy.
  const std::wstring folder = Widen(registry_.folder().path()) + L"\\\x7528\x6237";
  const std::wstring hive = folder + L"\\NTUSER.DAT";
  const std::wstring reportFolder = folder + L"\\\x62a5\x544a";
  const std::wstring report = reportFolder + L"\\r.ini";
  WideNamesRemovedAtEnd removed{{folder, hive, reportFolder, report}};
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  HANDLE file = CreateFileW(hive.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  std::string bytes(300000, 'u');
  DWORD written = 0;
  WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
  registry_.AddHive("Uni", 30000, 10);  // the key; its own stand-in file is not listed below
  ExtraHiveListValues extra;
  extra.Add(L"\\REGISTRY\\MACHINE\\SOFTWARE\\VarnholdTest\\Uni", Widen(test::DevicePath("C:\\")) + hive.substr(3));
  ASSERT_TRUE(CreateDirectoryW(reportFolder.c_str(), nullptr));
  const std::string plainReport = registry_.folder().File("r.ini");

  RunOutcome measured = Run("/Scan \"" + plainReport + "\"", {}, 30000);
  ProgramProcess program(Widen(exe_), L"/Scan \"" + report + L"\"", Widen(home_.path()));
  ASSERT_TRUE(program.started());
  RunOutcome reported = WaitForEnd(program, {}, nullptr, 30000);

  EXPECT_EQ(measured.exitCode, DWORD(kExitDone));
  std::vector<std::string> section = ReportSection(test::ReadFileText(plainReport));
  ASSERT_EQ(section.size(), 6u) << test::ReadFileText(plainReport);
  EXPECT_EQ(section[1], "Current Size=" + FormatSizeKB(QueryFileSize(files_, alpha.file) + WideFileSize(hive)))
      << "the hive under the Chinese folder name was left out";
  EXPECT_EQ(WideFileSize(hive + L".hvz"), 0) << "the copy was left behind";

  EXPECT_EQ(reported.exitCode, DWORD(kExitDone));
  std::string text;
  HANDLE r = CreateFileW(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(r, INVALID_HANDLE_VALUE) << "no report in the folder with the Chinese name";
  if (r != INVALID_HANDLE_VALUE) {
    char buffer[4096] = {};
    DWORD read = 0;
    ReadFile(r, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(r);
    text.assign(buffer, read);
  }
  EXPECT_EQ(ReportSection(text).size(), 6u) << text;

}

// A message that names a path outside the ANSI code page shows it as it is:
// the program runs from a folder with a Chinese name, and its settings file
// there, held by another program, cannot be written when the window closes.
TEST_F(ProgramRunTest, AMessageNamingAPathOutsideTheAnsiCodePageShowsItAsItIs) {
  ASSERT_EQ(GetACP(), 1252u) << "the test needs characters the ANSI code page lacks";
  const std::wstring folder = Widen(home_.path()) + L"\\\x7528\x6237";
  const std::wstring exe = folder + L"\\" + Widen(kProgram);
  const std::wstring options = folder + L"\\options.ini";
  WideNamesRemovedAtEnd removed{{folder, exe, options}};
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(Widen(exe_).c_str(), exe.c_str(), FALSE));
  ProgramProcess program(exe, L"", folder);
  ASSERT_TRUE(program.started());
  HWND main = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, kStartDeadlineMs));
  HANDLE held = CreateFileW(options.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND box = nullptr;
  auto filledIn = [&] {
    std::vector<HWND> boxes = MessageBoxesOf(program.id());
    box = boxes.empty() ? nullptr : boxes.front();
    return box && !test::MessageBoxTextW(box).empty();
  };
  EXPECT_TRUE(test::WaitUntil(filledIn, kStartDeadlineMs)) << "no box when the settings could not be written";
  if (box) {
    EXPECT_EQ(test::MessageBoxTextW(box), L"Unable to write to " + options);
    test::PressButton(box, IDOK);
  }
  EXPECT_TRUE(program.EndsWithin(20000));
  CloseHandle(held);
}

}  // namespace
}  // namespace vh
