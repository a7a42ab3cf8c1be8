// The 32-bit images an alpha list makes from its files: resampled exactly as
// the Mitchell filter does, cached per item and size, images without alpha
// given alpha from their colours, and the platform list's copy.
#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/draw_helpers.h"
#include "tests/skin_imagelist/list_fixture.h"
#include "widgets/rtl/streams.h"

namespace {

using ImagesTest = ListTest;

TOwnedObject<TBitmap> Decoded(const Bytes& Png) {
  TMemoryStream s;
  s.WriteBuffer(Png.data(), static_cast<int32_t>(Png.size()));
  s.SetPosition(0);
  auto b = OwnObject(New<TBitmap>());
  LoadPngStreamToBitmap(b.get(), s);
  return b;
}

TEST_F(ImagesTest, ImagesAreTheFilesResampledWithTheMitchellFilter) {
  TsAlphaImageList* list = ListOf({AlphaPng(16), AlphaPng(32)});
  const struct {
    int index, fileSize, size;
  } cases[] = {{0, 16, 24}, {0, 16, 11}, {1, 32, 16}, {1, 32, 40}};
  for (const auto& c : cases) {
    auto source = Decoded(AlphaPng(c.fileSize));
    auto expected = OwnObject(NewArgbBitmap(c.size, c.size));
    ResampleArgb(source.get(), expected.get(), c.size, c.size, rsMitchell);
    auto image = OwnObject(list->MakeArgbImage(c.index, c.size, c.size));
    ASSERT_TRUE(image) << c.index << " at " << c.size;
    EXPECT_EQ(image->PixelFormat(), pf32bit);
    EXPECT_EQ(PixelsOf(image.get()), PixelsOf(expected.get())) << c.index << " at " << c.size;
  }
  // At the file's own size the file is the image, byte for byte.
  auto same = OwnObject(list->MakeArgbImage(1, 32, 32));
  EXPECT_EQ(PixelsOf(same.get()), AlphaPngPixels(32));
}

TEST_F(ImagesTest, AnIndexOutsideTheListMakesNoImage) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  for (int index : {-1, 1, 100}) EXPECT_EQ(list->MakeArgbImage(index, 16, 16), nullptr) << index;
  TsAlphaImageList* empty = NewList();
  EXPECT_EQ(empty->MakeArgbImage(0, 16, 16), nullptr);
}

TEST_F(ImagesTest, TheCacheServesTheSameSizeAndGoesWithASizeChangeOrWhenSwitchedOff) {
  TsAlphaImageList* list = ListOf({AlphaPng(16), AlphaPng(32)});
  auto first = OwnObject(list->MakeArgbImage(0, 24, 24));
  TsImgListItem* item = list->Items()->Items(0);
  ASSERT_NE(item->CacheBitmap(), nullptr);
  EXPECT_EQ(item->CacheBitmap()->Width(), 24);
  // Bytes that no longer decode prove which requests read the file: the
  // same size comes from the cache, another size decodes again.
  item->ImgData()->Clear();
  const Bytes junk = NotAnImage();
  item->ImgData()->WriteBuffer(junk.data(), static_cast<int32_t>(junk.size()));
  auto again = OwnObject(list->MakeArgbImage(0, 24, 24));
  ASSERT_TRUE(again);
  EXPECT_EQ(PixelsOf(again.get()), PixelsOf(first.get()));
  EXPECT_ANY_THROW(TObject::Free(list->MakeArgbImage(0, 20, 20)));
  EXPECT_EQ(item->CacheBitmap(), nullptr) << "a cache of another size is dropped";

  auto other = OwnObject(list->MakeArgbImage(1, 20, 20));
  ASSERT_NE(list->Items()->Items(1)->CacheBitmap(), nullptr);
  list->SetUseCache(false);
  EXPECT_EQ(list->Items()->Items(1)->CacheBitmap(), nullptr);
  TObject::Free(list->MakeArgbImage(1, 20, 20));
  EXPECT_EQ(list->Items()->Items(1)->CacheBitmap(), nullptr) << "nothing is kept without the cache";
}

TEST_F(ImagesTest, DrawingTakesAWarmCacheAsItIs) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  auto first = OwnObject(NewArgbBitmap(16, 16));
  DrawImageToBitmap(list, first.get(), 0, 0, 0, 0, clNone, 0, 1, false);
  TsImgListItem* item = list->Items()->Items(0);
  ASSERT_NE(item->CacheBitmap(), nullptr);
  const std::vector<uint32_t> cached = PixelsOf(item->CacheBitmap());
  item->ImgData()->Clear();
  const Bytes junk = NotAnImage();
  item->ImgData()->WriteBuffer(junk.data(), static_cast<int32_t>(junk.size()));
  auto second = OwnObject(NewArgbBitmap(16, 16));
  EXPECT_NO_THROW(DrawImageToBitmap(list, second.get(), 0, 0, 0, 0, clNone, 0, 1, false));
  EXPECT_EQ(PixelsOf(second.get()), PixelsOf(first.get()));
  EXPECT_EQ(PixelsOf(item->CacheBitmap()), cached) << "drawing leaves the cache as it was";
}

TEST(FixEmptyAlpha, OnlyABitmapWithoutAnyAlphaTakesItFromTheBottomLeftColour) {
  const struct {
    const char* name;
    uint32_t bottomLeft, other, otherAlpha;
    std::vector<uint32_t> want;  // top-left, top-right, bottom-left, bottom-right
  } cases[] = {
      {"no alpha", 0x00FFFFFF, 0x00123456, 0, {0xFF123456, 0x00FFFFFF, 0x00FFFFFF, 0xFF123456}},
      {"one alpha byte set",
       0x00FFFFFF,
       0x00123456,
       0x01000000,
       {0x01123456, 0x00FFFFFF, 0x00FFFFFF, 0x00123456}},
  };
  for (const auto& c : cases) {
    auto b = OwnObject(NewArgbBitmap(2, 2));
    const PixelView v = ArgbView(b.get());
    v.At(0, 0) = c.other | c.otherAlpha;
    v.At(1, 0) = c.bottomLeft;
    v.At(0, 1) = c.bottomLeft;
    v.At(1, 1) = c.other;
    FixEmptyAlpha(b.get());
    EXPECT_EQ(PixelsOf(b.get()), c.want) << c.name;
  }
}

TEST_F(ImagesTest, A32BitBmpWithoutAlphaIsOpaqueExceptItsWhitePixels) {
  TsAlphaImageList* list = ListOf({EmptyAlphaBmp()}, ifBMP32);
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->Items()->Items(0)->OrigWidth, 16);
  auto image = OwnObject(list->MakeArgbImage(0, 16, 16));
  ASSERT_TRUE(image);
  const PixelView v = ArgbView(image.get());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint32_t p = v.At(x, y);
      if (WhiteAt(x, y))
        EXPECT_EQ(p, 0x00FFFFFFu) << x << "," << y;
      else
        EXPECT_EQ(p >> 24, 0xFFu) << x << "," << y;
    }
}

TEST_F(ImagesTest, AnIconItemIsTakenFromThePlatformList) {
  TsAlphaImageList* list = ListOf({AlphaIco(16)}, ifICO);
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->Items()->Items(0)->OrigWidth, 16);
  auto image = OwnObject(list->MakeArgbImage(0, 16, 16));
  ASSERT_TRUE(image);
  ASSERT_EQ(image->Width(), 16);
  const std::vector<uint32_t> want = AlphaPngPixels(16);
  const std::vector<uint32_t> got = PixelsOf(image.get());
  // Colours survive wherever the icon is opaque, whatever the screen depth;
  // alpha where the platform list keeps it.
  const bool fullAlpha = ScreenBitsPerPixel() >= 32;
  for (size_t i = 0; i < want.size(); ++i) {
    if ((want[i] >> 24) == 255) {
      EXPECT_EQ(got[i] & 0xFFFFFF, want[i] & 0xFFFFFF) << i;
    }
    if (fullAlpha) {
      EXPECT_EQ(got[i] >> 24, want[i] >> 24) << i;
    }
  }
}

// What the platform's own road makes of a file: an icon of the decoded
// picture, put into a list of the same size, which fits it to its size.
IconPixels ThroughAnIcon(const Bytes& Png, int W, int H) {
  TOwnedHandle<HIMAGELIST, TImageListTraits> list(
      ImageList_Create(W, H, ILC_COLOR32 | ILC_MASK, 0, 4));
  auto picture = Decoded(Png);
  TOwnedIcon icon(IconFromArgbBitmap(picture.get(), clNone));
  EXPECT_EQ(ImageList_ReplaceIcon(list.Get(), -1, icon.Get()), 0);
  return IconPixelsOf(list.Get(), 0);
}

TEST_F(ImagesTest, ThePlatformListHoldsWhatAnIconOfTheFileWouldGiveIt) {
  // At the list's size, shrunk by a third as the combo-edit glyphs are,
  // shrunk in one direction only, and grown.
  const struct {
    int file, w, h;
  } cases[] = {{16, 16, 16}, {24, 16, 16}, {24, 32, 16}, {16, 24, 24}};
  for (const auto& c : cases) {
    TsAlphaImageList* list = NewList();
    list->SetWidth(c.w);
    list->SetHeight(c.h);
    AddFile(list, AlphaPng(c.file));
    list->GenerateImages();
    ASSERT_EQ(list->Count(), 1) << c.file;
    const IconPixels got = IconPixelsOf(list->Handle(), 0);
    const IconPixels want = ThroughAnIcon(AlphaPng(c.file), c.w, c.h);
    ASSERT_EQ(got.Colour.size(), static_cast<size_t>(c.w * c.h));
    ASSERT_EQ(got.Colour.size(), want.Colour.size());
    for (size_t i = 0; i < want.Colour.size(); ++i) {
      EXPECT_EQ(got.Colour[i], want.Colour[i])
          << c.file << " into " << c.w << "x" << c.h << " at " << i;
      EXPECT_EQ(got.Mask[i], want.Mask[i])
          << c.file << " into " << c.w << "x" << c.h << " at " << i;
    }
  }
}

TEST_F(ImagesTest, AlphaSurvivesThePlatformListOnlyOnA32BitScreen) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  const IconPixels icon = IconPixelsOf(list->Handle(), 0);
  ASSERT_EQ(icon.Width, 16);
  ASSERT_EQ(icon.Colour.size(), 256u);
  const std::vector<uint32_t> want = AlphaPngPixels(16);
  const bool fullAlpha = ScreenBitsPerPixel() >= 32;
  for (size_t i = 0; i < want.size(); ++i) {
    const uint32_t a = want[i] >> 24;
    // The mask marks exactly the fully transparent pixels.
    EXPECT_EQ(icon.Mask[i] != 0, a == 0) << i;
    if (a == 0) continue;
    if (fullAlpha) {
      EXPECT_EQ(icon.Colour[i] >> 24, a) << i;
    }
    if (a == 255) {
      EXPECT_EQ(icon.Colour[i] & 0xFFFFFF, want[i] & 0xFFFFFF) << i;
    }
  }
}

}  // namespace

namespace {

TEST_F(ImagesTest, OlderPlatformsGiveIconsWithoutAlphaTheirAlphaFromTheColours) {
  ASSERT_EQ(DefaultManager, nullptr);
  const struct {
    int32_t version;
    bool fixed;
  } cases[] = {{5, true}, {6, false}, {10, false}};
  for (const auto& c : cases) {
    WindowsVersion = c.version;
    TsAlphaImageList* list = ListOf({NoAlphaIco()}, ifICO);
    auto image = OwnObject(list->MakeArgbImage(0, 16, 16));
    ASSERT_TRUE(image);
    const PixelView v = ArgbView(image.get());
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        EXPECT_EQ(v.At(x, y) >> 24, c.fixed && !WhiteAt(x, y) ? 255u : 0u)
            << c.version << " at " << x << "," << y;
  }
}

TEST_F(ImagesTest, BeforeAlphaIconsTheTopLeftColourIsTheTransparentOne) {
  const struct {
    int32_t version;
    bool keyed;
  } cases[] = {{4, true}, {5, false}, {6, false}};
  for (const auto& c : cases) {
    WindowsVersion = c.version;
    TsAlphaImageList* list = NewList();
    list->SetWidth(48);
    AddFile(list, FramesPng());
    list->GenerateImages();
    const IconPixels icon = IconPixelsOf(list->Handle(), 0);
    ASSERT_EQ(icon.Mask.size(), 48u * 16u);
    for (int x : {0, 8, 15, 16, 30, 47})
      EXPECT_EQ(icon.Mask[static_cast<size_t>(5 * 48 + x)] != 0, c.keyed && x < 16)
          << c.version << " at " << x;
  }
}

}  // namespace
