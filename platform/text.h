// Small text helpers shared by the portable core. Case rules are ASCII's:
// UTF-8 and ANSI text pass through unchanged beyond ASCII.
#pragma once

#include <string>

namespace vh {

std::string UpperAscii(std::string text);
std::string LowerAscii(std::string text);
bool EqualsIgnoreCase(const std::string& a, const std::string& b);

}  // namespace vh
