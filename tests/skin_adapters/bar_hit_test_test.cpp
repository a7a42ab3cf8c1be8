// Where a point on a skinned scroll bar lands, and where a dragged thumb
// stops: the arithmetic that every mouse action on a bar starts from.
#include "skin/adapters/bar_hit_test.h"

#include <gtest/gtest.h>

namespace {

// A 200-pixel bar from 10 to 210 with 17-pixel arrows and a 30-pixel thumb at
// 60; the across extent is 100 ... 117.
TEST(BarHitTest, PartsAlongAndAcrossABar) {
  struct Case {
    int along, across;
    bool shift;
    int expected;
  };
  const Case cases[] = {
      {9, 108, false, spNone},       {10, 108, false, spLineUp},    {26, 108, false, spLineUp},
      {27, 108, false, spPageUp},    {59, 108, false, spPageUp},    {60, 108, false, spThumb},
      {89, 108, false, spThumb},     {90, 108, false, spPageDown},  {192, 108, false, spPageDown},
      {193, 108, false, spLineDown}, {209, 108, false, spLineDown}, {210, 108, false, spNone},
      {60, 99, false, spNone},       {60, 117, false, spNone},      {60, 116, false, spThumb},
      {27, 108, true, spJump},       {192, 108, true, spJump},      {60, 108, true, spThumb},
      {10, 108, true, spLineUp},     {209, 108, true, spLineDown},
  };
  for (bool vertical : {false, true}) {
    const TRect r = vertical ? TRect(100, 10, 117, 210) : TRect(10, 100, 210, 117);
    const TBarSpan bar = BarSpan(r, vertical, 17, 60, 30);
    for (const Case& c : cases)
      EXPECT_EQ(HitTestSpan(bar, c.along, c.across, c.shift), c.expected)
          << "vertical " << vertical << " at " << c.along << "," << c.across << " shift "
          << c.shift;
  }
}

// Bars too short for two whole arrows share them half and half and have no
// thumb; a bar whose thumb fills the track has no track to press.
TEST(BarHitTest, ShortBarsAndFullThumbs) {
  struct Case {
    int hi, thumbLen, along, expected;
  };
  const Case cases[] = {
      {40, 0, 10, spLineUp},   {40, 0, 24, spLineUp},  {40, 0, 25, spLineDown},
      {40, 0, 39, spLineDown}, {41, 0, 24, spLineUp},  {41, 0, 25, spNone},
      {41, 0, 26, spLineDown}, {44, 0, 26, spLineUp},  {44, 0, 27, spLineDown},
      {70, 26, 30, spNone},    {70, 26, 26, spLineUp}, {70, 26, 53, spLineDown},
      {70, 25, 30, spThumb},
  };
  for (const Case& c : cases) {
    // A bar from 10 to hi with 17-pixel arrows; the thumb starts right after the first.
    const TBarSpan bar = BarSpan(TRect(10, 0, c.hi, 17), false, 17, 27, c.thumbLen);
    EXPECT_EQ(HitTestSpan(bar, c.along, 5, true), c.expected)
        << "bar to " << c.hi << " thumb " << c.thumbLen << " at " << c.along;
  }
}

// A 200-pixel bar with 17-pixel arrows: the track runs from 17 to 183, and a
// 30-pixel thumb moves over 136 pixels of it.
TEST(BarHitTest, DraggedThumbStopsOnTheLastWholePage) {
  struct Case {
    int nMin, nMax;
    UINT nPage;
    int thumbLen, grab, cursor;
    int thumbPos, position;
  };
  const Case cases[] = {
      {0, 99, 10, 30, 0, -50, 17, 0},      // before the track: its start
      {0, 99, 10, 30, 0, 500, 153, 90},    // the end: nMax - nPage + 1, never one more
      {0, 99, 10, 30, 0, 152, 152, 89},    // one pixel before the end
      {0, 99, 10, 30, 15, 100, 85, 45},    // grabbed at its middle
      {0, 99, 0, 30, 0, 500, 153, 99},     // no page: the formula gives 100
      {0, 99, 1, 30, 0, 500, 153, 99},     //
      {10, 109, 10, 30, 0, 500, 153, 90},  // counted from nMin
      {0, 9, 20, 30, 0, 500, 153, 0},      // a page larger than the range
      {0, 0, 0, 30, 0, 500, 153, 0},       // nothing to scroll
      {5, 2, 0, 30, 0, 500, 153, 0},       // an inverted range
      {0, 99, 10, 166, 0, 100, 17, 0},     // a thumb that fills the track
  };
  for (const Case& c : cases) {
    const TBarSpan bar = BarSpan(TRect(0, 0, 200, 17), false, 17, 17, c.thumbLen);
    const TThumbDrop drop = DropThumb(bar, c.grab, c.cursor, c.nMin, c.nMax, c.nPage);
    EXPECT_EQ(drop.ThumbPos, c.thumbPos) << c.nMin << ".." << c.nMax << " page " << c.nPage;
    EXPECT_EQ(drop.Position, c.position) << c.nMin << ".." << c.nMax << " page " << c.nPage;
    EXPECT_LE(drop.Position, LastThumbPosition(c.nMin, c.nMax, c.nPage));
  }
}

}  // namespace
