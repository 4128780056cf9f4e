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

namespace {

// The button pressed (IDOK, IDYES...); 0 when the box could not be shown.
int MessageBoxAnswer(const std::string& text, UINT flags) {
  std::string caption = ProgramCaption();
  if (Hook()) return Hook()(text, caption, flags);
  return MessageBoxW(GetActiveWindow(), Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags);
}

}  // namespace

void SetProgramCaption(std::string caption) {
  if (!caption.empty()) Caption() = std::move(caption);
}

void ShowMessageBox(const std::string& text, UINT flags) { MessageBoxAnswer(text, flags); }

bool AskYesNo(const std::string& text, UINT icon) {
  return MessageBoxAnswer(text, MB_YESNO | icon | MB_DEFBUTTON2) == IDYES;
}

bool AskOkCancel(const std::string& text, UINT icon) {
  const int answer = MessageBoxAnswer(text, MB_OKCANCEL | icon | MB_DEFBUTTON2);
  return answer == IDOK || answer == IDYES;
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace vh
