#include "lang/language_file.h"

#include <cstdint>
#include <cstdlib>

#include "lang/translation.h"
#include "platform/ini_text.h"
#include "platform/text.h"

namespace vh {

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16Mark[] = "\xFF\xFE";

bool StartsWith(const std::string& bytes, const char* mark) { return bytes.rfind(mark, 0) == 0; }

unsigned KnownCodePage(const std::string& language) {
  if (EqualsIgnoreCase(language, "Chinese")) return codepage::kSimplifiedChinese;
  for (const char* western : {"English", "French", "German", "Spanish", "Italian", "Dutch"})
    if (EqualsIgnoreCase(language, western)) return codepage::kWestern;
  return codepage::kSystemAnsi;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// UTF-16LE (after its mark) to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::string& bytes) {
  std::string out;
  auto unit = [&](std::size_t i) {
    return std::uint32_t(static_cast<unsigned char>(bytes[i])) | std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// The profile functions' 2048-unit buffer: a longer value is cut to 2047
// UTF-16 units, never inside a character.
std::string CutToProfileBuffer(const std::string& utf8) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::size_t need = length == 4 ? 2 : 1;
    if (units + need > kLanguageValueBuffer - 1) return utf8.substr(0, i);
    units += need;
    i += length;
  }
  return utf8;
}

std::optional<std::string> Decode(ProfileFiles& profiles, const std::string& bytes, unsigned codePage) {
  if (StartsWith(bytes, kUtf8Mark)) return bytes.substr(3);
  if (StartsWith(bytes, kUtf16Mark)) return Utf16ToUtf8(bytes.substr(2));
  if (codePage == codepage::kUtf8) return bytes;
  return profiles.DecodeText(bytes, codePage);
}

}  // namespace

unsigned LanguageFileCodePage(const std::string& bytes, const std::string& language) {
  if (StartsWith(bytes, kUtf8Mark)) return codepage::kUtf8;
  if (StartsWith(bytes, kUtf16Mark)) return codepage::kUtf16;
  // The key is ASCII in every code page a language file may be written in,
  // so it is found before the text is decoded.
  if (std::optional<std::string> declared = IniLookup(bytes, "Language", "CodePage")) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(declared->c_str(), &end, 10);
    if (end && *end == '\0' && !declared->empty() && value <= 65535) return unsigned(value);
  }
  return KnownCodePage(language);
}

std::optional<std::string> LanguageFile::Value(const std::string& section, const std::string& key) const {
  std::optional<std::string> value = IniLookup(text_, section, key);
  if (value) value = CutToProfileBuffer(*value);
  return value;
}

LanguageFile ReadLanguageFile(ProfileFiles& profiles, const std::string& path, const std::string& language) {
  std::optional<std::string> bytes = profiles.ReadBytes(path, kLanguageFileMaxBytes + 1);
  if (!bytes || bytes->size() > kLanguageFileMaxBytes) return {};
  const unsigned codePage = LanguageFileCodePage(*bytes, language);
  std::optional<std::string> text = Decode(profiles, *bytes, codePage);
  if (!text) return {};
  return LanguageFile(std::move(*text), codePage);
}

}  // namespace vh
