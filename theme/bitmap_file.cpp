#include "theme/bitmap_file.h"

#include <cstdlib>

namespace vh {
namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

}  // namespace

std::optional<BitmapFileInfo> ParseBitmapFile(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kFileHeader = 14;
  if (data == nullptr || size < kFileHeader + 12) return std::nullopt;
  if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
  BitmapFileInfo info;
  info.pixelOffset = U32(data + 10);
  const std::uint32_t headerSize = U32(data + 14);
  if (headerSize != 12 && headerSize < 40) return std::nullopt;
  if (headerSize > size - kFileHeader) return std::nullopt;
  const std::uint8_t* h = data + kFileHeader;
  std::int64_t width = 0, height = 0;
  std::uint32_t planes = 0, colorsUsed = 0;
  std::size_t paletteEntry = 4;
  std::uint64_t masks = 0;
  if (headerSize == 12) {
    width = U16(h + 4);
    height = U16(h + 6);
    planes = U16(h + 8);
    info.bitCount = U16(h + 10);
    paletteEntry = 3;
  } else {
    width = static_cast<std::int32_t>(U32(h + 4));
    height = static_cast<std::int32_t>(U32(h + 8));
    planes = U16(h + 12);
    info.bitCount = U16(h + 14);
    info.compression = U32(h + 16);
    colorsUsed = U32(h + 32);
    if (headerSize == 40 && info.compression == 3) masks = 12;
  }
  if (planes != 1 || width <= 0 || height == 0) return std::nullopt;
  info.topDown = height < 0;
  height = std::llabs(height);
  if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels) return std::nullopt;
  info.width = static_cast<int>(width);
  info.height = static_cast<int>(height);
  const int bpp = info.bitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return std::nullopt;
  switch (info.compression) {
    case 0:
      break;
    case 1:
      if (bpp != 8 || info.topDown) return std::nullopt;
      break;
    case 2:
      if (bpp != 4 || info.topDown) return std::nullopt;
      break;
    case 3:
      if (bpp != 16 && bpp != 32) return std::nullopt;
      break;
    default:
      return std::nullopt;
  }
  std::uint64_t paletteCount = 0;
  if (bpp <= 8) {
    paletteCount = colorsUsed != 0 ? colorsUsed : (1u << bpp);
    if (paletteCount > (1u << bpp)) return std::nullopt;
  }
  const std::uint64_t tablesEnd = kFileHeader + headerSize + masks + paletteCount * paletteEntry;
  if (tablesEnd > size || info.pixelOffset < kFileHeader + headerSize + masks || info.pixelOffset >= size) {
    return std::nullopt;
  }
  if (info.compression == 0 || info.compression == 3) {
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    if (info.pixelOffset + stride * static_cast<std::uint64_t>(height) > size) return std::nullopt;
  }
  return info;
}

std::vector<std::uint8_t> MakeBitmapFile(int width, int height, const std::vector<std::uint32_t>& pixels) {
  std::vector<std::uint8_t> out;
  if (width < 1 || height < 1) return out;
  const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * 24 + 31) / 32) * 4;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int row = height - 1; row >= 0; --row) {
    std::uint32_t written = 0;
    for (int x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(row) * width + x;
      const std::uint32_t c = i < pixels.size() ? pixels[i] : 0;
      out.push_back(std::uint8_t(c >> 16));  // blue
      out.push_back(std::uint8_t(c >> 8));   // green
      out.push_back(std::uint8_t(c));        // red
      written += 3;
    }
    for (; written < stride; ++written) out.push_back(0);
  }
  return out;
}

}  // namespace vh
