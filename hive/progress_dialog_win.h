// TfrmGetNewHiveProgess: the modal dialog behind which the scan worker
// writes the compacted copies, with an estimated progress and Stop.
#pragma once

#include <memory>
#include <string>

#include "hive/scan_estimate.h"
#include "hive/scan_thread_win.h"
#include "ui/dialog_inputs_win.h"
#include "ui/form_win.h"

namespace vh {

class TMemo;
class TTimer;
class TsuiProgressBar;

// What a showing of the dialog copies, and how it is titled: the analysis
// copies the main window's whole table under the layout's texts; the
// defragmentation copies the hives it will swap under its own.
struct ScanStep {
  HiveTable hives;
  bool wow64 = false;       // the program runs on 64-bit Windows
  bool unattended = false;  // nothing may reach the screen
  std::string caption;      // empty: the layout's, translated
  std::string label;        // empty: the layout's, translated
};

class TfrmGetNewHiveProgess : public TForm {
 public:
  TfrmGetNewHiveProgess(DialogInputs inputs, ScanStep step);
  // The dialog's own messages: the scan starts once the dialog is up, and
  // the worker reports through the others.
  static constexpr UINT kStartScan = WM_APP + 1;
  static constexpr UINT kHiveDone = WM_APP + 2;
  static constexpr UINT kStatusChanged = WM_APP + 3;
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
  TMemo& Memo1();
  TsuiProgressBar& ProgressBar1();
  void StartScan();
  void ShowPosition();
  void TakeStatus();
  void ReportWorkerError();

  DialogInputs inputs_;
  ScanStep step_;
  ScanEstimate estimate_;
  std::unique_ptr<TScanTaskThread> Worker;
  bool stopped_ = false;  // Stop was pressed
  bool startPosted_ = false;
  bool errorReported_ = false;
};

}  // namespace vh
