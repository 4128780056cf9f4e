// Profile files are files anyone can hand the program (options.ini, language
// files, reports): reading and rewriting them must hold for any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fake_platform.h"
#include "platform/ini_text.h"
#include "settings/options.h"

namespace {

// A section name the profile format can hold: no brackets, breaks or
// blanks at its ends (those are trimmed when read back).
bool Representable(const std::string& name) {
  if (name.empty() || name.find_first_of("[]\r\n=") != std::string::npos) return false;
  return name.front() != ' ' && name.front() != '\t' && name.back() != ' ' && name.back() != '\t';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::size_t cut = text.find('\x01');
  std::string name = cut == std::string::npos ? "Options" : text.substr(0, cut);
  vh::IniLookup(text, name, "Lan");
  std::string rewritten = vh::IniSet(text, name, "Lan", "French");
  if (Representable(name) && vh::IniLookup(rewritten, name, "Lan").value_or("") != "French")
    __builtin_trap();  // a key just written must read back
  vh::IniEraseSection(text, name);
  vh::ParseProfileBool(text, true);

  vh::FakePlatform fake;
  fake.SetProfileText("C:\\options.ini", text);
  vh::TOptionsSetting options;
  vh::LoadSaveOptions(options, fake, "C:\\options.ini", true);
  if (options.Lan.size() > 2047) __builtin_trap();
  vh::LoadSaveOptions(options, fake, "C:\\options.ini", false);
  return 0;
}
