// A language file read in its own code page, whatever the system's is.
//
// The file names its code page in its [Language] section:
//
//   [Language]
//   CodePage=936
//
// A file without that key is known by its language: Chinese is GBK (936),
// the other languages the menu offers are Windows-1252, and any other file
// (DLan_Other.ini, which users write) is in the system's ANSI code page, as
// files made for earlier versions are. A byte-order mark says UTF-8 or
// UTF-16 whatever the key says. Every value comes out as UTF-8.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace vh {

namespace codepage {
constexpr unsigned kSystemAnsi = 0;  // CP_ACP
constexpr unsigned kWestern = 1252;
constexpr unsigned kSimplifiedChinese = 936;
constexpr unsigned kUtf16 = 1200;
constexpr unsigned kUtf8 = 65001;
}  // namespace codepage

// The largest language file read; a bigger one is no language file.
constexpr std::size_t kLanguageFileMaxBytes = 1 << 20;

// The code page the bytes of the named language's file are written in.
unsigned LanguageFileCodePage(const std::string& bytes, const std::string& language);

class LanguageFile {
 public:
  // No file: every lookup misses.
  LanguageFile() = default;
  LanguageFile(std::string utf8Text, unsigned codePage) : text_(std::move(utf8Text)), codePage_(codePage), found_(true) {}

  // The value as the profile functions give it (case-blind names, outer
  // blanks dropped, at most 2047 UTF-16 units), in UTF-8.
  std::optional<std::string> Value(const std::string& section, const std::string& key) const;
  unsigned CodePage() const { return codePage_; }
  bool Found() const { return found_; }

 private:
  std::string text_;
  unsigned codePage_ = codepage::kSystemAnsi;
  bool found_ = false;
};

// Reads and decodes the file at path; an absent, unreadable or undecodable
// file reads as no file, so the windows keep their English.
LanguageFile ReadLanguageFile(ProfileFiles& profiles, const std::string& path, const std::string& language);

}  // namespace vh
