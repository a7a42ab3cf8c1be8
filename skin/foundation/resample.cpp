#include "skin/foundation/resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr float kSupport[] = {0.51f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
constexpr double kPi = 3.14159265358979323846;
}  // namespace

float ResampleSupport(ResampleFilter filter) {
  return kSupport[filter <= rsMitchell ? filter : 0];
}

double ResampleKernel(ResampleFilter filter, double x) {
  const double r = std::fabs(x);
  if (r >= ResampleSupport(filter)) return 0.0;
  switch (filter) {
    case rsBox:
      return (r <= 0.5 && x != -0.5) ? 1.0 : 0.0;
    case rsTriangle:
      return 1.0 - r;
    case rsHermite:
      return (2.0 * r - 3.0) * r * r + 1.0;
    case rsBell:
      return r < 0.5 ? 0.75 - r * r : 0.5 * (r - 1.5) * (r - 1.5);
    case rsBSpline:
      return r < 1.0 ? r * r * (r / 2.0 - 1.0) + 2.0 / 3.0
                     : (2.0 - r) * (2.0 - r) * (2.0 - r) / 6.0;
    case rsLanczos3:
      return r == 0.0 ? 1.0 : std::sin(kPi * r) * std::sin(r) / (kPi * r * r);
    case rsMitchell:
      return r < 1.0 ? r * r * (7.0 * r / 6.0 - 2.0) + 8.0 / 9.0
                     : r * r * (2.0 - 7.0 * r / 18.0) - 10.0 * r / 3.0 + 16.0 / 9.0;
  }
  return 0.0;
}

void BuildResampleWeights(ResampleWeights& weights, int newSize, int oldSize, int32_t step,
                          ResampleFilter filter) {
  FreeResampleWeights(weights);
  if (newSize <= 0 || oldSize <= 0) return;
  const float radius = ResampleSupport(filter);
  const float scale = newSize < oldSize ? float(newSize) / float(oldSize) : 1.0f;
  const float support = radius / scale;
  // One more slot than the taps the support can reach, so rounding at the
  // ends of the window never writes past a position's list.
  const int slots = static_cast<int>(std::ceil(2.0f * support)) + 2;
  weights.SlotsPerPosition = slots;
  weights.Counts.assign(newSize, 0);
  weights.Slots.assign(static_cast<size_t>(newSize) * slots, ResampleContributor{0, 0});
  for (int i = newSize - 1; i >= 0; --i) {
    const float centre = float(oldSize) * float(i) / float(newSize);
    ResampleContributor* list = weights.Slots.data() + static_cast<size_t>(i) * slots;
    int count = 0;
    const int hi = static_cast<int>(std::ceil(centre + support));
    const int lo = static_cast<int>(std::floor(centre - support));
    for (int j = hi; j >= lo && count < slots; --j) {
      const float signedDist = (centre - float(j)) * scale;
      if (std::fabs(signedDist) >= radius) continue;
      const double w = ResampleKernel(filter, signedDist);
      if (w == 0.0) continue;
      int n = j;
      if (n < 0) n = -n;
      if (n >= oldSize) n = 2 * oldSize - 1 - n;
      n = std::clamp(n, 0, oldSize - 1);
      list[count].Offset = step * n;
      list[count].Weight = static_cast<int32_t>(std::nearbyint(w * scale * 65536.0));
      ++count;
    }
    weights.Counts[i] = count;
  }
}

void FreeResampleWeights(ResampleWeights& weights) {
  weights.SlotsPerPosition = 0;
  weights.Counts.clear();
  weights.Slots.clear();
}

namespace {
inline uint8_t ClampSum(int32_t sum) {
  if (sum < 0) return 0;
  if (sum > 0xFF0000) return 255;
  return static_cast<uint8_t>(sum >> 16);
}
}  // namespace

void ApplyResampleWeights(ptrdiff_t dstStep, uint8_t* dst, const uint8_t* src,
                          const ResampleWeights& weights, int count) {
  count = std::min<int>(count, static_cast<int>(weights.Counts.size()));
  for (int i = 0; i < count; ++i, dst += dstStep) {
    const ResampleContributor* list = weights.List(i);
    int32_t b = 0, g = 0, r = 0, a = 0;
    for (int k = 0; k < weights.Counts[i]; ++k) {
      const int32_t w = list[k].Weight;
      if (w == 0) continue;
      const uint8_t* p = src + list[k].Offset;
      b += w * p[0];
      g += w * p[1];
      r += w * p[2];
      a += w * p[3];
    }
    dst[0] = ClampSum(b);
    dst[1] = ClampSum(g);
    dst[2] = ClampSum(r);
    dst[3] = ClampSum(a);
  }
}

void ResampleArgb(const PixelView& src, const PixelView& dst, ResampleFilter filter) {
  if (!src.Valid() || !dst.Valid() || src.Width <= 1 || src.Height <= 1) return;
  const int newW = dst.Width, newH = dst.Height;
  if (newW == src.Width && newH == src.Height) {
    if (src.SameImage(dst)) return;
    for (int y = 0; y < newH; ++y) std::memmove(dst.Row(y), src.Row(y), size_t(newW) * 4);
    return;
  }
  // Horizontal pass into a scratch image of the source's height.
  PixelBuffer temp(newW, src.Height);
  const PixelView t = temp.View();
  ResampleWeights weights;
  BuildResampleWeights(weights, newW, src.Width, 4, filter);
  for (int y = 0; y < src.Height; ++y) {
    ApplyResampleWeights(4, reinterpret_cast<uint8_t*>(t.Row(y)),
                         reinterpret_cast<const uint8_t*>(src.Row(y)), weights, newW);
  }
  // Vertical pass, a whole output row at a time so that the scratch rows are
  // read in order; the sums are the same as column by column.
  BuildResampleWeights(weights, newH, src.Height, 1, filter);
  std::vector<int32_t> acc(static_cast<size_t>(newW) * 4);
  for (int i = 0; i < newH; ++i) {
    std::fill(acc.begin(), acc.end(), 0);
    const ResampleContributor* list = weights.List(i);
    for (int k = 0; k < weights.Counts[i]; ++k) {
      const int32_t w = list[k].Weight;
      if (w == 0) continue;
      const uint8_t* row = reinterpret_cast<const uint8_t*>(t.Row(list[k].Offset));
      for (int x = 0; x < newW * 4; ++x) acc[x] += w * row[x];
    }
    uint8_t* out = reinterpret_cast<uint8_t*>(dst.Row(i));
    for (int x = 0; x < newW * 4; ++x) out[x] = ClampSum(acc[x]);
  }
}
