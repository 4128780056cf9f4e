// The progress estimate of the scan dialog, in thousandths of the total size
// of all hive files: from the finished hives' own sizes, from the growing
// copy of the hive now being written and, while that copy is not visible
// yet, from a per-second step derived from the first hive's speed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vh {

// The per-tick step from the first hive's copy: rawUnits is what one second
// of copying at that speed is worth, in thousandths.
std::int64_t TickStepFromRate(std::int64_t rawUnits);

class ScanEstimate {
 public:
  ScanEstimate(Files& files, std::vector<std::string> hiveFiles, bool wow64)
      : files_(files), hiveFiles_(std::move(hiveFiles)), wow64_(wow64) {}

  // Reset when the dialog is shown.
  void Reset();
  // The scan starts: sums the hive files' sizes.
  void Start();
  // A hive-done report: firstHiveMs is the first hive's copy time, done the
  // count of finished hives.
  void OnHiveDone(std::uint32_t firstHiveMs, std::int32_t done);
  // The once-a-second timer.
  void OnTimerTick();

  std::int32_t Position() const { return position_; }
  bool TimerEnabled() const { return timerEnabled_; }

  std::int64_t TotalCurrentBytes() const { return totalCurrentBytes_; }
  std::int64_t BytesDone() const { return bytesDone_; }
  std::int64_t TickStep() const { return tickStep_; }
  std::int32_t HivesDone() const { return hivesDone_; }
  std::int32_t StepLimit() const { return stepLimit_; }

 private:
  std::int32_t PositionOf(std::int64_t bytes) const;
  std::int64_t SizeOf(const std::string& path) const;
  std::int32_t HiveCount() const { return std::int32_t(hiveFiles_.size()); }

  Files& files_;
  std::vector<std::string> hiveFiles_;
  bool wow64_;
  std::int64_t totalCurrentBytes_ = 0;
  std::int64_t bytesDone_ = 0;
  std::int64_t tickStep_ = 0;
  std::int32_t hivesDone_ = 0;
  std::int32_t stepLimit_ = 0;
  std::int32_t position_ = 0;
  bool timerEnabled_ = false;
};

}  // namespace vh
