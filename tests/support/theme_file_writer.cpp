#include "tests/support/theme_file_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "theme/zip_crypto.h"

namespace vh {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
void Set32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(v >> (8 * i));
}

constexpr std::uint16_t kTime = 0x7D1C;  // 15:40:56
constexpr std::uint16_t kDate = 0x5A21;  // 2025-01-01

}  // namespace

std::vector<std::uint8_t> EncodeSkinRecord(const std::string& name, std::uint8_t kind, std::uint32_t dataOffset,
                                           std::uint32_t dataSize, std::uint32_t nextRecord) {
  std::vector<std::uint8_t> out(kSkinRecordNameSize, 0);
  std::memcpy(out.data(), name.data(), std::min(name.size(), kSkinRecordNameSize - 1));
  out.push_back(kind);
  Put32(out, dataOffset);
  Put32(out, dataSize);
  Put32(out, nextRecord);
  return out;
}

ThemeDataBuilder& ThemeDataBuilder::AddRaw(const std::string& name, std::uint8_t kind, std::vector<std::uint8_t> data) {
  entries_.push_back(Entry{name, kind, std::move(data)});
  return *this;
}

ThemeDataBuilder& ThemeDataBuilder::AddBitmap(const std::string& name, std::vector<std::uint8_t> bitmapFile) {
  return AddRaw(name, static_cast<std::uint8_t>(SkinEntryKind::Bitmap), std::move(bitmapFile));
}

ThemeDataBuilder& ThemeDataBuilder::AddInteger(const std::string& name, std::int32_t value) {
  std::vector<std::uint8_t> data;
  Put32(data, static_cast<std::uint32_t>(value));
  return AddRaw(name, static_cast<std::uint8_t>(SkinEntryKind::Integer), std::move(data));
}

ThemeDataBuilder& ThemeDataBuilder::AddBoolean(const std::string& name, std::uint8_t value) {
  return AddRaw(name, static_cast<std::uint8_t>(SkinEntryKind::Boolean), {value});
}

ThemeDataBuilder& ThemeDataBuilder::AddText(const std::string& name, const std::string& text) {
  return AddRaw(name, static_cast<std::uint8_t>(SkinEntryKind::Text), std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> ThemeDataBuilder::Build() const {
  std::vector<std::uint8_t> out(kSkinDataHeaderSize, 0);
  Set32(out, kSkinDataHeaderLengthAt, kSkinDataHeaderSize);
  const std::uint32_t firstRecord = kSkinDataHeaderSize;
  Set32(out, kSkinDataFirstRecordAt, firstRecord);
  const std::size_t recordCount = entries_.size() + 1;  // with the closing record
  std::uint32_t dataAt = static_cast<std::uint32_t>(kSkinDataHeaderSize + recordCount * kSkinRecordSize);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    const std::uint32_t next = static_cast<std::uint32_t>(firstRecord + (i + 1) * kSkinRecordSize);
    const std::vector<std::uint8_t> record =
        EncodeSkinRecord(e.name, e.kind, dataAt, static_cast<std::uint32_t>(e.data.size()), next);
    out.insert(out.end(), record.begin(), record.end());
    dataAt += static_cast<std::uint32_t>(e.data.size());
  }
  const std::vector<std::uint8_t> closing = EncodeSkinRecord("", 0, 0, 0, 0);
  out.insert(out.end(), closing.begin(), closing.end());
  for (const Entry& e : entries_) out.insert(out.end(), e.data.begin(), e.data.end());
  return out;
}

std::vector<std::uint8_t> DeflateRaw(const std::vector<std::uint8_t>& data, int level) {
  z_stream zs;
  std::memset(&zs, 0, sizeof zs);
  if (deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  std::vector<std::uint8_t> out(deflateBound(&zs, static_cast<uLong>(data.size())) + 16);
  zs.next_in = const_cast<Bytef*>(data.data());
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&zs, Z_FINISH);
  const std::size_t produced = out.size() - zs.avail_out;
  deflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate did not finish");
  out.resize(produced);
  return out;
}

std::vector<std::uint8_t> WriteThemeArchive(const std::vector<ArchiveMember>& members,
                                            const ThemeArchiveOptions& options) {
  std::vector<std::uint8_t> out;
  std::vector<std::uint8_t> central;
  std::uint32_t seed = options.encryptionSeed;
  for (const ArchiveMember& m : members) {
    const std::uint32_t crc = Crc32(0, m.data.data(), m.data.size());
    std::vector<std::uint8_t> body = DeflateRaw(m.data, m.compression == MemberCompression::Stored ? 0 : 9);
    std::uint16_t flags = 0;
    if (m.dataDescriptor) flags |= 8;
    if (!m.password.empty()) {
      flags |= 1;
      std::vector<std::uint8_t> header(12);
      for (int i = 0; i < 11; ++i) {
        seed = seed * 1103515245u + 12345u;
        header[i] = std::uint8_t(seed >> 16);
      }
      header[11] = m.dataDescriptor ? std::uint8_t(kTime >> 8) : std::uint8_t(crc >> 24);
      ZipCryptoKeys keys(m.password);
      keys.EncryptBlock(header.data(), header.size());
      keys.EncryptBlock(body.data(), body.size());
      body.insert(body.begin(), header.begin(), header.end());
    }
    const std::uint16_t method = m.methodField.value_or(8);
    const std::uint32_t localOffset = static_cast<std::uint32_t>(out.size());
    const std::uint32_t csize = static_cast<std::uint32_t>(body.size());
    const std::uint32_t usize = static_cast<std::uint32_t>(m.data.size());
    // Local header.
    Put32(out, 0x04034B50);
    Put16(out, 20);
    Put16(out, flags);
    Put16(out, method);
    Put16(out, kTime);
    Put16(out, kDate);
    Put32(out, m.dataDescriptor ? 0 : crc);
    Put32(out, m.dataDescriptor ? 0 : csize);
    Put32(out, m.dataDescriptor ? 0 : usize);
    Put16(out, static_cast<std::uint16_t>(m.name.size()));
    Put16(out, 0);
    out.insert(out.end(), m.name.begin(), m.name.end());
    out.insert(out.end(), body.begin(), body.end());
    if (m.dataDescriptor) {
      Put32(out, 0x08074B50);
      Put32(out, crc);
      Put32(out, csize);
      Put32(out, usize);
    }
    // Central directory entry.
    Put32(central, 0x02014B50);
    Put16(central, 20);
    Put16(central, 20);
    Put16(central, flags);
    Put16(central, method);
    Put16(central, kTime);
    Put16(central, kDate);
    Put32(central, crc);
    Put32(central, csize);
    Put32(central, usize);
    Put16(central, static_cast<std::uint16_t>(m.name.size()));
    Put16(central, 0);  // extra
    Put16(central, 0);  // comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, 0);  // external attributes
    Put32(central, localOffset);
    central.insert(central.end(), m.name.begin(), m.name.end());
  }
  const std::uint32_t centralOffset = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), central.begin(), central.end());
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<std::uint16_t>(members.size()));
  Put16(out, static_cast<std::uint16_t>(members.size()));
  Put32(out, static_cast<std::uint32_t>(central.size()));
  Put32(out, centralOffset);
  Put16(out, static_cast<std::uint16_t>(options.comment.size()));
  out.insert(out.end(), options.comment.begin(), options.comment.end());
  if (options.skMark && out.size() >= 2) {
    out[0] = 'S';
    out[1] = 'K';
  }
  return out;
}

std::vector<std::uint8_t> WriteThemeFile(const std::vector<std::uint8_t>& skinData, MemberCompression compression,
                                         const std::string& password) {
  ArchiveMember m;
  m.data = skinData;
  m.compression = compression;
  m.password = password;
  return WriteThemeArchive({m});
}

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  return written && closed;
}

}  // namespace vh
