// Section painting: transparency paths, textures and their placements,
// gradients, states, corners, borders and filters.
#include <gtest/gtest.h>

#include "fake_skin.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/gradient.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/section_paint.h"
#include "skin/foundation/texture_place.h"

namespace {

// A skin with one section "S" and a 4 x 4 checker texture in the master
// bitmap at (0, 0) and the same texture in an image of its own.
struct SkinFixture {
  FakeSkin skin{8, 8};
  TestImage own{4, 4, 0};
  int masterTex, ownTex;
  SkinFixture() {
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        const uint32_t p = ((x + y) % 2) ? 0xFF0000FF : 0xFF00FF00;
        skin.Master().at(x, y) = p;
        own.at(x, y) = p;
      }
    masterTex = skin.AddImage({0, 0, 4, 4}, 1, 0);
    ownTex = skin.AddImage({0, 0, 4, 4}, 1, 0, &own);
    TsGeneralData s;
    s.SectionName = "S";
    for (auto& st : s.Props) st.Color = 0x00204080;  // TColor: red 0x80, blue 0x20
    skin.sections.push_back(s);
  }
  TsGenState& state(int i) { return skin.sections[0].Props[i]; }
};

constexpr uint32_t kStatePixel = 0xFF804020;  // 0x00204080 as a pixel, opaque

TEST(SectionPaint, TransparencyPaths) {
  struct {
    const char* what;
    int transparency;
    bool bgBitmap;
    uint32_t want;
  } cases[] = {
      {"0: the state colour", 0, true, kStatePixel},
      {"100 over a bitmap: the background pixels", 100, true, 0x11223344},
      {"100 over a colour: that colour", 100, false, 0xFF00FF00},
      {"40 over a colour: MixTwoColors(B, C, 102)", 40, false,
       0xFF000000u | SwapRedBlueKeepTop(MixTwoColors(0x0000FF00, 0x00204080, 102))},
      {"40 over a bitmap: blend keeping 102", 40, true, 0},
  };
  for (auto& c : cases) {
    SkinFixture f;
    f.state(0).Transparency = c.transparency;
    TestImage dst(6, 6, 0), bg(20, 20, 0x11223344);
    BackgroundView view =
        c.bgBitmap ? MakeBackgroundView(bg.View(), 3, 3) : ColorBackgroundView(0x0000FF00);
    PaintSkinSection(&f.skin, 0, view, 0, {0, 0, 6, 6}, {2, 2}, dst.View());
    uint32_t want = c.want;
    if (c.transparency == 40 && c.bgBitmap) {
      want = 0;
      for (int n = 0; n < 32; n += 8) {
        const int d = (0x11223344u >> n) & 0xFF, s = (kStatePixel >> n) & 0xFF;
        want |= uint32_t((102 * (d - s) + s * 256) >> 8) << n;
      }
    }
    EXPECT_EQ(dst.at(5, 5), want) << c.what;
  }
}

TEST(SectionPaint, TextureAndGradientTakeTheFastPath) {
  SkinFixture f;
  TsGenState& st = f.state(0);
  st.ImagePercent = 30;
  st.GradientPercent = 70;
  st.PatternIndex = f.masterTex;
  GradientStop stop;
  stop.StartColor = 0x000000;
  stop.EndColor = 0xFFFFFF;
  stop.Percent = 100;
  st.Gradient = {stop};
  TestImage dst(12, 10, 0), want(12, 10, 0);
  PaintSkinSection(&f.skin, 0, BackgroundView{}, 0, {0, 0, 12, 10}, {0, 0}, dst.View());
  FillGradientWithTexture(want.View(), {0, 0, 12, 10}, st.Gradient, f.skin.Master().View(),
                          {0, 0, 4, 4}, 30 * 255 / 100, 255);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(dst.at(x, y), want.at(x, y)) << x << "," << y;
}

TEST(SectionPaint, TextureShareBlendsTowardsTheColour) {
  for (bool ownImage : {false, true}) {
    SkinFixture f;
    f.state(0).ImagePercent = 30;
    f.state(0).PatternIndex = ownImage ? f.ownTex : f.masterTex;
    TestImage dst(9, 9, 0);
    PaintSkinSection(&f.skin, 0, BackgroundView{}, 0, {0, 0, 9, 9}, {0, 0}, dst.View());
    // The texture tiles, then keeps 76 of 255 against the state colour.
    auto expect = [](uint32_t t) {
      uint32_t v = t & 0xFF000000u;
      for (int n = 0; n < 24; n += 8)
        v |= ((((t >> n) & 0xFF) * 76 + ((kStatePixel >> n) & 0xFF) * 179) >> 8) << n;
      return v;
    };
    EXPECT_EQ(dst.at(0, 0), expect(0xFF00FF00)) << ownImage;
    EXPECT_EQ(dst.at(5, 4), expect(0xFF0000FF)) << ownImage;
    EXPECT_EQ(dst.at(8, 8), expect(0xFF00FF00)) << ownImage;
  }
}

TEST(SectionPaint, StatesAreClipped) {
  SkinFixture f;
  f.state(0).Color = 0x000001;
  f.state(1).Color = 0x000002;
  f.state(2).Color = 0x000003;
  struct {
    int count, state;
    uint32_t want;
  } cases[] = {{2, 5, 0xFF020000}, {1, 1, 0xFF010000}, {3, 2, 0xFF030000}, {0, 2, 0xFF010000}};
  for (auto& c : cases) {
    f.skin.sections[0].StateCount = c.count;
    TestImage dst(3, 3, 0);
    PaintSkinSection(&f.skin, 0, BackgroundView{}, c.state, {0, 0, 3, 3}, {0, 0}, dst.View());
    EXPECT_EQ(dst.at(1, 1), c.want) << c.count << "/" << c.state;
  }
}

TEST(SectionPaint, NothingOutsideTheBitmapOrForBadIndices) {
  SkinFixture f;
  TestImage dst(5, 5, 7);
  PaintSkinSection(&f.skin, 0, BackgroundView{}, 0, {0, 0, 6, 5}, {0, 0}, dst.View());
  PaintSkinSection(&f.skin, 3, BackgroundView{}, 0, {0, 0, 5, 5}, {0, 0}, dst.View());
  ControlSectionParams control;
  control.Source = &f.skin;
  control.SkinIndex = 0;
  PaintControlSection(control, BackgroundView{}, 0, {-1, 0, 5, 5}, {0, 0}, dst.View(), true);
  EXPECT_EQ(dst.at(0, 0), 7u);
  EXPECT_EQ(PaintSkinSectionOverDC(dst.View(), -1, -1, 0, &f.skin, {0, 0, 5, 5}, 0, nullptr), -1);
  EXPECT_EQ(dst.at(0, 0), 7u);
  EXPECT_EQ(PaintSkinSectionOverDC(dst.View(), -1, 0, 0, &f.skin, {0, 0, 5, 5}, 0, nullptr), 0);
  EXPECT_EQ(dst.at(0, 0), kStatePixel);
}

TEST(SectionPaint, ControlFiltersAndCustomColour) {
  SkinFixture f;
  // A borders mask that paints nothing in state 0.
  const int border = f.skin.AddImage({0, 0, 6, 2}, 3, 0);
  f.skin.images[border].PaintMode = kMaskNoNormalState;
  ControlSectionParams control;
  control.Source = &f.skin;
  control.SkinIndex = 0;
  control.BorderIndex = border;
  control.HueOffset = 120;
  for (int transparency : {0, 40}) {
    f.state(0).Transparency = transparency;
    TestImage dst(4, 4, 0);
    PaintControlSection(control, ColorBackgroundView(0x00804020), 0, {0, 0, 4, 4}, {0, 0},
                        dst.View(), true);
    const uint32_t unfiltered =
        transparency == 0 ? kStatePixel
                          : 0xFF000000u | SwapRedBlueKeepTop(MixTwoColors(
                                              0x00804020, 0x00204080, transparency * 255 / 100));
    EXPECT_EQ(dst.at(2, 2), transparency == 0 ? RotateHuePixel(120, unfiltered) : unfiltered);
  }
  control.HueOffset = 0;
  control.CustomColor = true;
  control.OwnColor = 0x000000FF;
  f.state(0).Transparency = 0;
  TestImage dst(4, 4, 0);
  PaintControlSection(control, BackgroundView{}, 0, {0, 0, 4, 4}, {0, 0}, dst.View(), true);
  EXPECT_EQ(dst.at(1, 1), 0xFFFF0000u);
}

TEST(SectionPaint, CornerImagesAndBordersMask) {
  SkinFixture f;
  // A 2 x 2 corner image and a 3-frame borders mask (frames 6 x 6, borders 2).
  TestImage corner(2, 2, 0xFFAAAAAA);
  corner.at(0, 0) = kKeyPixel;
  TestImage borders(18, 6, 0xFF111111);
  const int ci = f.skin.AddImage({0, 0, 2, 2}, 1, 0, &corner);
  const int bi = f.skin.AddImage({0, 0, 18, 6}, 3, 0, &borders);
  for (auto* v : {&f.skin.images[bi].BorderLeft, &f.skin.images[bi].BorderTop,
                  &f.skin.images[bi].BorderRight, &f.skin.images[bi].BorderBottom})
    *v = 2;
  f.skin.sections[0].CornerImages = {-1, ci, -1, -1};
  f.skin.sections[0].BordersMask = bi;
  TestImage dst(10, 10, 0);
  PaintSkinSection(&f.skin, 0, BackgroundView{}, 0, {0, 0, 10, 10}, {0, 0}, dst.View());
  EXPECT_EQ(dst.at(5, 5), kStatePixel);  // no centre: the background layers show
  EXPECT_EQ(dst.at(0, 5), 0xFF111111u);
  f.skin.sections[0].BordersMask = -1;
  TestImage dst2(10, 10, 0);
  PaintSkinSection(&f.skin, 0, BackgroundView{}, 0, {0, 0, 10, 10}, {0, 0}, dst2.View());
  EXPECT_EQ(dst2.at(9, 1), 0xFFAAAAAAu);  // top-right corner image
  EXPECT_EQ(dst2.at(8, 0), kStatePixel);  // its key pixel keeps what was painted
}

TEST(SectionPaint, SectionAndMaskUsesTheGivenTexture) {
  SkinFixture f;
  f.state(0).ImagePercent = 100;
  TestImage dst(8, 8, 0);
  PaintSectionAndMask(&f.skin, 0, -1, f.masterTex, BackgroundView{}, 0, {0, 0, 8, 8}, {0, 0},
                      dst.View());
  EXPECT_EQ(dst.at(0, 0), 0xFF00FF00u);
  EXPECT_EQ(dst.at(7, 6), 0xFF0000FFu);
}

// PaintSectionAndMask hands its background down shifted by Offset, as every
// section painter does: the strips a masked texture of PaintMode 10 leaves
// uncovered show the background at the painted area's offset in it, both
// when the texture is painted straight into the target (transparency 0) and
// through the translucent temporary (transparency 50, which blends the
// strip over the same background pixels and so shows them unchanged).
TEST(SectionPaint, SectionAndMaskShiftsTheBackgroundOfAMaskedTexture) {
  FakeSkin skin(4, 8);
  skin.Master().FillRect(0, 0, 4, 4, 0x00FF0000);
  skin.Master().FillRect(0, 4, 4, 8, 0x00000000);  // black mask: the image
  const int texture = skin.AddImage({0, 0, 4, 8}, 1, 1);
  skin.images[texture].PaintMode = plTileWhole;
  TsGeneralData section;
  section.Props[0].Color = 0x00204080;
  section.Props[0].ImagePercent = 100;
  skin.sections.push_back(section);
  TestImage bg(30, 30, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) bg.at(x, y) = 0xFF000000u | uint32_t(y * 256 + x);
  const POINT offset{5, 7};
  for (int transparency : {0, 50}) {
    SCOPED_TRACE(transparency);
    skin.sections[0].Props[0].Transparency = transparency;
    TestImage dst(10, 10, 0);
    PaintSectionAndMask(&skin, 0, -1, texture, MakeBackgroundView(bg.View(), 0, 0), 0,
                        {0, 0, 10, 10}, offset, dst.View());
    if (transparency == 0) {
      EXPECT_EQ(dst.at(0, 0) & 0xFFFFFF, 0xFF0000u);  // a whole tile
    }
    for (const POINT p : {POINT{9, 0}, POINT{8, 5}, POINT{0, 9}, POINT{9, 9}}) {
      EXPECT_EQ(dst.at(p.x, p.y), bg.at(p.x + offset.x, p.y + offset.y)) << p.x << "," << p.y;
    }
  }
}

TEST(TexturePlacement, TableOfPlacements) {
  SkinFixture f;
  const TsMaskData& tex = f.skin.images[f.masterTex];
  struct {
    int placement;
    RECT area, rest;
    POINT probe;
    bool painted;
  } cases[] = {
      {plTile, {0, 0, 10, 10}, kAllCovered, {9, 9}, true},
      {plTopStrip, {0, 0, 10, 10}, {0, 4, 10, 10}, {9, 5}, false},
      {plLeftStrip, {0, 0, 10, 10}, {4, 0, 10, 10}, {3, 9}, true},
      {plBottomStrip, {0, 0, 10, 10}, {0, 0, 10, 6}, {0, 6}, true},
      {plRightStrip, {0, 0, 10, 10}, {0, 0, 6, 10}, {9, 9}, true},
      {plTileWhole, {0, 0, 10, 8}, {0, 4, 10, 8}, {0, 5}, false},
      {plTileWhole, {0, 0, 10, 9}, {0, 8, 10, 9}, {0, 5}, true},
      {plStretch, {0, 0, 10, 10}, kAllCovered, {9, 9}, true},
      {8, {0, 0, 10, 10}, {6, 0, 10, 10}, {9, 9}, true},
  };
  for (auto& c : cases) {
    TestImage dst(12, 12, 0);
    RECT r = c.area;
    PlaceTexture(dst.View(), r, c.placement, tex);
    EXPECT_EQ(r.left, c.rest.left) << c.placement;
    EXPECT_EQ(r.top, c.rest.top) << c.placement;
    EXPECT_EQ(r.right, c.rest.right) << c.placement;
    EXPECT_EQ(r.bottom, c.rest.bottom) << c.placement;
    EXPECT_EQ(dst.at(c.probe.x, c.probe.y) != 0, c.painted) << c.placement;
  }
}

TEST(TexturePlacement, BottomRightAnchorsTheGrid) {
  SkinFixture f;
  f.skin.Master().at(3, 3) = 0xFF123456;  // bottom-right texture pixel
  TestImage dst(10, 10, 0);
  RECT r{0, 0, 10, 10};
  PlaceTexture(dst.View(), r, plTileFromBottomRight, f.skin.images[f.masterTex]);
  EXPECT_EQ(dst.at(9, 9), 0xFF123456u);
  EXPECT_EQ(dst.at(5, 5), 0xFF123456u);
  EXPECT_EQ(dst.at(1, 1), 0xFF123456u);
  EXPECT_NE(dst.at(0, 0), 0u);
}

TEST(TexturePlacement, MaskedTileWholeFillsStripsFromTheBackground) {
  FakeSkin skin(4, 8);
  skin.Master().FillRect(0, 0, 4, 4, 0x00FF0000);
  skin.Master().FillRect(0, 4, 4, 8, 0x00000000);  // black mask: the image
  const int idx = skin.AddImage({0, 0, 4, 8}, 1, 1);
  TestImage dst(10, 10, 0), bg(10, 10, 0xFF0A0B0C);
  RECT r{0, 0, 10, 10};
  PlaceMaskedTexture(dst.View(), r, MakeBackgroundView(bg.View(), 0, 0), plTileWhole,
                     skin.images[idx]);
  EXPECT_TRUE(IsAllCovered(r));
  EXPECT_EQ(dst.at(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(dst.at(7, 7) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(dst.at(9, 0), 0xFF0A0B0Cu);  // right strip
  EXPECT_EQ(dst.at(0, 9), 0xFF0A0B0Cu);  // bottom strip
}

}  // namespace
