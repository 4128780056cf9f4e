// A picture of what a window shows on the screen, saved as a PNG into the
// build folder's screenshots/ (VH_BINARY_DIR), so that a run leaves what it
// checked to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vh::test {

// The screen's pixels inside r, top row first, 0x00RRGGBB each; empty for an
// empty rectangle.
std::vector<std::uint32_t> CaptureScreenRect(const RECT& r);

// The window's rectangle as the screen shows it, written to
// <VH_BINARY_DIR>/screenshots/<name>.png; false when it could not be.
bool SaveScreenshot(HWND window, const std::string& name);

}  // namespace vh::test
