#include "hive/progress_dialog_win.h"

#include "platform/platform.h"
#include "platform/string_table_win.h"
#include "skin/button_win.h"
#include "skin/progress_bar_win.h"
#include "skin/skin_layout_win.h"
#include "lang/translate_form_win.h"
#include "res/string_ids.h"
#include "ui/controls_win.h"
#include "ui/timer_win.h"

namespace vh {

namespace {

FormDef ProgressForm() {
  return DialogDef("frmGetNewHiveProgess", "Defrag Registry", 394, 181);
}

const std::vector<ControlDef>& ProgressLayout() {
  static const std::vector<ControlDef> layout = [] {
    LayoutProps stop;
    LayoutProps memo;
    memo.color = kColourBtnFace;
    LayoutProps timer;
    timer.timerDisabled = true;
    return std::vector<ControlDef>{
        {"bStop", MakeSuiButton, "", MakeRect(304, 142, 80, 27), "Stop", stop},
        {"GroupBox1", MakeGroupBox, "", MakeRect(8, 8, 377, 121), "", {}},
        {"Label1", MakeLabel, "GroupBox1", MakeRect(16, 16, 220, 13), "Analyzing registry. Please wait.", {}},
        {"ProgressBar1", MakeSuiProgressBar, "GroupBox1", MakeRect(16, 44, 345, 18), "", {}},
        {"Label2", MakeLabel, "GroupBox1", MakeRect(17, 76, 50, 13), "Checking: ", {}},
        {"Memo1", MakeMemo, "GroupBox1", MakeRect(84, 77, 274, 32), "Registry Key", memo},
        {"Timer1", MakeTimer, "", Rect{}, "", timer},
    };
  }();
  return layout;
}

}  // namespace

TfrmGetNewHiveProgess::TfrmGetNewHiveProgess(DialogInputs inputs, ScanStep step)
    : TForm(inputs.owner, ProgressForm()),
      inputs_(std::move(inputs)),
      step_(std::move(step)),
      estimate_(inputs_.platform.files, step_.hives.HiveFiles, step_.wow64) {
  InstantiateLayout(*this, ProgressLayout());
  Find<TsuiButton>("bStop")->SetUIStyle(TsuiUIStyle::WinXP);
  TsuiProgressBar& bar = ProgressBar1();
  bar.SetUIStyle(TsuiUIStyle::WinXP);
  bar.SetMax(1000);
  bar.SetBorderColor(MakeColour(104, 104, 104));
  bar.SetColor(MakeColour(239, 235, 222));
  bar.SetShowCaption(true);
  // Esc stops the scan as the Stop button does.
  Find<TsuiButton>("bStop")->SetCancel(true);
  WireHandlers<TfrmGetNewHiveProgess>(*this, {{"bStop", "OnClick", &TfrmGetNewHiveProgess::bStopClick},
                                              {"Timer1", "OnTimer", &TfrmGetNewHiveProgess::Timer1Timer}});
}

TfrmGetNewHiveProgess::~TfrmGetNewHiveProgess() = default;

TMemo& TfrmGetNewHiveProgess::Memo1() { return *Find<TMemo>("Memo1"); }
TsuiProgressBar& TfrmGetNewHiveProgess::ProgressBar1() { return *Find<TsuiProgressBar>("ProgressBar1"); }

void TfrmGetNewHiveProgess::ShowPosition() { ProgressBar1().SetPosition(estimate_.Position()); }

void TfrmGetNewHiveProgess::FormShow() {
  ProgressBar1().SetPosition(0);
  stopped_ = false;
  estimate_.Reset();
  startPosted_ = false;
  TranslateOnShow(*this, inputs_);
  if (!step_.caption.empty()) SetCaption(step_.caption);
  if (!step_.label.empty()) Find<TLabel>("Label1")->SetCaption(step_.label);
}

void TfrmGetNewHiveProgess::FormActivate() {
  // Activated again after a message box, say: the scan starts once.
  if (startPosted_) return;
  startPosted_ = true;
  PostMessageA(Handle(), kStartScan, 0, 0);
}

void TfrmGetNewHiveProgess::VisibleChanged() {
  // Unattended, nothing may reach the screen, not even until the scan
  // starts: the window stays hidden and the scan starts as its activation
  // would start it.
  if (Visible() && step_.unattended) {
    FormActivate();
    return;
  }
  TForm::VisibleChanged();
}

void TfrmGetNewHiveProgess::StartScan() {
  if (Worker) return;
  if (step_.unattended) ShowWindow(Handle(), SW_HIDE);
  Worker = std::make_unique<TScanTaskThread>(Handle(), ScanMessages{kHiveDone, kStatusChanged, WM_CLOSE},
                                             ScanJob{step_.hives, step_.wow64}, inputs_.platform,
                                             LoadResString(IDS_FINISH));
  // Stop pressed before the scan got going: the worker ends before its
  // first hive and closes the dialog.
  if (stopped_) Worker->Terminate();
  Worker->Start();
  estimate_.Start();
  Find<TTimer>("Timer1")->SetEnabled(true);
}

void TfrmGetNewHiveProgess::TakeStatus() {
  if (Worker) Memo1().SetText(Worker->StatusText());
}

ScanCompletion TfrmGetNewHiveProgess::Completion() const {
  return Worker ? Worker->Completion() : ScanCompletion::Stopped;
}

void TfrmGetNewHiveProgess::ReportWorkerError() {
  if (errorReported_ || !Worker || Worker->Completion() != ScanCompletion::Failed || !Worker->Error()) return;
  errorReported_ = true;
  // Raised again on this thread, where the window's error boundary reports
  // it: a box when interactive, the run log when unattended.
  try {
    std::rethrow_exception(Worker->Error());
  } catch (...) {
    ReportException();
  }
}

void TfrmGetNewHiveProgess::Timer1Timer(TObject&) {
  estimate_.OnTimerTick();
  ShowPosition();
  if (!estimate_.TimerEnabled()) Find<TTimer>("Timer1")->SetEnabled(false);
}

void TfrmGetNewHiveProgess::bStopClick(TObject&) {
  stopped_ = true;
  Find<TLabel>("Label1")->SetCaption(LoadResString(IDS_STOP_PROCESS));
  Find<TTimer>("Timer1")->SetEnabled(false);
  if (Worker) Worker->Terminate();
  Find<TControl>("bStop")->SetEnabled(false);
}

void TfrmGetNewHiveProgess::FormClose(TCloseAction&) {
  // Closed while the worker runs (by the user, or by the close box after
  // Stop): ending the thread outright could leave the heap or a registry
  // save half done, so it is asked to stop and the hive in progress is
  // finished while the windows stay alive. Waiting later, when the dialog
  // is destroyed, would freeze them for the rest of that copy.
  if (Worker && Worker->Running()) {
    Worker->Terminate();
    Worker->WaitPumping();
  }
  TakeStatus();
  Find<TTimer>("Timer1")->SetEnabled(false);
  ReportWorkerError();
}

LRESULT TfrmGetNewHiveProgess::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kStartScan:
      StartScan();
      return 0;
    case kHiveDone:
      estimate_.OnHiveDone(std::uint32_t(wp), std::int32_t(lp));
      ShowPosition();
      return 0;
    case kStatusChanged:
      TakeStatus();
      return 0;
    case WM_CLOSE:
      // The last status ("Finish" after a complete scan) stays on show.
      TakeStatus();
      break;
  }
  return TForm::WndProc(msg, wp, lp);
}

}  // namespace vh
