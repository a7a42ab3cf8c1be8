// Template and skinned hints as they reach UpdateLayeredWindow: the frame,
// the text and the alpha of the last image pushed, the corner picture the
// placement chose, and the show animation's steps.
#include <algorithm>

#include "hint_scene.h"
#include "skin/controls/hint_templates.h"

namespace {

using namespace test_hints;

TEST_F(HintScene, ATemplateHintPushesItsPictureWithTextInsideAndTheShadowsAlpha) {
  TvlCustomHintWindow* w = Show({200, 200}, "Reverb level");
  ASSERT_NE(w, nullptr);
  ASSERT_FALSE(Recorder.Pushes().empty());
  const LayeredPush& p = Recorder.Pushes().back();
  EXPECT_EQ(p.Alpha, 255);
  EXPECT_EQ(p.AlphaFormat, AC_SRC_ALPHA);
  ASSERT_GT(p.Width, 2 * kMargin);
  ASSERT_GT(p.Height, 2 * kMargin);
  ASSERT_FALSE(p.Pixels.empty());
  // The content starts at the point: the shadow lies outside it.
  EXPECT_TRUE(p.Moved);
  EXPECT_EQ(p.Pos.x, 200 - kShadow);
  EXPECT_EQ(p.Pos.y, 200 - kShadow);

  const int midY = p.Height / 2, midX = p.Width / 2;
  // Premultiplied: the shadow's black at a quarter alpha stays as it is.
  EXPECT_EQ(p.At(0, 0), kShadowColour);
  EXPECT_EQ(p.At(p.Width - 1, p.Height - 1), kShadowColour);
  EXPECT_TRUE(NearArgb(p.At(kShadow, midY), kRim, 1));
  EXPECT_TRUE(NearArgb(p.At(p.Width - 1 - kShadow, midY), kRim, 1));
  EXPECT_TRUE(NearArgb(p.At(midX, kShadow), kRim, 1));
  EXPECT_TRUE(NearArgb(p.At(kShadow + 1, midY), kPlainFace, 1));
  // The text is in the content and leaves the picture's alpha alone.
  const TRect content{kMargin, kMargin, p.Width - kMargin, p.Height - kMargin};
  EXPECT_GT(InkPixels(p, content, kPlainFace), 10);
  for (int y = content.Top; y < content.Bottom; ++y)
    for (int x = content.Left; x < content.Right; ++x) ASSERT_EQ(p.At(x, y) >> 24, 0xFFu);
}

TEST_F(HintScene, AtTheMonitorsCornerTheCornerPictureThatPointsBackIsPushed) {
  Manager->Set.TemplateIndex = 1;
  const struct {
    const char* What;
    TPoint Point;
    THintCorner Corner;
  } cases[] = {
      {"open space", {300, 300}, 0},
      {"bottom-right", {kSceneMonitor.Right - 5, kSceneMonitor.Bottom - 5}, 3},
      {"bottom", {300, kSceneMonitor.Bottom - 5}, 1},
      {"right", {kSceneMonitor.Right - 5, 300}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    Recorder.Clear();
    TvlCustomHintWindow* w = Show(c.Point, "Chorus");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Corner, c.Corner);
    ASSERT_FALSE(Recorder.Pushes().empty());
    const LayeredPush& p = Recorder.Pushes().back();
    ASSERT_FALSE(p.Pixels.empty());
    // Premultiplying at full alpha may round a channel down by one.
    EXPECT_TRUE(NearArgb(p.At(kShadow + 1, p.Height / 2), kCornerFaces[c.Corner], 1));
    // Inside the monitor.
    EXPECT_GE(p.Pos.x, kSceneMonitor.Left - kShadow);
    EXPECT_LE(p.Pos.x + p.Width, kSceneMonitor.Right + kShadow);
    EXPECT_LE(p.Pos.y + p.Height, kSceneMonitor.Bottom + kShadow);
    ResetHint(Manager.get());
  }
}

TEST_F(HintScene, ASkinnedHintPushesTheSectionsFrameCutAtItsKeyCorners) {
  LoadSkin(test_skin::kSoundVariant);
  TvlCustomHintWindow* w = Show({200, 200}, "Equalizer band");
  ASSERT_NE(w, nullptr);
  ASSERT_FALSE(Recorder.Pushes().empty());
  const LayeredPush& p = Recorder.Pushes().back();
  ASSERT_FALSE(p.Pixels.empty());
  EXPECT_EQ(p.Alpha, 255);
  // Key corners are holes; the edges and the inside are opaque.
  EXPECT_EQ(p.At(0, 0) >> 24, 0u);
  EXPECT_EQ(p.At(p.Width - 1, p.Height - 1) >> 24, 0u);
  EXPECT_EQ(p.At(0, p.Height / 2) >> 24, 0xFFu);
  EXPECT_EQ(p.At(p.Width / 2, p.Height / 2) >> 24, 0xFFu);
  // The text in the section's font colour, inside border and padding.
  const int inset = 4 + ScaledHintPadding();
  const TRect content{inset, inset, p.Width - inset, p.Height - inset};
  uint32_t face = p.At(inset, inset) | 0xFF000000u;
  EXPECT_GT(InkPixels(p, content, face), 10);
}

TEST_F(HintScene, TheShowAnimationEndsAtFullLevelWithin24Ticks) {
  const struct {
    const char* What;
    const char* Variant;  // nullptr: a template hint
    int Level;
  } cases[] = {
      {"template", nullptr, 255},
      {"skinned, opaque section", test_skin::kSoundVariant, 255},
      {"skinned, section 30 % transparent", "hint-transparency-30", 255 - 77},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    if (c.Variant) LoadSkin(c.Variant);
    Manager->Set.Animated = true;
    Recorder.Clear();
    Show({400, 400}, "Delay time");
    ASSERT_NE(Manager->State.ShowTimer, nullptr);
    int ticks = 0;
    while (ShowAnimationStep(Manager.get()) && ticks < 100) ++ticks;
    EXPECT_GE(ticks, 22);
    EXPECT_LE(ticks, 26);
    EXPECT_EQ(Manager->State.ShowTimer, nullptr);
    ASSERT_FALSE(Recorder.Pushes().empty());
    EXPECT_EQ(Recorder.Pushes().back().Alpha, c.Level);
    // The level only grows.
    for (size_t i = 1; i < Recorder.Pushes().size(); ++i)
      EXPECT_LE(Recorder.Pushes()[i - 1].Alpha, Recorder.Pushes()[i].Alpha);
    EXPECT_NE(Manager->State.LastImage, nullptr);
    ResetHint(Manager.get());
    HintCleanup(Manager.get());
    if (Holder) {
      TObject::Free(Holder);
      Holder = nullptr;
      Skin = nullptr;
      Manager->Set.Skinned = false;
    }
  }
}

}  // namespace

namespace {

using namespace test_hints;

TEST_F(HintScene, FixedSizePicturesAndMarkupFillTheTemplatesContent) {
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) static_cast<uint32_t*>(picture.ScanLine(y))[x] = 0xFFFF0000u;
  const struct {
    const char* What;
    bool Fixed;
    bool Html;
    int Layout;
    TPoint PicturePixel;  // inside the content; (-1, -1): no picture
  } cases[] = {
      {"fixed, picture left", true, false, 0, {8, 15}},
      {"fixed, picture right", true, false, 2, {60 - 8, 15}},
      {"fixed, picture above", true, false, 1, {30, 8}},
      {"markup", false, true, 0, {-1, -1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    Manager->Set.FixedSize = c.Fixed;
    Manager->Set.FixedWidth = 60;
    Manager->Set.FixedHeight = 30;
    Manager->Set.Picture = &picture;
    Manager->Set.PictureLayout = c.Layout;
    Manager->Set.Caption = "Pan";
    Manager->Set.HtmlMode = c.Html;
    Recorder.Clear();
    Show({300, 300}, "<b>Bold</b> and plain");
    ASSERT_FALSE(Recorder.Pushes().empty());
    const LayeredPush& p = Recorder.Pushes().back();
    ASSERT_FALSE(p.Pixels.empty());
    const TRect content{kMargin, kMargin, p.Width - kMargin, p.Height - kMargin};
    if (c.Fixed) {
      EXPECT_EQ(content.Width(), 60);
      EXPECT_EQ(content.Height(), 30);
    }
    if (c.PicturePixel.X >= 0) {
      EXPECT_TRUE(
          NearArgb(p.At(kMargin + c.PicturePixel.X, kMargin + c.PicturePixel.Y), 0xFFFF0000u, 2));
    }
    EXPECT_GT(InkPixels(p, content, kPlainFace), 10);
    ResetHint(Manager.get());
  }
}

}  // namespace

namespace {

using namespace test_hints;

TEST_F(HintScene, TheNextHintSlidesInFromTheLastWhichFadesOut) {
  Manager->Set.Animated = true;
  Show({300, 300}, "First");
  while (ShowAnimationStep(Manager.get())) {
  }
  ASSERT_NE(Manager->State.LayerForm, nullptr);
  const HWND first = Manager->State.LayerForm->Handle();
  Recorder.Clear();
  Show({600, 500}, "Second");
  ASSERT_NE(Manager->State.NextLayerForm, nullptr);
  const HWND second = Manager->State.NextLayerForm->Handle();
  while (ShowAnimationStep(Manager.get())) {
  }
  const std::vector<LayeredPush> fading = Recorder.PushesTo(first);
  const std::vector<LayeredPush> sliding = Recorder.PushesTo(second);
  ASSERT_GE(fading.size(), 2u);
  ASSERT_GE(sliding.size(), 2u);
  for (size_t i = 1; i < fading.size(); ++i) EXPECT_LE(fading[i].Alpha, fading[i - 1].Alpha);
  // The new bubble starts where the old one stood and ends at its place.
  const POINT target{600 - kShadow, 500 - kShadow};
  for (size_t i = 1; i < sliding.size(); ++i) {
    EXPECT_GE(sliding[i].Pos.x, sliding[i - 1].Pos.x);
    EXPECT_GE(sliding[i].Pos.y, sliding[i - 1].Pos.y);
    EXPECT_LE(sliding[i].Pos.x, target.x);
  }
  EXPECT_LT(sliding.front().Pos.x, target.x);
  EXPECT_EQ(sliding.back().Pos.x, target.x);
  EXPECT_EQ(sliding.back().Pos.y, target.y);
  EXPECT_EQ(sliding.back().Alpha, 255);
  EXPECT_EQ(Manager->State.LayerForm->Handle(), second);
  EXPECT_EQ(Manager->State.NextLayerForm, nullptr);
  EXPECT_FALSE(IsWindow(first));
}

}  // namespace
