// Texts of the program's string table.
#pragma once

#include <string>

namespace vh {

// The string with that id from the executable's string table; "" if none.
std::string LoadResString(unsigned id);

}  // namespace vh
