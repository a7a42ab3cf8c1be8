// Where a button puts its glyph and its caption: by layout (glyph left of,
// right of, above or below the caption), horizontal alignment, vertical
// alignment, margin and spacing, -1 meaning automatic for the last two.
#pragma once

#include <cstdint>

#include "widgets/rtl/sysutils.h"

// Layouts: where the glyph stands beside the caption.
constexpr uint8_t kGlyphLeft = 0;
constexpr uint8_t kGlyphRight = 1;
constexpr uint8_t kGlyphTop = 2;
constexpr uint8_t kGlyphBottom = 3;
// Alignments along a row of glyph and caption.
constexpr uint8_t kAlignLeft = 0;
constexpr uint8_t kAlignRight = 1;
constexpr uint8_t kAlignCenter = 2;
// Vertical alignments; any value above 2 centres as well.
constexpr uint8_t kVAlignTop = 0;
constexpr uint8_t kVAlignBottom = 1;
constexpr uint8_t kVAlignCenter = 2;
// Flags: the control reads right to left, so the glyph changes sides.
constexpr int kGlyphLayoutRightToLeft = 2;

// glyphPos: the glyph's top-left corner; textRect: the caption's rectangle,
// both in the coordinates of `client`. Margin is the distance of the
// glyph-and-caption block from the edge it is aligned to (and from the top
// or bottom when aligned vertically), Spacing the gap between glyph and
// caption; a glyph or caption of width 0 leaves no gap.
void CalcGlyphCaptionLayout(const TRect& client, TSize glyphSize, TSize textSize, uint8_t layout,
                            uint8_t alignment, int margin, int spacing, TPoint& glyphPos,
                            TRect& textRect, int flags, uint8_t verticalAlignment);
