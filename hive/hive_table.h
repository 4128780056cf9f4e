// The loaded hives, in the order the system lists them: two parallel lists
// held by the main window, with the profiles that tell the system's own
// user hives from other programs'. Sizes and the copy and backup paths are derived
// on demand and never stored.
#pragma once

#include <string>
#include <vector>

namespace vh {

struct HiveTable {
  std::vector<std::string> HiveNames;  // as listed under hivelist, case kept
  std::vector<std::string> HiveFiles;  // drive-letter path of each hive's file
  // The profiles the system lists under ProfileList, by SID: the user hives
  // that are the system's own.
  std::vector<std::string> ProfileSids;

  std::size_t size() const { return HiveNames.size(); }
  bool empty() const { return HiveNames.empty(); }
  void clear() {
    HiveNames.clear();
    HiveFiles.clear();
    ProfileSids.clear();
  }
  void Append(const std::string& name, const std::string& file) {
    HiveNames.push_back(name);
    HiveFiles.push_back(file);
  }
};

inline std::string CopyPath(const std::string& hiveFile) { return hiveFile + ".hvz"; }
inline std::string BackupPath(const std::string& hiveFile) { return hiveFile + ".bak"; }
// After an undo: the compacted hive that the backup replaced.
inline std::string UndoPath(const std::string& hiveFile) { return hiveFile + ".undo"; }

}  // namespace vh
