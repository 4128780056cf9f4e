#include "tests/wine/support/wait_win.h"

#include <gtest/gtest.h>

#include <exception>
#include <map>
#include <sstream>

#include "tests/wine/support/control_lookup.h"
#include "tests/wine/support/program_win.h"
#include "ui/form_win.h"

namespace vh::test {

namespace {

constexpr UINT kPollMs = 10;

bool Expired(DWORD start, int ms) { return int(GetTickCount() - start) >= ms; }

bool IsActiveInItsThread(HWND window, DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) && info.hwndActive == window;
}

bool Matches(HWND window, const WindowQuery& query) {
  if (!IsWindowVisible(window)) return false;
  DWORD process = 0;
  DWORD thread = GetWindowThreadProcessId(window, &process);
  if (query.processId && query.processId != process) return false;
  if (query.threadId && query.threadId != thread) return false;
  if (!query.className.empty() && ClassOf(window) != query.className) return false;
  if (!query.caption.empty() && CaptionOf(window) != query.caption) return false;
  return !query.active || IsActiveInItsThread(window, thread);
}

struct Search {
  const WindowQuery* query;
  HWND found;
};

BOOL CALLBACK StopAtMatch(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<Search*>(search);
  if (!Matches(window, *s->query)) return TRUE;
  s->found = window;
  return FALSE;
}

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

bool IsBox(HWND window) { return ClassOf(window) == "#32770"; }

// A box is ended through one of its own buttons: Windows' Yes/No box
// ignores WM_CLOSE, and Wine's ends with IDCANCEL, which it cannot give.
void Dismiss(HWND window) {
  if (IsBox(window)) {
    for (int id : {IDCANCEL, IDNO, IDABORT, IDOK}) {
      if (HasButton(window, id)) {
        PressButton(window, id);
        return;
      }
    }
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int deadlineMs) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (Expired(start, deadlineMs)) return condition();
    ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
  }
  return true;
}

bool WaitForInputHandled(int deadlineMs) {
  // Once the thread is told to quit, no loop takes what is left.
  auto handled = [] {
    MSG quit;
    return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) == 0 ||
           PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
  };
  return WaitUntil(handled, deadlineMs);
}

std::string Describe(const WindowQuery& query) {
  std::ostringstream out;
  out << (query.active ? "an active window" : "a window");
  if (!query.className.empty()) out << " of class " << query.className;
  if (query.processId) out << " of process " << query.processId;
  if (query.threadId) out << " of thread " << query.threadId;
  if (!query.caption.empty()) out << " captioned \"" << query.caption << '"';
  return out.str();
}

HWND FindShownWindow(const WindowQuery& query) {
  Search search{&query, nullptr};
  EnumWindows(StopAtMatch, LPARAM(&search));
  return search.found;
}

HWND WaitForWindow(const WindowQuery& query, int deadlineMs) {
  HWND found = nullptr;
  if (WaitUntil([&] { return (found = FindShownWindow(query)) != nullptr; }, deadlineMs)) return found;
  ADD_FAILURE() << Describe(query) << " never came within " << deadlineMs << " ms";
  return nullptr;
}

void CloseModalWindows() {
  const DWORD thread = GetCurrentThreadId();
  if (FindShownWindow(WindowQuery{"", "#32768", 0, thread, false})) EndMenu();
  std::vector<HWND> windows;
  EnumThreadWindows(thread, Collect, LPARAM(&windows));
  bool anyDisabled = false, closed = false;
  for (HWND w : windows) {
    if (!IsWindowVisible(w)) continue;
    if (!IsWindowEnabled(w)) {
      anyDisabled = true;
      continue;
    }
    HWND owner = GetWindow(w, GW_OWNER);
    if (IsBox(w) || (owner && !IsWindowEnabled(owner))) {
      Dismiss(w);
      closed = true;
    }
  }
  // A modal form without an owner disables the thread's other windows.
  HWND active = GetActiveWindow();
  if (!closed && anyDisabled && active) Dismiss(active);
}

struct PendingAnswer::State {
  std::string what;
  std::function<HWND()> find;
  std::function<void(HWND)> action;
  int deadlineMs = 0;
  DWORD start = 0;
  UINT_PTR timer = 0;
  bool answered = false;
  bool failed = false;
};

namespace {

std::map<UINT_PTR, std::shared_ptr<PendingAnswer::State>>& Waiting() {
  static std::map<UINT_PTR, std::shared_ptr<PendingAnswer::State>> waiting;
  return waiting;
}

void StopWaiting(PendingAnswer::State& state) {
  if (!state.timer) return;
  KillTimer(nullptr, state.timer);
  Waiting().erase(state.timer);
  state.timer = 0;
}

// Runs from whichever message loop dispatches the thread's timers: the
// program's modal loops, a box's, a menu's or the test's own pumping.
void CALLBACK Poll(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Waiting().find(id);
  if (it == Waiting().end()) {
    KillTimer(nullptr, id);
    return;
  }
  std::shared_ptr<PendingAnswer::State> state = it->second;
  HWND window = state->find();
  if (window) {
    StopWaiting(*state);
    state->answered = true;
    // Nothing may unwind through the window system's frames.
    try {
      state->action(window);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "answering " << state->what << ": " << e.what();
      CloseModalWindows();
    }
  } else if (Expired(state->start, state->deadlineMs)) {
    StopWaiting(*state);
    state->failed = true;
    ADD_FAILURE() << state->what << " never came within " << state->deadlineMs << " ms";
    CloseModalWindows();
  }
}

}  // namespace

PendingAnswer::~PendingAnswer() {
  if (!state_ || state_->answered || state_->failed) return;
  StopWaiting(*state_);
  ADD_FAILURE() << state_->what << " never came";
}

bool PendingAnswer::answered() const { return state_ && state_->answered; }

PendingAnswer WhenFound(std::string what, std::function<HWND()> find, std::function<void(HWND)> action,
                        int deadlineMs) {
  auto state = std::make_shared<PendingAnswer::State>();
  state->what = std::move(what);
  state->find = std::move(find);
  state->action = std::move(action);
  state->deadlineMs = deadlineMs;
  state->start = GetTickCount();
  state->timer = SetTimer(nullptr, 0, kPollMs, Poll);
  Waiting()[state->timer] = state;
  return PendingAnswer(state);
}

PendingAnswer WhenShown(const WindowQuery& query, std::function<void(HWND)> action, int deadlineMs) {
  return WhenFound(Describe(query), [query] { return FindShownWindow(query); }, std::move(action), deadlineMs);
}

PendingAnswer ClickWhenShown(const std::string& caption, std::vector<std::string> controls, int deadlineMs) {
  WindowQuery query{caption, "", 0, GetCurrentThreadId(), false};
  return WhenShown(
      query,
      [caption, controls](HWND window) {
        auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(window));
        if (!form) throw std::runtime_error("\"" + caption + "\" is not one of the program's forms");
        for (const std::string& name : controls) Control<TControl>(*form, name).Click();
      },
      deadlineMs);
}

}  // namespace vh::test
