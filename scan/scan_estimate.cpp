#include "scan/scan_estimate.h"

#include "hive/hive_copy.h"
#include "hive/hive_table.h"

namespace vh {

std::int64_t TickStepFromRate(std::int64_t raw) {
  std::int64_t step = raw < 10 ? raw + 10 : raw < 30 ? raw * 2 - 10 : raw;
  return step > 50 ? 50 : step;
}

void ScanEstimate::Reset() {
  bytesDone_ = 0;
  tickStep_ = 0;
  hivesDone_ = 0;
  stepLimit_ = 0;
  position_ = 0;
  timerEnabled_ = false;
}

void ScanEstimate::Start() {
  totalCurrentBytes_ = 0;
  for (const std::string& file : hiveFiles_) totalCurrentBytes_ += SizeOf(file);
  timerEnabled_ = true;
}

std::int64_t ScanEstimate::SizeOf(const std::string& path) const { return QueryFileSize(files_, path); }

std::int32_t ScanEstimate::PositionOf(std::int64_t bytes) const {
  // Empty or unreadable hive files sum to nothing: no progress to show.
  if (totalCurrentBytes_ <= 0) return 0;
  return std::int32_t(bytes * 1000 / totalCurrentBytes_);
}

void ScanEstimate::OnHiveDone(std::uint32_t firstHiveMs, std::int32_t done) {
  if (hivesDone_ >= HiveCount()) return;
  if (hivesDone_ == 0) {
    if (firstHiveMs == 0 || totalCurrentBytes_ <= 0) {
      tickStep_ = 40;
    } else {
      std::int64_t first = SizeOf(CopyPath(hiveFiles_[0]));
      tickStep_ = TickStepFromRate(first * 1000 * 1000 / (std::int64_t(firstHiveMs) * totalCurrentBytes_));
    }
    if (wow64_) tickStep_ /= 2;
  }
  bytesDone_ += SizeOf(hiveFiles_[std::size_t(hivesDone_)]);
  position_ = PositionOf(bytesDone_);
  if (hivesDone_ < HiveCount() - 1) {
    stepLimit_ = PositionOf(SizeOf(hiveFiles_[std::size_t(hivesDone_) + 1]) + bytesDone_);
  }
  hivesDone_ = done;
}

void ScanEstimate::OnTimerTick() {
  if (hivesDone_ >= HiveCount() || hivesDone_ < 0) return;
  std::int64_t copied = SizeOf(CopyPath(hiveFiles_[std::size_t(hivesDone_)]));
  if (copied == 0) {
    if (std::int64_t(stepLimit_) - tickStep_ > position_) position_ = std::int32_t(position_ + tickStep_);
  } else {
    position_ = PositionOf(bytesDone_ + copied);
  }
  if (position_ >= 1000) timerEnabled_ = false;
}

}  // namespace vh
