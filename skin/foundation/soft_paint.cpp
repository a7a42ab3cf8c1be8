// The soft-edged helpers of 32-bit images: a translucent rounded panel, the
// three-pixel blur of shadow and glow images, and PNG files as 32-bit bitmaps.
#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/dib_surface.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/png_graphic.h"

namespace {

// A third of each byte of a pixel (integer division).
struct Thirds {
  int c[3] = {0, 0, 0};
  int a = 0;
};

Thirds ThirdsOf(uint32_t p) {
  Thirds t;
  for (int n = 0; n < 3; ++n) t.c[n] = int((p >> (8 * n)) & 0xFF) / 3;
  t.a = int(p >> 24) / 3;
  return t;
}

// One pixel of the three-pixel average. Positions are visited right
// neighbour, pixel, left neighbour. A position inside the line with alpha
// above 16 counts; one that does not lends no alpha, and its colour is
// borrowed (a nearly transparent pixel's own colour would darken the edge):
// after a counted position, from the last counted one when that is opaque
// enough; before the first counted one, all such positions share that one's
// thirds divided among them. Borrowed colour counts only when the lenders'
// alpha adds up to more than 16.
uint32_t AverageOfThree(const uint32_t* line, int count, int i) {
  int colour[3] = {0, 0, 0}, alpha = 0;
  int borrowed[3] = {0, 0, 0}, borrowedAlpha = 0;
  int pending = 0;
  bool counted = false;
  Thirds last;
  for (int pos : {i + 1, i, i - 1}) {
    const bool inside = pos >= 0 && pos < count;
    if (inside && (line[pos] >> 24) > 16) {
      const Thirds t = ThirdsOf(line[pos]);
      for (int n = 0; n < 3; ++n) colour[n] += t.c[n];
      alpha += t.a + 1;
      if (!counted && pending > 0) {
        for (int n = 0; n < 3; ++n) borrowed[n] += pending * (t.c[n] / pending);
        borrowedAlpha += pending * (t.a / pending);
      }
      counted = true;
      last = t;
    } else if (!counted) {
      ++pending;
    } else if (last.a >= 17) {
      for (int n = 0; n < 3; ++n) borrowed[n] += last.c[n];
      borrowedAlpha += last.a;
    }
  }
  if (alpha <= 16) return 0;
  if (borrowedAlpha > 16)
    for (int n = 0; n < 3; ++n) colour[n] += borrowed[n];
  uint32_t out = uint32_t(std::min(alpha, 255)) << 24;
  for (int n = 0; n < 3; ++n) out |= uint32_t(std::min(colour[n], 255)) << (8 * n);
  return out;
}

void BlurLine(uint32_t* line, int count, std::vector<uint32_t>& buffer) {
  buffer.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) buffer[i] = AverageOfThree(line, count, i);
  std::copy(buffer.begin(), buffer.end(), line);
}

}  // namespace

void BoxBlurArgb(const PixelView& bitmap) {
  if (!bitmap.Valid()) return;
  std::vector<uint32_t> buffer;
  for (int y = 0; y < bitmap.Height; ++y) BlurLine(bitmap.Row(y), bitmap.Width, buffer);
  std::vector<uint32_t> column(static_cast<size_t>(bitmap.Height));
  for (int x = 0; x < bitmap.Width; ++x) {
    for (int y = 0; y < bitmap.Height; ++y) column[y] = bitmap.At(x, y);
    BlurLine(column.data(), bitmap.Height, buffer);
    for (int y = 0; y < bitmap.Height; ++y) bitmap.At(x, y) = column[y];
  }
}

void PaintSoftRoundRect(TBitmap* bitmap, RECT rect, int transparency, uint32_t color, int edgeWidth,
                        int radius) {
  const PixelView view = ArgbView(bitmap);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (!view.Valid() || w <= 0 || h <= 0) return;
  PixelBuffer work(w, h);
  const PixelView wv = work.View();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) wv.At(x, y) = GetArgbPixel(view, rect.left + x, rect.top + y);

  DibSurface mask(w, h);
  if (!mask.Valid()) return;
  for (int y = 0; y < h; ++y) FillPixels32(mask.View().Row(y), w, 0x00FFFFFFu);
  const int s = std::max(0, std::min({w / 2, h / 2, edgeWidth}));
  const int rr = std::max(0, std::min({w / 2, h / 2, radius}));
  const int u = transparency * 255 / 100;
  {
    HDC dc = mask.DC();
    TSelectedObject pen(dc, GetStockObject(NULL_PEN));
    int grey = 255;
    auto fillRound = [dc, &grey](int l, int t, int r, int b, int corner) {
      const int g = std::clamp(grey, 0, 255);
      TOwnedBrush brush(CreateSolidBrush(RGB(g, g, g)));
      TSelectedObject selection(dc, brush.Get());
      RoundRect(dc, l, t, r, b, corner, corner);
    };
    for (int m = 0; m <= s; ++m) {
      fillRound(m, m, w - m, h - m, rr);
      grey = u + static_cast<int>(std::nearbyint(double(255 - u) / (s + 1) * (s - m)));
    }
    fillRound(s, s, w - s, h - s, s);
    GdiFlush();
  }
  BlendColorThroughMask(wv, mask.View(), SkinColorToRgb(color));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetArgbPixel(view, rect.left + x, rect.top + y, wv.At(x, y));
}

// What a TPNGGraphic, assigned and made 32-bit by ConvertPngToArgb, gives,
// decoded straight into the bitmap's 32-bit pixels (png_graphic.h).
void LoadPngFileToBitmap(TBitmap* bitmap, const std::string& fileName) {
  DecodePngFileToArgb(bitmap, fileName);
}

void LoadPngStreamToBitmap(TBitmap* bitmap, TStream& stream) {
  DecodePngStreamToArgb(bitmap, stream);
}
