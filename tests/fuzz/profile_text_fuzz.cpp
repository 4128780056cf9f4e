// Profile files are files anyone can hand the program (options.ini, language
// files, reports): reading and rewriting them must hold for any bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/unattended.h"
#include "lang/messages.h"
#include "lang/translation.h"
#include "tests/support/fake_platform.h"
#include "platform/ini_text.h"
#include "settings/options.h"

namespace {

// A section name the profile format can hold: no brackets, breaks or
// blanks at its ends (those are trimmed when read back).
bool Representable(const std::string& name) {
  if (name.empty() || name.find_first_of("[]\r\n=") != std::string::npos) return false;
  return name.front() != ' ' && name.front() != '\t' && name.back() != ' ' && name.back() != '\t';
}

class QuietHost final : public vh::UnattendedHost {
 public:
  bool SwapsWait() override { return false; }
  bool Analyze() override { return true; }
  vh::DefragSummary Defragment() override { return {}; }
  vh::UndoSummary Undo() override { return {}; }
  vh::TotalsText Totals() override { return {"1 KB", "1 KB", "0 KB", "0%"}; }
  vh::HivesReport ReportHives() override { return {"PC", "10.0.19045", {{"\\REGISTRY\\MACHINE\\SAM", 1, {}}}}; }
  std::string NowText() override { return "now"; }
  bool AwaitRestart() override { return true; }
  void RecordFailure(const std::string&) override {}
  void Close() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::size_t cut = text.find('\x01');
  std::string name = cut == std::string::npos ? "Options" : text.substr(0, cut);
  vh::IniLookup(text, name, "Lan");
  std::string rewritten = vh::IniSet(text, name, "Lan", "French");
  if (Representable(name) && vh::IniLookup(rewritten, name, "Lan").value_or("") != "French")
    __builtin_trap();  // a key just written must read back
  if (Representable(name) && !vh::IniHasSection(rewritten, name)) __builtin_trap();
  vh::IniEraseSection(text, name);
  vh::ParseProfileBool(text, true);

  vh::FakePlatform fake;
  fake.SetProfileText("C:\\options.ini", text);
  vh::TOptionsSetting options;
  vh::LoadSaveOptions(options, fake, "C:\\options.ini", true);
  if (options.Lan.size() > 2047) __builtin_trap();
  // The language name becomes part of a path: it can never leave the folder.
  if (options.Lan.find_first_of("\\/:") != std::string::npos) __builtin_trap();
  vh::LoadSaveOptions(options, fake, "C:\\options.ini", false);

  // A report with any number of "Scan Result" sections ends with exactly
  // the keys just written: no stale key of a second section survives.
  fake.SetProfileText("C:\\r.ini", text);
  QuietHost host;
  if (vh::RunScanMode(host, fake, fake, "C:\\r.ini", "C:\\Program Files\\Varnhold\\varnhold.exe") != vh::kExitDone) __builtin_trap();
  std::string report = fake.ProfileText("C:\\r.ini");
  if (vh::IniLookup(report, "Scan Result", "Time").value_or("") != "now") __builtin_trap();
  std::string rest = vh::IniEraseSection(report, "Scan Result");
  // (The erasing stops after a thousand sections of the name.)
  bool fewSections = std::count(text.begin(), text.end(), '[') < 1000;
  if (fewSections && vh::IniHasSection(rest, "Scan Result")) __builtin_trap();
  if (fewSections && vh::IniLookup(report, "Scan Hives", "Hives").value_or("") != "1") __builtin_trap();

  // A language file of any bytes, in any code page it may name: every
  // message comes out, its places filled or the English standing in.
  fake.SetProfileText("C:\\DLan_Other.ini", text);
  const vh::LanguageFile file = vh::ReadLanguageFile(fake, "C:\\DLan_Other.ini", "Other");
  if (std::optional<std::string> value = file.Value(name, "Lan"); value && value->size() > 4 * 2047) __builtin_trap();
  const vh::Messages messages(file);
  for (const vh::MessageText& m : vh::AllMessages()) {
    const std::string shown = messages.Text(m.id, {"\x02"});
    if (vh::PlacesOf(m.english).count(1) && shown.find('\x02') == std::string::npos) __builtin_trap();
  }
  return 0;
}
