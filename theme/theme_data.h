// The data member of a theme file ("SKINDATA.SK2") and the lists a
// Tsk2SkinFileReader keeps from it: bitmaps by name, integers and booleans
// as "name=value" lines, texts as "name=text" lines. Lookups go by name
// without regard to case and find the first entry of that name, as the
// reader's string lists do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "theme/bitmap_file.h"

namespace vh {

// Layout of the data member (little-endian).
constexpr std::size_t kSkinDataHeaderStart = 16;      // read first
constexpr std::size_t kSkinDataHeaderLengthAt = 12;   // 32-bit header length
constexpr std::size_t kSkinDataFirstRecordAt = 20;    // 32-bit offset of the first record
constexpr std::size_t kSkinRecordSize = 77;
constexpr std::size_t kSkinRecordNameSize = 64;

enum class SkinEntryKind : std::uint8_t { Bitmap = 0, Integer = 1, Boolean = 2, Text = 3 };

// Limits of a walk (the implementer's; far beyond any real theme): at most
// this many records, and at most this many bytes loaded from them in total.
constexpr std::size_t kMaxSkinRecords = 65536;
constexpr std::uint64_t kMaxSkinLoadedBytes = 64u * 1024u * 1024u;

// A bitmap entry: the Windows bitmap file's bytes and its header facts.
struct ThemeBitmap {
  std::string name;
  std::vector<std::uint8_t> file;
  BitmapFileInfo info;
};

class SkinDataLists {
 public:
  // The bitmap stored under that name, or none.
  const ThemeBitmap* Bitmap(const std::string& name) const;
  // The stored value, or -1 when the name is missing or its value is not a
  // number.
  std::int32_t Integer(const std::string& name) const;
  // The stored byte as a truth value; false when missing or not a number.
  bool Boolean(const std::string& name) const;
  // The stored text, or none.
  std::optional<std::string> Text(const std::string& name) const;

  const std::vector<ThemeBitmap>& Bitmaps() const { return bitmaps_; }
  const std::vector<std::string>& IntegerLines() const { return integers_; }
  const std::vector<std::string>& BooleanLines() const { return booleans_; }
  const std::vector<std::string>& TextLines() const { return texts_; }

  void AddBitmap(ThemeBitmap bitmap) { bitmaps_.push_back(std::move(bitmap)); }
  void AddIntegerLine(const std::string& name, std::int32_t value);
  void AddBooleanLine(const std::string& name, std::uint8_t value);
  void AddTextLine(const std::string& name, const std::string& text);
  void Clear();

 private:
  std::vector<ThemeBitmap> bitmaps_;
  std::vector<std::string> integers_;
  std::vector<std::string> booleans_;
  std::vector<std::string> texts_;
};

struct SkinDataParseResult {
  bool ok = false;
  std::string reason;  // why not, for diagnostics and tests
};

// Reading the data member: the header's first 16 bytes, the whole header (its length
// at offset 12, at least 24 so that it holds the first record's offset at
// 20), then the record chain from that offset. Each record whose next offset
// is not 0 is loaded; the one whose next offset is 0 ends the walk unloaded.
// Kind 0 must be a Windows bitmap file; kinds above 3 load nothing. Fails on
// any read outside the data, on a bitmap that is not one, on a chain that
// comes back to a record already read, and beyond the limits above; `out`
// then holds what was loaded so far and is to be discarded.
SkinDataParseResult ParseSkinData(const std::uint8_t* data, std::size_t size, SkinDataLists& out);
inline SkinDataParseResult ParseSkinData(const std::vector<std::uint8_t>& data, SkinDataLists& out) {
  return ParseSkinData(data.data(), data.size(), out);
}

// Reads a decimal or $-hexadecimal 32-bit integer as the lists' values are
// read (optional sign, no spaces); nullopt when it is not one.
std::optional<std::int32_t> ParseListInteger(const std::string& text);

}  // namespace vh
