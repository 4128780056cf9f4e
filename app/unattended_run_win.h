// UnattendedRun: /Silent, /Scan and /Undo as the command line asks for
// them, once, with no main window. The commands (MainCommands) run over the
// run's own session; a hidden window owns the hidden progress dialog and
// hears the end of the session the restart brings; whatever nobody is
// there to read goes to varnhold.log.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/main_commands_win.h"
#include "app/unattended.h"
#include "hive/hive_table.h"
#include "hive/reorganization.h"
#include "platform/platform.h"
#include "settings/options.h"
#include "ui/form_win.h"

namespace vh {

class UnattendedRun final : public UnattendedHost, private MainCommandsHost {
 public:
  // invocation names an unattended mode.
  UnattendedRun(Platform& platform, Invocation invocation);
  ~UnattendedRun() override;
  UnattendedRun(const UnattendedRun&) = delete;
  UnattendedRun& operator=(const UnattendedRun&) = delete;

  // False when no window could be made (no desktop to run on).
  bool HasWindow() const;
  // Lists the hives and runs the mode; the program's exit code.
  int Run();
  // Lists the hives, as Run does first; the exit code when the run must end
  // here (an unsupported Windows).
  std::optional<int> Start();

  const AnalysisFigures* LastFigures() const { return commands_->LastFigures(); }
  // The event that ends the run was written already (at the end of the
  // session its restart ended).
  bool RunEndReported() const { return runEndReported_; }

  // The modes' steps (UnattendedHost).
  // Refused, with the run found in varnhold.log.
  bool SwapsWait() override { return commands_->Restart().RefuseWhilePending(); }
  bool Analyze() override { return commands_->RunAnalysis(); }
  DefragSummary Defragment() override { return commands_->RunDefrag(); }
  UndoSummary Undo() override { return commands_->RunUndo(); }
  TotalsText Totals() override;
  HivesReport ReportHives() override;
  std::string NowText() override;
  bool AwaitRestart() override;
  void RecordFailure(const std::string& text) override;
  void Close() override;

 private:
  class Window;
  // What the commands show (MainCommandsHost): nothing, but the dialogs'
  // owner and the restart watch's timer.
  DialogInputs ForDialog() override;
  void ShowCommands(const EnabledCommands&) override {}
  void ShowRows(const AnalysisFigures&) override {}
  void ShowTotals(const AnalysisFigures*) override {}
  std::string ReorganizedAdvice() override { return ""; }
  void WatchRestart(unsigned ms) override;
  void ReportRunEndNow(int exitCode) override;

  Platform& platform_;
  Invocation invocation_;
  TOptionsSetting options_;
  HiveTable hives_;
  bool wow64_ = false;
  Reorganizations reorganizations_;  // /Scan only
  std::unique_ptr<Window> window_;
  std::optional<MainCommands> commands_;
  bool closed_ = false;
  bool runEndReported_ = false;
};

}  // namespace vh
