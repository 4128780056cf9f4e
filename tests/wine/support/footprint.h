// What a process holds, for soak tests: GDI objects, windows, kernel handles
// and working set. Wine answers GetGuiResources and GetProcessHandleCount
// with 0, so the counts come from what Wine does keep: its GDI handle table
// (the one Windows also maps into every process) and the windows and handles
// that exist.
#pragma once

#include <windows.h>

namespace vh::test {

struct Footprint {
  DWORD gdi = 0;      // GDI objects, stock objects included
  DWORD windows = 0;  // USER objects: every window of the process
  DWORD handles = 0;  // kernel handles
  SIZE_T workingSet = 0;
  SIZE_T peakWorkingSet = 0;
};

// False when none of the counts can be had: a soak would measure nothing.
bool CanCountGdiObjects();
DWORD CountGdiObjects();
DWORD CountWindows();
DWORD CountHandles();
Footprint MeasureFootprint();

}  // namespace vh::test
