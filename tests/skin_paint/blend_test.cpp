// The blend and copy routines: formulas per byte, clipping, keys and holes.
#include <gtest/gtest.h>

#include "skin/foundation/blend.h"
#include "test_images.h"

namespace {

// Widths that cover the vector body and the scalar tail of the row kernels.
const int kWidths[] = {1, 3, 4, 7, 13};

TEST(Blend, UniformKeepMatchesFormulaOnEveryByte) {
  for (int w : kWidths) {
    for (int keep : {0, 1, 100, 128, 255}) {
      TestImage d(w, 3), s(w, 3);
      d.Randomize(w * 7 + keep);
      s.Randomize(w * 13 + keep);
      TestImage expect = d;
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < w; ++x)
          for (int n = 0; n < 4; ++n) {
            const int db = ByteOf(d.at(x, y), n), sb = ByteOf(s.at(x, y), n);
            expect.at(x, y) = WithByte(expect.at(x, y), n, (keep * (db - sb) + sb * 256) >> 8);
          }
      BlendBitmapRect(d.View(), s.View(), keep, {0, 0, w, 3}, {0, 0});
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(d.at(x, y), expect.at(x, y)) << w << " " << keep;
    }
  }
}

TEST(Blend, BlendBitmapRectKeepZeroCopiesAndClipsNegativePoint) {
  TestImage d(6, 4, 0x11111111), s(6, 4);
  s.Randomize(5);
  BlendBitmapRect(d.View(), s.View(), 0, {0, 0, 6, 4}, {-2, -1});
  // Destination (0,0) takes source (2,1); columns past the source stay.
  EXPECT_EQ(d.at(0, 0), s.at(2, 1));
  EXPECT_EQ(d.at(3, 2), s.at(5, 3));
  EXPECT_EQ(d.at(4, 0), 0x11111111u);
  EXPECT_EQ(d.at(0, 3), 0x11111111u);
  // Inclusive rectangle: (1,1,2,2) copies 2 x 2 pixels.
  TestImage d2(6, 4, 0), s2(6, 4, 0xFFFFFFFF);
  BlendBitmapRect(d2.View(), s2.View(), 0, {1, 1, 2, 2}, {0, 0});
  EXPECT_EQ(d2.at(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(d2.at(2, 1), 0u);
}

TEST(Blend, MixBitmapsKeepsAlphaAndNeedsEqualSizes) {
  TestImage d(5, 2, 0x40102030), s(5, 2, 0x80F0E0D0);
  MixBitmaps(d.View(), s.View(), 100);
  const uint32_t want = 0x40000000u | (((100 * (0x10 - 0xF0) + 0xF0 * 256) >> 8) << 16) |
                        (((100 * (0x20 - 0xE0) + 0xE0 * 256) >> 8) << 8) |
                        ((100 * (0x30 - 0xD0) + 0xD0 * 256) >> 8);
  EXPECT_EQ(d.at(4, 1), want);
  TestImage other(4, 2, 0);
  MixBitmaps(other.View(), s.View(), 0);
  EXPECT_EQ(other.at(0, 0), 0u);
}

TEST(Blend, ColourOnlyBlendsSkipKeyAndKeepAlpha) {
  TestImage b(2, 1);
  b.at(0, 0) = kKeyPixel;
  b.at(1, 0) = 0x7F000000;
  BlendBitmapToColor(b.View(), 0, 0x000000FF /* red */);
  EXPECT_EQ(b.at(0, 0), kKeyPixel);
  EXPECT_EQ(b.at(1, 0), 0x7FFE0000u);

  TestImage img(1, 1, 0x00FFFFFF), mask(1, 1, 0x0000FF00);  // blue 0, green 255, red 0
  BlendColorThroughMask(img.View(), mask.View(), 0x00000000);
  EXPECT_EQ(img.at(0, 0), 0x0000FE00u);  // mask 255 keeps the image (255 * 255 shr 8), 0 the colour
}

TEST(Blend, BlendCopyExceptKeyAtNegativePosition) {
  TestImage d(4, 4, 0x00000000), s(4, 4, 0x00FFFFFF);
  s.at(0, 0) = kKeyPixel;
  BlendCopyExceptKey(d.View(), -1, -1, s.View(), {-1, 0, 4, 4}, 127, kKeyPixel);
  // srcRect.Left -1 moves the destination start right by one, then x = -1 moves it back.
  EXPECT_EQ(d.at(0, 0), 0x007F7F7Fu);  // (255 * 128 + 0 * 127) shr 8
}

struct AlphaCase {
  const char* what;
  uint32_t dst, src;
  bool hasBg, fill;
  int transparency;
  uint32_t want;
};

TEST(Blend, AlphaCopyHolesWeightsAndAlpha) {
  const uint32_t bgPixel = 0x12345678;
  const AlphaCase cases[] = {
      {"alpha 16 is a hole filled from the background", 0x00000000, 0x10FFFFFF, true, true, 0,
       bgPixel},
      {"alpha 17 is blended, alpha max(da, a)", 0x00000000, 0x11FFFFFF, true, true, 0,
       0x11000000u | (((0xFF * 17) >> 8) * 0x010101u)},
      {"key with background, no fill: stays", 0x01020304, kKeyPixel, true, false, 0, 0x01020304},
      {"transparency 100 changes no colour", 0x40102030, 0xFFFFFFFF, true, true, 100, 0x40102030},
      {"transparency 100 still fills holes", 0x40102030, 0x05FFFFFF, true, true, 100, bgPixel},
      {"transparency 40: w = 60 a div 100, alpha kept", 0x20000000, 0xC8FF0000, true, true, 40,
       0x20000000u | (((0xFF * (60 * 200 / 100)) >> 8) << 16)},
      {"no background: key blends with weight 0", 0x01020304, kKeyPixel, false, true, 0,
       0x01020304},
      {"no background: opaque source copies nearly", 0x00000000, 0xFF808080, false, false, 0,
       0xFF7F7F7F},
  };
  for (const AlphaCase& c : cases) {
    TestImage d(3, 1, c.dst), s(3, 1, c.src), bgImg(10, 10, bgPixel);
    BackgroundView bg = c.hasBg ? MakeBackgroundView(bgImg.View(), 2, 3) : ColorBackgroundView(0);
    AlphaCopyArgb({0, 0, 3, 1}, {0, 0, 3, 1}, d.View(), s.View(), bg, c.fill, kNoColor,
                  c.transparency, false);
    EXPECT_EQ(d.at(1, 0), c.want) << c.what;
  }
}

TEST(Blend, AlphaCopyHoleOutsideBackgroundStays) {
  TestImage d(3, 1, 0xAA), s(3, 1, kKeyPixel), bgImg(2, 1, 0xBB);
  AlphaCopyArgb({0, 0, 3, 1}, {0, 0, 3, 1}, d.View(), s.View(),
                MakeBackgroundView(bgImg.View(), 0, 0), true, kNoColor, 0, false);
  EXPECT_EQ(d.at(1, 0), 0xBBu);
  EXPECT_EQ(d.at(2, 0), 0xAAu);
}

TEST(Blend, AlphaCopyTintUsesLuminanceOfBrightenedTint) {
  TestImage d(1, 1, 0), s(1, 1, 0xFF808080);
  // Tint 0x00000080 (red 128): brightened to red 255, green 127, blue 127.
  AlphaCopyArgb({0, 0, 1, 1}, {0, 0, 1, 1}, d.View(), s.View(), ColorBackgroundView(0), false,
                0x00000080, 0, false);
  const uint32_t lum = 0x80 / 4 + 0x80 / 2 + 0x80 / 4;  // 128
  const uint32_t tr = 255 * lum >> 8, tg = 127 * lum >> 8, tb = 127 * lum >> 8;
  const uint32_t want =
      0xFF000000u | (((tr * 255) >> 8) << 16) | (((tg * 255) >> 8) << 8) | ((tb * 255) >> 8);
  EXPECT_EQ(d.at(0, 0), want);
}

TEST(Blend, AlphaCopyReflectionFadesBelow) {
  TestImage d(2, 10, 0), s(2, 4, 0xFFFFFFFF);
  AlphaCopyArgb({0, 0, 2, 4}, {0, 0, 2, 4}, d.View(), s.View(), ColorBackgroundView(0), false,
                kNoColor, 0, true);
  // V = min(4 div 2 - 1, 10 - 4 - 1) = 1: one mirrored row with weight a*(V-1)/V = 0.
  EXPECT_EQ(d.at(0, 5), 0u);
  TestImage d2(2, 20, 0), s2(2, 8, 0xFFFFFFFF);
  AlphaCopyArgb({0, 0, 2, 8}, {0, 0, 2, 8}, d2.View(), s2.View(), ColorBackgroundView(0), false,
                kNoColor, 0, true);
  // V = 3; row 1: w = 255*2/3 = 170, * 255 shr 9 = 84.
  EXPECT_EQ(d2.at(0, 9), ((255u * 84) >> 8) * 0x010101u);
  EXPECT_EQ(d2.at(0, 8), 0u);  // the row right under the image is not part of the mirror
  EXPECT_EQ(d2.at(0, 12), 0u);
}

TEST(Blend, AlphaBlendAccumulatesAlpha) {
  for (int w : kWidths) {
    TestImage d(w, 2), s(w, 2);
    d.Randomize(w);
    s.Randomize(w + 100);
    TestImage expect = d;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t sp = s.at(x, y), dp = d.at(x, y), a = sp >> 24, da = dp >> 24;
        uint32_t r = 0;
        for (int n = 0; n < 3; ++n) {
          const int sb = ByteOf(sp, n), db = ByteOf(dp, n);
          r |= uint32_t(((sb - db) * int(a) + db * 256) >> 8) << (8 * n);
        }
        r |= (a == 255 ? 255 : da + ((255 - da) * a >> 8)) << 24;
        expect.at(x, y) = r;
      }
    AlphaBlendArgb({0, 0, w, 2}, {0, 0, w, 2}, d.View(), s.View(), ColorBackgroundView(0), false);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(d.at(x, y), expect.at(x, y)) << w;
  }
  // An opaque source makes the destination opaque; alpha 0 leaves it alone.
  TestImage d(1, 1, 0x00000000), s(1, 1, 0xFF000000);
  AlphaBlendArgb({0, 0, 1, 1}, {0, 0, 1, 1}, d.View(), s.View(), ColorBackgroundView(0), false);
  EXPECT_EQ(d.at(0, 0) >> 24, 255u);
  TestImage d0(1, 1, 0x40000000), s0(1, 1, 0x00FFFFFF);
  AlphaBlendArgb({0, 0, 1, 1}, {0, 0, 1, 1}, d0.View(), s0.View(), ColorBackgroundView(0), false);
  EXPECT_EQ(d0.at(0, 0), 0x40000000u);
}

TEST(Blend, AlphaCopyNoBackgroundMatchesFormula) {
  for (int w : kWidths) {
    TestImage d(w, 2), s(w, 2);
    d.Randomize(w + 3);
    s.Randomize(w + 300);
    TestImage expect = d;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t sp = s.at(x, y), dp = d.at(x, y), a = sp >> 24, da = dp >> 24;
        uint32_t r = 0;
        for (int n = 0; n < 3; ++n) {
          const int sb = ByteOf(sp, n), db = ByteOf(dp, n);
          r |= uint32_t(((sb - db) * int(a) + db * 256) >> 8) << (8 * n);
        }
        expect.at(x, y) = r | (std::max(a, da) << 24);
      }
    AlphaCopyArgb({0, 0, w, 2}, {0, 0, w, 2}, d.View(), s.View(), ColorBackgroundView(0), false,
                  kNoColor, 0, false);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(d.at(x, y), expect.at(x, y)) << w;
  }
}

TEST(Blend, CopyMaskedPieceBackgroundCases) {
  // Source: 2 x 2 image rows over 2 mask rows (SourceRect height 4).
  TsMaskData mask;
  mask.SourceRect = {0, 0, 2, 4};
  TestImage src(2, 4);
  src.at(0, 0) = kKeyPixel;
  src.at(1, 0) = 0x00FF0000;
  src.at(0, 1) = 0x00000000;
  src.at(1, 1) = 0x00000000;
  src.FillRect(0, 2, 2, 4, 0x00FFFFFF);  // white mask: the destination stays
  src.at(1, 3) = 0x00000000;             // black mask under (1,1): the image
  TestImage bgImg(4, 4, 0x00ABCDEF);
  struct {
    const char* what;
    bool hasBg, fill;
    uint32_t key, p10, p11;
  } cases[] = {
      {"bg + fill: key from bg, alpha 255", true, true, 0xFFABCDEF, 0xFF010203 | 0, 0xFF000000},
      {"bg, no fill: all blended, alpha 255", true, false, 0xFF010103, 0xFF010203, 0xFF000000},
      {"no bg + fill: key takes colour with its top byte", false, true, 0x00332211, 0x00010203,
       0x00000000},
      {"no bg, no fill: key stays", false, false, 0x00010203, 0x00010203, 0x00000000},
  };
  for (auto& c : cases) {
    TestImage d(2, 2, 0x00010203);
    BackgroundView bg =
        c.hasBg ? MakeBackgroundView(bgImg.View(), 1, 1) : ColorBackgroundView(0x00112233);
    CopyMaskedPiece({0, 0, 2, 2}, {0, 0, 2, 2}, d.View(), src.View(), bg, c.fill, mask);
    EXPECT_EQ(d.at(0, 0), c.key) << c.what;
    // White mask keeps the destination colour exactly: (d * 255 + s) >> 8 ... per byte.
    uint32_t keep = 0;
    for (int n = 0; n < 3; ++n)
      keep |= ((ByteOf(0x00010203, n) * 255 + ByteOf(0x00FF0000, n)) >> 8) << (8 * n);
    EXPECT_EQ(d.at(1, 0) & 0x00FFFFFF, keep) << c.what;
    EXPECT_EQ(d.at(1, 1), c.p11) << c.what;
  }
}

TEST(Blend, CopyBitmapExceptKeyFromThirdColumnAtMinusTwo) {
  TestImage d(4, 1, 0), s(4, 1);
  for (int x = 0; x < 4; ++x) s.at(x, 0) = 0x10 + x;
  s.at(3, 0) = kKeyPixel;
  CopyBitmapExceptKey(d.View(), s.View(), -2, 0, kFuchsia);
  EXPECT_EQ(d.at(0, 0), 0xFF000012u);
  EXPECT_EQ(d.at(1, 0), 0u);  // key skipped
  EXPECT_EQ(d.at(2, 0), 0u);
}

TEST(Blend, CopyPieceExceptKeyBackgroundCases) {
  TestImage s(2, 1);
  s.at(0, 0) = kKeyPixel;
  s.at(1, 0) = 0x00445566;
  {  // background is the destination itself: copies get alpha 255, keys stay
    TestImage d(2, 1, 0x01010101);
    CopyPieceExceptKey(d.View(), s.View(), 0, 0, {0, 0, 2, 1}, kKeyPixel,
                       MakeBackgroundView(d.View(), 0, 0), true);
    EXPECT_EQ(d.at(0, 0), 0x01010101u);
    EXPECT_EQ(d.at(1, 0), 0xFF445566u);
  }
  {  // another background: keys take it, copies as they are
    TestImage d(2, 1, 0x01010101), b(3, 3, 0x77777777);
    CopyPieceExceptKey(d.View(), s.View(), 0, 0, {0, 0, 2, 1}, kKeyPixel,
                       MakeBackgroundView(b.View(), 1, 1), true);
    EXPECT_EQ(d.at(0, 0), 0x77777777u);
    EXPECT_EQ(d.at(1, 0), 0x00445566u);
  }
  {  // no background: keys become the colour with the alpha of destination (0,0)
    TestImage d(2, 1, 0x9A010101);
    CopyPieceExceptKey(d.View(), s.View(), 0, 0, {0, 0, 2, 1}, kKeyPixel,
                       ColorBackgroundView(0x00112233), false);
    EXPECT_EQ(d.at(0, 0), 0x9A332211u);
  }
}

TEST(Blend, CopyGlyphComparesWholeValueWithAlphaZeroKey) {
  TestImage d(3, 1, 0), s(3, 1);
  s.at(0, 0) = 0x00FF0000;  // key (TColor blue 0x00FF0000 -> pixel 0x000000FF)? no: this is red
  s.at(1, 0) = 0x000000FF;  // equals the key
  s.at(2, 0) = 0xFF0000FF;  // alpha differs: copied
  CopyGlyphExceptKey(d.View(), s.View(), 0, 0, {0, 0, 3, 1}, 0xAAFF0000);
  EXPECT_EQ(d.at(0, 0), 0x00FF0000u);
  EXPECT_EQ(d.at(1, 0), 0u);
  EXPECT_EQ(d.at(2, 0), 0xFF0000FFu);
}

TEST(Blend, CrossFadeFormulaAndSizes) {
  for (int w : kWidths) {
    for (int level : {0, 1, 128, 255}) {
      TestImage a(w, 2), b(w, 2), d(w, 2);
      a.Randomize(w);
      b.Randomize(w + 1);
      d.Randomize(w + 2);
      TestImage before = d;
      CrossFadeBitmaps(d.View(), a.View(), b.View(), PixelView{}, level);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < w; ++x) {
          for (int n = 0; n < 3; ++n) {
            const int ab = ByteOf(a.at(x, y), n), bb = ByteOf(b.at(x, y), n);
            ASSERT_EQ(int(ByteOf(d.at(x, y), n)), bb - ((level * (bb - ab) + 255) >> 8));
          }
          ASSERT_EQ(d.at(x, y) >> 24, before.at(x, y) >> 24);
        }
    }
  }
  TestImage a(2, 2, 1), b(3, 2, 2), d(3, 2, 7);
  CrossFadeBitmaps(d.View(), a.View(), b.View(), PixelView{}, 100);
  EXPECT_EQ(d.at(0, 0), 7u);
  TestImage m(1, 1, 0x00FF0000), a1(1, 1, 0x00102030), b1(1, 1, 0x00405060), d1(1, 1, 0);
  CrossFadeBitmaps(d1.View(), a1.View(), b1.View(), m.View(), 0);
  EXPECT_EQ(d1.at(0, 0), ((0x10 * 255 + 0x40) >> 8) << 16 | 0x5060u);
}

}  // namespace
