// The caption area's hover fade ends on the new look whole: after a plain
// fade-in, after one that took over midway, and after a fade-out whose steps
// do not add up to the full level. And the box asks its children for their
// outer effects while it builds its cache.
#include <functional>
#include <vector>

#include "skin/controls/track_bar.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/manager_options.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "skinned_group_scene.h"

namespace {

struct FadeCase {
  const char* Name;
  bool Leaving;                                    // hot first, then the mouse leaves
  std::function<void(TvlThreadedTimer*)> Disturb;  // applied after the start
};

TEST(GroupBoxFade, EndsOnTheNewLookWhole) {
  const FadeCase cases[] = {
      {"fade-in", false, [](TvlThreadedTimer*) {}},
      {"fade-in taken over near its end", false,
       [](TvlThreadedTimer* t) { t->CurrentStep = t->StepCount - 2; }},
      {"fade-out", true, [](TvlThreadedTimer*) {}},
      {"fade-out with short steps", true, [](TvlThreadedTimer* t) { t->StepSize = 1; }},
  };
  for (const FadeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSkinnedGroupScene s;
    TsGroupBox* box = s.Box;
    box->SetCheckBoxVisible(true);
    s.Rebuild();
    const TRect cap = box->CaptionRect();
    const LPARAM in = MAKELPARAM((cap.Left + cap.Right) / 2, (cap.Top + cap.Bottom) / 2);
    const LPARAM out = MAKELPARAM(box->Width() / 2, box->Height() - 20);
    if (c.Leaving) {
      s.Manager->Effects()->SetAllowAnimation(false);
      SendMessageA(box->Handle(), WM_MOUSEMOVE, 0, in);
      s.Manager->Effects()->SetAllowAnimation(true);
    }
    SendMessageA(box->Handle(), WM_MOUSEMOVE, 0, c.Leaving ? out : in);
    EXPECT_EQ(box->CheckHot(), !c.Leaving);
    TvlThreadedTimer* t = box->SkinData()->AnimTimer;
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->Enabled());
    EXPECT_EQ(t->Kind, c.Leaving ? 0 : 1);
    c.Disturb(t);

    const TRect a = box->CheckArea();
    const PixelView cache = ArgbView(box->SkinData()->CacheBitmap);
    // Pixels of the check area that differ from the cache by more than a
    // rounding step: in an image of the area, or on the window.
    const auto differs = [&](std::function<uint32_t(int, int)> PixelAt) {
      int n = 0;
      for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
          if (!Near(PixelAt(x, y), cache.At(a.Left + x, a.Top + y) & 0xFFFFFF, 2)) ++n;
      return n;
    };
    ASSERT_TRUE(t->OldImage);
    const PixelView before = ArgbView(t->OldImage);
    // The fade has something to show.
    EXPECT_GT(differs([&](int x, int y) { return before.At(x, y) & 0xFFFFFF; }), 0);

    // Never more ticks than twice the steps, however the steps fall.
    for (int i = 0; i < 2 * t->StepCount + 2 && t->Enabled(); ++i) t->TimerTick(nullptr);
    EXPECT_FALSE(t->Enabled());
    HDC dc = GetDC(box->Handle());
    EXPECT_EQ(differs([&](int x, int y) {
                return RgbOf(static_cast<TColor>(GetPixel(dc, a.Left + x, a.Top + y)));
              }),
              0);
    ReleaseDC(box->Handle(), dc);
  }
}

// A track bar that notes the outer-effect requests it gets.
class TRecordingBar : public TsTrackBar {
 public:
  using TsTrackBar::TsTrackBar;
  void WndProc(TMessage& m) override {
    if (m.Msg == SkinCommandMessage && SkinCmdCode(m.WParam) == SkinCmdPaintOuterEffect) {
      const auto* r = reinterpret_cast<const BackgroundRequest*>(m.LParam);
      Requests.push_back(*r);
      return;
    }
    TsTrackBar::WndProc(m);
  }
  std::vector<BackgroundRequest> Requests;
};

TEST(GroupBoxOuterEffects, VisibleChildrenPaintIntoTheCache) {
  TSkinnedGroupScene s;
  TRecordingBar* bars[3];
  for (int i = 0; i < 3; ++i) {
    bars[i] = New<TRecordingBar>(s.Form);
    bars[i]->SetBounds(10, 30 + 35 * i, 120, 30);
    bars[i]->SetParent(s.Box);
  }
  bars[1]->SetVisible(false);
  PumpMessages();
  for (const bool allowed : {false, true}) {
    SCOPED_TRACE(allowed);
    s.Manager->Effects()->SetAllowOuterEffects(allowed);
    PumpMessages();
    for (TRecordingBar* b : bars) b->Requests.clear();
    s.Rebuild();
    EXPECT_TRUE(bars[1]->Requests.empty());
    for (TRecordingBar* b : {bars[0], bars[2]}) {
      ASSERT_EQ(b->Requests.size(), allowed ? 1u : 0u);
      if (!allowed) continue;
      const BackgroundRequest& r = b->Requests[0];
      EXPECT_EQ(r.Bitmap, s.Box->SkinData()->CacheBitmap);
      EXPECT_EQ(r.Kind, bgBitmap);
      EXPECT_EQ(r.OffsetX, 0);
      EXPECT_EQ(r.OffsetY, 0);
    }
  }
}

}  // namespace
