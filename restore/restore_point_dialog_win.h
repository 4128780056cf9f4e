// TfrmSystemPoint: waits for the restore point worker, showing elapsed
// time. Result 1: the point was made; 6: it failed and the user goes on;
// 2 stops the defragmentation.
#pragma once

#include "ui/form_win.h"

namespace vh {

class TfrmMain;

class TfrmSystemPoint : public TForm {
 public:
  explicit TfrmSystemPoint(TfrmMain& owner);
  const char* ClassName() const override { return "TfrmSystemPoint"; }
  bool ResultArrived = false;
  void Timer1Timer(TObject& sender);

 protected:
  void FormShow() override;
  void FormClose(TCloseAction& action) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void RestorePointDone(LPARAM failed);
  TfrmMain& main_;
  bool workerStarted_ = false;
};

}  // namespace vh
