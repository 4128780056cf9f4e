// Pictures from the executable's resources: BITMAP resources by name, and
// JPEG pictures stored as RCDATA and decoded through libjpeg.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/gdi_win.h"

namespace vh {

// An empty bitmap when the resource is missing.
Bitmap LoadBitmapResource(const char* name);
Bitmap LoadJpegResource(const char* name);
// An empty bitmap when the bytes are not a JPEG picture libjpeg can read.
Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace vh
