// Small text helpers shared by the portable core. ANSI text throughout, as
// the program uses the A-versions of the Win32 calls.
#pragma once

#include <string>

namespace vh {

std::string UpperAscii(std::string text);
std::string LowerAscii(std::string text);
bool EqualsIgnoreCase(const std::string& a, const std::string& b);

}  // namespace vh
