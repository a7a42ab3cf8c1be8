// The painters on real TBitmap work bitmaps: addressing, formats, sizing and
// drawing onto a canvas.
#include <gtest/gtest.h>

#include <memory>

#include "fake_skin.h"
#include "test_images.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/section_paint.h"

namespace {

TEST(ArgbBitmap, ScanlineAddressing) {
  uint8_t* base = reinterpret_cast<uint8_t*>(1);
  ptrdiff_t stride = 99;
  TBitmap empty;
  empty.SetPixelFormat(pf32bit);
  EXPECT_FALSE(ScanlineBaseAndStride(&empty, base, stride));
  EXPECT_EQ(stride, 99);  // outputs untouched
  auto one = Argb(5, 1, 0);
  ASSERT_TRUE(ScanlineBaseAndStride(one.get(), base, stride));
  EXPECT_EQ(stride, 0);
  auto three = Argb(5, 3, 0);
  ASSERT_TRUE(ScanlineBaseAndStride(three.get(), base, stride));
  EXPECT_EQ(stride, -20);  // bottom-up DIB
  EXPECT_EQ(base + 2 * stride + 4 * 3, static_cast<uint8_t*>(three->ScanLine(2)) + 12);
  TBitmap rgb;
  rgb.SetPixelFormat(pf24bit);
  rgb.SetSize(4, 4);
  EXPECT_FALSE(ArgbView(&rgb).Valid());  // painters leave other formats alone
  FillRectArgb(&rgb, TRect(0, 0, 4, 4), 0, 255);
}

TEST(ArgbBitmap, ResampleSizesTheTargetAndLeavesDegenerateSources) {
  auto src = Argb(2, 2, 0xFF000000), dst = Argb(3, 3, 7);
  ArgbView(src.get()).At(1, 0) = 0xFFC8C8C8;
  ArgbView(src.get()).At(1, 1) = 0xFFC8C8C8;
  ResampleArgb(src.get(), dst.get(), 4, 4, rsTriangle);
  ASSERT_EQ(dst->Width(), 4);
  EXPECT_EQ(ArgbView(dst.get()).At(1, 2), 0xFF646464u);
  auto line = Argb(10, 1, 1), keep = Argb(3, 3, 7);
  ResampleArgb(line.get(), keep.get(), 20, 2, rsTriangle);
  EXPECT_EQ(keep->Width(), 3);
  EXPECT_EQ(ArgbView(keep.get()).At(0, 0), 7u);
}

TEST(ArgbBitmap, AlphaCopySwitchesTheSourceTo32Bit) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 2);  // new pixels are white
  auto dst = Argb(2, 2, 0x00000000);
  AlphaCopyArgb(TRect(0, 0, 2, 2), TRect(0, 0, 2, 2), dst.get(), &src, EmptyBackgroundInfo, false,
                clNone, 0, false);
  EXPECT_EQ(src.PixelFormat(), pf32bit);
  EXPECT_EQ(ArgbView(dst.get()).At(0, 0), 0u);  // converted alpha 0: weight 0
}

TEST(ArgbBitmap, DrawArgbOnCanvasBlendsOverThePicture) {
  auto target = Argb(6, 6, 0xFF0000FF);
  auto image = Argb(2, 2, 0xFFFF0000);
  ArgbView(image.get()).At(0, 0) = 0x00FF0000;  // fully transparent
  DrawArgbOnCanvas(target->Canvas(), image.get(), TRect(1, 1, 3, 3), false);
  EXPECT_EQ(ArgbView(target.get()).At(2, 2) & 0xFFFFFF, 0xFE0000u);
  EXPECT_EQ(ArgbView(target.get()).At(1, 1) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(ArgbView(target.get()).At(0, 0) & 0xFFFFFF, 0x0000FFu);
  // Another size: stretched, no reflection below.
  DrawArgbOnCanvas(target->Canvas(), image.get(), TRect(0, 0, 4, 2), true);
  EXPECT_EQ(ArgbView(target.get()).At(3, 1) & 0xFFFFFF, 0xFE0000u);
  EXPECT_EQ(ArgbView(target.get()).At(3, 3) & 0xFFFFFF, 0x0000FFu);
}

TEST(ArgbBitmap, SectionTextureFromAnOwnTBitmap) {
  // The default image lookup reads a TBitmap of the image's own.
  struct Skin : FakeSkin {
    PixelView OwnImagePixels(const TsMaskData& m) const override {
      return SkinSource::OwnImagePixels(m);
    }
  } skin;
  auto texture = Argb(2, 2, 0xFF010203);
  ArgbView(texture.get()).At(1, 1) = 0xFF040506;
  TsMaskData m;
  m.Image = texture.get();
  m.Owner = &skin;
  m.SourceRect = {0, 0, 2, 2};
  m.FrameCount = 1;
  ComputeMaskFrameSize(m);
  skin.images.push_back(m);
  TsGeneralData s;
  s.Props[0].ImagePercent = 100;
  s.Props[0].PatternIndex = 0;
  skin.sections.push_back(s);
  auto dst = Argb(5, 5, 0);
  PaintSkinSection(0, EmptyBackgroundInfo, 0, TRect(0, 0, 5, 5), TPoint{0, 0}, dst.get(), &skin);
  EXPECT_EQ(ArgbView(dst.get()).At(3, 3), 0xFF040506u);
  EXPECT_EQ(ArgbView(dst.get()).At(4, 3), 0xFF010203u);
}

TEST(ArgbBitmap, PremultiplyFollowsTheCompositionQuery) {
  auto b = Argb(1, 1, 0xFFFAFAFA);
  SetCompositionQuery([] { return true; });
  PremultiplyAlpha(b.get());
  EXPECT_EQ(ArgbView(b.get()).At(0, 0), 0xFFF9F9F9u);
  SetCompositionQuery([] { return false; });
  auto c = Argb(1, 1, 0xFFFAFAFA);
  PremultiplyAlpha(c.get());
  EXPECT_EQ(ArgbView(c.get()).At(0, 0), 0xFFF4F4F4u);
  SetCompositionQuery(nullptr);
}

TEST(ArgbBitmap, IconFromTopLeftKeySwitchesFormat) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(4, 4);
  HICON icon = IconFromBitmapTopLeftKey(&b);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  ASSERT_NE(icon, nullptr);
  DestroyIcon(icon);
}

}  // namespace
