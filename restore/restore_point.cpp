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
