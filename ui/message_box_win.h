// The program's message boxes: its own caption, owned by the active window.
// Their texts are UTF-8, as the paths and hive names they quote, and are
// shown through the wide-character functions, so that a name or a
// translation outside the ANSI code page shows as it is. Tests may divert
// them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vh {

// The caption every box carries: "Varnhold" until the program sets its
// product name from its string table at start.
std::string ProgramCaption();
void SetProgramCaption(std::string caption);

// Shows text with the program's caption and its OK button; flags add the
// icon.
void ShowMessageBox(const std::string& text, UINT flags = MB_OK);

// The questions: the button that goes on is never the default, so a held
// Enter key changes nothing. Only that button answers true; the other, the
// close box and a box that could not be shown answer false.
// Yes and No; icon: MB_ICONWARNING, MB_ICONINFORMATION...
bool AskYesNo(const std::string& text, UINT icon = MB_ICONWARNING);
// OK and Cancel.
bool AskOkCancel(const std::string& text, UINT icon = MB_ICONWARNING);

// Replaces the real message box (tests); an empty function restores it.
using MessageBoxHook = std::function<int(const std::string& text, const std::string& caption, UINT flags)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace vh
