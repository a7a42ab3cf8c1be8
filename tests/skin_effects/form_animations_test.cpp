// Show and hide animations of a skinned form and dialog, run with a provider
// that composes a plain frame and has no border form.
#include <gtest/gtest.h>

#include <vector>

#include "layered_recorder.h"
#include "probe.h"
#include "skin/engine/layered_windows.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/window_animations.h"
#include "skin/foundation/glow_form.h"

namespace {

class FormAnimationTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    SetAnimationCompositionQuery([] { return false; });
    manager = New<TsSkinManager>(Form);
    provider = New<TsSkinProvider>(Form);
    provider->RegionRects = {TRect(0, 0, 3, 3)};
    provider->OnAfterAnimation = TvlAfterAnimation::Of<&FormAnimationTest::Log>(this);
  }
  void TearDown() override {
    SetAnimationCompositionQuery(nullptr);
    FormFixture::TearDown();
  }
  void Log(TvlAnimEvent e) { events.push_back(e); }
  std::vector<int> Alphas(const std::vector<LayeredPush>& Pushes) {
    std::vector<int> r;
    for (const LayeredPush& p : Pushes) r.push_back(p.Alpha);
    return r;
  }

  TsSkinManager* manager = nullptr;
  TsSkinProvider* provider = nullptr;
  std::vector<TvlAnimEvent> events;
};

TEST_F(FormAnimationTest, ShowFramesPerTimeEndOnTheOpaqueForm) {
  struct Case {
    uint16_t time;
    std::vector<int> alphas;  // the carrier's pushes: picture, frames, final
  };
  const Case cases[] = {
      {0, {0, 204}},  // no intermediate frames
      {30, {0, 68, 136, 204, 204, 204}},
      {95, {0, 23, 45, 68, 91, 113, 136, 159, 181, 204, 204, 204}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    LayeredRecorder rec;
    ShowWindow(Form->Handle(), SW_HIDE);
    events.clear();
    AnimateFormShow(provider, c.time, 204, atFading);
    EXPECT_FALSE(GlobalAnimationActive);
    EXPECT_EQ(Alphas(rec.Pushes()), c.alphas);
    const LayeredPush& last = rec.Pushes().back();
    EXPECT_EQ(last.Width, Form->Width());
    EXPECT_EQ(last.Height, Form->Height());
    EXPECT_EQ(last.At(1, 1) >> 24, 0u);     // a corner piece of the region
    EXPECT_EQ(last.At(10, 1) >> 24, 255u);  // the composed frame
    EXPECT_FALSE(IsWindow(last.Wnd));       // the carrier is gone
    HWND h = Form->Handle();
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(events, (std::vector<TvlAnimEvent>{aeShowing}));
  }
}

TEST_F(FormAnimationTest, ShowModesGrowThePicture) {
  struct Case {
    TFormBorderStyle border;
    TvlAnimType mode;
    bool cornerEmpty;  // top-left of the first frame
    bool farEmpty;     // bottom-right of the first frame
  };
  const Case cases[] = {
      {bsSizeable, atFading, false, false},
      {bsSizeable, atAero, true, true},
      {bsSizeable, atDropDown, false, true},
      {bsNone, atAero, false, true},  // a frameless form drops down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.mode) * 10 + int(c.border));
    Form->SetBorderStyle(c.border);
    ShowWindow(Form->Handle(), SW_HIDE);
    provider->RegionRects.clear();
    LayeredRecorder rec;
    AnimateFormShow(provider, 40, 255, c.mode);
    ASSERT_GE(rec.Pushes().size(), 3u);
    const LayeredPush& frame = rec.Pushes()[1];
    EXPECT_EQ(frame.At(1, 1) >> 24 == 0, c.cornerEmpty);
    EXPECT_EQ(frame.At(frame.Width - 2, frame.Height - 2) >> 24 == 0, c.farEmpty);
  }
}

TEST_F(FormAnimationTest, HideTakesTheSnapshotAndFadesTheComposedPicture) {
  manager->AnimEffects()->FormHide()->SetTime(30);
  manager->AnimEffects()->FormHide()->SetMode(atFading);
  Form->Show();
  Pump();
  // A provider without a cache has nothing to fade.
  AnimateFormHide(provider);
  EXPECT_TRUE(!HideTimer() || !HideTimer()->Carrier);
  provider->PaintNonClientImage();
  for (bool prepared : {true, false}) {
    SCOPED_TRACE(prepared);
    LayeredRecorder rec;
    events.clear();
    TvlGlowForm* snapshot = nullptr;
    if (prepared) {
      snapshot = New<TvlGlowForm>(nullptr);
      snapshot->SetBounds(0, 0, 10, 10);
      provider->SnapshotForm = snapshot;
    }
    AnimateFormHide(provider);
    EXPECT_FALSE(GlobalAnimationActive);
    ASSERT_NE(HideTimer(), nullptr);
    TCustomForm* carrier = HideTimer()->Carrier;
    ASSERT_NE(carrier, nullptr);
    if (prepared) {
      EXPECT_EQ(carrier, snapshot);
    }
    EXPECT_EQ(provider->SnapshotForm, nullptr);
    HWND c = carrier->Handle();
    EXPECT_EQ(RunHide(), 4);
    // The snapshot's own picture (when made here), then the hide's.
    std::vector<LayeredPush> pushes = rec.PushesTo(c);
    ASSERT_EQ(pushes.size(), prepared ? 5u : 6u);
    pushes.erase(pushes.begin(), pushes.end() - 5);
    EXPECT_EQ(Alphas(pushes), (std::vector<int>{255, 170, 85, 0, 0}));
    EXPECT_EQ(pushes[0].At(1, 1) >> 24, 0u);
    EXPECT_EQ(pushes[0].At(10, 1) >> 24, 255u);
    EXPECT_EQ(pushes[0].Width, Form->Width());
    HWND h = Form->Handle();
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(events, (std::vector<TvlAnimEvent>{aeHiding}));
    ShowWindow(h, SW_SHOWNOACTIVATE);
  }
}

// A form that blends itself keeps its own alpha: the show ends on it and
// the hide fades from it.
TEST_F(FormAnimationTest, ABlendingFormKeepsItsAlphaThroughShowAndHide) {
  Form->SetAlphaBlendValue(180);
  Form->SetAlphaBlend(true);
  HWND h = Form->Handle();
  auto formAlpha = [h] {
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(h, nullptr, &alpha, &flags);
    return (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED) && (flags & LWA_ALPHA) ? alpha : -1;
  };
  ShowWindow(h, SW_HIDE);
  AnimateFormShow(provider, 0, 180, atFading);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(formAlpha(), 180);

  manager->AnimEffects()->FormHide()->SetTime(20);
  manager->AnimEffects()->FormHide()->SetMode(atFading);
  provider->PaintNonClientImage();
  LayeredRecorder rec;
  AnimateFormHide(provider);
  ASSERT_TRUE(HideTimer() && HideTimer()->Carrier);
  HWND c = HideTimer()->Carrier->Handle();
  EXPECT_EQ(RunHide(), 3);
  std::vector<LayeredPush> pushes = rec.PushesTo(c);
  ASSERT_GE(pushes.size(), 4u);
  pushes.erase(pushes.begin(), pushes.end() - 4);
  EXPECT_EQ(Alphas(pushes), (std::vector<int>{180, 90, 0, 0}));
  EXPECT_EQ(formAlpha(), 180);
}

TEST_F(FormAnimationTest, AFailingPushLeavesNoAnimationFlagNorCarrier) {
  for (int failAt : {0, 2, 5}) {
    SCOPED_TRACE(failAt);
    ShowWindow(Form->Handle(), SW_HIDE);
    LayeredRecorder rec;
    rec.FailAfter(failAt);
    EXPECT_THROW(AnimateFormShow(provider, 40, 255, atAero), LayeredPushFailed);
    EXPECT_FALSE(GlobalAnimationActive);
    ASSERT_FALSE(rec.Pushes().empty() && failAt > 0);
    if (!rec.Pushes().empty()) {
      EXPECT_FALSE(IsWindow(rec.Pushes()[0].Wnd));
    }
  }
}

TEST_F(FormAnimationTest, DialogShowsInStepsPlusOneFramesAndHides) {
  HWND h = Form->Handle();
  TvlDialogWnd dialog(h);
  Form->Show();
  auto* child = AddProbe(Form, "C");
  child->SetBounds(5, 5, 20, 20);
  child->PaintsPattern = true;
  ShowWindow(h, SW_HIDE);
  struct Case {
    uint16_t time;
    std::vector<int> alphas;
  };
  // FinalAlpha / (Steps + 1) per frame: Time 0 still shows one frame.
  const Case cases[] = {{0, {0, 200}}, {30, {0, 50, 100, 150, 200}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    LayeredRecorder rec;
    AnimateDialogShow(&dialog, c.time, 200, atDropDown);
    EXPECT_FALSE(GlobalAnimationActive);
    EXPECT_EQ(Alphas(rec.Pushes()), c.alphas);
    const LayeredPush& last = rec.Pushes().back();
    // The child printed (announced by its print DC), the whole picture
    // opaque.
    EXPECT_EQ(ReceiversOf(SkinCmdSetPrintDC), (std::vector<std::string>{"C", "C"}));
    ReceivedLog().clear();
    EXPECT_EQ(last.At(1, 1) >> 24, 255u);
    EXPECT_EQ(last.At(last.Width / 2, last.Height / 2) >> 24, 255u);
    EXPECT_NE(GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_FALSE(IsWindow(last.Wnd));
    ShowWindow(h, SW_HIDE);
  }
  manager->AnimEffects()->DialogHide()->SetTime(20);
  LayeredRecorder rec;
  AnimateDialogHide(&dialog);
  EXPECT_FALSE(GlobalAnimationActive);
  ASSERT_NE(HideTimer(), nullptr);
  EXPECT_EQ(RunHide(), 3);
}

}  // namespace
