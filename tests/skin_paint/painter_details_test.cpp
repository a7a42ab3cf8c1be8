// Details of painters that reach into the skin: corners taken from a skin
// image's key places, stretched masked pieces, section text and painting
// through a device context.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_skin.h"
#include "skin/foundation/dib_surface.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/resample.h"
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

// A stretched masked piece written plainly: a centre, or an edge shrunk
// along one axis only, has the piece (doubled to 2 x 2 at least) and its
// mask resampled whole; any other takes the nearest source pixels. Then
// every colour byte of the target (d * m + i * (256 - m)) shr 8 within the
// target, alpha 255.
void PlainStretchedMaskedPiece(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
                               TestImage& dst, TestImage& src, int maskOffset, bool centre) {
  TestImage image(dw, dh), mask(dw, dh);
  if (centre || (dw < sw && sh == dh) || (dh < sh && sw == dw)) {
    const int pw = std::max(2, sw), ph = std::max(2, sh);
    TestImage piece(pw, ph), pieceMask(pw, ph);
    for (int y = 0; y < ph; ++y)
      for (int x = 0; x < pw; ++x) {
        const int px = sx + std::min(x, sw - 1), py = sy + std::min(y, sh - 1);
        piece.at(x, y) = src.at(px, py);
        pieceMask.at(x, y) = src.at(px, py + maskOffset);
      }
    ResampleArgb(piece.View(), image.View(), rsMitchell);
    ResampleArgb(pieceMask.View(), mask.View(), rsMitchell);
  } else {
    for (int y = 0; y < dh; ++y)
      for (int x = 0; x < dw; ++x) {
        const int px = sx + x * sw / dw, py = sy + y * sh / dh;
        image.at(x, y) = src.at(px, py);
        mask.at(x, y) = src.at(px, py + maskOffset);
      }
  }
  for (int y = 0; y < dh && dy + y < dst.h(); ++y)
    for (int x = 0; x < dw && dx + x < dst.w(); ++x) {
      uint32_t& d = dst.at(dx + x, dy + y);
      uint32_t v = 0xFF000000u;
      for (int n = 0; n < 3; ++n) {
        const uint32_t m = ByteOf(mask.at(x, y), n);
        v |= ((ByteOf(d, n) * m + ByteOf(image.at(x, y), n) * (256 - m)) >> 8) << (8 * n);
      }
      d = v;
    }
}

TEST(PainterDetails, StretchedMaskedPiecesMatchThePlainStretchAndBlend) {
  struct Case {
    int dx, dy, dw, dh, sx, sy, sw, sh;
    bool centre;
  } cases[] = {
      {1, 2, 13, 9, 1, 1, 5, 4, true},    // a centre grown
      {0, 0, 9, 7, 2, 0, 1, 3, true},     // one column wide: doubled first
      {4, 3, 14, 10, 0, 1, 6, 5, true},   // runs past the target's right and bottom
      {2, 1, 3, 4, 0, 0, 7, 4, false},    // an edge shrunk along one axis
      {0, 0, 3, 2, 1, 2, 5, 5, true},     // a centre shrunk
      {3, 0, 3, 11, 2, 1, 3, 4, false},   // a side edge grown down at its own width
      {1, 1, 14, 3, 0, 2, 5, 2, false},   // a top edge grown both ways
      {5, 2, 15, 12, 1, 0, 4, 3, false},  // ... and past the target's right and bottom
      {0, 4, 6, 5, 0, 0, 8, 6, false},    // shrunk both ways: nearest pixels too
  };
  constexpr int kMaskOffset = 8;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dw << "x" << c.dh << " from " << c.sw << "x" << c.sh);
    TestImage src(8, 16);
    src.Randomize(uint32_t(c.dw * 31 + c.sw));
    // Painted twice and after a change of the source: the second call may
    // reuse the first one's resampling, the third must not.
    for (int round = 0; round < 3; ++round) {
      if (round == 2) src.at(c.sx, c.sy + kMaskOffset) ^= 0x00808080u;
      TestImage dst(16, 11), expected(16, 11);
      dst.Randomize(7);
      expected.Randomize(7);
      StretchMaskedPiece(c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, dst.View(), src.View(),
                         kMaskOffset, c.centre);
      PlainStretchedMaskedPiece(c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, expected, src,
                                kMaskOffset, c.centre);
      int wrong = 0;
      for (int y = 0; y < dst.h(); ++y)
        for (int x = 0; x < dst.w(); ++x) wrong += dst.at(x, y) != expected.at(x, y);
      EXPECT_EQ(wrong, 0) << "round " << round;
    }
  }
}

TEST(PainterDetails, SectionTextDrawsContoursBeforeTheText) {
  // Bold stems are wider than the contour's one-pixel shift, so text and
  // contour overlap and which one lies on top shows exactly.
  const TOwnedFont font = CrispFont(16);
  ASSERT_TRUE(font);
  FakeSkin skin;
  TsGeneralData s;
  s.Props[0].FontColor = 0x000000FF;  // red text
  skin.sections.push_back(s);
  const RECT area{0, 0, 60, 24};
  TestImage textOnly(60, 24, 0);
  DrawSectionTextArgb(textOnly.View(), font.Get(), 0, "IIII", true, area, DT_LEFT | DT_TOP, 0, 0,
                      &skin);
  skin.sections[0].Props[0].ContourRight = 0x00FF0000;  // blue copy one pixel to the right
  TestImage both(60, 24, 0);
  DrawSectionTextArgb(both.View(), font.Get(), 0, "IIII", true, area, DT_LEFT | DT_TOP, 0, 0,
                      &skin);

  int overlapped = 0, contourShown = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 1; x < 60; ++x) {
      const bool text = textOnly.at(x, y) != 0, textLeft = textOnly.at(x - 1, y) != 0;
      if (text) {
        // The text is drawn last: it covers the contour wherever both lie.
        EXPECT_EQ(both.at(x, y), textOnly.at(x, y)) << x << "," << y;
        overlapped += textLeft;
      } else if (textLeft) {
        const uint32_t p = both.at(x, y);
        EXPECT_TRUE((p & 0x00FFFF00u) == 0 && (p & 0xFF) > 0xF0) << std::hex << p;
        ++contourShown;
      } else {
        EXPECT_EQ(both.at(x, y), 0u) << x << "," << y;
      }
    }
  EXPECT_GT(overlapped, 0);
  EXPECT_GT(contourShown, 0);
  TestImage none(10, 10, 5);
  DrawSectionTextArgb(none.View(), font.Get(), 0, "", true, {0, 0, 10, 10}, 0, 0, 0, &skin);
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
