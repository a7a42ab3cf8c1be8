// Nine-slice painting of skin images: border sizes, tiling, states, keys,
// mask parts and single frames.
#include <gtest/gtest.h>

#include "fake_skin.h"
#include "skin/foundation/nine_slice.h"

namespace {

// Every source pixel names its own position: opaque, x in the low byte, y next.
uint32_t Tag(int x, int y) {
  return 0xFF000000u | uint32_t(y) << 8 | uint32_t(x);
}
int TagX(uint32_t p) {
  return p & 0xFF;
}
int TagY(uint32_t p) {
  return (p >> 8) & 0xFF;
}

// A master bitmap of 3 frames of 30 x 10 with tagged pixels.
struct ThreeFrames {
  FakeSkin skin{90, 10};
  int index;
  ThreeFrames(int bl, int bt, int br, int bb) {
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 90; ++x) skin.Master().at(x, y) = Tag(x, y);
    index = skin.AddImage({0, 0, 90, 10}, 3, 0);
    TsMaskData& m = skin.images[index];
    m.BorderLeft = bl, m.BorderTop = bt, m.BorderRight = br, m.BorderBottom = bb;
  }
  TsMaskData& mask() { return skin.images[index]; }
};

TEST(NineSlice, BorderWidthsShrinkWithTheOddPixelFromTheRight) {
  struct {
    int bl, br, width, wl, wr;
  } cases[] = {{12, 12, 20, 10, 10}, {12, 13, 20, 10, 10}, {12, 13, 21, 10, 11},
               {3, 3, 5, 3, 2},      {4, 4, 9, 4, 4},      {2, 3, 40, 2, 3}};
  for (auto& c : cases) {
    ThreeFrames f(c.bl, 2, c.br, 2);
    TestImage dst(c.width, 10, 0);
    PaintMaskNineSlice(dst.View(), {0, 0, c.width, 10}, BackgroundView{}, f.mask(), 0, false);
    const int mw = 30 - c.wl - c.wr;
    EXPECT_EQ(TagX(dst.at(0, 0)), 0) << c.width;
    EXPECT_EQ(TagX(dst.at(c.wl - 1, 0)), c.wl - 1) << c.width;
    EXPECT_EQ(TagX(dst.at(c.width - c.wr, 0)), c.wl + mw) << c.width;
    EXPECT_EQ(TagX(dst.at(c.width - 1, 0)), 29) << c.width;
    EXPECT_EQ(TagY(dst.at(0, 9)), 9);
  }
}

TEST(NineSlice, EdgesTileWithAClippedLastPiece) {
  for (int strip : {25, 20}) {
    ThreeFrames f(10, 2, 10, 2);
    const int width = strip + 20;
    TestImage dst(width, 10, 0);
    PaintMaskNineSlice(dst.View(), {0, 0, width, 10}, BackgroundView{}, f.mask(), 0, false);
    for (int k = 0; k < strip; ++k) {
      EXPECT_EQ(TagX(dst.at(10 + k, 0)), 10 + k % 10) << strip << " " << k;
      EXPECT_EQ(TagY(dst.at(10 + k, 9)), 9);
    }
    EXPECT_EQ(dst.at(15, 5), 0u);  // no centre without PaintMode bit 4
  }
}

TEST(NineSlice, CentreOnlyWithItsBitAndStatesClipped) {
  ThreeFrames f(10, 2, 10, 2);
  f.mask().PaintMode = kMaskPaintCentre;
  TestImage dst(50, 20, 0);
  PaintMaskNineSlice(dst.View(), {0, 0, 50, 20}, BackgroundView{}, f.mask(), 5, false);
  EXPECT_EQ(TagX(dst.at(0, 0)), 60);  // state 5 of 3 frames paints frame 2
  EXPECT_EQ(TagX(dst.at(25, 9)), 60 + 10 + 5);
  EXPECT_EQ(TagY(dst.at(25, 9)), 2 + (9 - 2) % 6);  // centre rows tile by mh = 6
}

TEST(NineSlice, NothingToPaint) {
  ThreeFrames f(10, 2, 10, 2);
  TestImage dst(40, 10, 0);
  f.mask().PaintMode = kMaskNoNormalState;
  PaintMaskNineSlice(dst.View(), {0, 0, 40, 10}, BackgroundView{}, f.mask(), 0, false);
  EXPECT_EQ(dst.at(0, 0), 0u);
  PaintMaskNineSlice(dst.View(), {0, 0, 40, 10}, BackgroundView{}, f.mask(), 1, false);
  EXPECT_EQ(TagX(dst.at(0, 0)), 30);
  TestImage thin(40, 10, 0);
  PaintMaskNineSlice(thin.View(), {0, 0, 40, 1}, BackgroundView{}, f.mask(), 1, false);
  PaintMaskNineSlice(thin.View(), {0, 0, 1, 10}, BackgroundView{}, f.mask(), 1, false);
  EXPECT_EQ(thin.at(0, 0), 0u);
  TsMaskData orphan = f.mask();
  orphan.Owner = nullptr;
  PaintMaskNineSlice(thin.View(), {0, 0, 40, 10}, BackgroundView{}, orphan, 1, false);
  EXPECT_EQ(thin.at(0, 0), 0u);
}

TEST(NineSlice, NoMiddleColumnPaintsCornersAndNeverLoops) {
  ThreeFrames f(15, 2, 15, 2);
  TestImage dst(40, 10, 0);
  PaintMaskNineSlice(dst.View(), {0, 0, 40, 10}, BackgroundView{}, f.mask(), 0, false);
  EXPECT_EQ(TagX(dst.at(14, 0)), 14);
  EXPECT_EQ(dst.at(20, 0), 0u);        // the top edge has nothing to tile
  EXPECT_EQ(TagX(dst.at(25, 5)), 15);  // the right edge still runs down
}

TEST(NineSlice, FuchsiaCornersTakeTheBackgroundOnlyWhenKeyed) {
  for (bool onBackground : {true, false}) {
    ThreeFrames f(4, 4, 4, 4);
    f.mask().TransparentCorners = 1;
    f.skin.Master().at(0, 0) = 0x00FF00FF;  // the key
    f.skin.Master().at(1, 0) = 0xFFFF00FF;  // fuchsia with alpha: an ordinary pixel
    TestImage dst(20, 10, 0x01010101), bg(30, 30, 0x0BADBEEF);
    PaintMaskNineSlice(dst.View(), {0, 0, 20, 10}, MakeBackgroundView(bg.View(), 5, 5), f.mask(), 0,
                       onBackground);
    EXPECT_EQ(dst.at(0, 0), onBackground ? 0x0BADBEEFu : 0x01010101u);
    EXPECT_EQ(dst.at(1, 0), 0xFFFF00FFu);
  }
}

TEST(NineSlice, MaskPartBlendsCornersAndEdges) {
  // One frame 8 x 4 over its mask: black mask left half, white right half.
  FakeSkin skin(8, 8);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      skin.Master().at(x, y) = 0x00102030;
      skin.Master().at(x, y + 4) = x < 4 ? 0x00000000 : 0x00FFFFFF;
    }
  skin.Master().at(0, 0) = kKeyPixel;
  const int idx = skin.AddImage({0, 0, 8, 8}, 1, 1);
  TsMaskData& m = skin.images[idx];
  m.BorderLeft = m.BorderRight = m.BorderTop = m.BorderBottom = 2;
  m.TransparentCorners = 1;
  TestImage dst(12, 6, 0x00C0C0C0), bg(12, 6, 0x00ABCDEF);
  PaintMaskNineSlice(dst.View(), {0, 0, 12, 6}, MakeBackgroundView(bg.View(), 0, 0), m, 0, true);
  EXPECT_EQ(dst.at(0, 0), 0xFFABCDEFu);  // keyed corner from the background, alpha 255
  EXPECT_EQ(dst.at(1, 0), 0xFF102030u);  // black mask: the image
  uint32_t white = 0;                    // white mask: (d * 255 + s) shr 8 per byte
  for (int n = 0; n < 24; n += 8) white |= ((0xC0u * 255 + ((0x102030u >> n) & 0xFF)) >> 8) << n;
  EXPECT_EQ(dst.at(11, 0), 0xFF000000u | white);
  EXPECT_EQ(dst.at(3, 0), 0x00102030u);  // edge: masked copy without background
}

TEST(NineSlice, StretchedMaskedCentreOfOnePixelFills) {
  FakeSkin skin(3, 6);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      skin.Master().at(x, y) = 0x00405060;
      skin.Master().at(x, y + 3) = 0x00000000;
    }
  const int idx = skin.AddImage({0, 0, 3, 6}, 1, 1);
  TsMaskData& m = skin.images[idx];
  m.BorderLeft = m.BorderRight = m.BorderTop = m.BorderBottom = 1;
  m.PaintMode = kMaskStretch | kMaskPaintCentre;
  TestImage dst(10, 8, 0);
  PaintMaskNineSlice(dst.View(), {0, 0, 10, 8}, BackgroundView{}, m, 0, false);
  EXPECT_EQ(dst.at(5, 4), 0xFF405060u);
  EXPECT_EQ(dst.at(5, 0) & 0xFFFFFF, 0x405060u);  // stretched top edge
}

TEST(NineSlice, DrawStateFrameSkipsNegativeColumns) {
  ThreeFrames f(0, 0, 0, 0);
  TestImage dst(40, 12, 0);
  DrawMaskStateFrame(dst.View(), {-3, 0}, 0, 1, f.mask(), BackgroundView{});
  EXPECT_EQ(TagX(dst.at(0, 0)), 3);  // frame columns 3..29 to target columns 0..26
  EXPECT_EQ(TagX(dst.at(26, 9)), 29);
  EXPECT_EQ(dst.at(27, 0), 0u);
  // Any other mode blends with keep 127: (s * 128 + d * 127) shr 8.
  TestImage blended(20, 12, 0);
  DrawMaskStateFrame(blended.View(), {0, 0}, 1, 0, f.mask(), BackgroundView{});
  EXPECT_EQ(blended.at(2, 0) & 0xFF, (32u * 128) >> 8);
}

TEST(NineSlice, OwnImageAndMaskedFrameCopyModes) {
  TestImage own(4, 2);
  own.at(0, 0) = 0x00FF0000;
  own.at(1, 0) = 0x000000FF;
  own.at(0, 1) = 0x00000000;  // mask: black, image shows
  own.at(1, 1) = 0x00FFFFFF;  // white: skipped (red 255)
  own.at(2, 0) = own.at(3, 0) = kKeyPixel;
  own.at(2, 1) = own.at(3, 1) = 0;
  FakeSkin skin;
  const int idx = skin.AddImage({0, 0, 4, 2}, 2, 1, &own);
  const TsMaskData& m = skin.images[idx];
  TestImage dst(2, 1, 0x40000000);
  DrawMaskStateFrame(dst.View(), {0, 0}, 0, 1, m, BackgroundView{});
  EXPECT_EQ(dst.at(0, 0), 0xFEFF0000u);  // alpha 0x40 + (0xBF * 255 shr 8)
  EXPECT_EQ(dst.at(1, 0), 0x40000000u);
  TestImage dst2(2, 1, 0x00FFFFFF);
  DrawMaskStateFrame(dst2.View(), {0, 0}, 0, 2, m, BackgroundView{});
  // Mode 2: mask 0 becomes 100: d * 100 + s * 156.
  EXPECT_EQ(dst2.at(0, 0), 0xFE000000u | ((255u * 100 + 255 * 156) >> 8) << 16 |
                               ((255u * 100) >> 8) << 8 | ((255u * 100) >> 8));
  TestImage dst3(2, 1, 5);
  DrawMaskStateFrame(dst3.View(), {0, 0}, 1, 1, m, BackgroundView{});  // frame 1: all key
  EXPECT_EQ(dst3.at(0, 0), 5u);
}

TEST(NineSlice, RestoreCornersFromAnswer) {
  FakeSkin skin(9, 3);
  skin.Master().Fill(0xFF000000);
  skin.Master().at(0, 0) = kKeyPixel;  // top-left of frame 0
  skin.Master().at(2, 2) = kKeyPixel;  // bottom-right of frame 0
  const int idx = skin.AddImage({0, 0, 9, 3}, 3, 0);
  TsMaskData& m = skin.images[idx];
  m.BorderLeft = m.BorderTop = m.BorderRight = m.BorderBottom = 1;
  TestImage cache(6, 4, 0x11111111), bg(10, 10, 0x22222222);
  RestoreTransparentCornerPixels(cache.View(), m, 0, kCornerTopLeft | kCornerBottomRight,
                                 MakeBackgroundView(bg.View(), 2, 2));
  EXPECT_EQ(cache.at(0, 0), 0x22222222u);
  EXPECT_EQ(cache.at(5, 3), 0x22222222u);
  EXPECT_EQ(cache.at(5, 0), 0x11111111u);
  TestImage cache2(6, 4, 0x11111111);
  RestoreTransparentCornerPixels(cache2.View(), m, 0, kCornerTopLeft,
                                 ColorBackgroundView(kFuchsia));
  EXPECT_EQ(cache2.at(0, 0), 0x11111111u);  // unmasked image: no fill with an unknown colour
  RestoreTransparentCornerPixels(cache2.View(), m, 0, kCornerTopLeft, ColorBackgroundView(0xFF));
  EXPECT_EQ(cache2.at(0, 0), 0x11FF0000u);
}

}  // namespace
