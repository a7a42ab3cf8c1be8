#include "skin/adapters/bar_hit_test.h"

#include <algorithm>

TBarSpan BarSpan(const TRect& R, bool Vertical, int Arrow, int ThumbPos, int ThumbLen) {
  TBarSpan s;
  s.Lo = Vertical ? R.Top : R.Left;
  s.Hi = Vertical ? R.Bottom : R.Right;
  s.CrossLo = Vertical ? R.Left : R.Top;
  s.CrossHi = Vertical ? R.Right : R.Bottom;
  s.Arrow = Arrow;
  s.ThumbPos = ThumbPos;
  s.ThumbLen = ThumbLen;
  return s;
}

int HitTestSpan(const TBarSpan& Bar, int Along, int Across, bool Shift) {
  if (Across < Bar.CrossLo || Across >= Bar.CrossHi) return spNone;
  const int width = Bar.Hi - Bar.Lo;
  const int arrow = 2 * Bar.Arrow < width ? Bar.Arrow : width / 2;
  if (Along >= Bar.Lo && Along < Bar.Lo + arrow) return spLineUp;
  if (Along >= Bar.Hi - arrow && Along < Bar.Hi) return spLineDown;
  if (Bar.ThumbLen >= width - 2 * Bar.Arrow) return spNone;
  int part = spNone;
  if (Along >= Bar.ThumbPos && Along < Bar.ThumbPos + Bar.ThumbLen)
    part = spThumb;
  else if (Along >= Bar.Lo + arrow && Along < Bar.ThumbPos)
    part = spPageUp;
  else if (Along >= Bar.ThumbPos + Bar.ThumbLen && Along < Bar.Hi - arrow)
    part = spPageDown;
  if (Shift && (part == spPageUp || part == spPageDown)) part = spJump;
  return part;
}

int LastThumbPosition(int nMin, int nMax, UINT nPage) {
  const int page = int(std::min<UINT>(nPage, 0x7FFFFFFF));
  return std::max(0, (nMax - nMin) - std::max(page, 1) + 1);
}

TThumbDrop DropThumb(const TBarSpan& Bar, int GrabOffset, int Cursor, int nMin, int nMax,
                     UINT nPage) {
  const int trackLo = Bar.Lo + Bar.Arrow;
  const int trackLen = (Bar.Hi - Bar.Arrow) - trackLo;
  const int x = std::max(trackLo, std::min(Cursor - GrabOffset, trackLo + trackLen - Bar.ThumbLen));
  const int range = nMax - nMin;
  const int page = int(std::min<UINT>(nPage, 0x7FFFFFFF));
  // One formula for both axes; the clamp keeps the last pixel of the track
  // (and a page of 0, whose formula also overshoots) on the last position a
  // thumb can stand at. MulDiv answers -1 for a track with no free room.
  int position =
      range < 1 ? x - trackLo : MulDiv(x - trackLo, range - page + 1, trackLen - Bar.ThumbLen);
  position = std::clamp(position, 0, LastThumbPosition(nMin, nMax, nPage));
  return {x, position};
}
