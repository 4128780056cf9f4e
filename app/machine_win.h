// Facts about the machine that the scan report names: which computer it is
// and which Windows it truly runs.
#pragma once

#include <string>

namespace vh {

// The computer's NetBIOS name, as %COMPUTERNAME% gives it; empty when it
// cannot be read.
std::string ComputerNameText();

// "major.minor.build" from RtlGetVersion, looked up in ntdll at run time:
// GetVersionEx reports 6.2 on Windows 8 to 11 to a program without a
// compatibility declaration. GetVersionEx's figures when ntdll lacks it.
std::string TrueWindowsVersion();

// UTF-8 text (hive names) in the ANSI code page that profile values are
// kept in; a character the code page lacks becomes its best fit or "?".
std::string AnsiFromUtf8(const std::string& utf8);

}  // namespace vh
