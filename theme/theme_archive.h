// The container of a theme file: a ZIP archive that starts with
// "SK" instead of "PK", whose end record is the file's last 22 bytes, and
// whose member "SKINDATA.SK2" holds raw deflate data, optionally under the
// format's traditional password encryption. ExtractSkinData finds the member,
// decrypts it and inflates it (zlib, raw deflate) into a sink.
//
// Every offset and size read from the archive is checked against the bytes
// at hand; nothing is read or written outside them, and the output is never
// larger than the member's declared size (at most kMaxSkinDataSize).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vh {

constexpr const char* kSkinDataMemberName = "SKINDATA.SK2";
// The largest data member accepted (declared uncompressed size). A theme's
// data are a few hundred kilobytes; a larger declared size is treated as a
// size that cannot match (not ready).
constexpr std::uint32_t kMaxSkinDataSize = 64u * 1024u * 1024u;

// Where the inflated data go: the temporary file, or memory.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when the bytes could not be written (the outcome is then error).
  virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
};

class MemorySink : public ByteSink {
 public:
  bool Write(const std::uint8_t* data, std::size_t size) override {
    bytes.insert(bytes.end(), data, data + size);
    return true;
  }
  std::vector<std::uint8_t> bytes;
};

// The outcome of extracting the data member: success; not ready (cannot decrypt, or a size that does
// not match); error (no "SK" mark, no end record, member not found, a read
// outside the file, data that cannot be inflated).
enum class SkinExtractOutcome { Success, NotReady, Error };

struct SkinExtractResult {
  SkinExtractOutcome outcome = SkinExtractOutcome::Error;
  std::string reason;  // for diagnostics and tests; never shown to the user
  std::uint64_t written = 0;
};

// Extracts the "SKINDATA.SK2" member of the theme file held in `archive`.
// With the member encrypted, an empty password or a failed check byte gives
// not ready. Never throws for bad input (only std::bad_alloc can escape).
SkinExtractResult ExtractSkinData(const std::uint8_t* archive, std::size_t size, const std::string& password,
                                  ByteSink& out);
inline SkinExtractResult ExtractSkinData(const std::vector<std::uint8_t>& archive, const std::string& password,
                                         ByteSink& out) {
  return ExtractSkinData(archive.data(), archive.size(), password, out);
}

}  // namespace vh
