#include "ui/form_win.h"

#include <commctrl.h>

#include <vector>

namespace vh {

TForm::TForm(TForm* owner, const FormDef& frame)
    : TWinControl(owner, nullptr, frame.name), ownerForm_(owner), frame_(frame) {
  SetFont(frame.font);
  SetParentFont(false);
  SetColor(frame.color);
  SetCaption(frame.caption);
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (frame.border == TBorderStyle::bsDialog) {
    style |= WS_CAPTION | (frame.closeBox ? WS_SYSMENU : 0);
    exStyle |= WS_EX_DLGMODALFRAME;
  }
  RECT r{0, 0, frame.clientWidth, frame.clientHeight};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  CreateHandle(nullptr, style, exStyle, frame.caption, owner ? owner->Handle() : nullptr,
               MakeRect(frame.left, frame.top, r.right - r.left, r.bottom - r.top),
               frame.className.empty() ? nullptr : frame.className.c_str());
  // Bounds of a form are those of its window; the client area is what the
  // layout was designed for.
  TControl::SetBounds(frame.left, frame.top, frame.clientWidth, frame.clientHeight);
  SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  TControl::SetVisible(false);
}

TForm::~TForm() {
  DestroyComponents();
  if (tooltip_) DestroyWindow(tooltip_);
}

void TForm::Created() {
  if (created_) return;
  created_ = true;
  FormCreate();
}

void TForm::PlaceWindow() {
  RECT w;
  GetWindowRect(Handle(), &w);
  int width = w.right - w.left, height = w.bottom - w.top;
  RECT area;
  if (frame_.position == TPosition::poDesigned) return;
  if (frame_.position == TPosition::poOwnerFormCenter && ownerForm_ && ownerForm_->Handle()) {
    GetWindowRect(ownerForm_->Handle(), &area);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  int x = area.left + ((area.right - area.left) - width) / 2;
  int y = area.top + ((area.bottom - area.top) - height) / 2;
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
  if (Visible() && IsWindowVisible(Handle())) {
    SetForegroundWindow(Handle());
    return;
  }
  PlaceWindow();
  FormShow();
  TControl::SetVisible(true);
}

void TForm::VisibleChanged() {
  if (Visible()) {
    RebuildHints();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
  } else {
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TForm::Hide() { TControl::SetVisible(false); }

bool TForm::RunCloseHandler() {
  TCloseAction action = isMainForm ? TCloseAction::caFree : TCloseAction::caHide;
  FormClose(action);
  return action != TCloseAction::caNone;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;  // the modal loop runs FormClose when it sees the result
  }
  bool closes = true;
  try {
    closes = RunCloseHandler();
  } catch (...) {
    // The main window's close handler failing must not keep the program
    // from ending: report it, and close all the same.
    if (!isMainForm) throw;
    ReportException();
  }
  if (!closes) return;
  Hide();
  if (isMainForm) PostQuitMessage(0);
}

namespace {

// Disables the thread's other top-level windows for a modal form and
// enables them again afterwards.
class TaskWindowsDisabled {
 public:
  explicit TaskWindowsDisabled(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    for (HWND h : windows_) EnableWindow(h, FALSE);
  }
  ~TaskWindowsDisabled() {
    for (HWND h : windows_)
      if (IsWindow(h)) EnableWindow(h, TRUE);
  }

 private:
  static BOOL CALLBACK Collect(HWND h, LPARAM self) {
    auto* me = reinterpret_cast<TaskWindowsDisabled*>(self);
    if (h != me->except_ && IsWindowVisible(h) && IsWindowEnabled(h)) me->windows_.push_back(h);
    return TRUE;
  }
  HWND except_;
  std::vector<HWND> windows_;
};

}  // namespace

int TForm::ShowModal() {
  HWND previous = GetActiveWindow();
  modalResult_ = mrNone;
  modal_ = true;
  {
    TaskWindowsDisabled disabled(Handle());
    Show();
    MSG msg;
    while (true) {
      if (modalResult_ != mrNone) {
        if (RunCloseHandler()) break;
        modalResult_ = mrNone;
      }
      if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
        PostQuitMessage(int(msg.wParam));
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        break;
      }
      if (!PreTranslateMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  Hide();
  modal_ = false;
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  return modalResult_;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ACTIVATE: {
      if (LOWORD(wp) == WA_INACTIVE) break;
      // The default handling gives the focus to the form itself; like a
      // dialog, the form hands it on to the control that last had it, or to
      // the first in the tab order.
      LRESULT result = TWinControl::WndProc(msg, wp, lp);
      if (!HIWORD(wp)) FocusFirstControl();
      FormActivate();
      return result;
    }
    case WM_MOUSEMOVE:
      if (hintsDirty_) RebuildHints();
      break;
    default: break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

void TForm::UpdateHints() {
  hintsDirty_ = true;
  if (Visible()) RebuildHints();
}

void TForm::RebuildHints() {
  hintsDirty_ = false;
  if (!Handle()) return;
  if (!tooltip_) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                               0, 0, Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!tooltip_) return;
  }
  while (SendMessageA(tooltip_, TTM_GETTOOLCOUNT, 0, 0) > 0) {
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    SendMessageA(tooltip_, TTM_ENUMTOOLSA, 0, LPARAM(&ti));
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, LPARAM(&ti));
  }
  UINT_PTR id = 1;
  ForEachControl([&](TControl& c) {
    if (!c.ShowHint() || c.Hint().empty() || !c.Visible()) return;
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.lpszText = const_cast<char*>(c.Hint().c_str());
    if (auto* w = dynamic_cast<TWinControl*>(&c)) {
      ti.uFlags |= TTF_IDISHWND;
      ti.hwnd = Handle();
      ti.uId = UINT_PTR(w->Handle());
    } else {
      ti.hwnd = c.Parent()->Handle();
      ti.uId = id++;
      ti.rect = ToRECT(c.BoundsRect());
    }
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, LPARAM(&ti));
  });
}

void TForm::FocusFirstControl() {
  HWND focus = GetFocus();
  if (focus && focus != Handle() && IsChild(Handle(), focus)) return;
  HWND last = activeControl_ ? activeControl_->Handle() : nullptr;
  if (last && IsChild(Handle(), last) && IsWindowVisible(last) && IsWindowEnabled(last)) {
    ::SetFocus(last);
    return;
  }
  if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) ::SetFocus(first);
}

void TForm::NotifyFocusChanged(TWinControl* focused) {
  activeControl_ = focused;
  ForEachControl([focused](TControl& c) { c.FocusChanged(focused); });
}

bool TForm::DispatchDialogChar(char c) {
  return AnyControl([c](TControl& control) { return control.Visible() && control.DialogChar(c); });
}

bool TForm::DispatchDialogKey(int vk) {
  return AnyControl([vk](TControl& control) { return control.Visible() && control.DialogKey(vk); });
}

namespace {

TForm* FormOf(HWND hwnd) {
  for (HWND h = hwnd; h; h = GetParent(h)) {
    if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(h))) return form;
    if (!(GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) break;
  }
  return nullptr;
}

bool WantsChars(HWND h) { return (SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) != 0; }

}  // namespace

bool PreTranslateMessage(MSG& msg) {
  TForm* form = FormOf(msg.hwnd);
  if (!form) return false;
  try {
    switch (msg.message) {
      case WM_SYSCHAR: return form->DispatchDialogChar(char(msg.wParam));
      case WM_CHAR:
        if (WantsChars(msg.hwnd) && TWinControl::FromHandle(msg.hwnd) != form) return false;
        return form->DispatchDialogChar(char(msg.wParam));
      case WM_KEYDOWN:
        if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) return form->DispatchDialogKey(int(msg.wParam));
        if (msg.wParam == VK_TAB) {
          HWND next = GetNextDlgTabItem(form->Handle(), GetFocus(), GetKeyState(VK_SHIFT) < 0);
          if (next) SetFocus(next);
          return next != nullptr;
        }
        return false;
      default: return false;
    }
  } catch (...) {
    ReportException();
    return true;
  }
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return int(msg.wParam);
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    if (PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace vh
