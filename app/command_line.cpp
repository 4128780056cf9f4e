#include "app/command_line.h"

#include "platform/text.h"

namespace vh {

namespace {

bool IsSeparator(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

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

Invocation ParseInvocation(const std::vector<std::string>& arguments) {
  Invocation invocation;
  if (arguments.size() < 2) return invocation;
  if (EqualsIgnoreCase(arguments[1], "/Silent")) {
    invocation.mode = RunMode::Silent;
  } else if (EqualsIgnoreCase(arguments[1], "/Scan")) {
    invocation.mode = RunMode::Scan;
    if (arguments.size() > 2) invocation.reportPath = arguments[2];
  }
  return invocation;
}

}  // namespace vh
