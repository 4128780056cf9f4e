#include "ui/message_box_win.h"

#include "platform/text_win.h"

namespace vh {
namespace {

MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

std::string& Caption() {
  static std::string caption = "Varnhold";
  return caption;
}

}  // namespace

std::string ProgramCaption() { return Caption(); }

void SetProgramCaption(std::string caption) {
  if (!caption.empty()) Caption() = std::move(caption);
}

ModalResult ShowMessageBox(const std::string& text, UINT flags) {
  std::string caption = ProgramCaption();
  if (Hook()) return ModalResult(Hook()(text, caption, flags));
  return ModalResult(MessageBoxW(GetActiveWindow(), Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags));
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace vh
