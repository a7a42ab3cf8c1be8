// The track bar without a skin: tick layout, progress spans, the user-change
// events per scroll code, mirrored input and the disabled look.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "trackbar_fixture.h"
#include "skin/foundation/argb_factories.h"
#include "widgets/graphics/bitmap.h"

namespace {

TEST(TrackBarLayout, TicksPerStyleAndCount) {
  const struct {
    TTickStyle style;
    int count;
    std::vector<int> inner;
    std::vector<int> want;
  } cases[] = {
      // 11 ticks on a channel 100 pixels longer than the thumb: 10 apart.
      {tsAuto, 11, {}, {12, 22, 32, 42, 52, 62, 72, 82, 92, 102, 112}},
      {tsAuto, 1, {}, {}},  // one tick has no spacing
      {tsAuto, 0, {}, {}},
      {tsNone, 5, {}, {}},  // the control may still count its end ticks
      {tsManual, 4, {40, 70}, {12, 40, 70, 112}},
      {tsManual, 1, {}, {}},
  };
  for (const auto& c : cases) {
    TTickLayout l;
    l.Style = c.style;
    l.Count = c.count;
    l.ChannelStart = 2;
    l.ChannelEnd = 122;
    l.ThumbLength = 20;
    l.Inner = c.inner;
    EXPECT_EQ(LayOutTicks(l), c.want) << c.style << " " << c.count;
  }
}

TEST(TrackBarLayout, ProgressSpans) {
  const struct {
    int position, min, max, from;
    bool reversed;
    std::pair<int, int> want;
  } cases[] = {
      {50, 0, 100, 0, false, {10, 60}},   // half of 100 pixels from the start
      {50, 0, 100, 0, true, {60, 110}},   // measured back from the end
      {20, 0, 100, 60, false, {30, 70}},  // P below From: from p to f
      {5, 5, 5, 0, false, {10, 10}},      // Min = Max: unscaled, no division
      {5, 5, 5, 8, false, {10, 13}},
  };
  for (const auto& c : cases) {
    TProgressInput in{10, 110, c.position, c.min, c.max, c.from, c.reversed};
    EXPECT_EQ(ProgressSpan(in), c.want) << c.position << " " << c.from << " " << c.reversed;
  }
}

TEST(TrackBarLayout, MirrorBitmapReversesRowsOrColumns) {
  for (bool vertical : {false, true}) {
    TBitmap* b = NewArgbBitmap(3, 2);
    PixelView v = ArgbView(b);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) v.At(x, y) = static_cast<uint32_t>(y * 10 + x);
    MirrorBitmap(b, vertical);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(v.At(x, y), vertical ? uint32_t(y * 10 + 2 - x) : uint32_t((1 - y) * 10 + x));
    TObject::Free(b);
  }
}

struct Counter {
  int* a = nullptr;
  int* b = nullptr;
  void Change(TObject*) { ++*a; }
  void Changed(TObject*) { ++*b; }
};

struct Recorder {
  int x = -1, y = -1;
  void Down(TObject*, TMouseButton, TShiftState, int X, int Y) {
    x = X;
    y = Y;
  }
};

using PlainTrackBar = TrackBarFixture;

TEST_F(PlainTrackBar, TicksFollowTheControlsCountAndPaintBelowTheChannel) {
  const int n = static_cast<int>(SendMessageA(Bar->Handle(), TBM_GETNUMTICS, 0, 0));
  const std::vector<int> ticks = Bar->TickPositions();
  ASSERT_EQ(static_cast<int>(ticks.size()), n);
  const TRect c = Bar->ChannelRect(), t = Bar->ThumbRect();
  EXPECT_EQ(ticks.front(), c.Left + 2 + t.Width() / 2);
  EXPECT_NEAR(ticks.back(), c.Right + 2 - t.Width() / 2, 1);
  Bar->PrepareCache();
  const int q = (t.Height() - c.Height()) / 2 + 2;
  const uint32_t shadow = ColorToRGB(clBtnShadow);
  const uint32_t want = ((shadow & 0xFF) << 16) | (shadow & 0xFF00) | ((shadow >> 16) & 0xFF);
  for (int x : ticks) EXPECT_EQ(CachePixel(Bar, x, c.Bottom + q + 1), want) << x;
  Bar->SetTickStyle(tsNone);
  EXPECT_TRUE(Bar->TickPositions().empty());
}

TEST_F(PlainTrackBar, EveryScrollStepRaisesUserChangeAndOnlyEndingCodesUserChanged) {
  int changes = 0, changed = 0;
  Counter counter;
  counter.a = &changes;
  counter.b = &changed;
  Bar->OnUserChange = TNotifyEvent::Of<&Counter::Change>(&counter);
  Bar->OnUserChanged = TNotifyEvent::Of<&Counter::Changed>(&counter);
  for (int code = 0; code <= 8; ++code) {
    changes = changed = 0;
    Bar->Perform(CN_HSCROLL, MAKEWPARAM(code, 0), 0);
    EXPECT_EQ(changes, 1) << code;
    EXPECT_EQ(changed, code < 5 ? 1 : 0) << code;
  }
}

TEST_F(PlainTrackBar, ReversedBarMirrorsTheThumbAndReportsTheClientPoint) {
  Recorder rec;
  Bar->OnMouseDown = TMouseEvent::Of<&Recorder::Down>(&rec);
  const TRect plain = Bar->ThumbRect();
  Bar->SetReversed(true);
  const TRect mirrored = Bar->ThumbRect();
  EXPECT_EQ(mirrored.Left, Bar->Width() - plain.Width() - plain.Left);
  EXPECT_EQ(mirrored.Width(), plain.Width());
  EXPECT_EQ(mirrored.Top, plain.Top);
  const int y = (plain.Top + plain.Bottom) / 2;
  SendMessageA(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, y));
  SendMessageA(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, y));
  PumpMessages();
  // The event carries the point of the message, not the cursor's screen point.
  EXPECT_EQ(rec.x, 3);
  EXPECT_EQ(rec.y, y);
}

TEST_F(PlainTrackBar, DisabledLooksLikeEnabled) {
  // The normal state: not focused, not hot. The form's activation may
  // arrive late on a busy machine and hand the focus to the bar again, so
  // the focus is taken until it stays with the form.
  SetCursorPos(0, 0);
  for (int i = 0; i < 50; ++i) {
    PumpMessages();
    SetFocus(Form->Handle());
    Bar->SkinData()->Hot = false;
    if (Bar->SkinData()->CurrentState() == 0) break;
    Sleep(10);
  }
  ASSERT_EQ(Bar->SkinData()->CurrentState(), 0);
  Bar->PrepareCache();
  const PixelView v = ArgbView(Bar->SkinData()->CacheBitmap);
  std::vector<uint32_t> copy;
  for (int y = 0; y < v.Height; ++y) copy.insert(copy.end(), v.Row(y), v.Row(y) + v.Width);
  Bar->SetEnabled(false);
  Bar->PrepareCache();
  const PixelView d = ArgbView(Bar->SkinData()->CacheBitmap);
  std::vector<uint32_t> disabled;
  for (int y = 0; y < d.Height; ++y) disabled.insert(disabled.end(), d.Row(y), d.Row(y) + d.Width);
  EXPECT_EQ(copy, disabled);
}

}  // namespace
