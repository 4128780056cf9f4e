#include "platform/string_table_win.h"

#include <windows.h>

namespace vh {

std::string LoadResString(unsigned id) {
  char buffer[1024];
  int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, std::size_t(n)) : std::string();
}

}  // namespace vh
