#include "skin/skin_paint_win.h"

#include <algorithm>

#include "skin/nine_part.h"
#include "ui/picture_win.h"

namespace vh {

SkinBuffer::SkinBuffer(int width, int height) : bitmap_(std::max(width, 1), std::max(height, 1)), dc_(bitmap_.Handle()) {}

void SkinBuffer::CopyTo(HDC target) const {
  BitBlt(target, 0, 0, bitmap_.Width(), bitmap_.Height(), dc_.get(), 0, 0, SRCCOPY);
}

Bitmap CopyBitmapPart(const Bitmap& source, const Rect& part) {
  if (source.Empty() || part.IsEmpty()) return Bitmap();
  Bitmap out(part.Width(), part.Height(), 0);
  if (out.Empty()) return out;
  MemoryDC from(source.Handle());
  MemoryDC to(out.Handle());
  BitBlt(to.get(), 0, 0, part.Width(), part.Height(), from.get(), part.left, part.top, SRCCOPY);
  return out;
}

void CutSkinFrame(const Bitmap& source, Bitmap& target, int frameCount, int frameIndex) {
  target = CopyBitmapPart(source, CutSkinFrame(source.GetSize(), frameCount, frameIndex));
}

void LoadBuiltinThemeBitmap(TsuiUIStyle style, int number, Bitmap* target, int frameIndex, int frameCount) {
  if (target == nullptr) return;
  if (BuiltinThemeEntry(style, number).kind != ThemeEntryKind::Bitmap) return;
  const std::string name = BuiltinThemeBitmapName(style, number);
  if (name.empty()) {
    *target = Bitmap();
    return;
  }
  Bitmap whole = LoadBitmapResource(name.c_str());
  if (frameCount == 0) {
    *target = std::move(whole);
  } else {
    CutSkinFrame(whole, *target, frameCount, frameIndex);
  }
}

void DrawTransparentPart(HDC dc, const Bitmap& source, const Rect& part, int x, int y, Colour transparent) {
  StretchTransparentPart(dc, source, part, Rect{x, y, x + part.Width(), y + part.Height()}, transparent);
}

void StretchTransparentPart(HDC dc, const Bitmap& source, const Rect& part, const Rect& dest, Colour transparent) {
  if (source.Empty() || part.IsEmpty() || dest.IsEmpty()) return;
  MemoryDC from(source.Handle(), dc);
  TransparentBlt(dc, dest.left, dest.top, dest.Width(), dest.Height(), from.get(), part.left, part.top, part.Width(),
                 part.Height(), ResolveColour(transparent));
}

namespace {

void DrawOpaquePart(HDC dc, const Bitmap& source, const Rect& part, int x, int y) {
  MemoryDC from(source.Handle(), dc);
  BitBlt(dc, x, y, part.Width(), part.Height(), from.get(), part.left, part.top, SRCCOPY);
}

// An edge or the centre: stretched into a bitmap of the destination's size
// first, then drawn without clFuchsia.
void DrawStretchedPiece(HDC dc, const Bitmap& skin, const Rect& source, const Rect& dest) {
  Bitmap piece(dest.Width(), dest.Height(), 0);
  if (piece.Empty()) return;
  {
    MemoryDC from(skin.Handle(), dc);
    MemoryDC to(piece.Handle(), dc);
    SetStretchBltMode(to.get(), COLORONCOLOR);
    StretchBlt(to.get(), 0, 0, dest.Width(), dest.Height(), from.get(), source.left, source.top, source.Width(),
               source.Height(), SRCCOPY);
  }
  DrawTransparentPart(dc, piece, Rect{0, 0, dest.Width(), dest.Height()}, dest.left, dest.top, kClFuchsia);
}

}  // namespace

void DrawNinePartSkin(const Bitmap& skin, HDC dc, const Rect& dest, bool transparent) {
  if (skin.Empty() || dest.IsEmpty()) return;
  for (const NinePartPiece& p : NinePartSkinPlan(skin.GetSize(), Size{dest.Width(), dest.Height()})) {
    if (!p.drawn) continue;
    const Rect at = p.dest.Offset(dest.left, dest.top);
    if (p.mode == NinePieceMode::StretchedFuchsiaTransparent) {
      DrawStretchedPiece(dc, skin, p.source, at);
    } else if (transparent) {
      DrawTransparentPart(dc, skin, p.source, at.left, at.top, kClFuchsia);
    } else {
      DrawOpaquePart(dc, skin, p.source, at.left, at.top);
    }
  }
}

Bitmap GreyedCopy(const Bitmap& source, Colour keep) {
  Bitmap out = source.Clone();
  const Colour kept = Colour(ResolveColour(keep));
  for (int y = 0; y < out.Height(); ++y) {
    for (int x = 0; x < out.Width(); ++x) {
      const Colour c = out.Pixel(x, y);
      if (c == kept) continue;
      const int lum = (RedOf(c) * 30 + GreenOf(c) * 59 + BlueOf(c) * 11) / 100;
      const int g = 128 + lum / 2;
      out.SetPixel(x, y, MakeColour(g, g, g));
    }
  }
  return out;
}

void PaintParentBackground(HDC dc, const TControl& control) {
  const TWinControl* parent = control.Parent();
  if (parent == nullptr || parent->Handle() == nullptr) return;
  HWND window = parent->Handle();
  const SavedDCState saved(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control.Left(), origin.y - control.Top(), nullptr);
  RECT client{};
  GetClientRect(window, &client);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  SendMessageA(window, WM_ERASEBKGND, WPARAM(dc), 0);
  // Our own windows paint into a given device context on WM_PRINTCLIENT;
  // their WM_PAINT always paints the screen. Standard windows take the
  // device context with WM_PAINT.
  if (TWinControl::FromHandle(window) != nullptr) {
    SendMessageA(window, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
  } else {
    SendMessageA(window, WM_PAINT, WPARAM(dc), 0);
  }
}

Size TextExtent(HDC dc, HFONT font, const std::string& text) {
  SelectScope use(dc, font);
  SIZE s{};
  if (text.empty()) {
    GetTextExtentPoint32A(dc, "W", 1, &s);
    return Size{0, s.cy};
  }
  s = TextExtentUtf8(dc, text);
  return Size{s.cx, s.cy};
}

}  // namespace vh
