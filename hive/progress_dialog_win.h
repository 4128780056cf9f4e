// TfrmGetNewHiveProgess: the modal dialog behind which the scan worker
// writes the compacted copies, with an estimated progress and Stop.
#pragma once

#include <memory>

#include "hive/scan_estimate.h"
#include "hive/scan_thread_win.h"
#include "ui/form_win.h"

namespace vh {

class TfrmMain;
class TMemo;
class TTimer;
class TsuiProgressBar;

class TfrmGetNewHiveProgess : public TForm {
 public:
  explicit TfrmGetNewHiveProgess(TfrmMain& owner);
  ~TfrmGetNewHiveProgess() override;
  const char* ClassName() const override { return "TfrmGetNewHiveProgess"; }

  TMemo& Memo1();
  TsuiProgressBar& ProgressBar1();
  int Position();
  bool Stopped = false;

  void bStopClick(TObject& sender);
  void Timer1Timer(TObject& sender);

 protected:
  void FormShow() override;
  void FormActivate() override;
  void FormClose(TCloseAction& action) override;
  void VisibleChanged() override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void StartScan();
  void ShowPosition();
  void TakeStatus();

  TfrmMain& main_;
  ScanEstimate estimate_;
  std::unique_ptr<TScanTaskThread> Worker;
  bool startPosted_ = false;
};

}  // namespace vh
