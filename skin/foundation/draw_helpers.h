// The small drawing operations the whole library shares: window regions cut
// out of key-colour pixels, solid fills and border bands, border and
// nine-piece copies between device contexts, the small arrows, bevel and
// dotted frames, clip-out of graphic children, a soft-edged rounded panel, a
// three-pixel blur of 32-bit images and PNG files into 32-bit bitmaps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"
#include "widgets/graphics/gdi_handles.h"

class TBitmap;
class TCanvas;
class TStream;
class TWinControl;

using TRects = std::vector<RECT>;

// Arrow directions.
constexpr int kArrowLeft = 0;
constexpr int kArrowUp = 1;
constexpr int kArrowRight = 2;
constexpr int kArrowDown = 3;

// ---- Regions

// Runs of pixels whose whole 32-bit value is the key, as one-row rectangles,
// row by row. The key is compared as given (red and blue not exchanged), so
// only a key pixel with alpha 0 is a hole.
void CollectKeyColorRuns(TRects& rects, const PixelView& bitmap, uint32_t keyColor);
// The bitmap's rectangle less its key-colour runs; the caller owns the region.
TOwnedRegion RegionFromBitmap(const PixelView& bitmap, uint32_t keyColor);
// The holes of a border image's corners (state frame 0) as one-row
// rectangles of a window `width` wide, the top rows at `y`, or with `bottom`
// the bottom rows. Nothing when the image has no pixels or is too short.
void AddTransparentCornerRects(TRects& rects, int width, const TsMaskData& mask, int y,
                               bool bottom);

// ---- Fills and copies between device contexts

void PaintSolidRect(HDC dc, RECT rect, uint32_t color);
// Bands left, top, right and bottom wide along the inside of rect.
void PaintBorderBands(HDC dc, RECT rect, int left, int top, int right, int bottom, uint32_t color);
// The border strips of a rectangle, copied from the same place of the source.
void BlitBorderFrame(HDC dstDC, int x, int y, int width, int height, HDC srcDC, int srcX, int srcY,
                     int borderWidth);
// Nine-piece copy of srcRect into dstRect. Limits cap the painted border
// sizes; modes (per side, 0 tiled, 1 stretched) say how the edges fill.
void BlitNineSlice(TBitmap* dst, TBitmap* src, RECT dstRect, RECT srcRect, RECT borders,
                   RECT limits, RECT modes, bool stretchCentre, bool fill);
// Leaves the visible graphic (windowless) children of parent out of the clip.
void ExcludeGraphicChildRects(HDC dc, TWinControl* parent, int x, int y);

// ---- Arrows and frames

// A filled arrow written straight into a 32-bit image: the colour with red
// and blue exchanged, its top byte as alpha. Nothing when it would not fit.
void DrawArrowArgb(const PixelView& bitmap, uint32_t color, RECT rect, int direction);
// The same kind of arrow, one pixel larger on each side, set pixel by pixel.
void DrawArrowOnCanvas(TCanvas* canvas, uint32_t color, RECT rect, int direction);
// `width` nested one-pixel frames; rect ends as the area inside them and
// width as 0. bottomRightColor is an RGB value, topLeftColor may be a
// system colour.
void DrawBevelFrame(HDC dc, RECT& rect, uint32_t topLeftColor, uint32_t bottomRightColor,
                    int& width);
// Dots every second pixel along the frame, each with a shadow dot beside it;
// clNone leaves out the dots of that colour.
void PaintDottedFrame(TCanvas* canvas, RECT rect, uint32_t shadowColor, uint32_t color);

// ---- 32-bit images

// A translucent rounded panel of `color` with soft edges over the bitmap's
// pixels in rect.
void PaintSoftRoundRect(TBitmap* bitmap, RECT rect, int transparency, uint32_t color, int edgeWidth,
                        int radius);
// Three-pixel average of every row, then every column; nearly transparent
// neighbours lend no alpha and borrow their colour from a neighbour.
void BoxBlurArgb(const PixelView& bitmap);

// A PNG file or stream as a 32-bit bitmap with alpha; the reader's errors
// propagate.
void LoadPngFileToBitmap(TBitmap* bitmap, const std::string& fileName);
void LoadPngStreamToBitmap(TBitmap* bitmap, TStream& stream);
