#include "flat/flat_draw_win.h"

namespace vh {

void DrawBevelFrame(Canvas& canvas, Rect r, Colour topLeft, Colour bottomRight, int n) {
  r.right -= 1;
  r.bottom -= 1;
  for (int i = 0; i < n; ++i) {
    canvas.Polyline({{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}}, topLeft);
    canvas.Polyline({{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}}, bottomRight);
    r = Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
}

namespace {

// White where the glyph shows its shape, black elsewhere. The platform's
// conversion against a black outline takes only exact black; darker than
// mid-grey gives the same look for black glyphs and also embosses dark
// anti-aliased edges.
Bitmap ShapeMask(const Bitmap& glyph, Colour outline) {
  Bitmap mask(glyph.Width(), glyph.Height(), 0);
  COLORREF o = ResolveColour(outline);
  for (int y = 0; y < glyph.Height(); ++y)
    for (int x = 0; x < glyph.Width(); ++x) {
      Colour p = glyph.Pixel(x, y);
      int dr = RedOf(p) - GetRValue(o), dg = GreenOf(p) - GetGValue(o), db = BlueOf(p) - GetBValue(o);
      bool shape = dr * dr + dg * dg + db * db < 3 * 128 * 128;
      mask.SetPixel(x, y, shape ? 0xFFFFFF : 0);
    }
  return mask;
}

// Where the mask is white the brush colour is painted; elsewhere the
// destination stays (raster operation DSPDxax).
void PaintThroughMask(HDC dst, const Bitmap& mask, int x, int y, Colour colour) {
  MemoryDC src(mask.Handle(), dst);
  BrushHandle brush(CreateSolidBrush(ResolveColour(colour)));
  SelectScope use(dst, brush.get());
  COLORREF oldText = SetTextColor(dst, RGB(0, 0, 0));
  COLORREF oldBack = SetBkColor(dst, RGB(255, 255, 255));
  BitBlt(dst, x, y, mask.Width(), mask.Height(), src.get(), 0, 0, 0x00E20746);
  SetTextColor(dst, oldText);
  SetBkColor(dst, oldBack);
}

}  // namespace

Bitmap MakeDisabledGlyph(const Bitmap& glyph, Colour outline, Colour background, Colour highlight, Colour shadow,
                         bool drawHighlight) {
  Bitmap result(glyph.Width(), glyph.Height(), background);
  if (glyph.Empty()) return result;
  Bitmap mask = ShapeMask(glyph, outline);
  MemoryDC dc(result.Handle());
  if (drawHighlight) PaintThroughMask(dc.get(), mask, 1, 1, highlight);
  PaintThroughMask(dc.get(), mask, 0, 0, shadow);
  return result;
}

}  // namespace vh
