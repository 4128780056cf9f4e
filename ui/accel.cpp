#include "ui/accel.h"

namespace vh {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

char AcceleratorOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return UpperAscii(caption[i + 1]);
    ++i;  // "&&" is a literal ampersand
  }
  return 0;
}

bool IsAccelerator(char typed, const std::string& caption) {
  char a = AcceleratorOf(caption);
  return a != 0 && UpperAscii(typed) == a;
}

std::string StripAccelerator(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == '&') continue;
    out += caption[i];
  }
  return out;
}

}  // namespace vh
