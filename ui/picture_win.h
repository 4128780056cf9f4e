// Pictures from the executable's resources: BITMAP resources by name, and
// JPEG pictures stored as RCDATA and decoded through libjpeg.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/gdi_win.h"

namespace vh {

// A JPEG picture kept compressed and decoded as it is drawn: a window-sized
// background then costs the file's few kilobytes, not a bitmap of four bytes
// a pixel for as long as the window lives. The bytes are not copied and must
// outlive the picture (a resource of the executable does).
class JpegPicture {
 public:
  JpegPicture() = default;
  // Empty when the bytes are not a JPEG picture libjpeg can read.
  JpegPicture(const std::uint8_t* data, std::size_t size);

  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Draws the picture's top-left corner at (x, y); only the rows the device
  // context's clip box reaches are drawn, the others only read past.
  void Draw(HDC dc, int x, int y) const;
  // The whole picture as a bitmap.
  Bitmap Decode() const;

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  int width_ = 0;
  int height_ = 0;
};

// An empty bitmap or picture when the resource is missing.
Bitmap LoadBitmapResource(const char* name);
JpegPicture JpegResource(const char* name);
Bitmap LoadJpegResource(const char* name);
// An empty bitmap when the bytes are not a JPEG picture libjpeg can read.
Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace vh
