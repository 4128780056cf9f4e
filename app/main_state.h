// Which of the main window's commands can be used in which state. The
// window shows what CommandsIn gives; the commands (app/main_commands_win.h)
// say which state the window is in.
#pragma once

namespace vh {

enum class MainState {
  Ready,           // no complete analysis yet, or the last one failed
  Analysed,        // an analysis measured the hives: they can be defragmented
  SwapsPending,    // swaps wait for the restart, which the user may ask for
  RestartAwaited,  // a restart was asked for and is being watched
};

struct EnabledCommands {
  bool analyze = false;
  bool defrag = false;
  bool undo = false;
  // The warning and Restart Now in the step hint's place.
  bool pendingWarning = false;
  bool restartNow = false;
  bool operator==(const EnabledCommands& other) const;
};

// undoOffered: the journal holds a defragmentation whose swaps can be undone.
EnabledCommands CommandsIn(MainState state, bool undoOffered);

}  // namespace vh
