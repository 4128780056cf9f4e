// The platform the program runs on. The shipped program gets the real one;
// the test build of the program links a recording one in its place.
#pragma once

#include "platform/platform.h"

namespace vh {

Platform& AppPlatform();

}  // namespace vh
