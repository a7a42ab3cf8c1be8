#include "skin/foundation/nine_slice.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/foundation/blend.h"
#include "skin/foundation/blend_kernels.h"
#include "skin/foundation/nine_slice_walk.h"
#include "skin/foundation/skin_source.h"

namespace {

using nine_slice::Tile;

const BackgroundView kNoBackground{};

// Plain tiles: the first band of tile rows is tiled, every later row repeats
// the row one tile height above it (one long copy instead of many short ones).
void TilePlain(const PixelView& dst, const PixelView& src, int sx, int sy, int sw, int sh, int l,
               int t, int r, int b) {
  if (sw <= 0 || sh <= 0 || r <= l || b <= t) return;
  auto copy = [&](int dx, int dy, int w, int h) { CopyPixels(dst, dx, dy, src, sx, sy, w, h); };
  if (l < 0 || t < 0 || dst.SameImage(src)) {
    Tile(l, t, r, b, sw, sh, copy);
    return;
  }
  const int bandEnd = std::min(b, t + sh);
  Tile(l, t, r, bandEnd, sw, sh, copy);
  const int right = std::min(r, dst.Width);
  if (right <= l) return;
  for (int y = bandEnd; y < std::min(b, dst.Height); ++y) {
    std::memcpy(dst.Row(y) + l, dst.Row(y - sh) + l, static_cast<size_t>(right - l) * 4);
  }
}

// The mix of the opaque painter: key pixels of tiles stay, all others are
// blended through the mask byte by byte.
void TileRow(uint32_t* d, const uint32_t* image, const uint32_t* weights, int n) {
  blend::MaskedRow(d, image, weights, n, true, kKeyPixel, false);
}

void StretchRow(uint32_t* d, const uint32_t* image, const uint32_t* weights, int n) {
  blend::MaskedRow(d, image, weights, n, false, 0, true);
}

// A centre stretched from one pixel p weighed by the red byte g of its mask.
void StretchSingle(uint32_t* d, uint32_t p, uint32_t maskPixel, int n) {
  const uint32_t g = (maskPixel >> 16) & 0xFF;
  if (g == 255) return;
  for (int x = 0; x < n; ++x) {
    if (g == 0) {
      d[x] = p | 0xFF000000u;
      continue;
    }
    uint32_t v = d[x] & 0xFF000000u;
    for (int k = 0; k < 24; k += 8) {
      const int db = (d[x] >> k) & 0xFF, pb = (p >> k) & 0xFF;
      v |= uint32_t(((db - pb) * int(g) + pb * 256) >> 8) << k;
    }
    d[x] = v;
  }
}

}  // namespace

void StretchMaskedPiece(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                        int srcH, const PixelView& dst, const PixelView& src, int maskOffset,
                        bool isCentre) {
  nine_slice::StretchMasked(dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, dst, src, maskOffset,
                            isCentre, rsMitchell, StretchRow, StretchSingle);
}

void PaintMaskNineSlice(const PixelView& bitmap, RECT rect, const BackgroundView& bg,
                        const TsMaskData& mask, int state, bool cornersOnBackground) {
  nine_slice::Layout g;
  if (!bitmap.Valid() || !nine_slice::MakeLayout(rect, mask, state, g)) return;
  const PixelView src = MaskPixels(mask);
  if (!src.Valid()) return;

  const bool stretch = (mask.PaintMode & kMaskStretch) != 0;
  const bool masked = mask.MaskCount > 0;
  const bool cornerHoles = cornersOnBackground && mask.TransparentCorners > 0;
  const int fh = mask.FrameHeight;

  auto corner = [&](int sx, int sy, int w, int h, int dx, int dy) {
    if (w <= 0 || h <= 0) return;
    if (masked) {
      CopyMaskedPiece(MakeRECT(dx, dy, dx + w, dy + h), MakeRECT(sx, sy, sx + w, sy + h), bitmap,
                      src, bg, cornerHoles, mask);
    } else {
      CopyPieceExceptKey(bitmap, src, dx, dy, MakeRECT(sx, sy, sx + w - 1, sy + h - 1), kKeyPixel,
                         bg, cornerHoles);
    }
  };
  // An edge or the centre: source piece (sx, sy, sw, sh) over (l, t2)-(r, b).
  auto fill = [&](int sx, int sy, int sw, int sh, int l, int t2, int r, int b, bool centre) {
    if (r <= l || b <= t2) return;
    if (stretch) {
      if (sw <= 0 || sh <= 0) return;
      StretchMaskedPiece(l, t2, r - l, b - t2, sx, sy, sw, sh, bitmap, src, masked ? fh : 0,
                         centre);
      return;
    }
    if (!masked) {
      TilePlain(bitmap, src, sx, sy, sw, sh, l, t2, r, b);
      return;
    }
    if (nine_slice::TileMaskedRows(bitmap, src, mask, sx, sy, sw, sh, l, t2, r, b, TileRow)) {
      return;
    }
    Tile(l, t2, r, b, sw, sh, [&](int dx, int dy, int w, int h) {
      CopyMaskedPiece(MakeRECT(dx, dy, dx + w, dy + h), MakeRECT(sx, sy, sx + w, sy + h), bitmap,
                      src, kNoBackground, false, mask);
    });
  };
  nine_slice::Walk(g, rect, nine_slice::FullBands(g), (mask.PaintMode & kMaskPaintCentre) != 0,
                   corner, fill);
}

void MaskedFrameCopy(RECT dstRect, RECT srcRect, const PixelView& bitmap, const PixelView& src,
                     int mode, const TsMaskData& mask) {
  if (!bitmap.Valid() || !src.Valid()) return;
  const int maskOffset =
      (mask.SourceRect.bottom - mask.SourceRect.top) / (std::max<int>(mask.MaskCount, 0) + 1);
  int w = std::min(dstRect.right - dstRect.left, srcRect.right - srcRect.left) + 1;
  int h = std::min(dstRect.bottom - dstRect.top, srcRect.bottom - srcRect.top) + 1;
  const int dx = dstRect.left, dy = dstRect.top, sx = srcRect.left, sy = srcRect.top;
  if (dx < 0 || dy < 0 || sx < 0 || sy < 0) return;
  w = std::min({w, bitmap.Width - dx, src.Width - sx});
  h = std::min({h, bitmap.Height - dy, src.Height - sy});
  const bool masked = mask.MaskCount > 0;
  if (masked) h = std::min(h, src.Height - sy - maskOffset);
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y) {
    uint32_t* d = bitmap.Row(dy + y) + dx;
    const uint32_t* s = src.Row(sy + y) + sx;
    if (!masked) {
      for (int x = 0; x < w; ++x) {
        if (s[x] != kKeyPixel) d[x] = s[x];
      }
      continue;
    }
    const uint32_t* m = src.Row(sy + y + maskOffset) + sx;
    for (int x = 0; x < w; ++x) {
      const uint32_t red = (m[x] >> 16) & 0xFF;
      if (s[x] == kKeyPixel || red == 255) continue;
      uint32_t v = 0;
      for (int n = 0; n < 24; n += 8) {
        int mb = (m[x] >> n) & 0xFF;
        if (mode != 1) mb = std::min(mb + 100, 255);
        const int db = (d[x] >> n) & 0xFF, sb = (s[x] >> n) & 0xFF;
        v |= uint32_t(((db - sb) * mb + sb * 256) >> 8) << n;
      }
      const uint32_t a = d[x] >> 24;
      v |= (a + (((255 - a) * (255 - red)) >> 8)) << 24;
      d[x] = v;
    }
  }
}

void DrawMaskStateFrame(const PixelView& bitmap, POINT point, int state, int mode,
                        const TsMaskData& mask, const BackgroundView& bg) {
  if (!bitmap.Valid() || mask.Owner == nullptr) return;
  const int frame = ClipFrameIndex(mask, state);
  int sx = MaskFrameLeft(mask, frame), sy = mask.SourceRect.top;
  int w = mask.FrameWidth, h = mask.FrameHeight;
  int dx = point.x, dy = point.y;
  if (dx < 0) sx -= dx, w += dx, dx = 0;
  if (dy < 0) sy -= dy, h += dy, dy = 0;
  if (w <= 0 || h <= 0) return;
  const PixelView src = MaskPixels(mask);
  if (!src.Valid()) return;
  const RECT dstRect = MakeRECT(dx, dy, dx + w - 1, dy + h - 1);
  const RECT srcRect = MakeRECT(sx, sy, sx + w - 1, sy + h - 1);
  if (mask.Image != nullptr) {
    if (src.Width < mask.SourceRect.right || src.Height < mask.SourceRect.bottom) return;
    MaskedFrameCopy(dstRect, srcRect, bitmap, src, mode, mask);
    return;
  }
  if (mask.FrameCount <= 0) return;
  if (mask.MaskCount > 0) {
    MaskedFrameCopy(dstRect, srcRect, bitmap, src, mode, mask);
  } else if (mode == 1) {
    CopyPieceExceptKey(bitmap, src, dx, dy, srcRect, kKeyPixel, bg, true);
  } else {
    BlendCopyExceptKey(bitmap, dx, dy, src, srcRect, 127, kKeyPixel);
  }
}

void CopyMaskedPieceFromMaster(RECT dstRect, RECT srcRect, const PixelView& dst,
                               const BackgroundView& bg, const TsMaskData& mask) {
  if (mask.Owner == nullptr) return;
  const PixelView master = mask.Owner->MasterPixels();
  blend::Span sp;
  if (!blend::ClipRects(dst, master, dstRect, srcRect, sp)) return;
  const int maskShift = (mask.SourceRect.bottom - mask.SourceRect.top) / 2;
  const uint32_t colour = SwapRedBlueKeepTop(bg.Color) & 0x00FFFFFFu;
  for (int r = 0; r < sp.h; ++r) {
    const int my = sp.sy + r + maskShift;
    if (my >= master.Height) break;
    uint32_t* d = dst.Row(sp.dy + r) + sp.dx;
    const uint32_t* s = master.Row(sp.sy + r) + sp.sx;
    const uint32_t* m = master.Row(my) + sp.sx;
    for (int c = 0; c < sp.w; ++c) {
      if (s[c] == kKeyPixel) {
        uint32_t b;
        if (bg.Color != kFuchsia) {
          d[c] = (d[c] & 0xFF000000u) | colour;
        } else if (bg.HasBitmap && bg.Fetch(sp.dx + c, sp.dy + r, b)) {
          d[c] = b;
        }
        continue;
      }
      uint32_t v = d[c] & 0xFF000000u;
      for (int n = 0; n < 24; n += 8) {
        const int db = (d[c] >> n) & 0xFF, sb = (s[c] >> n) & 0xFF, mb = (m[c] >> n) & 0xFF;
        v |= uint32_t(((db - sb) * mb + sb * 256) >> 8) << n;
      }
      d[c] = v;
    }
  }
}

void RestoreTransparentCornerPixels(const PixelView& cache, const TsMaskData& borderMask, int state,
                                    int corners, const BackgroundView& answer) {
  if (!cache.Valid() || borderMask.Owner == nullptr) return;
  TsMaskData m = borderMask;
  const PixelView img = MaskPixels(m);
  if (!img.Valid()) return;
  if (m.Image != nullptr && m.FrameCount == 0) {
    m.MaskCount = 1;
    m.FrameCount = 3;
    m.SourceRect = MakeRECT(0, 0, img.Width, img.Height);
    ComputeMaskFrameSize(m);
  }
  const int frame = ClipFrameIndex(m, state);
  const int fx = MaskFrameLeft(m, frame), fy = m.SourceRect.top;
  const int W = cache.Width, H = cache.Height;
  const bool masked = m.MaskCount > 0;
  const uint32_t colour = SwapRedBlueKeepTop(answer.Color) & 0x00FFFFFFu;
  struct Corner {
    int bit, w, h, ix, iy, cx, cy;
  };
  const Corner order[] = {
      {kCornerTopLeft, m.BorderLeft, m.BorderTop, fx, fy, 0, 0},
      {kCornerBottomLeft, m.BorderLeft, m.BorderBottom, fx, fy + m.FrameHeight - m.BorderBottom, 0,
       H - m.BorderBottom},
      {kCornerBottomRight, m.BorderRight, m.BorderBottom, fx + m.FrameWidth - m.BorderRight,
       fy + m.FrameHeight - m.BorderBottom, W - m.BorderRight, H - m.BorderBottom},
      {kCornerTopRight, m.BorderRight, m.BorderTop, fx + m.FrameWidth - m.BorderRight, fy,
       W - m.BorderRight, 0},
  };
  for (const Corner& c : order) {
    if (!(corners & c.bit)) continue;
    for (int y = 0; y < c.h; ++y) {
      for (int x = 0; x < c.w; ++x) {
        const int cx = c.cx + x, cy = c.cy + y;
        if (!cache.Contains(cx, cy) || !img.Contains(c.ix + x, c.iy + y)) continue;
        if (img.At(c.ix + x, c.iy + y) != kKeyPixel) continue;
        uint32_t b;
        if (answer.HasBitmap) {
          if (answer.Fetch(cx, cy, b)) cache.At(cx, cy) = b;
        } else if (masked || answer.Color != kFuchsia) {
          cache.At(cx, cy) = (cache.At(cx, cy) & 0xFF000000u) | colour;
        }
      }
    }
  }
}
