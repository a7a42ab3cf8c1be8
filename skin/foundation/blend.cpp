#include "skin/foundation/blend.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/foundation/blend_kernels.h"

namespace blend {

bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}

bool ClipInclusive(const PixelView& dst, const PixelView& src, RECT srcRect, int dx, int dy,
                   Span& span) {
  if (!dst.Valid() || !src.Valid()) return false;
  const int right = std::min<int>(srcRect.right, src.Width - 1);
  const int bottom = std::min<int>(srcRect.bottom, src.Height - 1);
  int sx = srcRect.left, sy = srcRect.top;
  if (sx < 0) dx -= sx, sx = 0;
  if (sy < 0) dy -= sy, sy = 0;
  if (dx < 0) sx -= dx, dx = 0;
  if (dy < 0) sy -= dy, dy = 0;
  span = {sx,
          sy,
          dx,
          dy,
          std::min(right - sx + 1, dst.Width - dx),
          std::min(bottom - sy + 1, dst.Height - dy)};
  return span.w > 0 && span.h > 0 && sx < src.Width && sy < src.Height;
}

bool ClipRects(const PixelView& dst, const PixelView& src, RECT dstRect, RECT srcRect, Span& span) {
  if (!dst.Valid() || !src.Valid()) return false;
  int w = std::min<int>(srcRect.right - srcRect.left, dstRect.right - dstRect.left);
  int h = std::min<int>(srcRect.bottom - srcRect.top, dstRect.bottom - dstRect.top);
  int sx = srcRect.left, sy = srcRect.top, dx = dstRect.left, dy = dstRect.top;
  if (dx < 0) sx -= dx, w += dx, dx = 0;
  if (dy < 0) sy -= dy, h += dy, dy = 0;
  if (sx < 0) dx -= sx, w += sx, sx = 0;
  if (sy < 0) dy -= sy, h += sy, sy = 0;
  w = std::min({w, dst.Width - dx, src.Width - sx});
  h = std::min({h, dst.Height - dy, src.Height - sy});
  span = {sx, sy, dx, dy, w, h};
  return w > 0 && h > 0;
}

}  // namespace blend

using blend::Span;

namespace {
constexpr uint32_t kColourBytes = 0x00FFFFFFu;
constexpr uint32_t kAllBytes = 0xFFFFFFFFu;
inline bool SameSize(const PixelView& a, const PixelView& b) {
  return a.Width == b.Width && a.Height == b.Height;
}
}  // namespace

void BlendBitmapToColor(const PixelView& bitmap, uint8_t keep, uint32_t color) {
  if (!bitmap.Valid()) return;
  const uint32_t k = SwapRedBlueKeepTop(color) & kColourBytes;
  for (int y = 0; y < bitmap.Height; ++y) {
    uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width; ++x) {
      const uint32_t p = row[x];
      if (p == kKeyPixel) continue;
      uint32_t r = p & 0xFF000000u;
      for (int n = 0; n < 24; n += 8) {
        r |= ((((p >> n) & 0xFFu) * keep + ((k >> n) & 0xFFu) * (255u - keep)) >> 8) << n;
      }
      row[x] = r;
    }
  }
}

void BlendColorThroughMask(const PixelView& bitmap, const PixelView& mask, uint32_t color) {
  if (!bitmap.Valid() || !mask.Valid() || !SameSize(bitmap, mask)) return;
  const uint32_t k = SwapRedBlueKeepTop(color);
  for (int y = 0; y < bitmap.Height; ++y) {
    uint32_t* row = bitmap.Row(y);
    const uint32_t* m = mask.Row(y);
    for (int x = 0; x < bitmap.Width; ++x)
      row[x] = blend::LerpPerByte(row[x], k, m[x], kColourBytes);
  }
}

void MixBitmaps(const PixelView& dst, const PixelView& src, uint8_t keep) {
  if (!dst.Valid() || !src.Valid() || !SameSize(dst, src)) return;
  for (int y = 0; y < dst.Height; ++y) {
    blend::LerpRowUniform(dst.Row(y), src.Row(y), dst.Width, keep, kColourBytes);
  }
}

void BlendCopyExceptKey(const PixelView& dst, int x, int y, const PixelView& src, RECT srcRect,
                        uint8_t keep, uint32_t keyColor) {
  Span sp;
  if (!blend::ClipInclusive(dst, src, srcRect, x, y, sp)) return;
  for (int r = 0; r < sp.h; ++r) {
    uint32_t* d = dst.Row(sp.dy + r) + sp.dx;
    const uint32_t* s = src.Row(sp.sy + r) + sp.sx;
    for (int c = 0; c < sp.w; ++c) {
      if (s[c] == keyColor) continue;
      uint32_t v = d[c] & 0xFF000000u;
      for (int n = 0; n < 24; n += 8) {
        v |= ((((s[c] >> n) & 0xFFu) * (255u - keep) + ((d[c] >> n) & 0xFFu) * keep) >> 8) << n;
      }
      d[c] = v;
    }
  }
}

void BlendBitmapRect(const PixelView& dst, const PixelView& src, uint8_t keep, RECT srcRect,
                     POINT dstPoint) {
  Span sp;
  if (!blend::ClipInclusive(dst, src, srcRect, dstPoint.x, dstPoint.y, sp)) return;
  for (int r = 0; r < sp.h; ++r) {
    blend::LerpRowUniform(dst.Row(sp.dy + r) + sp.dx, src.Row(sp.sy + r) + sp.sx, sp.w, keep,
                          kAllBytes);
  }
}

void AlphaBlendArgb(RECT dstRect, RECT srcRect, const PixelView& dst, const PixelView& src,
                    const BackgroundView& bg, bool fillHoles) {
  Span sp;
  if (!blend::ClipRects(dst, src, dstRect, srcRect, sp)) return;
  for (int r = 0; r < sp.h; ++r) {
    uint32_t* d = dst.Row(sp.dy + r) + sp.dx;
    const uint32_t* s = src.Row(sp.sy + r) + sp.sx;
    if (!bg.HasBitmap) {
      blend::AlphaOverRow(d, s, sp.w, true);
      continue;
    }
    for (int c = 0; c < sp.w; ++c) {
      if (s[c] == kKeyPixel) {
        uint32_t b;
        if (fillHoles && bg.Fetch(sp.dx + c, sp.dy + r, b)) d[c] = b | 0xFF000000u;
      } else {
        d[c] = blend::AlphaOverPixel(d[c], s[c], true);
      }
    }
  }
}

namespace {

// The tint brightened so that its largest channel is 255, in pixel order.
uint32_t BrightTint(uint32_t tintColor) {
  const uint32_t t = SwapRedBlueKeepTop(tintColor);
  const uint32_t b = t & 0xFF, g = (t >> 8) & 0xFF, r = (t >> 16) & 0xFF;
  const uint32_t add = 255 - std::max({r, g, b});
  return ((r + add) << 16) | ((g + add) << 8) | (b + add);
}

inline uint32_t TintedSource(uint32_t s, uint32_t tint) {
  const uint32_t lum = ((s >> 16) & 0xFF) / 4 + ((s >> 8) & 0xFF) / 2 + (s & 0xFF) / 4;
  return ((((tint >> 16) & 0xFF) * lum >> 8) << 16) | ((((tint >> 8) & 0xFF) * lum >> 8) << 8) |
         ((tint & 0xFF) * lum >> 8) | (s & 0xFF000000u);
}

inline bool AlphaCopyHole(uint32_t s) {
  return s == kKeyPixel || (s >> 24) <= 16;
}

}  // namespace

void AlphaCopyArgb(RECT dstRect, RECT srcRect, const PixelView& dst, const PixelView& src,
                   const BackgroundView& bg, bool fillHoles, uint32_t tintColor, int transparency,
                   bool reflected) {
  Span sp;
  if (!blend::ClipRects(dst, src, dstRect, srcRect, sp)) return;
  transparency = std::clamp(transparency, 0, 100);
  const int n = 100 - transparency;
  const bool tinted = tintColor != kNoColor;
  const uint32_t tint = tinted ? BrightTint(tintColor) : 0;
  uint32_t weightOf[256];
  for (uint32_t a = 0; a < 256; ++a) weightOf[a] = transparency != 0 ? n * a / 100 : a;
  auto blendOne = [&](uint32_t d, uint32_t s) {
    const uint32_t a = s >> 24;
    const uint32_t colour = tinted ? TintedSource(s, tint) : s;
    uint32_t out = blend::Lerp(d, colour, 256 - weightOf[a], kColourBytes);
    if (transparency == 0 && a > (out >> 24)) out = (out & kColourBytes) | (a << 24);
    return out;
  };
  const bool plain = !tinted && transparency == 0;
  // Columns whose background position lies inside the background bitmap,
  // and the background's column of the first copied one.
  const bool canFill = bg.HasBitmap && fillHoles && bg.Pixels.Valid();
  const int bx0 = sp.dx + bg.OffsetX;
  const int fillFrom = canFill ? std::clamp(-bx0, 0, sp.w) : 0;
  const int fillTo = canFill ? std::clamp(bg.Pixels.Width - bx0, fillFrom, sp.w) : 0;
  for (int r = 0; r < sp.h; ++r) {
    uint32_t* d = dst.Row(sp.dy + r) + sp.dx;
    const uint32_t* s = src.Row(sp.sy + r) + sp.sx;
    if (!bg.HasBitmap && plain) {
      blend::AlphaOverRow(d, s, sp.w, false);
      continue;
    }
    if (!tinted) {
      // Holes take the background where it has a pixel, else they stay:
      // the row in up to three parts, each through the row kernel.
      const int by = sp.dy + r + bg.OffsetY;
      if (!canFill || fillFrom >= fillTo || by < 0 || by >= bg.Pixels.Height) {
        blend::AlphaCopyRow(d, s, sp.w, nullptr, bg.HasBitmap, transparency);
        continue;
      }
      const uint32_t* fill = bg.Pixels.Row(by) + bx0;
      blend::AlphaCopyRow(d, s, fillFrom, nullptr, true, transparency);
      blend::AlphaCopyRow(d + fillFrom, s + fillFrom, fillTo - fillFrom, fill + fillFrom, true,
                          transparency);
      blend::AlphaCopyRow(d + fillTo, s + fillTo, sp.w - fillTo, nullptr, true, transparency);
      continue;
    }
    for (int c = 0; c < sp.w;) {
      if (bg.HasBitmap && AlphaCopyHole(s[c])) {
        uint32_t b;
        if (fillHoles && bg.Fetch(sp.dx + c, sp.dy + r, b)) d[c] = b;
        ++c;
        continue;
      }
      // A run of pixels that are not holes goes through the row kernel.
      int e = c + 1;
      if (bg.HasBitmap) {
        while (e < sp.w && !AlphaCopyHole(s[e])) ++e;
      } else {
        e = sp.w;
      }
      if (plain) {
        blend::AlphaOverRow(d + c, s + c, e - c, false);
      } else {
        for (int k = c; k < e; ++k) d[k] = blendOne(d[k], s[k]);
      }
      c = e;
    }
  }
  if (!reflected) return;
  // A mirror of the lower half fades out below the copied rows.
  const int copiedBottom = sp.dy + sp.h;
  const int v = std::min(src.Height / 2 - 1, dst.Height - copiedBottom - 1);
  if (v <= 0) return;
  const int levelStep = 255 / src.Height;
  int level = 255;
  for (int row = 1; row <= v; ++row, level -= levelStep) {
    const int sy = sp.sy + sp.h - row - 1;
    if (sy < 0 || sy >= src.Height) continue;
    uint32_t* d = dst.Row(copiedBottom + row) + sp.dx;
    const uint32_t* s = src.Row(sy) + sp.sx;
    for (int c = 0; c < sp.w; ++c) {
      if (AlphaCopyHole(s[c])) continue;
      const uint32_t a = s[c] >> 24;
      uint32_t w = a * static_cast<uint32_t>(v - row) / static_cast<uint32_t>(v);
      w = tinted ? w >> 2 : (w * static_cast<uint32_t>(std::max(level, 0))) >> 9;
      if (transparency != 0) w = w * n / 100;
      const uint32_t colour = tinted ? TintedSource(s[c], tint) : s[c];
      d[c] = blend::Lerp(d[c], colour, 256 - w, kColourBytes);
    }
  }
}

void CopyMaskedPiece(RECT dstRect, RECT srcRect, const PixelView& dst, const PixelView& src,
                     const BackgroundView& bg, bool fillHoles, const TsMaskData& mask) {
  Span sp;
  if (!blend::ClipRects(dst, src, dstRect, srcRect, sp)) return;
  const int maskShift = (mask.SourceRect.bottom - mask.SourceRect.top) / 2;
  const uint32_t holeColour = SwapRedBlueKeepTop(bg.Color);
  for (int r = 0; r < sp.h; ++r) {
    const int sy = sp.sy + r;
    const int my = std::min(sy + maskShift, src.Height - 1);
    uint32_t* d = dst.Row(sp.dy + r) + sp.dx;
    const uint32_t* s = src.Row(sy) + sp.sx;
    const uint32_t* m = src.Row(my) + sp.sx;
    if (!fillHoles) {
      // With a background every pixel is blended and made opaque; without,
      // key pixels stay.
      blend::MaskedRow(d, s, m, sp.w, !bg.HasBitmap, kKeyPixel, bg.HasBitmap);
      continue;
    }
    for (int c = 0; c < sp.w; ++c) {
      if (s[c] == kKeyPixel) {
        if (!bg.HasBitmap) {
          d[c] = holeColour;
        } else {
          uint32_t b;
          if (bg.Fetch(sp.dx + c, sp.dy + r, b)) d[c] = b;
          d[c] |= 0xFF000000u;
        }
      } else {
        d[c] = blend::LerpPerByte(d[c], s[c], m[c], kColourBytes);
        if (bg.HasBitmap) d[c] |= 0xFF000000u;
      }
    }
  }
}

void CopyBitmapExceptKey(const PixelView& dst, const PixelView& src, int x, int y,
                         uint32_t keyColor) {
  Span sp;
  if (!blend::ClipInclusive(dst, src, MakeRECT(0, 0, src.Width, src.Height), x, y, sp)) return;
  const uint32_t key = SwapRedBlueKeepTop(keyColor);
  for (int r = 0; r < sp.h; ++r) {
    blend::CopyExceptKeyRow(dst.Row(sp.dy + r) + sp.dx, src.Row(sp.sy + r) + sp.sx, sp.w, key);
  }
}

void CopyPieceExceptKey(const PixelView& dst, const PixelView& src, int x, int y, RECT srcRect,
                        uint32_t keyValue, const BackgroundView& bg, bool fillHoles) {
  Span sp;
  if (!blend::ClipInclusive(dst, src, srcRect, x, y, sp)) return;
  const bool bgIsDst = bg.HasBitmap && bg.Pixels.SameImage(dst);
  const uint32_t holeColour =
      (SwapRedBlueKeepTop(bg.Color) & kColourBytes) | (dst.At(0, 0) & 0xFF000000u);
  for (int r = 0; r < sp.h; ++r) {
    uint32_t* d = dst.Row(sp.dy + r) + sp.dx;
    const uint32_t* s = src.Row(sp.sy + r) + sp.sx;
    for (int c = 0; c < sp.w; ++c) {
      if (s[c] != keyValue) {
        d[c] = (fillHoles && bgIsDst) ? (s[c] | 0xFF000000u) : s[c];
      } else if (!bg.HasBitmap) {
        d[c] = holeColour;
      } else if (fillHoles && !bgIsDst) {
        uint32_t b;
        if (bg.Fetch(sp.dx + c, sp.dy + r, b)) d[c] = b;
      }
    }
  }
}

void CopyGlyphExceptKey(const PixelView& dst, const PixelView& src, int x, int y, RECT srcRect,
                        uint32_t keyColor) {
  Span sp;
  if (!blend::ClipInclusive(dst, src, srcRect, x, y, sp)) return;
  const uint32_t key = SwapRedBlueKeepTop(keyColor) & kColourBytes;
  for (int r = 0; r < sp.h; ++r) {
    uint32_t* d = dst.Row(sp.dy + r) + sp.dx;
    const uint32_t* s = src.Row(sp.sy + r) + sp.sx;
    for (int c = 0; c < sp.w; ++c) {
      if (s[c] != key) d[c] = s[c];
    }
  }
}

void CrossFadeBitmaps(const PixelView& dst, const PixelView& a, const PixelView& b,
                      const PixelView& mask, uint8_t level) {
  if (!dst.Valid() || !a.Valid() || !b.Valid() || !SameSize(a, b)) return;
  if (dst.Width < a.Width || dst.Height < a.Height) return;
  const bool masked = mask.Valid() && mask.Width >= a.Width && mask.Height >= a.Height;
  for (int y = 0; y < a.Height; ++y) {
    uint32_t* d = dst.Row(y);
    const uint32_t* pa = a.Row(y);
    const uint32_t* pb = b.Row(y);
    if (!masked) {
      // b - ((level * (b - a) + 255) shr 8), arithmetic shift, equals
      // (a * level + b * (256 - level)) shr 8 exactly.
      blend::LerpRow3(d, pa, pb, a.Width, level, kColourBytes);
    } else {
      const uint32_t* m = mask.Row(y);
      for (int x = 0; x < a.Width; ++x) {
        d[x] = (blend::LerpPerByte(pa[x], pb[x], m[x], kColourBytes) & kColourBytes) |
               (d[x] & 0xFF000000u);
      }
    }
  }
}

void CopyPixels(const PixelView& dst, int dx, int dy, const PixelView& src, int sx, int sy, int w,
                int h) {
  Span sp;
  if (!blend::ClipRects(dst, src, MakeRECT(dx, dy, dx + w, dy + h),
                        MakeRECT(sx, sy, sx + w, sy + h), sp)) {
    return;
  }
  const size_t bytes = static_cast<size_t>(sp.w) * 4;
  for (int r = 0; r < sp.h; ++r) {
    std::memmove(dst.Row(sp.dy + r) + sp.dx, src.Row(sp.sy + r) + sp.sx, bytes);
  }
}

void StretchPixels(const PixelView& dst, int dx, int dy, int dw, int dh, const PixelView& src,
                   int sx, int sy, int sw, int sh) {
  if (!dst.Valid() || !src.Valid() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int x0 = std::max(0, -dx), x1 = std::min(dw, dst.Width - dx);
  const int y0 = std::max(0, -dy), y1 = std::min(dh, dst.Height - dy);
  if (x1 <= x0 || y1 <= y0) return;
  // The source column of every target column, once per call.
  std::vector<int> columns(static_cast<size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) columns[x - x0] = sx + static_cast<int>(int64_t(x) * sw / dw);
  int previous = -1;
  for (int y = y0; y < y1; ++y) {
    const int syy = sy + static_cast<int>(int64_t(y) * sh / dh);
    if (syy < 0 || syy >= src.Height) continue;
    uint32_t* d = dst.Row(dy + y) + dx;
    if (syy == previous) {  // the same source row as the line above
      std::memcpy(d + x0, dst.Row(dy + y - 1) + dx + x0, size_t(x1 - x0) * 4);
      continue;
    }
    previous = syy;
    const uint32_t* s = src.Row(syy);
    for (int x = x0; x < x1; ++x) {
      const int c = columns[x - x0];
      if (c >= 0 && c < src.Width) d[x] = s[c];
    }
  }
}
