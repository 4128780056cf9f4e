// The program's message boxes: its own caption, owned by the active window.
// Their texts are UTF-8, as the paths and hive names they quote, and are
// shown through the wide-character functions, so that a name or a
// translation outside the ANSI code page shows as it is. Tests may divert
// them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/modal_result.h"

namespace vh {

// The caption every box carries: "Varnhold" until the program sets its
// product name from its string table at start.
std::string ProgramCaption();
void SetProgramCaption(std::string caption);

// Shows text with the program's caption; returns the button pressed.
ModalResult ShowMessageBox(const std::string& text, UINT flags = MB_OK);

// Replaces the real message box (tests); an empty function restores it.
using MessageBoxHook = std::function<int(const std::string& text, const std::string& caption, UINT flags)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace vh
