// Throughput of the blend and copy routines, of nine-slice painting of a
// 500 x 400 target (opaque and with alpha) and of a skin section painted
// with alpha over a whole image, each as a ratio to memcpy of the same
// number of bytes measured in the same run (1.00 = as fast as memcpy), on
// skin-like pixels: mostly opaque images with anti-aliased alpha edges and
// transparent holes, masks with runs of key colour, black image parts and
// white windows, and smooth backgrounds. Then the resampler against a plain separable reference
// with the same filter, per filter: time ratio and largest difference.
//
//   paint_benchmark.exe
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "skin/foundation/blend.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/nine_slice_alpha.h"
#include "skin/foundation/resample.h"
#include "skin/foundation/section_argb.h"
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

uint32_t Pixel(int a, int r, int g, int b) {
  return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

// A smooth opaque picture: what lies behind a control.
void FillBackground(PixelBuffer& b, int seed) {
  const PixelView v = b.View();
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x)
      v.At(x, y) = Pixel(255, (x * 255 / v.Width + seed) & 0xFF, (y * 255 / v.Height) & 0xFF,
                         (x + y + seed * 3) & 0xFF);
}

// A glyph or button face: rounded rectangles, opaque inside with a shaded
// colour, anti-aliased over two pixels at the edges, alpha 0 outside and in
// a few round cut-outs.
void FillSkinImage(PixelBuffer& b, int cellW, int cellH) {
  const PixelView v = b.View();
  for (int y = 0; y < v.Height; ++y) {
    for (int x = 0; x < v.Width; ++x) {
      const int cx = x % cellW, cy = y % cellH;
      // Distance inside the rounded rectangle inset by 3, radius 8.
      const double r = 8, inset = 3;
      const double qx = std::max(0.0, std::abs(cx + 0.5 - cellW / 2.0) - (cellW / 2.0 - inset - r));
      const double qy = std::max(0.0, std::abs(cy + 0.5 - cellH / 2.0) - (cellH / 2.0 - inset - r));
      double inside = r - std::sqrt(qx * qx + qy * qy);
      // A round cut-out in every cell.
      const double hx = cx - cellW * 0.7, hy = cy - cellH * 0.3;
      inside = std::min(inside, std::sqrt(hx * hx + hy * hy) - cellH * 0.08);
      const int alpha = int(std::clamp(inside * 0.5 + 0.5, 0.0, 1.0) * 255);
      const int shade = 120 + cy * 100 / cellH;
      v.At(x, y) = alpha == 0 ? 0 : Pixel(alpha, shade, shade - 20, 200 - cy * 50 / cellH);
    }
  }
}

// A skin master: `frames` state frames of fw x fh side by side, each with
// its mask below it. The image has key-coloured rounded corners; the mask is
// black (take the image) with a white window in the middle of each frame
// (keep what lies below) and a grey ramp at the window's edge.
void FillMaskedMaster(PixelBuffer& b, int fw, int fh, int frames) {
  const PixelView v = b.View();
  for (int f = 0; f < frames; ++f) {
    for (int y = 0; y < fh; ++y) {
      for (int x = 0; x < fw; ++x) {
        const int ex = std::min(x, fw - 1 - x), ey = std::min(y, fh - 1 - y);
        const bool corner = ex + ey < 3;
        const int shade = 90 + f * 40 + y * 60 / fh;
        v.At(f * fw + x, y) = corner ? 0x00FF00FFu : Pixel(0, shade, shade + 10, 160);
        // The window: at least 6 pixels in from every side, fading over 3.
        const int depth = std::min(ex, ey) - 5;
        const int m = depth <= 0 ? 0 : depth >= 3 ? 255 : depth * 85;
        v.At(f * fw + x, fh + y) = Pixel(0, m, m, m);
      }
    }
  }
}

class BenchSkin : public SkinSource {
 public:
  BenchSkin() : master_(90, 60) { FillMaskedMaster(master_, 30, 30, 3); }
  int SectionCount() const override { return int(sections.size()); }
  const TsGeneralData& Section(int i) const override { return sections[i]; }
  int ImageCount() const override { return int(images.size()); }
  const TsMaskData& ImageData(int i) const override { return images[i]; }
  PixelView MasterPixels() const override { return const_cast<PixelBuffer&>(master_).View(); }

  std::vector<TsGeneralData> sections;
  std::vector<TsMaskData> images;

 private:
  PixelBuffer master_;
};

struct Row {
  const char* name;
  double seconds;
  size_t bytes;
};

// The reference resampler: the library's two passes written plainly.
// The weights of each output position are computed once per pass (from the
// same kernel and support) and kept in 16.16 fixed
// point as the library keeps them; the first pass goes into a 32-bit image
// (bytes, as the library's temporary bitmap), the second column by column;
// every byte is its sum shifted right by 16, clamped.
struct RefTap {
  int Index;
  int32_t Weight;
};

std::vector<std::vector<RefTap>> RefWeights(int newSize, int oldSize, ResampleFilter filter) {
  // Positions and distances in single precision, as the library's resampler has them.
  const float radius = ResampleSupport(filter);
  const float scale = newSize < oldSize ? float(newSize) / float(oldSize) : 1.0f;
  const float support = radius / scale;
  std::vector<std::vector<RefTap>> all(newSize);
  for (int i = 0; i < newSize; ++i) {
    const float centre = float(oldSize) * float(i) / float(newSize);
    for (int j = int(std::floor(centre - support)); j <= int(std::ceil(centre + support)); ++j) {
      const float distance = (centre - float(j)) * scale;
      const double w = ResampleKernel(filter, distance) * scale;
      if (w == 0) continue;
      int n = j < 0 ? -j : j >= oldSize ? 2 * oldSize - 1 - j : j;
      n = std::clamp(n, 0, oldSize - 1);
      // Round half to even, as the library's rounding does.
      all[i].push_back({n, int32_t(std::nearbyint(w * 65536.0))});
    }
  }
  return all;
}

void ReferenceResample(const PixelView& src, const PixelView& dst, ResampleFilter filter) {
  const auto across = RefWeights(dst.Width, src.Width, filter);
  const auto down = RefWeights(dst.Height, src.Height, filter);
  auto level = [](int64_t sum) { return uint8_t(std::clamp<int64_t>(sum >> 16, 0, 255)); };
  std::vector<uint8_t> temp(size_t(dst.Width) * src.Height * 4);
  for (int y = 0; y < src.Height; ++y) {
    const uint8_t* row = reinterpret_cast<const uint8_t*>(src.Row(y));
    for (int x = 0; x < dst.Width; ++x) {
      int64_t sum[4] = {0, 0, 0, 0};
      for (const RefTap& t : across[x])
        for (int c = 0; c < 4; ++c) sum[c] += int64_t{t.Weight} * row[t.Index * 4 + c];
      for (int c = 0; c < 4; ++c) temp[(size_t(y) * dst.Width + x) * 4 + c] = level(sum[c]);
    }
  }
  for (int x = 0; x < dst.Width; ++x) {
    for (int y = 0; y < dst.Height; ++y) {
      int64_t sum[4] = {0, 0, 0, 0};
      for (const RefTap& t : down[y])
        for (int c = 0; c < 4; ++c)
          sum[c] += int64_t{t.Weight} * temp[(size_t(t.Index) * dst.Width + x) * 4 + c];
      uint8_t* out = reinterpret_cast<uint8_t*>(dst.Row(y) + x);
      for (int c = 0; c < 4; ++c) out[c] = level(sum[c]);
    }
  }
}

int LargestDifference(const PixelView& a, const PixelView& b) {
  int largest = 0;
  for (int y = 0; y < a.Height; ++y)
    for (int x = 0; x < a.Width; ++x)
      for (int s = 0; s < 32; s += 8)
        largest = std::max(largest,
                           std::abs(int((a.At(x, y) >> s) & 0xFF) - int((b.At(x, y) >> s) & 0xFF)));
  return largest;
}

}  // namespace

int main() {
  const int W = 500, H = 400;
  PixelBuffer dst(W, H), src(W, H), a(W, H), b(W, H), glyphs(W, H), big(W, H * 2);
  FillBackground(dst, 1);
  FillBackground(a, 3);
  FillBackground(b, 4);
  FillSkinImage(src, 100, 40);
  FillSkinImage(glyphs, 24, 24);
  // A masked image as large as the target: image half and mask half.
  FillMaskedMaster(big, W, H, 1);
  const size_t frameBytes = size_t(W) * H * 4;
  std::vector<uint8_t> m1(frameBytes), m2(frameBytes);
  const RECT all = MakeRECT(0, 0, W, H);
  const BackgroundView none{};
  PixelBuffer bgImage(W, H);
  FillBackground(bgImage, 7);
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
    m.TransparentCorners = 1;
    m.BorderLeft = m.BorderTop = m.BorderRight = m.BorderBottom = 6;
    ComputeMaskFrameSize(m);
    return m;
  };
  const TsMaskData tiled = borders(kMaskPaintCentre, 0);
  const TsMaskData maskedTiled = borders(kMaskPaintCentre, 1);
  const TsMaskData stretched = borders(kMaskPaintCentre | kMaskStretch, 0);
  const TsMaskData maskedStretched = borders(kMaskPaintCentre | kMaskStretch, 1);
  const RECT limits{6, 6, 6, 6};
  // A section in one plain colour whose borders are the masked image.
  skin.images.push_back(maskedTiled);
  TsGeneralData section;
  for (auto& st : section.Props) st.Color = 0x00806040;
  section.BordersMask = 0;
  skin.sections.push_back(section);

  // Each routine runs again and again over the destination it changed: its
  // work depends on the source and mask pixels, which stay as they are.
  auto timed = [&](const std::function<void()>& fn) { return TimeOf(fn); };

  const double memcpyTime = TimeOf([&] { std::memcpy(m1.data(), m2.data(), frameBytes); });
  std::vector<Row> rows = {
      {"CopyPixels (plain copy)",
       TimeOf([&] { CopyPixels(dst.View(), 0, 0, src.View(), 0, 0, W, H); }), frameBytes},
      {"BlendBitmapRect", timed([&] {
         BlendBitmapRect(dst.View(), src.View(), 100, all, POINT{0, 0});
       }),
       frameBytes},
      {"MixBitmaps", timed([&] { MixBitmaps(dst.View(), src.View(), 100); }), frameBytes},
      {"AlphaCopyArgb", timed([&] {
         AlphaCopyArgb(all, all, dst.View(), src.View(), none, false, kNoColor, 0, false);
       }),
       frameBytes},
      {"AlphaBlendArgb",
       timed([&] { AlphaBlendArgb(all, all, dst.View(), src.View(), none, false); }), frameBytes},
      {"CrossFadeBitmaps",
       TimeOf([&] { CrossFadeBitmaps(dst.View(), a.View(), b.View(), PixelView{}, 100); }),
       frameBytes},
      {"CopyBitmapExceptKey",
       timed([&] { CopyBitmapExceptKey(dst.View(), big.View(), 0, 0, kFuchsia); }), frameBytes},
      {"CopyMaskedPiece",
       timed([&] { CopyMaskedPiece(all, all, dst.View(), big.View(), none, false, halfMask); }),
       frameBytes},
      {"AlphaCopyArgb, background holes", timed([&] {
         AlphaCopyArgb(all, all, dst.View(), src.View(), withBg, true, kNoColor, 0, false);
       }),
       frameBytes},
      {"AlphaCopyArgb, small glyphs, holes", timed([&] {
         AlphaCopyArgb(all, all, dst.View(), glyphs.View(), withBg, true, kNoColor, 0, false);
       }),
       frameBytes},
      {"AlphaCopyArgb, transparency 40", timed([&] {
         AlphaCopyArgb(all, all, dst.View(), src.View(), none, false, kNoColor, 40, false);
       }),
       frameBytes},
      {"AlphaCopyArgb, holes, transparency 40", timed([&] {
         AlphaCopyArgb(all, all, dst.View(), src.View(), withBg, true, kNoColor, 40, false);
       }),
       frameBytes},
      {"PaintMaskNineSlice 500x400, tiled",
       timed([&] { PaintMaskNineSlice(dst.View(), all, withBg, tiled, 1, true); }), frameBytes},
      {"PaintMaskNineSlice 500x400, masked",
       timed([&] { PaintMaskNineSlice(dst.View(), all, withBg, maskedTiled, 1, true); }),
       frameBytes},
      {"PaintMaskNineSlice 500x400, stretched",
       timed([&] { PaintMaskNineSlice(dst.View(), all, withBg, stretched, 1, true); }), frameBytes},
      {"PaintMaskNineSlice 500x400, masked, stretched",
       timed([&] { PaintMaskNineSlice(dst.View(), all, withBg, maskedStretched, 1, true); }),
       frameBytes},
      {"PaintMaskNineSliceKeepAlpha 500x400, masked",
       timed([&] { PaintMaskNineSliceKeepAlpha(dst.View(), all, withBg, maskedTiled, 1); }),
       frameBytes},
      {"PaintMaskNineSliceAlpha 500x400, masked", timed([&] {
         PaintMaskNineSliceAlpha(dst.View(), all, withBg, maskedTiled, 1, limits, 200);
       }),
       frameBytes},
      {"PaintMaskNineSliceAlpha 500x400, masked, stretched", timed([&] {
         PaintMaskNineSliceAlpha(dst.View(), all, withBg, maskedStretched, 1, limits, 200);
       }),
       frameBytes},
      {"PaintSkinSectionArgb 500x400, masked borders", timed([&] {
         PaintSkinSectionArgb(0, 1, all, POINT{0, 0}, dst.View(), &skin);
       }),
       frameBytes},
  };
  std::printf("memcpy of %zu bytes: %.1f us (%.2f GB/s)\n", frameBytes, memcpyTime * 1e6,
              frameBytes / memcpyTime / 1e9);
  std::printf("%-46s %10s %9s %12s\n", "routine", "us", "GB/s", "x memcpy");
  for (const Row& r : rows) {
    const double reference = memcpyTime * double(r.bytes) / double(frameBytes);
    std::printf("%-46s %10.1f %9.2f %12.2f\n", r.name, r.seconds * 1e6, r.bytes / r.seconds / 1e9,
                reference / r.seconds);
  }

  // Resampling: the library against the reference, per filter, shrinking
  // a skin image to half and enlarging a glyph sheet by 1.5.
  const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "BSpline", "Lanczos3", "Mitchell"};
  PixelBuffer shrunk(W / 2, H / 2), shrunkRef(W / 2, H / 2);
  PixelBuffer small(200, 160), grown(300, 240), grownRef(300, 240);
  FillSkinImage(small, 24, 24);
  std::printf("\n%-10s %-22s %10s %10s %9s %11s\n", "filter", "resize", "library us", "plain us",
              "plain/lib", "largest diff");
  for (int f = 0; f <= rsMitchell; ++f) {
    const auto filter = static_cast<ResampleFilter>(f);
    struct Case {
      const char* What;
      PixelBuffer *From, *To, *Ref;
    } cases[] = {{"500x400 -> 250x200", &src, &shrunk, &shrunkRef},
                 {"200x160 -> 300x240", &small, &grown, &grownRef}};
    for (const Case& c : cases) {
      const double lib = TimeOf([&] { ResampleArgb(c.From->View(), c.To->View(), filter); });
      const double ref = TimeOf([&] { ReferenceResample(c.From->View(), c.Ref->View(), filter); });
      std::printf("%-10s %-22s %10.1f %10.1f %9.2f %11d\n", names[f], c.What, lib * 1e6, ref * 1e6,
                  ref / lib, LargestDifference(c.To->View(), c.Ref->View()));
    }
  }
  return 0;
}
