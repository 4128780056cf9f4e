// What the restore point dialog needs that is not a window: the request it
// makes, whether the point it got is its own, the outcome it reports, the
// step it answers with, and the pace of its bar.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace vh {

// How the restore point step of a run went; the journal records it.
enum class RestorePointStep {
  NotAsked,      // the option is off, or the run is unattended
  NotOffered,    // this Windows has no System Restore
  Created,
  Reused,        // Windows made no new point: its point of the last day covers the run
  FailedWentOn,  // creation failed and the user chose to go on
  Stopped,       // creation failed or was abandoned, and the run stopped there
};

// What the restore point step came to, and the sequence number that ends
// the change it opened (Created only: a reused point is never ended).
struct RestorePointMade {
  RestorePointStep step = RestorePointStep::NotAsked;
  std::int64_t sequenceNumber = 0;
  // Reused: when Windows made the point, as the user reads it; empty when
  // unknown.
  std::string reusedTime;
};

// What the restore point is made before: its failure question names it.
enum class RestorePointFor { Defragmentation, Undo };

// BEGIN_SYSTEM_CHANGE for an APPLICATION_INSTALL, "Made by Quillmere".
RestorePointRequest MakeRestorePointRequest();

// What a request to begin a restore point came to. From Windows 8 on,
// System Restore makes no point within a day of the last one: the request
// succeeds with that point's sequence number ("Calling SRSetRestorePoint").
// Only a point the request made is ever ended or cancelled: cancelling
// another would delete it (Windows Update's of this morning, say).
struct RestorePointBegun {
  RestorePointResult result;
  bool ours = false;
  std::uint64_t existingTime = 0;  // not ours: when it was made (UTC, FILETIME units); 0 unknown
};

// Windows 8 (6.2) and later make at most one point a day.
bool OneRestorePointADay(const OsVersion& version);

// Lists the points System Restore keeps, asks for a new one, and tells
// whether the answer is a new point: one numbered above every point listed
// before. Without that list: every point is new before Windows 8; from
// Windows 8 on, one that is listed afterwards as made since started (now,
// taken before the request), and none else.
RestorePointBegun BeginRestorePoint(RestoreClient& restore, bool oneADay, std::uint64_t started);

// lParam of the restore point worker's message: 0 created, 1 failed. A library or entry
// point that is missing counts as a failed creation, so the user decides.
std::intptr_t RestorePointResultCode(RestoreOutcome outcome);

// The bar shows elapsed time: +10 up to 30, +5 to 50, +3 to 60, +2 to 80,
// +1 to 99, then it stays.
int NextRestoreProgress(int position);

}  // namespace vh
