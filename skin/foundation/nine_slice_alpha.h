// Nine-slice painting that leaves a meaningful alpha channel, for layered
// windows with per-pixel alpha and for outer effects such as shadows: the
// geometry of PaintMaskNineSlice with mixes that raise alpha where the mask
// lets the image through and clear it in holes that nothing fills.
#pragma once

#include <cstdint>

#include "skin/foundation/background_view.h"
#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"

// Holes (key pixels) take the whole background pixel when bg has a bitmap,
// else only lose their alpha.
void CopyMaskedPieceKeepAlpha(RECT dstRect, RECT srcRect, const PixelView& bitmap,
                              const PixelView& src, const BackgroundView& bg,
                              const TsMaskData& mask);
void CopyMaskedPieceAlpha(RECT dstRect, RECT srcRect, const PixelView& bitmap, const PixelView& src,
                          const BackgroundView& bg, const TsMaskData& mask, uint8_t opacity);

// The arguments of StretchMaskedPiece; the mask is resampled with the Hermite
// filter, which does not ring around hard mask edges.
void StretchMaskedPieceKeepAlpha(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY,
                                 int srcW, int srcH, const PixelView& dst, const PixelView& src,
                                 int maskOffset, bool isCentre);
void StretchMaskedPieceAlpha(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                             int srcH, const PixelView& dst, const PixelView& src, int maskOffset,
                             bool isCentre, uint8_t opacity);

void PaintMaskNineSliceKeepAlpha(const PixelView& bitmap, RECT rect, const BackgroundView& bg,
                                 const TsMaskData& mask, int state);

// limits holds the largest thickness painted of each edge band (Left, Top,
// Right, Bottom); masked images paint no centre. Images without a mask part
// are painted as by PaintMaskNineSliceKeepAlpha.
void PaintMaskNineSliceAlpha(const PixelView& bitmap, RECT rect, const BackgroundView& bg,
                             const TsMaskData& mask, int state, RECT limits, uint8_t opacity);
