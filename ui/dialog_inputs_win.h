// What every dialog is given when it is created: the window that owns it,
// the system services, and the language it shows itself in. A dialog reads
// nothing else from the window that opens it; what it decides it returns.
#pragma once

#include <string>

namespace vh {

class TForm;
struct Platform;

struct DialogInputs {
  TForm* owner = nullptr;
  Platform& platform;
  std::string language;  // the settings' language, as stored
};

}  // namespace vh
