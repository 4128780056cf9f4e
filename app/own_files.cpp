#include "app/own_files.h"

#include "platform/file_path.h"
#include "platform/text.h"

namespace vh {

namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

bool IsProgramFile(const std::string& path, const std::string& programPath) {
  const std::string file = NormalisedPath(path);
  const std::string program = NormalisedPath(programPath);
  if (file.empty() || program.empty()) return false;
  if (file == program) return true;
  const std::size_t slash = program.find_last_of('\\');
  if (slash == std::string::npos || file.size() <= slash + 1 || file.compare(0, slash + 1, program, 0, slash + 1) != 0)
    return false;
  const std::string name = file.substr(slash + 1);
  if (name.find('\\') != std::string::npos) return false;
  if (name == "VARNHOLD-JOURNAL.TXT" || name == "VARNHOLD.LOG" || name == "OPTIONS.INI") return true;
  // Any language file, present or not: "Lan" may name it later.
  return name.size() > 9 && name.compare(0, 5, "DLAN_") == 0 && EndsWith(name, ".INI");
}

}  // namespace vh
