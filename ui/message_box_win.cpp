#include "ui/message_box_win.h"

#include "res/string_ids.h"

namespace vh {
namespace {

MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

}  // namespace

std::string ProgramCaption() {
  char buffer[256] = {};
  int n = LoadStringA(GetModuleHandleA(nullptr), IDS_PRODUCT_NAME, buffer, sizeof(buffer));
  return n > 0 ? std::string(buffer, std::size_t(n)) : std::string("Varnhold");
}

int ShowMessageBox(const std::string& text, UINT flags) {
  std::string caption = ProgramCaption();
  if (Hook()) return Hook()(text, caption, flags);
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace vh
