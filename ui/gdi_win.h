// GDI wrappers of the component layer. Owning types (GdiObject, Bitmap,
// MemoryDC, DoubleBuffer) free what they hold; Canvas is a non-owning view of
// a device context through which controls draw, and puts back every object
// it selects. Colours are the layer's $00BBGGRR values; system colours are
// resolved here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/color.h"
#include "ui/geometry.h"

namespace vh {

COLORREF ResolveColour(Colour c);
RECT ToRECT(const Rect& r);
Rect FromRECT(const RECT& r);
// The header of a 32-bit top-down DIB of that size, as Bitmap holds its
// pixels ($00RRGGBB, row 0 on top).
BITMAPINFO TopDownDibInfo(int width, int height);

// One owned pen, brush, font, bitmap or region.
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = o.h_;
      o.h_ = nullptr;
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;

// Selects an object into a device context for one scope.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Saves a device context's state (origin, clip, selections) for one scope.
class SavedDCState {
 public:
  explicit SavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDCState() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDCState(const SavedDCState&) = delete;
  SavedDCState& operator=(const SavedDCState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// One paint cycle of a window: BeginPaint here, EndPaint (which validates
// the painted area) however the scope is left.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  ~PaintDC() { EndPaint(window_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC dc() const { return dc_; }
  Rect Area() const { return FromRECT(ps_.rcPaint); }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// The client area's device context of a window, or of the screen when the
// window is null, for measuring and drawing outside a paint cycle.
class ClientDC {
 public:
  explicit ClientDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ClientDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ClientDC(const ClientDC&) = delete;
  ClientDC& operator=(const ClientDC&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An owned 32-bit top-down DIB section; empty when it has no pixels.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, Colour fill = 0xFFFFFF);
  // Takes ownership of any bitmap handle (converted to a DIB section copy).
  static Bitmap Adopt(HBITMAP handle);
  // Rows of packed $00BBGGRR pixels, row 0 on top.
  static Bitmap FromPixels(int width, int height, const std::vector<std::uint32_t>& pixels);

  Bitmap(Bitmap&&) noexcept = default;
  Bitmap& operator=(Bitmap&&) noexcept = default;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  Bitmap Clone() const;

  bool Empty() const { return !handle_ || width_ <= 0 || height_ <= 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Size GetSize() const { return Size{width_, height_}; }
  HBITMAP Handle() const { return handle_.get(); }
  Colour Pixel(int x, int y) const;
  void SetPixel(int x, int y, Colour c);

 private:
  GdiObject<HBITMAP> handle_;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A memory device context with a bitmap selected for its lifetime.
class MemoryDC {
 public:
  explicit MemoryDC(HBITMAP bitmap, HDC compatible = nullptr);
  ~MemoryDC();
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Text and font description of a control.
struct FontDef {
  std::string name = "MS Sans Serif";
  int height = -11;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Colour colour = kColourWindowText;
  int charset = DEFAULT_CHARSET;
};
bool operator==(const FontDef& a, const FontDef& b);
inline bool operator!=(const FontDef& a, const FontDef& b) { return !(a == b); }
// A font of that definition; one of DEFAULT_CHARSET takes the script of
// the texts being shown (SetTextCodePage).
FontHandle MakeFont(const FontDef& font);

// The code page the shown texts come from (a language file's; 0 for the
// program's own English). A font made afterwards for a script that not
// every Windows font covers (Chinese, Japanese, Cyrillic, ...) asks for
// that character set, so that the font mapper picks a face that has its
// glyphs whatever the system's own code page is.
void SetTextCodePage(unsigned codePage);

// Text kept in UTF-8, drawn and measured through the wide functions.
int DrawTextUtf8(HDC dc, const std::string& text, RECT* r, UINT flags);
SIZE TextExtentUtf8(HDC dc, const std::string& text);

// Drawing on a device context the caller owns.
class Canvas {
 public:
  explicit Canvas(HDC dc) : dc_(dc) {}
  HDC Handle() const { return dc_; }

  void FillRect(const Rect& r, Colour c);
  void FrameRect(const Rect& r, Colour c);
  void Polyline(const std::vector<Point>& points, Colour c);
  // DrawText with the given flags, transparent background.
  void Text(const std::string& text, Rect r, UINT flags, Colour colour, HFONT font);
  // Size of a single line as DT_CALCRECT | DT_SINGLELINE measures it.
  Size MeasureLine(const std::string& text, HFONT font, UINT flags = 0);
  // Size of the text as written, ampersands included (GetTextExtentPoint32),
  // as the toolkit's TextWidth measures captions.
  Size TextExtent(const std::string& text, HFONT font);
  void Draw(const Bitmap& b, int x, int y);
  void StretchDraw(const Bitmap& b, const Rect& dst, const Rect& src);
  // Draws every pixel but those of the transparent colour, through a masked
  // image list of one image, built and freed here.
  void DrawMasked(const Bitmap& b, int x, int y, Colour transparent);
  void FocusRect(const Rect& r);

 private:
  HDC dc_;
};

// An off-screen buffer of a given size with its own device context; Flush
// copies it to the target in one step.
class DoubleBuffer {
 public:
  DoubleBuffer(HDC target, const Rect& area);
  HDC dc() const { return mem_.get(); }
  void Flush();

 private:
  HDC target_;
  Rect area_;
  Bitmap bitmap_;
  MemoryDC mem_;
};

}  // namespace vh
