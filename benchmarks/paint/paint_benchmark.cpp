// Throughput of the main blend and copy routines, nine-slice painting of a
// 500 x 400 target and resampling, each as a ratio to memcpy of the same
// number of bytes measured in the same run (1.00 = as fast as memcpy).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "skin/foundation/blend.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/resample.h"
#include "skin/foundation/skin_source.h"

namespace {

double Now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / double(freq.QuadPart);
}

// Best time of one call over enough repetitions to fill ~0.2 s.
double TimeOf(const std::function<void()>& fn) {
  fn();
  int reps = 1;
  double best = 1e9;
  const double until = Now() + 0.2;
  while (Now() < until) {
    const double t0 = Now();
    for (int i = 0; i < reps; ++i) fn();
    best = std::min(best, (Now() - t0) / reps);
    if (reps < 1 << 16) reps *= 2;
  }
  return best;
}

void Randomize(PixelBuffer& b, uint32_t seed) {
  std::mt19937 rng(seed);
  const PixelView v = b.View();
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) v.At(x, y) = rng();
}

class BenchSkin : public SkinSource {
 public:
  BenchSkin() : master_(90, 60) { Randomize(master_, 9); }
  int SectionCount() const override { return 0; }
  const TsGeneralData& Section(int) const override { return section_; }
  int ImageCount() const override { return 0; }
  const TsMaskData& ImageData(int) const override { return mask_; }
  PixelView MasterPixels() const override { return const_cast<PixelBuffer&>(master_).View(); }

 private:
  PixelBuffer master_;
  TsGeneralData section_;
  TsMaskData mask_;
};

struct Row {
  const char* name;
  double seconds;
  size_t bytes;
};

}  // namespace

int main() {
  const int W = 500, H = 400;
  PixelBuffer dst(W, H), src(W, H), a(W, H), b(W, H), mask(W, H), big(W, H * 2);
  Randomize(dst, 1);
  Randomize(src, 2);
  Randomize(a, 3);
  Randomize(b, 4);
  Randomize(mask, 5);
  Randomize(big, 6);
  const size_t frameBytes = size_t(W) * H * 4;
  std::vector<uint8_t> m1(frameBytes), m2(frameBytes);
  const RECT all = MakeRECT(0, 0, W, H);
  const BackgroundView none{};
  PixelBuffer bgImage(W, H);
  Randomize(bgImage, 7);
  const BackgroundView withBg = MakeBackgroundView(bgImage.View(), 0, 0);
  TsMaskData halfMask;
  halfMask.SourceRect = MakeRECT(0, 0, W, H * 2);

  BenchSkin skin;
  auto borders = [&](int paintMode, int masks) {
    TsMaskData m;
    m.Owner = &skin;
    m.SourceRect = MakeRECT(0, 0, 90, masks ? 60 : 30);
    m.FrameCount = 3;
    m.MaskCount = int16_t(masks);
    m.PaintMode = int16_t(paintMode);
    m.BorderLeft = m.BorderTop = m.BorderRight = m.BorderBottom = 6;
    ComputeMaskFrameSize(m);
    return m;
  };
  const TsMaskData tiled = borders(kMaskPaintCentre, 0);
  const TsMaskData maskedTiled = borders(kMaskPaintCentre, 1);
  const TsMaskData stretched = borders(kMaskPaintCentre | kMaskStretch, 0);

  PixelBuffer small(100, 50), grown(200, 100), shrunk(250, 200);
  Randomize(small, 8);

  const double memcpyTime = TimeOf([&] { std::memcpy(m1.data(), m2.data(), frameBytes); });
  std::vector<Row> rows = {
      {"CopyPixels (plain copy)",
       TimeOf([&] { CopyPixels(dst.View(), 0, 0, src.View(), 0, 0, W, H); }), frameBytes},
      {"BlendBitmapRect", TimeOf([&] {
         BlendBitmapRect(dst.View(), src.View(), 100, all, POINT{0, 0});
       }),
       frameBytes},
      {"MixBitmaps", TimeOf([&] { MixBitmaps(dst.View(), src.View(), 100); }), frameBytes},
      {"AlphaCopyArgb", TimeOf([&] {
         AlphaCopyArgb(all, all, dst.View(), src.View(), none, false, kNoColor, 0, false);
       }),
       frameBytes},
      {"AlphaBlendArgb",
       TimeOf([&] { AlphaBlendArgb(all, all, dst.View(), src.View(), none, false); }), frameBytes},
      {"CrossFadeBitmaps",
       TimeOf([&] { CrossFadeBitmaps(dst.View(), a.View(), b.View(), PixelView{}, 100); }),
       frameBytes},
      {"CopyBitmapExceptKey",
       TimeOf([&] { CopyBitmapExceptKey(dst.View(), src.View(), 0, 0, kFuchsia); }), frameBytes},
      {"CopyMaskedPiece",
       TimeOf([&] { CopyMaskedPiece(all, all, dst.View(), big.View(), none, false, halfMask); }),
       frameBytes},
      {"AlphaCopyArgb, background holes", TimeOf([&] {
         AlphaCopyArgb(all, all, dst.View(), src.View(), withBg, true, kNoColor, 0, false);
       }),
       frameBytes},
      {"AlphaCopyArgb, transparency 40", TimeOf([&] {
         AlphaCopyArgb(all, all, dst.View(), src.View(), none, false, kNoColor, 40, false);
       }),
       frameBytes},
      {"PaintMaskNineSlice 500x400, tiled",
       TimeOf([&] { PaintMaskNineSlice(dst.View(), all, withBg, tiled, 1, true); }), frameBytes},
      {"PaintMaskNineSlice 500x400, masked",
       TimeOf([&] { PaintMaskNineSlice(dst.View(), all, withBg, maskedTiled, 1, true); }),
       frameBytes},
      {"PaintMaskNineSlice 500x400, stretched",
       TimeOf([&] { PaintMaskNineSlice(dst.View(), all, withBg, stretched, 1, true); }),
       frameBytes},
      {"ResampleArgb 500x400 -> 250x200 Mitchell",
       TimeOf([&] { ResampleArgb(src.View(), shrunk.View(), rsMitchell); }), frameBytes},
      {"ResampleArgb 100x50 -> 200x100 Triangle",
       TimeOf([&] { ResampleArgb(small.View(), grown.View(), rsTriangle); }),
       size_t(200) * 100 * 4},
  };
  std::printf("memcpy of %zu bytes: %.1f us (%.2f GB/s)\n", frameBytes, memcpyTime * 1e6,
              frameBytes / memcpyTime / 1e9);
  std::printf("%-42s %10s %9s %12s\n", "routine", "us", "GB/s", "x memcpy");
  for (const Row& r : rows) {
    const double reference = memcpyTime * double(r.bytes) / double(frameBytes);
    std::printf("%-42s %10.1f %9.2f %12.2f\n", r.name, r.seconds * 1e6, r.bytes / r.seconds / 1e9,
                reference / r.seconds);
  }
  return 0;
}
