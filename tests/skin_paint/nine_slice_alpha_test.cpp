// Nine-slice painting with alpha for layered windows: the mixes of masked
// pieces and their alpha, holes, limited edge bands and opacity.
#include <gtest/gtest.h>

#include <random>

#include "fake_skin.h"
#include "skin/foundation/alpha_mask_rows.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/nine_slice_alpha.h"

namespace {

// One source pixel over its mask pixel: a 1 x 2 image cut as image and mask.
struct OnePixel {
  TestImage src{1, 2, 0};
  TsMaskData mask;
  OnePixel(uint32_t image, uint32_t m) {
    src.at(0, 0) = image;
    src.at(0, 1) = m << 16 | 0x00ABAB;  // only the red byte weighs
    mask.SourceRect = {0, 0, 1, 2};
  }
};

// The colour bytes (d * wd + s * ws) shr 8.
uint32_t Mix(uint32_t d, uint32_t s, uint32_t wd, uint32_t ws) {
  uint32_t v = 0;
  for (int n = 0; n < 24; n += 8)
    v |= ((((d >> n) & 0xFF) * wd + ((s >> n) & 0xFF) * ws) >> 8) << n;
  return v;
}

TEST(NineSliceAlpha, PieceCopiesMixColourAndRaiseAlpha) {
  const uint32_t s = 0x00C08040;
  struct {
    uint32_t d, m;
    int opacity;  // -1: the copy that keeps alpha
    uint32_t colour, alpha;
  } cases[] = {
      // Keep-alpha copy: d * m + s * (255 - m); the alpha rule.
      {0x00102030, 0, -1, Mix(0x102030, s, 0, 255), 255},
      {0x00102030, 200, -1, Mix(0x102030, s, 200, 55), 55},   // alpha 0 -> 255 - m
      {0x64102030, 200, -1, Mix(0x102030, s, 200, 55), 100},  // max(100, 55)
      {0x1E102030, 200, -1, Mix(0x102030, s, 200, 55), 55},   // max(30, 55)
      {0xFF102030, 200, -1, Mix(0x102030, s, 200, 55), 255},  // opaque stays
      {0x00102030, 255, -1, Mix(0x102030, s, 255, 0), 0},     // nothing of the image
      // Opacity copy: h = opacity * (255 - m) shr 8 of the image.
      {0x00102030, 0, 128, Mix(0x102030, s, 128, 127), 255},          // h = 127
      {0x00102030, 0, 255, Mix(0x102030, s, 1, 254), 255},            // h = 254
      {0x50102030, 100, 200, Mix(0x102030, s, 255 - 121, 121), 155},  // h = 121, max(80, 155)
      {0x00102030, 100, 0, Mix(0x102030, s, 255, 0), 155},
  };
  for (const auto& c : cases) {
    OnePixel p(s, c.m);
    TestImage dst(1, 1, c.d);
    if (c.opacity < 0) {
      CopyMaskedPieceKeepAlpha({0, 0, 1, 1}, {0, 0, 1, 1}, dst.View(), p.src.View(),
                               BackgroundView{}, p.mask);
    } else {
      CopyMaskedPieceAlpha({0, 0, 1, 1}, {0, 0, 1, 1}, dst.View(), p.src.View(), BackgroundView{},
                           p.mask, uint8_t(c.opacity));
    }
    EXPECT_EQ(dst.at(0, 0), c.alpha << 24 | c.colour)
        << std::hex << c.d << " m " << std::dec << c.m << " opacity " << c.opacity;
  }
}

TEST(NineSliceAlpha, HolesTakeTheWholeBackgroundPixelOrBecomeTransparent) {
  TestImage bg(3, 3, 0x40ABCDEF);
  for (bool keep : {true, false}) {
    for (bool withBitmap : {true, false}) {
      OnePixel p(kKeyPixel, 0);
      TestImage dst(3, 3, 0xC0112233);
      const BackgroundView view =
          withBitmap ? MakeBackgroundView(bg.View(), 0, 0) : ColorBackgroundView(0x000000FF);
      if (keep) {
        CopyMaskedPieceKeepAlpha({2, 1, 3, 2}, {0, 0, 1, 1}, dst.View(), p.src.View(), view,
                                 p.mask);
      } else {
        CopyMaskedPieceAlpha({2, 1, 3, 2}, {0, 0, 1, 1}, dst.View(), p.src.View(), view, p.mask,
                             128);
      }
      EXPECT_EQ(dst.at(2, 1), withBitmap ? 0x40ABCDEFu : 0x00112233u) << keep << withBitmap;
      EXPECT_EQ(dst.at(1, 1), 0xC0112233u);
    }
  }
}

// Stretched pieces follow their own rule; the centre stretched from one
// pixel shows it for every target pixel.
TEST(NineSliceAlpha, StretchedPiecesMixByTheirOwnRule) {
  const uint32_t i = 0x00C08040;
  struct {
    uint32_t d, m;
    int opacity;
    uint32_t expected;
  } cases[] = {
      {0x20102030, 0, -1, 0xFF000000u | i},   // all image, opaque
      {0x20102030, 0, 128, 0xFF000000u | i},  // opacity does not dim a full mask
      {0x20102030, 255, -1, 0x20102030},      // left as it is
      {0x20102030, 255, 128, 0x20102030},
      // Keep alpha: k = min(m, alpha) = 0x20 of the target; alpha max(0x20, 55).
      {0x20102030, 200, -1, 55u << 24 | Mix(0x102030, i, 0x20, 255 - 0x20)},
      {0xF0102030, 100, -1, 0xF0u << 24 | Mix(0x102030, i, 100, 155)},
      // Opacity: w = (255 - m) * opacity shr 8 of the image; the alpha rule.
      {0x00102030, 100, 128, 155u << 24 | Mix(0x102030, i, 255 - 77, 77)},
      {0xA0102030, 100, 128, 0xA0u << 24 | Mix(0x102030, i, 255 - 77, 77)},
  };
  for (const auto& c : cases) {
    OnePixel p(i, c.m);
    TestImage dst(4, 3, c.d);
    if (c.opacity < 0) {
      StretchMaskedPieceKeepAlpha(1, 1, 3, 2, 0, 0, 1, 1, dst.View(), p.src.View(), 1, true);
    } else {
      StretchMaskedPieceAlpha(1, 1, 3, 2, 0, 0, 1, 1, dst.View(), p.src.View(), 1, true,
                              uint8_t(c.opacity));
    }
    EXPECT_EQ(dst.at(3, 2), c.expected) << std::hex << c.d << std::dec << " m " << c.m;
    EXPECT_EQ(dst.at(0, 0), c.d);
  }
}

// The row kernels work on several pixels at once; each pixel must come out as
// the single-pixel rule gives it, whatever its neighbours, with mask values
// 0 and 255, opaque and transparent targets and key pixels among them.
template <alpha_rows::Rule R>
void ExpectRowMatchesPixels(uint32_t opacity, bool skipKey) {
  std::mt19937 rng(static_cast<uint32_t>(R) * 7 + opacity);
  const uint32_t alphas[] = {0, 255, 17, 200};
  const uint32_t masks[] = {0, 255, 1, 128, 254};
  for (int n : {1, 3, 4, 7, 8, 13, 16, 37}) {
    std::vector<uint32_t> d(n), s(n), m(n), want(n);
    for (int i = 0; i < n; ++i) {
      d[i] = (rng() & 0x00FFFFFF) | alphas[rng() % 4] << 24;
      s[i] = rng() % 5 == 0 ? kKeyPixel : rng();
      m[i] = (rng() % 3 ? masks[rng() % 5] : rng() & 0xFF) << 16 | (rng() & 0xFF00FFFF);
      want[i] = skipKey && s[i] == kKeyPixel
                    ? d[i] & 0x00FFFFFF
                    : alpha_rows::MixPixel<R>(d[i], s[i], (m[i] >> 16) & 0xFF, opacity);
    }
    alpha_rows::MixRow<R>(d.data(), s.data(), m.data(), n, opacity, skipKey);
    for (int i = 0; i < n; ++i) ASSERT_EQ(d[i], want[i]) << int(R) << " n " << n << " at " << i;
  }
}

TEST(NineSliceAlpha, RowKernelsMatchThePixelRules) {
  using alpha_rows::Rule;
  for (uint32_t opacity : {0u, 128u, 255u}) {
    for (bool skipKey : {false, true}) {
      ExpectRowMatchesPixels<Rule::KeepCopy>(opacity, skipKey);
      ExpectRowMatchesPixels<Rule::OpacityCopy>(opacity, skipKey);
      ExpectRowMatchesPixels<Rule::KeepStretch>(opacity, false);
      ExpectRowMatchesPixels<Rule::OpacityStretch>(opacity, false);
    }
  }
}

// One masked frame 12 x 8 in the master bitmap, its mask 8 rows below; the
// image pixel (x, y) is 0x00 y x (a tag), the mask value is uniform.
struct MaskedFrame {
  FakeSkin skin{12, 16};
  int index;
  explicit MaskedFrame(uint32_t m, int paintMode = kMaskPaintCentre) {
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 12; ++x) {
        skin.Master().at(x, y) = uint32_t(0x40 + y) << 8 | uint32_t(0x40 + x);
        skin.Master().at(x, y + 8) = m << 16;
      }
    index = skin.AddImage({0, 0, 12, 16}, 1, 1);
    TsMaskData& d = skin.images[index];
    d.BorderLeft = d.BorderTop = d.BorderRight = d.BorderBottom = 3;
    d.PaintMode = int16_t(paintMode);
  }
  const TsMaskData& mask() const { return skin.images[index]; }
  uint32_t Image(int fx, int fy) { return skin.Master().at(fx, fy); }
};

TEST(NineSliceAlpha, LimitedEdgeBandsComeFromTheOuterRowsAndColumns) {
  constexpr uint32_t kSentinel = 0x7F0A0B0C;
  constexpr int W = 20, H = 14;
  struct {
    RECT limits;
  } cases[] = {{{0, 0, 0, 0}}, {{1, 2, 1, 1}}, {{3, 3, 3, 3}}, {{9, 9, 9, 9}}};
  for (const auto& c : cases) {
    MaskedFrame f(0);
    TestImage dst(W, H, kSentinel);
    PaintMaskNineSliceAlpha(dst.View(), {0, 0, W, H}, BackgroundView{}, f.mask(), 0, c.limits, 255);
    const int bl = std::min<int>(c.limits.left, 3), bt = std::min<int>(c.limits.top, 3);
    const int br = std::min<int>(c.limits.right, 3), bb = std::min<int>(c.limits.bottom, 3);
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        const bool left = x < 3, right = x >= W - 3, top = y < 3, bottom = y >= H - 3;
        int fx = -1, fy = -1;  // the frame pixel expected here, or none
        if ((left || right) && (top || bottom)) {
          fx = left ? x : x - (W - 12);
          fy = top ? y : y - (H - 8);
        } else if (top && y < bt) {
          fx = 3 + (x - 3) % 6, fy = y;
        } else if (bottom && y >= H - bb) {
          fx = 3 + (x - 3) % 6, fy = y - (H - 8);
        } else if (left && x < bl) {
          fx = x, fy = 3 + (y - 3) % 2;
        } else if (right && x >= W - br) {
          fx = x - (W - 12), fy = 3 + (y - 3) % 2;
        }
        const uint32_t expected =
            fx < 0 ? kSentinel : 0xFF000000u | Mix(kSentinel, f.Image(fx, fy), 1, 254);
        ASSERT_EQ(dst.at(x, y), expected)
            << x << "," << y << " limits " << c.limits.left << c.limits.top;
      }
    }
  }
}

// Opacity 128 through a full mask: a tile lets 127 of 255 through, a
// stretched piece shows the image itself.
TEST(NineSliceAlpha, OpacityHalvesTilesButNotStretchedPieces) {
  constexpr uint32_t kDst = 0x00102030;
  const RECT limits{3, 3, 3, 3};
  for (bool stretched : {false, true}) {
    MaskedFrame f(0, stretched ? kMaskStretch : 0);
    TestImage dst(20, 14, kDst);
    PaintMaskNineSliceAlpha(dst.View(), {0, 0, 20, 14}, BackgroundView{}, f.mask(), 1, limits, 128);
    const uint32_t image = f.Image(3, 0);
    EXPECT_EQ(dst.at(3, 0),
              stretched ? 0xFF000000u | image : 0xFF000000u | Mix(kDst, image, 128, 127))
        << stretched;
    // A corner is a tile-like copy either way.
    EXPECT_EQ(dst.at(0, 0), 0xFF000000u | Mix(kDst, f.Image(0, 0), 128, 127));
    EXPECT_EQ(dst.at(10, 7), kDst);  // no centre
  }
}

TEST(NineSliceAlpha, KeepAlphaHolesOfMaskedImages) {
  MaskedFrame f(0);
  f.skin.Master().at(0, 0) = kKeyPixel;  // a corner hole
  f.skin.Master().at(5, 0) = kKeyPixel;  // a hole in the top edge
  TestImage bg(20, 14, 0x33ABCDEF);
  TestImage dst(20, 14, 0xC0112233);
  PaintMaskNineSliceKeepAlpha(dst.View(), {0, 0, 20, 14}, MakeBackgroundView(bg.View(), 0, 0),
                              f.mask(), 0);
  EXPECT_EQ(dst.at(0, 0), 0x33ABCDEFu);   // the corner: the background, alpha included
  EXPECT_EQ(dst.at(5, 0), 0x00112233u);   // the edge has no background: transparent
  EXPECT_EQ(dst.at(11, 0), 0x00112233u);  // the next tile's hole as well
  EXPECT_EQ(dst.at(10, 7), 0xFF000000u | Mix(0x112233, f.Image(4, 3), 0, 255));  // the centre
}

// Images without a mask part: corner holes always take the background, even
// where the opaque painter keeps them for lack of TransparentCorners.
TEST(NineSliceAlpha, UnmaskedCornersAlwaysFromTheBackground) {
  FakeSkin skin;
  const int index = skin.AddBorderMask(kMaskPaintCentre, 4, 4, 4, 4);
  const TsMaskData& m = skin.images[index];
  ASSERT_EQ(m.TransparentCorners, 0);
  TestImage bg(40, 30, 0x55ABCDEF);
  const BackgroundView view = MakeBackgroundView(bg.View(), 0, 0);
  TestImage opaque(40, 30, 0x01010101), keep(40, 30, 0x01010101), alpha(40, 30, 0x01010101);
  PaintMaskNineSlice(opaque.View(), {0, 0, 40, 30}, view, m, 1, true);
  PaintMaskNineSliceKeepAlpha(keep.View(), {0, 0, 40, 30}, view, m, 1);
  PaintMaskNineSliceAlpha(alpha.View(), {0, 0, 40, 30}, view, m, 1, {0, 0, 0, 0}, 10);
  for (const POINT& corner : {POINT{0, 0}, POINT{39, 0}, POINT{0, 29}, POINT{38, 29}}) {
    EXPECT_EQ(opaque.at(corner.x, corner.y), 0x01010101u);
    EXPECT_EQ(keep.at(corner.x, corner.y), 0x55ABCDEFu) << corner.x << "," << corner.y;
    EXPECT_EQ(alpha.at(corner.x, corner.y), 0x55ABCDEFu) << corner.x << "," << corner.y;
  }
  // Otherwise the same picture: no limits or opacity for such images.
  for (int y = 0; y < 30; ++y)
    for (int x = 4; x < 36; ++x) ASSERT_EQ(alpha.at(x, y), opaque.at(x, y)) << x << "," << y;
  EXPECT_EQ(keep.at(20, 15), 0xFF010000u | 20u << 8 | 15u);  // frame 1, tiled centre
}

TEST(NineSliceAlpha, NothingToPaint) {
  MaskedFrame f(0);
  TestImage dst(20, 14, 0x12345678);
  TsMaskData hidden = f.mask();
  hidden.PaintMode |= kMaskNoNormalState;
  PaintMaskNineSliceAlpha(dst.View(), {0, 0, 20, 14}, BackgroundView{}, hidden, 0, {3, 3, 3, 3},
                          255);
  PaintMaskNineSliceKeepAlpha(dst.View(), {0, 0, 20, 14}, BackgroundView{}, hidden, 0);
  PaintMaskNineSliceKeepAlpha(dst.View(), {0, 0, 20, 1}, BackgroundView{}, f.mask(), 1);
  TsMaskData orphan = f.mask();
  orphan.Owner = nullptr;
  PaintMaskNineSliceAlpha(dst.View(), {0, 0, 20, 14}, BackgroundView{}, orphan, 1, {3, 3, 3, 3},
                          255);
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(dst.at(x, y), 0x12345678u);
}

}  // namespace
