// The geometry shared by the nine-slice painters: border sizes for small
// targets, the nine pieces in their painting order, tiling and stretching of
// masked pieces. The painters differ only in how a masked pixel is mixed into
// the target, which they pass in as row functions.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "skin/foundation/blend.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/pixel_view.h"
#include "skin/foundation/resampled_piece.h"
#include "skin/foundation/skin_records.h"

namespace nine_slice {

// Border sizes fitted to the target and the frame's middle sizes.
struct Layout {
  int wl = 0, wr = 0, ht = 0, hb = 0;  // left, right, top, bottom
  int mw = 0, mh = 0;                  // middle of the frame
  int x0 = 0, top = 0;                 // the state frame's top-left in the image
  int frameHeight = 0;
};

// False when nothing is to be painted (state 0 hidden, a target under 2 x 2,
// no owner, borders larger than the frame).
inline bool MakeLayout(RECT rect, const TsMaskData& mask, int state, Layout& g) {
  if (state == 0 && (mask.PaintMode & kMaskNoNormalState)) return false;
  const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
  if (rw < 2 || rh < 2 || mask.Owner == nullptr) return false;
  g.wl = mask.BorderLeft, g.wr = mask.BorderRight, g.ht = mask.BorderTop, g.hb = mask.BorderBottom;
  if (rw < g.wl + g.wr) {  // the excess comes off both sides, the odd pixel off the right
    const int f = g.wl + g.wr - rw;
    g.wl = std::max(0, g.wl - f / 2);
    g.wr = std::max(0, g.wr - f / 2 - f % 2);
  }
  if (rh < g.ht + g.hb) {
    const int f = g.ht + g.hb - rh;
    g.ht = std::max(0, g.ht - f / 2);
    g.hb = std::max(0, g.hb - f / 2 - f % 2);
  }
  g.mw = mask.FrameWidth - g.wl - g.wr;
  g.mh = mask.FrameHeight - g.ht - g.hb;
  if (g.mw < 0 || g.mh < 0) return false;
  g.x0 = MaskFrameLeft(mask, ClipFrameIndex(mask, state));
  g.top = mask.SourceRect.top;
  g.frameHeight = mask.FrameHeight;
  return true;
}

// Thickness of the edge bands painted: the fitted borders, or less where a
// painter limits them (the band between a thinner edge and the inner side of
// its border stays unpainted; corners always have the full size).
struct Bands {
  int left, top, right, bottom;
};

inline Bands FullBands(const Layout& g) {
  return {g.wl, g.ht, g.wr, g.hb};
}

// The nine pieces in painting order. corner(sx, sy, w, h, dx, dy);
// fill(sx, sy, sw, sh, l, t, r, b, isCentre) covers (l, t)-(r, b) with the
// source piece. Limited edges come from the outer columns and rows of the
// frame and lie against the outer side of the target.
template <typename Corner, typename Fill>
void Walk(const Layout& g, RECT rect, const Bands& bands, bool centre, Corner corner, Fill fill) {
  const int x0 = g.x0, t = g.top, fh = g.frameHeight;
  const int wl = g.wl, wr = g.wr, ht = g.ht, hb = g.hb, mw = g.mw, mh = g.mh;
  const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  const int xr = x0 + wl + mw;  // left column of the right border in the frame
  corner(x0, t, wl, ht, L, T);
  fill(x0, t + ht, bands.left, mh, L, T + ht, L + bands.left, B - hb, false);
  fill(x0 + wl, t, mw, bands.top, L + wl, T, R - wr, T + bands.top, false);
  corner(x0, t + fh - hb, wl, hb, L, B - hb);
  fill(x0 + wl, t + fh - bands.bottom, mw, bands.bottom, L + wl, B - bands.bottom, R - wr, B,
       false);
  corner(xr, t + fh - hb, wr, hb, R - wr, B - hb);
  corner(xr, t, wr, ht, R - wr, T);
  fill(xr + wr - bands.right, t + ht, bands.right, mh, R - bands.right, T + ht, R, B - hb, false);
  if (centre) fill(x0 + wl, t + ht, mw, mh, L + wl, T + ht, R - wr, B - hb, true);
}

// Fills (l, t)-(r, b) with tiles of tw x th, whole tiles first along each
// axis and one clipped tile where space is left; an axis of size 0 paints
// nothing.
template <typename Copy>
void Tile(int l, int t, int r, int b, int tw, int th, Copy copy) {
  if (tw <= 0 || th <= 0) return;
  for (int y = t; y < b; y += th) {
    const int h = std::min(th, b - y);
    for (int x = l; x < r; x += tw) copy(x, y, std::min(tw, r - x), h);
  }
}

// Masked tiles: each of the tile's rows is laid out once across the whole
// width, so that every target row is one call of row(dst, image, mask, n)
// instead of one per tile; the result is that of one piece copy per tile.
// False (nothing painted) when the tile or its mask rows do not lie wholly
// inside src, or the layout is too large: the caller then copies per tile.
template <typename RowFn>
bool TileMaskedRows(const PixelView& dst, const PixelView& src, const TsMaskData& mask, int sx,
                    int sy, int sw, int sh, int l, int t, int r, int b, RowFn row) {
  if (sw <= 0 || sh <= 0) return true;  // an axis of size 0 paints nothing
  const int maskShift = (mask.SourceRect.bottom - mask.SourceRect.top) / 2;
  if (sx < 0 || sy < 0 || sx + sw > src.Width || sy + sh + maskShift > src.Height) return false;
  const int x0 = std::max(l, 0), x1 = std::min(r, dst.Width);
  const int y0 = std::max(t, 0), y1 = std::min(b, dst.Height);
  if (x1 <= x0 || y1 <= y0) return true;
  const int width = x1 - x0;
  const int rows = std::min(sh, y1 - t);
  if (int64_t{rows} * width > (int64_t{1} << 19)) return false;
  std::vector<uint32_t> laid(size_t(rows) * width * 2);
  for (int k = 0; k < rows; ++k) {
    uint32_t* image = laid.data() + size_t(k) * width * 2;
    uint32_t* weights = image + width;
    const uint32_t* srcRow = src.Row(sy + k) + sx;
    const uint32_t* maskRow = src.Row(sy + k + maskShift) + sx;
    int phase = (x0 - l) % sw;
    for (int x = 0; x < width;) {
      const int n = std::min(sw - phase, width - x);
      std::memcpy(image + x, srcRow + phase, size_t(n) * 4);
      std::memcpy(weights + x, maskRow + phase, size_t(n) * 4);
      x += n;
      phase = 0;
    }
  }
  // The tile row steps along with the target row: a division per row costs
  // more than the blend of a narrow edge.
  for (int y = y0, k = (y0 - t) % sh; y < y1; ++y, k = k + 1 == sh ? 0 : k + 1) {
    const uint32_t* image = laid.data() + size_t(k) * width * 2;
    row(dst.Row(y) + x0, image, image + width, width);
  }
  return true;
}

// A stretched masked piece (mask rows maskOffset below the image rows),
// clipped to dst; without a mask (maskOffset 0) a plain stretch. row(dst, image, mask, n) mixes stretched pixels in;
// single(dst, p, m, n) handles the centre stretched from one pixel. Shrinking
// along one axis and the centre are resampled (the mask with maskFilter);
// everything else takes the nearest pixels.
template <typename RowFn, typename SingleFn>
void StretchMasked(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH,
                   const PixelView& dst, const PixelView& src, int maskOffset, bool isCentre,
                   ResampleFilter maskFilter, RowFn row, SingleFn single) {
  if (dstX < 0 || dstY < 0 || dstW <= 0 || dstH <= 0) return;
  if (!dst.Valid() || !src.Valid() || dst.Width < 2 || dst.Height < 2) return;
  if (srcW <= 0 || srcH <= 0) return;
  if (maskOffset == 0) {
    StretchPixels(dst, dstX, dstY, dstW, dstH, src, srcX, srcY, srcW, srcH);
    return;
  }
  if (srcX < 0 || srcY < 0 || srcX + srcW > src.Width || srcY + maskOffset + srcH > src.Height) {
    return;
  }
  const int w = std::min(dstW, dst.Width - dstX), h = std::min(dstH, dst.Height - dstY);
  if (w <= 0 || h <= 0) return;
  if (isCentre && srcW == 1 && srcH == 1) {
    const uint32_t p = src.At(srcX, srcY), m = src.At(srcX, srcY + maskOffset);
    for (int y = 0; y < h; ++y) single(dst.Row(dstY + y) + dstX, p, m, w);
    return;
  }
  const bool shrinkOneAxis = (dstW < srcW && srcH == dstH) || (dstH < srcH && srcW == dstW);
  if ((shrinkOneAxis || isCentre) && dstW > 1 && dstH > 1) {
    const ResampledMaskedPiece piece(src, srcX, srcY, srcW, srcH, maskOffset, dstW, dstH,
                                     maskFilter);
    const PixelView iv = piece.Image(), mv = piece.Mask();
    for (int y = 0; y < h; ++y) row(dst.Row(dstY + y) + dstX, iv.Row(y), mv.Row(y), w);
    return;
  }
  // Nearest pixels, as StretchPixels picks them, blended row by row: the
  // edges of a nine-slice image repeat a few source rows over many target
  // rows, so each distinct source row is laid out once, and a piece drawn at
  // its own width is read straight from the source.
  const bool sameWidth = dstW == srcW;
  std::vector<uint32_t> laid(sameWidth ? 0 : size_t(w) * 2);
  std::vector<int> columns(sameWidth ? 0 : size_t(w));
  for (int x = 0; x < int(columns.size()); ++x)
    columns[x] = srcX + static_cast<int>(int64_t(x) * srcW / dstW);
  int previous = -1;
  const uint32_t *image = nullptr, *weights = nullptr;
  // sy = srcY + y * srcH div dstH, stepped without a division per row.
  int sy = srcY, rest = 0;
  for (int y = 0; y < h; ++y) {
    if (y > 0) {
      rest += srcH;
      while (rest >= dstH) rest -= dstH, ++sy;
    }
    if (sy != previous) {
      previous = sy;
      const uint32_t* imageRow = src.Row(sy);
      const uint32_t* maskRow = src.Row(sy + maskOffset);
      if (sameWidth) {
        image = imageRow + srcX;
        weights = maskRow + srcX;
      } else {
        for (int x = 0; x < w; ++x) {
          laid[x] = imageRow[columns[x]];
          laid[w + x] = maskRow[columns[x]];
        }
        image = laid.data();
        weights = image + w;
      }
    }
    row(dst.Row(dstY + y) + dstX, image, weights, w);
  }
}

}  // namespace nine_slice
