// The program's private window messages.
#pragma once

#include <windows.h>

namespace vh {

constexpr UINT WM_SCANSTART = 0x6602;
constexpr UINT WM_HIVEDONE = 0x6603;
constexpr UINT WM_WAKEINSTANCE = 0x6604;
constexpr UINT WM_RESTOREPOINTDONE = 0x6605;
constexpr UINT WM_RUNSILENT = 0x6606;
constexpr UINT WM_RUNSCAN = 0x6607;
// The scan worker's status text changed; the text itself waits in the
// state both sides share, so nothing is lost if the dialog is gone.
constexpr UINT WM_SCANSTATUS = 0x6608;
constexpr UINT WM_RUNUNDO = 0x6609;

}  // namespace vh
