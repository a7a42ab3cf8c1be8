// Skin sections painted with alpha: transparency as alpha, the plain-colour
// fill decided by the area's first pixel, borders whose holes keep what the
// area held, and premultiplication of whole layered images.
#include <gtest/gtest.h>

#include "fake_skin.h"
#include "skin/foundation/gradient.h"
#include "skin/foundation/section_argb.h"

namespace {

// One section whose states all have the colour 0x00204080 (pixel 0x804020).
struct SectionFixture {
  FakeSkin skin{4, 4};
  SectionFixture() {
    TsGeneralData s;
    s.SectionName = "S";
    for (auto& st : s.Props) st.Color = 0x00204080;
    skin.sections.push_back(s);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) skin.Master().at(x, y) = ((x + y) % 2) ? 0xFF0000FF : 0xFF00FF00;
    texture = skin.AddImage({0, 0, 4, 4}, 1, 0);
  }
  TsGeneralData& section() { return skin.sections[0]; }
  TsGenState& state(int i) { return skin.sections[0].Props[i]; }
  int texture;
};

TEST(SectionArgb, FullTransparencyClearsOnlyAWholeImage) {
  for (bool whole : {true, false}) {
    SectionFixture f;
    for (auto& st : f.section().Props) st.Transparency = 100;
    TestImage dst(6, 5, 0x80402010);
    const RECT rect = whole ? RECT{0, 0, 6, 5} : RECT{1, 1, 4, 4};
    PaintSkinSectionArgb(0, 0, rect, {0, 0}, dst.View(), &f.skin);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x) ASSERT_EQ(dst.at(x, y), whole ? 0u : 0x80402010u) << x << y;
  }
}

// Whether the area is empty is judged by its top-left pixel alone.
TEST(SectionArgb, PlainColourDecidedByTheFirstPixel) {
  struct {
    int transparency;
    uint32_t first, other;
    uint32_t wantFirst, wantOther;
  } cases[] = {
      {40, 0, 0, 0x99804020, 0x99804020},           // alpha 60 * 255 div 100 = 153
      {40, 0, 0xFFFFFFFF, 0x99804020, 0x99804020},  // filled although the rest is not empty
      {0, 0, 0x10203040, 0xFF804020, 0xFF804020},
      {0, 0x01000000, 0, 0xFF804020, 0xFF804020},
      // Tinted 60 % towards the colour, alpha at least 153.
      {40, 0x20FFFFFF, 0, 0x99B38D7A, 0x994C2613},
      {40, 0xF0FFFFFF, 0, 0xF0B38D7A, 0xF04C2613},
  };
  for (const auto& c : cases) {
    SectionFixture f;
    f.state(1).Transparency = c.transparency;
    TestImage dst(5, 4, c.other);
    dst.at(1, 1) = c.first;
    PaintSectionBackgroundArgb(0, 1, {1, 1, 5, 4}, dst.View(), &f.skin, kFuchsia);
    EXPECT_EQ(dst.at(1, 1), c.wantFirst) << c.transparency << " " << std::hex << c.first;
    EXPECT_EQ(dst.at(4, 3), c.wantOther) << c.transparency << " " << std::hex << c.first;
    EXPECT_EQ(dst.at(0, 0), c.other);
  }
}

TEST(SectionArgb, GivenColourIsAnOpaquePlainFill) {
  SectionFixture f;
  f.state(0).Transparency = 40;
  f.state(0).ImagePercent = 100;
  f.state(0).PatternIndex = f.texture;
  TestImage dst(3, 3, 0);
  PaintSectionBackgroundArgb(0, 0, {0, 0, 3, 3}, dst.View(), &f.skin, 0x00FF0000);
  EXPECT_EQ(dst.at(2, 2), 0xFF0000FFu);
}

TEST(SectionArgb, TextureWithGradientCarriesTheTransparencyAsAlpha) {
  SectionFixture f;
  TsGenState& st = f.state(0);
  st.Transparency = 40;
  st.ImagePercent = 30;
  st.GradientPercent = 70;
  st.PatternIndex = f.texture;
  GradientStop stop;
  stop.StartColor = 0x000000;
  stop.EndColor = 0xFFFFFF;
  stop.Percent = 100;
  st.Gradient = {stop};
  TestImage dst(8, 6, 0), want(8, 6, 0);
  PaintSectionBackgroundArgb(0, 0, {0, 0, 8, 6}, dst.View(), &f.skin, kFuchsia);
  FillGradientWithTexture(want.View(), {0, 0, 8, 6}, st.Gradient, f.skin.Master().View(),
                          {0, 0, 4, 4}, 70 * 255 / 100, 153);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(dst.at(x, y), want.at(x, y)) << x << "," << y;
  EXPECT_EQ(dst.at(3, 3) >> 24, 153u);
}

// The borders mask's key corners show the pixels the area had before it was
// painted; a whole image is premultiplied, a part of one is not.
TEST(SectionArgb, BorderHolesKeepThePreviousPixelsAndWholeImagesArePremultiplied) {
  constexpr uint32_t kBefore = 0x80402010;
  for (bool whole : {true, false}) {
    SectionFixture f;
    f.section().BordersMask = f.skin.AddBorderMask(0, 4, 4, 4, 4);
    TestImage dst(50, 50, kBefore);
    const RECT r = whole ? RECT{0, 0, 50, 50} : RECT{5, 5, 45, 45};
    PaintSkinSectionArgb(0, 5, r, {0, 0}, dst.View(), &f.skin);
    const uint32_t corner = dst.at(r.left, r.top), centre = dst.at(25, 25);
    const uint32_t edge = dst.at(r.left + 10, r.top);  // top edge, from frame 2 (state clipped)
    if (whole) {
      EXPECT_EQ(corner, 0x80201008u);  // each colour byte * 0x80 shr 8
      EXPECT_EQ(centre, 0xFF7F3F1Fu);
      EXPECT_EQ(edge, 0xFF000000u | ((2u * 255) >> 8) << 16 | ((10u * 255) >> 8) << 8);
    } else {
      EXPECT_EQ(corner, kBefore);
      EXPECT_EQ(centre, 0xFF804020u);
      EXPECT_EQ(edge, 0xFF020A00u);
      EXPECT_EQ(dst.at(4, 4), kBefore);
      EXPECT_EQ(dst.at(45, 45), kBefore);
    }
  }
}

TEST(SectionArgb, NothingForBadArguments) {
  SectionFixture f;
  TestImage dst(6, 6, 0x12345678);
  PaintSkinSectionArgb(0, 0, {0, 0, 7, 6}, {0, 0}, dst.View(), &f.skin);   // beyond the width
  PaintSkinSectionArgb(0, 0, {-1, 0, 5, 6}, {0, 0}, dst.View(), &f.skin);  // left of it
  PaintSkinSectionArgb(0, 0, {2, 2, 2, 5}, {0, 0}, dst.View(), &f.skin);   // empty
  PaintSkinSectionArgb(1, 0, {0, 0, 6, 6}, {0, 0}, dst.View(), &f.skin);   // no such section
  PaintSkinSectionArgb(0, 0, {0, 0, 6, 6}, {0, 0}, PixelView{}, &f.skin);
  PaintSectionBackgroundArgb(-1, 0, {0, 0, 6, 6}, dst.View(), &f.skin, kFuchsia);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(dst.at(x, y), 0x12345678u);
}

}  // namespace
