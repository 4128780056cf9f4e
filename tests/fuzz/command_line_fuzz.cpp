// The command line comes from whoever starts the program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "platform/text.h"

namespace {

bool IsSwitch(const std::string& a) { return !a.empty() && (a[0] == '/' || a[0] == '-'); }

bool IsAbsolute(const std::string& p) {
  bool slash2 = p.size() >= 3 && (p[2] == '\\' || p[2] == '/');
  bool unc = p.size() >= 2 && (p[0] == '\\' || p[0] == '/') && (p[1] == '\\' || p[1] == '/');
  return (p.size() >= 2 && p[1] == ':' && slash2) || unc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args = vh::SplitCommandLine(line);
  std::size_t total = 0;
  for (const std::string& a : args) total += a.size();
  if (total > line.size()) __builtin_trap();

  vh::Invocation inv = vh::ParseInvocation(args, "C:\\work");
  if (inv.mode != vh::RunMode::Scan && !inv.reportPath.empty()) __builtin_trap();
  // A switch is never a report path, and a report path is never relative.
  if (!inv.reportPath.empty() && (IsSwitch(args[2]) || !IsAbsolute(inv.reportPath))) __builtin_trap();
  // Every switch but the three modes is refused, and a refusal names a switch.
  if (args.size() >= 2 && IsSwitch(args[1]) && !vh::EqualsIgnoreCase(args[1], "/Silent") &&
      !vh::EqualsIgnoreCase(args[1], "/Scan") && !vh::EqualsIgnoreCase(args[1], "/Undo") &&
      inv.mode != vh::RunMode::BadCommandLine)
    __builtin_trap();
  if (inv.mode == vh::RunMode::Undo && !vh::EqualsIgnoreCase(args[1], "/Undo")) __builtin_trap();
  if (inv.mode == vh::RunMode::BadCommandLine && (!IsSwitch(inv.refused) || !inv.reportPath.empty())) __builtin_trap();
  if (inv.mode != vh::RunMode::BadCommandLine && !inv.refused.empty()) __builtin_trap();

  // Without a current folder the path stays as given.
  vh::Invocation bare = vh::ParseInvocation(args);
  if (bare.mode == vh::RunMode::Scan && args.size() > 2 && bare.reportPath != args[2]) __builtin_trap();
  return 0;
}
