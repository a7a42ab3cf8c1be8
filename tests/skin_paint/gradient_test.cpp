// Gradient texts and painting: bands, clipping, triangles and the texture mix.
#include <gtest/gtest.h>

#include "skin/foundation/gradient.h"
#include "test_images.h"
#include "widgets/graphics/colors.h"

namespace {

TEST(Gradient, ParseTexts) {
  TsGradArray stops;
  ParseGradientData("16777215;12632256;50;0;0;12632256;8421504;50;0;0", stops);
  ASSERT_EQ(stops.size(), 2u);
  EXPECT_EQ(stops[0].StartColor, 0xFFFFFF);
  EXPECT_EQ(stops[0].EndColor, 0xC0C0C0);
  EXPECT_EQ(stops[1].EndColor, 0x808080);
  EXPECT_EQ(stops[1].Percent, 50);
  ParseGradientData("1;2;3;4", stops);
  EXPECT_TRUE(stops.empty());
  ParseGradientData(";;1;;2;3;1;x;;7;8;9", stops);  // runs of ';' count once; 9 words
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(stops[0].Mode, 1);
  ParseGradientData("255;0;250;0;0", stops);
  EXPECT_EQ(stops[0].Percent, 100);  // clamped
  ParseGradientData(std::to_string(clBtnFace) + ";0;100;0;0", stops);
  EXPECT_EQ(uint32_t(stops[0].StartColor), uint32_t(ColorToRGB(clBtnFace)));
  ParseGradientData("", stops);
  EXPECT_TRUE(stops.empty());
  EXPECT_ANY_THROW(ParseGradientData("1;2;3;4;5;red;2;3;4;5", stops));
}

GradientStop Stop(uint32_t from, uint32_t to, int percent, int mode = 0) {
  GradientStop s;
  s.StartColor = SkinColor(from);
  s.EndColor = SkinColor(to);
  s.Percent = uint8_t(percent);
  s.Mode = mode;
  return s;
}

TEST(Gradient, VerticalBandsShareTheirBoundaryRow) {
  TestImage img(4, 100, 0);
  // Red 0 -> 30 over rows 0..30, then blue 0 -> 69 over rows 30..99.
  FillGradientArgb(img.View(), {0, 0, 4, 100},
                   {Stop(0x000000, 0x00001E, 30), Stop(0x000000, 0x450000, 30)});
  EXPECT_EQ(img.at(0, 0), 0xFF000000u);
  EXPECT_EQ(img.at(3, 29), 0xFF1D0000u);  // red 29 in pixel order
  EXPECT_EQ(img.at(0, 30), 0xFF000000u);  // repainted by the second band
  EXPECT_EQ(img.at(0, 99), 0xFF000045u);
  EXPECT_EQ(img.at(0, 64), 0xFF000022u);  // 34 steps of exactly 1
}

TEST(Gradient, SingleStopAndClipping) {
  TestImage img(10, 10, 0);
  FillGradientArgb(img.View(), {-5, 5, 3, 50}, {Stop(0x123456, 0x123456, 0)});
  EXPECT_EQ(img.at(0, 5), 0xFF563412u);
  EXPECT_EQ(img.at(2, 9), 0xFF563412u);
  EXPECT_EQ(img.at(3, 9), 0u);
  EXPECT_EQ(img.at(0, 4), 0u);
  TestImage untouched(10, 10, 7);
  FillGradientArgb(untouched.View(), {20, 20, 30, 30}, {Stop(1, 1, 100)});
  FillGradientArgb(untouched.View(), {0, 0, 10, 10}, {});
  FillGradientArgb(untouched.View(), {0, 0, 10, 10}, {Stop(1, 1, 100, 7)});
  EXPECT_EQ(untouched.at(5, 5), 7u);
}

TEST(Gradient, HorizontalBandsRepeatTheTopRow) {
  TestImage img(11, 4, 0);
  FillGradientArgb(img.View(), {0, 0, 11, 4}, {Stop(0x000000, 0x0000FF, 100, 1)});
  EXPECT_EQ(img.at(0, 0), 0xFF000000u);
  EXPECT_EQ(img.at(10, 3), 0xFFFF0000u);
  EXPECT_EQ(img.at(5, 2), img.at(5, 0));
  EXPECT_EQ(img.at(5, 0), 0xFF800000u);  // 127.5 rounds to even
}

TEST(Gradient, TrianglesTakeMissingStopsFromThePreviousVertex) {
  if (!GradientFillAvailable()) GTEST_SKIP() << "no GradientFill";
  TestImage img(40, 40, 0);
  FillGradientArgb(img.View(), {0, 0, 40, 40}, {Stop(0x0000FF, 0, 0, 2), Stop(0xFF0000, 0, 0, 2)});
  auto blueish = [](uint32_t p) { return (p & 0xFF) > 0xC0 && ((p >> 16) & 0xFF) < 0x40; };
  EXPECT_TRUE(blueish(img.at(39, 0)));            // top right: stop 1
  EXPECT_TRUE(blueish(img.at(39, 39)));           // bottom right
  EXPECT_TRUE(blueish(img.at(0, 39)));            // bottom left
  EXPECT_GT((img.at(0, 0) >> 16) & 0xFF, 0xC0u);  // top left: stop 0, red
  EXPECT_EQ(img.at(20, 20) >> 24, 0xFFu);
}

TEST(Gradient, TextureMixTilesTheWholeTexture) {
  TestImage tex(2, 2, 0, false);
  tex.at(0, 0) = 0x00000010;
  tex.at(1, 0) = 0x00000020;
  tex.at(0, 1) = 0x00000030;
  tex.at(1, 1) = 0x00000040;  // the last row and column take part
  TestImage img(5, 5, 0);
  FillGradientWithTexture(img.View(), {0, 0, 5, 5}, {Stop(0, 0, 100)}, tex.View(), {0, 0, 0, 0},
                          255, 200);
  auto mixed = [](uint32_t t) { return 0xC8000000u | ((t * 255) >> 8); };
  EXPECT_EQ(img.at(1, 1), mixed(0x40));
  EXPECT_EQ(img.at(2, 2), mixed(0x10));  // anchored at the bitmap's origin
  EXPECT_EQ(img.at(4, 3), mixed(0x30));
  // A one-pixel texture still paints.
  TestImage dot(1, 1, 0x000000FF), img2(3, 3, 0);
  FillGradientWithTexture(img2.View(), {0, 0, 3, 3}, {Stop(0, 0, 100)}, dot.View(), {0, 0, 1, 1},
                          128, 255);
  EXPECT_EQ(img2.at(2, 2), 0xFF00007Fu);
}

TEST(Gradient, TextureMixLeftToRightCopiesTheBand) {
  TestImage tex(4, 1, 0x00000080), img(8, 6, 0);
  FillGradientWithTexture(img.View(), {0, 0, 8, 6}, {Stop(0x000000, 0x0000FF, 100, 1)}, tex.View(),
                          {0, 0, 4, 1}, 128, 255);
  for (int y = 1; y < 6; ++y) EXPECT_EQ(img.at(7, y), img.at(7, 0));
  // Column 7 is red 255 in the gradient: (128 * (0 - 255) + 255 * 256) shr 8 = 127.
  EXPECT_EQ(img.at(7, 0), 0xFF7F0040u);
}

}  // namespace
