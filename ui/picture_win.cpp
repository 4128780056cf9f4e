#include "ui/picture_win.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace vh {

Bitmap LoadBitmapResource(const char* name) {
  HANDLE h = LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  return Bitmap::Adopt(static_cast<HBITMAP>(h));
}

Bitmap LoadJpegResource(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!info) return Bitmap();
  HGLOBAL data = LoadResource(module, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return Bitmap();
  return DecodeJpeg(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, info));
}

namespace {

// libjpeg's default error handler ends the process; ours jumps back.
struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

// Only plain C objects live between setjmp and longjmp here; the vectors
// belong to the caller, so a jump skips no destructor.
bool DecodeRgb(const std::uint8_t* data, std::size_t size, std::vector<std::uint32_t>& pixels,
               std::vector<JSAMPLE>& row, int& width, int& height) {
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
  pixels.assign(std::size_t(width) * std::size_t(height), 0);
  row.assign(std::size_t(width) * 3, 0);
  while (d.output_scanline < d.output_height) {
    std::size_t y = d.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&d, rows, 1);
    for (int x = 0; x < width; ++x) {
      const JSAMPLE* p = &row[std::size_t(x) * 3];
      pixels[y * std::size_t(width) + std::size_t(x)] = std::uint32_t(MakeColour(p[0], p[1], p[2]));
    }
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return true;
}

}  // namespace

Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  if (!data || size == 0) return Bitmap();
  std::vector<std::uint32_t> pixels;
  std::vector<JSAMPLE> row;
  int width = 0, height = 0;
  if (!DecodeRgb(data, size, pixels, row, width, height)) return Bitmap();
  return Bitmap::FromPixels(width, height, pixels);
}

}  // namespace vh
