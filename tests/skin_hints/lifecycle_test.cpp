// The timers around a hint: the hide and cleanup intervals, the hint pause
// the animation borrows and gives back, the custom control's procedure, and
// what happens without a manager.
#include "hint_scene.h"
#include "skin/engine/hint_display.h"
#include "widgets/controls/extctrls.h"

namespace {

TEST_F(HintScene, HideAndCleanupTimersAndTheBorrowedHintPause) {
  Application->SetHintPause(500);
  Application->SetHintShortPause(50);
  Manager->Set.Animated = true;
  Show({300, 300}, "Pan");
  EXPECT_EQ(Application->HintPause(), 100);
  EXPECT_EQ(Manager->State.SavedHintPause, 500);
  ASSERT_NE(Manager->State.HideTimer, nullptr);
  EXPECT_EQ(Manager->State.HideTimer->Interval(), 300u);
  EXPECT_FALSE(Manager->State.TimedHide);

  // A second hint while the first is up keeps the pause saved once.
  Show({320, 320}, "Pan again", 1200);
  EXPECT_EQ(Manager->State.SavedHintPause, 500);
  EXPECT_EQ(Manager->State.HideTimer->Interval(), 1200u);
  EXPECT_TRUE(Manager->State.TimedHide);
  while (ShowAnimationStep(Manager.get())) {
  }

  // The explicit timeout drops the hint; closing it arms the cleanup.
  TimedHintHide(Manager.get());
  EXPECT_FALSE(Manager->State.HideTimer->Enabled());
  EXPECT_FALSE(Manager->State.Visible);
  ASSERT_NE(Manager->State.CleanupTimer, nullptr);
  EXPECT_TRUE(Manager->State.CleanupTimer->Enabled());
  EXPECT_EQ(Manager->State.CleanupTimer->Interval(), 350u);
  EXPECT_GE(Manager->Hides, 1);

  ASSERT_NE(Manager->State.LayerForm, nullptr);
  HintCleanup(Manager.get());
  EXPECT_EQ(Manager->State.LayerForm, nullptr);
  EXPECT_EQ(Application->HintPause(), 500);
  EXPECT_EQ(Manager->State.SavedHintPause, -1);
  EXPECT_FALSE(Manager->State.CleanupTimer->Enabled());
}

TEST_F(HintScene, TheLeaveCheckKeepsTheHintWhileTheControlIsUnderTheMouse) {
  TForm* form = New<TForm>(Application, TCustomForm::TCreateNew{});
  Holder = form;
  form->SetBounds(100, 100, 200, 150);
  form->Show();
  PumpMessages();
  SetCursorPos(150, 150);
  Manager->Set.AnchorControl = form;
  // Anchored, the bubble shows at the cursor, and lets the mouse through.
  Show({600, 600}, "Stays");
  EXPECT_EQ(Manager->State.HintControl, form);
  EXPECT_TRUE(Manager->State.Visible);
  EXPECT_EQ(ControlUnderMouse(), form);
  HintLeaveCheck(Manager.get());
  EXPECT_TRUE(Manager->State.Visible);
  SetCursorPos(kSceneMonitor.Right - 1, kSceneMonitor.Bottom - 1);
  HintLeaveCheck(Manager.get());
  EXPECT_FALSE(Manager->State.Visible);
  EXPECT_EQ(Manager->State.HintControl, nullptr);
  Manager->Set.AnchorControl = nullptr;
}

// Paints itself red; the hint shows it in place of text.
class TRedProbe : public TCustomControl {
 public:
  explicit TRedProbe(TComponent* AOwner) : TCustomControl(AOwner) {}
  void Paint() override {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(ClientRect());
  }
};

TEST_F(HintScene, ACustomControlPaintsIntoTheHintAndGetsItsProcedureBack) {
  TForm* form = New<TForm>(Application, TCustomForm::TCreateNew{});
  Holder = form;
  auto* probe = New<TRedProbe>(form);
  probe->SetBounds(0, 0, 40, 20);
  probe->SetParent(form);
  const TWndMethod before = probe->WindowProc;
  Manager->Set.CustomControl = probe;
  Show({300, 300}, "unused");
  EXPECT_TRUE(probe->WindowProc == before);
  ASSERT_FALSE(Recorder.Pushes().empty());
  const LayeredPush& p = Recorder.Pushes().back();
  ASSERT_FALSE(p.Pixels.empty());
  EXPECT_EQ(p.Width, 40 + 2 * test_hints::kMargin);
  EXPECT_TRUE(NearArgb(p.At(test_hints::kMargin + 20, test_hints::kMargin + 10), 0xFFFF0000u, 2));
  Manager->Set.CustomControl = nullptr;
}

TEST(HintsWithoutManager, EveryOperationReturnsAtOnceAndDisplayHintAtIsThePlatforms) {
  ASSERT_EQ(ActiveHintManager, nullptr);
  LayeredRecorder recorder;
  auto w = OwnObject(New<TvlPngHintWindow>(nullptr));
  const TRect r = w->CalcHintRect(300, "Nothing");
  EXPECT_EQ(r.Width(), 0);
  w->ActivateHint({10, 10, 60, 30}, "Nothing");
  EXPECT_FALSE(w->HandleAllocated());
  w->MakeHintImage(20, 20);
  EXPECT_EQ(w->HintImage(), nullptr);
  EXPECT_EQ(ShowHintAt(nullptr, {10, 10}, "x", 0), nullptr);
  StartHintHideTimer(nullptr, 0);
  StartHintCleanupTimer(nullptr);
  EXPECT_FALSE(ShowAnimationStep(nullptr));

  auto plain = OwnObject(DisplayHintAt("Platform hint", {100, 100}));
  ASSERT_NE(plain.get(), nullptr);
  EXPECT_EQ(&plain->ClassType(), &THintWindow::StaticClass());
  EXPECT_TRUE(recorder.Pushes().empty());
}

TEST_F(HintScene, DisplayHintAtGoesThroughTheActiveManager) {
  TControl* w = DisplayHintAt("Through the manager", {250, 250});
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w, Manager->State.HintWindow);
  EXPECT_NE(dynamic_cast<TvlPngHintWindow*>(w), nullptr);
  EXPECT_FALSE(Recorder.Pushes().empty());
  EXPECT_EQ(Manager->State.HideTimer->Interval(), unsigned(Application->HintHidePause()));
}

}  // namespace
