// The mouse on the skinned bars. This first version only keeps the window's
// own behaviour: every message goes on to the window's procedure, and the
// bars are painted but not yet pressed.
#include "skin/adapters/scroll_tracking.h"

#include <algorithm>

#include "skin/adapters/scroll_track_state.h"
#include "skin/adapters/scroll_wnd.h"

namespace {

void PassOn(TvlScrollWnd& A, TMessage& M) {
  M.Result = A.CallPrevWndProc(A.WindowHandle, M.Msg, M.WParam, M.LParam);
}

}  // namespace

int HitTestBar(const TvlScrollBar* Bar, const RECT& R, int X, int Y) {
  if (!Bar) return spNone;
  const bool vertical = Bar->Kind == SB_VERT;
  const int across = vertical ? X : Y, along = vertical ? Y : X;
  const int lo = vertical ? R.left : R.top, hi = vertical ? R.right : R.bottom;
  const int start = vertical ? R.top : R.left, end = vertical ? R.bottom : R.right;
  if (across < lo || across >= hi) return spNone;
  const int btn = ScrollBarSize(Bar, false);
  const int length = end - start;
  const int e = 2 * btn < length ? btn : length / 2;
  if (along >= start && along < start + e) return spLineUp;
  if (along >= end - e && along < end) return spLineDown;
  int len = 0, pos = 0;
  ThumbGeometry(Bar, R, len, pos);
  if (len >= length - 2 * btn) return spNone;
  int part = spNone;
  if (along >= pos && along < pos + len)
    part = spThumb;
  else if (along >= start + e && along < pos)
    part = spPageUp;
  else if (along >= pos + len && along < end - e)
    part = spPageDown;
  if ((part == spPageUp || part == spPageDown) && GetAsyncKeyState(VK_SHIFT) < 0) part = spJump;
  return part;
}

void ScrollNCHitTest(TvlScrollWnd& A, TMessage& M) {
  PassOn(A, M);
}

void ScrollNCMouseMove(TvlScrollWnd& A, TMessage& M) {
  PassOn(A, M);
}

void ScrollNCLButtonDown(TvlScrollWnd& A, TMessage& M) {
  PassOn(A, M);
}

void ScrollMouseMove(TvlScrollWnd& A, TMessage& M) {
  PassOn(A, M);
}

void ScrollLButtonUp(TvlScrollWnd& A, TMessage& M) {
  PassOn(A, M);
}

void ScrollTimer(TvlScrollWnd& A, TMessage& M) {
  PassOn(A, M);
  if (!A.Scrolling && !A.Tracking) A.UpdateScrollInfo(true);
}

void ScrollCaptureLost(TvlScrollWnd& A, TMessage& M) {
  PassOn(A, M);
}

void ScrollTrackingReleased(HWND Wnd) {
  if (!Wnd) return;
  if (ScrollTrack.HotWnd == Wnd) ScrollTrack.ResetHot();
  if (ScrollTrack.TrackWnd == Wnd) {
    ScrollTrack.ResetPress();
    ScrollTrack.TrackWnd = nullptr;
  }
}

void SendScroll(HWND Wnd, UINT Msg, int Code, int Pos) {
  SendMessageW(Wnd, Msg, MAKEWPARAM(Code, std::min(Pos, 0xFFFF)), 0);
}
