// Where the skinned bars lie, how long their thumbs are and where they sit,
// and what the frame calculation leaves for the client area.
#include <gtest/gtest.h>

#include "skin/adapters/scroll_geometry.h"

namespace {

SCROLLINFO Info(int Min, int Max, unsigned Page, int Pos) {
  SCROLLINFO i{};
  i.cbSize = sizeof i;
  i.fMask = SIF_ALL;
  i.nMin = Min;
  i.nMax = Max;
  i.nPage = Page;
  i.nPos = Pos;
  return i;
}

bool Same(const RECT& A, const RECT& B) {
  return EqualRect(&A, &B) != FALSE;
}

TEST(ThumbGeometry, LengthAndPlaceFollowPageRangeAndArrows) {
  struct Case {
    const char* What;
    SCROLLINFO Info;
    int Btn, Start, Length;
    int Len, Pos;
  };
  // Track of 166 between two 17-pixel arrows unless said otherwise.
  const Case cases[] = {
      {"page 0 at the start: arrow length", Info(0, 99, 0, 0), 17, 10, 200, 17, 27},
      {"page 0 at the end: flush with the second arrow", Info(0, 99, 0, 99), 17, 10, 200, 17,
       10 + 200 - 17 - 17},
      {"page 0 with short arrows: the minimum", Info(0, 99, 0, 0), 8, 0, 200, 16, 8},
      {"page of a tenth", Info(0, 99, 10, 30), 17, 0, 200, 17, 17 + 50},
      {"tiny page: the minimum", Info(0, 999, 10, 0), 17, 0, 200, 16, 17},
      {"page = range: the whole track, at its start", Info(0, 99, 100, 40), 17, 0, 200, 166, 17},
      {"page > range: longer than the track, at its start", Info(0, 99, 150, 10), 17, 0, 200, 249,
       17},
      {"no arrows and a short thumb: 19", Info(0, 999, 10, 0), 0, 5, 100, 19, 5},
      {"no arrows and a long thumb: as computed", Info(0, 99, 50, 0), 0, 0, 100, 50, 0},
      {"no arrows at the end", Info(0, 999, 10, 990), 0, 0, 100, 19, 100 - 19},
      {"empty range: the minimum at the track's start", Info(5, 4, 1, 5), 17, 0, 200, 16, 17},
      {"nMin offsets the position", Info(100, 199, 10, 130), 17, 0, 200, 17, 17 + 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    int len = -7, pos = -7;
    ThumbGeometryOf(c.Info, c.Btn, 16, c.Start, c.Length, len, pos);
    EXPECT_EQ(len, c.Len);
    EXPECT_EQ(pos, c.Pos);
  }
}

TEST(BarRects, BothBarsOnEitherSide) {
  const RECT window{100, 100, 300, 250};
  TvlScrollFrame f;
  f.LeftEdge = 2;
  f.TopEdge = 3;
  f.RightEdge = 4;
  f.BottomEdge = 5;
  f.HorzWidth = 12;
  f.VertWidth = 14;
  struct Case {
    const char* What;
    bool Left, Horz, Vert;
    RECT H, V, Box;
  };
  const Case cases[] = {
      {"both, right",
       false,
       true,
       true,
       {102, 233, 282, 245},
       {282, 103, 296, 233},
       {282, 233, 296, 245}},
      {"both, left",
       true,
       true,
       true,
       {116, 233, 296, 245},
       {102, 103, 116, 233},
       {102, 233, 116, 245}},
      {"vertical only: full height",
       false,
       false,
       true,
       {102, 245, 282, 245},
       {282, 103, 296, 245},
       {}},
      {"horizontal only: full width",
       false,
       true,
       false,
       {102, 233, 296, 245},
       {296, 103, 296, 233},
       {}},
      {"horizontal only, left: full width",
       true,
       true,
       false,
       {102, 233, 296, 245},
       {102, 103, 102, 233},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    f.LeftScrollBar = c.Left;
    f.HorzVisible = c.Horz;
    f.VertVisible = c.Vert;
    EXPECT_TRUE(Same(HorzBarRectOf(window, f), c.H));
    EXPECT_TRUE(Same(VertBarRectOf(window, f), c.V));
    EXPECT_TRUE(Same(SizeBoxRectOf(window, f), c.Box));
  }
}

TEST(ScrollFrame, EdgesThinBordersAndBars) {
  const RECT incoming{0, 0, 200, 150};
  struct Case {
    const char* What;
    RECT Computed;
    bool Thin;
    int BorderKind;
    bool Horz, Vert, Left;
    int HWidth, VWidth;
    RECT Client;
    int Edge;
    bool HVisible, VVisible;
  };
  const Case cases[] = {
      {"no bars, system border kept",
       {2, 2, 198, 148},
       true,
       0,
       false,
       false,
       false,
       12,
       12,
       {2, 2, 198, 148},
       2,
       false,
       false},
      {"1-px skin border takes a pixel of the system's",
       {2, 2, 198, 148},
       true,
       -1,
       false,
       false,
       false,
       12,
       12,
       {1, 1, 199, 149},
       1,
       false,
       false},
      {"no border image takes both",
       {2, 2, 198, 148},
       true,
       -2,
       false,
       false,
       false,
       12,
       12,
       {0, 0, 200, 150},
       0,
       false,
       false},
      {"a 1-px system border is left alone",
       {1, 1, 199, 149},
       true,
       -1,
       false,
       false,
       false,
       12,
       12,
       {1, 1, 199, 149},
       1,
       false,
       false},
      {"a provider keeps the system border",
       {2, 2, 198, 148},
       false,
       -1,
       false,
       false,
       false,
       12,
       12,
       {2, 2, 198, 148},
       2,
       false,
       false},
      {"both bars, right",
       {2, 2, 198, 148},
       true,
       0,
       true,
       true,
       false,
       12,
       24,
       {2, 2, 174, 136},
       2,
       true,
       true},
      {"both bars, left",
       {2, 2, 198, 148},
       true,
       0,
       true,
       true,
       true,
       12,
       24,
       {26, 2, 198, 136},
       2,
       true,
       true},
      {"too low for the horizontal bar",
       {2, 2, 198, 12},
       true,
       0,
       true,
       true,
       false,
       12,
       24,
       {2, 2, 174, 12},
       2,
       false,
       true},
      {"exactly as wide as the vertical bar: both tested before either is taken",
       {2, 2, 26, 14},
       true,
       0,
       true,
       true,
       false,
       12,
       24,
       {2, 2, 2, 2},
       2,
       true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TvlFrameCalcInput in;
    in.Incoming = incoming;
    in.Computed = c.Computed;
    in.ThinBorder = c.Thin;
    in.BorderKind = c.BorderKind;
    in.HasHorz = c.Horz;
    in.HasVert = c.Vert;
    in.LeftScrollBar = c.Left;
    in.HorzWidth = c.HWidth;
    in.VertWidth = c.VWidth;
    TvlScrollFrame f;
    EXPECT_TRUE(Same(CalcScrollFrame(in, f), c.Client));
    EXPECT_EQ(f.LeftEdge, c.Edge);
    EXPECT_EQ(f.TopEdge, c.Edge);
    EXPECT_EQ(f.HorzVisible, c.HVisible);
    EXPECT_EQ(f.VertVisible, c.VVisible);
  }
}

}  // namespace
