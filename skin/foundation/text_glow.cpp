// The soft glow behind skinned text: the text drawn black on white into an
// 8-bit grey image, blurred with a cut Gaussian, and composed as coverage of
// the glow colour into a 32-bit image.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/text_paint.h"
#include "widgets/graphics/graphics.h"

namespace {

constexpr int kGlowMargin = 4;  // room beyond the radius, so the blur's tails are not cut

// Rows of an 8-bit DIB; an invalid view (Base nil) otherwise.
struct GreyView {
  uint8_t* Base = nullptr;
  ptrdiff_t Stride = 0;
  int Width = 0;
  int Height = 0;
  uint8_t* Row(int y) const { return Base + Stride * y; }
};

GreyView GreyViewOf(TBitmap* bitmap) {
  GreyView v;
  if (bitmap == nullptr || bitmap->HandleType() != bmDIB || bitmap->PixelFormat() != pf8bit)
    return v;
  if (!ScanlineBaseAndStride(bitmap, v.Base, v.Stride)) return {};
  v.Width = bitmap->Width();
  v.Height = bitmap->Height();
  return v;
}

// An 8-bit DIB of the given size in the grey palette (entry i = grey i),
// white everywhere. Emptied first so no older palette or pixels survive the
// format change.
void MakeGreyCache(TBitmap* cache, int width, int height) {
  cache->SetSize(0, 0);
  if (cache->PixelFormat() == pf8bit) cache->SetPixelFormat(pf24bit);
  cache->SetPixelFormat(pf8bit);
  cache->SetSize(width, height);
  const GreyView v = GreyViewOf(cache);
  for (int y = 0; y < v.Height; ++y) std::memset(v.Row(y), 255, static_cast<size_t>(v.Width));
}

}  // namespace

GlowKernel BuildGlowKernel(int radius) {
  GlowKernel k{};
  const double sigma = std::max(radius, 1);
  float sum = 0;
  for (int i = -16; i <= 16; ++i) {
    const double x = i / sigma;
    k.Weights[i + 16] = static_cast<float>(std::exp(-x * x / 2));
    sum += k.Weights[i + 16];
  }
  for (float& w : k.Weights) w /= sum;
  // Tails that together stay under half a grey level go; the tap that
  // crosses that limit goes with them.
  const float limit = 1.0f / (2 * 255);
  float removed = 0;
  int j = 16;
  while (removed < limit && j > 1) {
    removed += 2 * k.Weights[j + 16];
    --j;
  }
  float kept = 0;
  for (int i = -j; i <= j; ++i) kept += k.Weights[i + 16];
  for (int i = -j; i <= j; ++i) k.Weights[i + 16] /= kept;
  k.HalfWidth = j;
  return k;
}

void BlurByteLine(uint8_t* line, int count, const GlowKernel& kernel) {
  if (count <= 0) return;
  std::vector<uint8_t> out;
  out.resize(static_cast<size_t>(count));
  const int j = kernel.HalfWidth;
  for (int i = 0; i < count; ++i) {
    float s = 0;
    for (int k = -j; k <= j; ++k) {
      // Each product rounds to single precision before it is added, also
      // where the FPU keeps more bits.
      const float term = kernel.At(k) * line[std::clamp(i + k, 0, count - 1)];
      s += term;
    }
    out[i] = s > 255 ? 255 : s < 0 ? 0 : static_cast<uint8_t>(std::lrintf(s));
  }
  std::memcpy(line, out.data(), out.size());
}

void BlurGray8(TBitmap* bitmap, int radius) {
  const GreyView v = GreyViewOf(bitmap);
  if (v.Base == nullptr || v.Width <= 0 || v.Height <= 0) return;
  const GlowKernel kernel = BuildGlowKernel(radius);
  for (int y = 0; y < v.Height; ++y) BlurByteLine(v.Row(y), v.Width, kernel);
  std::vector<uint8_t> column;
  column.resize(static_cast<size_t>(v.Height));
  for (int x = 0; x < v.Width; ++x) {
    for (int y = 0; y < v.Height; ++y) column[y] = v.Row(y)[x];
    BlurByteLine(column.data(), v.Height, kernel);
    for (int y = 0; y < v.Height; ++y) v.Row(y)[x] = column[y];
  }
}

void DrawTextGlow(TBitmap* bitmap, const std::string& text, RECT rect, UINT format, uint8_t sides,
                  int radius, uint32_t color, TBitmap*& cache) {
  const int margin = radius + kGlowMargin;
  const RECT r = MakeRECT(rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1);
  const RECT g = MakeRECT(r.left - margin, r.top - margin, r.right + margin, r.bottom + margin);
  const int gw = std::max<int>(0, g.right - g.left), gh = std::max<int>(0, g.bottom - g.top);

  if (cache == nullptr || cache->Width() != gw || cache->Height() != gh) {
    if (cache == nullptr) cache = new TBitmap;
    MakeGreyCache(cache, gw, gh);
    TCanvas* canvas = cache->Canvas();
    if (bitmap != nullptr) canvas->Font()->Assign(bitmap->Canvas()->Font());
    canvas->Font()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    if (gw > 0 && gh > 0) {
      HDC dc = canvas->Handle();
      const RECT t =
          MakeRECT(margin, margin, margin + (r.right - r.left), margin + (r.bottom - r.top));
      const struct {
        uint8_t bit;
        int dx, dy;
      } copies[] = {{kGlowLeft, -1, 0}, {kGlowUp, 0, -1}, {kGlowRight, 1, 0}, {kGlowDown, 0, 1}};
      for (const auto& c : copies) {
        if (!(sides & c.bit)) continue;
        RECT moved = MakeRECT(t.left + c.dx, t.top + c.dy, t.right + c.dx, t.bottom + c.dy);
        DrawTextCapped(dc, text, moved, format);
      }
      RECT at = t;
      DrawTextCapped(dc, text, at, format);
      GdiFlush();
      BlurGray8(cache, radius);
    }
  }

  const PixelView dst = ArgbView(bitmap);
  const GreyView src = GreyViewOf(cache);
  if (!dst.Valid() || src.Base == nullptr) return;
  const uint32_t rgb = SkinColorToRgb(color);
  const int k[3] = {int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF)};
  for (int y = 0; y < src.Height; ++y) {
    const int ty = g.top + y;
    if (ty < 0 || ty >= dst.Height) continue;
    const uint8_t* row = src.Row(y);
    uint32_t* out = dst.Row(ty);
    for (int x = 0; x < src.Width; ++x) {
      const int v = row[x];
      const int tx = g.left + x;
      if (v >= 255 || tx < 0 || tx >= dst.Width) continue;
      const int c = 255 - v;
      const uint32_t p = out[tx];
      const int a = int(p >> 24);
      uint32_t result = uint32_t(a + (((255 - a) * c) >> 8)) << 24;
      for (int n = 0; n < 3; ++n) {
        const int d = int((p >> (8 * n)) & 0xFF);
        result |= uint32_t((c * k[n] + d * v) >> 8) << (8 * n);
      }
      out[tx] = result;
    }
  }
}
