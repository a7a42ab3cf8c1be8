// Form streaming: every item's file is written byte for byte as "ImgData"
// (even an empty one), the platform list never is, and a list read back
// records its size and builds its platform list from the files.
#include <gtest/gtest.h>

#include <string>

#include "tests/skin_imagelist/list_fixture.h"
#include "widgets/rtl/form_reader.h"

namespace {

// The bytes of every "ImgData = {...}" block of a description, in order.
std::vector<Bytes> ImgDataBlocks(const std::string& Text) {
  std::vector<Bytes> blocks;
  for (size_t at = Text.find("ImgData = {"); at != std::string::npos;
       at = Text.find("ImgData = {", at + 1)) {
    const size_t end = Text.find('}', at);
    Bytes b;
    int high = -1;
    for (size_t i = at + 11; i < end; ++i) {
      const char c = Text[i];
      if (!isxdigit(static_cast<unsigned char>(c))) continue;
      const int v = isdigit(static_cast<unsigned char>(c)) ? c - '0' : (toupper(c) - 'A' + 10);
      if (high < 0) {
        high = v;
      } else {
        b.push_back(static_cast<uint8_t>(high << 4 | v));
        high = -1;
      }
    }
    blocks.push_back(b);
  }
  return blocks;
}

class StreamingTest : public ListTest {
 protected:
  void TearDown() override {
    TObject::Free(read_);
    TObject::Free(root_);
    ListTest::TearDown();
  }
  TComponent* root_ = New<TComponent>(nullptr);
  TComponent* read_ = New<TComponent>(nullptr);
};

TEST_F(StreamingTest, ItemsAreWrittenByteForByteAndThePlatformListIsNot) {
  root_->SetName("Root");
  auto* list = New<TsAlphaImageList>(root_);
  list->SetName("Images");
  AddFile(list, AlphaPng(16))->ImageName = "first";
  AddFile(list, AlphaIco(16), ifICO);
  list->GenerateImages();
  ASSERT_EQ(list->Count(), 2);
  AddFile(list, Bytes(), ifBMP32);

  const std::string text = WriteComponentToText(root_);
  const std::vector<Bytes> blocks = ImgDataBlocks(text);
  ASSERT_EQ(blocks.size(), 3u) << text;
  EXPECT_EQ(blocks[0], AlphaPng(16));
  EXPECT_EQ(blocks[1], AlphaIco(16));
  EXPECT_TRUE(blocks[2].empty());
  // Only the items carry binary data: no image of the platform list.
  size_t braces = 0;
  for (size_t at = text.find(" = {"); at != std::string::npos; at = text.find(" = {", at + 1))
    ++braces;
  EXPECT_EQ(braces, 3u) << text;
  EXPECT_EQ(text.find("Bitmap"), std::string::npos) << text;
  EXPECT_NE(text.find("ImageFormat = ifICO"), std::string::npos) << text;

  // An empty file would not decode when the list is read: read without it.
  list->Items()->Delete(2);
  const std::string readable = WriteComponentToText(root_);
  ReadComponentFromText(read_, readable);
  auto* back = dynamic_cast<TsAlphaImageList*>(read_->FindComponent("Images"));
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->Items()->Count(), 2);
  EXPECT_EQ(back->Count(), 2);
  EXPECT_EQ(StreamBytes(back->Items()->Items(0)->ImgData()), AlphaPng(16));
  EXPECT_EQ(back->Items()->Items(0)->ImageName, "first");
  EXPECT_EQ(back->Items()->Items(1)->ImageFormat, ifICO);
  EXPECT_EQ(WriteComponentToText(read_), readable);
}

TEST_F(StreamingTest, AListReadWithoutASizeRecords16By16AndBuildsOnce) {
  auto* list = New<TsAlphaImageList>(root_);
  list->SetName("Images");
  AddFile(list, AlphaPng(16));
  AddFile(list, AlphaPng(32));
  const std::string text = WriteComponentToText(root_);
  ASSERT_EQ(text.find("Width"), std::string::npos) << text;

  ReadComponentFromText(read_, text);
  auto* back = dynamic_cast<TsAlphaImageList*>(read_->FindComponent("Images"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->StoredWidth(), 16);
  EXPECT_EQ(back->StoredHeight(), 16);
  EXPECT_TRUE(back->ImagesGenerated());
  EXPECT_FALSE(back->Updating());
  EXPECT_EQ(back->Count(), 2) << "one image per file";
  EXPECT_EQ(back->Items()->Items(1)->OrigWidth, 32);
}

TEST_F(StreamingTest, AnExplicitSizeIsStoredUnscaled) {
  auto* list = New<TsAlphaImageList>(root_);
  list->SetName("Images");
  list->SetWidth(40);
  list->SetHeight(24);
  AddFile(list, AlphaPng(32));
  list->GenerateImages();
  const std::string text = WriteComponentToText(root_);
  EXPECT_NE(text.find("Width = 40"), std::string::npos) << text;
  EXPECT_NE(text.find("Height = 24"), std::string::npos) << text;
  ReadComponentFromText(read_, text);
  auto* back = dynamic_cast<TsAlphaImageList*>(read_->FindComponent("Images"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->StoredWidth(), 40);
  EXPECT_EQ(back->StoredHeight(), 24);
  int w = 0, h = 0;
  ImageList_GetIconSize(back->Handle(), &w, &h);
  EXPECT_EQ(w, 40);
  EXPECT_EQ(h, 24);
  EXPECT_EQ(back->Count(), 1);
}

}  // namespace
