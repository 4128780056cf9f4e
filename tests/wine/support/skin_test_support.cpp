#include "tests/wine/support/skin_test_support.h"

#include <sstream>
#include <vector>

#include "skin/skin_paint_win.h"
#include "theme/bitmap_file.h"
#include "tests/support/theme_file_writer.h"

namespace vh::test {

std::string FirstDifference(const Bitmap& a, const Bitmap& b) {
  if (a.GetSize() != b.GetSize()) {
    std::ostringstream s;
    s << "sizes " << a.GetSize() << " and " << b.GetSize();
    return s.str();
  }
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        std::ostringstream s;
        s << "(" << x << ", " << y << ") " << std::hex << a.Pixel(x, y) << " != " << b.Pixel(x, y);
        return s.str();
      }
  return "";
}

Bitmap BuiltinFrame(TsuiUIStyle style, int entry, int frame, int frames) {
  Bitmap out;
  LoadBuiltinThemeBitmap(style, entry, &out, frame, frames);
  return out;
}

namespace {

std::vector<std::uint8_t> Strip(int frameWidth, int height, const Colour* colours, int frames) {
  std::vector<std::uint32_t> px(std::size_t(frameWidth * frames * height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < frameWidth * frames; ++x) px[std::size_t(y * frameWidth * frames + x)] = std::uint32_t(colours[x / frameWidth]);
  return MakeBitmapFile(frameWidth * frames, height, px);
}

}  // namespace

std::string WriteTestThemeFile(const std::string& folder, const std::string& password) {
  const Colour fill[1] = {kThemeFill};
  ThemeDataBuilder data;
  data.AddBitmap("SKIN2_BUTTON", Strip(20, 21, kThemeButtonFrame, 3))
      .AddBitmap("SKIN2_CHECKBOX", Strip(13, 13, kThemeCheckFrame, 6))
      .AddBitmap("SKIN2_PROGRESSBAR2", Strip(4, 10, fill, 1))
      .AddColour("SKIN2_CONTROLCOLOR", kThemeControl)
      .AddColour("SKIN2_CONTROLBORDERCOLOR", kThemeBorder)
      .AddColour("SKIN2_CONTROLFONTCOLOR", kThemeFont)
      .AddColour("SKIN2_BUTTONFONTCOLOR", kThemeButtonFont)
      .AddBoolean("SKIN2_BUTTONTRANS", 0);
  const std::string path = folder + "\\test.sk2";
  SaveBytes(path, WriteThemeFile(data.Build(), MemberCompression::Deflated, password));
  return path;
}

FakeTsuiForm::FakeTsuiForm(TComponent* owner, TWinControl* parent, TsuiUIStyle style)
    : TWinControl(owner, parent, "suiForm1"), style_(style) {}

}  // namespace vh::test
