// Top-level windows. A form is borderless or has a fixed dialog frame, is
// centred on its owner or on the desktop, and calls the virtual handlers
// FormCreate, FormShow, FormActivate and FormClose that each window class
// overrides. ShowModal runs a nested message loop until ModalResult is set.
#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "ui/accessible_win.h"
#include "ui/component_win.h"
#include "ui/modal_result.h"

namespace vh {

enum class TBorderStyle { bsNone, bsDialog };
enum class TPosition { poDesigned, poScreenCenter, poOwnerFormCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

struct FormDef {
  std::string name;
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  TBorderStyle border = TBorderStyle::bsDialog;
  bool closeBox = true;  // bsDialog only: the title bar's close button
  TPosition position = TPosition::poOwnerFormCenter;
  FontDef font;
  Colour color = kColourBtnFace;
  std::string className;  // registered for this form when given
  int left = 0, top = 0;  // poDesigned only
};

// A dialog: fixed frame with a close box, centred on its owner.
inline FormDef DialogDef(std::string name, std::string caption, int clientWidth, int clientHeight) {
  FormDef frame;
  frame.name = std::move(name);
  frame.caption = std::move(caption);
  frame.clientWidth = clientWidth;
  frame.clientHeight = clientHeight;
  return frame;
}

class TForm : public TWinControl, private AccessibleHost {
 public:
  TForm(TForm* owner, const FormDef& frame);
  ~TForm() override;
  const char* ClassName() const override { return "TForm"; }

  // Runs FormCreate once; CreateForm calls it after construction.
  void Created();
  void Show();
  void Hide();
  // As the title bar's close box: a modal form ends with mrCancel.
  void Close();
  ModalResult ShowModal();
  bool IsModal() const { return modal_; }
  vh::ModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(vh::ModalResult r) { modalResult_ = r; }
  TWinControl* ActiveControl() const { return activeControl_; }
  // The main form ends the message loop when it closes.
  bool isMainForm = false;

  // Tool tips follow hints, ShowHint and bounds; rebuilt on demand.
  void UpdateHints();
  void NotifyFocusChanged(TWinControl* focused);
  // Accelerator characters and Enter/Escape for the form's controls.
  bool DispatchDialogChar(char c);
  bool DispatchDialogKey(int vk);

  // Keyboard focus on windowless controls: the form's own window holds the
  // system focus and the form remembers which of its windowless controls
  // has it. Null while a windowed control (or nothing) has the focus.
  TControl* FocusedChild() const { return focusedChild_; }
  // Gives the focus to a windowed or a windowless control.
  void FocusControl(TControl& c);
  // Moves the focus one stop along TabOrder; false when the form lists no
  // order of its own (the dialog manager's order then applies).
  bool TabStep(bool backward);
  // Up and Down: moves the focus one stop along the arrow group that holds
  // the focused control, wrapping round; false when it is in none.
  bool ArrowStep(bool backward);
  // Space on the focused windowless control: held, it shows the control
  // pressed; let go on the same control, it presses it. ReleaseSpace is
  // false when no hold was under way.
  void HoldSpace();
  bool ReleaseSpace();
  // Whether focus marks and accelerator underlines show now: the system's
  // keyboard-cue setting, else the window's UI state (keyboard used).
  bool FocusCuesShown() const;
  bool AcceleratorCuesShown() const;
  // Sets or clears UISF_HIDEFOCUS / UISF_HIDEACCEL for the form and its
  // children (UIS_SET, UIS_CLEAR).
  void ChangeUIState(WORD action, WORD flags);
  // A control was disabled or hidden; the focus leaves it.
  void ControlBecameUnavailable(TControl& c);
  void ControlDestroyed(TControl& c) {
    if (&c == focusedChild_) focusedChild_ = nullptr;
    if (&c == spaceHeld_) spaceHeld_ = nullptr;
  }
  // Screen readers see the windowless controls (WM_GETOBJECT).
  void ExposeWindowlessControls() { exposeWindowless_ = true; }
  // The children a screen reader sees, in order (child id = index + 1).
  std::vector<AccessibleChild> AccessibleChildren() override;

 protected:
  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual void FormActivate() {}
  virtual void FormClose(TCloseAction&) {}
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void VisibleChanged() override;
  void PaintOverlay(Canvas& canvas, const Rect& area) override;
  // The Tab key's stops, windowed (WS_TABSTOP) and windowless (tabStop):
  // by default in reading order of their positions on the form.
  virtual std::vector<TControl*> TabOrder();
  // The stops Up and Down move among, in order, while one of them has the
  // focus; none by default.
  virtual std::vector<TControl*> ArrowGroup() { return {}; }

 private:
  HWND AccessibleWindow() override { return Handle(); }
  int FocusedAccessibleChild() override;
  void PostAccessiblePress(int index) override;
  void SetFocusedChild(TControl* c);
  void StepFocus(const std::vector<TControl*>& order, bool backward);
  // A Space hold ends without a press: the focus moved or the control went.
  void CancelSpaceHold();
  bool CanFocus(TControl& c) const;
  void InvalidateFocusMark();
  void PlaceWindow();
  void FocusFirstControl();
  bool RunCloseHandler();
  void RebuildHints();

  TForm* ownerForm_;
  FormDef frame_;
  bool created_ = false;
  bool modal_ = false;
  vh::ModalResult modalResult_ = mrNone;
  bool hintsDirty_ = true;
  TWinControl* activeControl_ = nullptr;
  TControl* focusedChild_ = nullptr;
  TControl* spaceHeld_ = nullptr;  // the focused control Space is held on
  bool exposeWindowless_ = false;
  bool CuesShown(unsigned hideFlag) const;
  unsigned uiState_ = 0;  // UISF_HIDEFOCUS | UISF_HIDEACCEL as last updated
  AccessibleLink accessibleLink_;
  HWND tooltip_ = nullptr;
};

// Constructs a form and runs its FormCreate.
template <typename F, typename... Args>
std::unique_ptr<F> CreateForm(Args&&... args) {
  auto form = std::make_unique<F>(std::forward<Args>(args)...);
  form->Created();
  return form;
}

// A notify handler calling a member of a form: Bind(this, &TfrmMain::bExitClick).
template <typename F>
TNotifyEvent Bind(F* form, void (F::*method)(TObject&)) {
  return [form, method](TObject& sender) { (form->*method)(sender); };
}

// Takes a message before it is dispatched: accelerators, Enter/Escape and
// Tab among the controls of the form it belongs to. True when consumed.
bool PreTranslateMessage(MSG& msg);
// The program's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();
// Runs waiting messages without blocking (tests).
void ProcessMessages();

}  // namespace vh
