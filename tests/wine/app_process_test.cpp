// The real program started as its own process, the way scripts, scheduled
// tasks and deployment tools start it: the unattended modes with their exit
// codes and report, and the single-instance rule. The test build of the
// program records hive swaps and the restart instead of doing them.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/unattended.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "platform/win32_platform_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/wine_env.h"

namespace vh {
namespace {

const char kProgram[] = "varnhold_recorded.exe";
const char kMainClass[] = "Varnhold Made by Tolvane Software";
const char kRefusal[] = "Can not analyze the registry now! Please try again later.";
constexpr int kRunTimeoutMs = 60000;
constexpr int kMessageBoxTextId = 0xFFFF;

std::string BuiltProgram() {
  char dir[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("VH_BINARY_DIR", dir, MAX_PATH);
  std::string path = "Z:" + std::string(dir, n < MAX_PATH ? n : 0) + "/" + kProgram;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

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

struct SeenWindow {
  HWND handle;
  std::string className;
  std::string caption;
};

std::string ClassOf(HWND w) {
  char name[256] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

std::string CaptionOf(HWND w) {
  char text[512] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

struct WindowSearch {
  DWORD processId;
  std::vector<SeenWindow> found;
};

BOOL CALLBACK NoteIfVisible(HWND w, LPARAM search) {
  auto* s = reinterpret_cast<WindowSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == s->processId && IsWindowVisible(w)) s->found.push_back({w, ClassOf(w), CaptionOf(w)});
  return TRUE;
}

std::vector<SeenWindow> VisibleWindowsOf(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(NoteIfVisible, LPARAM(&search));
  return search.found;
}

bool IsProgramMessageBox(const SeenWindow& w) { return w.className == "#32770" && w.caption == "Varnhold"; }

std::string MessageBoxText(HWND box) {
  char text[1024] = {};
  GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
  return text;
}

void PressOk(HWND box) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(box, IDOK)));
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

// One start of the program from its scratch folder. A run that outlives its
// time is killed, so that no process is ever left behind.
class ProgramProcess {
 public:
  ProgramProcess(const std::string& exe, const std::string& arguments, const std::string& folder) {
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                              &startup, &info_) != 0;
  }
  ~ProgramProcess() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }

  // Polls every few milliseconds until the process ends: notes every
  // visible window it has, compares the screen with how it looked before
  // the start when asked to, and gives each poll to onPoll.
  RunOutcome Wait(const std::function<void()>& onPoll = {}, const std::vector<std::uint32_t>* screenBefore = nullptr,
                  int timeoutMs = kRunTimeoutMs) {
    RunOutcome outcome;
    DWORD start = GetTickCount(), lastShot = 0;
    while (WaitForSingleObject(info_.hProcess, 2) == WAIT_TIMEOUT) {
      for (const SeenWindow& w : VisibleWindowsOf(id())) Note(outcome, w.className + " '" + w.caption + "'");
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
    GetExitCodeProcess(info_.hProcess, &outcome.exitCode);
    return outcome;
  }

 private:
  static void Note(RunOutcome& outcome, const std::string& window) {
    auto& seen = outcome.visibleWindows;
    if (std::find(seen.begin(), seen.end(), window) == seen.end()) seen.push_back(window);
  }

  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

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

  RunOutcome Run(const std::string& arguments, const std::function<void()>& onPoll = {}) {
    std::vector<std::uint32_t> screen = CaptureScreen();
    ProgramProcess program(exe_, arguments, home_.path());
    EXPECT_TRUE(program.started()) << "CreateProcessA failed: " << GetLastError();
    if (!program.started()) return {};
    pid_ = program.id();
    RunOutcome outcome = program.Wait(onPoll, &screen);
    EXPECT_TRUE(outcome.ended) << kProgram << " " << arguments << " still ran after " << kRunTimeoutMs << " ms";
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
    for (const SeenWindow& w : VisibleWindowsOf(pid_)) {
      if (!IsProgramMessageBox(w)) continue;
      std::string text = MessageBoxText(w.handle);
      if (text.empty()) continue;  // not filled in yet
      if (boxTexts.empty() || boxTexts.back() != text) boxTexts.push_back(text);
      PressOk(w.handle);
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
  ASSERT_EQ(RegDeleteTreeA(parent, "Gone"), 0);
  RegCloseKey(parent);
  std::string report = registry_.folder().File("r.ini");

  RunOutcome outcome = Run("/Scan \"" + report + "\"");

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  std::int64_t current = QueryFileSize(files_, alpha.file);
  std::int64_t compacted = OwnCopySize("Alpha");
  std::vector<std::string> section = Lines(test::ReadFileText(report));
  ASSERT_EQ(section.size(), 7u) << Joined(section);
  EXPECT_EQ(section[1], "Current Size=" + FormatSizeKB(current)) << "the missing hive's 700,000 bytes are left out";
  EXPECT_EQ(section[2], "New Size=" + FormatSizeKB(compacted));
  EXPECT_EQ(section[3], "Size Reduction=" + FormatSizeKB(current - compacted));
  EXPECT_EQ(section[5].rfind("Time=", 0), 0u);
  EXPECT_EQ(section[6], "Hives Not Copied=1");
  EXPECT_FALSE(files_.Exists(CopyPath(gone.file)));
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

// Polls until done() holds or about ms have passed.
bool WaitUntil(const std::function<bool()>& done, int ms = 20000) {
  for (DWORD start = GetTickCount(); int(GetTickCount() - start) < ms; Sleep(20))
    if (done()) return true;
  return done();
}

TEST_F(ProgramRunTest, ASecondStartWakesTheFirstAndEnds) {
  std::vector<std::uint32_t> screen = CaptureScreen();
  ProgramProcess first(exe_, "", home_.path());
  ASSERT_TRUE(first.started());
  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (main = FindWindowA(kMainClass, nullptr)) && IsWindowVisible(main); }))
      << "the first start shows no main window";
  // The screen comparison of the unattended runs sees a shown window.
  EXPECT_TRUE(WaitUntil([&] { return PixelsChanged(screen, CaptureScreen()) > 10000; }));
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != 0; }));

  ProgramProcess second(exe_, "", home_.path());
  ASSERT_TRUE(second.started());
  RunOutcome woke = second.Wait({}, nullptr, 20000);
  EXPECT_TRUE(woke.ended);
  EXPECT_EQ(woke.exitCode, 0u);
  EXPECT_EQ(Joined(woke.visibleWindows), "") << "the second start showed a window";

  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main) && GetForegroundWindow() == main; }))
      << "visible " << IsWindowVisible(main) << ", iconic " << IsIconic(main) << ", foreground "
      << (GetForegroundWindow() == main);
  EXPECT_EQ(FindWindowA(kMainClass, nullptr), main);

  PostMessageA(main, WM_CLOSE, 0, 0);
  RunOutcome closed = first.Wait({}, nullptr, 20000);
  EXPECT_TRUE(closed.ended) << "the first instance did not end after WM_CLOSE";
  EXPECT_EQ(closed.exitCode, 0u);
}

}  // namespace
}  // namespace vh
