// Where the mouse is on a skinned scroll bar, and where a dragged thumb
// lands: pure arithmetic on a bar seen along its own axis, so that both
// orientations and every coordinate system share one set of rules.
#pragma once

#include <windows.h>

#include "skin/adapters/scroll_track_state.h"
#include "widgets/rtl/sysutils.h"

// One bar along its axis: x of a horizontal bar, y of a vertical one.
struct TBarSpan {
  int Lo = 0, Hi = 0;            // the bar along its axis, [Lo, Hi)
  int CrossLo = 0, CrossHi = 0;  // and across it
  int Arrow = 0;                 // length of one arrow button
  int ThumbPos = 0, ThumbLen = 0;
};

// The span of a bar rectangle; the thumb values are in R's coordinates.
TBarSpan BarSpan(const TRect& R, bool Vertical, int Arrow, int ThumbPos, int ThumbLen);

// The part code (sp...) at a point given along and across the bar. A bar too short for
// two whole arrows is shared by them half and half and has no thumb.
int HitTestSpan(const TBarSpan& Bar, int Along, int Across, bool Shift);

// The highest position, counted from nMin, at which a thumb still shows a
// whole page: a drag never reports one beyond it.
int LastThumbPosition(int nMin, int nMax, UINT nPage);

// A thumb dragged with the cursor at Cursor along the bar, grabbed
// GrabOffset pixels after its leading edge.
struct TThumbDrop {
  int ThumbPos;  // leading edge, kept on the track
  int Position;  // counted from nMin, 0 ... LastThumbPosition
};
TThumbDrop DropThumb(const TBarSpan& Bar, int GrabOffset, int Cursor, int nMin, int nMax,
                     UINT nPage);
