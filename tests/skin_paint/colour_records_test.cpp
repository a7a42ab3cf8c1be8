// Colour arithmetic and skin record geometry: bit-exact against the formulas.
#include <gtest/gtest.h>

#include "skin/foundation/colour_math.h"
#include "skin/foundation/skin_records.h"

namespace {

struct Case {
  const char* what;
  uint32_t got;
  uint32_t want;
};

TEST(ColourMath, TableOfOperations) {
  const Case cases[] = {
      {"white with white at 255 is one level darker", MixTwoColors(0xFFFFFF, 0xFFFFFF, 255),
       0xFEFEFE},
      {"weight 0 gives B*255 shr 8 with A's top byte", MixTwoColors(0x12000000, 0x00FF8040, 0),
       0x12FE7F3F},
      {"mix per channel", MixTwoColors(0x00102030, 0x00F0E0D0, 128),
       ((0x10 * 128 + 0xF0 * 127) >> 8) << 16 | ((0x20 * 128 + 0xE0 * 127) >> 8) << 8 |
           ((0x30 * 128 + 0xD0 * 127) >> 8)},
      {"brightness +256 caps at 255", ChangeColorBrightness(0x00808080, 256), 0x00FFFFFF},
      {"brightness -128 halves", ChangeColorBrightness(0x00808080, -128), 0x00404040},
      {"brightness keeps top byte", ChangeColorBrightness(0xAB000010, 0), 0xAB000010},
      {"saturate -255 of pure red is grey 75", SaturatePixel(-255, 0x00FF0000), 0x004B4B4B},
      {"saturate 0 is identity", SaturatePixel(0, 0x12345678), 0x12345678},
      {"saturate +256 spreads and clamps", SaturatePixel(256, 0x00804020),
       // Y = round(0.299*128+0.587*64+0.114*32) = 79
       (std::min<uint32_t>(65535, 511 * 0x80 - 256 * 79) >> 8) << 16 |
           (static_cast<uint32_t>(std::max(0, 511 * 0x40 - 256 * 79)) >> 8) << 8 |
           (static_cast<uint32_t>(std::max(0, 511 * 0x20 - 256 * 79)) >> 8)},
      {"hue +120 turns red into green", RotateHuePixel(120, 0x00FF0000), 0x0000FF00},
      {"hue -120 turns red into blue", RotateHuePixel(-120, 0x00FF0000), 0x000000FF},
      {"hue leaves grey with its top byte", RotateHuePixel(77, 0x7F808080), 0x7F808080},
      {"hue offset 0 on a TColor is identity", ChangeColorHue(0, 0xFF00000F), 0xFF00000F},
      {"hue on a TColor: red (low byte) to green", ChangeColorHue(120, 0x000000FF), 0x0000FF00},
      {"hue keeps the top byte", RotateHuePixel(120, 0x55FF0000), 0x5500FF00},
      // (200, 100, 50): V 200, S 0.75, H 20. Offsets that land a quarter into
      // the odd sectors, where q (162) and t (87) trade places if mixed up.
      {"hue into sector 1 is (q, V, p)", RotateHuePixel(55, 0x00C86432), 0x00A2C832},
      {"hue into sector 3 is (p, q, V)", RotateHuePixel(175, 0x00C86432), 0x0032A2C8},
      {"hue into sector 5 is (V, p, q)", RotateHuePixel(295, 0x00C86432), 0x00C832A2},
      {"tone of black stays black", ToneColor(0x11000000, 0x00123456), 0x11000000},
      {"tone of white is tone*255 shr 8 in the other order", ToneColor(0x00FFFFFF, 0x00804020),
       ((0x20u * 255 >> 8) << 16) | ((0x40u * 255 >> 8) << 8) | (0x80u * 255 >> 8)},
      {"tone keeps value's brightness", ToneColor(0x00000080, 0x000000FF), 0x007F0000},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(ColourMath, LumaRoundsHalfToEven) {
  // 0.299*R etc. on exact grey gives the grey; a computed .5 case rounds to even.
  EXPECT_EQ(PixelLuma(0x00646464), 100);
  EXPECT_EQ(PixelLuma(0x00FF0000), 76);
  EXPECT_EQ(PixelLuma(0x000000FF), 29);
  // Exact ties: 0.114 * 250 = 28.5 and 0.587 * 12 + 0.114 * 4 = 7.5.
  EXPECT_EQ(PixelLuma(0x000000FA), 28);
  EXPECT_EQ(PixelLuma(0x00000C04), 8);
}

TEST(ColourMath, ControlToneColorAppliesToneHueSaturation) {
  // No tone, no hue, no saturation: the colour itself.
  EXPECT_EQ(ControlToneColor(0x00123456, kNoColor, 0, 0), 0x00123456u);
  // A red tone on white text (TColor order): red in the low byte, scaled by 255/256.
  EXPECT_EQ(ControlToneColor(0x00FFFFFF, 0x000000FF, 0, 0), 0x000000FEu);
  // Saturation -100 % gives -256 (weights exchanged because the value is in
  // TColor order: Y = 0.114 * 255 = 29): v = -c + 256 * Y, so 255 -> 28, 0 -> 29.
  EXPECT_EQ(ControlToneColor(0x000000FF, kNoColor, 0, -100), 0x001D1D1Cu);
}

TEST(ColourMath, ForEachPixelSkipsOnlyTheWholeKeyValue) {
  uint32_t px[4] = {0x00FF00FF, 0xFFFF00FF, 0x00808080, 0x00000000};
  PixelView v{reinterpret_cast<uint8_t*>(px), 16, 4, 1};
  ForEachPixelExceptKey(v, BrightnessPixelProc, 256, kFuchsia);
  EXPECT_EQ(px[0], 0x00FF00FFu);  // key skipped
  EXPECT_EQ(px[1], 0xFFFF00FFu);  // alpha 255 fuchsia is an ordinary pixel (already max)
  EXPECT_EQ(px[2], 0x00FFFFFFu);
  uint32_t px2[2] = {0x00FF00FF, 0x00010203};
  PixelView v2{reinterpret_cast<uint8_t*>(px2), 8, 2, 1};
  ForEachPixelExceptKey(v2, TonePixelProc, 0x000000FF /* red TColor */, kNoColor);
  EXPECT_EQ(px2[0], 0x00FE0000u);  // clNone visits the key too
}

TEST(ColourMath, GrayscaleKeepsAlphaAndKey) {
  uint32_t px[3] = {0x80FF0000, 0x000000FF, 0x00FF00FF};
  PixelView v{reinterpret_cast<uint8_t*>(px), 12, 3, 1};
  GrayscaleArgbExceptKey(v, 0x00FF0000 /* TColor blue = pixel 0x000000FF */);
  EXPECT_EQ(px[0], 0x804C4C4Cu);
  EXPECT_EQ(px[1], 0x000000FFu);
  EXPECT_EQ(px[2], 0x00696969u);  // fuchsia: round(0.299*255 + 0.114*255) = 105
}

TEST(SkinRecords, StateClipping) {
  TsGeneralData s;
  struct {
    int count, state, want;
  } cases[] = {{3, 5, 2}, {2, 5, 1},  {1, 2, 0},  {0, 1, 0},
               {0, 0, 0}, {-4, 2, 0}, {3, -1, 0}, {255, 9, 2}};
  for (auto& c : cases) {
    s.StateCount = c.count;
    EXPECT_EQ(ClipSectionState(s, c.state), c.want) << c.count << "/" << c.state;
  }
}

TEST(SkinRecords, FrameGeometry) {
  TsMaskData m;
  m.SourceRect = {5, 0, 95, 40};
  m.FrameCount = 3;
  m.MaskCount = 1;
  ComputeMaskFrameSize(m);
  EXPECT_EQ(m.FrameWidth, 30);
  EXPECT_EQ(m.FrameHeight, 20);
  EXPECT_EQ(MaskFrameLeft(m, ClipFrameIndex(m, 5)), 65);
  m.MaskCount = 3;
  ComputeMaskFrameSize(m);
  EXPECT_EQ(m.FrameHeight, 10);
  m.MaskCount = 0;
  ComputeMaskFrameSize(m);
  EXPECT_EQ(MaskImagePartHeight(m), 40);
  m.MaskCount = -1;
  ComputeMaskFrameSize(m);
  EXPECT_EQ(m.FrameHeight, 0);
  m.FrameCount = 0;
  ComputeMaskFrameSize(m);
  EXPECT_EQ(MaskFrameSize(m).x, 0);
  EXPECT_EQ(ClipFrameIndex(m, 3), 0);
}

TEST(SkinRecords, OuterEffectDefaults) {
  const TvlOutEffArray e = DefaultOuterEffects();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].Offsets[3], 4);
  EXPECT_EQ(e[0].Colors[0], 0xFFFFFF);
  EXPECT_EQ(e[1].Opacity, 60);
  EXPECT_EQ(e[1].Widths[2], -1);
}

}  // namespace
