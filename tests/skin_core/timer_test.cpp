// The animation timer: arming, stepping, re-entry and failing steps.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "probe.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "widgets/controls/extctrls.h"

namespace {

std::vector<int> steps;
int depth = 0, maxDepth = 0;
TvlThreadedTimer* current = nullptr;

bool RecordStep(TsCommonData*, int step) {
  steps.push_back(step);
  return true;
}

class TimerTest : public testing::Test {
 protected:
  void SetUp() override {
    steps.clear();
    depth = maxDepth = 0;
    timer = New<TvlThreadedTimer>(nullptr);
    current = timer;
  }
  void TearDown() override {
    TObject::Free(timer);
    current = nullptr;
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) timer->TimerTick(nullptr);
  }
  TvlThreadedTimer* timer = nullptr;
};

TEST_F(TimerTest, FreshTimer) {
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  EXPECT_EQ(timer->Kind, -1);
  EXPECT_EQ(timer->StepCount, 10);
  EXPECT_EQ(timer->ThreadPriority(), tpNormal);
  // Neither OnTimer nor a step function: the inner timer does not run.
  ASSERT_NE(timer->InnerTimer(), nullptr);
  EXPECT_FALSE(timer->InnerTimer()->Enabled());
  const TPropInfo* prio = timer->ClassType().FindProp("ThreadPriority");
  ASSERT_NE(prio, nullptr);
  EXPECT_TRUE(prio->Stored(timer));
}

TEST_F(TimerTest, ArmingByKind) {
  struct Case {
    double value;
    int prevKind;
    int kind;
    bool fast;
    int stepCount;
    double stepSize;
    int currentStep;
  };
  const Case cases[] = {
      {255, -1, 0, false, 20, 12.75, 0},  // fade-out from fully visible
      {255, -1, 0, true, 10, 25.5, 0},     {0, -1, 1, false, 10, 25.5, 0},  // fade-in from nothing
      {0, -1, 1, true, 10, 25.5, 0},        // Fast has no effect on fade-ins
      {127.5, 0, 1, false, 5, 25.5, 5},     // taking over a fade-out half-way
      {127.5, 2, 1, true, 10, 12.75, 0},    // after a cross-fade: 10 steps
      {300, -1, 2, false, 10, 25.5, 0},     // Value clamped to 255
      {-5, -1, 0, false, 20, 0, 0},         // Value clamped to 0
      {127.5, 1, 0, false, 20, 6.375, 10},  // fade-out taking over a fade-in
  };
  for (const Case& c : cases) {
    TvlThreadedTimer t(nullptr);
    t.Value = c.value;
    t.Kind = c.prevKind;
    t.SetInterval(500);
    t.StartAnimation(nullptr, 0, RecordStep, c.kind, c.fast);
    EXPECT_EQ(t.StepCount, c.stepCount) << c.value << " " << c.kind;
    EXPECT_DOUBLE_EQ(t.StepSize, c.stepSize) << c.value << " " << c.kind;
    EXPECT_EQ(t.CurrentStep, c.currentStep) << c.value << " " << c.kind;
    EXPECT_EQ(t.Interval(), 10u);
    EXPECT_EQ(t.PrevKind, c.prevKind);
    EXPECT_EQ(t.Kind, c.kind);
    EXPECT_TRUE(t.InnerTimer()->Enabled());
  }
}

TEST_F(TimerTest, EnsureAnimTimer) {
  TvlThreadedTimer* t = nullptr;
  EXPECT_EQ(EnsureAnimTimer(t, nullptr, 0), 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Value, 255);
  t->Kind = 0;
  t->CurrentStep = 4;
  EXPECT_EQ(EnsureAnimTimer(t, nullptr, 1), 16);
  t->Kind = 1;
  t->CurrentStep = 12;
  EXPECT_EQ(EnsureAnimTimer(t, nullptr, 1), 0);
  TObject::Free(t);
}

TEST_F(TimerTest, StepsRunOncePerTickToTheEnd) {
  timer->StartAnimation(nullptr, 0, RecordStep, 1, false);
  Ticks(12);
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_FALSE(timer->Enabled());
}

TEST_F(TimerTest, AnimationEndingAtOnceStillDrawsItsFinalPicture) {
  timer->Value = 127.5;
  timer->Kind = 0;
  timer->StartAnimation(nullptr, 0, RecordStep, 1, false);
  ASSERT_EQ(timer->StepCount, 5);
  ASSERT_EQ(timer->CurrentStep, 5);
  Ticks(3);
  EXPECT_EQ(steps, (std::vector<int>{5}));  // the final step, drawn once
  EXPECT_FALSE(timer->Enabled());
  // When the first picture was shown by Step, the end draws nothing more.
  steps.clear();
  timer->Value = 127.5;
  timer->Kind = 0;
  timer->StartAnimation(nullptr, 0, RecordStep, 1, false);
  timer->Step();
  Ticks(2);
  EXPECT_EQ(steps, (std::vector<int>{5}));
}

TEST_F(TimerTest, NestedTicksAreDropped) {
  timer->StartAnimation(
      nullptr, 0,
      [](TsCommonData*, int step) {
        maxDepth = std::max(maxDepth, ++depth);
        steps.push_back(step);
        current->TimerTick(nullptr);  // a tick arriving inside a step
        --depth;
        return true;
      },
      1, false);
  Ticks(3);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3}));
}

TEST_F(TimerTest, StepThatThrowsLeavesTheTimerAlive) {
  timer->StartAnimation(
      nullptr, 0,
      [](TsCommonData*, int step) -> bool {
        steps.push_back(step);
        if (step == 2) throw std::runtime_error("step failed");
        return true;
      },
      1, false);
  Ticks(1);
  EXPECT_THROW(timer->TimerTick(nullptr), std::runtime_error);
  EXPECT_FALSE(timer->TickBusy);
  Ticks(1);
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3}));
}

TEST_F(TimerTest, StepStopsWhenTheFunctionSaysSo) {
  timer->StartAnimation(
      nullptr, 3, [](TsCommonData*, int) { return false; }, 1, false);
  timer->Step();
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(timer->Kind, -1);
}

TEST_F(TimerTest, RealTicksWithAStepThatProcessesMessages) {
  timer->StartAnimation(
      nullptr, 0,
      [](TsCommonData*, int step) {
        maxDepth = std::max(maxDepth, ++depth);
        steps.push_back(step);
        WaitWithMessages(25);  // later ticks arrive meanwhile
        --depth;
        return true;
      },
      1, true);
  DWORD start = GetTickCount();
  while (timer->Enabled() && GetTickCount() - start < 5000) WaitWithMessages(10);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(TimerTest, OnTimerRunsWithoutAStepFunction) {
  struct Counter {
    int n = 0;
    void Tick(TObject*) { ++n; }
  } counter;
  timer->SetInterval(10);
  timer->SetOnTimer(TNotifyEvent::Of<&Counter::Tick>(&counter));
  EXPECT_TRUE(timer->InnerTimer()->Enabled());
  DWORD start = GetTickCount();
  while (counter.n < 3 && GetTickCount() - start < 3000) WaitWithMessages(10);
  EXPECT_GE(counter.n, 3);
  timer->SetEnabled(false);
  EXPECT_FALSE(timer->InnerTimer()->Enabled());
}

TEST(TimerOwnership, TimerAndSkinStateLetGoOfEachOther) {
  TsCommonData data(nullptr, false);
  EnsureAnimTimer(data.AnimTimer, nullptr, 1);
  TvlThreadedTimer* t = data.AnimTimer;
  t->StartAnimation(&data, 0, RecordStep, 2, false);
  t->WorkImage = NewArgbBitmap(2, 2);
  t->OldImage = NewArgbBitmap(2, 2);
  FinishAnimation(t);
  EXPECT_EQ(t->CurrentStep, t->StepCount - 1);
  EXPECT_EQ(t->Value, 255);
  EXPECT_EQ(t->WorkImage, nullptr);
  EXPECT_NE(t->OldImage, nullptr);
  StopAnimation(&data);
  EXPECT_EQ(t->Kind, -1);
  EXPECT_EQ(t->OldImage, nullptr);
  TObject::Free(t);
  EXPECT_EQ(data.AnimTimer, nullptr);  // the timer detached itself
}

TEST(TimerOwnership, CrossFadeStartsFromTheLastShownBlend) {
  TvlThreadedTimer t(nullptr);
  t.WorkImage = NewArgbBitmap(3, 2);
  PixelView w = ArgbView(t.WorkImage);
  w.At(2, 1) = 0x80402010;
  t.Value = 255;
  t.StartAnimation(nullptr, 7, RecordStep, 2, false);
  ASSERT_NE(t.OldImage, nullptr);
  EXPECT_EQ(ArgbView(t.OldImage).At(2, 1), 0x80402010u);
  EXPECT_EQ(t.CurrentStep, 0);  // a work image exists
}

}  // namespace
