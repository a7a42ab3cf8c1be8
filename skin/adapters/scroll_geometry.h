// Where the skinned scroll bars of a window lie and where their thumbs sit,
// computed from plain values so that the adapter, the mouse handling and the
// tests share one arithmetic.
#pragma once

#include <windows.h>

// The frame a window had at its last WM_NCCALCSIZE and the bars it shows.
struct TvlScrollFrame {
  int LeftEdge = -1;  // -1: no frame measured yet
  int TopEdge = 0;
  int RightEdge = 0;
  int BottomEdge = 0;
  bool LeftScrollBar = false;  // WS_EX_LEFTSCROLLBAR: the vertical bar on the left
  bool HorzVisible = false;
  bool VertVisible = false;
  int HorzWidth = 0;  // height of the horizontal bar
  int VertWidth = 0;  // width of the vertical bar
};

// The bars' rectangles inside WindowRect (screen or window coordinates: the
// result is in the same ones). An invisible bar gives an empty rectangle at
// its edge.
RECT HorzBarRectOf(const RECT& WindowRect, const TvlScrollFrame& Frame);
RECT VertBarRectOf(const RECT& WindowRect, const TvlScrollFrame& Frame);
// The square between the two bars when both are visible, else empty.
RECT SizeBoxRectOf(const RECT& WindowRect, const TvlScrollFrame& Frame);

// Length and start of a bar's thumb. Start and Length describe the bar along
// its axis; Btn is the length of one arrow button. Pos is in the same
// coordinates as Start.
void ThumbGeometryOf(const SCROLLINFO& Info, int Btn, int MinThumbSize, int Start, int Length,
                     int& Len, int& Pos);

// What the adapter makes of the rectangle the window's own procedure left for
// its client area once the scroll styles were taken off for that call.
struct TvlFrameCalcInput {
  RECT Incoming{};          // the rectangle as the message brought it
  RECT Computed{};          // the rectangle the window's procedure left
  bool ThinBorder = false;  // widen by -BorderKind (the skin's border is thinner)
  int BorderKind = 0;
  bool HasHorz = false;  // WS_HSCROLL in the window's style
  bool HasVert = false;  // WS_VSCROLL
  bool LeftScrollBar = false;
  int HorzWidth = 0;
  int VertWidth = 0;
};
// Fills the edges, the bars' visibility and widths of Frame and returns the
// client rectangle that remains.
RECT CalcScrollFrame(const TvlFrameCalcInput& In, TvlScrollFrame& Frame);
