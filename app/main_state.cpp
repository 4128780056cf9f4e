#include "app/main_state.h"

namespace vh {

bool EnabledCommands::operator==(const EnabledCommands& o) const {
  return analyze == o.analyze && defrag == o.defrag && undo == o.undo && pendingWarning == o.pendingWarning &&
         restartNow == o.restartNow;
}

EnabledCommands CommandsIn(MainState state, bool undoOffered) {
  EnabledCommands on;
  switch (state) {
    case MainState::Ready:
    case MainState::Analysed:
      on.analyze = true;
      on.defrag = state == MainState::Analysed;
      on.undo = undoOffered;
      break;
    case MainState::SwapsPending:
    case MainState::RestartAwaited:
      // Nothing may touch the hives until the restart; asking for it again
      // waits until the request already made is known to have failed.
      on.pendingWarning = true;
      on.restartNow = state == MainState::SwapsPending;
      break;
  }
  return on;
}

}  // namespace vh
