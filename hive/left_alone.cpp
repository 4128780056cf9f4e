#include "hive/left_alone.h"

#include "lang/messages.h"
#include "platform/text.h"

namespace vh {

namespace {

const char kMachinePrefix[] = "\\REGISTRY\\MACHINE\\";
const char kUserPrefix[] = "\\REGISTRY\\USER\\";

struct LeftAloneHive {
  const char* key;  // below \REGISTRY\MACHINE, upper-cased
  LeftAlone why;
};

// Each hive's two messages: what the hive list shows, and why.
const LeftAloneHive kLeftAlone[] = {
    {"BCD00000000", {IDS_LEFT_ALONE_BOOT, IDS_LEFT_ALONE_BOOT_WHY}},
    {"SAM", {IDS_LEFT_ALONE_SAM, IDS_LEFT_ALONE_SAM_WHY}},
    {"SECURITY", {IDS_LEFT_ALONE_SECURITY, IDS_LEFT_ALONE_SECURITY_WHY}},
    {"COMPONENTS", {IDS_LEFT_ALONE_COMPONENTS, IDS_LEFT_ALONE_COMPONENTS_WHY}},
    {"DRIVERS", {IDS_LEFT_ALONE_DRIVERS, IDS_LEFT_ALONE_DRIVERS_WHY}},
    {"ELAM", {IDS_LEFT_ALONE_ELAM, IDS_LEFT_ALONE_ELAM_WHY}},
};

const char kProfileListKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

bool StartsWith(const std::string& upper, const char* prefix) {
  return upper.compare(0, std::string(prefix).size(), prefix) == 0;
}

// A user hive of a listed profile: "<SID>" or "<SID>_Classes".
bool OwnUserHive(const std::string& upperKey, const std::vector<std::string>& profileSids) {
  if (upperKey == ".DEFAULT") return true;
  const std::string classes = "_CLASSES";
  std::string sid = upperKey;
  if (sid.size() > classes.size() && sid.compare(sid.size() - classes.size(), classes.size(), classes) == 0)
    sid.resize(sid.size() - classes.size());
  for (const std::string& profile : profileSids)
    if (!profile.empty() && UpperAscii(profile) == sid) return true;
  return false;
}

}  // namespace

const char* LeftAlone::Shown() const { return MessageOf(shownId).english; }
const char* LeftAlone::Reason() const { return MessageOf(reasonId).english; }

const LeftAlone kOtherProgramsHive{IDS_LEFT_ALONE_OTHER, IDS_LEFT_ALONE_OTHER_WHY};

std::optional<LeftAlone> LeftAloneReason(const std::string& hiveName, const std::vector<std::string>& profileSids) {
  std::string upper = UpperAscii(hiveName);
  if (StartsWith(upper, kMachinePrefix)) {
    std::string key = upper.substr(sizeof kMachinePrefix - 1);
    for (const LeftAloneHive& hive : kLeftAlone)
      if (key == hive.key) return hive.why;
    if (key == "SYSTEM" || key == "SOFTWARE") return std::nullopt;
  } else if (StartsWith(upper, kUserPrefix)) {
    if (OwnUserHive(upper.substr(sizeof kUserPrefix - 1), profileSids)) return std::nullopt;
  }
  return kOtherProgramsHive;
}

HiveTable HivesToCopy(const HiveTable& hives) {
  HiveTable copied;
  copied.ProfileSids = hives.ProfileSids;
  for (std::size_t i = 0; i < hives.size(); ++i)
    if (!LeftAloneReason(hives.HiveNames[i], hives.ProfileSids)) copied.Append(hives.HiveNames[i], hives.HiveFiles[i]);
  return copied;
}

std::vector<std::string> ReadProfileSids(Registry& registry) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, kProfileListKey, win::kKeyRead);
  if (!key) return {};
  std::vector<std::string> sids = registry.SubkeyNames(key);
  registry.CloseKey(key);
  return sids;
}

std::string HiveReaderSid(const std::string& hiveName) {
  std::string upper = UpperAscii(hiveName);
  if (upper.compare(0, sizeof kUserPrefix - 1, kUserPrefix) != 0) return "";
  std::string sid = hiveName.substr(sizeof kUserPrefix - 1);
  const std::string classes = "_CLASSES";
  const std::string upperSid = UpperAscii(sid);
  if (upperSid.size() > classes.size() && upperSid.compare(sid.size() - classes.size(), classes.size(), classes) == 0)
    sid.resize(sid.size() - classes.size());
  // Only a plain SID: ".DEFAULT" and anything with a separator is nobody's.
  if (UpperAscii(sid).compare(0, 4, "S-1-") != 0 || sid.find_first_not_of("Ss0123456789-") != std::string::npos)
    return "";
  return sid;
}

}  // namespace vh
