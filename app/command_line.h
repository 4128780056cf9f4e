// The command line: no argument (interactive), /Silent with an optional
// /MinGain:<percent>, /Scan with the report path as the second argument, or
// /Undo.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/min_gain.h"

namespace vh {

// Splits a raw command line into arguments: separated by blanks, tabs and
// other control characters, a double-quoted stretch belongs to one argument
// and loses its quotes. The first element is the program itself.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// BadCommandLine: an unknown or malformed switch ("/Foo", "-Scan",
// "/Scan:x", a switch where the report path belongs, one after the mode
// that the mode does not take, as "/Silent /Undo", or any switch after a
// first word that is none, as "now /Silent", "now /Foo" or "\"\" /Foo"). A
// script must learn of it at once, never wait on a window, and a typo must
// never restart a machine.
enum class RunMode { Interactive, Silent, Scan, Undo, BadCommandLine };

struct Invocation {
  RunMode mode = RunMode::Interactive;
  std::string reportPath;  // /Scan's report, absolute; maybe empty
  std::string refused;     // the argument that made the command line bad
  std::optional<MinGain> minGain;  // /Silent's /MinGain:<percent>
};

bool IsUnattended(RunMode mode);

// Whole-argument equality, case ignored: "/silent" counts, "/Silent2" not.
// Words after the mode that are not switches are ignored.
// A relative report path is taken against currentFolder (with or without
// its trailing separator), not against the Windows folder where the
// profile functions would put it.
Invocation ParseInvocation(const std::vector<std::string>& arguments, const std::string& currentFolder = "");

// The line varnhold.log receives for a bad command line.
std::string UsageLine(const Invocation& invocation);

// path made absolute against currentFolder, by the rules of Windows paths:
// "C:\x" and "\\server\share\x" stay, "\x" takes the current drive, "C:x"
// is taken in the current folder when C: is its drive, and anything else
// is joined to the current folder. Unchanged when currentFolder is empty.
std::string AbsolutePath(const std::string& path, const std::string& currentFolder);

}  // namespace vh
