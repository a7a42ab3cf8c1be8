// Where a bubble goes at the edges of its monitor, with the monitor given
// by the test, and where it points at a control.
#include <gtest/gtest.h>

#include "skin/controls/alpha_hints.h"
#include "skin/controls/hint_templates.h"
#include "test_hint_manager.h"
#include "widgets/forms/forms.h"

namespace {

const TRect kMonitor{0, 0, 800, 600};

bool TestMonitor(const TPoint&, TRect& Monitor) {
  Monitor = kMonitor;
  return true;
}
bool NoMonitor(const TPoint&, TRect&) {
  return false;
}

struct MonitorScope {
  explicit MonitorScope(THintMonitorQuery q) { SetHintMonitorQuery(q); }
  ~MonitorScope() { SetHintMonitorQuery(nullptr); }
};

struct PlaceCase {
  const char* What;
  TPoint Point;
  THintCorner Start;
  bool Skinned, OnlyDefault;
  THintCorner Corner;
  TRect Content;  // the visible bubble after placing
};

TEST(PlaceHint, TheBubbleStaysOnItsMonitorAndTakesTheCornerThatPointsBack) {
  MonitorScope monitor(&TestMonitor);
  test_hints::TTestHintManager m;
  const TvlHintImage* image = m.Templates(1)->ImageDefault();
  const int s = test_hints::kShadow;
  // A bubble of 100 x 40 inside its shadow.
  const PlaceCase cases[] = {
      {"room below and right: corner 0 stays",
       {100, 100},
       0,
       false,
       false,
       0,
       {100, 100, 200, 140}},
      {"corner 3 asked, room above and left", {300, 300}, 3, false, false, 3, {200, 260, 300, 300}},
      {"bottom-right corner of the monitor: above and left",
       {780, 590},
       0,
       false,
       false,
       3,
       {680, 550, 780, 590}},
      {"bottom only: above, still right", {100, 590}, 0, false, false, 1, {100, 550, 200, 590}},
      {"right only: left, still below", {780, 100}, 0, false, false, 2, {680, 100, 780, 140}},
      {"only a default picture: pushed in by the overflow",
       {780, 590},
       0,
       false,
       true,
       3,
       {700, 560, 800, 600}},
      {"skinned: against the monitor's edges", {780, 590}, 0, true, false, 3, {700, 560, 800, 600}},
      // Pushed inside, the bubble's top-left still lies above and left of
      // the point: the corner is read from there.
      {"corner 3 at the top-left: pushed inside", {10, 10}, 3, false, false, 3, {0, 0, 100, 40}},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.What);
    const int sh = c.Skinned ? 0 : s;
    TRect r{c.Point.X - sh, c.Point.Y - sh, c.Point.X + 100 + sh, c.Point.Y + 40 + sh};
    THintCorner corner = c.Start;
    PlaceHint(r, c.Point, corner, image, c.Skinned, c.OnlyDefault);
    EXPECT_EQ(corner, c.Corner);
    const TRect content{r.Left + sh, r.Top + sh, r.Right - sh, r.Bottom - sh};
    EXPECT_EQ(content.Left, c.Content.Left);
    EXPECT_EQ(content.Top, c.Content.Top);
    EXPECT_EQ(content.Right, c.Content.Right);
    EXPECT_EQ(content.Bottom, c.Content.Bottom);
  }
}

TEST(PlaceHint, WithoutAMonitorTheCornerStays) {
  MonitorScope monitor(&NoMonitor);
  TRect r{5000, 5000, 5100, 5040};
  THintCorner corner = 2;
  PlaceHint(r, {5000, 5000}, corner, nullptr, true, false);
  EXPECT_EQ(corner, 2);
  EXPECT_EQ(r.Left, 4900);
  EXPECT_EQ(r.Top, 5000);
}

}  // namespace

namespace {

TEST(AdjustHintPoint, ThePointMovesToTheControlsEdgeThenByTheBordersAndOffsets) {
  test_hints::TTestHintManager m;
  test_hints::TActiveHintScope active(&m);
  auto form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  form->SetBounds(100, 100, 300, 200);
  auto* target = New<TCustomControl>(form.get());
  target->SetBounds(10, 20, 80, 40);
  target->SetParent(form.get());
  form->Show();
  const TPoint tl = target->ClientToScreen({0, 0});
  const int left = tl.X, top = tl.Y, right = left + 80, bottom = top + 40;
  const int midX = (left + right) / 2, midY = (top + bottom) / 2;
  TvlHintTemplate* t = m.Templates(0);
  TvlHintImage* image = t->ImageDefault();
  image->OffsetHorz = 2;
  image->OffsetVert = -1;
  const int b = test_hints::kBorder;
  const struct {
    const char* What;
    bool Pointing;
    TvlHintAlign Align;
    THintCorner Corner;
    TPoint Expect;
  } cases[] = {
      {"off: the point stays", false, haVertCenter, 0, {7, 9}},
      {"beside, pointing left", true, haVertCenter, 0, {left + b + 2, midY + b - 1}},
      {"beside, pointing right and down", true, haVertCenter, 3, {right - b + 2, midY - b - 1}},
      {"centred, pointing up", true, haHorzCenter, 2, {midX - b + 2, top + b - 1}},
      {"centred, pointing down", true, haHorzCenter, 1, {midX + b + 2, bottom - b - 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    m.Set.PointToControl = c.Pointing;
    t->HintAlign = c.Align;
    TPoint p{7, 9};
    AdjustHintPointToControl(p, target, t, image, c.Corner);
    EXPECT_EQ(p.X, c.Expect.X);
    EXPECT_EQ(p.Y, c.Expect.Y);
  }
}

}  // namespace
