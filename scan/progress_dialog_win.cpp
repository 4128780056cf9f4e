#include "scan/progress_dialog_win.h"

#include "platform/platform.h"
#include "lang/messages.h"
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

TfrmGetNewHiveProgess::TfrmGetNewHiveProgess(DialogInputs inputs, ScanJob job)
    : TForm(inputs.owner, ProgressForm()),
      inputs_(std::move(inputs)),
      job_(std::move(job)),
      estimate_(inputs_.platform.files, job_.hives.HiveFiles, job_.wow64) {
  InstantiateLayout(*this, ProgressLayout());
  stopButton_ = Find<TsuiButton>("bStop");
  waitLabel_ = Find<TLabel>("Label1");
  progressBar_ = Find<TsuiProgressBar>("ProgressBar1");
  statusMemo_ = Find<TMemo>("Memo1");
  timer_ = Find<TTimer>("Timer1");
  stopButton_->SetUIStyle(TsuiUIStyle::WinXP);
  progressBar_->SetUIStyle(TsuiUIStyle::WinXP);
  progressBar_->SetMax(1000);
  progressBar_->SetBorderColor(MakeColour(104, 104, 104));
  progressBar_->SetColor(MakeColour(239, 235, 222));
  progressBar_->SetShowCaption(true);
  // Esc stops the scan as the Stop button does.
  stopButton_->SetCancel(true);
  stopButton_->OnClick = Bind(this, &TfrmGetNewHiveProgess::bStopClick);
  timer_->OnTimer = Bind(this, &TfrmGetNewHiveProgess::Timer1Timer);
}

TfrmGetNewHiveProgess::~TfrmGetNewHiveProgess() = default;

ScanCompletion RunScan(DialogInputs inputs, ScanJob job) {
  auto dialog = CreateForm<TfrmGetNewHiveProgess>(std::move(inputs), std::move(job));
  dialog->ShowModal();
  return dialog->Completion();
}

void TfrmGetNewHiveProgess::ShowPosition() { progressBar_->SetPosition(estimate_.Position()); }

void TfrmGetNewHiveProgess::FormShow() {
  progressBar_->SetPosition(0);
  stopped_ = false;
  estimate_.Reset();
  startPosted_ = false;
  TranslateOnShow(*this, inputs_);
  if (!job_.caption.empty()) SetCaption(job_.caption);
  if (!job_.label.empty()) waitLabel_->SetCaption(job_.label);
}

void TfrmGetNewHiveProgess::FormActivate() {
  // Activated again after a message box, say: the scan starts once.
  if (startPosted_) return;
  startPosted_ = true;
  PostMessageA(Handle(), WM_SCANSTART, 0, 0);
}

void TfrmGetNewHiveProgess::VisibleChanged() {
  // Unattended, nothing may reach the screen, not even until the scan
  // starts: the window stays hidden and the scan starts as its activation
  // would start it.
  if (Visible() && job_.unattended) {
    FormActivate();
    return;
  }
  TForm::VisibleChanged();
}

void TfrmGetNewHiveProgess::StartScan() {
  if (worker_) return;
  if (job_.unattended) {
    ShowWindow(Handle(), SW_HIDE);
  } else {
    // Painted whole before the first copy: Wine saves a hive inside its
    // server, which holds every window's painting until the save is done,
    // and a window never painted would stay black for that long.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  worker_ = std::make_unique<TScanTaskThread>(Handle(), ScanMessages{WM_SCANHIVEDONE, WM_SCANSTATUS, WM_CLOSE, WM_SCANCOPIESDONE},
                                             job_, inputs_.platform,
                                             LoadMessages(inputs_.platform, inputs_.language).Text(IDS_FINISH));
  // Stop pressed before the scan got going: the worker ends before its
  // first hive and closes the dialog.
  if (stopped_) worker_->Terminate();
  worker_->Start();
  estimate_.Start();
  timer_->SetEnabled(true);
}

void TfrmGetNewHiveProgess::TakeStatus() {
  if (worker_) statusMemo_->SetText(worker_->StatusText());
}

ScanCompletion TfrmGetNewHiveProgess::Completion() const {
  // A Stop the dialog took stands, whatever the worker finished after it.
  if (stopped_ || !worker_) return ScanCompletion::Stopped;
  return worker_->Completion();
}

void TfrmGetNewHiveProgess::ReportWorkerError() {
  if (errorReported_ || !worker_ || worker_->Completion() != ScanCompletion::Failed || !worker_->Error()) return;
  errorReported_ = true;
  // Raised again on this thread, where the window's error boundary reports
  // it: a box when interactive, the run log when unattended.
  try {
    std::rethrow_exception(worker_->Error());
  } catch (...) {
    ReportException();
  }
}

void TfrmGetNewHiveProgess::Timer1Timer(TObject&) {
  estimate_.OnTimerTick();
  ShowPosition();
  if (!estimate_.TimerEnabled()) timer_->SetEnabled(false);
}

void TfrmGetNewHiveProgess::bStopClick(TObject&) {
  stopped_ = true;
  waitLabel_->SetCaption(LoadMessages(inputs_.platform, inputs_.language).Text(IDS_STOP_PROCESS));
  timer_->SetEnabled(false);
  if (worker_) worker_->Terminate();
  stopButton_->SetEnabled(false);
}

void TfrmGetNewHiveProgess::FormClose(TCloseAction&) {
  // Closed while the worker runs (by the user, or by the close box after
  // Stop): ending the thread outright could leave the heap or a registry
  // save half done, so it is asked to stop and the hive in progress is
  // finished while the windows stay alive. Waiting later, when the dialog
  // is destroyed, would freeze them for the rest of that copy.
  if (worker_ && worker_->Running()) {
    worker_->Terminate();
    worker_->WaitPumping();
  }
  TakeStatus();
  timer_->SetEnabled(false);
  ReportWorkerError();
}

LRESULT TfrmGetNewHiveProgess::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SCANSTART:
      StartScan();
      return 0;
    case WM_SCANHIVEDONE:
      estimate_.OnHiveDone(std::uint32_t(wp), std::int32_t(lp));
      ShowPosition();
      return 0;
    case WM_SCANSTATUS:
      TakeStatus();
      return 0;
    case WM_SCANCOPIESDONE:
      if (!job_.checkLabel.empty()) waitLabel_->SetCaption(job_.checkLabel);
      return 0;
    case WM_CLOSE:
      // The last status ("Finish" after a complete scan) stays on show.
      TakeStatus();
      break;
  }
  return TForm::WndProc(msg, wp, lp);
}

}  // namespace vh
