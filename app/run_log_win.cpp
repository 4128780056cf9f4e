#include "app/run_log_win.h"

#include "app/locale_win.h"

namespace vh {

void AppendToRunLog(Files& files, const std::string& text) {
  files.AppendText(files.ExecutableFolder() + "varnhold.log", UserNowText() + "  " + text + "\r\n");
}

}  // namespace vh
