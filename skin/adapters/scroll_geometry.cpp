#include "skin/adapters/scroll_geometry.h"

#include <algorithm>

RECT HorzBarRectOf(const RECT& WindowRect, const TvlScrollFrame& F) {
  RECT r = WindowRect;
  const int vert = F.VertVisible ? F.VertWidth : 0;
  r.left += F.LeftEdge + (F.LeftScrollBar ? vert : 0);
  r.right -= F.RightEdge + (F.LeftScrollBar ? 0 : vert);
  r.bottom -= F.BottomEdge;
  r.top = r.bottom - (F.HorzVisible ? F.HorzWidth : 0);
  return r;
}

RECT VertBarRectOf(const RECT& WindowRect, const TvlScrollFrame& F) {
  RECT r = WindowRect;
  const int width = F.VertVisible ? F.VertWidth : 0;
  r.top += F.TopEdge;
  r.bottom -= F.BottomEdge + (F.HorzVisible ? F.HorzWidth : 0);
  if (F.LeftScrollBar) {
    r.left += F.LeftEdge;
    r.right = r.left + width;
  } else {
    r.right -= F.RightEdge;
    r.left = r.right - width;
  }
  return r;
}

RECT SizeBoxRectOf(const RECT& WindowRect, const TvlScrollFrame& F) {
  if (!F.HorzVisible || !F.VertVisible) return RECT{};
  RECT r;
  r.bottom = WindowRect.bottom - F.BottomEdge;
  r.top = r.bottom - F.HorzWidth;
  if (F.LeftScrollBar) {
    r.left = WindowRect.left + F.LeftEdge;
    r.right = r.left + F.VertWidth;
  } else {
    r.right = WindowRect.right - F.RightEdge;
    r.left = r.right - F.VertWidth;
  }
  return r;
}

void ThumbGeometryOf(const SCROLLINFO& Info, int Btn, int MinThumbSize, int Start, int Length,
                     int& Len, int& Pos) {
  const int track = Length - 2 * Btn;
  const int range = Info.nMax - Info.nMin;
  const int page = static_cast<int>(Info.nPage);
  if (page == 0)
    Len = std::max(Btn, MinThumbSize);
  else
    Len = range + 1 > 0 ? MulDiv(page, track, range + 1) : 0;
  // Without arrows a short thumb would be hard to grab: it gets a fixed size.
  if (Btn != 0 || Len > 18)
    Len = std::max(Len, MinThumbSize);
  else
    Len = 19;
  int offset = 0;
  if (range + 1 > 0) {
    // MulDiv answers -1 for a zero denominator (a page as large as the
    // range): the clamp puts the thumb at the start then.
    offset = MulDiv(Info.nPos - Info.nMin, track - Len, range + 1 - std::max(1, page));
    offset = std::max(std::min(offset, track - Len), 0);
  }
  Pos = Start + Btn + offset;
}

RECT CalcScrollFrame(const TvlFrameCalcInput& In, TvlScrollFrame& F) {
  RECT r = In.Computed;
  if (In.ThinBorder && In.BorderKind < 0 && r.left - In.Incoming.left > 1)
    InflateRect(&r, -In.BorderKind, -In.BorderKind);
  F.LeftEdge = r.left - In.Incoming.left;
  F.TopEdge = r.top - In.Incoming.top;
  F.RightEdge = In.Incoming.right - r.right;
  F.BottomEdge = In.Incoming.bottom - r.bottom;
  F.LeftScrollBar = In.LeftScrollBar;
  F.HorzWidth = In.HorzWidth;
  F.VertWidth = In.VertWidth;
  // Both tests see the rectangle before either bar is taken off.
  F.HorzVisible = In.HasHorz && r.bottom - r.top >= In.HorzWidth;
  F.VertVisible = In.HasVert && r.right - r.left >= In.VertWidth;
  if (F.HorzVisible) r.bottom -= In.HorzWidth;
  if (F.VertVisible) {
    if (In.LeftScrollBar)
      r.left += In.VertWidth;
    else
      r.right -= In.VertWidth;
  }
  return r;
}
