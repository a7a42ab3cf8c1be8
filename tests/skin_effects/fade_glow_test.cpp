// Fades between two looks of a control and the glow windows around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "layered_recorder.h"
#include "probe.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/glow_form.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/skin_source.h"
#include "widgets/graphics/graphics.h"

namespace {

constexpr uint32_t kOld = 0xFF0000FF;  // opaque blue
constexpr uint32_t kNew = 0xFFFF0000;  // opaque red

void Fill(TBitmap* b, uint32_t Pixel) {
  const PixelView v = ArgbView(b);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) v.At(x, y) = Pixel;
}

// The probe repaints its cache in the new look when asked to.
bool PaintNewLook(TControl* Self, TMessage& M) {
  if (SkinCmdCode(M.WParam) != SkinCmdPrepareCache) return false;
  Fill(static_cast<TProbeControl*>(Self)->SkinData->CacheBitmap, kNew);
  M.Result = 1;
  return true;
}

// Owner of the glow image: it has its own bitmap, so no master is needed.
class OwnImagesOnly : public SkinSource {
 public:
  int SectionCount() const override { return 0; }
  const TsGeneralData& Section(int) const override { return none_; }
  int ImageCount() const override { return 0; }
  const TsMaskData& ImageData(int) const override { return noImage_; }
  PixelView MasterPixels() const override { return {}; }

 private:
  TsGeneralData none_;
  TsMaskData noImage_;
};

class FadeGlowTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    manager = New<TsSkinManager>(Form);
    for (const char* name : {"GLOBALINFO", "BUTTON"}) {
      TsGeneralData d;
      d.SectionName = name;
      manager->Sections.push_back(d);
    }
    manager->Sections[1].GlowMargin = 2;
    manager->Sections[1].Glow = 1;
    TBitmap* image = NewArgbBitmap(6, 6);
    Fill(image, 0x80FFFFFF);
    manager->ExternalImages.push_back({image, "GLOW.PNG", 0});
    TsMaskData glow;
    glow.Image = image;
    glow.Section = "BUTTON";
    glow.Key = "GLOW0";
    glow.SourceRect = RECT{0, 0, 6, 6};
    glow.FrameCount = 1;
    glow.Owner = &source;
    glow.PaintMode = kMaskPaintCentre;
    glow.FrameWidth = glow.FrameHeight = 6;
    glow.BorderLeft = glow.BorderTop = glow.BorderRight = glow.BorderBottom = 2;
    manager->Masks.push_back(glow);

    probe = AddProbe(Form, "P");
    probe->SetBounds(10, 10, 40, 20);
    probe->Answer = PaintNewLook;
    data = probe->SkinData = new TsCommonData(probe, true);
    data->SkinSection = "BUTTON";
    data->SkinIndex = 1;
    data->NotLoaded = false;
    data->CacheBitmap->SetWidth(40);
    data->CacheBitmap->SetHeight(20);
    Fill(data->CacheBitmap, kOld);
    data->BgChanged = false;
    Form->Show();
  }
  void TearDown() override {
    ClearGlows(true);
    FormFixture::TearDown();
  }
  TvlThreadedTimer* Timer() const { return data->AnimTimer; }
  void Ticks(int N) {
    for (int i = 0; i < N && Timer(); ++i) Timer()->TimerTick(nullptr);
  }
  int ShowButtonGlow(uint8_t Alpha) {
    return ShowGlow(TRect(100, 100, 140, 120), "BUTTON", "GLOW", 2, Alpha, Form->Handle(), data);
  }

  OwnImagesOnly source;
  TsSkinManager* manager = nullptr;
  TProbeControl* probe = nullptr;
  TsCommonData* data = nullptr;
};

TEST(AnimatedEvents, OwnEventsOrTheManagersButtonEvents) {
  TsSkinManager m(nullptr);
  m.AnimEffects()->Buttons()->SetEvents(SetBit(beMouseEnter) | SetBit(beMouseUp));
  struct Case {
    TvlAnimatEvent event;
    TvlAnimatEvents events;
    bool expected;
  };
  const Case cases[] = {
      {aeMouseLeave, SetBit(aeGlobalDef), false},
      {aeMouseLeave, SetBit(aeMouseLeave), true},
      {aeMouseEnter, SetBit(aeGlobalDef), true},
      {aeGlobalDef, SetBit(aeGlobalDef), true},  // maps to beMouseUp
      {aeMouseDown, SetBit(aeMouseEnter), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsAnimatedEvent(c.event, c.events, &m), c.expected) << int(c.event);
}

// Blue keeps a/255 of the old look, red has the rest; BlendBitmapRect rounds.
void ExpectBlend(TBitmap* Work, int Keep) {
  const uint32_t p = ArgbView(Work).At(5, 5);
  EXPECT_NEAR(static_cast<int>(p & 0xFF), Keep, 1);
  EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 255 - Keep, 1);
}

TEST_F(FadeGlowTest, FadeLevelsPerTickAndKind) {
  struct Row {
    int ticks;     // after the immediate first step
    double value;  // the timer's level
    bool running;
  };
  struct Case {
    int kind;
    std::vector<Row> rows;
  };
  // A fade-out of 20 steps of 12.75 reaches 0 on its last step and ends
  // there; a fade-in of 10 steps of 25.5 keeps 255 - a of the old look.
  const Case cases[] = {
      {0, {{0, 242.25, true}, {9, 127.5, true}, {19, 0, true}, {20, -12.75, false}}},
      // The fade-in's last step overshoots (clamped to 255 when drawn); the
      // tick after it ends the timer.
      {1,
       {{0, 25.5, true}, {4, 127.5, true}, {9, 255, true}, {10, 280.5, true}, {11, 280.5, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Fill(data->CacheBitmap, kOld);
    data->BgChanged = false;
    int done = 0;
    for (const Row& r : c.rows) {
      if (r.ticks == 0) {
        RepaintWithFade(data, c.kind, FadeStep, true, false, false);
        ASSERT_NE(Timer(), nullptr);
        EXPECT_EQ(Timer()->StepCount, c.kind == 0 ? 20 : 10);
      } else {
        Ticks(r.ticks - done);
      }
      done = r.ticks;
      SCOPED_TRACE(r.ticks);
      EXPECT_DOUBLE_EQ(Timer()->Value, r.value);
      EXPECT_EQ(Timer()->Enabled(), r.running);
      const int a = std::clamp(static_cast<int>(std::lround(r.value)), 0, 255);
      if (r.running) ExpectBlend(Timer()->WorkImage, c.kind == 1 ? 255 - a : a);
    }
    // The fade-out ends with StopAnimation: no kind, no images.
    if (c.kind == 0) {
      EXPECT_EQ(Timer()->Kind, -1);
      EXPECT_EQ(Timer()->WorkImage, nullptr);
    }
    TObject::Free(data->AnimTimer);
    data->AnimTimer = nullptr;
  }
}

TEST_F(FadeGlowTest, FadeOutAboveZeroOnItsLastStepKeepsSteppingTwicePerTick) {
  RepaintWithFade(data, 0, FadeStep, true, false, false);
  // Half the step size from the first tick on: the 20th tick finds the
  // level above 0 and takes a second step.
  Timer()->StepSize = 6.375;
  Ticks(20);
  ASSERT_TRUE(Timer()->Enabled());
  EXPECT_DOUBLE_EQ(Timer()->Value, 242.25 - 21 * 6.375);
  Ticks(1);
  EXPECT_DOUBLE_EQ(Timer()->Value, 242.25 - 23 * 6.375);
  int extra = 1;
  while (Timer()->Kind != -1 && extra < 50) {
    Ticks(1);
    ++extra;
  }
  EXPECT_EQ(Timer()->Kind, -1);
  EXPECT_LE(Timer()->Value, 0);
  EXPECT_EQ(extra, 9);  // the last 15 steps at two per tick
}

TEST_F(FadeGlowTest, StartFadeWithTheRunningKindChangesNothing) {
  RepaintWithFade(data, 2, FadeStep, true, false, false);
  Ticks(3);
  TBitmap* newImage = Timer()->NewImage;
  const double value = Timer()->Value;
  const int step = Timer()->CurrentStep;
  Fill(data->CacheBitmap, 0xFF00FF00);
  StartFade(data, 2, FadeStep, false);
  EXPECT_EQ(Timer()->NewImage, newImage);
  EXPECT_EQ(Timer()->CurrentStep, step);
  EXPECT_DOUBLE_EQ(Timer()->Value, value);
  EXPECT_EQ(ArgbView(Timer()->NewImage).At(0, 0), kNew);
}

TEST_F(FadeGlowTest, WithoutAnimationTheControlRepaintsAndShowsOrHidesItsGlow) {
  LayeredRecorder rec;
  manager->Effects()->SetAllowAnimation(false);
  data->Hot = true;
  RepaintWithFade(data, 1, FadeStep, true, false, true);
  EXPECT_EQ(Timer(), nullptr);
  ASSERT_GE(data->GlowIndex, 0);
  ASSERT_FALSE(rec.Pushes().empty());
  EXPECT_EQ(rec.Pushes().back().Alpha, 255);
  data->Hot = false;
  RepaintWithFade(data, 0, FadeStep, true, false, true);
  EXPECT_EQ(data->GlowIndex, -1);
  // A section whose GLOW is 0 never glows.
  manager->Sections[1].Glow = 0;
  data->Hot = true;
  RepaintWithFade(data, 1, FadeStep, true, false, true);
  EXPECT_EQ(data->GlowIndex, -1);
}

// The common handling shows the hover glow on mouse enter and hides it when
// the control moves, resizes, is disabled or hidden.
TEST_F(FadeGlowTest, HoverGlowFollowsTheCommonMessages) {
  LayeredRecorder rec;
  manager->Effects()->SetAllowAnimation(false);
  probe->CommonHandling = true;
  SetCursorPos(0, 0);
  struct Case {
    const char* what;
    int kind;
    bool allowGlowing;
    bool glows;
  };
  const Case kinds[] = {
      {"plain control", 165, true, true},
      {"glowing switched off", 165, false, false},
      {"container", 74, true, false},
      {"button", 93, true, false},
  };
  for (const Case& c : kinds) {
    SCOPED_TRACE(c.what);
    data->ControlKind = c.kind;
    data->Hot = false;
    manager->Effects()->SetAllowGlowing(c.allowGlowing);
    rec.Clear();
    probe->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(data->GlowIndex >= 0, c.glows);
    if (c.glows) {
      ASSERT_FALSE(rec.Pushes().empty());
      EXPECT_EQ(rec.Pushes().back().Alpha, 255);
    }
    probe->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(data->GlowIndex, -1);
  }
  manager->Effects()->SetAllowGlowing(true);
  data->ControlKind = 165;

  struct Hide {
    const char* what;
    UINT msg;
    WPARAM wParam;
    bool enabled;
    bool hides;
  };
  const Hide hides[] = {
      {"move", WM_MOVE, 0, true, true},
      {"size", WM_SIZE, 0, true, true},
      {"enabled again", CM_ENABLEDCHANGED, 0, true, false},
      {"disabled", CM_ENABLEDCHANGED, 0, false, true},
      {"shown", CM_VISIBLECHANGED, 1, true, false},
      {"hidden", CM_VISIBLECHANGED, 0, true, true},
  };
  for (const Hide& h : hides) {
    SCOPED_TRACE(h.what);
    data->Hot = false;
    probe->Perform(CM_MOUSEENTER, 0, 0);
    ASSERT_GE(data->GlowIndex, 0);
    HWND glow = TvlGlowEffects[static_cast<size_t>(data->GlowIndex)]->Form->Handle();
    probe->SetEnabled(h.enabled);
    probe->Perform(h.msg, h.wParam, 0);
    EXPECT_EQ(data->GlowIndex < 0, h.hides);
    EXPECT_EQ(IsWindowVisible(glow) == FALSE, h.hides);
    probe->SetEnabled(true);
    HideGlow(data->GlowIndex, false);
  }
}

TEST_F(FadeGlowTest, AnimatedHoverGlowFadesInAndOut) {
  LayeredRecorder rec;
  probe->CommonHandling = true;
  data->ControlKind = 165;
  SetCursorPos(0, 0);
  probe->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_GE(data->GlowIndex, 0);
  ASSERT_NE(Timer(), nullptr);
  EXPECT_EQ(Timer()->IsGlowAnimation, 1);
  HWND glow = TvlGlowEffects[static_cast<size_t>(data->GlowIndex)]->Form->Handle();
  // Shown at 0 and raised by the immediate first step.
  const std::vector<LayeredPush> first = rec.PushesTo(glow);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].Alpha, 0);
  EXPECT_EQ(first[1].Alpha, 26);
  // A resize while the glow fades in leaves it to the animation.
  probe->Perform(WM_SIZE, 0, 0);
  EXPECT_GE(data->GlowIndex, 0);
  Ticks(12);
  EXPECT_EQ(rec.PushesTo(glow).back().Alpha, 255);

  probe->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(data->Hot);
  ASSERT_GE(data->GlowIndex, 0);  // fading out
  EXPECT_LT(rec.PushesTo(glow).back().Alpha, 255);
  Ticks(25);
  EXPECT_EQ(data->GlowIndex, -1);
  EXPECT_FALSE(IsWindowVisible(glow));
}

TEST_F(FadeGlowTest, GlowLifeCycle) {
  LayeredRecorder rec;
  EXPECT_EQ(ShowGlow(TRect(0, 0, 10, 10), "EDIT", "GLOW", 0, 255, nullptr, data), -1);
  EXPECT_EQ(ShowGlow(TRect(0, 0, 10, 10), "BUTTON", "NOGLOW", 0, 255, nullptr, data), -1);
  EXPECT_EQ(ShowGlowByMask(TRect(0, 0, 10, 10), {}, 0, 255, nullptr, data), -1);
  EXPECT_EQ(ShowGlowByMask(TRect(0, 0, 10, 10), {-1}, 0, 255, nullptr, data), -1);
  EXPECT_TRUE(TvlGlowEffects.empty());

  data->GlowIndex = ShowButtonGlow(200);
  ASSERT_EQ(data->GlowIndex, 0);
  TvlGlowEffect* e = TvlGlowEffects[0].get();
  ASSERT_NE(e->Form, nullptr);
  HWND h = e->Form->Handle();
  // 40 x 20 plus the image's borders of 2, pulled in by the margin of 2.
  RECT r{};
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 40);
  EXPECT_EQ(r.bottom - r.top, 20);
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_EXSTYLE) & 0x80020, 0x80020);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_TRUE(e->Form->WindowProc == TWndMethod::Of<&TvlGlowEffect::GlowWndProc>(e));
  EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  const std::vector<LayeredPush> pushes = rec.PushesTo(h);
  ASSERT_EQ(pushes.size(), 1u);
  const LayeredPush& first = pushes[0];
  EXPECT_EQ(first.Alpha, 200);
  EXPECT_EQ(first.AlphaFormat, AC_SRC_ALPHA);
  EXPECT_EQ(first.Flags, static_cast<DWORD>(ULW_ALPHA));
  EXPECT_EQ(first.Width, 40);
  EXPECT_EQ(first.Height, 20);
  EXPECT_NE(first.At(20, 10) >> 24, 0u);  // the glow image is painted

  SetGlowAlpha(data->GlowIndex, 77);
  SetGlowAlpha(5, 99);  // no such glow: ignored
  ASSERT_EQ(rec.PushesTo(h).size(), 2u);
  EXPECT_EQ(rec.PushesTo(h)[1].Alpha, 77);

  // Another hook on the form after ours keeps its place when the glow goes.
  TWndMethod theirs = TWndMethod::Of<&TvlGlowForm::WndProc>(e->Form);
  e->Form->WindowProc = theirs;
  TvlGlowForm* form = e->Form;
  HideGlow(data->GlowIndex, false);
  EXPECT_EQ(data->GlowIndex, -1);
  ASSERT_EQ(TvlGlowEffects.size(), 1u);
  EXPECT_EQ(TvlGlowEffects[0], nullptr);
  // Released, not freed: hidden now, gone once pending messages ran.
  ASSERT_TRUE(IsWindow(h));
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(form->WindowProc == theirs);
  Pump();
  EXPECT_FALSE(IsWindow(h));

  int invalid = 3;
  HideGlow(invalid, false);
  EXPECT_EQ(invalid, 3);

  data->GlowIndex = ShowButtonGlow(255);
  EXPECT_EQ(data->GlowIndex, 1);
  // A new skin of the default manager clears every glow.
  ASSERT_EQ(DefaultManager, manager);
  BroadcastNewSkin(manager, false);
  EXPECT_TRUE(TvlGlowEffects.empty());
  EXPECT_EQ(data->GlowIndex, -1);
}

TEST_F(FadeGlowTest, GlowImageTakesTheControlsTone) {
  LayeredRecorder rec;
  std::vector<uint32_t> centre;
  for (TColor tone : {clNone, clRed}) {
    data->ColorTone = tone;
    data->GlowIndex = ShowButtonGlow(255);
    ASSERT_GE(data->GlowIndex, 0);
    centre.push_back(rec.Pushes().back().At(20, 10));
    HideGlow(data->GlowIndex, false);
  }
  EXPECT_EQ(centre[0] >> 16 & 0xFF, centre[0] & 0xFF);  // the white image as it is
  const uint32_t toned = centre[1];
  EXPECT_NE(toned, centre[0]);
  EXPECT_GT(toned >> 16 & 0xFF, toned & 0xFF);  // red above blue
}

TEST_F(FadeGlowTest, GlowFadeInReachesFullAlphaOnTheNinthTickAndEndsOnTheTenth) {
  LayeredRecorder rec;
  data->GlowIndex = ShowButtonGlow(0);
  HWND h = TvlGlowEffects[0]->Form->Handle();
  rec.Clear();
  const int start = EnsureAnimTimer(data->AnimTimer, probe, 1);
  Timer()->StartAnimation(data, start, GlowFadeStep, 1, false);
  Timer()->Step();
  Ticks(9);
  std::vector<int> alphas;
  for (const LayeredPush& p : rec.PushesTo(h)) alphas.push_back(p.Alpha);
  EXPECT_EQ(alphas, (std::vector<int>{26, 51, 76, 102, 128, 153, 178, 204, 230, 255}));
  Ticks(2);
  EXPECT_EQ(rec.PushesTo(h).size(), 10u);
  EXPECT_FALSE(Timer()->Enabled());
  EXPECT_EQ(data->GlowIndex, 0);  // a fade-in leaves the glow
}

TEST_F(FadeGlowTest, AnimatedHideLeavesNoGlowBehind) {
  LayeredRecorder rec;
  struct Case {
    const char* what;
    int runningKind;  // on the control's timer with FadeStep; -1 none
    int glowAnimation;
    bool stays;  // right after the hide
  };
  const Case cases[] = {
      // A fade-in never hides the glow: it must go at once.
      {"fade-in running", 1, 0, false},
      {"finished timer", -1, 0, false},
      // A fade-out or cross-fade hides it at its end.
      {"fade-out running", 0, 0, true},
      {"cross-fade running", 2, 0, true},
      // The glow's own fade-out hides it at its end.
      {"glow animation", -1, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(data->CacheBitmap, kOld);
    data->BgChanged = false;
    data->GlowIndex = ShowButtonGlow(255);
    HWND h = TvlGlowEffects[static_cast<size_t>(data->GlowIndex)]->Form->Handle();
    if (c.runningKind >= 0)
      StartFade(data, c.runningKind, FadeStep, false);
    else
      EnsureAnimTimer(data->AnimTimer, probe, 1);
    Timer()->IsGlowAnimation = c.glowAnimation;
    HideGlow(data->GlowIndex, true);
    EXPECT_EQ(data->GlowIndex >= 0, c.stays);
    if (c.stays) {
      Ticks(25);
      EXPECT_EQ(data->GlowIndex, -1);
    }
    EXPECT_FALSE(IsWindowVisible(h));
    TObject::Free(data->AnimTimer);
    data->AnimTimer = nullptr;
    Pump();
  }
}

}  // namespace
