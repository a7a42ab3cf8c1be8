// Direct pixel work on 32-bit work images: single pixels, rectangle fills and
// tints, alpha, premultiplication for per-pixel-alpha layered windows, text
// with coverage turned into alpha, corner holes filled from a background, the
// disabled look and icons from images with a key colour.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "skin/foundation/background_view.h"
#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_const.h"  // the TsDisabledKind bits

class DibSurface;
class SkinSource;

constexpr int DisabledBlendLevel = 100;
constexpr int DisabledGraySaturation = -90;

// Out-of-range positions read 0 and are not written.
uint32_t GetArgbPixel(const PixelView& bitmap, int x, int y);
void SetArgbPixel(const PixelView& bitmap, int x, int y, uint32_t value);

uint32_t ByteSwap32(uint32_t v);
void ByteSwapArray32(uint32_t* p, int count);
void FillPixels32(uint32_t* p, int count, uint32_t value);

void FillRectArgb(const PixelView& bitmap, RECT rect, uint32_t color, uint8_t alpha);
void FillFrameArgb(const PixelView& bitmap, RECT rect, int left, int top, int right, int bottom,
                   uint32_t color);
// Right and Bottom are inclusive here.
void MixRectWithColor(const PixelView& bitmap, RECT rect, uint8_t keep, uint32_t color);
void TintRectArgb(const PixelView& bitmap, RECT rect, uint32_t color, int percent, uint8_t alpha);
void SetAlphaInRect(const PixelView& bitmap, RECT rect, uint8_t alpha, uint32_t keyValue);
void ClearWhitePixels(const PixelView& bitmap);
void PremultiplyAlphaInRect(const PixelView& bitmap, RECT rect, bool compositionEnabled);
void PremultiplyAlpha(const PixelView& bitmap, bool compositionEnabled);

// Corner: 14 top-right, 16 bottom-left, 17 bottom-right, other top-left.
void FillCornerFromBackground(const PixelView& dst, const PixelView& src, RECT rect, POINT srcPoint,
                              int maskIndex, const SkinSource* source, int corner);

// Text into a 32-bit image in the given font; black-on-white coverage of a
// scratch image becomes colour (and alpha, in AlphaMode).
void DrawTextArgb(const PixelView& bitmap, HFONT font, const std::string& text, bool alphaMode,
                  RECT rect, UINT format, uint32_t color, bool plain);
// A scratch image for DrawTextArgb kept between calls: it grows to the
// largest text box drawn and keeps the last font selected, so a caller that
// draws many runs makes one image and selects a font only when it changes.
class TextScratch {
 public:
  TextScratch();
  ~TextScratch();
  TextScratch(const TextScratch&) = delete;
  TextScratch& operator=(const TextScratch&) = delete;

  // The DC of an image of at least Width x Height holding Font; null when
  // the image cannot be made or would be too large to keep.
  HDC Prepare(int Width, int Height, HFONT Font);
  const PixelView& View() const;
  // Selects the font out again: before the caller deletes the last font.
  void ReleaseFont();

 private:
  std::unique_ptr<DibSurface> surface_;
  HFONT font_ = nullptr;
  HGDIOBJ defaultFont_ = nullptr;
};
// DrawTextArgb through a kept scratch image; the same pixels.
void DrawTextArgb(const PixelView& bitmap, HFONT font, const std::string& text, bool alphaMode,
                  RECT rect, UINT format, uint32_t color, bool plain, TextScratch& scratch);
// The same in the colours of a section state, contours first.
void DrawSectionTextArgb(const PixelView& bitmap, HFONT font, uint32_t canvasFontColor,
                         const std::string& text, bool alphaMode, RECT rect, UINT format,
                         int sectionIndex, int state, const SkinSource* source);

// controlBgColor stands in when the background colour is clFuchsia.
void ApplyDisabledLook(const PixelView& bitmap, uint8_t kind, const BackgroundView& bg,
                       POINT offset, uint32_t controlBgColor);

// A new icon whose transparent pixels are those equal to pixel (0, 0); the
// caller destroys it. Key pixels are cleared to 0, and an image without any
// alpha gets alpha 0 under the mask and 255 elsewhere.
HICON IconFromBitmapTopLeftKey(const PixelView& bitmap);
