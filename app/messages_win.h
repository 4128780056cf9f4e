// The program's private window messages.
#pragma once

#include <windows.h>

namespace vh {

constexpr UINT WM_WAKEINSTANCE = 0x6604;
constexpr UINT WM_RUNSILENT = 0x6606;
constexpr UINT WM_RUNSCAN = 0x6607;
constexpr UINT WM_RUNUNDO = 0x6609;

// The main window's own timer: a restart that was asked for but never came.
constexpr UINT_PTR kRestartWatchTimer = 0x5652;

}  // namespace vh
