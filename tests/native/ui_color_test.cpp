#include "ui/color.h"

#include <gtest/gtest.h>

#include "ui/accel.h"

namespace vh {
namespace {

TEST(Hls240, KnownColoursOnTheScale) {
  EXPECT_EQ(ColourToHls240(MakeColour(255, 255, 255)).lightness, 240);
  EXPECT_EQ(ColourToHls240(MakeColour(0, 0, 0)).lightness, 0);
  Hls240 red = ColourToHls240(MakeColour(255, 0, 0));
  EXPECT_EQ(red.hue, 0);
  EXPECT_EQ(red.saturation, 240);
  EXPECT_EQ(red.lightness, 120);
  // Blue sits at two thirds of the hue circle, scaled by 239.
  EXPECT_EQ(ColourToHls240(MakeColour(0, 0, 255)).hue, 159);
}

TEST(Hls240, RoundTripKeepsColoursWithinARoundingStep) {
  const Colour samples[] = {MakeColour(235, 234, 225), MakeColour(160, 150, 131), MakeColour(12, 200, 77),
                            MakeColour(192, 192, 192)};
  for (Colour c : samples) {
    Colour back = Hls240ToColour(ColourToHls240(c));
    EXPECT_NEAR(RedOf(back), RedOf(c), 3) << std::hex << c;
    EXPECT_NEAR(GreenOf(back), GreenOf(c), 3) << std::hex << c;
    EXPECT_NEAR(BlueOf(back), BlueOf(c), 3) << std::hex << c;
  }
}

TEST(Hls240, LightnessBeyondTheScaleStaysAValidColour) {
  Colour c = Hls240ToColour(Hls240{40, 120, 250});
  EXPECT_EQ(c & ~0xFFFFFF, 0);
  EXPECT_EQ(RedOf(c), 255);
}

TEST(Accelerator, MarkedCharacterIgnoringCaseAndDoubledAmpersands) {
  EXPECT_EQ(AcceleratorOf("&OK"), 'O');
  EXPECT_EQ(AcceleratorOf("H&omepage"), 'O');
  EXPECT_EQ(AcceleratorOf("Save && &exit"), 'E');
  EXPECT_EQ(AcceleratorOf("Exit"), 0);
  EXPECT_EQ(AcceleratorOf("Trailing&"), 0);
  EXPECT_TRUE(IsAccelerator('c', "&Cancel"));
  EXPECT_FALSE(IsAccelerator('a', "&Cancel"));
  EXPECT_EQ(StripAccelerator("A && &B"), "A & B");
}

}  // namespace
}  // namespace vh
