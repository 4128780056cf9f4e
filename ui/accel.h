// Accelerator characters of captions: "&x" marks x, "&&" is a plain "&".
#pragma once

#include <string>
#include <vector>

namespace vh {

// The character after the marking "&", upper-cased for ASCII letters, or 0.
char AcceleratorOf(const std::string& caption);
// Whether a typed character is the caption's accelerator (case ignored).
bool IsAccelerator(char typed, const std::string& caption);
// The caption without its marks, "&&" kept as one "&".
std::string StripAccelerator(const std::string& caption);

// Gives each caption of one window an accelerator no other caption of that
// window has. A caption keeps its own mark while the letter is free;
// otherwise it takes its default letter (defaults[i], 0 for none) where the
// caption contains it, then the first free letter that starts a word, then
// any free letter or digit. A caption without a usable ASCII letter (a
// Chinese one) gets the free letter appended the Windows way, "(&X)".
// Only ASCII characters are marked, so multi-byte text stays intact.
std::vector<std::string> AssignAccelerators(const std::vector<std::string>& captions,
                                            const std::vector<char>& defaults);

}  // namespace vh
