// Painting of skin images cut into state frames: the nine-slice painter
// (corners copied, edges and centre tiled or stretched), the one-frame
// painter, masked pieces, and the corner restoration of a control image.
#pragma once

#include <cstdint>

#include "skin/foundation/background_view.h"
#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"

// PaintMode bits of a borders mask.
constexpr int kMaskStretch = 1;
constexpr int kMaskNoNormalState = 2;
constexpr int kMaskPaintCentre = 4;

void PaintMaskNineSlice(const PixelView& bitmap, RECT rect, const BackgroundView& bg,
                        const TsMaskData& mask, int state, bool cornersOnBackground);

void StretchMaskedPiece(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                        int srcH, const PixelView& dst, const PixelView& src, int maskOffset,
                        bool isCentre);

void DrawMaskStateFrame(const PixelView& bitmap, POINT point, int state, int mode,
                        const TsMaskData& mask, const BackgroundView& bg);

// Rectangles with inclusive Right and Bottom.
void MaskedFrameCopy(RECT dstRect, RECT srcRect, const PixelView& bitmap, const PixelView& src,
                     int mode, const TsMaskData& mask);

void CopyMaskedPieceFromMaster(RECT dstRect, RECT srcRect, const PixelView& dst,
                               const BackgroundView& bg, const TsMaskData& mask);

// Corner bits of RestoreTransparentCorners.
constexpr int kCornerTopLeft = 1;
constexpr int kCornerBottomLeft = 2;
constexpr int kCornerTopRight = 4;
constexpr int kCornerBottomRight = 8;

// The pixel part of RestoreTransparentCorners: every pixel of the control's
// cache image whose border-image pixel is exactly the key takes what the
// parent answered (a bitmap view with the control's offset in it, or a
// colour). The caller has asked the parent and checked the border image.
void RestoreTransparentCornerPixels(const PixelView& cache, const TsMaskData& borderMask, int state,
                                    int corners, const BackgroundView& answer);
