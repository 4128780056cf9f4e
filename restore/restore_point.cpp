#include "restore/restore_point.h"

namespace vh {

RestorePointRequest MakeRestorePointRequest() {
  RestorePointRequest request;
  request.eventType = 100;       // BEGIN_SYSTEM_CHANGE
  request.restorePointType = 0;  // APPLICATION_INSTALL
  request.sequenceNumber = 0;
  request.description = "Made by Quillmere";
  return request;
}

bool OneRestorePointADay(const OsVersion& version) {
  return version.major > 6 || (version.major == 6 && version.minor >= 2);
}

namespace {

const ListedRestorePoint* Numbered(const std::vector<ListedRestorePoint>& points, std::int64_t sequenceNumber) {
  for (const ListedRestorePoint& p : points)
    if (p.sequenceNumber == sequenceNumber) return &p;
  return nullptr;
}

}  // namespace

RestorePointBegun BeginRestorePoint(RestoreClient& restore, bool oneADay, std::uint64_t started) {
  const std::optional<std::vector<ListedRestorePoint>> before = restore.ListRestorePoints();
  RestorePointBegun begun{restore.SetRestorePoint(MakeRestorePointRequest())};
  if (begun.result.outcome != RestoreOutcome::Created) return begun;
  const std::int64_t number = begun.result.sequenceNumber;
  const ListedRestorePoint* existing = nullptr;
  if (before) {
    begun.ours = true;
    for (const ListedRestorePoint& p : *before) begun.ours = begun.ours && number > p.sequenceNumber;
    existing = Numbered(*before, number);
  } else if (!oneADay) {
    begun.ours = true;
  } else {
    const std::optional<std::vector<ListedRestorePoint>> after = restore.ListRestorePoints();
    existing = after ? Numbered(*after, number) : nullptr;
    begun.ours = existing && existing->created >= started;
  }
  if (!begun.ours && existing) begun.existingTime = existing->created;
  return begun;
}

std::intptr_t RestorePointResultCode(RestoreOutcome outcome) { return outcome == RestoreOutcome::Created ? 0 : 1; }

int NextRestoreProgress(int p) {
  if (p <= 30) return p + 10;
  if (p <= 50) return p + 5;
  if (p <= 60) return p + 3;
  if (p <= 80) return p + 2;
  if (p <= 99) return p + 1;
  return p;
}

}  // namespace vh
