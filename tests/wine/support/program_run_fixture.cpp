#include "tests/wine/support/program_run_fixture.h"

#include <algorithm>

#include "hive/hive_copy.h"
#include "tests/wine/support/screenshot_win.h"

namespace vh::test {

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

std::vector<std::uint32_t> CaptureScreen() {
  return CaptureScreenRect({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

std::size_t PixelsChanged(const std::vector<std::uint32_t>& before, const std::vector<std::uint32_t>& now) {
  std::size_t changed = 0;
  for (std::size_t i = 0; i < before.size() && i < now.size(); ++i)
    changed += (before[i] & 0xFFFFFF) != (now[i] & 0xFFFFFF);
  return changed;
}

namespace {

// Keeps each window once, in the order first seen.
void Note(RunOutcome& outcome, const std::string& window) {
  auto& seen = outcome.visibleWindows;
  if (std::find(seen.begin(), seen.end(), window) == seen.end()) seen.push_back(window);
}

}  // namespace

RunOutcome WaitForEnd(const ProgramProcess& program, const std::function<void()>& onPoll,
                      const std::vector<std::uint32_t>* screenBefore, int timeoutMs) {
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

HWND VisibleMainWindow() {
  HWND main = FindWindowA(kMainClass, nullptr);
  return main && IsWindowVisible(main) ? main : nullptr;
}

void ProgramRunTest::SetUp() {
  // A window of an earlier run would turn every start into a wake-up.
  ASSERT_EQ(FindWindowA(kMainClass, nullptr), nullptr) << "a Varnhold main window is already open";
  ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE)) << "cannot copy " << BuiltProgram();
  SetEnvironmentVariableA("VARNHOLD_RECORD", records_.c_str());
}

void ProgramRunTest::TearDown() { SetEnvironmentVariableA("VARNHOLD_RECORD", nullptr); }

RunOutcome ProgramRunTest::Run(const std::string& arguments, const std::function<void()>& onPoll, int timeoutMs) {
  std::vector<std::uint32_t> screen = CaptureScreen();
  ProgramProcess program(exe_, arguments, home_.path());
  EXPECT_TRUE(program.started()) << "CreateProcessA failed: " << GetLastError();
  if (!program.started()) return {};
  pid_ = program.id();
  RunOutcome outcome = WaitForEnd(program, onPoll, &screen, timeoutMs);
  EXPECT_TRUE(outcome.ended) << kProgram << " " << arguments << " still ran after " << timeoutMs << " ms";
  return outcome;
}

std::int64_t ProgramRunTest::OwnCopySize(const TestHive& hive) {
  std::string file = hive.file + ".own";
  DeleteFileA(file.c_str());
  HKEY k = OpenTestKey(hive);
  EXPECT_NE(k, nullptr);
  EXPECT_EQ(RegSaveKeyA(k, file.c_str(), nullptr), 0);
  RegCloseKey(k);
  return QueryFileSize(files_, file);
}

std::string Joined(const std::vector<std::string>& items) {
  std::string all;
  for (const std::string& s : items) all += s + "\n";
  return all;
}

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

namespace {

std::string Narrow(const WCHAR* name, DWORD bytes) {
  char text[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, name, int(bytes / sizeof(WCHAR)), text, sizeof text - 1, nullptr, nullptr);
  return text;
}

}  // namespace

CreatedFiles::CreatedFiles(const std::string& folder)
    : folder_(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)) {
  overlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  Listen();
}

CreatedFiles::~CreatedFiles() {
  CancelIo(folder_);
  CloseHandle(folder_);
  CloseHandle(overlapped_.hEvent);
}

std::vector<std::string> CreatedFiles::Names(int quietMs) {
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

void CreatedFiles::Listen() {
  ResetEvent(overlapped_.hEvent);
  ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &overlapped_,
                        nullptr);
}

ExtraHiveListValues::ExtraHiveListValues() {
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\hivelist", 0, KEY_ALL_ACCESS, &key_);
}

ExtraHiveListValues::~ExtraHiveListValues() {
  for (const std::wstring& name : names_) RegDeleteValueW(key_, name.c_str());
  RegCloseKey(key_);
}

void ExtraHiveListValues::Add(const std::wstring& name, const std::wstring& data) {
  RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 DWORD((data.size() + 1) * sizeof(wchar_t)));
  names_.push_back(name);
}

}  // namespace vh::test
