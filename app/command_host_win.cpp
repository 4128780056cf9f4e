#include "app/command_host_win.h"

#include "app/locale_win.h"

namespace vh {

JournalWriter MainSession::Journal() const {
  MainCommandsHost* shown = &host;
  return {platform.files, platform.system, JournalPath(platform.files), [] { return UserNowText(); },
          [shown](const std::string& line) { shown->RecordFailure(line); }};
}

}  // namespace vh
