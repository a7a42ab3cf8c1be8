#include "skin/foundation/glyph_layout.h"

#include <algorithm>

#include "skin/foundation/vl_geometry.h"

namespace {

// The margin along the row of glyph and caption. Changes spacing where the
// automatic spacing shares out the free room.
int MainMargin(int margin, int& spacing, int clientSize, int glyphSize, int textSize,
               uint8_t alignment, uint8_t verticalAlignment) {
  if (margin == -1 && spacing == -1) {
    // Margin, gap and the room left over come out equal.
    spacing = (clientSize - glyphSize - textSize) / 3;
    return spacing;
  }
  if (margin == -1) {
    if (verticalAlignment < kVAlignCenter) return 2;
    if (verticalAlignment > kVAlignCenter) return -1;
    if (alignment != kAlignCenter) return 2;
    return (clientSize - (spacing + glyphSize + textSize)) / 2;
  }
  if (spacing == -1) spacing = (clientSize - margin - glyphSize - textSize) / 2;
  return margin;
}

}  // namespace

void CalcGlyphCaptionLayout(const TRect& client, TSize glyphSize, TSize textSize, uint8_t layout,
                            uint8_t alignment, int margin, int spacing, TPoint& glyphPos,
                            TRect& textRect, int flags, uint8_t verticalAlignment) {
  if ((flags & kGlyphLayoutRightToLeft) != 0) {
    if (layout == kGlyphLeft) {
      layout = kGlyphRight;
    } else if (layout == kGlyphRight) {
      layout = kGlyphLeft;
    }
  }
  const int w = RectWidth(client);
  const int h = RectHeight(client);
  const bool sideBySide = layout == kGlyphLeft || layout == kGlyphRight;
  const bool stacked = layout == kGlyphTop || layout == kGlyphBottom;
  textRect = TRect(0, 0, textSize.cx, textSize.cy);
  TPoint glyph(0, 0);
  TPoint text(0, 0);

  // Across the row everything is centred.
  if (sideBySide) {
    glyph.Y = (h - glyphSize.cy + 1) / 2;
    text.Y = (h + 1 - textSize.cy) / 2;
  } else if (stacked) {
    glyph.X = (w - glyphSize.cx + 1) / 2;
    text.X = (w + 1 - textSize.cx) / 2;
  }

  if (textSize.cx == 0 || glyphSize.cx == 0) spacing = 0;
  const int m =
      sideBySide
          ? MainMargin(margin, spacing, w, glyphSize.cx, textSize.cx, alignment, verticalAlignment)
          : MainMargin(margin, spacing, h, glyphSize.cy, textSize.cy, alignment, verticalAlignment);

  switch (layout) {
    case kGlyphLeft:
      if (alignment == kAlignLeft) {
        if (glyphSize.cx != 0) {
          glyph.X = m;
          text.X = m + glyphSize.cx + spacing;
          // The caption may use the row up to the margin at the right. The
          // rectangle is still relative to the client here, so its right
          // edge comes from the client's width: the client's Right would
          // push it past the client by the client's left edge.
          textRect.Right = w - m - text.X;
        } else {
          text.X = m;
          textRect.Right = m + textSize.cx;
        }
      } else if (alignment == kAlignRight) {
        text.X = w - m - textSize.cx;
        glyph.X = text.X - spacing - glyphSize.cx;
      } else if (alignment == kAlignCenter) {
        glyph.X = std::max((w - textSize.cx - spacing - glyphSize.cx) / 2, m);
        text.X = glyph.X + glyphSize.cx + spacing;
      }
      break;
    case kGlyphRight:
      if (alignment == kAlignLeft) {
        text.X = m;
        glyph.X = m + textSize.cx + spacing;
      } else if (alignment == kAlignRight) {
        glyph.X = w - m - glyphSize.cx;
        textRect.Right = glyph.X - spacing;
        text.X = 0;
      } else if (alignment == kAlignCenter) {
        text.X = (w - textSize.cx - spacing - glyphSize.cx) / 2;
        glyph.X = text.X + textSize.cx + spacing;
      }
      break;
    case kGlyphTop:
      glyph.Y = (h - glyphSize.cy - spacing - textSize.cy) / 2;
      text.Y = glyph.Y + glyphSize.cy + spacing;
      break;
    case kGlyphBottom:
      glyph.Y = h - glyphSize.cy - (h - glyphSize.cy - spacing - textSize.cy) / 2;
      text.Y = glyph.Y - spacing - textSize.cy;
      break;
    default:
      break;
  }

  glyphPos = TPoint(glyph.X + client.Left, glyph.Y + client.Top);
  textRect = OffsetRectBy(textRect, text.X + client.Left, text.Y + client.Top);

  // A glyph above or below its caption moves with it as one block.
  auto moveBoth = [&](int dy) {
    glyphPos.Y += dy;
    textRect = OffsetRectBy(textRect, 0, dy);
  };
  const int v = std::max(0, margin);
  if (verticalAlignment == kVAlignTop) {
    // Measured from the client's top, as every other position here.
    const int top = client.Top + v;
    if (sideBySide) {
      glyphPos.Y = top;
      textRect = OffsetRectBy(textRect, 0, top - textRect.Top);
    } else if (layout == kGlyphTop) {
      moveBoth(top - glyphPos.Y);
    } else if (layout == kGlyphBottom) {
      moveBoth(top - textRect.Top);
    }
  } else if (verticalAlignment == kVAlignBottom) {
    const int bottom = client.Bottom - v;
    if (sideBySide) {
      glyphPos.Y = bottom - glyphSize.cy;
      textRect = OffsetRectBy(textRect, 0, bottom - textRect.Bottom);
    } else if (layout == kGlyphTop) {
      moveBoth(bottom - textRect.Bottom);
    } else if (layout == kGlyphBottom) {
      moveBoth(bottom - (glyphPos.Y + glyphSize.cy));
    }
  }
}
