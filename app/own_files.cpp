#include "app/own_files.h"

#include "platform/file_path.h"
#include "platform/text.h"

namespace vh {

namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

// A name the program keeps beside itself (upper case); any language file,
// present or not: "Lan" may name it later.
bool OwnName(const std::string& name, const std::string& programName) {
  if (name == programName || name == "VARNHOLD-JOURNAL.TXT" || name == "VARNHOLD.LOG" || name == "OPTIONS.INI")
    return true;
  return name.size() > 9 && name.compare(0, 5, "DLAN_") == 0 && EndsWith(name, ".INI");
}

// The folder, without its last separator (as a folder's identity is asked).
std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }
std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

bool SameFile(Files& files, const std::string& a, const std::string& b) {
  std::optional<std::string> first = files.Identity(a);
  return first && first == files.Identity(b);
}

}  // namespace

bool IsProgramFile(Files& files, const std::string& path, const std::string& programPath) {
  const std::string file = NormalisedPath(path);
  const std::string program = NormalisedPath(programPath);
  if (file.empty() || program.empty() || program.find('\\') == std::string::npos ||
      file.find('\\') == std::string::npos)
    return false;
  const std::string folder = FolderOf(program), programName = NameOf(program);
  if (OwnName(NameOf(file), programName) && (FolderOf(file) == folder || SameFile(files, FolderOf(file), folder)))
    return true;
  if (!files.Identity(path)) return false;
  if (SameFile(files, path, programPath)) return true;
  for (const std::string& name : files.FileNamesIn(folder))
    if (OwnName(UpperAscii(name), programName) && SameFile(files, path, folder + "\\" + name)) return true;
  return false;
}

}  // namespace vh
