#include "skin/foundation/bitmap_painters.h"

#include <algorithm>

#include "skin/foundation/blend.h"
#include "skin/foundation/dib_surface.h"
#include "skin/foundation/gradient.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/section_paint.h"
#include "skin/foundation/texture_place.h"
#include "widgets/graphics/gdi_handles.h"

namespace {
inline uint32_t U(TColor c) {
  return static_cast<uint32_t>(c);
}
inline POINT P(const TPoint& p) {
  return POINT{p.X, p.Y};
}
void Force32(TBitmap* b) {
  if (b != nullptr && b->PixelFormat() != pf32bit) b->SetPixelFormat(pf32bit);
}
}  // namespace

void ForEachPixelExceptKey(TBitmap* bitmap, PixelProc proc, int32_t data, TColor keyColor) {
  ForEachPixelExceptKey(ArgbView(bitmap), proc, data, U(keyColor));
}
void GrayscaleArgb(TBitmap* bitmap) {
  GrayscaleArgb(ArgbView(bitmap));
}
void GrayscaleArgbExceptKey(TBitmap* bitmap, TColor keyValue) {
  GrayscaleArgbExceptKey(ArgbView(bitmap), U(keyValue));
}

void BlendBitmapToColor(TBitmap* bitmap, uint8_t keep, TColor color) {
  BlendBitmapToColor(ArgbView(bitmap), keep, U(color));
}
void BlendColorThroughMask(TBitmap* bitmap, TBitmap* mask, TColor color) {
  BlendColorThroughMask(ArgbView(bitmap), ArgbView(mask), U(color));
}
void MixBitmaps(TBitmap* dst, TBitmap* src, uint8_t keep) {
  MixBitmaps(ArgbView(dst), ArgbView(src), keep);
}
void BlendBitmapRect(TBitmap* dst, TBitmap* src, uint8_t keep, const TRect& srcRect,
                     const TPoint& dstPoint) {
  BlendBitmapRect(ArgbView(dst), ArgbView(src), keep, srcRect, P(dstPoint));
}
void BlendCopyExceptKey(TBitmap* dst, int x, int y, TBitmap* src, const TRect& srcRect,
                        uint8_t keep, TColor keyColor) {
  BlendCopyExceptKey(ArgbView(dst), x, y, ArgbView(src), srcRect, keep, U(keyColor));
}
void AlphaBlendArgb(const TRect& dstRect, const TRect& srcRect, TBitmap* dst, TBitmap* src,
                    const BackgroundInfo& bg, bool fillHoles) {
  AlphaBlendArgb(dstRect, srcRect, ArgbView(dst), ArgbView(src), ToBackgroundView(bg), fillHoles);
}
void AlphaCopyArgb(const TRect& dstRect, const TRect& srcRect, TBitmap* dst, TBitmap* src,
                   const BackgroundInfo& bg, bool fillHoles, TColor tintColor, int transparency,
                   bool reflected) {
  Force32(src);
  AlphaCopyArgb(dstRect, srcRect, ArgbView(dst), ArgbView(src), ToBackgroundView(bg), fillHoles,
                U(tintColor), transparency, reflected);
}
void CopyMaskedPiece(const TRect& dstRect, const TRect& srcRect, TBitmap* dst, TBitmap* src,
                     const BackgroundInfo& bg, bool fillHoles, const TsMaskData& mask) {
  CopyMaskedPiece(dstRect, srcRect, ArgbView(dst), ArgbView(src), ToBackgroundView(bg), fillHoles,
                  mask);
}
void CopyBitmapExceptKey(TBitmap* dst, TBitmap* src, int x, int y, TColor keyColor) {
  CopyBitmapExceptKey(ArgbView(dst), ArgbView(src), x, y, U(keyColor));
}
void CopyPieceExceptKey(TBitmap* dst, TBitmap* src, int x, int y, const TRect& srcRect,
                        uint32_t keyValue, const BackgroundInfo& bg, bool fillHoles) {
  CopyPieceExceptKey(ArgbView(dst), ArgbView(src), x, y, srcRect, keyValue, ToBackgroundView(bg),
                     fillHoles);
}
void CopyGlyphExceptKey(TBitmap* dst, TBitmap* src, int x, int y, const TRect& srcRect,
                        TColor keyColor, const BackgroundInfo&) {
  CopyGlyphExceptKey(ArgbView(dst), ArgbView(src), x, y, srcRect, U(keyColor));
}
void CrossFadeBitmaps(TBitmap* dst, TBitmap* a, TBitmap* b, TBitmap* mask, uint8_t level) {
  CrossFadeBitmaps(ArgbView(dst), ArgbView(a), ArgbView(b), ArgbView(mask), level);
}

void DrawArgbOnCanvas(TCanvas* canvas, TBitmap* bitmap, const TRect& rect, bool reflected) {
  if (canvas == nullptr || bitmap == nullptr || bitmap->Empty()) return;
  if (bitmap->PixelFormat() != pf32bit) {
    canvas->StretchDraw(rect, bitmap);
    return;
  }
  const int w = rect.Width(), h = rect.Height();
  const bool sameSize = w == bitmap->Width() && h == bitmap->Height();
  DibSurface work(w, h + (reflected ? h / 2 : 0));
  if (!work.Valid()) return;
  HDC dc = canvas->Handle();
  BitBlt(work.DC(), 0, 0, w, work.View().Height, dc, rect.Left, rect.Top, SRCCOPY);
  GdiFlush();
  const RECT all = MakeRECT(0, 0, w, h);
  if (sameSize) {
    AlphaCopyArgb(all, all, work.View(), ArgbView(bitmap), BackgroundView{}, false, kNoColor, 0,
                  reflected);
  } else {
    // Nearest-pixel stretch of colour and alpha alike, then the alpha copy.
    PixelBuffer stretched(w, h);
    StretchPixels(stretched.View(), 0, 0, w, h, ArgbView(bitmap), 0, 0, bitmap->Width(),
                  bitmap->Height());
    AlphaCopyArgb(all, all, work.View(), stretched.View(), BackgroundView{}, false, kNoColor, 0,
                  false);
  }
  BitBlt(dc, rect.Left, rect.Top, w, work.View().Height, work.DC(), 0, 0, SRCCOPY);
}

uint32_t GetArgbPixel(TBitmap* bitmap, int x, int y) {
  return GetArgbPixel(ArgbView(bitmap), x, y);
}
void SetArgbPixel(TBitmap* bitmap, int x, int y, uint32_t value) {
  SetArgbPixel(ArgbView(bitmap), x, y, value);
}
void FillRectArgb(TBitmap* bitmap, const TRect& rect, TColor color, uint8_t alpha) {
  FillRectArgb(ArgbView(bitmap), rect, U(color), alpha);
}
void FillFrameArgb(TBitmap* bitmap, const TRect& rect, int left, int top, int right, int bottom,
                   TColor color) {
  FillFrameArgb(ArgbView(bitmap), rect, left, top, right, bottom, U(color));
}
void MixRectWithColor(TBitmap* bitmap, const TRect& rect, uint8_t keep, TColor color) {
  MixRectWithColor(ArgbView(bitmap), rect, keep, U(color));
}
void TintRectArgb(TBitmap* bitmap, const TRect& rect, TColor color, int percent, uint8_t alpha) {
  TintRectArgb(ArgbView(bitmap), rect, U(color), percent, alpha);
}
void SetAlphaInRect(TBitmap* bitmap, const TRect& rect, uint8_t alpha, uint32_t keyValue) {
  SetAlphaInRect(ArgbView(bitmap), rect, alpha, keyValue);
}
void SetOpaque(TBitmap* bitmap) {
  const PixelView v = ArgbView(bitmap);
  SetAlphaInRect(v, RECT{0, 0, v.Width, v.Height}, 255, kNoColor);
}
void ClearWhitePixels(TBitmap* bitmap) {
  ClearWhitePixels(ArgbView(bitmap));
}

namespace {
bool PlatformComposition() {
  using Fn = HRESULT(WINAPI*)(BOOL*);
  static TOwnedModule dwm(LoadLibraryA("dwmapi.dll"));
  static Fn fn = dwm ? reinterpret_cast<Fn>(reinterpret_cast<void*>(
                           GetProcAddress(dwm.Get(), "DwmIsCompositionEnabled")))
                     : nullptr;
  BOOL on = FALSE;
  return fn != nullptr && SUCCEEDED(fn(&on)) && on;
}
bool (*&CompositionQuery())() {
  static bool (*query)() = PlatformComposition;
  return query;
}
}  // namespace

void SetCompositionQuery(bool (*query)()) {
  CompositionQuery() = query != nullptr ? query : PlatformComposition;
}
bool PainterCompositionEnabled() {
  return CompositionQuery()();
}
void PremultiplyAlpha(TBitmap* bitmap) {
  PremultiplyAlpha(ArgbView(bitmap), PainterCompositionEnabled());
}
void PremultiplyAlphaInRect(TBitmap* bitmap, const TRect& rect) {
  PremultiplyAlphaInRect(ArgbView(bitmap), rect, PainterCompositionEnabled());
}
void FillCornerFromBackground(TBitmap* dst, TBitmap* src, const TRect& rect, const TPoint& srcPoint,
                              int maskIndex, const SkinSource* manager, int corner) {
  FillCornerFromBackground(ArgbView(dst), ArgbView(src), rect, P(srcPoint), maskIndex,
                           manager != nullptr ? manager : DefaultSkinSource(), corner);
}
void DrawTextArgb(TBitmap* bitmap, const std::string& text, bool alphaMode, const TRect& rect,
                  UINT format, TColor color, bool plain) {
  if (bitmap == nullptr) return;
  DrawTextArgb(ArgbView(bitmap), bitmap->Canvas()->Font()->Handle(), text, alphaMode, rect, format,
               U(color), plain);
}
void DrawSectionTextArgb(TBitmap* bitmap, const std::string& text, bool alphaMode,
                         const TRect& rect, UINT format, int sectionIndex, int state,
                         const SkinSource* manager) {
  if (bitmap == nullptr) return;
  TFont* font = bitmap->Canvas()->Font();
  DrawSectionTextArgb(ArgbView(bitmap), font->Handle(), U(ColorToRGB(font->Color())), text,
                      alphaMode, rect, format, sectionIndex, state, manager);
}
void ApplyDisabledLook(TBitmap* bitmap, uint8_t kind, TColor controlBgColor,
                       const BackgroundInfo& bg, const TPoint& offset) {
  ApplyDisabledLook(ArgbView(bitmap), kind, ToBackgroundView(bg), P(offset),
                    U(ColorToRGB(controlBgColor)));
}
HICON IconFromBitmapTopLeftKey(TBitmap* bitmap) {
  Force32(bitmap);
  return IconFromBitmapTopLeftKey(ArgbView(bitmap));
}

void ResampleArgb(TBitmap* src, TBitmap* dst, int newWidth, int newHeight, ResampleFilter filter) {
  if (src == nullptr || dst == nullptr || newHeight == 0 || newWidth <= 0 || newHeight < 0) return;
  if (src->Width() <= 1 || src->Height() <= 1) return;
  if (newWidth == src->Width() && newHeight == src->Height()) {
    if (dst != src) dst->Assign(src);
    return;
  }
  Force32(src);
  dst->SetHandleType(bmDIB);
  dst->SetPixelFormat(pf32bit);
  dst->SetSize(newWidth, newHeight);
  ResampleArgb(ArgbView(src), ArgbView(dst), filter);
}

void PaintMaskNineSlice(TBitmap* bitmap, const TRect& rect, const BackgroundInfo& bg,
                        const TsMaskData& mask, int state, bool cornersOnBackground) {
  PaintMaskNineSlice(ArgbView(bitmap), rect, ToBackgroundView(bg), mask, state,
                     cornersOnBackground);
}
void StretchMaskedPiece(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                        int srcH, TBitmap* dst, TBitmap* src, int maskOffset, bool isCentre) {
  StretchMaskedPiece(dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, ArgbView(dst), ArgbView(src),
                     maskOffset, isCentre);
}
void DrawMaskStateFrame(TBitmap* bitmap, const TPoint& point, int state, int mode,
                        const TsMaskData& mask, const BackgroundInfo& bg) {
  DrawMaskStateFrame(ArgbView(bitmap), P(point), state, mode, mask, ToBackgroundView(bg));
}
void MaskedFrameCopy(const TRect& dstRect, const TRect& srcRect, TBitmap* bitmap, TBitmap* src,
                     int mode, const TsMaskData& mask) {
  MaskedFrameCopy(dstRect, srcRect, ArgbView(bitmap), ArgbView(src), mode, mask);
}
void CopyMaskedPieceFromMaster(const TRect& dstRect, const TRect& srcRect, TBitmap* dst,
                               const BackgroundInfo& bg, const TsMaskData& mask) {
  CopyMaskedPieceFromMaster(dstRect, srcRect, ArgbView(dst), ToBackgroundView(bg), mask);
}

void FillGradientArgb(TBitmap* bitmap, const TRect& rect, const TsGradArray& stops) {
  FillGradientArgb(ArgbView(bitmap), rect, stops);
}
void FillGradientWithTexture(TBitmap* bitmap, const TRect& rect, const TsGradArray& stops,
                             TBitmap* texture, const TRect& texRect, uint8_t blend, uint8_t alpha) {
  FillGradientWithTexture(ArgbView(bitmap), rect, stops, ArgbView(texture), texRect, blend, alpha);
}

void PaintSkinSection(int sectionIndex, const BackgroundInfo& bg, int state, const TRect& rect,
                      const TPoint& offset, TBitmap* bitmap, const SkinSource* manager,
                      int patternIndex, int hotPatternIndex) {
  PaintSkinSection(manager, sectionIndex, ToBackgroundView(bg), state, rect, P(offset),
                   ArgbView(bitmap), patternIndex, hotPatternIndex);
}
void PaintSectionBackground(int sectionIndex, const BackgroundInfo& bg, int state,
                            const TRect& rect, const TPoint& offset, TBitmap* bitmap,
                            const SkinSource* manager, int patternIndex, int hotPatternIndex,
                            TColor ownColor) {
  PaintSectionBackground(manager, sectionIndex, ToBackgroundView(bg), state, rect, P(offset),
                         ArgbView(bitmap), patternIndex, hotPatternIndex, U(ownColor));
}
void PaintSectionAndMask(int sectionIndex, int maskIndex, int patternIndex,
                         const BackgroundInfo& bg, int state, const TRect& rect,
                         const TPoint& offset, TBitmap* bitmap, const SkinSource* manager) {
  PaintSectionAndMask(manager, sectionIndex, maskIndex, patternIndex, ToBackgroundView(bg), state,
                      rect, P(offset), ArgbView(bitmap));
}
void PaintSkinSectionToDC(int sectionIndex, const BackgroundInfo& bg, int state, const TRect& rect,
                          const TPoint& offset, HDC dc, const SkinSource* manager) {
  PaintSkinSectionToDC(manager, sectionIndex, ToBackgroundView(bg), state, rect, P(offset), dc);
}
int PaintSkinSectionOverDC(TBitmap* bitmap, int sectionIndex, int fallbackIndex, int state,
                           const SkinSource* manager, const TRect& rect, TColor color, HDC dc) {
  return PaintSkinSectionOverDC(ArgbView(bitmap), sectionIndex, fallbackIndex, state, manager, rect,
                                U(color), dc);
}
void PlaceTexture(TBitmap* bitmap, TRect& rect, int placement, const TsMaskData& image) {
  RECT r = rect;
  PlaceTexture(ArgbView(bitmap), r, placement, image);
  rect = r;
}
void PlaceMaskedTexture(TBitmap* bitmap, TRect& rect, const BackgroundInfo& bg, int placement,
                        const TsMaskData& image) {
  RECT r = rect;
  PlaceMaskedTexture(ArgbView(bitmap), r, ToBackgroundView(bg), placement, image);
  rect = r;
}
