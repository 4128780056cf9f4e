#include "hive/left_alone.h"

#include "platform/text.h"

namespace vh {

namespace {

const char kMachinePrefix[] = "\\REGISTRY\\MACHINE\\";
const char kUserPrefix[] = "\\REGISTRY\\USER\\";

struct LeftAloneHive {
  const char* key;  // below \REGISTRY\MACHINE, upper-cased
  LeftAlone why;
};

const LeftAloneHive kLeftAlone[] = {
    {"BCD00000000",
     {"left alone: boot configuration",
      "it is the boot configuration, which the boot manager reads before Windows starts"}},
    {"SAM",
     {"left alone: account database",
      "it holds the local accounts and their password hashes; administrators may not read all of it, so its copy "
      "can never be checked"}},
    {"SECURITY",
     {"left alone: security policy",
      "it holds the security policy and its secrets; administrators may not read all of it, so its copy can never "
      "be checked"}},
    {"COMPONENTS",
     {"left alone: component store", "Windows servicing loads and writes it while it installs updates"}},
    {"DRIVERS", {"left alone: driver store", "Windows servicing loads and writes it while it installs drivers"}},
    {"ELAM", {"left alone: early-launch drivers", "the boot loader reads it before Windows starts"}},
};

const char kProfileListKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr std::uint32_t kKeyRead = 0x20019;

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

const LeftAlone kOtherProgramsHive{
    "left alone: loaded by another program",
    "it is not one of the system's own hives: another program loaded it, and what that program writes to it after "
    "a swap would be lost"};

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

std::vector<std::string> ReadProfileSids(Registry& registry, bool wow64) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, kProfileListKey,
                                     kKeyRead | (wow64 ? win::kKeyWow64_64Key : 0));
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
