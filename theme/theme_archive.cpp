#include "theme/theme_archive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "platform/text.h"
#include "theme/zip_crypto.h"

namespace vh {
namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralFixedSize = 46;
constexpr std::size_t kLocalFixedSize = 30;
constexpr std::size_t kEncryptionHeaderSize = 12;
constexpr std::size_t kDecryptBlock = 1024;
constexpr std::size_t kInflateInputBlock = 16 * 1024;
constexpr std::size_t kInflateOutputBlock = 32 * 1024;

std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

// True when [offset, offset + length) lies inside a buffer of `size` bytes.
bool Inside(std::uint64_t offset, std::uint64_t length, std::size_t size) {
  return offset <= size && length <= size - offset;
}

SkinExtractResult Fail(SkinExtractOutcome outcome, const char* reason) {
  SkinExtractResult r;
  r.outcome = outcome;
  r.reason = reason;
  return r;
}

struct MemberInfo {
  std::uint16_t flags = 0;
  std::uint16_t time = 0;
  std::uint32_t crc = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint32_t localOffset = 0;
};

// Raw inflate of `input` into `out`, at most `limit` bytes of output.
SkinExtractResult Inflate(const std::uint8_t* input, std::size_t inputSize, std::uint32_t limit, ByteSink& out) {
  z_stream zs;
  std::memset(&zs, 0, sizeof zs);
  if (inflateInit2(&zs, -15) != Z_OK) return Fail(SkinExtractOutcome::Error, "inflate could not start");
  std::vector<std::uint8_t> buffer(kInflateOutputBlock);
  SkinExtractResult result;
  std::size_t consumed = 0;
  bool finished = false;
  bool failed = false;
  while (!finished && !failed) {
    if (zs.avail_in == 0) {
      if (consumed >= inputSize) {
        result = Fail(SkinExtractOutcome::Error, "deflate data end before the final block");
        failed = true;
        break;
      }
      const std::size_t chunk = std::min(kInflateInputBlock, inputSize - consumed);
      zs.next_in = const_cast<Bytef*>(input + consumed);
      zs.avail_in = static_cast<uInt>(chunk);
      consumed += chunk;
    }
    zs.next_out = buffer.data();
    zs.avail_out = static_cast<uInt>(buffer.size());
    const int rc = inflate(&zs, Z_NO_FLUSH);
    const std::size_t produced = buffer.size() - zs.avail_out;
    if (produced > 0) {
      if (result.written + produced > limit) {
        result = Fail(SkinExtractOutcome::NotReady, "more data than the declared size");
        failed = true;
        break;
      }
      if (!out.Write(buffer.data(), produced)) {
        result = Fail(SkinExtractOutcome::Error, "the data could not be written");
        failed = true;
        break;
      }
      result.written += produced;
    }
    if (rc == Z_STREAM_END) {
      finished = true;
    } else if (rc == Z_BUF_ERROR) {
      // No progress: more input is needed (handled above) or output space,
      // which the next round gives.
      if (zs.avail_in != 0 && produced == 0) {
        result = Fail(SkinExtractOutcome::Error, "inflate made no progress");
        failed = true;
      }
    } else if (rc != Z_OK) {
      result = Fail(SkinExtractOutcome::Error, "the deflate data are broken");
      failed = true;
    }
  }
  inflateEnd(&zs);
  if (failed) return result;
  if (result.written != limit) {
    const std::uint64_t written = result.written;
    result = Fail(SkinExtractOutcome::NotReady, "the size does not match the declared size");
    result.written = written;
    return result;
  }
  result.outcome = SkinExtractOutcome::Success;
  result.reason.clear();
  return result;
}

}  // namespace

SkinExtractResult ExtractSkinData(const std::uint8_t* archive, std::size_t size, const std::string& password,
                                  ByteSink& out) {
  // The "SK" mark in the first 4 bytes.
  if (archive == nullptr || size < 4) return Fail(SkinExtractOutcome::Error, "shorter than 4 bytes");
  if (archive[0] != 'S' || archive[1] != 'K') return Fail(SkinExtractOutcome::Error, "no SK mark");

  // The end record: the last 22 bytes, without an archive comment.
  if (size < kEndRecordSize) return Fail(SkinExtractOutcome::Error, "no room for the end record");
  const std::size_t endPos = size - kEndRecordSize;
  const std::uint8_t* end = archive + endPos;
  if (U32(end) != kEndSignature) return Fail(SkinExtractOutcome::Error, "the last 22 bytes are not the end record");
  if (U16(end + 20) != 0) return Fail(SkinExtractOutcome::Error, "the end record announces a comment");

  // The central directory, entry after entry, up to the end record.
  std::uint64_t pos = U32(end + 16);
  bool found = false;
  MemberInfo member;
  while (pos < endPos) {
    if (!Inside(pos, kCentralFixedSize, size)) return Fail(SkinExtractOutcome::Error, "central entry past the end");
    const std::uint8_t* e = archive + pos;
    if (U32(e) != kCentralSignature) return Fail(SkinExtractOutcome::Error, "bad central entry signature");
    const std::uint16_t nameLength = U16(e + 28);
    const std::uint16_t extraLength = U16(e + 30);
    const std::uint16_t commentLength = U16(e + 32);
    if (!Inside(pos + kCentralFixedSize, nameLength, size)) {
      return Fail(SkinExtractOutcome::Error, "central entry name past the end");
    }
    const std::string name(reinterpret_cast<const char*>(e + kCentralFixedSize), nameLength);
    if (EqualsIgnoreCase(name, kSkinDataMemberName)) {
      member.flags = U16(e + 8);
      member.time = U16(e + 12);
      member.crc = U32(e + 16);
      member.uncompressedSize = U32(e + 24);
      member.localOffset = U32(e + 42);
      found = true;
      break;
    }
    // Each entry moves the walk forward by at least 46 bytes, so it ends.
    pos += kCentralFixedSize + nameLength + extraLength + commentLength;
  }
  if (!found) return Fail(SkinExtractOutcome::Error, "no SKINDATA.SK2 member");

  // The local header: fixed part, name and extra field skipped.
  if (!Inside(member.localOffset, kLocalFixedSize, size)) {
    return Fail(SkinExtractOutcome::Error, "local header past the end");
  }
  const std::uint8_t* local = archive + member.localOffset;
  // The first member's header starts the file, whose first two bytes are
  // "SK"; every other one carries the standard signature.
  const std::uint32_t expected = member.localOffset == 0 ? ((kLocalHeaderSignature & 0xFFFF0000u) | 0x4B53u)
                                                         : kLocalHeaderSignature;
  if (U32(local) != expected) return Fail(SkinExtractOutcome::Error, "bad local header signature");
  const std::uint64_t dataStart =
      std::uint64_t(member.localOffset) + kLocalFixedSize + U16(local + 26) + U16(local + 28);
  if (dataStart > size) return Fail(SkinExtractOutcome::Error, "member data past the end");

  if (member.uncompressedSize > kMaxSkinDataSize) {
    return Fail(SkinExtractOutcome::NotReady, "declared size beyond the limit");
  }

  if ((member.flags & 1) == 0) {
    return Inflate(archive + dataStart, size - dataStart, member.uncompressedSize, out);
  }

  // Traditional encryption: the 12-byte header's last byte is the check byte.
  if (password.empty()) return Fail(SkinExtractOutcome::NotReady, "encrypted member without a password");
  if (!Inside(dataStart, kEncryptionHeaderSize, size)) {
    return Fail(SkinExtractOutcome::Error, "encryption header past the end");
  }
  ZipCryptoKeys keys(password);
  std::uint8_t header[kEncryptionHeaderSize];
  std::memcpy(header, archive + dataStart, kEncryptionHeaderSize);
  keys.DecryptBlock(header, kEncryptionHeaderSize);
  const std::uint8_t check = (member.flags & 8) != 0 ? std::uint8_t(member.time >> 8) : std::uint8_t(member.crc >> 24);
  if (header[kEncryptionHeaderSize - 1] != check) return Fail(SkinExtractOutcome::NotReady, "wrong password");
  // Everything from there to the end of the archive, 1024 bytes at a time.
  const std::size_t from = static_cast<std::size_t>(dataStart) + kEncryptionHeaderSize;
  std::vector<std::uint8_t> plain(archive + from, archive + size);
  for (std::size_t at = 0; at < plain.size(); at += kDecryptBlock) {
    keys.DecryptBlock(plain.data() + at, std::min(kDecryptBlock, plain.size() - at));
  }
  return Inflate(plain.data(), plain.size(), member.uncompressedSize, out);
}

}  // namespace vh
