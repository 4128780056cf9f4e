// Accelerator characters of captions: "&x" marks x, "&&" is a plain "&".
#pragma once

#include <string>

namespace vh {

// The character after the marking "&", upper-cased for ASCII letters, or 0.
char AcceleratorOf(const std::string& caption);
// Whether a typed character is the caption's accelerator (case ignored).
bool IsAccelerator(char typed, const std::string& caption);
// The caption without its marks, "&&" kept as one "&".
std::string StripAccelerator(const std::string& caption);

}  // namespace vh
