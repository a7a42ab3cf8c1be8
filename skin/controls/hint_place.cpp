// Where a hint bubble goes: inside the monitor of its point, on the side of
// the point that has room, and which corner image then points at it.
#include <algorithm>

#include "skin/controls/alpha_hints.h"
#include "skin/controls/hint_templates.h"

namespace {

bool PlatformMonitor(const TPoint& Point, TRect& Monitor) {
  HMONITOR h = MonitorFromPoint(POINT{Point.X, Point.Y}, MONITOR_DEFAULTTONULL);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!h || !GetMonitorInfoA(h, &mi)) return false;
  Monitor = mi.rcMonitor;
  return true;
}

THintMonitorQuery monitorQuery = &PlatformMonitor;

// The corner whose picture points at a point left/right of and above/below
// the bubble.
constexpr THintCorner kCornerBySide[4] = {3, 1, 2, 0};

bool PointsLeft(THintCorner Corner) {
  return Corner == 0 || Corner == 1;
}
bool PointsUp(THintCorner Corner) {
  return Corner == 0 || Corner == 2;
}

}  // namespace

void SetHintMonitorQuery(THintMonitorQuery Query) {
  monitorQuery = Query ? Query : &PlatformMonitor;
}

void PlaceHint(TRect& Rect, const TPoint& Point, THintCorner& Corner, const TvlHintImage* Image,
               bool Skinned, bool OnlyDefaultImage) {
  const TRect m = HintContentMargins(Image, Skinned);
  TRect r{Rect.Left + m.Left, Rect.Top + m.Top, Rect.Right - m.Right, Rect.Bottom - m.Bottom};
  const int w = r.Width(), h = r.Height();
  if (!PointsUp(Corner)) OffsetRect(r.AsRECT(), 0, -h);
  if (!PointsLeft(Corner)) OffsetRect(r.AsRECT(), -w, 0);

  TRect mon;
  if (monitorQuery(Point, mon)) {
    bool moved = false;
    auto moveTo = [&](int left, int top) {
      if (left == r.Left && top == r.Top) return;
      r = {left, top, left + w, top + h};
      moved = true;
    };
    if (r.Bottom > mon.Bottom)
      moveTo(r.Left, Skinned            ? mon.Bottom - h
                     : OnlyDefaultImage ? Point.Y - (r.Bottom - mon.Bottom)
                                        : Point.Y - h);
    if (r.Top < mon.Top) moveTo(r.Left, mon.Top);
    if (r.Right > mon.Right)
      moveTo(Skinned            ? mon.Right - w
             : OnlyDefaultImage ? Point.X - (r.Right - mon.Right)
                                : Point.X - w,
             r.Top);
    if (r.Left < mon.Left) moveTo(mon.Left, r.Top);
    if (moved) {
      const int right = r.Left >= Point.X ? 1 : 0, below = r.Top >= Point.Y ? 1 : 0;
      Corner = kCornerBySide[right + 2 * below];
    }
  }
  Rect = {r.Left - m.Left, r.Top - m.Top, r.Right + m.Right, r.Bottom + m.Bottom};
}

void AdjustHintPointToControl(TPoint& Point, TControl* Control, const TvlHintTemplate* Template,
                              const TvlHintImage* Image, THintCorner Corner) {
  TvlHintManager* manager = ActiveHintManager;
  if (!manager || !manager->Settings().PointToControl || !Control || !Template || !Image) return;
  const TPoint tl = Control->ClientToScreen({0, 0});
  const TRect c{tl.X, tl.Y, tl.X + Control->Width(), tl.Y + Control->Height()};
  if (Template->HintAlign == haVertCenter) {
    Point.Y = (c.Top + c.Bottom) / 2;
    Point.X = PointsLeft(Corner) ? c.Left : c.Right;
  } else {
    Point.X = (c.Left + c.Right) / 2;
    Point.Y = PointsUp(Corner) ? c.Top : c.Bottom;
  }
  const TvlBordersSizes& b = Image->BordersWidths();
  Point.X += PointsLeft(Corner) ? b.Left() : -b.Right();
  Point.Y += PointsUp(Corner) ? b.Top() : -b.Bottom();
  Point.X += Image->OffsetHorz;
  Point.Y += Image->OffsetVert;
}
