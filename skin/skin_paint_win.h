// Win32 drawing shared by the skinned controls:
//   SkinBuffer              the off-screen buffer of a control's own size,
//                           copied to the target in one step;
//   CutSkinFrame            one frame of a bitmap strip into a bitmap;
//   LoadBuiltinThemeBitmap  a built-in skin bitmap from the executable's
//                           resources, whole or one frame;
//   DrawNinePartSkin        a button frame stretched to any size in nine
//                           pieces, as NinePartSkinPlan places them;
//   DrawTransparentPart     a part of a bitmap without one colour;
//   GreyedCopy              the disabled look of a glyph;
//   PaintParentBackground   what the parent shows beneath a control.
#pragma once

#include <windows.h>

#include <string>

#include "skin/ui_style.h"
#include "ui/component_win.h"
#include "ui/gdi_win.h"
#include "ui/geometry.h"

namespace vh {

// A 32-bit bitmap of width x height with a device context of its own; the
// font and colours selected into it are put back when it goes.
class SkinBuffer {
 public:
  SkinBuffer(int width, int height);
  HDC dc() const { return dc_.get(); }
  Canvas canvas() const { return Canvas(dc_.get()); }
  const Bitmap& bitmap() const { return bitmap_; }
  // BitBlt (source copy) of the whole buffer to (0, 0) of the target.
  void CopyTo(HDC target) const;

 private:
  Bitmap bitmap_;
  MemoryDC dc_;
};

// Makes `target` frame `frameIndex` (1-based) of `frameCount` of `source`;
// an out-of-range request or a frame of width 0 leaves it empty.
void CutSkinFrame(const Bitmap& source, Bitmap& target, int frameCount, int frameIndex);
// A copy of a part of a bitmap (empty for an empty part).
Bitmap CopyBitmapPart(const Bitmap& source, const Rect& part);

// Loads the bitmap resource of a built-in bitmap entry into `target`: the
// whole bitmap when `frameCount` is 0, otherwise that frame. Nothing happens
// when `target` is null or the entry is not a bitmap entry; an empty or
// missing resource leaves the target empty. Loaded anew on every call.
void LoadBuiltinThemeBitmap(TsuiUIStyle style, int number, Bitmap* target, int frameIndex, int frameCount);

// Draws `part` of `source` at (x, y) unscaled, leaving out `transparent`.
void DrawTransparentPart(HDC dc, const Bitmap& source, const Rect& part, int x, int y, Colour transparent);
// Stretches `part` of `source` over `dest`, leaving out `transparent`.
void StretchTransparentPart(HDC dc, const Bitmap& source, const Rect& part, const Rect& dest, Colour transparent);
// The nine-part skin over `dest`; corners through clFuchsia only when
// `transparent`, edges and centre always through clFuchsia.
void DrawNinePartSkin(const Bitmap& skin, HDC dc, const Rect& dest, bool transparent);

// Grey shades, lightened, of every pixel but those of `keep` (the glyph's
// transparent colour stays as it is).
Bitmap GreyedCopy(const Bitmap& source, Colour keep);

// Renders the control's parent beneath the control into `dc` (whose origin
// is the control's top-left corner). Nothing without a parent window.
void PaintParentBackground(HDC dc, const TControl& control);

// Text extent of one line as the canvas measures it (no prefix handling).
Size TextExtent(HDC dc, HFONT font, const std::string& text);

}  // namespace vh
