// Compositing of 32-bit work images in integer arithmetic: texture over
// background by a keep weight, alpha copies with holes filled from the
// background, mask-type skin images, cross-fades. Every routine clips to both
// images and does nothing for an image without pixels.
#pragma once

#include <cstdint>

#include "skin/foundation/background_view.h"
#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"

// Colour-only blends (alpha bytes untouched).
void BlendBitmapToColor(const PixelView& bitmap, uint8_t keep, uint32_t color);
void BlendColorThroughMask(const PixelView& bitmap, const PixelView& mask, uint32_t color);
void MixBitmaps(const PixelView& dst, const PixelView& src, uint8_t keep);
void BlendCopyExceptKey(const PixelView& dst, int x, int y, const PixelView& src, RECT srcRect,
                        uint8_t keep, uint32_t keyColor);

// All four bytes: d := (keep * (d - s) + s * 256) shr 8. srcRect is inclusive.
void BlendBitmapRect(const PixelView& dst, const PixelView& src, uint8_t keep, RECT srcRect,
                     POINT dstPoint);

void AlphaBlendArgb(RECT dstRect, RECT srcRect, const PixelView& dst, const PixelView& src,
                    const BackgroundView& bg, bool fillHoles);
void AlphaCopyArgb(RECT dstRect, RECT srcRect, const PixelView& dst, const PixelView& src,
                   const BackgroundView& bg, bool fillHoles, uint32_t tintColor, int transparency,
                   bool reflected);
void CopyMaskedPiece(RECT dstRect, RECT srcRect, const PixelView& dst, const PixelView& src,
                     const BackgroundView& bg, bool fillHoles, const TsMaskData& mask);
void CopyBitmapExceptKey(const PixelView& dst, const PixelView& src, int x, int y,
                         uint32_t keyColor);
void CopyPieceExceptKey(const PixelView& dst, const PixelView& src, int x, int y, RECT srcRect,
                        uint32_t keyValue, const BackgroundView& bg, bool fillHoles);
void CopyGlyphExceptKey(const PixelView& dst, const PixelView& src, int x, int y, RECT srcRect,
                        uint32_t keyColor);
// mask may be an invalid view (no mask).
void CrossFadeBitmaps(const PixelView& dst, const PixelView& a, const PixelView& b,
                      const PixelView& mask, uint8_t level);

// A plain copy of a w x h block (the BitBlt SRCCOPY of the painters), clipped.
void CopyPixels(const PixelView& dst, int dx, int dy, const PixelView& src, int sx, int sy, int w,
                int h);

namespace blend {
// The part of a copy that lies inside both images.
struct Span {
  int sx = 0, sy = 0, dx = 0, dy = 0, w = 0, h = 0;
};
// Source rectangle with Right and Bottom clamped to the last column and row
// and taken inclusively, copied to (dx, dy).
bool ClipInclusive(const PixelView& dst, const PixelView& src, RECT srcRect, int dx, int dy,
                   Span& span);
// Exclusive rectangles: the smaller of both sizes; a negative start moves both.
bool ClipRects(const PixelView& dst, const PixelView& src, RECT dstRect, RECT srcRect, Span& span);
}  // namespace blend

// A nearest-pixel stretch of src (sx, sy, sw, sh) onto dst (dx, dy, dw, dh),
// the result of a COLORONCOLOR StretchBlt, clipped to both images.
void StretchPixels(const PixelView& dst, int dx, int dy, int dw, int dh, const PixelView& src,
                   int sx, int sy, int sw, int sh);
