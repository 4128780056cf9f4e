// Helpers for the Wine tests of the component layer and the flat controls.
#pragma once

#include <windows.h>

#include <string>

#include "ui/component_win.h"
#include "ui/form_win.h"
#include "ui/gdi_win.h"

namespace vh::test {

// The control's client area as its WM_PAINT would draw it, in memory.
Bitmap PaintClientToBitmap(TWinControl& control);

// Runs messages (timers included) for about ms milliseconds.
void PumpFor(int ms);

// Mouse messages as the window system would send them to a window.
void SendMouse(TWinControl& target, UINT msg, int x, int y, WPARAM keys = 0);
void Press(TWinControl& target, int x, int y);
void Release(TWinControl& target, int x, int y);
void MoveHeld(TWinControl& target, int x, int y);
void Move(TWinControl& target, int x, int y);

// A plain form with a distinctive background, created in the middle of the
// desktop and not shown.
FormDef TestFormDef(const std::string& name, int width = 320, int height = 200);
constexpr Colour kTestBackground = 0x00C87814;  // RGB(20, 120, 200)

// GDI and USER objects of this process.
DWORD GdiObjects();
DWORD UserObjects();

}  // namespace vh::test
