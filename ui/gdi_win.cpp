#include "ui/gdi_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/text_win.h"

namespace vh {

COLORREF ResolveColour(Colour c) {
  if (IsSystemColour(c)) return GetSysColor(SystemColourIndex(c));
  return COLORREF(c & 0xFFFFFF);
}

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

namespace {

// $00BBGGRR to the DIB's $00RRGGBB and back.
std::uint32_t ToDib(Colour c) {
  return std::uint32_t(BlueOf(c)) | (std::uint32_t(GreenOf(c)) << 8) | (std::uint32_t(RedOf(c)) << 16);
}
Colour FromDib(std::uint32_t p) { return MakeColour((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

HBITMAP MakeDib(int width, int height, std::uint32_t** bits) {
  const BITMAPINFO bi = TopDownDibInfo(width, height);
  void* p = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
  *bits = static_cast<std::uint32_t*>(p);
  return h;
}

}  // namespace

Bitmap::Bitmap(int width, int height, Colour fill) {
  if (width <= 0 || height <= 0) return;
  handle_.Reset(MakeDib(width, height, &bits_));
  if (!handle_) return;
  width_ = width;
  height_ = height;
  std::fill(bits_, bits_ + std::size_t(width) * std::size_t(height), ToDib(Colour(ResolveColour(fill))));
}

Bitmap Bitmap::Adopt(HBITMAP handle) {
  GdiObject<HBITMAP> owned(handle);
  BITMAP info{};
  if (!handle || !GetObject(handle, sizeof(info), &info)) return Bitmap();
  Bitmap out(info.bmWidth, std::abs(info.bmHeight));
  if (out.Empty()) return out;
  MemoryDC src(handle);
  MemoryDC dst(out.Handle());
  BitBlt(dst.get(), 0, 0, out.width_, out.height_, src.get(), 0, 0, SRCCOPY);
  return out;
}

Bitmap Bitmap::FromPixels(int width, int height, const std::vector<std::uint32_t>& pixels) {
  Bitmap out(width, height, 0);
  for (int y = 0; y < out.height_; ++y)
    for (int x = 0; x < out.width_; ++x) {
      std::size_t i = std::size_t(y) * std::size_t(width) + std::size_t(x);
      if (i < pixels.size()) out.bits_[i] = ToDib(Colour(pixels[i] & 0xFFFFFF));
    }
  return out;
}

Bitmap Bitmap::Clone() const {
  Bitmap out(width_, height_);
  if (!out.Empty()) {
    GdiFlush();
    std::memcpy(out.bits_, bits_, std::size_t(width_) * std::size_t(height_) * 4);
  }
  return out;
}

Colour Bitmap::Pixel(int x, int y) const {
  if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return FromDib(bits_[std::size_t(y) * std::size_t(width_) + std::size_t(x)]);
}

void Bitmap::SetPixel(int x, int y, Colour c) {
  if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  GdiFlush();
  bits_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = ToDib(Colour(ResolveColour(c)));
}

MemoryDC::MemoryDC(HBITMAP bitmap, HDC compatible)
    : dc_(CreateCompatibleDC(compatible)), old_(bitmap ? SelectObject(dc_, bitmap) : nullptr) {}

MemoryDC::~MemoryDC() {
  if (old_) SelectObject(dc_, old_);
  DeleteDC(dc_);
}

bool operator==(const FontDef& a, const FontDef& b) {
  return a.name == b.name && a.height == b.height && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.colour == b.colour && a.charset == b.charset;
}

namespace {

int& TextCharset() {
  static int charset = DEFAULT_CHARSET;
  return charset;
}

}  // namespace

FontHandle MakeFont(const FontDef& font) {
  const int charset = font.charset == DEFAULT_CHARSET ? TextCharset() : font.charset;
  return FontHandle(CreateFontA(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline,
                                FALSE, DWORD(charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH, font.name.c_str()));
}

void SetTextCodePage(unsigned codePage) {
  CHARSETINFO info{};
  int charset = DEFAULT_CHARSET;
  // Latin text is in every font; the UTF encodings name no script.
  if (codePage != 0 && TranslateCharsetInfo(reinterpret_cast<DWORD*>(std::uintptr_t(codePage)), &info, TCI_SRCCODEPAGE) &&
      info.ciCharset != ANSI_CHARSET)
    charset = int(info.ciCharset);
  TextCharset() = charset;
}

int DrawTextUtf8(HDC dc, const std::string& text, RECT* r, UINT flags) {
  const std::wstring wide = Utf8ToWide(text);
  return DrawTextW(dc, wide.c_str(), int(wide.size()), r, flags);
}

SIZE TextExtentUtf8(HDC dc, const std::string& text) {
  const std::wstring wide = Utf8ToWide(text);
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
  return size;
}

void Canvas::FillRect(const Rect& r, Colour c) {
  BrushHandle brush(CreateSolidBrush(ResolveColour(c)));
  RECT rc = ToRECT(r);
  ::FillRect(dc_, &rc, brush.get());
}

void Canvas::FrameRect(const Rect& r, Colour c) {
  BrushHandle brush(CreateSolidBrush(ResolveColour(c)));
  RECT rc = ToRECT(r);
  ::FrameRect(dc_, &rc, brush.get());
}

void Canvas::Polyline(const std::vector<Point>& points, Colour c) {
  if (points.empty()) return;
  PenHandle pen(CreatePen(PS_SOLID, 1, ResolveColour(c)));
  SelectScope use(dc_, pen.get());
  MoveToEx(dc_, points[0].x, points[0].y, nullptr);
  for (std::size_t i = 1; i < points.size(); ++i) LineTo(dc_, points[i].x, points[i].y);
}

void Canvas::Text(const std::string& text, Rect r, UINT flags, Colour colour, HFONT font) {
  SelectScope use(dc_, font);
  int oldMode = SetBkMode(dc_, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc_, ResolveColour(colour));
  RECT rc = ToRECT(r);
  DrawTextUtf8(dc_, text, &rc, flags);
  SetTextColor(dc_, oldColour);
  SetBkMode(dc_, oldMode);
}

Size Canvas::MeasureLine(const std::string& text, HFONT font, UINT flags) {
  SelectScope use(dc_, font);
  RECT rc{0, 0, 0, 0};
  DrawTextUtf8(dc_, text, &rc, DT_CALCRECT | DT_SINGLELINE | flags);
  return Size{rc.right - rc.left, rc.bottom - rc.top};
}

Size Canvas::TextExtent(const std::string& text, HFONT font) {
  SelectScope use(dc_, font);
  const SIZE size = TextExtentUtf8(dc_, text);
  return Size{size.cx, size.cy};
}

void Canvas::Draw(const Bitmap& b, int x, int y) {
  if (b.Empty()) return;
  MemoryDC src(b.Handle(), dc_);
  BitBlt(dc_, x, y, b.Width(), b.Height(), src.get(), 0, 0, SRCCOPY);
}

void Canvas::StretchDraw(const Bitmap& b, const Rect& dst, const Rect& src) {
  if (b.Empty()) return;
  MemoryDC from(b.Handle(), dc_);
  int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, dst.left, dst.top, dst.Width(), dst.Height(), from.get(), src.left, src.top, src.Width(),
             src.Height(), SRCCOPY);
  SetStretchBltMode(dc_, oldMode);
}

void Canvas::DrawMasked(const Bitmap& b, int x, int y, Colour transparent) {
  if (b.Empty()) return;
  HIMAGELIST list = ImageList_Create(b.Width(), b.Height(), ILC_COLOR24 | ILC_MASK, 1, 0);
  if (!list) return;
  // AddMasked changes the bitmap it is given, so it gets a copy.
  Bitmap copy = b.Clone();
  ImageList_AddMasked(list, copy.Handle(), ResolveColour(transparent));
  ImageList_Draw(list, 0, dc_, x, y, ILD_NORMAL);
  ImageList_Destroy(list);
}

void Canvas::FocusRect(const Rect& r) {
  RECT rc = ToRECT(r);
  DrawFocusRect(dc_, &rc);
}

DoubleBuffer::DoubleBuffer(HDC target, const Rect& area)
    : target_(target), area_(area), bitmap_(std::max(area.Width(), 1), std::max(area.Height(), 1)),
      mem_(bitmap_.Handle(), target) {
  SetViewportOrgEx(mem_.get(), -area.left, -area.top, nullptr);
}

void DoubleBuffer::Flush() {
  SetViewportOrgEx(mem_.get(), 0, 0, nullptr);
  BitBlt(target_, area_.left, area_.top, area_.Width(), area_.Height(), mem_.get(), 0, 0, SRCCOPY);
}

}  // namespace vh
