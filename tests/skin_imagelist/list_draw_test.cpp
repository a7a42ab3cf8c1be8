// Drawing: state frames of an image strip, alpha lists blended or copied,
// other lists through their own drawing, canvases and device contexts, and
// the list backgrounds the drawing leaves.
#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "tests/skin_imagelist/list_fixture.h"
#include "widgets/graphics/canvas.h"

namespace {

using DrawTest = ListTest;

uint32_t Opaque(uint32_t Rgb) {
  return 0xFF000000u | Rgb;
}

// Colours within one step per channel: blending by alpha 255 of 256 may
// round down.
bool NearRgb(uint32_t A, uint32_t B) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((A >> shift) & 0xFF) - static_cast<int>((B >> shift) & 0xFF)) > 1)
      return false;
  return true;
}

TEST_F(DrawTest, TheFrameDrawnIsTheStateLimitedToTheLastFrame) {
  TsAlphaImageList* list = NewList();
  list->SetWidth(48);
  list->SetHeight(16);
  AddFile(list, FramesPng());
  list->GenerateImages();
  const struct {
    int numGlyphs, state;
    int width;                 // the frame size answered
    std::vector<int> columns;  // the frame seen at x = 0, 16, 32 of the target
  } cases[] = {
      {0, 0, 48, {0, 1, 2}},  // no count: the whole strip is one frame
      {1, 2, 48, {0, 1, 2}},   {3, 0, 16, {0, -1, -1}},  {3, 1, 16, {1, -1, -1}},
      {3, 5, 16, {2, -1, -1}}, {3, -4, 16, {0, -1, -1}},
  };
  for (const auto& c : cases) {
    auto target = OwnObject(NewArgbBitmap(48, 16));
    const uint32_t untouched = GetArgbPixel(target.get(), 40, 8);
    const TSize size =
        DrawImageToBitmap(list, target.get(), 0, 0, 0, 0, clNone, c.state, c.numGlyphs, false);
    EXPECT_EQ(size.cx, c.width) << c.numGlyphs << "/" << c.state;
    EXPECT_EQ(size.cy, 16);
    for (int k = 0; k < 3; ++k) {
      const uint32_t want = c.columns[static_cast<size_t>(k)] < 0
                                ? untouched
                                : Opaque(FrameColour(c.columns[static_cast<size_t>(k)]));
      EXPECT_EQ(GetArgbPixel(target.get(), 16 * k + 8, 8), want)
          << c.numGlyphs << "/" << c.state << " at frame " << k;
    }
  }
}

TEST_F(DrawTest, AlphaImagesBlendOverTheTargetOrAreCopiedWhenOpaqueDrawIsOn) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  const std::vector<uint32_t> png = AlphaPngPixels(16);
  for (bool opaque : {false, true}) {
    list->SetOpaqueDraw(opaque);
    auto target = OwnObject(NewArgbBitmap(16, 16));
    FillRectArgb(target.get(), TRect(0, 0, 16, 16), 0x0000FF, 255);  // red
    DrawImageToBitmap(list, target.get(), 0, 0, 0, 0, clNone, 0, 1, false);
    const std::vector<uint32_t> got = PixelsOf(target.get());
    for (size_t i = 0; i < png.size(); ++i) {
      const uint32_t a = png[i] >> 24;
      if (opaque) {
        EXPECT_EQ(got[i], png[i]) << i;
      } else if (a == 0) {
        EXPECT_TRUE(NearRgb(got[i], 0xFF0000u)) << i << ": " << std::hex << got[i];
      } else if (a == 255) {
        EXPECT_TRUE(NearRgb(got[i], png[i])) << i << ": " << std::hex << got[i];
      }
    }
  }
}

TEST_F(DrawTest, DrawingOnACanvasOrADeviceContextMatchesTheBitmapRoad) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  auto expected = OwnObject(NewArgbBitmap(24, 24));
  FillRectArgb(expected.get(), TRect(0, 0, 24, 24), 0x00FF00, 255);
  DrawImageToBitmap(list, expected.get(), 4, 4, 0, 0, clNone, 0, 1, false);

  auto onCanvas = OwnObject(NewArgbBitmap(24, 24));
  FillRectArgb(onCanvas.get(), TRect(0, 0, 24, 24), 0x00FF00, 255);
  list->Draw(onCanvas->Canvas(), 4, 4, 0);
  auto onDC = OwnObject(NewArgbBitmap(24, 24));
  FillRectArgb(onDC.get(), TRect(0, 0, 24, 24), 0x00FF00, 255);
  DrawImageToDC(list, onDC->Canvas()->Handle(), 4, 4, 0, 0, clNone, 0, 1, false);
  const std::vector<uint32_t> want = PixelsOf(expected.get());
  for (TBitmap* b : {onCanvas.get(), onDC.get()}) {
    const std::vector<uint32_t> got = PixelsOf(b);
    for (size_t i = 0; i < want.size(); ++i)
      EXPECT_NEAR(static_cast<int>(got[i] & 0xFF00), static_cast<int>(want[i] & 0xFF00), 0x200)
          << i;
  }
}

TEST_F(DrawTest, AnyOtherListDrawsThroughItsOwnDrawing) {
  auto* plain = New<TImageList>(nullptr);
  auto strip = OwnObject(NewArgbBitmap(32, 16));
  FillRectArgb(strip.get(), TRect(0, 0, 16, 16), 0x0000C0, 255);
  FillRectArgb(strip.get(), TRect(16, 0, 32, 16), 0xC00000, 255);
  plain->Add(strip.get(), nullptr);
  ASSERT_EQ(plain->Count(), 2);
  auto target = OwnObject(NewArgbBitmap(16, 16));
  const TSize size = DrawImageToBitmap(plain, target.get(), 0, 0, 1, 0, clNone, 0, 1, false);
  EXPECT_EQ(size.cx, 16);
  // FillRectArgb takes colours as 0xBBGGRR: the second image is blue.
  EXPECT_EQ(GetArgbPixel(target.get(), 8, 8) & 0xFFFFFF, 0x0000C0u);
  TObject::Free(plain);
}

TEST_F(DrawTest, IconDrawingAndCopyingLeaveTheSourceBackgroundClear) {
  TsAlphaImageList* icons = ListOf({AlphaIco(16)}, ifICO);
  icons->SetBkColor(clRed);
  EXPECT_EQ(ImageList_GetBkColor(icons->Handle()), RGB(255, 0, 0));
  auto target = OwnObject(NewArgbBitmap(16, 16));
  icons->Draw(target->Canvas(), 0, 0, 0);
  EXPECT_EQ(ImageList_GetBkColor(icons->Handle()), CLR_NONE);

  TsAlphaImageList* source = ListOf({AlphaPng(16)});
  source->SetBkColor(clBlue);
  TsAlphaImageList* dest = NewList();
  dest->SetKeepItems(false);
  dest->Handle();
  CopyImages(dest, source);
  EXPECT_EQ(ImageList_GetBkColor(source->Handle()), CLR_NONE);
  EXPECT_EQ(dest->Count(), 1);
}

TEST_F(DrawTest, TheBackgroundColourReadsBackAsSetOrAsTheSourceListHadIt) {
  TsAlphaImageList* list = NewList();
  EXPECT_EQ(list->BkColor(), clNone);
  list->Handle();
  EXPECT_EQ(list->BkColor(), clNone);
  TsAlphaImageList* source = ListOf({AlphaPng(16)});
  ImageList_SetBkColor(source->Handle(), CLR_DEFAULT);
  TsAlphaImageList* copy = NewList();
  copy->Assign(source);
  EXPECT_EQ(copy->BkColor(), clDefault);
  copy->SetBkColor(clLime);
  EXPECT_EQ(copy->BkColor(), clLime);
}

}  // namespace
