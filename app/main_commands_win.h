// The main window's commands apart from the window: the analysis, the
// defragmentation and the undo in their order, the state the window is in
// and which commands that state enables. The window calls them from its
// handlers and the unattended modes; they show nothing of the window but
// through MainCommandsHost.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/command_host_win.h"
#include "app/restart_watch_win.h"
#include "app/unattended.h"
#include "hive/defrag.h"
#include "hive/figures.h"
#include "hive/left_alone.h"
#include "scan/progress_dialog_win.h"

namespace vh {

class MainCommands {
 public:
  explicit MainCommands(MainSession session) : s_(session), restart_(session) {}

  MainState State() const;
  // Shows the commands the state enables, the undo as last looked at.
  void ShowState();
  // Looks again whether there is a defragmentation to undo.
  void RefreshUndo();
  RestartWatch& Restart() { return restart_; }
  const MainSession& Session() const { return s_; }
  const RestartWatch& Restart() const { return restart_; }

  // Runs the analysis; true when the scan went through every hive and
  // copied at least one.
  bool RunAnalysis();
  // Runs the defragmentation; what it scheduled and what not.
  DefragSummary RunDefrag();
  // Undoes the last defragmentation; what it scheduled and what not.
  UndoSummary RunUndo();
  // The analysis' scan: the whole table, under the layout's texts.
  ScanJob AnalysisJob() const { return ScanJob{HivesToCopy(s_.hives), s_.runningOnWow64, s_.unattended, "", ""}; }
  // The figures of the latest complete analysis; null before one.
  const AnalysisFigures* LastFigures() const { return figures_ ? &*figures_ : nullptr; }
  // The refusal while Windows services itself, with what was found.
  std::string ServicingText(const std::vector<unsigned>& found) const;

 private:
  // A run that ended before any swap for a reason the user did not see:
  // stopped copies, Windows' servicing, a record that could not be written.
  void TellWhyNothingWasSwapped(DefragOutcome outcome, const DefragRun& run);

  MainSession s_;
  RestartWatch restart_;
  bool undoOffered_ = false;
  // When the latest complete analysis began (GetTickCount), and what it
  // measured.
  bool analysed_ = false;
  unsigned long analysisStartedMs_ = 0;
  std::optional<AnalysisFigures> figures_;
};

}  // namespace vh
