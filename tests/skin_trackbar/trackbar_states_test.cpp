// The skinned track bar's states: the thumb frames once a fade has ended,
// the focus frame, the disabled look, the place of OnSkinPaint and the
// hover glow, each in both orientations, pixels from the test skin's
// manifest.
#include <windows.h>

#include "skin/engine/glow_effects.h"
#include "skin/foundation/glow_form.h"
#include "skinned_scene.h"

namespace {

using namespace test_skin;

const char* Orientation(bool Vertical) {
  return Vertical ? "vertical" : "horizontal";
}

LPARAM ClientPoint(TPoint P) {
  return MAKELPARAM(P.X, P.Y);
}

// Each change fades to the new look; once the fade is run to its end (or
// cut short by the release's scroll notification) the cache and the window
// both show the new frame.
TEST(SkinnedTrackBarStates, ThumbFramesOnceTheFadeHasEnded) {
  const struct {
    const char* step;
    UINT message;
    bool fades;                    // the release's scroll notification ends its fade at once
    int thumbFrame, channelFrame;  // -1: not checked
  } steps[] = {
      {"hot", CM_MOUSEENTER, true, 1, 1},
      {"pressed", WM_LBUTTONDOWN, true, 2, -1},
      {"released", WM_LBUTTONUP, false, 1, 1},  // hot and focused by the press
  };
  for (bool vertical : {false, true}) {
    TSkinnedScene s(kSoundVariant, vertical);
    s.Bar->PrepareCache();
    EXPECT_PRED3(Near, ThumbPixel(s), ExpectedThumb(s, 0), 2) << Orientation(vertical);
    for (const auto& st : steps) {
      SCOPED_TRACE(std::string(Orientation(vertical)) + " " + st.step);
      const LPARAM at = ClientPoint(ThumbCentre(s));
      if (st.message == CM_MOUSEENTER)
        s.Bar->Perform(CM_MOUSEENTER, 0, 0);
      else
        SendMessageA(s.Bar->Handle(), st.message, st.message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                     at);
      EXPECT_EQ(s.FinishFade(), st.fades);
      const uint32_t want = ExpectedThumb(s, st.thumbFrame);
      EXPECT_PRED3(Near, ThumbPixel(s), want, 2);
      EXPECT_PRED3(Near, s.WindowPixel(ThumbCentre(s)), want, 2);
      if (st.channelFrame >= 0) ExpectChannel(s, st.channelFrame);
    }
  }
}

// A finished fade of the same kind does not stand in the way of the next:
// without a glow (whose hiding would reset the timer) the fade back to the
// normal look must still run, or the bar keeps its hot look.
TEST(SkinnedTrackBarStates, LeavingFadesBackToTheNormalThumbWithOrWithoutAGlow) {
  for (const char* variant : {kSoundVariant, "glow-off"})
    for (bool vertical : {false, true}) {
      SCOPED_TRACE(std::string(variant) + " " + Orientation(vertical));
      TSkinnedScene s(variant, vertical);
      s.Bar->PrepareCache();
      s.Bar->Perform(CM_MOUSEENTER, 0, 0);
      ASSERT_TRUE(s.FinishFade());
      EXPECT_PRED3(Near, ThumbPixel(s), ExpectedThumb(s, 1), 2);
      s.Bar->Perform(CM_MOUSELEAVE, 0, 0);
      ASSERT_TRUE(s.FinishFade()) << "no fade ran";
      EXPECT_PRED3(Near, ThumbPixel(s), ExpectedThumb(s, 0), 2);
      EXPECT_PRED3(Near, s.WindowPixel(ThumbCentre(s)), ExpectedThumb(s, 0), 2);
    }
}

// A dotted frame one pixel inside the top and bottom edges: every other
// pixel in the section's hot font colour.
TEST(SkinnedTrackBarStates, FocusFrameTakesTheHotFontColour) {
  for (bool vertical : {false, true})
    for (bool showFocus : {true, false}) {
      SCOPED_TRACE(std::string(Orientation(vertical)) + (showFocus ? " shown" : " not shown"));
      TSkinnedScene s(kSoundVariant, vertical);
      const MfSection& section = s.Manifest.Sections[size_t(s.Manifest.SectionIndex("TRACKBAR"))];
      const uint32_t hot = RgbOf(section.States[1].FontColor);
      ASSERT_NE(hot, RgbOf(section.States[0].FontColor));
      s.Bar->SetShowFocus(showFocus);
      SetFocus(s.Bar->Handle());
      ASSERT_EQ(GetFocus(), s.Bar->Handle());
      s.FinishFade();
      s.Bar->PrepareCache();
      const int w = s.Bar->Width(), h = s.Bar->Height();
      int dots = 0;
      for (const TPoint p :
           {TPoint(1, 1), TPoint(w / 2 | 1, 1), TPoint(1, h - 2), TPoint(0, 4), TPoint(w - 1, 4)})
        dots += s.Pixel(p.X, p.Y) == hot;
      EXPECT_EQ(dots, showFocus ? 5 : 0);
    }
}

// Disabled, every pixel keeps 100/255 of its enabled colour and takes the
// rest from the parent's background.
TEST(SkinnedTrackBarStates, DisabledLookIsBlendedWithTheParent) {
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(Orientation(vertical));
    TSkinnedScene s(kSoundVariant, vertical);
    s.Bar->PrepareCache();
    const TRect r = ChannelImageRect(s.Bar, SkinImage(s.Manifest, "SLIDERCHANNEL"));
    const std::vector<TPoint> points = {ThumbCentre(s),
                                        TickImageCentre(s, s.Bar->TickPositions()[0]),
                                        TPoint(r.Left + 1, r.Top + 1), TPoint(2, 2)};
    std::vector<uint32_t> enabled;
    for (const TPoint& p : points) enabled.push_back(s.Pixel(p.X, p.Y));
    s.Bar->SetEnabled(false);
    s.Bar->PrepareCache();
    const uint32_t parent = RgbOf(s.Form->Color());
    for (size_t i = 0; i < points.size(); ++i) {
      uint32_t want = 0;
      for (int n = 0; n < 24; n += 8)
        want |= (((enabled[i] >> n) & 0xFF) * 100 + ((parent >> n) & 0xFF) * 155) >> 8 << n;
      EXPECT_PRED3(Near, s.Pixel(points[i].X, points[i].Y), want, 2) << i;
    }
  }
}

// The event finds channel and ticks painted and the thumb not yet.
TEST(SkinnedTrackBarStates, OnSkinPaintComesBetweenChannelAndThumb) {
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(Orientation(vertical));
    TSkinnedScene s(kSoundVariant, vertical);
    const int calls = s.Under.Calls;
    s.Bar->PrepareCache();
    ASSERT_EQ(s.Under.Calls, calls + 1);
    const TRect r = ChannelImageRect(s.Bar, SkinImage(s.Manifest, "SLIDERCHANNEL"));
    const TPoint tick = TickImageCentre(s, s.Bar->TickPositions()[0]);
    EXPECT_EQ(s.Under.At(r.Left + 1, r.Top + 1),
              SkinPixel(s.Manifest, "TRACKBAR/SLIDERCHANNEL frame 0 inner top-left"));
    EXPECT_EQ(s.Under.At(tick.X, tick.Y), s.Pixel(tick.X, tick.Y));
    const TPoint c = ThumbCentre(s);
    EXPECT_NE(s.Under.At(c.X, c.Y), s.Pixel(c.X, c.Y));
  }
}

// The sound skin's track bar glows while it fades to hot; with GLOW=0 no
// glow window comes, though the section keeps its glow image.
TEST(SkinnedTrackBarStates, HoverGlowFollowsTheSectionsGlowValue) {
  for (const char* variant : {kSoundVariant, "glow-off"})
    for (bool vertical : {false, true}) {
      SCOPED_TRACE(std::string(variant) + " " + Orientation(vertical));
      TSkinnedScene s(variant, vertical);
      ASSERT_GE(s.Manifest.ImageIndex("TRACKBAR", "GLOW0"), 0);
      s.Bar->Perform(CM_MOUSEENTER, 0, 0);
      ASSERT_TRUE(s.Bar->SkinData()->AnimationRunning());
      // The glow comes with the fade and goes at its end.
      const int index = s.Bar->SkinData()->GlowIndex;
      if (std::string(variant) == "glow-off") {
        EXPECT_EQ(index, -1);
      } else {
        ASSERT_GE(index, 0);
        const TvlGlowEffect* glow = TvlGlowEffects[static_cast<size_t>(index)].get();
        ASSERT_TRUE(glow && glow->Form && glow->Form->HandleAllocated());
        EXPECT_TRUE(IsWindowVisible(glow->Form->Handle()));
      }
      s.FinishFade();
      EXPECT_EQ(s.Bar->SkinData()->GlowIndex, -1);
    }
}

}  // namespace
