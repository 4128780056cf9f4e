#include "ui/picture_win.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace vh {

Bitmap LoadBitmapResource(const char* name) {
  HANDLE h = LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  return Bitmap::Adopt(static_cast<HBITMAP>(h));
}

JpegPicture JpegResource(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!info) return JpegPicture();
  HGLOBAL data = LoadResource(module, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return JpegPicture();
  return JpegPicture(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, info));
}

Bitmap LoadJpegResource(const char* name) { return JpegResource(name).Decode(); }

namespace {

// libjpeg's default error handler ends the process; ours jumps back.
struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

// Reads the picture's first `rows` rows in order and hands each to `take`
// as RGB samples; with no rows it only reads the size. Only plain C objects
// live between setjmp and longjmp here; the sample buffer and `take` belong
// to the caller, so a jump skips no destructor.
template <typename Take>
bool ReadRows(const std::uint8_t* data, std::size_t size, int rows, std::vector<JSAMPLE>& samples, int& width,
              int& height, Take& take) {
  if (!data || size == 0) return false;
  jpeg_decompress_struct d{};
  JpegError err{};
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  err.mgr.output_message = [](j_common_ptr) {};
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&d);
    return false;
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  width = int(d.output_width);
  height = int(d.output_height);
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || d.output_components != 3) {
    jpeg_destroy_decompress(&d);
    return false;
  }
  samples.assign(std::size_t(width) * 3, 0);
  const JDIMENSION end = JDIMENSION(std::min(std::max(rows, 0), height));
  while (d.output_scanline < end) {
    const int y = int(d.output_scanline);
    JSAMPROW row[1] = {samples.data()};
    jpeg_read_scanlines(&d, row, 1);
    take(y, samples.data());
  }
  // A whole picture is read to its end, where libjpeg still checks the
  // data; rows left unread need no finishing.
  if (end == JDIMENSION(height)) jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return true;
}

// One band of rows at a time goes to the device context: a GDI call per row
// would cost more than the decoding.
constexpr int kBandRows = 16;

class BandWriter {
 public:
  BandWriter(HDC dc, int x, int y, int width) : dc_(dc), x_(x), y_(y), width_(width) {
    pixels_.resize(std::size_t(width) * kBandRows);
  }
  void Add(int row, const JSAMPLE* rgb) {
    if (rows_ == 0) first_ = row;
    std::uint32_t* out = &pixels_[std::size_t(rows_) * std::size_t(width_)];
    for (int x = 0; x < width_; ++x, rgb += 3)
      out[x] = std::uint32_t(rgb[2]) | (std::uint32_t(rgb[1]) << 8) | (std::uint32_t(rgb[0]) << 16);
    if (++rows_ == kBandRows) Flush();
  }
  void Flush() {
    if (rows_ == 0) return;
    const BITMAPINFO bi = TopDownDibInfo(width_, rows_);
    SetDIBitsToDevice(dc_, x_, y_ + first_, DWORD(width_), DWORD(rows_), 0, 0, 0, UINT(rows_), pixels_.data(), &bi,
                      DIB_RGB_COLORS);
    rows_ = 0;
  }

 private:
  HDC dc_;
  int x_, y_, width_;
  int first_ = 0;
  int rows_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace

JpegPicture::JpegPicture(const std::uint8_t* data, std::size_t size) {
  std::vector<JSAMPLE> samples;
  auto none = [](int, const JSAMPLE*) {};
  int width = 0, height = 0;
  if (!ReadRows(data, size, 0, samples, width, height, none)) return;
  data_ = data;
  size_ = size;
  width_ = width;
  height_ = height;
}

void JpegPicture::Draw(HDC dc, int x, int y) const {
  RECT clip{};
  if (Empty() || GetClipBox(dc, &clip) <= NULLREGION) return;
  const int first = std::max(0, int(clip.top) - y);
  const int end = std::min(height_, int(clip.bottom) - y);
  if (first >= end) return;
  std::vector<JSAMPLE> samples;
  BandWriter band(dc, x, y, width_);
  auto take = [&](int row, const JSAMPLE* rgb) {
    if (row >= first) band.Add(row, rgb);
  };
  int width = 0, height = 0;
  ReadRows(data_, size_, end, samples, width, height, take);
  band.Flush();
}

Bitmap JpegPicture::Decode() const {
  if (Empty()) return Bitmap();
  std::vector<std::uint32_t> pixels;
  std::vector<JSAMPLE> samples;
  auto take = [&](int row, const JSAMPLE* rgb) {
    std::uint32_t* out = &pixels[std::size_t(row) * std::size_t(width_)];
    for (int x = 0; x < width_; ++x, rgb += 3) out[x] = std::uint32_t(MakeColour(rgb[0], rgb[1], rgb[2]));
  };
  pixels.assign(std::size_t(width_) * std::size_t(height_), 0);
  int width = 0, height = 0;
  if (!ReadRows(data_, size_, height_, samples, width, height, take)) return Bitmap();
  return Bitmap::FromPixels(width_, height_, pixels);
}

Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size) { return JpegPicture(data, size).Decode(); }

}  // namespace vh
