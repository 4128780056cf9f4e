#include "settings/options.h"

#include <cstdint>

#include "platform/error.h"

namespace vh {

namespace {

const char kSection[] = "Options";
constexpr std::size_t kReadBuffer = 2048;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ReadBool(ProfileFiles& profiles, const std::string& file, const char* key, bool fallback) {
  std::string text = profiles.Read(kSection, key, "", kReadBuffer, file);
  return ParseProfileBool(text, fallback);
}

void WriteValue(ProfileFiles& profiles, const std::string& file, const char* key, const std::string& value) {
  if (!profiles.Write(kSection, key, value, file)) throw UnableToWrite(file);
}

}  // namespace

bool ParseProfileInt(const std::string& text, std::int32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  }
  if (i >= text.size()) return false;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + std::uint64_t(digit);
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  if (hex) {
    // Hex fills all 32 bits: $FFFFFFFF is -1.
    std::int32_t bits = std::int32_t(std::uint32_t(magnitude));
    value = negative ? std::int32_t(0u - std::uint32_t(bits)) : bits;
    return true;
  }
  if (negative ? magnitude > 0x80000000ull : magnitude > 0x7FFFFFFFull) return false;
  value = negative ? std::int32_t(0 - std::int64_t(magnitude)) : std::int32_t(magnitude);
  return true;
}

bool ParseProfileBool(const std::string& text, bool fallback) {
  std::string number = text;
  if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X')) {
    number = "$" + number.substr(2);
  }
  std::int32_t value = 0;
  if (!ParseProfileInt(number, value)) return fallback;
  return value != 0;
}

bool IsPlainLanguageName(const std::string& language) {
  for (char c : language) {
    if (static_cast<unsigned char>(c) < ' ') return false;
    if (std::string("\\/:*?\"<>|").find(c) != std::string::npos) return false;
  }
  return true;
}

std::string OptionsFilePath(Files& files) { return files.ExecutableFolder() + "options.ini"; }

void LoadSaveOptions(TOptionsSetting& options, ProfileFiles& profiles, const std::string& iniPath,
                     bool load) {
  if (load) {
    const TOptionsSetting defaults;
    options.RestorePoint = ReadBool(profiles, iniPath, "RestorePoint", defaults.RestorePoint);
    options.IsAskBeforeDefrag = ReadBool(profiles, iniPath, "IsAskBeforeDefrag", defaults.IsAskBeforeDefrag);
    options.IsShowLine = ReadBool(profiles, iniPath, "IsShowLine", defaults.IsShowLine);
    options.Lan = profiles.Read(kSection, "Lan", defaults.Lan, kReadBuffer, iniPath);
    // The name becomes part of a file path: "..\..\x" would load a
    // language file from anywhere.
    if (!IsPlainLanguageName(options.Lan)) options.Lan = defaults.Lan;
    return;
  }
  WriteValue(profiles, iniPath, "RestorePoint", options.RestorePoint ? "1" : "0");
  WriteValue(profiles, iniPath, "IsAskBeforeDefrag", options.IsAskBeforeDefrag ? "1" : "0");
  WriteValue(profiles, iniPath, "IsShowLine", options.IsShowLine ? "1" : "0");
  WriteValue(profiles, iniPath, "Lan", options.Lan);
}

}  // namespace vh
