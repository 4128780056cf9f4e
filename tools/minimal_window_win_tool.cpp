// The smallest program of the project that shows a window: the yardstick of
// the start-up benchmark. It registers a class, shows a borderless window of
// the main window's size and style, and ends when the window is closed, or
// right after its first paint when started with /exit-on-paint.
#include <windows.h>

#include <cstring>

#include "app/main_layout_win.h"

namespace {

const char kClassName[] = "Varnhold Minimal Window";
bool exitOnPaint = false;

LRESULT CALLBACK MinimalProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      if (exitOnPaint) DestroyWindow(window);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, msg, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  exitOnPaint = std::strstr(commandLine, "/exit-on-paint") != nullptr;
  WNDCLASSA wc{};
  wc.lpfnWndProc = MinimalProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return 1;
  const int width = vh::kMainClientWidth, height = vh::kMainClientHeight;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, "Minimal", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, x,
                                y, width, height, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
