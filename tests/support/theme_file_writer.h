// Writing theme files for the tests and tools/themefile_tool:
// the data member ("SKINDATA.SK2": header, chained 77-byte records, data)
// and the "SK" archive around it, with deflated or stored (deflate stored
// blocks) members, optionally under traditional password encryption.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "theme/theme_data.h"

namespace vh {

// The header the builder writes: 24 bytes, length at 12, first record at 20.
constexpr std::size_t kSkinDataHeaderSize = 24;

// One 77-byte record: name (64 bytes, zero-padded; longer names are cut to
// 63 characters), kind, data offset, data size, next record.
std::vector<std::uint8_t> EncodeSkinRecord(const std::string& name, std::uint8_t kind, std::uint32_t dataOffset,
                                           std::uint32_t dataSize, std::uint32_t nextRecord);

// Builds a data member: the header, then one record per entry in the order
// added, then the closing record (next offset 0, not loaded by a reader),
// then the entries' data.
class ThemeDataBuilder {
 public:
  ThemeDataBuilder& AddBitmap(const std::string& name, std::vector<std::uint8_t> bitmapFile);
  ThemeDataBuilder& AddInteger(const std::string& name, std::int32_t value);
  ThemeDataBuilder& AddColour(const std::string& name, std::int32_t colour) { return AddInteger(name, colour); }
  ThemeDataBuilder& AddBoolean(const std::string& name, std::uint8_t value);
  ThemeDataBuilder& AddText(const std::string& name, const std::string& text);
  // Any kind with any data (for malformed entries in tests).
  ThemeDataBuilder& AddRaw(const std::string& name, std::uint8_t kind, std::vector<std::uint8_t> data);

  std::vector<std::uint8_t> Build() const;
  std::size_t EntryCount() const { return entries_.size(); }

 private:
  struct Entry {
    std::string name;
    std::uint8_t kind;
    std::vector<std::uint8_t> data;
  };
  std::vector<Entry> entries_;
};

enum class MemberCompression {
  Stored,    // deflate stored blocks (RFC 1951 block type 0)
  Deflated,  // deflate, best compression
};

struct ArchiveMember {
  std::string name = "SKINDATA.SK2";
  std::vector<std::uint8_t> data;  // the plain member data
  MemberCompression compression = MemberCompression::Deflated;
  std::string password;            // empty: not encrypted
  bool dataDescriptor = false;     // flag bit 3: sizes and CRC after the data
  std::optional<std::uint16_t> methodField;  // default 8 (deflate)
};

struct ThemeArchiveOptions {
  bool skMark = true;          // "SK" instead of "PK" in the first two bytes
  std::string comment;         // an archive comment after the end record
  std::uint32_t encryptionSeed = 0x5EED;  // the encryption headers' filler bytes
};

std::vector<std::uint8_t> WriteThemeArchive(const std::vector<ArchiveMember>& members,
                                            const ThemeArchiveOptions& options = ThemeArchiveOptions());
// One member "SKINDATA.SK2" holding `skinData`.
std::vector<std::uint8_t> WriteThemeFile(const std::vector<std::uint8_t>& skinData,
                                         MemberCompression compression = MemberCompression::Deflated,
                                         const std::string& password = std::string());

// Raw deflate (RFC 1951, no zlib header) at zlib level 0..9.
std::vector<std::uint8_t> DeflateRaw(const std::vector<std::uint8_t>& data, int level);

// Writes the bytes to a file; false when it cannot be written.
bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vh
