// What the main window's commands (MainCommands, RestartWatch) are given:
// the run's shared state, which the window owns, and the window itself
// behind a small interface, so that the commands never see its controls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/main_state.h"
#include "hive/figures.h"
#include "hive/hive_table.h"
#include "hive/journal.h"
#include "lang/messages.h"
#include "platform/platform.h"
#include "settings/options.h"
#include "ui/dialog_inputs_win.h"

namespace vh {

class MainCommandsHost {
 public:
  virtual ~MainCommandsHost() = default;
  // What a dialog opened for a command is given.
  virtual DialogInputs ForDialog() = 0;
  // Enables and shows the commands as given.
  virtual void ShowCommands(const EnabledCommands& commands) = 0;
  // An analysis' figures in the hive list.
  virtual void ShowRows(const AnalysisFigures& figures) = 0;
  // The totals under the list; null clears them.
  virtual void ShowTotals(const AnalysisFigures* figures) = 0;
  // The advice's sentence on Windows' own recent reorganisation; empty
  // when there was none.
  virtual std::string ReorganizedAdvice() = 0;
  // Calls RestartWatch::OnTimer after ms; 0 stops the timer.
  virtual void WatchRestart(unsigned ms) = 0;
  // Writes the event that ends an unattended run, once.
  virtual void ReportRunEndNow(int exitCode) = 0;
  // Unattended: the reason for the log beside the program.
  virtual void RecordFailure(const std::string& text) = 0;
};

// The run as the window holds it; the commands read it when they run.
struct MainSession {
  Platform& platform;
  HiveTable& hives;
  TOptionsSetting& options;
  // Nobody is there to answer a box: the command line asked for an
  // unattended mode. Fixed for the whole run.
  const bool unattended;
  const bool& runningOnWow64;  // known once the hives are listed
  MainCommandsHost& host;
  // Shared by the session's copies (the commands', the restart watch's):
  // each message is looked up in the language file read once.
  std::shared_ptr<MessagesCache> messages = std::make_shared<MessagesCache>(platform);

  Messages CurrentMessages() const { return messages->For(options.Lan); }
  std::string Text(unsigned messageId, const std::vector<std::string>& values = {}) const {
    return messages->For(options.Lan).Text(messageId, values);
  }
  // Where runs are recorded; failures to record go to varnhold.log.
  JournalWriter Journal() const;
};

}  // namespace vh
