// Where glyph and caption go: layouts, alignments, automatic margin and
// spacing, right-to-left, vertical alignment and clients away from (0, 0).
#include <gtest/gtest.h>

#include <ostream>

#include "skin/foundation/glyph_layout.h"

namespace {

struct LayoutCase {
  const char* name;
  TRect client;
  TSize glyph;
  TSize text;
  uint8_t layout;
  uint8_t alignment;
  int margin;
  int spacing;
  int flags;
  uint8_t vAlign;
  TPoint glyphPos;
  TRect textRect;
};

constexpr TRect kClient(0, 0, 100, 40);
constexpr TSize kGlyph(16, 16);
constexpr TSize kText(30, 10);
constexpr int kRtl = kGlyphLayoutRightToLeft;
constexpr uint8_t kL = kGlyphLeft, kR = kGlyphRight, kT = kGlyphTop, kB = kGlyphBottom;
constexpr uint8_t kAL = kAlignLeft, kAR = kAlignRight, kAC = kAlignCenter;
constexpr uint8_t kVT = kVAlignTop, kVB = kVAlignBottom, kVC = kVAlignCenter;

// Client 100 x 40, glyph 16 x 16, caption 30 x 10 unless a case says
// otherwise. Side by side the glyph's top is (40 - 16 + 1) div 2 = 12 and the
// caption's (40 + 1 - 10) div 2 = 15; stacked the glyph's left is 42 and the
// caption's 35.
const LayoutCase kCases[] = {
    // Each layout and alignment, margin 4, spacing 3.
    {"left, left", kClient, kGlyph, kText, kL, kAL, 4, 3, 0, kVC, {4, 12}, {23, 15, 96, 25}},
    {"left, right", kClient, kGlyph, kText, kL, kAR, 4, 3, 0, kVC, {47, 12}, {66, 15, 96, 25}},
    {"left, centre", kClient, kGlyph, kText, kL, kAC, 4, 3, 0, kVC, {25, 12}, {44, 15, 74, 25}},
    {"right, left", kClient, kGlyph, kText, kR, kAL, 4, 3, 0, kVC, {37, 12}, {4, 15, 34, 25}},
    {"right, right", kClient, kGlyph, kText, kR, kAR, 4, 3, 0, kVC, {80, 12}, {0, 15, 77, 25}},
    {"right, centre", kClient, kGlyph, kText, kR, kAC, 4, 3, 0, kVC, {58, 12}, {25, 15, 55, 25}},
    // Stacked layouts centre the block whatever the alignment.
    {"top, left", kClient, kGlyph, kText, kT, kAL, 4, 3, 0, kVC, {42, 5}, {35, 24, 65, 34}},
    {"top, right", kClient, kGlyph, kText, kT, kAR, 4, 3, 0, kVC, {42, 5}, {35, 24, 65, 34}},
    {"top, centre", kClient, kGlyph, kText, kT, kAC, 4, 3, 0, kVC, {42, 5}, {35, 24, 65, 34}},
    {"bottom, left", kClient, kGlyph, kText, kB, kAL, 4, 3, 0, kVC, {42, 19}, {35, 6, 65, 16}},
    {"bottom, right", kClient, kGlyph, kText, kB, kAR, 4, 3, 0, kVC, {42, 19}, {35, 6, 65, 16}},
    {"bottom, centre", kClient, kGlyph, kText, kB, kAC, 4, 3, 0, kVC, {42, 19}, {35, 6, 65, 16}},

    // Automatic margin and spacing. Both: (100 - 16 - 30) div 3 = 18 each,
    // and 18 is left over at the right.
    {"auto both", kClient, kGlyph, kText, kL, kAL, -1, -1, 0, kVC, {18, 12}, {52, 15, 82, 25}},
    {"auto both, stacked",
     kClient,
     kGlyph,
     kText,
     kT,
     kAL,
     -1,
     -1,
     0,
     kVC,
     {42, 5},
     {35, 25, 65, 35}},
    // Automatic margin: 2 beside a given spacing, -1 above centre alignment.
    {"auto margin", kClient, kGlyph, kText, kL, kAL, -1, 3, 0, kVC, {2, 12}, {21, 15, 98, 25}},
    {"auto margin, high alignment",
     kClient,
     kGlyph,
     kText,
     kL,
     kAL,
     -1,
     3,
     0,
     3,
     {-1, 12},
     {18, 15, 101, 25}},
    // Centred in a client too narrow: the margin is half the overflow, except
    // at the top or bottom, where it stays 2.
    {"auto margin, centre, narrow",
     {0, 0, 40, 40},
     kGlyph,
     kText,
     kL,
     kAC,
     -1,
     3,
     0,
     kVC,
     {-4, 12},
     {15, 15, 45, 25}},
    {"auto margin, centre, narrow, top",
     {0, 0, 40, 40},
     kGlyph,
     kText,
     kL,
     kAC,
     -1,
     3,
     0,
     kVT,
     {2, 0},
     {21, 0, 51, 10}},
    {"auto margin, centre, narrow, high",
     {0, 0, 40, 40},
     kGlyph,
     kText,
     kL,
     kAC,
     -1,
     3,
     0,
     3,
     {-1, 12},
     {18, 15, 48, 25}},
    // Automatic spacing: half of what the margin, glyph and caption leave.
    {"auto spacing", kClient, kGlyph, kText, kL, kAL, 4, -1, 0, kVC, {4, 12}, {45, 15, 96, 25}},
    {"auto spacing, stacked",
     kClient,
     kGlyph,
     kText,
     kB,
     kAL,
     4,
     -1,
     0,
     kVC,
     {42, 20},
     {35, 5, 65, 15}},
    // Without a caption or a glyph there is no gap to share out.
    {"auto both, no caption",
     kClient,
     kGlyph,
     {0, 10},
     kL,
     kAL,
     -1,
     -1,
     0,
     kVC,
     {2, 12},
     {18, 15, 98, 25}},
    {"no glyph", kClient, {0, 0}, kText, kL, kAL, 4, 3, 0, kVC, {0, 20}, {4, 15, 38, 25}},

    // Right to left: the glyph changes sides; stacked layouts stay.
    {"rtl left, left", kClient, kGlyph, kText, kL, kAL, 4, 3, kRtl, kVC, {37, 12}, {4, 15, 34, 25}},
    {"rtl right, right",
     kClient,
     kGlyph,
     kText,
     kR,
     kAR,
     4,
     3,
     kRtl,
     kVC,
     {47, 12},
     {66, 15, 96, 25}},
    {"rtl among other flags",
     kClient,
     kGlyph,
     kText,
     kL,
     kAL,
     4,
     3,
     kRtl | 1,
     kVC,
     {37, 12},
     {4, 15, 34, 25}},
    {"other flags only", kClient, kGlyph, kText, kL, kAL, 4, 3, 1, kVC, {4, 12}, {23, 15, 96, 25}},
    {"rtl top", kClient, kGlyph, kText, kT, kAL, 4, 3, kRtl, kVC, {42, 5}, {35, 24, 65, 34}},

    // Vertical alignment, the margin away from the top or bottom. Stacked
    // layouts move glyph and caption as one block.
    {"left, top", kClient, kGlyph, kText, kL, kAL, 4, 3, 0, kVT, {4, 4}, {23, 4, 96, 14}},
    {"left, bottom", kClient, kGlyph, kText, kL, kAL, 4, 3, 0, kVB, {4, 20}, {23, 26, 96, 36}},
    {"right, top", kClient, kGlyph, kText, kR, kAL, 4, 3, 0, kVT, {37, 4}, {4, 4, 34, 14}},
    {"right, bottom", kClient, kGlyph, kText, kR, kAL, 4, 3, 0, kVB, {37, 20}, {4, 26, 34, 36}},
    {"top, top", kClient, kGlyph, kText, kT, kAL, 4, 3, 0, kVT, {42, 4}, {35, 23, 65, 33}},
    {"top, bottom", kClient, kGlyph, kText, kT, kAL, 4, 3, 0, kVB, {42, 7}, {35, 26, 65, 36}},
    {"bottom, top", kClient, kGlyph, kText, kB, kAL, 4, 3, 0, kVT, {42, 17}, {35, 4, 65, 14}},
    {"bottom, bottom", kClient, kGlyph, kText, kB, kAL, 4, 3, 0, kVB, {42, 20}, {35, 7, 65, 17}},
    {"left, high alignment",
     kClient,
     kGlyph,
     kText,
     kL,
     kAL,
     4,
     3,
     0,
     5,
     {4, 12},
     {23, 15, 96, 25}},
    {"left, top, auto", kClient, kGlyph, kText, kL, kAL, -1, -1, 0, kVT, {18, 0}, {52, 0, 82, 10}},

    // A client away from (0, 0): everything moves with it, and a caption
    // beside a left-aligned glyph still ends the margin before the client's
    // right edge.
    {"moved, left, left",
     {10, 5, 110, 45},
     kGlyph,
     kText,
     kL,
     kAL,
     4,
     3,
     0,
     kVC,
     {14, 17},
     {33, 20, 106, 30}},
    {"moved, auto both",
     {10, 5, 110, 45},
     kGlyph,
     kText,
     kL,
     kAL,
     -1,
     -1,
     0,
     kVC,
     {28, 17},
     {62, 20, 92, 30}},
    {"moved, left, right",
     {10, 5, 110, 45},
     kGlyph,
     kText,
     kL,
     kAR,
     4,
     3,
     0,
     kVC,
     {57, 17},
     {76, 20, 106, 30}},
    {"moved, right, right",
     {10, 5, 110, 45},
     kGlyph,
     kText,
     kR,
     kAR,
     4,
     3,
     0,
     kVC,
     {90, 17},
     {10, 20, 87, 30}},
    {"moved, top",
     {10, 5, 110, 45},
     kGlyph,
     kText,
     kT,
     kAL,
     4,
     3,
     0,
     kVC,
     {52, 10},
     {45, 29, 75, 39}},
    {"moved, left, top",
     {10, 5, 110, 45},
     kGlyph,
     kText,
     kL,
     kAL,
     4,
     3,
     0,
     kVT,
     {14, 9},
     {33, 9, 106, 19}},
    {"moved, left, bottom",
     {10, 5, 110, 45},
     kGlyph,
     kText,
     kL,
     kAL,
     4,
     3,
     0,
     kVB,
     {14, 25},
     {33, 31, 106, 41}},
    {"moved, bottom, bottom",
     {10, 5, 110, 45},
     kGlyph,
     kText,
     kB,
     kAL,
     4,
     3,
     0,
     kVB,
     {52, 25},
     {45, 12, 75, 22}},
};

TEST(GlyphLayout, PlacesGlyphAndCaption) {
  for (const LayoutCase& c : kCases) {
    SCOPED_TRACE(c.name);
    TPoint glyphPos(-99, -99);
    TRect textRect(-99, -99, -99, -99);
    CalcGlyphCaptionLayout(c.client, c.glyph, c.text, c.layout, c.alignment, c.margin, c.spacing,
                           glyphPos, textRect, c.flags, c.vAlign);
    EXPECT_EQ(glyphPos.X, c.glyphPos.X);
    EXPECT_EQ(glyphPos.Y, c.glyphPos.Y);
    EXPECT_EQ(textRect.Left, c.textRect.Left);
    EXPECT_EQ(textRect.Top, c.textRect.Top);
    EXPECT_EQ(textRect.Right, c.textRect.Right);
    EXPECT_EQ(textRect.Bottom, c.textRect.Bottom);
  }
}

TEST(GlyphLayout, CaptionBesideLeftGlyphEndsAtTheMarginWhereverTheClientStarts) {
  for (int left : {0, 7, 50, -20}) {
    for (int margin : {0, 4}) {
      const TRect client(left, 0, left + 100, 40);
      TPoint glyphPos;
      TRect textRect;
      CalcGlyphCaptionLayout(client, kGlyph, kText, kGlyphLeft, kAlignLeft, margin, 3, glyphPos,
                             textRect, 0, kVAlignCenter);
      EXPECT_EQ(glyphPos.X, left + margin) << left;
      EXPECT_EQ(textRect.Left, left + margin + 16 + 3) << left;
      EXPECT_EQ(textRect.Right, client.Right - margin) << left;
    }
  }
}

}  // namespace
