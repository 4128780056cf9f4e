// Benchmarks run side by side in one run, for scripts/bench.sh. Figures are
// printed one per line as "name value" for the script to tabulate.
//   bench_win_tool analysis <rounds>
//     the whole analysis (the click to the figures) on the hives the system
//     lists, against a bare RegSaveKeyA loop over the same keys, alternated;
//     then the peak working set of the process; and the defragmentation's
//     copy-and-check step (a fresh copy of each hive, loaded back and
//     compared with the live hive) against the same bare loop.
//   bench_win_tool startup <rounds> <exe> <class> <yardstick exe> <class>
//     start-up to the main window shown, each program started and closed in
//     turn; and each one's working set with its window up.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/app_platform_win.h"
#include "app/main_window_win.h"
#include "hive/copy_check.h"
#include "hive/hive_copy.h"
#include "ui/form_win.h"
#include "ui/message_box_win.h"

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
  std::printf("%s %.1f\n", name, value);
  std::fflush(stdout);
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

std::vector<BareSave> BareSavesOf(const vh::HiveTable& hives) {
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

CopyAndCheck RunCopyAndCheck(vh::Platform& platform, const vh::HiveTable& hives, bool wow64) {
  CopyAndCheck step;
  for (std::size_t i = 0; i < hives.size(); ++i) {
    const std::string copy = vh::CopyPath(hives.HiveFiles[i]);
    bool copied = false;
    step.copyMs += TimeMs([&] {
      copied = vh::SaveHiveCopy(platform.registry, platform.files, hives.HiveNames[i], copy, wow64);
    });
    if (!copied) continue;
    bool passed = false;
    double ms = TimeMs([&] {
      passed = vh::CheckHiveCopy(platform.registry, platform.files, hives.HiveNames[i], copy, wow64).passed;
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
  auto main = vh::CreateForm<vh::TfrmMain>(vh::AppPlatform(), std::vector<std::string>{"varnhold.exe"});
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
    };
    auto timeBare = [&] {
      DeleteCopies(saves);
      bare.push_back(TimeMs([&] { RunBareSaves(saves); }));
    };
    auto timeCopyAndCheck = [&] {
      DeleteCopies(saves);
      lastStep = RunCopyAndCheck(platform, main->Hives, main->RunningOnWow64);
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
  Print("startup_ms", Median(program));
  Print("minimal_startup_ms", Median(minimal));
  Print("startup_working_set_kb", KbOf(programSet));
  Print("minimal_working_set_kb", KbOf(minimalSet));
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // What the process holds before any of the program runs: the loader's and
  // the system libraries' share, the same as varnhold.exe's (same imports).
  Print("entry_working_set_kb", KbOf(MemoryOf(GetCurrentProcess()).WorkingSetSize));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
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
