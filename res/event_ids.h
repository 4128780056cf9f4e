// The events varnhold.exe writes to the Application log under the source
// "Varnhold". Their texts are the message table compiled from
// res/varnhold_events.mc; each number here is a MessageId there.
#pragma once

#include <cstdint>

namespace vh {

enum EventId : std::uint32_t {
  kEventDefragScheduled = 100,         // information: the hives a defragmentation scheduled
  kEventDefragNothingScheduled = 101,  // error: a defragmentation scheduled no swap
  kEventUndoScheduled = 102,           // information: the hives an undo scheduled to swap back
  kEventUndoNothingScheduled = 103,    // error: an undo scheduled no swap back
  kEventRestartNotStarted = 104,       // error: swaps are scheduled but the restart failed
  kEventScanEnded = 110,               // /Scan ended
  kEventSilentEnded = 111,             // /Silent ended
  kEventUndoEnded = 112,               // /Undo ended
  kEventCommandLineRefused = 113,      // an unattended start whose command line was refused
};

constexpr EventId kEveryEventId[] = {kEventDefragScheduled,  kEventDefragNothingScheduled, kEventUndoScheduled,
                                     kEventUndoNothingScheduled, kEventRestartNotStarted,   kEventScanEnded,
                                     kEventSilentEnded,      kEventUndoEnded,              kEventCommandLineRefused};

}  // namespace vh
