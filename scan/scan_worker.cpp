#include "scan/scan_worker.h"

#include <chrono>

#include "hive/hive_copy.h"

namespace vh {

namespace {

class SteadyClock final : public ScanClock {
 public:
  std::uint64_t NowMs() override {
    using namespace std::chrono;
    return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

}  // namespace

ScanClock& SteadyScanClock() {
  static SteadyClock clock;
  return clock;
}

ScanCompletion RunHiveScan(Platform& platform, const ScanJob& job, const std::atomic<bool>& stop, ScanReporter& reporter,
                 ScanClock& clock) {
  EnableBackupPrivilege(platform.privileges);
  std::uint32_t elapsed = 0;
  std::size_t i = 0;
  const std::size_t n = job.hives.size();
  while (i < n) {
    if (stop.load()) break;
    reporter.ShowHive(job.hives.HiveNames[i]);
    std::uint64_t started = i == 0 ? clock.NowMs() : 0;
    SaveHiveCopy(platform.registry, platform.files, job.hives.HiveNames[i], CopyPath(job.hives.HiveFiles[i]));
    if (i == 0) elapsed = std::uint32_t(clock.NowMs() - started);
    ++i;
    reporter.HiveDone(elapsed, std::int32_t(i));
  }
  bool goOn = i >= n;
  if (job.afterCopies && goOn) reporter.CopiesDone();
  if (job.afterCopies)
    goOn = job.afterCopies(goOn, stop, [&reporter](const std::string& hiveName) { reporter.ShowHive(hiveName); }) &&
           goOn;
  // The user who pressed Stop was told the run stops; whatever finished
  // meanwhile does not change that.
  if (stop.load()) goOn = false;
  if (!goOn) return ScanCompletion::Stopped;
  reporter.Finished();
  return ScanCompletion::Complete;
}

}  // namespace vh
