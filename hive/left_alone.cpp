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

}  // namespace

const char* LeftAlone::Shown() const { return MessageOf(shownId).english; }
const char* LeftAlone::Reason() const { return MessageOf(reasonId).english; }

std::optional<LeftAlone> LeftAloneReason(const std::string& hiveName) {
  std::string upper = UpperAscii(hiveName);
  if (upper.compare(0, sizeof kMachinePrefix - 1, kMachinePrefix) != 0) return std::nullopt;
  std::string key = upper.substr(sizeof kMachinePrefix - 1);
  for (const LeftAloneHive& hive : kLeftAlone)
    if (key == hive.key) return hive.why;
  return std::nullopt;
}

HiveTable HivesToCopy(const HiveTable& hives) {
  HiveTable copied;
  for (std::size_t i = 0; i < hives.size(); ++i)
    if (!LeftAloneReason(hives.HiveNames[i])) copied.Append(hives.HiveNames[i], hives.HiveFiles[i]);
  return copied;
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
