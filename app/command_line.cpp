#include "app/command_line.h"

#include "platform/text.h"

namespace vh {

namespace {

bool IsSeparator(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }
bool IsSlash(char c) { return c == '\\' || c == '/'; }
bool IsSwitch(const std::string& argument) { return !argument.empty() && (argument[0] == '/' || argument[0] == '-'); }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool HasDrive(const std::string& path) { return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':'; }
bool IsUnc(const std::string& path) { return path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]); }

std::string WithSeparator(const std::string& folder) {
  return folder.empty() || IsSlash(folder.back()) ? folder : folder + "\\";
}

// "C:" of "C:\work", "\\server\share" of "\\server\share\work".
std::string RootOf(const std::string& folder) {
  if (HasDrive(folder)) return folder.substr(0, 2);
  if (!IsUnc(folder)) return "";
  std::size_t server = folder.find_first_of("\\/", 2);
  if (server == std::string::npos) return folder;
  std::size_t share = folder.find_first_of("\\/", server + 1);
  return share == std::string::npos ? folder : folder.substr(0, share);
}

constexpr char kMinGainSwitch[] = "/MinGain:";

bool IsMinGainSwitch(const std::string& argument) {
  const std::size_t n = sizeof kMinGainSwitch - 1;
  return argument.size() >= n && EqualsIgnoreCase(argument.substr(0, n), kMinGainSwitch);
}

// The mode's own switches after it; false with the refused argument kept
// when one is not the mode's, is malformed, or comes twice.
bool TakeModeSwitches(const std::vector<std::string>& arguments, std::size_t from, Invocation& invocation) {
  for (std::size_t i = from; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!IsSwitch(argument)) continue;
    if (invocation.mode == RunMode::Silent && IsMinGainSwitch(argument) && !invocation.minGain) {
      invocation.minGain = ParseMinGain(argument.substr(sizeof kMinGainSwitch - 1));
      if (invocation.minGain) continue;
    }
    invocation.refused = argument;
    return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  const std::size_t n = commandLine.size();
  for (;;) {
    while (i < n && IsSeparator(commandLine[i])) ++i;
    if (i >= n || commandLine[i] == '\0') break;
    std::string argument;
    bool quoted = false;
    for (; i < n && commandLine[i] != '\0' && (quoted || !IsSeparator(commandLine[i])); ++i) {
      if (commandLine[i] == '"') {
        quoted = !quoted;
      } else {
        argument.push_back(commandLine[i]);
      }
    }
    arguments.push_back(argument);
  }
  return arguments;
}

bool IsUnattended(RunMode mode) {
  return mode == RunMode::Silent || mode == RunMode::Scan || mode == RunMode::Undo;
}

Invocation ParseInvocation(const std::vector<std::string>& arguments, const std::string& currentFolder) {
  Invocation invocation;
  if (arguments.size() < 2) return invocation;
  const std::string& first = arguments[1];
  std::size_t modeSwitchesFrom = 2;
  if (EqualsIgnoreCase(first, "/Silent")) {
    invocation.mode = RunMode::Silent;
  } else if (EqualsIgnoreCase(first, "/Undo")) {
    invocation.mode = RunMode::Undo;
  } else if (EqualsIgnoreCase(first, "/Scan")) {
    invocation.mode = RunMode::Scan;
    modeSwitchesFrom = 3;
    if (arguments.size() > 2) {
      // "/Scan /Silent" would otherwise write a report named "Silent" at
      // the root of the drive.
      if (IsSwitch(arguments[2])) {
        invocation.mode = RunMode::BadCommandLine;
        invocation.refused = arguments[2];
        return invocation;
      }
      invocation.reportPath = AbsolutePath(arguments[2], currentFolder);
    }
  } else if (IsSwitch(first)) {
    invocation.mode = RunMode::BadCommandLine;
    invocation.refused = first;
    return invocation;
  } else {
    // A first word that is no switch opens the window, unless any switch
    // follows: "now /Silent", "now /Foo" or an empty variable before a
    // switch is a script's mistake, and a window would keep the script
    // waiting.
    for (std::size_t i = 2; i < arguments.size(); ++i) {
      if (IsSwitch(arguments[i])) return Invocation{RunMode::BadCommandLine, "", arguments[i], std::nullopt};
    }
    return invocation;
  }
  if (!TakeModeSwitches(arguments, modeSwitchesFrom, invocation)) {
    invocation = Invocation{RunMode::BadCommandLine, "", invocation.refused, std::nullopt};
  }
  return invocation;
}

std::string UsageLine(const Invocation& invocation) {
  return "The command line argument \"" + invocation.refused +
         "\" is not understood. Usage: varnhold.exe [/Silent [/MinGain:<percent>] | /Scan [report file] | /Undo]";
}

std::string AbsolutePath(const std::string& path, const std::string& currentFolder) {
  if (path.empty() || currentFolder.empty()) return path;
  if (IsUnc(path)) return path;
  if (HasDrive(path)) {
    if (path.size() > 2 && IsSlash(path[2])) return path;
    // Drive-relative: the current folder is only known for its own drive.
    if (EqualsIgnoreCase(path.substr(0, 2), RootOf(currentFolder))) return WithSeparator(currentFolder) + path.substr(2);
    return path.substr(0, 2) + "\\" + path.substr(2);
  }
  if (IsSlash(path[0])) return RootOf(currentFolder) + path;
  return WithSeparator(currentFolder) + path;
}

}  // namespace vh
