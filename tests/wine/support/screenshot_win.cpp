#include "tests/wine/support/screenshot_win.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <vector>

#include "tests/wine/support/program_win.h"

namespace vh::test {

namespace {

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBig32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += char((v >> shift) & 0xFF);
}

void Chunk(std::string& png, const char* type, const std::string& data) {
  PutBig32(png, std::uint32_t(data.size()));
  const std::string typed = std::string(type, 4) + data;
  png += typed;
  PutBig32(png, Crc32(typed));
}

// zlib data of stored (uncompressed) deflate blocks: no compressor needed.
std::string StoredZlib(const std::string& raw) {
  std::string out = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t at = 0;;) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + n == raw.size();
    out += char(last ? 1 : 0);
    out += char(n & 0xFF);
    out += char(n >> 8);
    out += char(~n & 0xFF);
    out += char((~n >> 8) & 0xFF);
    out.append(raw, at, n);
    at += n;
    if (last) break;
  }
  PutBig32(out, (b << 16) | a);
  return out;
}

}  // namespace

std::vector<std::uint32_t> CaptureScreenRect(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  auto* first = static_cast<std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + std::size_t(width) * std::size_t(height));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool SaveScreenshot(HWND window, const std::string& name) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  const std::vector<std::uint32_t> pixels = CaptureScreenRect(r);
  if (pixels.empty()) return false;
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
      raw += char((p >> 16) & 0xFF);
      raw += char((p >> 8) & 0xFF);
      raw += char(p & 0xFF);
    }
  }

  std::string header;
  PutBig32(header, std::uint32_t(width));
  PutBig32(header, std::uint32_t(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
  std::string png = "\x89PNG\r\n\x1a\n";
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", StoredZlib(raw));
  Chunk(png, "IEND", "");
  const std::string folder = BuiltProgram("screenshots");
  CreateDirectoryA(folder.c_str(), nullptr);
  std::ofstream out(folder + "\\" + name + ".png", std::ios::binary);
  out << png;
  return bool(out);
}

}  // namespace vh::test
