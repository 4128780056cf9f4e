#include "restore/restore_point_dialog_win.h"

#include "lang/messages.h"
#include "skin/group_box_win.h"
#include "skin/progress_bar_win.h"
#include "skin/skin_layout_win.h"
#include "lang/translate_form_win.h"
#include "res/string_ids.h"
#include "restore/restore_point.h"
#include "restore/restore_point_thread_win.h"
#include "ui/timer_win.h"
#include "platform/local_time_win.h"
#include "platform/platform.h"
#include "ui/message_box_win.h"
#include "ui/window_messages_win.h"

namespace vh {

namespace {

FormDef SystemPointForm() {
  FormDef frame = DialogDef("frmSystemPoint", "Create System Point", 353, 180);
  frame.closeBox = false;  // no title-bar buttons at all
  return frame;
}

LayoutProps Heading() {
  LayoutProps p;
  p.bold = true;
  p.fontHeight = -12;  // 9 pt
  return p;
}

const std::vector<ControlDef>& SystemPointLayout() {
  static const std::vector<ControlDef> layout = {
      {"suiGroupBox1", MakeSuiGroupBox, "", MakeRect(8, 8, 336, 160), "", {}},
      {"lScanTask", MakeLabel, "suiGroupBox1", MakeRect(12, 16, 150, 15), "Creating Restore Point", Heading()},
      {"Label1", MakeLabel, "suiGroupBox1", MakeRect(12, 42, 310, 13), "Varnhold is creating a restore point which will", {}},
      {"Label3", MakeLabel, "suiGroupBox1", MakeRect(12, 62, 320, 13),
       "enable you to safely return your system back to its former state.", {}},
      {"Label2", MakeLabel, "suiGroupBox1", MakeRect(12, 103, 80, 13), "Please wait...", {}},
      {"ProgressBar1", MakeSuiProgressBar, "suiGroupBox1", MakeRect(12, 124, 311, 18), "", {}},
      {"Timer1", MakeTimer, "", Rect{}, "", {}},
  };
  return layout;
}

}  // namespace

TfrmSystemPoint::TfrmSystemPoint(DialogInputs inputs, RestorePointFor purpose)
    : TForm(inputs.owner, SystemPointForm()), inputs_(std::move(inputs)), purpose_(purpose) {
  InstantiateLayout(*this, SystemPointLayout());
  Find<TsuiGroupBox>("suiGroupBox1")->SetUIStyle(TsuiUIStyle::DeepBlue);
  progressBar_ = Find<TsuiProgressBar>("ProgressBar1");
  progressBar_->SetUIStyle(TsuiUIStyle::DeepBlue);
  progressBar_->SetBorderColor(MakeColour(0, 0, 0));
  progressBar_->SetColor(MakeColour(232, 232, 232));
  progressBar_->SetShowCaption(false);
  Find<TTimer>("Timer1")->OnTimer = Bind(this, &TfrmSystemPoint::Timer1Timer);
}

void TfrmSystemPoint::FormShow() {
  ResultArrived = false;
  if (!workerStarted_) {
    workerStarted_ = true;
    SystemInfo& system = inputs_.platform.system;
    TCreateSystemPointThread::Start(Handle(), WM_RESTOREPOINTDONE, inputs_.platform.restore,
                                    OneRestorePointADay(system.GetVersion()), system.Now(), shared_);
  }
  TranslateOnShow(*this, inputs_);
}

void TfrmSystemPoint::Timer1Timer(TObject&) {
  progressBar_->SetPosition(NextRestoreProgress(progressBar_->Position()));
}

void TfrmSystemPoint::RestorePointDone(LPARAM resultCode) {
  // A result after the dialog gave up waiting changes nothing.
  if (ResultArrived || !IsModal()) return;
  shared_->settled = true;
  SetModalResult(mrOk);
  if (resultCode == RestorePointResultCode(RestoreOutcome::Created) && !shared_->begun.ours) {
    // The user counted on a point of this run's own.
    const std::string time = UserTimeOfUtc(shared_->begun.existingTime);
    const Messages messages = LoadMessages(inputs_.platform, inputs_.language);
    ShowMessageBox(time.empty() ? messages.Text(IDS_RESTORE_REUSED_EARLIER) : messages.Text(IDS_RESTORE_REUSED, {time}),
                   MB_OK | MB_ICONINFORMATION);
  } else if (resultCode != RestorePointResultCode(RestoreOutcome::Created)) {
    const unsigned question = purpose_ == RestorePointFor::Undo ? IDS_RESTORE_FAILED_UNDO : IDS_RESTORE_FAILED;
    const bool goOn = AskYesNo(LoadMessages(inputs_.platform, inputs_.language).Text(question), MB_ICONINFORMATION);
    // Going on without a restore point is what the user must choose: any
    // answer but Yes (No, Esc, the close box, a box that failed) stops.
    SetModalResult(goOn ? mrYes : mrCancel);
  }
  ResultArrived = true;
}

void TfrmSystemPoint::FormClose(TCloseAction&) {
  // Closed before the result: the library call cannot be interrupted; it
  // finishes on its own, and a point it made is cancelled by whichever side
  // comes second.
  if (ResultArrived) return;
  SetModalResult(mrCancel);
  if (shared_->settled.exchange(true) && shared_->begun.ours)
    inputs_.platform.restore.SetRestorePoint(EndOfRestorePoint(shared_->begun.result.sequenceNumber, false));
}

LRESULT TfrmSystemPoint::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_RESTOREPOINTDONE) {
    RestorePointDone(lp);
    return 0;
  }
  return TForm::WndProc(msg, wp, lp);
}

RestorePointMade MakeRestorePoint(DialogInputs inputs, RestorePointFor purpose) {
  auto dialog = CreateForm<TfrmSystemPoint>(std::move(inputs), purpose);
  switch (dialog->ShowModal()) {
    case mrOk: {
      const RestorePointBegun& begun = dialog->Begun();
      if (begun.ours) return {RestorePointStep::Created, begun.result.sequenceNumber};
      return {RestorePointStep::Reused, begun.result.sequenceNumber, UserTimeOfUtc(begun.existingTime)};
    }
    case mrYes:
      return {RestorePointStep::FailedWentOn, 0};
    default:
      return {RestorePointStep::Stopped, 0};
  }
}

}  // namespace vh
