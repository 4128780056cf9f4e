#include "tests/wine/support/ui_test_support.h"

#include "tests/wine/support/footprint.h"

namespace vh::test {

Bitmap PaintClientToBitmap(TWinControl& control) {
  Bitmap out(control.Width(), control.Height(), 0);
  MemoryDC dc(out.Handle());
  Canvas canvas(dc.get());
  control.PaintClient(canvas, control.ClientRect());
  return out;
}

void PumpFor(int ms) {
  DWORD end = GetTickCount() + DWORD(ms);
  while (int(end - GetTickCount()) > 0) {
    ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  ProcessMessages();
}

void SendMouse(TWinControl& target, UINT msg, int x, int y, WPARAM keys) {
  SendMessageA(target.Handle(), msg, keys, MAKELPARAM(x, y));
}
void Press(TWinControl& target, int x, int y) { SendMouse(target, WM_LBUTTONDOWN, x, y, MK_LBUTTON); }
void Release(TWinControl& target, int x, int y) { SendMouse(target, WM_LBUTTONUP, x, y, 0); }
void MoveHeld(TWinControl& target, int x, int y) { SendMouse(target, WM_MOUSEMOVE, x, y, MK_LBUTTON); }
void Move(TWinControl& target, int x, int y) { SendMouse(target, WM_MOUSEMOVE, x, y, 0); }

FormDef TestFormDef(const std::string& name, int width, int height) {
  FormDef frame;
  frame.name = name;
  frame.caption = name;
  frame.clientWidth = width;
  frame.clientHeight = height;
  frame.border = TBorderStyle::bsNone;
  frame.position = TPosition::poScreenCenter;
  frame.color = kTestBackground;
  return frame;
}

// GetGuiResources answers 0 under Wine: the counts come from what Wine keeps
// (see footprint.h), so a leak shows there too.
DWORD GdiObjects() {
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  return n ? n : CountGdiObjects();
}
DWORD UserObjects() {
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  return n ? n : CountWindows();
}

}  // namespace vh::test
