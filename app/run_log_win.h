// varnhold.log beside the program: where a run without a user leaves the
// reason it failed, for the administrator who reads the exit code.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vh {

// Appends one line, the local time first. A log that cannot be written is
// not an error of its own: the exit code still tells.
void AppendToRunLog(Files& files, const std::string& text);

}  // namespace vh
