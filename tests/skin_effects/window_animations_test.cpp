// Window animations: layered pushes, the hide animation, transitions under
// the cover, the work areas and the skin change's transition.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "layered_recorder.h"
#include "probe.h"
#include "skin/engine/layered_windows.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/window_animations.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/glow_form.h"
#include "widgets/graphics/graphics.h"

namespace {

TvlGlowForm* NewCarrier() {
  auto* f = New<TvlGlowForm>(nullptr);
  f->SetBounds(30, 30, 20, 10);
  return f;
}

TBitmap* NewImage() {
  TBitmap* b = NewArgbBitmap(20, 10);
  const PixelView v = ArgbView(b);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) v.At(x, y) = 0xFF336699;
  return b;
}

TEST(HideAnimation, FramesPerTime) {
  LayeredRecorder rec;
  struct Case {
    int time;
    std::vector<int> alphas;  // of the frames after the first picture
  };
  const Case cases[] = {
      {0, {}},
      {9, {}},
      {30, {136, 68, 0, 0}},                             // 3 steps of 68: 4 frames
      {95, {181, 159, 136, 113, 91, 68, 45, 23, 0, 0}},  // 9 steps: 10 frames
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    rec.Clear();
    TvlGlowForm* carrier = NewCarrier();
    HWND h = carrier->Handle();
    AnimateWindowHide(carrier, NewImage(), c.time, 204, atFading, nullptr);
    RunHide();
    std::vector<int> alphas;
    const std::vector<LayeredPush> pushes = rec.PushesTo(h);
    for (size_t i = 1; i < pushes.size(); ++i) alphas.push_back(pushes[i].Alpha);
    EXPECT_EQ(alphas, c.alphas);
    if (!pushes.empty()) {
      EXPECT_EQ(pushes[0].Alpha, 204);
      EXPECT_EQ(pushes.back().At(5, 5), 0xFF336699u);
    }
    EXPECT_FALSE(IsWindow(h));  // the carrier goes with the animation
  }
}

TEST(HideAnimation, ASecondHideCutsTheFirstAndOnlyItsEndIsReported) {
  LayeredRecorder rec;
  auto* form = New<TForm>(Application, TCustomForm::TCreateNew{});
  form->HandleNeeded();
  auto* provider = New<TsSkinProvider>(form);
  struct Log {
    std::vector<TvlAnimEvent> events;
    void Add(TvlAnimEvent e) { events.push_back(e); }
  } log;
  provider->OnAfterAnimation = TvlAfterAnimation::Of<&Log::Add>(&log);

  TvlGlowForm* first = NewCarrier();
  HWND h1 = first->Handle();
  AnimateWindowHide(first, NewImage(), 100, 255, atAero, form->Handle());
  HideTimer()->Step();
  ASSERT_TRUE(IsWindow(h1));
  TvlGlowForm* second = NewCarrier();
  HWND h2 = second->Handle();
  AnimateWindowHide(second, NewImage(), 20, 255, atFading, form->Handle());
  EXPECT_FALSE(IsWindow(h1));
  EXPECT_EQ(HideTimer()->Carrier, second);
  const size_t firstFrames = rec.PushesTo(h1).size();
  EXPECT_EQ(RunHide(), 3);  // frames 2 and 3 of 3, then the end
  EXPECT_EQ(rec.PushesTo(h1).size(), firstFrames);
  EXPECT_EQ(rec.PushesTo(h2).size(), 4u);  // the picture and 3 frames
  EXPECT_FALSE(IsWindow(h2));
  EXPECT_EQ(log.events, (std::vector<TvlAnimEvent>{aeHiding}));
  TObject::Free(form);
}

class TransitionTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    Form->Show();
    probe = AddProbe(Form, "P");
    probe->SetBounds(20, 20, 50, 40);
    AddProbe(Form, "Q")->SetBounds(100, 20, 50, 40);
    probe->PaintsPattern = true;
    Pump();
  }
  TProbeControl* probe = nullptr;
};

TEST_F(TransitionTest, CoverLiesDirectlyAboveTheControlAndPaintsNothing) {
  PrepareTransition(probe, atFading);
  TOutputWindow* cover = TransitionCover();
  ASSERT_NE(cover, nullptr);
  HWND c = cover->Handle();
  char name[64] = {};
  GetClassNameA(c, name, sizeof name);
  EXPECT_STREQ(name, "TOutputWindow");
  EXPECT_EQ(cover->Tag(), NoSkinTag);
  EXPECT_EQ(GetParent(c), Form->Handle());
  EXPECT_EQ(GetWindow(probe->Handle(), GW_HWNDPREV), c);
  EXPECT_TRUE(IsWindowVisible(c));
  RECT r{};
  GetWindowRect(c, &r);
  EXPECT_EQ(r.right - r.left, 50);
  EXPECT_EQ(r.bottom - r.top, 40);
  EXPECT_EQ(SendMessageA(c, WM_ERASEBKGND, 0, 0), 1);
  AnimateTransition(probe, 0, 255, atFading);
  EXPECT_EQ(TransitionCover(), nullptr);
}

TEST_F(TransitionTest, EndsOnTheNewLookWhateverTheTime) {
  LayeredRecorder rec;
  SetAnimationCompositionQuery([] { return false; });
  for (uint16_t time : {0, 9, 40}) {
    SCOPED_TRACE(time);
    rec.Clear();
    PrepareTransition(probe, atFading);
    HWND c = TransitionCover()->Handle();
    AnimateTransition(probe, time, 255, atFading);
    EXPECT_FALSE(GlobalAnimationActive);
    EXPECT_EQ(TransitionCover(), nullptr);
    EXPECT_FALSE(IsWindow(c));
    // The cover's last picture is the new look, opaque.
    const std::vector<LayeredPush> pushes = rec.PushesTo(c);
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_EQ(pushes[0].Alpha, 255);
    EXPECT_EQ(pushes[0].Width, 50);
    EXPECT_EQ(pushes[0].At(15, 15), 0xFFFF0000u);
    EXPECT_EQ(pushes[0].At(2, 2), 0xFF0000FFu);
  }
  SetAnimationCompositionQuery(nullptr);
}

// Fails while painting its new look into the transition's picture.
class TFailingPaint : public TProbeControl {
 public:
  using TProbeControl::TProbeControl;
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_PAINT && M.WParam) throw std::runtime_error("paint");
    TProbeControl::WndProc(M);
  }
};

TEST_F(TransitionTest, AFailingPaintOrPushLeavesNoAnimationFlagNorCover) {
  LayeredRecorder rec;
  SetAnimationCompositionQuery([] { return false; });
  auto* failing = New<TFailingPaint>(Form);
  failing->SetBounds(200, 20, 30, 30);
  failing->SetParent(Form);
  failing->HandleNeeded();
  failing->PaintsPattern = true;
  // The control's own paint fails: the new look keeps its background and
  // the transition ends.
  PrepareTransition(failing, atFading);
  HWND c = TransitionCover()->Handle();
  EXPECT_NO_THROW(AnimateTransition(failing, 20, 255, atFading));
  EXPECT_FALSE(GlobalAnimationActive);
  EXPECT_EQ(TransitionCover(), nullptr);
  ASSERT_EQ(rec.PushesTo(c).size(), 1u);
  EXPECT_EQ(rec.PushesTo(c)[0].At(15, 15), 0xFF0000FFu);
  // The layered push fails on the way out.
  PrepareTransition(probe, atFading);
  ASSERT_NE(TransitionCover(), nullptr);
  rec.FailAfter(0);
  EXPECT_THROW(AnimateTransition(probe, 20, 255, atFading), LayeredPushFailed);
  EXPECT_FALSE(GlobalAnimationActive);
  EXPECT_EQ(TransitionCover(), nullptr);
  SetAnimationCompositionQuery(nullptr);
}

TEST_F(TransitionTest, SkinChangeOfAFrozenFormRunsItsTransition) {
  LayeredRecorder rec;
  auto* manager = New<TsSkinManager>(Form);
  ASSERT_EQ(DefaultManager, manager);
  manager->AnimEffects()->SkinChanging()->SetActive(true);
  auto* provider = New<TsSkinProvider>(Form);
  FreezeSkinnedForms(manager);
  ASSERT_TRUE(provider->StateFlags() & psFrozen);
  AfterSkinChange(manager, true);
  EXPECT_FALSE(provider->StateFlags() & psFrozen);
  EXPECT_FALSE(GlobalAnimationActive);
  // Without non-client painting the transition has no steps: one picture
  // of the whole form at full alpha on a carrier.
  ASSERT_EQ(rec.Pushes().size(), 1u);
  EXPECT_EQ(rec.Pushes()[0].Alpha, 255);
  EXPECT_EQ(rec.Pushes()[0].Width, Form->Width());
  TObject::Free(provider);
}

TEST(LayeredWindows, AlphaStylesAndPushes) {
  LayeredRecorder rec;
  TvlGlowForm* f = NewCarrier();
  HWND h = f->Handle();
  ShowWindow(h, SW_SHOWNOACTIVATE);
  EXPECT_TRUE(SetLayeredAlpha(h, true, 128));
  EXPECT_NE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_FALSE(SetLayeredAlpha(h, true, 100));  // already layered: only the alpha
  EXPECT_FALSE(SetLayeredAlpha(h, false, 0));
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE, 0);

  for (bool composition : {false, true}) {
    SetAnimationCompositionQuery(composition ? +[] { return true; } : +[] { return false; });
    ShowWindow(h, SW_SHOWNOACTIVATE);
    SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    rec.Clear();
    POINT at{40, 50};
    PushBitmapToLayeredWindow(h, nullptr, 90, &at);
    EXPECT_NE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_NE(GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE, 0);
    ASSERT_EQ(rec.Pushes().size(), 1u);
    const LayeredPush& p = rec.Pushes()[0];
    EXPECT_EQ(p.Alpha, 90);
    EXPECT_EQ(p.Flags, static_cast<DWORD>(ULW_ALPHA));
    EXPECT_TRUE(p.Moved);
    EXPECT_EQ(p.Pos.x, 40);
    EXPECT_EQ(p.Width, 20);
    EXPECT_EQ(p.Height, 10);
  }
  SetAnimationCompositionQuery(nullptr);
  TObject::Free(f);
}

TEST(WorkAreas, ThePrimaryMonitorsWorkAreaOrNone) {
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  const TPoint centre{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
  EXPECT_EQ(WorkAreaAtPoint(centre), TRect(work));
  EXPECT_EQ(WorkAreaAtPoint(TPoint{-30000, -30000}), TRect());
  auto* form = New<TForm>(Application, TCustomForm::TCreateNew{});
  form->SetBounds(centre.X, centre.Y, 50, 50);
  form->HandleNeeded();
  EXPECT_EQ(FormWorkArea(form), TRect(work));
  TObject::Free(form);
}

}  // namespace
