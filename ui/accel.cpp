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

namespace {

bool IsAsciiAlnum(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// Marks the first position for which pick() holds with a free letter;
// returns whether it did.
template <typename Pick>
bool MarkFirst(std::string& plain, std::vector<bool>& used, Pick pick) {
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (static_cast<unsigned char>(plain[i]) >= 0x80) {
      ++i;  // lead byte of a double-byte character: skip its trail byte too
      continue;
    }
    char c = plain[i];
    if (!IsAsciiAlnum(c) || used[static_cast<unsigned char>(UpperAscii(c))] || !pick(i)) continue;
    used[static_cast<unsigned char>(UpperAscii(c))] = true;
    plain.insert(i, 1, '&');
    return true;
  }
  return false;
}

// "&" doubled, so that a plain caption shows no mark of its own.
std::string Escaped(const std::string& plain) {
  std::string out;
  for (char c : plain) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

}  // namespace

std::vector<std::string> AssignAccelerators(const std::vector<std::string>& captions,
                                            const std::vector<char>& defaults) {
  std::vector<std::string> out(captions.size());
  std::vector<bool> used(256, false);
  std::vector<bool> done(captions.size(), false);
  // First pass: own marks that are free keep their place.
  for (std::size_t i = 0; i < captions.size(); ++i) {
    char a = AcceleratorOf(captions[i]);
    if (a == 0 || !IsAsciiAlnum(a) || used[static_cast<unsigned char>(a)]) continue;
    used[static_cast<unsigned char>(a)] = true;
    out[i] = captions[i];
    done[i] = true;
  }
  for (std::size_t i = 0; i < captions.size(); ++i) {
    if (done[i]) continue;
    std::string plain = Escaped(StripAccelerator(captions[i]));
    const char wanted = i < defaults.size() ? UpperAscii(defaults[i]) : 0;
    auto isDefault = [&](std::size_t at) { return wanted != 0 && UpperAscii(plain[at]) == wanted; };
    auto startsWord = [&](std::size_t at) { return at == 0 || plain[at - 1] == ' ' || plain[at - 1] == '-'; };
    auto any = [](std::size_t) { return true; };
    // An escaped "&&" must not be split: marking never lands after a "&".
    auto notAfterAmp = [&](auto pick) { return [&, pick](std::size_t at) { return (at == 0 || plain[at - 1] != '&') && pick(at); }; };
    if (MarkFirst(plain, used, notAfterAmp(isDefault)) || MarkFirst(plain, used, notAfterAmp(startsWord)) ||
        MarkFirst(plain, used, notAfterAmp(any))) {
      out[i] = plain;
      continue;
    }
    char letter = 0;
    if (wanted != 0 && IsAsciiAlnum(wanted) && !used[static_cast<unsigned char>(wanted)]) letter = wanted;
    for (char c = 'A'; letter == 0 && c <= 'Z'; ++c)
      if (!used[static_cast<unsigned char>(c)]) letter = c;
    if (letter == 0) {
      out[i] = plain;
      continue;
    }
    used[static_cast<unsigned char>(letter)] = true;
    out[i] = plain + "(&" + letter + ")";
  }
  return out;
}

}  // namespace vh
