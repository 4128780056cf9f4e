// The ZIP format's traditional (PKWARE) password encryption: three 32-bit
// keys driven by the password and by each plain byte. Shared by the theme
// file reader (decrypting) and the theme file writer (encrypting).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vh {

// CRC-32 as the ZIP format computes it (reflected polynomial $EDB88320).
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

class ZipCryptoKeys {
 public:
  // Keys 305419896, 591751049, 878082192 updated with every password byte.
  explicit ZipCryptoKeys(const std::string& password);
  std::uint8_t Decrypt(std::uint8_t cipher);
  std::uint8_t Encrypt(std::uint8_t plain);
  void DecryptBlock(std::uint8_t* data, std::size_t size);
  void EncryptBlock(std::uint8_t* data, std::size_t size);

 private:
  std::uint8_t KeyStreamByte() const;
  void Update(std::uint8_t plain);
  std::uint32_t key0_, key1_, key2_;
};

}  // namespace vh
