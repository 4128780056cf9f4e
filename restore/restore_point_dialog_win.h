// TfrmSystemPoint: waits for the restore point worker, showing elapsed
// time. Its modal result: mrOk, a point covers the run (Begun says whether
// it is ours, and SequenceNumber ends the change ours opened; another is
// Windows' point of the last day, which the user is told of); mrYes, it
// failed and the user answered Yes to going on; mrCancel stops the
// defragmentation or the undo.
#pragma once

#include <memory>

#include "restore/restore_point.h"
#include "restore/restore_point_thread_win.h"
#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

class TsuiProgressBar;

class TfrmSystemPoint : public TForm {
 public:
  TfrmSystemPoint(DialogInputs inputs, RestorePointFor purpose);
  const char* ClassName() const override { return "TfrmSystemPoint"; }
  bool ResultArrived = false;
  void Timer1Timer(TObject& sender);
  const RestorePointBegun& Begun() const { return shared_->begun; }

 protected:
  void FormShow() override;
  void FormClose(TCloseAction& action) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void RestorePointDone(LPARAM resultCode);
  DialogInputs inputs_;
  RestorePointFor purpose_;
  TsuiProgressBar* progressBar_ = nullptr;
  bool workerStarted_ = false;
  std::shared_ptr<RestorePointShared> shared_ = std::make_shared<RestorePointShared>();
};

// Shows the dialog over inputs.owner until the point is made, fails or is
// given up: Created (with its sequence number), Reused (Windows' point of
// the last day, with its time), FailedWentOn or Stopped.
// After a failure only Yes goes on; No, Esc, the close box and a box that
// could not be shown stop.
RestorePointMade MakeRestorePoint(DialogInputs inputs, RestorePointFor purpose);

}  // namespace vh
