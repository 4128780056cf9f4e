#include "platform/file_path.h"

#include <vector>

#include "platform/text.h"

namespace vh {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

// "\\server\share\", "C:\" or "\": what ".." never climbs above.
std::string TakeRoot(std::string& path) {
  std::string root;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    std::size_t server = path.find('\\', 2);
    std::size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    root = share == std::string::npos ? path + "\\" : path.substr(0, share + 1);
    path = share == std::string::npos ? "" : path.substr(share + 1);
  } else if (path.size() >= 2 && path[1] == ':') {
    root = path.substr(0, 2) + "\\";
    path = path.substr(path.size() > 2 && path[2] == '\\' ? 3 : 2);
  } else if (!path.empty() && path[0] == '\\') {
    root = "\\";
    path = path.substr(1);
  }
  return root;
}

std::string WithoutTrailingDotsAndBlanks(std::string name) {
  if (name == "." || name == "..") return name;
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  return name;
}

}  // namespace

std::string NormalisedPath(const std::string& path) {
  std::string text = path;
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  if (StartsWith(text, "\\\\?\\UNC\\")) {
    text = "\\\\" + text.substr(8);
  } else if (StartsWith(text, "\\\\?\\") || StartsWith(text, "\\\\.\\")) {
    text = text.substr(4);
  }
  if (EndsWith(text, "::$DATA")) text.resize(text.size() - 7);
  std::string root = TakeRoot(text);
  std::vector<std::string> names;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t end = text.find('\\', from);
    if (end == std::string::npos) end = text.size();
    std::string name = WithoutTrailingDotsAndBlanks(text.substr(from, end - from));
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    from = end + 1;
  }
  std::string joined = root;
  for (std::size_t i = 0; i < names.size(); ++i) joined += (i ? "\\" : "") + names[i];
  return UpperAscii(joined);
}

std::string Wow64FilePath(const std::string& path, const std::string& windowsFolder) {
  std::string folder = windowsFolder;
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  if (folder.empty()) return path;
  const std::string system = folder + "\\System32";
  if (!StartsWith(path, system)) return path;
  const std::string rest = path.substr(system.size());
  if (!rest.empty() && rest[0] != '\\' && rest[0] != '/') return path;  // System32x
  return path.substr(0, folder.size()) + "\\Sysnative" + rest;
}

std::string SystemFolderSpelling(const std::string& path) {
  const std::string name = "sysnative";
  for (std::size_t at = 0; at + name.size() <= path.size(); ++at) {
    const bool starts = at > 0 && (path[at - 1] == '\\' || path[at - 1] == '/');
    const std::size_t end = at + name.size();
    const bool ends = end == path.size() || path[end] == '\\' || path[end] == '/';
    if (starts && ends && EqualsIgnoreCase(path.substr(at, name.size()), name))
      return path.substr(0, at) + "System32" + path.substr(end);
  }
  return path;
}

}  // namespace vh
