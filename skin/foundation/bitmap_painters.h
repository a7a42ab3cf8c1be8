// The painters on TBitmap work bitmaps, as the rest of the library calls
// them: each takes the bitmaps' pixel views and runs the routine of the same
// name on them, doing nothing for a bitmap that is not 32-bit or has no rows.
#pragma once

#include <string>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/resample.h"
#include "skin/foundation/skin_source.h"
#include "widgets/graphics/canvas.h"

// Colour arithmetic over bitmaps.
void ForEachPixelExceptKey(TBitmap* bitmap, PixelProc proc, int32_t data, TColor keyColor);
void GrayscaleArgb(TBitmap* bitmap);
void GrayscaleArgbExceptKey(TBitmap* bitmap, TColor keyValue);

// Blending.
void BlendBitmapToColor(TBitmap* bitmap, uint8_t keep, TColor color);
void BlendColorThroughMask(TBitmap* bitmap, TBitmap* mask, TColor color);
void MixBitmaps(TBitmap* dst, TBitmap* src, uint8_t keep);
void BlendBitmapRect(TBitmap* dst, TBitmap* src, uint8_t keep, const TRect& srcRect,
                     const TPoint& dstPoint);
void BlendCopyExceptKey(TBitmap* dst, int x, int y, TBitmap* src, const TRect& srcRect,
                        uint8_t keep, TColor keyColor);
void AlphaBlendArgb(const TRect& dstRect, const TRect& srcRect, TBitmap* dst, TBitmap* src,
                    const BackgroundInfo& bg, bool fillHoles);
// The source is switched to pf32bit first.
void AlphaCopyArgb(const TRect& dstRect, const TRect& srcRect, TBitmap* dst, TBitmap* src,
                   const BackgroundInfo& bg, bool fillHoles, TColor tintColor, int transparency,
                   bool reflected);
void CopyMaskedPiece(const TRect& dstRect, const TRect& srcRect, TBitmap* dst, TBitmap* src,
                     const BackgroundInfo& bg, bool fillHoles, const TsMaskData& mask);
void CopyBitmapExceptKey(TBitmap* dst, TBitmap* src, int x, int y, TColor keyColor);
void CopyPieceExceptKey(TBitmap* dst, TBitmap* src, int x, int y, const TRect& srcRect,
                        uint32_t keyValue, const BackgroundInfo& bg, bool fillHoles);
void CopyGlyphExceptKey(TBitmap* dst, TBitmap* src, int x, int y, const TRect& srcRect,
                        TColor keyColor, const BackgroundInfo& bg);
void CrossFadeBitmaps(TBitmap* dst, TBitmap* a, TBitmap* b, TBitmap* mask, uint8_t level);
void DrawArgbOnCanvas(TCanvas* canvas, TBitmap* bitmap, const TRect& rect, bool reflected);

// Pixel primitives.
uint32_t GetArgbPixel(TBitmap* bitmap, int x, int y);
void SetArgbPixel(TBitmap* bitmap, int x, int y, uint32_t value);
void FillRectArgb(TBitmap* bitmap, const TRect& rect, TColor color, uint8_t alpha);
void FillFrameArgb(TBitmap* bitmap, const TRect& rect, int left, int top, int right, int bottom,
                   TColor color);
void MixRectWithColor(TBitmap* bitmap, const TRect& rect, uint8_t keep, TColor color);
void TintRectArgb(TBitmap* bitmap, const TRect& rect, TColor color, int percent, uint8_t alpha);
void SetAlphaInRect(TBitmap* bitmap, const TRect& rect, uint8_t alpha, uint32_t keyValue);
// Every pixel's alpha to 255: what GDI drew into a 32-bit bitmap left it 0.
void SetOpaque(TBitmap* bitmap);
void ClearWhitePixels(TBitmap* bitmap);
// Desktop composition decides how near-white pixels are premultiplied; the
// form layer may replace the query (by default the platform is asked).
void SetCompositionQuery(bool (*query)());
bool PainterCompositionEnabled();
void PremultiplyAlpha(TBitmap* bitmap);
void PremultiplyAlphaInRect(TBitmap* bitmap, const TRect& rect);
void FillCornerFromBackground(TBitmap* dst, TBitmap* src, const TRect& rect, const TPoint& srcPoint,
                              int maskIndex, const SkinSource* manager, int corner);
void DrawTextArgb(TBitmap* bitmap, const std::string& text, bool alphaMode, const TRect& rect,
                  UINT format, TColor color, bool plain);
void DrawSectionTextArgb(TBitmap* bitmap, const std::string& text, bool alphaMode,
                         const TRect& rect, UINT format, int sectionIndex, int state,
                         const SkinSource* manager);
// controlBgColor: the control's background colour, used when bg has none.
void ApplyDisabledLook(TBitmap* bitmap, uint8_t kind, TColor controlBgColor,
                       const BackgroundInfo& bg, const TPoint& offset);
// The bitmap is switched to pf32bit in place.
HICON IconFromBitmapTopLeftKey(TBitmap* bitmap);

// Resampling: dst becomes NewWidth x NewHeight, 32-bit; the source is
// switched to pf32bit.
void ResampleArgb(TBitmap* src, TBitmap* dst, int newWidth, int newHeight, ResampleFilter filter);

// Nine-slice painting.
void PaintMaskNineSlice(TBitmap* bitmap, const TRect& rect, const BackgroundInfo& bg,
                        const TsMaskData& mask, int state, bool cornersOnBackground);
void StretchMaskedPiece(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                        int srcH, TBitmap* dst, TBitmap* src, int maskOffset, bool isCentre);
void DrawMaskStateFrame(TBitmap* bitmap, const TPoint& point, int state, int mode,
                        const TsMaskData& mask, const BackgroundInfo& bg);
void MaskedFrameCopy(const TRect& dstRect, const TRect& srcRect, TBitmap* bitmap, TBitmap* src,
                     int mode, const TsMaskData& mask);
void CopyMaskedPieceFromMaster(const TRect& dstRect, const TRect& srcRect, TBitmap* dst,
                               const BackgroundInfo& bg, const TsMaskData& mask);

// Gradients.
void FillGradientArgb(TBitmap* bitmap, const TRect& rect, const TsGradArray& stops);
void FillGradientWithTexture(TBitmap* bitmap, const TRect& rect, const TsGradArray& stops,
                             TBitmap* texture, const TRect& texRect, uint8_t blend, uint8_t alpha);

// Section painting; a nil manager means the default skin.
void PaintSkinSection(int sectionIndex, const BackgroundInfo& bg, int state, const TRect& rect,
                      const TPoint& offset, TBitmap* bitmap, const SkinSource* manager = nullptr,
                      int patternIndex = -1, int hotPatternIndex = -1);
void PaintSectionBackground(int sectionIndex, const BackgroundInfo& bg, int state,
                            const TRect& rect, const TPoint& offset, TBitmap* bitmap,
                            const SkinSource* manager, int patternIndex, int hotPatternIndex,
                            TColor ownColor);
void PaintSectionAndMask(int sectionIndex, int maskIndex, int patternIndex,
                         const BackgroundInfo& bg, int state, const TRect& rect,
                         const TPoint& offset, TBitmap* bitmap, const SkinSource* manager);
void PaintSkinSectionToDC(int sectionIndex, const BackgroundInfo& bg, int state, const TRect& rect,
                          const TPoint& offset, HDC dc, const SkinSource* manager);
int PaintSkinSectionOverDC(TBitmap* bitmap, int sectionIndex, int fallbackIndex, int state,
                           const SkinSource* manager, const TRect& rect, TColor color, HDC dc);
void PlaceTexture(TBitmap* bitmap, TRect& rect, int placement, const TsMaskData& image);
void PlaceMaskedTexture(TBitmap* bitmap, TRect& rect, const BackgroundInfo& bg, int placement,
                        const TsMaskData& image);
