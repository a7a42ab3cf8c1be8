// The row kernels on skin-like pixels (runs of holes and of opaque pixels,
// anti-aliased edges, black and white masks with grey ramps, key colour)
// give exactly what the per-pixel formulas give, written out here
// plainly.
#include <gtest/gtest.h>

#include <random>

#include "fake_skin.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/nine_slice.h"

namespace {

// Runs of pixels of one kind, as skin images have them.
void FillSkinLike(TestImage& img, uint32_t seed, bool withMaskValues = false) {
  std::mt19937 rng(seed);
  const uint32_t alphas[] = {0, 8, 16, 17, 100, 200, 254, 255, 255, 255};
  for (int y = 0; y < img.h(); ++y) {
    int x = 0;
    while (x < img.w()) {
      const int run = 1 + int(rng() % 13);
      const uint32_t kind = rng() % 10;
      for (int k = 0; k < run && x < img.w(); ++k, ++x) {
        uint32_t p = rng() & 0x00FFFFFFu;
        if (kind == 0) {
          p = 0x00FF00FFu;  // the key
        } else if (kind == 1) {
          p = 0xFFFF00FFu;  // fuchsia, but opaque: no hole
        } else if (withMaskValues) {
          const uint32_t m = kind < 5 ? 0 : kind < 8 ? 255 : rng() & 0xFF;
          p = (m << 16) | (m << 8) | (kind == 9 ? rng() & 0xFF : m) | (rng() & 0xFF000000u);
        } else {
          p |= alphas[rng() % 10] << 24;
        }
        img.at(x, y) = p;
      }
    }
  }
}

uint32_t Mix(uint32_t d, uint32_t s, uint32_t w) {  // ((s - d) * w + d * 256) shr 8, colour bytes
  uint32_t out = d & 0xFF000000u;
  for (int n = 0; n < 24; n += 8) {
    const int db = (d >> n) & 0xFF, sb = (s >> n) & 0xFF;
    out |= uint32_t(((sb - db) * int(w) + db * 256) >> 8) << n;
  }
  return out;
}

// AlphaCopyArgb without tint or reflection, for equal rects.
void PlainAlphaCopy(TestImage& dst, TestImage& src, const BackgroundView& bg, bool fillHoles,
                    int transparency) {
  for (int y = 0; y < std::min(dst.h(), src.h()); ++y) {
    for (int x = 0; x < std::min(dst.w(), src.w()); ++x) {
      const uint32_t s = src.at(x, y), a = s >> 24;
      uint32_t& d = dst.at(x, y);
      if (bg.HasBitmap && (s == 0x00FF00FFu || a <= 16)) {
        uint32_t b;
        if (fillHoles && bg.Fetch(x, y, b)) d = b;
        continue;
      }
      const uint32_t w = transparency != 0 ? uint32_t(100 - transparency) * a / 100 : a;
      uint32_t out = Mix(d, s, w);
      if (transparency == 0 && a > (out >> 24)) out = (out & 0x00FFFFFFu) | (a << 24);
      d = out;
    }
  }
}

TEST(SkinLikePixels, AlphaCopyWithHolesAndTransparencyIsExact) {
  TestImage src(53, 9), bg(40, 12);
  FillSkinLike(src, 1);
  bg.Randomize(2);
  for (int transparency : {0, 40, 100}) {
    for (int variant = 0; variant < 4; ++variant) {
      SCOPED_TRACE(testing::Message() << "transparency " << transparency << " variant " << variant);
      // No background; one covering part of the image from an offset (left,
      // right and bottom columns and rows outside it); holes kept or filled.
      BackgroundView view{};
      if (variant > 0) view = MakeBackgroundView(bg.View(), variant == 3 ? -7 : 5, variant - 2);
      const bool fill = variant != 2;
      TestImage got(53, 9), want(53, 9);
      got.Randomize(3);
      want.Randomize(3);
      const RECT all{0, 0, 53, 9};
      AlphaCopyArgb(all, all, got.View(), src.View(), view, fill, kNoColor, transparency, false);
      PlainAlphaCopy(want, src, view, fill, transparency);
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 53; ++x) ASSERT_EQ(got.at(x, y), want.at(x, y)) << x << "," << y;
    }
  }
}

// The masked piece without background: key pixels stay, the others
// d := ((d - s) * m + s * 256) shr 8 per colour byte, alpha kept.
uint32_t MaskedPixel(uint32_t d, uint32_t s, uint32_t m) {
  if (s == 0x00FF00FFu) return d;
  uint32_t out = d & 0xFF000000u;
  for (int n = 0; n < 24; n += 8) {
    const int db = (d >> n) & 0xFF, sb = (s >> n) & 0xFF, mb = (m >> n) & 0xFF;
    out |= uint32_t(((db - sb) * mb + sb * 256) >> 8) << n;
  }
  return out;
}

TEST(SkinLikePixels, MaskedPieceWithBlackAndWhiteMasksIsExact) {
  TestImage src(45, 14);
  FillSkinLike(src, 4, /*withMaskValues=*/false);
  TestImage masks(45, 7);
  FillSkinLike(masks, 5, /*withMaskValues=*/true);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 45; ++x) src.at(x, y + 7) = masks.at(x, y);
  TsMaskData mask;
  mask.SourceRect = {0, 0, 45, 14};
  TestImage got(45, 7), want(45, 7);
  got.Randomize(6);
  want.Randomize(6);
  CopyMaskedPiece({0, 0, 45, 7}, {0, 0, 45, 7}, got.View(), src.View(), BackgroundView{}, false,
                  mask);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 45; ++x) want.at(x, y) = MaskedPixel(want.at(x, y), src.at(x, y), src.at(x, y + 7));
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 45; ++x) ASSERT_EQ(got.at(x, y), want.at(x, y)) << x << "," << y;
}

// A masked nine-slice image tiled over a larger target: corners by the
// masked piece copy, edges and centre tiled through the mask as the nine-slice painter
// says, written out pixel by pixel.
TEST(SkinLikePixels, MaskedNineSliceTilesAreExact) {
  FakeSkin skin(66, 44);
  TestImage part(66, 22), masks(66, 22);
  FillSkinLike(part, 7);
  FillSkinLike(masks, 8, /*withMaskValues=*/true);
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 66; ++x) {
      skin.Master().at(x, y) = part.at(x, y);
      skin.Master().at(x, y + 22) = masks.at(x, y);
    }
  const int index = skin.AddImage({0, 0, 66, 44}, 3, 1);  // frames of 22 x 22
  TsMaskData& m = skin.images[index];
  m.BorderLeft = 5;
  m.BorderTop = 4;
  m.BorderRight = 6;
  m.BorderBottom = 3;
  m.PaintMode = kMaskPaintCentre;
  const RECT rect{3, 2, 101, 77};
  TestImage got(110, 80), want(110, 80);
  got.Randomize(9);
  want.Randomize(9);
  PaintMaskNineSlice(got.View(), rect, BackgroundView{}, m, 1, false);

  const PixelView src = skin.Master().View();
  const int x0 = 22, fh = 22, mw = 22 - 5 - 6, mh = 22 - 4 - 3;
  auto corner = [&](int sx, int sy, int w, int h, int dx, int dy) {
    CopyMaskedPiece({dx, dy, dx + w, dy + h}, {sx, sy, sx + w, sy + h}, want.View(), src,
                    BackgroundView{}, false, m);
  };
  auto tile = [&](int sx, int sy, int sw, int sh, int l, int t, int r, int b) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) {
        const int px = sx + (x - l) % sw, py = sy + (y - t) % sh;
        want.at(x, y) = MaskedPixel(want.at(x, y), src.At(px, py), src.At(px, py + fh));
      }
  };
  const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  corner(x0, 0, 5, 4, L, T);
  tile(x0, 4, 5, mh, L, T + 4, L + 5, B - 3);
  tile(x0 + 5, 0, mw, 4, L + 5, T, R - 6, T + 4);
  corner(x0, fh - 3, 5, 3, L, B - 3);
  tile(x0 + 5, fh - 3, mw, 3, L + 5, B - 3, R - 6, B);
  corner(x0 + 5 + mw, fh - 3, 6, 3, R - 6, B - 3);
  corner(x0 + 5 + mw, 0, 6, 4, R - 6, T);
  tile(x0 + 5 + mw, 4, 6, mh, R - 6, T + 4, R, B - 3);
  tile(x0 + 5, 4, mw, mh, L + 5, T + 4, R - 6, B - 3);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 110; ++x) ASSERT_EQ(got.at(x, y), want.at(x, y)) << x << "," << y;
}

}  // namespace
