// Benchmarks run side by side in one run, for scripts/bench.sh. Figures are
// printed one per line as "name value" for the script to tabulate.
//   bench_win_tool analysis <rounds>
//     the whole analysis (the click to the figures) on the hives the system
//     lists, against a bare RegSaveKeyA loop over the hives it copies (not
//     those it leaves alone), alternated;
//     then the peak working set of the process; and the defragmentation's
//     copy-and-check step (a fresh copy of each hive, loaded back and
//     compared with the live hive) against the same bare loop.
//   bench_win_tool profile
//     the main window's start-up step by step: the time and working set
//     each step takes, from the process's creation on.
//   bench_win_tool profile-check
//     each hive's fresh copy and its check, the check's registry calls
//     counted and timed by function.
//   bench_win_tool profile-analysis [rounds]
//     the analysis against its parts: the scan alone, the progress
//     dialog's creation, the figures.
//   bench_win_tool startup <rounds> <exe> <class> <yardstick exe> <class>
//     start-up to the main window shown, each program started and closed in
//     turn; and each one's working set with its window up.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_platform_win.h"
#include "app/locale_win.h"
#include "app/main_window_win.h"
#include "ui/window_messages_win.h"
#include "hive/catalogue.h"
#include "hive/copy_check.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "hive/journal.h"
#include "hive/left_alone.h"
#include "hive/pending_swaps.h"
#include "hive/undo.h"
#include "settings/options.h"
#include "scan/progress_dialog_win.h"
#include "scan/scan_worker.h"
#include "ui/controls_win.h"
#include "ui/form_win.h"
#include "ui/message_box_win.h"
#include "ui/picture_win.h"

namespace {

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double TimeMs(const std::function<void()>& work) {
  double start = NowMs();
  work();
  return NowMs() - start;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Print(const char* name, double value) {
  std::printf("%s %.3f\n", name, value);
  std::fflush(stdout);
}

// The median of a series, and the spread of the round-by-round ratios of
// two series measured side by side: "<name>_ratio" median, min and max.
void PrintRatios(const std::string& name, const std::vector<double>& measured, const std::vector<double>& yardstick) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < measured.size() && i < yardstick.size(); ++i)
    if (yardstick[i] > 0) ratios.push_back(measured[i] / yardstick[i]);
  if (ratios.empty()) return;
  Print((name + "_ratio").c_str(), Median(ratios));
  Print((name + "_ratio_min").c_str(), *std::min_element(ratios.begin(), ratios.end()));
  Print((name + "_ratio_max").c_str(), *std::max_element(ratios.begin(), ratios.end()));
}

double KbOf(SIZE_T bytes) { return double(bytes) / 1024.0; }

PROCESS_MEMORY_COUNTERS MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(process, &pmc, sizeof pmc);
  return pmc;
}

// ---- the analysis against a bare save loop ----------------------------

struct BareSave {
  HKEY root;
  std::string subkey;
  std::string target;
};

// The hives the program copies: never one it leaves alone (another
// program's), which the analysis and the defragmentation skip.
std::vector<BareSave> BareSavesOf(const vh::HiveTable& listed) {
  const vh::HiveTable hives = vh::HivesToCopy(listed);
  std::vector<BareSave> saves;
  for (std::size_t i = 0; i < hives.size(); ++i) {
    vh::HiveKeyPath path = vh::SplitHiveName(hives.HiveNames[i]);
    HKEY root = path.root == vh::RootKey::Users ? HKEY_USERS : HKEY_LOCAL_MACHINE;
    saves.push_back({root, path.subkey, vh::CopyPath(hives.HiveFiles[i])});
  }
  return saves;
}

// What the analysis has Windows do, and nothing else.
void RunBareSaves(const std::vector<BareSave>& saves) {
  for (const BareSave& s : saves) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(s.root, s.subkey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) continue;
    RegSaveKeyA(key, s.target.c_str(), nullptr);
    RegCloseKey(key);
  }
}

// What loading the copies back costs by itself: the floor of any check.
void RunBareLoads(const std::vector<BareSave>& saves) {
  for (const BareSave& s : saves) {
    if (RegLoadKeyA(HKEY_LOCAL_MACHINE, vh::kCheckKeyName, s.target.c_str()) == ERROR_SUCCESS)
      RegUnLoadKeyA(HKEY_LOCAL_MACHINE, vh::kCheckKeyName);
  }
}

void DeleteCopies(const std::vector<BareSave>& saves) {
  for (const BareSave& s : saves) DeleteFileA(s.target.c_str());
}

// The defragmentation's step before each swap: a fresh copy, then its check.
struct CopyAndCheck {
  double copyMs = 0;
  double checkMs = 0;
  double passedCheckMs = 0;  // of the copies that passed
  int passed = 0;
  int failed = 0;
};

CopyAndCheck RunCopyAndCheck(vh::Platform& platform, const vh::HiveTable& hives) {
  CopyAndCheck step;
  for (std::size_t i = 0; i < hives.size(); ++i) {
    const std::string copy = vh::CopyPath(hives.HiveFiles[i]);
    bool copied = false;
    step.copyMs += TimeMs([&] {
      copied = vh::SaveHiveCopy(platform.registry, platform.files, hives.HiveNames[i], copy);
    });
    if (!copied) continue;
    bool passed = false;
    double ms = TimeMs([&] {
      // The defragmentation has enabled the backup privilege by now, as
      // the bench's own start does.
      passed = vh::CheckHiveCopy(platform.registry, platform.files, hives.HiveNames[i], copy, true).passed;
    });
    step.checkMs += ms;
    if (passed) step.passedCheckMs += ms;
    ++(passed ? step.passed : step.failed);
  }
  return step;
}

int BenchAnalysis(int rounds) {
  int boxes = 0;
  // The advice on a small gain would wait for a click.
  vh::SetMessageBoxHook([&boxes](const std::string&, const std::string&, UINT) {
    ++boxes;
    return IDOK;
  });
  auto main = vh::CreateForm<vh::TfrmMain>(vh::AppPlatform());
  main->Show();
  vh::ProcessMessages();
  std::vector<BareSave> saves = BareSavesOf(main->Hives);
  if (saves.empty()) {
    std::fprintf(stderr, "bench: the system lists no hive\n");
    return 1;
  }
  vh::EnableBackupPrivilege(vh::AppPlatform().privileges);
  Print("hives", double(saves.size()));
  Print("working_set_before_kb", KbOf(MemoryOf(GetCurrentProcess()).WorkingSetSize));
  vh::Platform& platform = vh::AppPlatform();
  vh::EnableRestorePrivilege(platform.privileges);
  std::vector<double> program, bare, copyAndCheck, checkOnly, passedChecks, loads;
  CopyAndCheck lastStep;
  bool complete = true;
  for (int r = 0; r < rounds; ++r) {
    // Alternating which goes first evens out what one leaves the other.
    auto timeProgram = [&] {
      DeleteCopies(saves);
      program.push_back(TimeMs([&] { complete = main->RunAnalysis() && complete; }));
      // The first analysis runs before any copy check: its peak is the
      // analysis's own.
      if (program.size() == 1)
        Print("analysis_peak_working_set_kb", KbOf(MemoryOf(GetCurrentProcess()).PeakWorkingSetSize));
    };
    auto timeBare = [&] {
      DeleteCopies(saves);
      bare.push_back(TimeMs([&] { RunBareSaves(saves); }));
    };
    auto timeCopyAndCheck = [&] {
      DeleteCopies(saves);
      lastStep = RunCopyAndCheck(platform, vh::HivesToCopy(main->Hives));
      copyAndCheck.push_back(lastStep.copyMs + lastStep.checkMs);
      checkOnly.push_back(lastStep.checkMs);
      passedChecks.push_back(lastStep.passedCheckMs);
      loads.push_back(TimeMs([&] { RunBareLoads(saves); }));
    };
    if (r % 2) {
      timeBare();
      timeCopyAndCheck();
      timeProgram();
    } else {
      timeProgram();
      timeCopyAndCheck();
      timeBare();
    }
  }
  Print("peak_working_set_kb", KbOf(MemoryOf(GetCurrentProcess()).PeakWorkingSetSize));
  DeleteCopies(saves);
  Print("analysis_ms", Median(program));
  Print("bare_save_ms", Median(bare));
  Print("copy_and_check_ms", Median(copyAndCheck));
  Print("check_ms", Median(checkOnly));
  Print("bare_load_ms", Median(loads));
  Print("passed_check_ms", Median(passedChecks));
  PrintRatios("analysis", program, bare);
  PrintRatios("copy_and_check", copyAndCheck, bare);
  PrintRatios("bare_load", loads, bare);
  Print("checks_passed", lastStep.passed);
  Print("checks_failed", lastStep.failed);
  Print("advice_boxes", boxes);
  if (!complete) std::fprintf(stderr, "bench: an analysis did not complete\n");
  return complete ? 0 : 1;
}

// ---- start-up to the main window shown ---------------------------------

struct Launch {
  double shownMs = -1;
  SIZE_T workingSet = 0;
};

// Starts the program, waits for its window, closes it and waits for the end.
Launch StartAndClose(const std::string& exe, const char* windowClass) {
  Launch result;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + exe + "\"";
  double start = NowMs();
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return result;
  HWND window = nullptr;
  while (NowMs() - start < 30000 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
    window = FindWindowA(windowClass, nullptr);
    if (window && IsWindowVisible(window)) break;
    window = nullptr;
    Sleep(1);
  }
  if (window) {
    result.shownMs = NowMs() - start;
    // The working set once the window is up and painted: the first paint
    // may still be under way when the window turns visible.
    WaitForInputIdle(pi.hProcess, 2000);
    result.workingSet = MemoryOf(pi.hProcess).WorkingSetSize;
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

int BenchStartup(int rounds, const std::string& exe, const char* windowClass, const std::string& yardstick,
                 const char* yardstickClass) {
  std::vector<double> program, minimal;
  SIZE_T programSet = 0, minimalSet = 0;
  for (int r = 0; r < rounds; ++r) {
    Launch a = StartAndClose(exe, windowClass);
    Launch b = StartAndClose(yardstick, yardstickClass);
    if (a.shownMs < 0 || b.shownMs < 0) {
      std::fprintf(stderr, "bench: a window never showed (%s: %.0f, %s: %.0f)\n", exe.c_str(), a.shownMs,
                   yardstick.c_str(), b.shownMs);
      return 1;
    }
    program.push_back(a.shownMs);
    minimal.push_back(b.shownMs);
    programSet = std::max(programSet, a.workingSet);
    minimalSet = std::max(minimalSet, b.workingSet);
  }
  PrintRatios("startup", program, minimal);
  Print("startup_ms", Median(program));
  Print("minimal_startup_ms", Median(minimal));
  Print("startup_working_set_kb", KbOf(programSet));
  Print("minimal_working_set_kb", KbOf(minimalSet));
  return 0;
}

// ---- where the copy check's time goes --------------------------------------

// Forwards every call and counts it, with the time it took, by function.
// The copy check's two walks run one after the other here (the default
// RunTogether), so that each call is timed alone.
class TimedRegistry final : public vh::Registry {
 public:
  explicit TimedRegistry(vh::Registry& inner) : inner_(inner) {}
  struct Tally {
    int calls = 0;
    double ms = 0;
  };
  std::vector<std::pair<std::string, Tally>> tallies;

  std::vector<std::string> ValueNames(vh::KeyHandle key) override {
    return Timed("ValueNames", [&] { return inner_.ValueNames(key); });
  }
  std::uint32_t ValueType(vh::KeyHandle key, const std::string& name) override {
    return Timed("ValueType", [&] { return inner_.ValueType(key, name); });
  }
  std::string ReadString(vh::KeyHandle key, const std::string& name) override {
    return Timed("ReadString", [&] { return inner_.ReadString(key, name); });
  }
  std::optional<std::uint32_t> ReadDword(vh::KeyHandle key, const std::string& name) override {
    return Timed("ReadDword", [&] { return inner_.ReadDword(key, name); });
  }
  std::optional<std::string> ReadValueData(vh::KeyHandle key, const std::string& name) override {
    return Timed("ReadValueData", [&] { return inner_.ReadValueData(key, name); });
  }
  long SaveKey(vh::KeyHandle key, const std::string& file, const std::string& readerSid,
               vh::HiveFormat format) override {
    return Timed("SaveKey", [&] { return inner_.SaveKey(key, file, readerSid, format); });
  }
  void CloseKey(vh::KeyHandle key) override {
    Timed("CloseKey", [&] {
      inner_.CloseKey(key);
      return 0;
    });
  }
  long LoadKey(vh::RootKey root, const std::string& name, const std::string& file) override {
    return Timed("LoadKey", [&] { return inner_.LoadKey(root, name, file); });
  }
  long UnLoadKey(vh::RootKey root, const std::string& name) override {
    return Timed("UnLoadKey", [&] { return inner_.UnLoadKey(root, name); });
  }
  std::optional<vh::KeyFacts> QueryKey(vh::KeyHandle key) override {
    return Timed("QueryKey", [&] { return inner_.QueryKey(key); });
  }
  std::vector<std::string> SubkeyNames(vh::KeyHandle key) override {
    return Timed("SubkeyNames", [&] {
      std::vector<std::string> names = inner_.SubkeyNames(key);
      names_ += names.size();
      return names;
    });
  }
  long WriteString(vh::KeyHandle key, const std::string& name, const std::string& text) override {
    return Timed("WriteString", [&] { return inner_.WriteString(key, name, text); });
  }
  std::vector<std::string> CountedSubkeyNames(vh::KeyHandle key, std::uint32_t count) override {
    return Timed("SubkeyNames", [&] {
      std::vector<std::string> names = inner_.CountedSubkeyNames(key, count);
      names_ += names.size();
      return names;
    });
  }
  std::size_t namesListed() const { return names_; }

 protected:
  bool OnWow64() override { return inner_.View() != 0; }
  vh::KeyHandle OpenInView(vh::RootKey root, const std::string& subkey, std::uint32_t access) override {
    return Timed("OpenKeyEx", [&] { return inner_.OpenKeyEx(root, subkey, access); });
  }
  vh::KeyKind KindInView(vh::KeyHandle parent, const std::string& name, std::uint32_t) override {
    return Timed("QueryKeyKind", [&] { return inner_.QueryKeyKind(parent, name); });
  }
  long ReplaceInView(vh::RootKey root, const std::string& subkey, const std::string& newFile,
                     const std::string& backupFile, std::uint32_t) override {
    return Timed("ReplaceKey", [&] { return inner_.ReplaceKey(root, subkey, newFile, backupFile); });
  }
  vh::KeyHandle CreateVolatileInView(vh::RootKey root, const std::string& subkey, std::uint32_t access,
                                     bool& existed) override {
    return Timed("CreateVolatileKey", [&] { return inner_.CreateVolatileKey(root, subkey, access, &existed); });
  }
  long DeleteInView(vh::RootKey root, const std::string& subkey, std::uint32_t) override {
    return Timed("DeleteKey", [&] { return inner_.DeleteKey(root, subkey); });
  }
  vh::KeyHandle OpenForBackupInView(vh::RootKey root, const std::string& subkey, std::uint32_t access) override {
    return Timed("OpenKeyEx", [&] { return inner_.OpenKeyForBackup(root, subkey, access); });
  }

 private:
  template <class Work>
  auto Timed(const char* name, Work work) -> decltype(work()) {
    double start = NowMs();
    auto result = work();
    Tally* tally = nullptr;
    for (auto& t : tallies)
      if (t.first == name) tally = &t.second;
    if (!tally) {
      tallies.push_back({name, {}});
      tally = &tallies.back().second;
    }
    ++tally->calls;
    tally->ms += NowMs() - start;
    return result;
  }
  vh::Registry& inner_;
  std::size_t names_ = 0;
};

// The hives the running system has loaded, as the main window lists them.
vh::HiveTable LoadedHives(vh::Platform& system) {
  vh::HiveTable hives;
  vh::HiveCatalogue(system.registry, system.volumes, system.files, [](const std::string&) {})
      .BuildHiveCatalogue(hives);
  return hives;
}

// Each hive's fresh copy and its check, with the check's registry calls
// counted and timed by function.
int ProfileCheck() {
  vh::Platform& system = vh::AppPlatform();
  const bool backupHeld = vh::EnableBackupPrivilege(system.privileges);
  vh::EnableRestorePrivilege(system.privileges);
  vh::HiveTable hives = vh::HivesToCopy(LoadedHives(system));
  for (std::size_t i = 0; i < hives.size(); ++i) {
    const std::string copy = vh::CopyPath(hives.HiveFiles[i]);
    double saveMs = TimeMs([&] { vh::SaveHiveCopy(system.registry, system.files, hives.HiveNames[i], copy); });
    TimedRegistry timed(system.registry);
    bool passed = false;
    double checkMs = TimeMs([&] {
      passed = vh::CheckHiveCopy(timed, system.files, hives.HiveNames[i], copy, backupHeld).passed;
    });
    std::printf("%s: save %.0f ms, check %.0f ms (%s), %zu subkey names listed\n", hives.HiveNames[i].c_str(),
                saveMs, checkMs, passed ? "passed" : "refused", timed.namesListed());
    for (const auto& t : timed.tallies)
      std::printf("  %-14s %8d calls %9.1f ms\n", t.first.c_str(), t.second.calls, t.second.ms);
    DeleteFileA(copy.c_str());
  }
  return 0;
}

// ---- where the analysis's time goes ----------------------------------------

class SilentReporter final : public vh::ScanReporter {
 public:
  void ShowHive(const std::string&) override {}
  void HiveDone(std::uint32_t, std::int32_t) override {}
  void Finished() override {}
};

// The messages the analysis's thread takes, timed from the analysis's start.
struct MessageLog {
  double start = 0;
  double firstScanStart = -1;
  double lastClose = -1;
  int timers = 0;
  int paints = 0;
  int statuses = 0;
};
MessageLog messageLog;

LRESULT CALLBACK LogMessage(int code, WPARAM wp, LPARAM lp) {
  const MSG& msg = *reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE) {
    double at = NowMs() - messageLog.start;
    if (msg.message == vh::WM_SCANSTART && messageLog.firstScanStart < 0) messageLog.firstScanStart = at;
    if (msg.message == WM_CLOSE) messageLog.lastClose = at;
    if (msg.message == WM_TIMER) ++messageLog.timers;
    if (msg.message == WM_PAINT) ++messageLog.paints;
    if (msg.message == vh::WM_SCANSTATUS || msg.message == vh::WM_SCANHIVEDONE) ++messageLog.statuses;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

// The analysis against its parts, each alternated with the bare loop: the
// scan alone (the worker's loop without dialog or thread), the progress
// dialog's creation, and the figures filled in afterwards.
int ProfileAnalysis(int rounds) {
  vh::DisableInputMethods();
  vh::SetMessageBoxHook([](const std::string&, const std::string&, UINT) { return IDOK; });
  auto main = vh::CreateForm<vh::TfrmMain>(vh::AppPlatform());
  main->Show();
  vh::ProcessMessages();
  vh::Platform& platform = vh::AppPlatform();
  vh::EnableBackupPrivilege(platform.privileges);
  std::vector<BareSave> saves = BareSavesOf(main->Hives);
  // Wine's own hive list is empty: outside the demo or benchmark registry
  // the analysis refuses at once, and its figures would time nothing.
  if (saves.empty()) {
    std::fprintf(stderr, "bench: the system lists no hive (run it in the prefix bench.sh makes)\n");
    return 1;
  }
  std::vector<double> bare, scan, analysis, dialog, figures, toFirstCopy, afterClose;
  bool complete = true;
  for (int r = 0; r < rounds; ++r) {
    DeleteCopies(saves);
    bare.push_back(TimeMs([&] { RunBareSaves(saves); }));
    DeleteCopies(saves);
    std::atomic<bool> stop{false};
    SilentReporter reporter;
    scan.push_back(TimeMs([&] {
      vh::RunHiveScan(platform, main->AnalysisJob(), stop, reporter, vh::SteadyScanClock());
    }));
    dialog.push_back(TimeMs([&] { vh::CreateForm<vh::TfrmGetNewHiveProgess>(main->ForDialog(), main->AnalysisJob()); }));
    figures.push_back(TimeMs([&] {
      vh::ComputeFigures(platform.files, main->Hives, vh::UserDecimalSeparator());
    }));
    DeleteCopies(saves);
    messageLog = MessageLog{};
    messageLog.start = NowMs();
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, LogMessage, nullptr, GetCurrentThreadId());
    analysis.push_back(TimeMs([&] { complete = main->RunAnalysis() && complete; }));
    UnhookWindowsHookEx(hook);
    toFirstCopy.push_back(messageLog.firstScanStart);
    afterClose.push_back(analysis.back() - messageLog.lastClose);
    std::printf("round %d: scan started at %.1f ms, dialog closed at %.1f ms, ended at %.1f ms; "
                "%d timer ticks, %d paints, %d status messages\n",
                r, messageLog.firstScanStart, messageLog.lastClose, analysis.back(), messageLog.timers,
                messageLog.paints, messageLog.statuses);
  }
  DeleteCopies(saves);
  Print("profile_bare_save_ms", Median(bare));
  Print("profile_scan_only_ms", Median(scan));
  Print("profile_analysis_ms", Median(analysis));
  Print("profile_progress_dialog_create_destroy_ms", Median(dialog));
  Print("profile_figures_ms", Median(figures));
  Print("profile_click_to_first_copy_ms", Median(toFirstCopy));
  Print("profile_dialog_closed_to_figures_shown_ms", Median(afterClose));
  if (!complete) std::fprintf(stderr, "bench: an analysis did not complete\n");
  return complete ? 0 : 1;
}

// ---- where start-up's time and memory go ---------------------------------

// Milliseconds from the process's creation to now: the loader's share
// before WinMain when called first thing.
double MsSinceCreation() {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return double(ticks(now) - ticks(created)) / 10000.0;
}

// The main window's start-up in its steps, each timed and followed by the
// working set it leaves: the same steps as varnhold.exe's WinMain.
int ProfileStartup(double entryMs) {
  Print("profile_entry_ms", entryMs);
  Print("profile_entry_working_set_kb", KbOf(MemoryOf(GetCurrentProcess()).WorkingSetSize));
  auto step = [](const char* name, const std::function<void()>& work) {
    Print((std::string("profile_") + name + "_ms").c_str(), TimeMs(work));
    Print((std::string("profile_") + name + "_working_set_kb").c_str(),
          KbOf(MemoryOf(GetCurrentProcess()).WorkingSetSize));
  };
  step("init_common_controls", [] {
    vh::DisableInputMethods();
    vh::RegisterCommonControlClasses();
  });
  // The hive list the window's show builds, on its own first: its share of
  // the show's time and memory.
  vh::HiveTable hives;
  step("hive_catalogue", [&] {
    vh::Platform& system = vh::AppPlatform();
    hives = LoadedHives(system);
  });
  // What the window's creation and show read, each on its own.
  vh::TOptionsSetting options;
  step("options", [&] {
    vh::Platform& system = vh::AppPlatform();
    vh::LoadSaveOptions(options, system.profiles, vh::OptionsFilePath(system.files), true);
  });
  // The waiting swaps and the undo item, as the show reads them.
  step("journal", [&] {
    vh::Platform& system = vh::AppPlatform();
    vh::FindWaitingSwaps(system.registry);
    vh::UndoOffered(system, hives, vh::JournalPath(system.files));
  });
  step("background_decode", [] { vh::LoadJpegResource("MAIN_BACKGROUND"); });
  std::unique_ptr<vh::TfrmMain> main;
  step("create_form", [&] {
    main = vh::CreateForm<vh::TfrmMain>(vh::AppPlatform());
  });
  step("show", [&] { main->Show(); });
  step("first_paint", [&] { UpdateWindow(main->Handle()); });
  step("messages", [] { vh::ProcessMessages(); });
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  double entryMs = MsSinceCreation();
  if (__argc > 1 && std::strcmp(__argv[1], "profile") == 0) return ProfileStartup(entryMs);
  if (__argc > 1 && std::strcmp(__argv[1], "profile-check") == 0) return ProfileCheck();
  if (__argc > 1 && std::strcmp(__argv[1], "profile-analysis") == 0)
    return ProfileAnalysis(__argc > 2 ? std::max(1, std::atoi(__argv[2])) : 3);
  // What the process holds before any of the program runs: the loader's and
  // the system libraries' share, the same as varnhold.exe's (same imports).
  Print("entry_working_set_kb", KbOf(MemoryOf(GetCurrentProcess()).WorkingSetSize));
  // As varnhold.exe's WinMain, before the first window.
  vh::DisableInputMethods();
  vh::RegisterCommonControlClasses();
  int argc = __argc;
  char** argv = __argv;
  int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  if (argc > 1 && std::strcmp(argv[1], "analysis") == 0) return BenchAnalysis(rounds);
  if (argc > 6 && std::strcmp(argv[1], "startup") == 0) return BenchStartup(rounds, argv[3], argv[4], argv[5], argv[6]);
  std::fprintf(stderr,
               "usage: bench_win_tool analysis <rounds>\n"
               "       bench_win_tool startup <rounds> <exe> <class> <yardstick exe> <yardstick class>\n");
  return 2;
}
