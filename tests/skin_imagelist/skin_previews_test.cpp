// The skin manager's preview list: each skin whose archive holds a preview
// picture points at its image, skins without one (or with one that does not
// decode) at none, and the list keeps its size whatever the DPI level.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "archive_writer.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_loading.h"
#include "skin/engine/skin_manager.h"
#include "skin/controls/alpha_image_list.h"
#include "skin/engine/stored_skins.h"
#include "tests/skin_imagelist/image_files.h"
#include "widgets/rtl/streams.h"

namespace {

class TempDir {
 public:
  TempDir() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + "imglist" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempDir() {
    for (const std::string& f : files_) DeleteFileA(f.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  void Write(const std::string& Name, const Bytes& Data) {
    files_.push_back(path_ + "\\" + Name);
    TFileStream f(files_.back(), fmCreate);
    f.WriteBuffer(Data.data(), static_cast<int32_t>(Data.size()));
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

Bytes ArchiveWithPreview(const std::optional<Bytes>& Preview) {
  test_skin::ArchiveOptions options;
  options.Preview = Preview;
  return test_skin::WriteArchive({}, options);
}

class PreviewsTest : public testing::Test {
 protected:
  void SetUp() override {
    manager_ = New<TsSkinManager>(nullptr);
    manager_->SetActive(false);
  }
  void TearDown() override { TObject::Free(manager_); }
  TsAlphaImageList* Images() const {
    return dynamic_cast<TsAlphaImageList*>(manager_->ListController->Images);
  }
  int PreviewOf(const std::string& Name) const {
    for (const TvlSkinListData& e : manager_->ListController->Entries)
      if (e.Name == Name) return e.PreviewIndex;
    ADD_FAILURE() << Name << " is not listed";
    return -2;
  }
  TsSkinManager* manager_ = nullptr;
};

TEST_F(PreviewsTest, ThePreviewListBelongsToTheManagerAndKeepsItsSize) {
  TsAlphaImageList* images = Images();
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->Owner(), manager_);
  EXPECT_TRUE(images->KeepItems());
  EXPECT_FALSE(images->AllowScale());
  EXPECT_EQ(images->StoredWidth(), 140);
  EXPECT_EQ(images->StoredHeight(), 100);
  manager_->Options()->SetScaleMode(sm200);
  TMemoryStream png;
  const Bytes file = AlphaPng(16);
  png.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
  images->Handle();
  ASSERT_TRUE(AddImageFromStream(images, png));
  EXPECT_EQ(images->Width(), 140);
  EXPECT_EQ(images->Height(), 100);
  manager_->Options()->SetScaleMode(smOldMode);
}

TEST_F(PreviewsTest, EverySkinWithADecodablePreviewPointsAtItsImage) {
  TempDir dir;
  dir.Write("Alpha.qmz", ArchiveWithPreview(AlphaPng(16)));
  dir.Write("Broken.qmz", ArchiveWithPreview(NotAnImage()));
  dir.Write("Plain.qmz", ArchiveWithPreview(std::nullopt));
  auto* stored = static_cast<TsStoredSkin*>(manager_->InternalSkins()->Add());
  stored->Name = "Stored";
  const Bytes packed = ArchiveWithPreview(AlphaPng(32));
  stored->PackedData()->WriteBuffer(packed.data(), static_cast<int32_t>(packed.size()));
  manager_->SetSkinDirectory(dir.Path());  // rebuilds the list

  EXPECT_EQ(PreviewOf("Stored"), 0);
  EXPECT_EQ(PreviewOf("Broken"), -1);
  EXPECT_EQ(PreviewOf("Plain"), -1);
  const int alpha = PreviewOf("Alpha");
  EXPECT_EQ(alpha, 1);
  TsAlphaImageList* images = Images();
  ASSERT_EQ(images->Items()->Count(), 2);
  EXPECT_EQ(images->Count(), 2);
  EXPECT_EQ(StreamBytes(images->Items()->Items(0)->ImgData()), AlphaPng(32));
  EXPECT_EQ(StreamBytes(images->Items()->Items(1)->ImgData()), AlphaPng(16));

  // A rebuild starts the list afresh.
  manager_->ListController->Rebuild();
  EXPECT_EQ(images->Items()->Count(), 2);
  EXPECT_EQ(images->Count(), 2);
}

}  // namespace
