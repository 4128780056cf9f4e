#include "theme/zip_crypto.h"

#include <array>

namespace vh {
namespace {

std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = MakeCrcTable();
  return table;
}

// One step of the CRC over a byte without the pre- and post-inversion, as the
// key update uses it.
std::uint32_t CrcStep(std::uint32_t crc, std::uint8_t b) { return CrcTable()[(crc ^ b) & 0xFF] ^ (crc >> 8); }

}  // namespace

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = CrcStep(crc, data[i]);
  return ~crc;
}

ZipCryptoKeys::ZipCryptoKeys(const std::string& password)
    : key0_(305419896u), key1_(591751049u), key2_(878082192u) {
  for (char c : password) Update(static_cast<std::uint8_t>(c));
}

void ZipCryptoKeys::Update(std::uint8_t plain) {
  key0_ = CrcStep(key0_, plain);
  key1_ = (key1_ + (key0_ & 0xFF)) * 134775813u + 1u;
  key2_ = CrcStep(key2_, static_cast<std::uint8_t>(key1_ >> 24));
}

std::uint8_t ZipCryptoKeys::KeyStreamByte() const {
  const std::uint32_t temp = (key2_ | 2u) & 0xFFFFu;
  return static_cast<std::uint8_t>((temp * (temp ^ 1u)) >> 8);
}

std::uint8_t ZipCryptoKeys::Decrypt(std::uint8_t cipher) {
  const std::uint8_t plain = static_cast<std::uint8_t>(cipher ^ KeyStreamByte());
  Update(plain);
  return plain;
}

std::uint8_t ZipCryptoKeys::Encrypt(std::uint8_t plain) {
  const std::uint8_t cipher = static_cast<std::uint8_t>(plain ^ KeyStreamByte());
  Update(plain);
  return cipher;
}

void ZipCryptoKeys::DecryptBlock(std::uint8_t* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) data[i] = Decrypt(data[i]);
}

void ZipCryptoKeys::EncryptBlock(std::uint8_t* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) data[i] = Encrypt(data[i]);
}

}  // namespace vh
