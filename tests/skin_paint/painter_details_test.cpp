// Details of painters that reach into the skin: corners taken from a skin
// image's key places, stretched masked pieces, section text and painting
// through a device context.
#include <gtest/gtest.h>

#include "fake_skin.h"
#include "skin/foundation/dib_surface.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/section_paint.h"

namespace {

TEST(PainterDetails, FillCornerFollowsTheImageKeyOfEachCorner) {
  // One frame 6 x 4 with borders 2: key pixels at the top-left and bottom-right corners.
  FakeSkin skin(6, 4);
  skin.Master().Fill(0xFF000000);
  skin.Master().at(0, 0) = 0xFFFF00FF;  // alpha ignored: colour 0xFF00FF counts
  skin.Master().at(5, 3) = 0x00FF00FF;
  const int idx = skin.AddImage({0, 0, 6, 4}, 1, 0);
  skin.images[idx].BorderRight = skin.images[idx].BorderBottom = 2;
  for (int corner : {0, HTBOTTOMRIGHT, HTTOPRIGHT}) {
    TestImage dst(4, 4, 0x11111111), src(4, 4, 0x22222222);
    FillCornerFromBackground(dst.View(), src.View(), {0, 0, 2, 2}, {0, 0}, idx, &skin, corner);
    const bool expectTopLeft = corner == 0;
    const bool expectBottomRight = corner == HTBOTTOMRIGHT;
    EXPECT_EQ(dst.at(0, 0) == 0x22222222u, expectTopLeft) << corner;
    EXPECT_EQ(dst.at(1, 1) == 0x22222222u, expectBottomRight) << corner;
    EXPECT_EQ(dst.at(2, 2), 0x11111111u);
  }
}

TEST(PainterDetails, StretchedMaskedPieceShrinksThroughTheResampler) {
  // A 4 x 2 image over its 4 x 2 mask (black: the image shows), drawn 2 wide.
  TestImage src(4, 4, 0x00804020);
  src.FillRect(0, 2, 4, 4, 0x00000000);
  TestImage dst(6, 6, 0);
  StretchMaskedPiece(1, 1, 2, 2, 0, 0, 4, 2, dst.View(), src.View(), 2, false);
  // A flat piece stays flat, give or take the one level a filter pass may lose.
  for (int n = 0; n < 24; n += 8)
    EXPECT_NEAR(int((dst.at(1, 1) >> n) & 0xFF), int((0x804020u >> n) & 0xFF), 2);
  EXPECT_EQ(dst.at(2, 2) >> 24, 0xFFu);
  EXPECT_EQ(dst.at(0, 0), 0u);
  EXPECT_EQ(dst.at(3, 3), 0u);
  // Mask rows outside the source: nothing.
  TestImage dst2(6, 6, 0);
  StretchMaskedPiece(0, 0, 3, 3, 0, 0, 4, 2, dst2.View(), src.View(), 3, false);
  EXPECT_EQ(dst2.at(1, 1), 0u);
}

TEST(PainterDetails, SectionTextDrawsContoursBeforeTheText) {
  FakeSkin skin;
  TsGeneralData s;
  s.Props[0].FontColor = 0x000000FF;     // red text
  s.Props[0].ContourRight = 0x00FF0000;  // blue copy one pixel to the right
  skin.sections.push_back(s);
  TestImage img(60, 20, 0);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  DrawSectionTextArgb(img.View(), font, 0, "IIII", true, {0, 0, 60, 20}, DT_LEFT | DT_TOP, 0, 0,
                      &skin);
  bool red = false, blue = false;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      const uint32_t p = img.at(x, y);
      red |= ((p >> 16) & 0xFF) > 0xC0 && (p & 0xFF) < 0x40;
      blue |= (p & 0xFF) > 0xC0 && ((p >> 16) & 0xFF) < 0x40;
    }
  EXPECT_TRUE(red);
  EXPECT_TRUE(blue);
  TestImage none(10, 10, 5);
  DrawSectionTextArgb(none.View(), font, 0, "", true, {0, 0, 10, 10}, 0, 0, 0, &skin);
  EXPECT_EQ(none.at(0, 0), 5u);
}

TEST(PainterDetails, SectionThroughADeviceContext) {
  FakeSkin skin;
  TsGeneralData s;
  s.Props[0].Color = 0x000000FF;
  skin.sections.push_back(s);
  DibSurface surface(10, 10);
  ASSERT_TRUE(surface.Valid());
  PaintSkinSectionToDC(&skin, 0, BackgroundView{}, 0, {2, 2, 6, 6}, {0, 0}, surface.DC());
  GdiFlush();
  EXPECT_EQ(surface.View().At(3, 3) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(surface.View().At(1, 1), 0u);
  // Over a DC: the DC's picture is the background of a fully transparent state.
  skin.sections[0].Props[0].Transparency = 100;
  TestImage bmp(4, 4, 0);
  EXPECT_EQ(PaintSkinSectionOverDC(bmp.View(), 0, -1, 0, &skin, {0, 0, 4, 4}, 0, surface.DC()), 0);
  EXPECT_EQ(bmp.at(1, 1) & 0xFFFFFF, 0u);         // DC pixel (1, 1), outside the red square
  EXPECT_EQ(bmp.at(3, 3) & 0xFFFFFF, 0xFF0000u);  // DC pixel (3, 3)
}

}  // namespace
