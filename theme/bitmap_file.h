// Windows bitmap files (".bmp") as bytes: the check that bytes are a bitmap
// the Win32 side can load, and a writer of simple 24-bit bitmaps for the
// theme file writer and the tests. Decoding into a GDI bitmap is the Win32
// side's job; the portable core keeps the file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/geometry.h"

namespace vh {

struct BitmapFileInfo {
  int width = 0;
  int height = 0;         // always positive
  bool topDown = false;   // stored with a negative height
  int bitCount = 0;       // 1, 4, 8, 16, 24 or 32
  std::uint32_t compression = 0;  // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
  std::uint32_t pixelOffset = 0;  // from the start of the file
  Size size() const { return Size{width, height}; }
};

// Largest bitmap accepted, per side and in pixels: far beyond any skin, small
// enough that a GDI bitmap of it can be made.
constexpr int kMaxBitmapSide = 16384;
constexpr std::int64_t kMaxBitmapPixels = 16 * 1024 * 1024;

// The header of a Windows bitmap file when the bytes are one: the "BM" file
// header, a core (12-byte) or info (40 bytes or more) header, width > 0,
// height non-zero, one plane, a known bit count and compression that go
// together, the colour table and the pixel rows inside the bytes (for
// uncompressed data all rows; for RLE data the offset). nullopt otherwise.
std::optional<BitmapFileInfo> ParseBitmapFile(const std::uint8_t* data, std::size_t size);
inline std::optional<BitmapFileInfo> ParseBitmapFile(const std::vector<std::uint8_t>& bytes) {
  return ParseBitmapFile(bytes.data(), bytes.size());
}

// A bottom-up 24-bit bitmap file of width x height with the given pixels,
// row 0 on top, each a colour $00BBGGRR. Missing pixels are black; width or
// height below 1 gives an empty vector.
std::vector<std::uint8_t> MakeBitmapFile(int width, int height, const std::vector<std::uint32_t>& pixels);

}  // namespace vh
