// The command line: no argument (interactive), /Silent, or /Scan with the
// report path as the second argument.
#pragma once

#include <string>
#include <vector>

namespace vh {

// Splits a raw command line into arguments: separated by blanks, tabs and
// other control characters, a double-quoted stretch belongs to one argument
// and loses its quotes. The first element is the program itself.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

enum class RunMode { Interactive, Silent, Scan };

struct Invocation {
  RunMode mode = RunMode::Interactive;
  std::string reportPath;  // the second argument of /Scan, maybe empty
};

// Whole-argument equality, case ignored: "/silent" counts, "/Silent2" not.
Invocation ParseInvocation(const std::vector<std::string>& arguments);

}  // namespace vh
