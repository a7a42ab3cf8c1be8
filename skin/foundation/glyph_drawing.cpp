#include "skin/foundation/glyph_drawing.h"

#include <algorithm>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/blend_kernels.h"
#include "skin/foundation/skin_source.h"
#include "skin/foundation/vl_geometry.h"
#include "widgets/graphics/canvas.h"
#include "widgets/rtl/object_model.h"

namespace {

GlyphFrameOrder OrderOfDefaultSource() {
  return DefaultSkinSource() != nullptr ? GlyphFrameOrder::Library : GlyphFrameOrder::Standard;
}

GlyphFrameOrder (*&OrderQuery())() {
  static GlyphFrameOrder (*query)() = OrderOfDefaultSource;
  return query;
}

// -1 when the state has no frame. A 4-bit strip is an old-style picture
// whose frames past the first never stand in for the hot state or for a
// missing pressed frame.
int GlyphFrameIndex(int state, int numGlyphs, bool enabled, int down, bool fourBit,
                    GlyphFrameOrder order) {
  const bool library = order == GlyphFrameOrder::Library && !fourBit;
  if (!enabled || state == kGlyphNormal) return 0;
  switch (state) {
    case kGlyphHot:
      return library ? 1 : 0;
    case kGlyphPressed: {
      const int frame = down + 2;
      if (frame < numGlyphs) return frame;
      return library ? std::min(1, numGlyphs - 1) : 0;
    }
    case kGlyphThird:
      return numGlyphs >= 3 ? 2 : 0;
    default:
      return -1;
  }
}

}  // namespace

void SetGlyphFrameOrderQuery(GlyphFrameOrder (*query)()) {
  OrderQuery() = query != nullptr ? query : OrderOfDefaultSource;
}

GlyphFrameOrder CurrentGlyphFrameOrder() {
  return OrderQuery()();
}

void DrawGlyphForState(TBitmap* glyph, TBitmap* dst, TRect rect, int numGlyphs, bool enabled,
                       int state, uint8_t blend, int down, bool reflected, GlyphFrameOrder order) {
  if (glyph == nullptr || dst == nullptr || glyph->Empty() || numGlyphs < 1) return;
  // The mirror below takes room the button gives the glyph, so the glyph
  // itself moves up a little.
  if (reflected) rect = OffsetRectBy(rect, 0, -(RectHeight(rect) / 8));
  if (numGlyphs == 1) state = kGlyphNormal;
  // Only the normal state of a disabled glyph is shown faded.
  if (state > kGlyphNormal) blend = 0;
  const int frame =
      GlyphFrameIndex(state, numGlyphs, enabled, down, glyph->PixelFormat() == pf4bit, order);
  if (frame < 0 || frame >= numGlyphs) return;

  auto copy = OwnObject(new TBitmap);
  copy->Assign(glyph);
  copy->SetPixelFormat(pf32bit);
  const int frameWidth = copy->Width() / numGlyphs;
  const int height = copy->Height();
  if (frameWidth < 1 || height < 1) return;
  // Read as a colour the key loses its alpha byte. Pixels converted from a
  // strip without alpha have alpha 0 and so match it; an opaque 32-bit strip
  // has no key colour at all and relies on its alpha.
  const TColor key = copy->Canvas()->Pixels(frame * frameWidth, height - 1);
  const TRect frameRect(frame * frameWidth, 0, frameWidth * (frame + 1) - 1, height - 1);

  const PixelView dstView = ArgbView(dst);
  const PixelView copyView = ArgbView(copy.get());
  if (enabled || blend == 0) {
    CopyGlyphExceptKey(dstView, copyView, rect.Left, rect.Top, frameRect,
                       static_cast<uint32_t>(key));
  } else {
    BlendCopyExceptKey(dstView, rect.Left, rect.Top, copyView, frameRect, blend, kFuchsia);
  }
  if (reflected) {
    rect = OffsetRectBy(rect, 0, RectHeight(rect));
    DrawFadingReflection(dstView, copyView, rect.TopLeft(), frameRect, static_cast<uint32_t>(key),
                         blend);
  }
}

void DrawGlyphForState(TBitmap* glyph, TBitmap* dst, const TRect& rect, int numGlyphs, bool enabled,
                       int state, uint8_t blend, int down, bool reflected) {
  DrawGlyphForState(glyph, dst, rect, numGlyphs, enabled, state, blend, down, reflected,
                    CurrentGlyphFrameOrder());
}

void DrawFadingReflection(const PixelView& dst, const PixelView& src, TPoint dstPoint,
                          TRect srcRect, uint32_t keyColor, int transparency) {
  if (!dst.Valid() || !src.Valid()) return;
  if (srcRect.Left < 0) {
    dstPoint.X -= srcRect.Left;
    srcRect.Left = 0;
  }
  if (srcRect.Top < 0) {
    dstPoint.Y -= srcRect.Top;
    srcRect.Top = 0;
  }
  srcRect.Right = std::min(srcRect.Right, src.Width - 1);
  srcRect.Bottom = std::min(srcRect.Bottom, src.Height - 1);
  if (srcRect.Right < srcRect.Left || srcRect.Bottom < srcRect.Top) return;

  const int rows = std::min((srcRect.Bottom - srcRect.Top + 1) / 3 * 2, dst.Height - dstPoint.Y);
  if (rows < 2) return;
  const uint32_t key = SwapRedBlueKeepTop(keyColor);
  // Two falls multiply: a straight ramp to zero over the rows, and a level
  // that sinks a little each row, so the far end of the mirror fades faster.
  int level = 255;
  const int levelStep = 255 / rows;
  for (int r = 0; r < rows; ++r) {
    const int ramp = (rows - 1 - r) * 255 / (rows - 1);
    const uint32_t weight = static_cast<uint8_t>((100 - transparency) * (ramp * level / 512) / 100);
    level -= levelStep;
    const int y = dstPoint.Y + r;
    if (y < 0 || y >= dst.Height || weight == 0) continue;
    const uint32_t* s = src.Row(srcRect.Bottom - r);
    uint32_t* d = dst.Row(y);
    for (int c = srcRect.Left; c <= srcRect.Right; ++c) {
      const int x = dstPoint.X + c - srcRect.Left;
      if (x < 0 || x >= dst.Width || s[c] == key) continue;
      // ((s - d) * weight + d * 256) shr 8 on the colour bytes.
      d[x] = blend::Lerp(d[x], s[c], 256u - weight, 0x00FFFFFFu);
    }
  }
}

void DrawFadingReflection(TBitmap* dst, TBitmap* src, const TPoint& dstPoint, const TRect& srcRect,
                          TColor keyColor, int transparency) {
  DrawFadingReflection(ArgbView(dst), ArgbView(src), dstPoint, srcRect,
                       static_cast<uint32_t>(keyColor), transparency);
}
