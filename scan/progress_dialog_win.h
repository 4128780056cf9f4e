// TfrmGetNewHiveProgess: the modal dialog behind which the scan worker
// writes the compacted copies, with an estimated progress and Stop.
#pragma once

#include <memory>
#include <string>

#include "scan/scan_estimate.h"
#include "scan/scan_thread_win.h"
#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"
#include "ui/window_messages_win.h"

namespace vh {

class TLabel;
class TMemo;
class TTimer;
class TsuiButton;
class TsuiProgressBar;

class TfrmGetNewHiveProgess : public TForm {
 public:
  TfrmGetNewHiveProgess(DialogInputs inputs, ScanJob job);
  ~TfrmGetNewHiveProgess() override;
  const char* ClassName() const override { return "TfrmGetNewHiveProgess"; }

  // How the scan ended; Stopped when it never ran.
  ScanCompletion Completion() const;

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
  void ReportWorkerError();

  DialogInputs inputs_;
  ScanJob job_;
  // The layout's controls, bound once by the constructor.
  TsuiButton* stopButton_ = nullptr;
  TLabel* waitLabel_ = nullptr;
  TsuiProgressBar* progressBar_ = nullptr;
  TMemo* statusMemo_ = nullptr;
  TTimer* timer_ = nullptr;
  ScanEstimate estimate_;
  std::unique_ptr<TScanTaskThread> worker_;
  bool stopped_ = false;  // Stop was pressed
  bool startPosted_ = false;
  bool errorReported_ = false;
};

// Shows the dialog over inputs.owner until the scan has ended; how it ended.
ScanCompletion RunScan(DialogInputs inputs, ScanJob job);

}  // namespace vh
