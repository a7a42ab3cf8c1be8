// The skinned track bar's pixels, read from its cache at the rectangles the
// control reports and compared with the test skin's manifest: channel,
// ticks, thumb and face for every track-bar variant of the skin, in both
// orientations.
#include <windows.h>

#include "skinned_scene.h"

namespace {

using namespace test_skin;

std::string Where(const char* Variant, bool Vertical) {
  return std::string(Variant) + (Vertical ? " vertical" : " horizontal");
}

enum class Ticks { Image, Bevel };

void ExpectTicks(TSkinnedScene& S, Ticks Kind) {
  const bool vertical = S.Bar->Orientation() == trVertical;
  const std::vector<int> ticks = S.Bar->TickPositions();
  ASSERT_EQ(ticks.size(), 11u);
  const uint32_t shadow = RgbOf(clBtnShadow), white = 0xFFFFFF;
  for (int p : ticks) {
    const TPoint o = TickOrigin(S.Bar, p);
    if (Kind == Ticks::Bevel) {
      // 2 x 4 (4 x 2) pixels: shadow at the top-left edges, white at the others.
      const TPoint dark = vertical ? TPoint(o.X + 1, o.Y) : TPoint(o.X, o.Y + 1);
      const TPoint light(o.X + 1, o.Y + 1);
      EXPECT_EQ(S.Pixel(dark.X, dark.Y), shadow) << p;
      EXPECT_EQ(S.Pixel(light.X, light.Y), white) << p;
      continue;
    }
    const std::string what =
        vertical ? "TRACKBAR/TICKVERT frame 0 centre" : "TRACKBAR/TICKHORZ frame 0 centre";
    const TPoint at = TickImageCentre(S, p);
    EXPECT_EQ(S.Pixel(at.X, at.Y), SkinPixel(S.Manifest, what)) << p;
  }
}

enum class Face { Parent, Gradient };

// Two corners of the bar that neither channel, ticks nor thumb reach.
void ExpectFace(TSkinnedScene& S, Face Kind) {
  const int w = S.Bar->Width(), h = S.Bar->Height();
  for (const TPoint p : {TPoint(2, 2), TPoint(w - 3, h - 3)}) {
    if (Kind == Face::Parent) {
      EXPECT_EQ(S.Pixel(p.X, p.Y), RgbOf(S.Form->Color())) << p.X;
      continue;
    }
    // A left-to-right ramp over the whole width.
    const MfSection& s =
        S.Manifest.Sections[static_cast<size_t>(S.Manifest.SectionIndex("TRACKBAR"))];
    ASSERT_EQ(s.States[0].Gradient.size(), 1u);
    const uint32_t from = RgbOf(s.States[0].Gradient[0].StartColor);
    const uint32_t to = RgbOf(s.States[0].Gradient[0].EndColor);
    uint32_t want = 0;
    for (int n = 0; n < 24; n += 8) {
      const int a = (from >> n) & 0xFF, b = (to >> n) & 0xFF;
      want |= static_cast<uint32_t>(a + (b - a) * p.X / (w - 1)) << n;
    }
    EXPECT_PRED3(Near, S.Pixel(p.X, p.Y), want, 2) << p.X;
  }
}

TEST(SkinnedTrackBarLook, ChannelTicksThumbAndFacePerVariant) {
  const struct {
    const char* variant;
    Ticks ticks;
    bool thumb;
    Face face;
  } cases[] = {
      {kSoundVariant, Ticks::Image, true, Face::Parent},
      {"trackbar-opaque", Ticks::Image, true, Face::Gradient},
      {"no-tick-image", Ticks::Bevel, true, Face::Parent},
      {"no-thumb-image", Ticks::Image, false, Face::Parent},
  };
  for (const auto& c : cases)
    for (bool vertical : {false, true}) {
      SCOPED_TRACE(Where(c.variant, vertical));
      TSkinnedScene s(c.variant, vertical);
      ASSERT_TRUE(s.Bar->SkinData()->Skinned());
      s.Bar->PrepareCache();
      ASSERT_EQ(s.Bar->SkinData()->CurrentState(), 0);
      ExpectChannel(s, 0);
      ExpectTicks(s, c.ticks);
      if (c.thumb) {
        EXPECT_PRED3(Near, ThumbPixel(s), ExpectedThumb(s, 0), 2);
      } else {
        // Nothing is painted over what lay under the thumb.
        const TRect t = s.Bar->ThumbRect();
        const int x = (t.Left + t.Right) / 2, y = (t.Top + t.Bottom) / 2;
        EXPECT_EQ(s.Pixel(x, y), s.Under.At(x, y));
      }
      ExpectFace(s, c.face);
    }
}

// Without its section the bar paints exactly what it painted before the
// skin came: the plain look.
TEST(SkinnedTrackBarLook, WithoutATrackBarSectionThePlainLookStays) {
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(Where("no-trackbar", vertical));
    TSkinnedScene s("no-trackbar", vertical);
    EXPECT_FALSE(s.Bar->SkinData()->Skinned());
    EXPECT_EQ(s.Bar->ThumbMask(), -1);
    EXPECT_EQ(s.Bar->TickMask(), -1);
    s.Bar->PrepareCache();
    const PixelView v = ArgbView(s.Bar->SkinData()->CacheBitmap);
    ASSERT_EQ(static_cast<size_t>(v.Width * v.Height), s.PlainCache.size());
    int differ = 0;
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x)
        differ += (v.At(x, y) & 0xFFFFFF) != s.PlainCache[static_cast<size_t>(y * v.Width + x)];
    EXPECT_EQ(differ, 0);
  }
}

}  // namespace
