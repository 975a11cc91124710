// Colour values, names and the rounding rule of MulDiv.
#include <gtest/gtest.h>

#include "vorn/platform/graphics/color.h"
#include "vorn/platform/runtime/classes.h"

namespace vorn {
namespace {

TEST(ColorTest, SystemColoursResolveThroughTheTable) {
  ResetSysColors();
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
  SetSysColor(16, clRed);
  EXPECT_EQ(ColorToRGB(clBtnShadow), clRed);
  ResetSysColors();
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
  // Out-of-range system indices and foreign high bytes stay harmless.
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF0000FF)), clBlack);
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0x6088FFF0)), 0x88FFF0);
}

TEST(ColorTest, PixelsSwapRedAndBlue) {
  EXPECT_EQ(ColorToPixel(clRed), 0xFF0000u);
  EXPECT_EQ(ColorToPixel(clBlue), 0x0000FFu);
  EXPECT_EQ(PixelToColor(ColorToPixel(0x123456)), 0x123456);
}

TEST(ColorTest, NamesRoundTripAndHexForTheRest) {
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor("clred"), clRed);
  EXPECT_EQ(StringToColor("$00123456"), 0x123456);
  EXPECT_EQ(StringToColor("$FF000010"), clBtnShadow);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_EQ(StringToColor("-16777200"), clBtnShadow);
  for (const char* bad : {"", "$", "clNothing", "12x", "$1FFFFFFFF", "0x"}) {
    EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
  }
}

TEST(ColorTest, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(1, -3, 2), -2);
  EXPECT_EQ(MulDiv(5, 121, 16), 38);  // 37.8125
  EXPECT_EQ(MulDiv(3, 121, 16), 23);  // 22.6875
  EXPECT_EQ(MulDiv(8, 96, 72), 11);   // 10.67
  EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1 << 30), 1 << 30);  // no overflow inside
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
  EXPECT_EQ(MulDiv(1 << 30, 8, 1), -1);  // result does not fit
}

}  // namespace
}  // namespace vorn
