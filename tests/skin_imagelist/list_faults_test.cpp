// What goes wrong and how the list stays usable: files that do not decode,
// added from a stream or stored, and images that cannot be made.
#include <gtest/gtest.h>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "tests/skin_imagelist/list_fixture.h"
#include "widgets/rtl/streams.h"

namespace {

class FaultsTest : public ListTest {
 protected:
  bool AddFromStream(TsAlphaImageList* List, const Bytes& File) {
    TMemoryStream s;
    s.WriteBuffer(File.data(), static_cast<int32_t>(File.size()));
    s.SetPosition(0);
    return AddImageFromStream(List, s);
  }
  int changes_ = 0;

 public:
  void Changed(TObject*) { ++changes_; }
};

TEST_F(FaultsTest, BytesThatDoNotDecodeAreRefusedAndLeaveNoItemBehind) {
  for (bool keepItems : {true, false}) {
    TsAlphaImageList* list = NewList();
    list->SetKeepItems(keepItems);
    EXPECT_FALSE(AddFromStream(list, AlphaPng(16))) << "no handle yet";
    EXPECT_EQ(list->Items()->Count(), 0);
    list->Handle();
    EXPECT_TRUE(AddFromStream(list, AlphaPng(16)));
    EXPECT_FALSE(AddFromStream(list, NotAnImage()));
    EXPECT_FALSE(AddFromStream(list, Bytes()));
    EXPECT_TRUE(AddFromStream(list, AlphaPng(32)));
    EXPECT_EQ(list->Count(), 2) << keepItems;
    EXPECT_EQ(list->Items()->Count(), keepItems ? 2 : 0);
    if (!keepItems) continue;
    // Every image sits at its item's index, and rebuilding never meets
    // the refused bytes.
    EXPECT_EQ(StreamBytes(list->Items()->Items(1)->ImgData()), AlphaPng(32));
    EXPECT_NO_THROW(list->GenerateImages());
    EXPECT_EQ(list->Count(), 2);
    auto image = OwnObject(list->MakeArgbImage(1, 32, 32));
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelsOf(image.get()), AlphaPngPixels(32));
  }
}

TEST_F(FaultsTest, AStoredFileThatDoesNotDecodeRaisesAndTheListStillTellsItsChanges) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  list->OnChange = TNotifyEvent::Of<&FaultsTest::Changed>(this);
  TsImgListItem* bad = AddFile(list, NotAnImage());
  EXPECT_ANY_THROW(list->GenerateImages());
  EXPECT_FALSE(list->Updating());
  list->Items()->Delete(bad->Index());
  changes_ = 0;
  list->GenerateImages();
  list->EndUpdate(true);
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(list->Count(), 1);
}

TEST_F(FaultsTest, AnImageThatCannotBeMadeDrawsNothing) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  auto target = OwnObject(NewArgbBitmap(20, 20));
  const std::vector<uint32_t> before = PixelsOf(target.get());
  for (int index : {1, 5}) {
    const TSize size = DrawImageToBitmap(list, target.get(), 0, 0, index, 0, clNone, 0, 1, false);
    EXPECT_EQ(size.cx, 0) << index;
  }
  EXPECT_EQ(PixelsOf(target.get()), before);
  // Nor does a list without a handle, or a target without pixels.
  TsAlphaImageList* bare = NewList();
  EXPECT_EQ(DrawImageToBitmap(bare, target.get(), 0, 0, 0, 0, clNone, 0, 1, false).cx, 0);
  auto empty = OwnObject(NewArgbBitmap(0, 0));
  EXPECT_EQ(DrawImageToBitmap(list, empty.get(), 0, 0, 0, 0, clNone, 0, 1, false).cx, 0);
}

TEST_F(FaultsTest, ImagesAddedWithoutAlphaByThePlatformCallsBecomeOpaqueExceptTheKey) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  auto plain = OwnObject(NewArgbBitmap(16, 16));
  const PixelView v = ArgbView(plain.get());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) v.At(x, y) = x < 4 ? kKeyPixel : 0x00204060;
  list->Add(plain.get(), nullptr);
  ASSERT_EQ(list->Count(), 2);
  if (ScreenBitsPerPixel() < 32) GTEST_SKIP() << "the platform list keeps no alpha here";
  const IconPixels added = IconPixelsOf(list->Handle(), 1);
  for (int i = 0; i < 256; ++i) {
    const bool key = i % 16 < 4;
    EXPECT_EQ(added.Colour[static_cast<size_t>(i)] >> 24, key ? 0u : 255u) << i;
  }
  // The list's own image kept its alpha.
  const IconPixels own = IconPixelsOf(list->Handle(), 0);
  EXPECT_EQ(own.Colour[1] >> 24, 255u);
  EXPECT_EQ(own.Colour[9] >> 24, 128u);
}

}  // namespace
