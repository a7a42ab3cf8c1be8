// Button glyphs from multi-frame strips: several state images of equal width
// side by side, each frame's bottom-left pixel giving its transparent colour;
// and the fading mirror image a glyph may cast below itself.
#pragma once

#include <cstdint>

#include "skin/foundation/pixel_view.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/sysutils.h"

// Button states as the glyph painters number them.
constexpr int kGlyphNormal = 0;
constexpr int kGlyphHot = 1;
constexpr int kGlyphPressed = 2;
constexpr int kGlyphThird = 3;

// Which frame of a strip holds which state. The library's own order keeps
// the hot image in frame 1 and the pressed ones in frames 2 and 3, and a
// strip too short for its pressed frame shows the hot one instead; the
// standard order has no hot frame and falls back to the normal one. Strips
// are read the standard way while no skin manager exists.
enum class GlyphFrameOrder { Standard, Library };

// The order the default skin manager asks for. The painters sit below the
// manager, so the manager's layer installs the query; until then a default
// skin source means the library order. Nil restores that default.
void SetGlyphFrameOrderQuery(GlyphFrameOrder (*query)());
GlyphFrameOrder CurrentGlyphFrameOrder();

// Draws the frame of `glyph` for `state` at rect.TopLeft of the 32-bit `dst`.
// Enabled glyphs and glyphs in a state above normal are copied except the
// frame's key colour (and take the source pixels' alpha); a disabled glyph in
// the normal state with a blend level is mixed in, the destination keeping
// blend/255 of its colour, only clFuchsia being left out. Reflected draws the
// glyph rect.Height/8 higher and a mirror of it below, `blend` percent
// transparent. The glyph itself is not changed.
void DrawGlyphForState(TBitmap* glyph, TBitmap* dst, TRect rect, int numGlyphs, bool enabled,
                       int state, uint8_t blend, int down, bool reflected, GlyphFrameOrder order);
// The same in the order CurrentGlyphFrameOrder answers.
void DrawGlyphForState(TBitmap* glyph, TBitmap* dst, const TRect& rect, int numGlyphs, bool enabled,
                       int state, uint8_t blend, int down, bool reflected);

// A mirror image of srcRect (inclusive) that fades downwards from dstPoint:
// two thirds of the piece's height, its bottom row first, each row weaker
// than the one above. Source pixels equal to keyColor (a TColor, compared as
// a pixel with its top byte) are left out; the destination alpha stays.
// Transparency is a percentage; nothing is drawn when fewer than two rows fit.
void DrawFadingReflection(const PixelView& dst, const PixelView& src, TPoint dstPoint,
                          TRect srcRect, uint32_t keyColor, int transparency);
void DrawFadingReflection(TBitmap* dst, TBitmap* src, const TPoint& dstPoint, const TRect& srcRect,
                          TColor keyColor, int transparency);
