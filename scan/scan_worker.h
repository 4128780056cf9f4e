// The scan itself, as the worker thread runs it: one compacted copy per hive,
// in table order, reporting through an interface so that the dialog side
// decides how reports reach the user-interface thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "hive/defrag.h"
#include "hive/hive_table.h"
#include "platform/platform.h"

namespace vh {

class ScanReporter {
 public:
  virtual ~ScanReporter() = default;
  // Before each copy: the hive being copied.
  virtual void ShowHive(const std::string& hiveName) = 0;
  // After each copy: the first hive's copy time and the count done so far.
  virtual void HiveDone(std::uint32_t firstHiveMs, std::int32_t done) = 0;
  // Every hive was copied and the work after the copies (the checks)
  // begins.
  virtual void CopiesDone() {}
  // Every hive was handled: the status reads "Finish" before the scan
  // returns.
  virtual void Finished() = 0;
};

// Monotonic milliseconds, replaceable in tests.
class ScanClock {
 public:
  virtual ~ScanClock() = default;
  virtual std::uint64_t NowMs() = 0;
};

ScanClock& SteadyScanClock();

// What one scan copies and how its dialog is titled: the analysis copies
// the main window's whole table under the layout's texts; the
// defragmentation copies the hives it will swap under its own. The worker
// reads the first two; the dialog the rest.
struct ScanJob {
  HiveTable hives;          // a copy: the worker never touches the window's lists
  bool wow64 = false;       // the program runs on 64-bit Windows
  bool unattended = false;  // nothing may reach the screen
  std::string caption;      // empty: the layout's, translated
  std::string label;        // empty: the layout's, translated
  // More work for the same worker once the copies are done or stopped
  // (the defragmentation's checks): it runs under the same window, with
  // the same Stop.
  AfterCopies afterCopies;
  std::string checkLabel;  // the dialog's line while afterCopies runs; empty: unchanged
};

// How a scan ended: every hive handled (each copy may still have failed on
// its own), stopped before the last, or ended by an error.
enum class ScanCompletion { Complete, Stopped, Failed };

// Runs the scan to its end or until stop is set (tested before each hive;
// the hive in progress is always finished), then the job's afterCopies. A
// stop taken at any moment, during the last hive or the work after it
// included, makes the scan Stopped.
ScanCompletion RunHiveScan(Platform& platform, const ScanJob& job, const std::atomic<bool>& stop, ScanReporter& reporter,
                 ScanClock& clock = SteadyScanClock());

}  // namespace vh
