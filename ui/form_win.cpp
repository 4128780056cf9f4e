#include "ui/form_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/controls_win.h"
#include "ui/tab_order.h"
#include "ui/window_messages_win.h"

namespace vh {

namespace {

bool KeyboardCuesAlways() {
  BOOL always = FALSE;
  SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &always, 0);
  return always != FALSE;
}

}  // namespace

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
  accessibleLink_ = std::make_shared<AccessibleHost*>(static_cast<AccessibleHost*>(this));
  // Focus marks and underlines stay hidden until the keyboard is used,
  // unless the user asked to see them always.
  if (Handle()) ChangeUIState(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL);
}

TForm::~TForm() {
  *accessibleLink_ = nullptr;  // objects a screen reader still holds answer "gone"
  focusedChild_ = nullptr;
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
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    // The tooltip is a window of its own: made after the form shows, as
    // nothing can hover over it before.
    RebuildHints();
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

ModalResult TForm::ShowModal() {
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
    case WM_GETOBJECT:
      if (exposeWindowless_) {
        if (LRESULT answer = AnswerGetObject(accessibleLink_, wp, lp)) return answer;
      }
      break;
    case WM_SETFOCUS:
      InvalidateFocusMark();
      if (focusedChild_ && exposeWindowless_) NotifyAccessibleFocus(Handle(), FocusedAccessibleChild());
      break;
    case WM_KILLFOCUS:
      CancelSpaceHold();
      InvalidateFocusMark();
      break;
    case WM_UPDATEUISTATE: {
      // Kept here as well: Wine's default handling does not keep a
      // top-level window's state.
      if (LOWORD(wp) == UIS_SET) uiState_ |= HIWORD(wp);
      else if (LOWORD(wp) == UIS_CLEAR) uiState_ &= ~unsigned(HIWORD(wp));
      LRESULT result = TWinControl::WndProc(msg, wp, lp);
      Invalidate();  // focus marks and underlines follow the new state
      return result;
    }
    case WM_QUERYUISTATE:
      return LRESULT(uiState_);
    case WM_ACCESSIBLEPRESS: {
      auto* target = reinterpret_cast<TControl*>(lp);
      for (const AccessibleChild& c : AccessibleChildren())
        if (c.control == target && target->Enabled()) {
          target->KeyboardPress();
          break;
        }
      return 0;
    }
    default: break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}

// What DefWindowProc does with WM_CHANGEUISTATE for a top-level window.
void TForm::ChangeUIState(WORD action, WORD flags) {
  SendMessageA(Handle(), WM_UPDATEUISTATE, MAKEWPARAM(action, flags), 0);
}

// The form keeps its own cue state (WM_QUERYUISTATE answers with it), so
// painting asks the member, not the window.
bool TForm::CuesShown(unsigned hideFlag) const { return KeyboardCuesAlways() || (uiState_ & hideFlag) == 0; }

bool TForm::FocusCuesShown() const { return CuesShown(UISF_HIDEFOCUS); }

bool TForm::AcceleratorCuesShown() const { return CuesShown(UISF_HIDEACCEL); }

namespace {

// The dotted mark sits inside the control, clear of a flat button's frame;
// round a label's text, which has no frame.
Rect FocusMarkRect(const TControl& c) {
  const Rect& b = c.BoundsRect();
  if (dynamic_cast<const TLabel*>(&c)) return Rect{b.left - 1, b.top - 1, b.right + 1, b.bottom + 1};
  const int inset = b.Width() > 8 && b.Height() > 8 ? 3 : 0;
  return Rect{b.left + inset, b.top + inset, b.right - inset, b.bottom - inset};
}

}  // namespace

void TForm::InvalidateFocusMark() {
  if (focusedChild_) InvalidateChild(FocusMarkRect(*focusedChild_));
}

void TForm::PaintOverlay(Canvas& canvas, const Rect&) {
  if (!focusedChild_ || !focusedChild_->Visible() || GetFocus() != Handle() || !FocusCuesShown()) return;
  RECT r = ToRECT(FocusMarkRect(*focusedChild_));
  SetTextColor(canvas.Handle(), RGB(0, 0, 0));
  SetBkColor(canvas.Handle(), RGB(255, 255, 255));
  DrawFocusRect(canvas.Handle(), &r);
}

bool TForm::CanFocus(TControl& c) const {
  if (!c.Visible() || !c.Enabled()) return false;
  if (auto* w = dynamic_cast<TWinControl*>(&c))
    return w->Handle() && IsWindowVisible(w->Handle()) && IsWindowEnabled(w->Handle());
  return c.Parent() && (c.Parent() == this || c.Parent()->Visible());
}

void TForm::FocusControl(TControl& c) {
  if (auto* w = dynamic_cast<TWinControl*>(&c)) {
    SetFocusedChild(nullptr);
    w->SetFocus();
  } else {
    SetFocusedChild(&c);
  }
}

void TForm::SetFocusedChild(TControl* c) {
  if (c == focusedChild_) {
    if (c && GetFocus() != Handle()) ::SetFocus(Handle());
    return;
  }
  CancelSpaceHold();
  InvalidateFocusMark();
  focusedChild_ = c;
  if (!c) return;
  InvalidateFocusMark();
  if (GetFocus() != Handle()) {
    ::SetFocus(Handle());  // WM_SETFOCUS raises the focus event
  } else if (exposeWindowless_) {
    NotifyAccessibleFocus(Handle(), FocusedAccessibleChild());
  }
}

std::vector<TControl*> TForm::TabOrder() {
  std::vector<TControl*> stops;
  std::vector<Rect> where;
  ForEachControl([&](TControl& c) {
    auto* w = dynamic_cast<TWinControl*>(&c);
    bool stop = w ? (w->Handle() && (GetWindowLongA(w->Handle(), GWL_STYLE) & WS_TABSTOP) != 0) : c.tabStop;
    if (!stop) return;
    Point at = ScreenToClient(c.ClientToScreen(Point{0, 0}));
    stops.push_back(&c);
    where.push_back(MakeRect(at.x, at.y, c.Width(), c.Height()));
  });
  std::vector<TControl*> order;
  for (int i : ReadingOrder(where)) order.push_back(stops[std::size_t(i)]);
  return order;
}

bool TForm::TabStep(bool backward) {
  std::vector<TControl*> order = TabOrder();
  if (order.empty()) return false;
  StepFocus(order, backward);
  return true;
}

bool TForm::ArrowStep(bool backward) {
  if (!focusedChild_ || GetFocus() != Handle()) return false;
  std::vector<TControl*> group = ArrowGroup();
  if (std::find(group.begin(), group.end(), focusedChild_) == group.end()) return false;
  StepFocus(group, backward);
  return true;
}

void TForm::HoldSpace() {
  TControl* c = focusedChild_;
  if (!c || c == spaceHeld_ || !c->Enabled() || !c->Visible()) return;
  if (c->KeyboardHold(true)) spaceHeld_ = c;
}

bool TForm::ReleaseSpace() {
  TControl* c = spaceHeld_;
  if (!c) return false;
  spaceHeld_ = nullptr;
  c->KeyboardHold(false);
  if (c == focusedChild_ && c->Enabled() && c->Visible() && GetFocus() == Handle()) c->KeyboardPress();
  return true;
}

void TForm::CancelSpaceHold() {
  TControl* c = spaceHeld_;
  spaceHeld_ = nullptr;
  if (c) c->KeyboardHold(false);
}

void TForm::StepFocus(const std::vector<TControl*>& order, bool backward) {
  HWND focus = GetFocus();
  int current = -1;
  std::vector<bool> available;
  for (std::size_t i = 0; i < order.size(); ++i) {
    TControl* c = order[i];
    available.push_back(CanFocus(*c));
    auto* w = dynamic_cast<TWinControl*>(c);
    bool has = w ? (w->Handle() && (focus == w->Handle() || IsChild(w->Handle(), focus)))
                 : (c == focusedChild_ && focus == Handle());
    if (has) current = int(i);
  }
  int next = NextTabStop(available, current, backward);
  if (next >= 0) FocusControl(*order[std::size_t(next)]);
}

void TForm::ControlBecameUnavailable(TControl& c) {
  if (&c != focusedChild_) return;
  if (GetFocus() == Handle()) {
    TabStep(false);
    if (focusedChild_ != &c) return;
  }
  InvalidateFocusMark();
  focusedChild_ = nullptr;
}

std::vector<AccessibleChild> TForm::AccessibleChildren() {
  std::vector<AccessibleChild> out;
  const bool formFocused = GetFocus() == Handle();
  for (TControl* c : Controls()) {
    if (!c->Visible()) continue;
    AccessibleChild child;
    child.control = c;
    if (c->Describe(child.element)) {
      auto* w = dynamic_cast<TWinControl*>(c);
      bool focused = w ? (w->Handle() && GetFocus() == w->Handle()) : (c == focusedChild_ && formFocused);
      if (focused) child.element.state |= kAccFocused;
      out.push_back(child);
    } else if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Handle()) {
      child.window = w->Handle();
      child.element.bounds = w->BoundsRect();
      out.push_back(child);
    }
  }
  return out;
}

int TForm::FocusedAccessibleChild() {
  if (!focusedChild_) return -1;
  std::vector<AccessibleChild> children = AccessibleChildren();
  for (std::size_t i = 0; i < children.size(); ++i)
    if (children[i].control == focusedChild_) return int(i);
  return -1;
}

void TForm::PostAccessiblePress(int index) {
  std::vector<AccessibleChild> children = AccessibleChildren();
  if (index < 0 || std::size_t(index) >= children.size()) return;
  PostMessageA(Handle(), WM_ACCESSIBLEPRESS, 0, reinterpret_cast<LPARAM>(children[std::size_t(index)].control));
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
  if (focusedChild_ && CanFocus(*focusedChild_)) {
    ::SetFocus(Handle());
    return;
  }
  HWND last = activeControl_ ? activeControl_->Handle() : nullptr;
  if (last && IsChild(Handle(), last) && IsWindowVisible(last) && IsWindowEnabled(last)) {
    ::SetFocus(last);
    return;
  }
  for (TControl* c : TabOrder())
    if (CanFocus(*c)) {
      FocusControl(*c);
      return;
    }
}

void TForm::NotifyFocusChanged(TWinControl* focused) {
  activeControl_ = focused;
  if (focused && focused != this) {
    CancelSpaceHold();
    InvalidateFocusMark();
    focusedChild_ = nullptr;
  }
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
      case WM_SYSKEYDOWN:
        // Alt shows the underlined accelerators.
        if (msg.wParam == VK_MENU)
          form->ChangeUIState(UIS_CLEAR, UISF_HIDEACCEL);
        return false;
      case WM_SYSCHAR: return form->DispatchDialogChar(char(msg.wParam));
      case WM_CHAR:
        if (WantsChars(msg.hwnd) && TWinControl::FromHandle(msg.hwnd) != form) return false;
        return form->DispatchDialogChar(char(msg.wParam));
      case WM_KEYDOWN:
        if (msg.hwnd == form->Handle() && form->FocusedChild()) {
          TControl* focused = form->FocusedChild();
          if (msg.wParam == VK_RETURN) {
            if (focused->Enabled() && focused->Visible()) focused->KeyboardPress();
            return true;
          }
          if (msg.wParam == VK_SPACE) {
            form->HoldSpace();  // the key's repeats find the hold under way
            return true;
          }
          if ((msg.wParam == VK_UP || msg.wParam == VK_DOWN) && form->ArrowStep(msg.wParam == VK_UP)) {
            form->ChangeUIState(UIS_CLEAR, UISF_HIDEFOCUS);
            return true;
          }
        }
        if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) return form->DispatchDialogKey(int(msg.wParam));
        if (msg.wParam == VK_TAB) {
          // The keyboard is in use: focus marks show from now on.
          form->ChangeUIState(UIS_CLEAR, UISF_HIDEFOCUS);
          if (form->TabStep(GetKeyState(VK_SHIFT) < 0)) return true;
          HWND next = GetNextDlgTabItem(form->Handle(), GetFocus(), GetKeyState(VK_SHIFT) < 0);
          if (next) SetFocus(next);
          return next != nullptr;
        }
        return false;
      case WM_KEYUP:
        return msg.wParam == VK_SPACE && form->ReleaseSpace();
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
