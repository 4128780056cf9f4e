// Waiting for windows with a deadline instead of a fixed delay: a window or
// box that comes late is still answered, and one that never comes fails the
// test promptly, naming what was awaited, with whatever modal window is up
// closed so that no modal loop waits for ever.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vh::test {

// Bounds a failure only: a passing wait ends as soon as its condition holds.
constexpr int kWaitDeadlineMs = 10000;

// Runs this thread's messages until condition() holds or deadlineMs has
// passed; says whether it held.
bool WaitUntil(const std::function<bool()>& condition, int deadlineMs = kWaitDeadlineMs);

// Runs this thread's messages until the input sent to it, and the messages
// that input posted, have all been handled (or the thread was told to quit).
bool WaitForInputHandled(int deadlineMs = kWaitDeadlineMs);

// A visible top-level window, by what is known of it; an empty or zero
// field matches anything.
struct WindowQuery {
  std::string caption;
  std::string className;
  DWORD processId = 0;
  DWORD threadId = 0;
  bool active = false;  // also the active window of its thread (keys go there)
};
std::string Describe(const WindowQuery& query);
HWND FindShownWindow(const WindowQuery& query);

// The window once shown, pumping messages meanwhile; null, with the test
// failed naming it, when it never came.
HWND WaitForWindow(const WindowQuery& query, int deadlineMs = kWaitDeadlineMs);

// Closes the windows that hold this thread in a modal loop: a popup menu,
// and each enabled window whose owner it disabled (a box by its most
// cautious button: Cancel, No, Abort, then OK). With none of those, the
// active window is asked to close.
void CloseModalWindows();

// An action waiting, from inside whatever message loop runs, for a window.
// When the deadline passes first the test fails naming what never came, and
// the modal windows are closed. Going out of scope unanswered fails the
// test too (the window was expected while it lived) and stops the wait.
class PendingAnswer {
 public:
  struct State;
  explicit PendingAnswer(std::shared_ptr<State> state) : state_(std::move(state)) {}
  PendingAnswer(PendingAnswer&&) = default;
  PendingAnswer& operator=(PendingAnswer&&) = delete;
  ~PendingAnswer();
  bool answered() const;

 private:
  std::shared_ptr<State> state_;
};

// Runs action(window) once find() returns a window; what names it in a
// failure. An exception thrown by action fails the test with its text.
[[nodiscard]] PendingAnswer WhenFound(std::string what, std::function<HWND()> find,
                                      std::function<void(HWND)> action, int deadlineMs = kWaitDeadlineMs);
[[nodiscard]] PendingAnswer WhenShown(const WindowQuery& query, std::function<void(HWND)> action,
                                      int deadlineMs = kWaitDeadlineMs);
// Clicks the program's controls of that name, in order, on the form with
// that caption once it is shown.
[[nodiscard]] PendingAnswer ClickWhenShown(const std::string& caption, std::vector<std::string> controls,
                                           int deadlineMs = kWaitDeadlineMs);

}  // namespace vh::test
