// The command line comes from whoever starts the program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args = vh::SplitCommandLine(line);
  std::size_t total = 0;
  for (const std::string& a : args) total += a.size();
  if (total > line.size()) __builtin_trap();
  vh::Invocation inv = vh::ParseInvocation(args);
  if (inv.mode != vh::RunMode::Scan && !inv.reportPath.empty()) __builtin_trap();
  return 0;
}
