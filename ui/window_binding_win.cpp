// Binds each TWinControl to its window, dispatches the window's messages to
// it and paints it.
#include "ui/component_win.h"

#include <commctrl.h>

#include <exception>

#include "platform/text_win.h"
#include "ui/form_win.h"

namespace vh {

namespace {

const char kObjectProp[] = "VhControl";
const char kOwnClass[] = "VhWindow";

}  // namespace

TWinControl::~TWinControl() {
  *alive_ = false;
  // Children first (they unlink themselves), then our own window.
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    if (c->Owner() == nullptr) {
      delete c;
    } else {
      router_.Remove(*c);
      c->parent_ = nullptr;
      controls_.pop_back();
    }
  }
  if (hwnd_) {
    HWND h = hwnd_;
    if (subclassed_) RemoveWindowSubclass(h, SubclassProc, 0);
    RemovePropA(h, kObjectProp);
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<TWinControl*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

void TWinControl::CreateHandle(const char* className, DWORD style, DWORD exStyle, const std::string& text,
                               HWND parent, const Rect& bounds, const char* ownClass) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const bool own = className == nullptr;
  TControl::SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  HWND h = nullptr;
  if (own) {
    // The program's own windows are Unicode windows: their texts (a
    // caption in Chinese on a Western system) reach the title bar, the task
    // bar and a screen reader without passing through the ANSI code page.
    const std::wstring wideClass = Utf8ToWide(ownClass ? ownClass : kOwnClass);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, wideClass.c_str(), &wc)) {
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = StaticProc;
      wc.hInstance = instance;
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.hIcon = LoadIcon(instance, MAKEINTRESOURCE(1));
      wc.lpszClassName = wideClass.c_str();
      RegisterClassExW(&wc);
    }
    h = CreateWindowExW(exStyle, wideClass.c_str(), Utf8ToWide(text).c_str(), style, bounds.left, bounds.top,
                        bounds.Width(), bounds.Height(), parent, nullptr, instance, this);
  } else {
    h = CreateWindowExA(exStyle, className, text.c_str(), style, bounds.left, bounds.top, bounds.Width(),
                        bounds.Height(), parent, nullptr, instance, this);
  }
  if (!h) return;
  if (!own) BindStandardControl(h);
  SendMessageA(hwnd_, WM_SETFONT, WPARAM(FontHandle()), 0);
}

void TWinControl::CreateUnicodeHandle(const wchar_t* className, DWORD style, HWND parent, const Rect& bounds) {
  TControl::SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  HWND h = CreateWindowExW(0, className, L"", style, bounds.left, bounds.top, bounds.Width(), bounds.Height(), parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!h) return;
  BindStandardControl(h);
  SendMessageA(hwnd_, WM_SETFONT, WPARAM(FontHandle()), 0);
}

void TWinControl::BindStandardControl(HWND h) {
  hwnd_ = h;
  subclassed_ = true;
  SetPropA(h, kObjectProp, this);
  SetWindowSubclass(h, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

// Binds the object to its window in the window itself, once, at creation.
LRESULT CALLBACK TWinControl::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetPropA(hwnd, kObjectProp, self);
    }
  }
  TWinControl* self = FromHandle(hwnd);
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kObjectProp);
    if (self) self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<TWinControl*>(ref);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, 0);
    RemovePropA(hwnd, kObjectProp);
    self->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  return self->Dispatch(msg, wp, lp);
}

// No exception may cross into Win32: each is reported here.
LRESULT TWinControl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  try {
    return WndProc(msg, wp, lp);
  } catch (...) {
    ReportException();
    return 0;
  }
}

LRESULT TWinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (subclassed_) return DefSubclassProc(hwnd_, msg, wp, lp);
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (OwnsPainting()) return 1;
      break;
    case WM_PAINT:
      if (OwnsPainting()) {
        PaintWindow();
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (OwnsPainting()) {
        Canvas canvas{HDC(wp)};
        PaintClient(canvas, ClientRect());
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (HWND(wp) == hwnd_ && LOWORD(lp) == HTCLIENT && HandleSetCursor()) return TRUE;
      break;
    case WM_CONTEXTMENU:
      if (HWND(wp) == hwnd_ && HandleContextMenu(lp)) return 0;
      break;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      Carry(router_.Leave());
      return 0;
    case WM_CAPTURECHANGED:
      if (HWND(lp) != hwnd_) Carry(router_.CaptureLost());
      break;
    case WM_CANCELMODE:
      if (router_.Captured()) {
        Carry(router_.CaptureLost());
        if (GetCapture() == hwnd_) ReleaseCapture();
      }
      break;
    case WM_SETFOCUS:
      if (TForm* f = ParentForm(); f && f != this) f->NotifyFocusChanged(this);
      break;
    case WM_SYSCOLORCHANGE:
      SysColorChanged();
      ForEachControl([](TControl& c) {
        c.SysColorChanged();
        auto* w = dynamic_cast<TWinControl*>(&c);
        if (w && w->subclassed_ && w->hwnd_) SendMessageA(w->hwnd_, WM_SYSCOLORCHANGE, 0, 0);
      });
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      HWND child = msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : HWND(lp);
      TWinControl* target = child != hwnd_ ? FromHandle(child) : nullptr;
      LRESULT result = 0;
      if (target && target->Reflected(msg, wp, lp, result)) return result;
      break;
    }
    default:
      if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && HandleMouse(msg, wp, lp)) return 0;
      break;
  }
  return DefaultProc(msg, wp, lp);
}

// The paint cycle ends (EndPaint validates the area) before an error is
// shown, so a modal box neither holds the paint DC nor sees WM_PAINT return.
void TWinControl::PaintWindow() {
  std::exception_ptr failure;
  {
    PaintDC paint(hwnd_);
    const Rect area = paint.Area();
    if (area.IsEmpty()) return;
    try {
      DoubleBuffer buffer(paint.dc(), area);
      Canvas canvas(buffer.dc());
      PaintClient(canvas, area);
      buffer.Flush();
    } catch (...) {
      failure = std::current_exception();
    }
  }
  if (!failure || paintFailureShown_) return;
  paintFailureShown_ = true;
  ReportException(failure);
}

void TWinControl::PaintBackground(Canvas& canvas, const Rect& area) { canvas.FillRect(area, Color()); }

void TWinControl::PaintClient(Canvas& canvas, const Rect& area) {
  PaintBackground(canvas, area);
  for (TControl* c : controls_) {
    if (!c->IsWindowless() || !c->Visible()) continue;
    const Rect& b = c->BoundsRect();
    if (b.right <= area.left || b.left >= area.right || b.bottom <= area.top || b.top >= area.bottom) continue;
    HDC dc = canvas.Handle();
    SavedDCState saved(dc);
    OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
    IntersectClipRect(dc, 0, 0, b.Width(), b.Height());
    static_cast<TGraphicControl*>(c)->Paint(canvas);
  }
  PaintOverlay(canvas, area);
}

}  // namespace vh
