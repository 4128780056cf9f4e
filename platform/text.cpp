#include "platform/text.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/platform.h"
#include "res/string_ids.h"

namespace vh {

std::string UpperAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
  return text;
}

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
  return text;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

std::string RootKeyName(RootKey root) {
  switch (root) {
    case RootKey::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RootKey::Users: return "HKEY_USERS";
    case RootKey::None: break;
  }
  return "(none)";
}

AppError UnableToWrite(const std::string& path) {
  return AppError(IDS_UNABLE_TO_WRITE, {path}, "Unable to write to " + path);
}

}  // namespace vh
