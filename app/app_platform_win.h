// The platform the program runs on. The shipped program gets the real one;
// the test build of the program a recording one (CMake picks per executable).
#pragma once

#include "platform/platform.h"

namespace vh {

Platform& AppPlatform();

}  // namespace vh
