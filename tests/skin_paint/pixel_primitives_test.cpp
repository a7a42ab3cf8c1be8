// Pixel primitives: fills, tints, alpha, premultiplication, corners, text,
// the disabled look and icons.
#include <gtest/gtest.h>

#include "skin/foundation/colour_math.h"
#include "skin/foundation/dib_surface.h"
#include "skin/foundation/pixel_primitives.h"
#include "test_images.h"

namespace {

int CountChanged(TestImage& img, uint32_t original) {
  int n = 0;
  for (int y = 0; y < img.h(); ++y)
    for (int x = 0; x < img.w(); ++x) n += img.at(x, y) != original;
  return n;
}

TEST(PixelPrimitives, SinglePixelsAreClipped) {
  TestImage img(3, 2, 0x11223344);
  EXPECT_EQ(GetArgbPixel(img.View(), 2, 1), 0x11223344u);
  EXPECT_EQ(GetArgbPixel(img.View(), 3, 0), 0u);
  EXPECT_EQ(GetArgbPixel(img.View(), -1, 0), 0u);
  SetArgbPixel(img.View(), 0, 2, 5);  // outside: ignored
  SetArgbPixel(img.View(), -1, -1, 5);
  EXPECT_EQ(CountChanged(img, 0x11223344), 0);
  SetArgbPixel(img.View(), 1, 1, 5);
  EXPECT_EQ(img.at(1, 1), 5u);
}

TEST(PixelPrimitives, ByteOrderHelpers) {
  EXPECT_EQ(ByteSwap32(0x11223344), 0x44332211u);
  uint32_t a[2] = {0x01020304, 0xA0B0C0D0};
  ByteSwapArray32(a, 2);
  EXPECT_EQ(a[1], 0xD0C0B0A0u);
  EXPECT_EQ(SwapRedBlueKeepTop(0xAA112233), 0xAA332211u);
  uint32_t cells[3] = {1, 1, 1};
  FillPixels32(cells, 0, 9);
  FillPixels32(cells, -3, 9);
  EXPECT_EQ(cells[0], 1u);
  FillPixels32(cells, 2, 9);
  EXPECT_EQ(cells[1], 9u);
  EXPECT_EQ(cells[2], 1u);
}

TEST(PixelPrimitives, FillRectClipsAndSwapsRedBlue) {
  TestImage img(4, 4, 0);
  FillRectArgb(img.View(), {-3, 2, 2, 99}, 0x000000FF, 0x80);
  EXPECT_EQ(img.at(0, 2), 0x80FF0000u);
  EXPECT_EQ(img.at(1, 3), 0x80FF0000u);
  EXPECT_EQ(CountChanged(img, 0), 4);
  TestImage frame(6, 6, 0);
  FillFrameArgb(frame.View(), {0, 0, 6, 6}, 1, 1, 1, 1, 0x00FF0000);
  EXPECT_EQ(frame.at(0, 3), 0xFF0000FFu);
  EXPECT_EQ(frame.at(3, 3), 0u);
  EXPECT_EQ(CountChanged(frame, 0), 20);
}

TEST(PixelPrimitives, MixRectWithColorIsInclusive) {
  TestImage whole(5, 4, 0x00FFFFFF);
  MixRectWithColor(whole.View(), {0, 0, 5, 4}, 0, 0x00000000);
  EXPECT_EQ(CountChanged(whole, 0x00FFFFFF), 20);  // the whole image, no more
  TestImage big(20, 20, 0x10FFFFFF);
  MixRectWithColor(big.View(), {0, 0, 10, 10}, 128, 0x00000000);
  EXPECT_EQ(CountChanged(big, 0x10FFFFFF), 121);
  EXPECT_EQ(big.at(10, 10), 0x107F7F7Fu);  // (255 * 128) shr 8, alpha kept
}

TEST(PixelPrimitives, TintRectTruncatesTowardZero) {
  TestImage img(1, 1, 0x00FF0010);
  TintRectArgb(img.View(), {0, 0, 1, 1}, 0x00000080 /* red 128 */, 33, 0x44);
  // red 255 - 33*(255-128)/100 = 255 - 41 = 214; green 0 - 0 = 0; blue 16 - 33*16/100 = 16 - 5 = 11
  EXPECT_EQ(img.at(0, 0), 0x44D6000Bu);
}

TEST(PixelPrimitives, SetAlphaInRectClipsAndSkipsKey) {
  TestImage img(3, 3, 0x00123456);
  img.at(1, 1) = kKeyPixel;
  SetAlphaInRect(img.View(), {-5, -5, 50, 50}, 0xFF, kKeyPixel);
  EXPECT_EQ(img.at(0, 0), 0xFF123456u);
  EXPECT_EQ(img.at(1, 1), kKeyPixel);
  SetAlphaInRect(img.View(), {0, 0, 3, 3}, 0x10, kNoColor);
  EXPECT_EQ(img.at(1, 1), 0x10FF00FFu);
  SetAlphaInRect(img.View(), {2, 2, 2, 2}, 0x77, kNoColor);  // empty
  EXPECT_EQ(img.at(2, 2), 0x10123456u);
}

TEST(PixelPrimitives, ClearWhitePixelsVisitsEveryPixel) {
  TestImage img(3, 5, 0x00FFFFFF);
  img.at(1, 2) = 0x01FFFFFF;
  img.at(2, 4) = 0x00FFFFFE;
  ClearWhitePixels(img.View());
  EXPECT_EQ(CountChanged(img, 0), 2);
  EXPECT_EQ(img.at(1, 2), 0x01FFFFFFu);
}

TEST(PixelPrimitives, PremultiplyTable) {
  struct {
    uint32_t in;
    bool composition;
    uint32_t want;
  } cases[] = {
      {0xFFFAFAFA, false, 0xFFF4F4F4}, {0xFFFAFAFA, true, 0xFFF9F9F9},
      {0x00FFFFFF, false, 0x00000000}, {0x00FFFFFF, true, 0x00000000},
      {0x80FAFA0A, false, 0x807D7D05}, {0x80FAFA0A, true, 0x807D7D05},
  };
  for (auto& c : cases) {
    TestImage img(2, 2, c.in);
    PremultiplyAlpha(img.View(), c.composition);
    EXPECT_EQ(img.at(1, 1), c.want) << std::hex << c.in << " " << c.composition;
  }
  // Rows long enough for the wide kernels, the cases mixed within them so
  // that capped and plain pixels share each group of pixels.
  for (bool composition : {false, true}) {
    TestImage row(23, 1, 0);
    for (int x = 0; x < 23; ++x) row.at(x, 0) = cases[(x * 2 + (x / 3) * 2) % 6].in;
    PremultiplyAlpha(row.View(), composition);
    for (int x = 0; x < 23; ++x) {
      const auto& c = cases[(x * 2 + (x / 3) * 2) % 6 + (composition ? 1 : 0)];
      EXPECT_EQ(row.at(x, 0), c.want) << x << " " << composition;
    }
  }
  TestImage img(2, 2, 0xFFFFFFFF);
  PremultiplyAlphaInRect(img.View(), {1, 1, 9, 9}, true);  // clipped to the image
  EXPECT_EQ(img.at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(img.at(1, 1), 0xFFFEFEFEu);
}

TEST(PixelPrimitives, FillCornerWithoutMaskClearsAlpha) {
  TestImage dst(4, 4, 0xFF000001), src(4, 4, 0xAB00CDEF);
  dst.at(1, 1) = 0xFFFF00FF;  // key once its alpha is cleared
  FillCornerFromBackground(dst.View(), src.View(), {0, 0, 2, 2}, {2, 2}, -1, nullptr, 0);
  EXPECT_EQ(dst.at(1, 1), 0xAB00CDEFu);
  EXPECT_EQ(dst.at(0, 0), 0x00000001u);
  EXPECT_EQ(dst.at(2, 2), 0xFF000001u);
}

TEST(PixelPrimitives, DrawTextOnlyTouchesTheVisiblePart) {
  TestImage img(40, 20, 0x00FFFFFF);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  DrawTextArgb(img.View(), font, "WWWWWWWWWW", false, {-10, -5, 30, 15}, DT_LEFT | DT_TOP,
               0x000000FF, true);
  int inked = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      const uint32_t p = img.at(x, y);
      if (p != 0x00FFFFFF) {
        ++inked;
        EXPECT_EQ(p >> 24, 255u);
        EXPECT_LT(x, 30);
        EXPECT_LT(y, 15);
      }
    }
  EXPECT_GT(inked, 0);
  // Alpha mode on a transparent image: full ink gets alpha 255 and C * 256 * 255 shr 16.
  TestImage clear(40, 20, 0);
  const TOwnedFont crisp = CrispFont(16);
  DrawTextArgb(clear.View(), crisp.Get(), "WWW", true, {0, 0, 40, 20}, DT_LEFT | DT_TOP, 0x000000FF,
               false);
  bool opaqueRed = false;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) opaqueRed |= clear.at(x, y) == 0xFFFE0000u;
  EXPECT_TRUE(opaqueRed);
}

TEST(PixelPrimitives, DisabledLookGreysThenBlends) {
  TestImage img(2, 1, 0x00FF0000);
  img.at(1, 0) = kKeyPixel;
  ApplyDisabledLook(img.View(), dkGrayed | dkBlended, ColorBackgroundView(0x00000000), {0, 0},
                    0x00FFFFFF);
  const uint32_t grey = SaturatePixel(-229, 0x00FF0000);
  uint32_t want = 0;
  for (int n = 0; n < 3; ++n) want |= ((ByteOf(grey, n) * 100) >> 8) << (8 * n);
  EXPECT_EQ(img.at(0, 0), want);
  // The key stays out of the grey step but the colour mix covers every pixel.
  EXPECT_EQ(img.at(1, 0), (((255u * 100) >> 8) << 16) | ((255u * 100) >> 8));

  TestImage img2(2, 2, 0x00000000), bg(5, 5, 0x00FFFFFF);
  bg.at(3, 3) = kKeyPixel;
  ApplyDisabledLook(img2.View(), dkBlended, MakeBackgroundView(bg.View(), 1, 1), {1, 1}, 0);
  EXPECT_EQ(img2.at(0, 0), ((255u * 155) >> 8) * 0x010101u);
  EXPECT_EQ(img2.at(1, 1), 0u);  // background key skipped
}

TEST(PixelPrimitives, IconFromTopLeftKeyClearsKeyAndSetsAlpha) {
  TestImage img(4, 4, 0x00FF00FF, false);
  img.FillRect(1, 1, 3, 3, 0x00336699);
  HICON icon = IconFromBitmapTopLeftKey(img.View());
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 4;
  bi.bmiHeader.biHeight = -4;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  uint32_t bits[16] = {};
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, info.hbmColor, 0, 4, bits, &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(bits[0], 0u);           // key colour cleared, alpha 0
  EXPECT_EQ(bits[5], 0xFF336699u);  // opaque elsewhere
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);
}

}  // namespace
