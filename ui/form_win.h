// Top-level windows. A form is borderless or has a fixed dialog frame, is
// centred on its owner or on the desktop, and calls the virtual handlers
// FormCreate, FormShow, FormActivate and FormClose that each window class
// overrides. ShowModal runs a nested message loop until ModalResult is set.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/component_win.h"

namespace vh {

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

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

class TForm : public TWinControl {
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
  int ShowModal();
  bool IsModal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r) { modalResult_ = r; }
  TWinControl* ActiveControl() const { return activeControl_; }
  // The main form ends the message loop when it closes.
  bool isMainForm = false;

  // Tool tips follow hints, ShowHint and bounds; rebuilt on demand.
  void UpdateHints();
  void NotifyFocusChanged(TWinControl* focused);
  // Accelerator characters and Enter/Escape for the form's controls.
  bool DispatchDialogChar(char c);
  bool DispatchDialogKey(int vk);

 protected:
  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual void FormActivate() {}
  virtual void FormClose(TCloseAction&) {}
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void VisibleChanged() override;

 private:
  void PlaceWindow();
  void FocusFirstControl();
  bool RunCloseHandler();
  void RebuildHints();

  TForm* ownerForm_;
  FormDef frame_;
  bool created_ = false;
  bool modal_ = false;
  int modalResult_ = mrNone;
  bool hintsDirty_ = true;
  TWinControl* activeControl_ = nullptr;
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

// Handlers wired by name: {"bExit", "OnClick", &TfrmMain::bExitClick}.
template <typename F>
struct HandlerDef {
  const char* component;
  const char* event;
  void (F::*method)(TObject&);
};
// Returns false when a named component or event does not exist.
template <typename F>
bool WireHandlers(F& form, std::initializer_list<HandlerDef<F>> handlers) {
  bool all = true;
  for (const auto& h : handlers) {
    TComponent* c = form.FindComponent(h.component);
    TNotifyEvent* slot = c ? c->NotifyEvent(h.event) : nullptr;
    if (slot) *slot = Bind(&form, h.method);
    else all = false;
  }
  return all;
}

// Takes a message before it is dispatched: accelerators, Enter/Escape and
// Tab among the controls of the form it belongs to. True when consumed.
bool PreTranslateMessage(MSG& msg);
// The program's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();
// Runs waiting messages without blocking (tests).
void ProcessMessages();

}  // namespace vh
