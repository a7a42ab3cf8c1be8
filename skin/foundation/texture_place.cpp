#include "skin/foundation/texture_place.h"

#include <algorithm>

#include "skin/foundation/blend.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/skin_source.h"

TexturePlacement TexturePlacementOf(int paintMode) {
  return static_cast<TexturePlacement>(std::clamp(paintMode, 0, 14));
}

namespace {

struct Texture {
  PixelView pixels;
  int sx = 0, sy = 0, w = 0, h = 0;
  bool Valid() const { return pixels.Valid() && w > 0 && h > 0; }
};

// Copies whole or clipped tiles over [l, r) x [t, b), the grid anchored at (ax, ay).
void TileArea(const PixelView& dst, const Texture& tex, int l, int t, int r, int b, int ax,
              int ay) {
  if (r <= l || b <= t) return;
  const int startX = ax - ((ax - l + tex.w - 1) / tex.w) * tex.w;
  const int startY = ay - ((ay - t + tex.h - 1) / tex.h) * tex.h;
  for (int y = startY; y < b; y += tex.h) {
    const int y0 = std::max(y, t), y1 = std::min(y + tex.h, b);
    for (int x = startX; x < r; x += tex.w) {
      const int x0 = std::max(x, l), x1 = std::min(x + tex.w, r);
      CopyPixels(dst, x0, y0, tex.pixels, tex.sx + (x0 - x), tex.sy + (y0 - y), x1 - x0, y1 - y0);
    }
  }
}

void Stretch(const PixelView& dst, const Texture& tex, int x, int y, int w, int h) {
  StretchPixels(dst, x, y, w, h, tex.pixels, tex.sx, tex.sy, tex.w, tex.h);
}

}  // namespace

void PlaceTexture(const PixelView& bitmap, RECT& rect, int placement, const TsMaskData& image) {
  Texture tex{MaskPixels(image), image.SourceRect.left, image.SourceRect.top,
              image.SourceRect.right - image.SourceRect.left,
              image.SourceRect.bottom - image.SourceRect.top};
  if (!tex.Valid() || !bitmap.Valid()) return;
  const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  const int W = tex.w, H = tex.h;
  switch (placement) {
    case plTile:
      TileArea(bitmap, tex, L, T, R, B, L, T);
      rect = kAllCovered;
      break;
    case plStretch:
      Stretch(bitmap, tex, L, T, R - L, B - T);
      rect = kAllCovered;
      break;
    case plTopStrip:
      TileArea(bitmap, tex, L, T, R, std::min(T + H, B), L, T);
      rect = MakeRECT(L, T + H, R, B);
      break;
    case plLeftStrip:
      TileArea(bitmap, tex, L, T, std::min(L + W, R), B, L, T);
      rect = MakeRECT(L + W, T, R, B);
      break;
    case plStretchTopStrip:
      Stretch(bitmap, tex, L, T, R - L, H);
      rect = MakeRECT(L, T + H, R, B);
      break;
    case plStretchLeftStrip:
      Stretch(bitmap, tex, L, T, W, B - T);
      rect = MakeRECT(L + W, T, R, B);
      break;
    case plBottomStrip:
      TileArea(bitmap, tex, L, std::max(B - H, T), R, B, L, B - H);
      rect = MakeRECT(L, T, R, B - H);
      break;
    case plRightStrip:
      TileArea(bitmap, tex, L, T, R, B, L, T);
      rect = MakeRECT(L, T, R - W, B);
      break;
    case plTileWhole: {
      // Rows only where a whole tile ends before the bottom.
      int y = T;
      for (; y < B - H; y += H) TileArea(bitmap, tex, L, y, R, y + H, L, y);
      rect = y < B ? MakeRECT(L, y, R, B) : kAllCovered;
      break;
    }
    case plStretchRows:
      for (int y = T; y < B; y += H) Stretch(bitmap, tex, L, y, R - L, H);
      rect = kAllCovered;
      break;
    case plStretchColumns:
      for (int x = L; x < R; x += W) Stretch(bitmap, tex, x, T, W, B - T);
      rect = kAllCovered;
      break;
    case plTileFromBottomRight:
      TileArea(bitmap, tex, L, T, R, B, R - W, B - H);
      rect = kAllCovered;
      break;
    default:  // values naming no placement
      TileArea(bitmap, tex, L, T, R, B, L, T);
      rect = MakeRECT(R - W, T, R, B);
      break;
  }
}

namespace {

// One tile of a masked texture: the first frame through its mask.
void MaskedTile(const PixelView& dst, const TsMaskData& image, const PixelView& src, int x, int y,
                int w, int h, const BackgroundView& bg) {
  const RECT dstRect = MakeRECT(x, y, x + w, y + h);
  const RECT srcRect = MakeRECT(image.SourceRect.left, image.SourceRect.top,
                                image.SourceRect.left + w, image.SourceRect.top + h);
  if (image.Image == nullptr) {
    CopyMaskedPieceFromMaster(dstRect, srcRect, dst, bg, image);
  } else {
    CopyMaskedPiece(dstRect, srcRect, dst, src, bg, true, image);
  }
}

void FillFromBackground(const PixelView& dst, const RECT& r, const BackgroundView& bg) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (bg.HasBitmap) {
    CopyPixels(dst, r.left, r.top, bg.Pixels, r.left + bg.OffsetX, r.top + bg.OffsetY,
               r.right - r.left, r.bottom - r.top);
  } else {
    FillRectArgb(dst, r, bg.Color, 255);
  }
}

}  // namespace

void PlaceMaskedTexture(const PixelView& bitmap, RECT& rect, const BackgroundView& bg,
                        int placement, const TsMaskData& image) {
  const PixelView src = MaskPixels(image);
  const int W = image.FrameWidth, H = (image.SourceRect.bottom - image.SourceRect.top) / 2;
  if (!src.Valid() || !bitmap.Valid() || W <= 0 || H <= 0) return;
  const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  if (placement == plTile) {
    int y = T;
    for (; y < B - H; y += H) {
      for (int x = L; x < R; x += W)
        MaskedTile(bitmap, image, src, x, y, std::min(W, R - x), H, bg);
    }
    rect = y < B ? MakeRECT(L, y, R, B) : kAllCovered;
  } else if (placement == plTileWhole) {
    int y = T, xEnd = L;
    for (; y < B - H; y += H) {
      int x = L;
      for (; x < R - W; x += W) MaskedTile(bitmap, image, src, x, y, W, H, bg);
      xEnd = x;
    }
    // The uncovered bottom and right strips show what lies behind.
    FillFromBackground(bitmap, MakeRECT(L, y, R, B), bg);
    FillFromBackground(bitmap, MakeRECT(xEnd, T, R, B), bg);
    rect = kAllCovered;
  }
}
