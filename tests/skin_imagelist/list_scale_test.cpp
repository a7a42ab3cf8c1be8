// Sizes: the stored (unscaled) size, the platform list built at the default
// manager's DPI level, rebuilt when the level moves, and kept by lists that
// cannot scale.
#include <gtest/gtest.h>

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "tests/skin_imagelist/list_fixture.h"

namespace {

class ScaleTest : public ListTest {
 protected:
  void SetUp() override {
    manager_ = New<TsSkinManager>(nullptr);
    manager_->SetActive(false);
    ASSERT_EQ(DefaultManager, manager_);
  }
  void TearDown() override {
    ListTest::TearDown();
    TObject::Free(manager_);
  }
  TsSkinManager* manager_ = nullptr;
};

TEST_F(ScaleTest, ThePlatformListIsBuiltAtTheDefaultManagersLevel) {
  const struct {
    TvlScaleMode mode;
    int applied, width;
  } cases[] = {
      {sm100, 0, 16},  {sm125, 0, 20},  {sm150, 0, 24},     {sm200, 0, 32},
      {smAuto, 3, 32}, {smAuto, 1, 20}, {smOldMode, 3, 16},
  };
  for (const auto& c : cases) {
    manager_->AppliedDpiLevel = c.applied;
    manager_->Options()->SetScaleMode(c.mode);
    TsAlphaImageList* list = ListOf({AlphaPng(16), AlphaPng(32)});
    EXPECT_EQ(IconWidth(list), c.width) << c.mode << "/" << c.applied;
    EXPECT_EQ(list->Width(), c.width) << c.mode << "/" << c.applied;
    EXPECT_EQ(list->StoredWidth(), 16);
    EXPECT_EQ(list->StoredHeight(), 16);
    EXPECT_EQ(list->Count(), 2);
    manager_->Options()->SetScaleMode(smOldMode);
  }
}

TEST_F(ScaleTest, ALevelChangeRebuildsTheListsThroughTheManagerOrWhenTheSizeIsAsked) {
  TsAlphaImageList* list = ListOf({AlphaPng(16)});
  ASSERT_EQ(IconWidth(list), 16);
  // The scale mode's setter rescales every list at once.
  manager_->Options()->SetScaleMode(sm150);
  EXPECT_EQ(IconWidth(list), 24);
  EXPECT_EQ(list->ScaleIndex(), 2);
  manager_->Options()->SetScaleMode(sm100);
  EXPECT_EQ(IconWidth(list), 16);

  // A level that moved without the setter is caught up by the size getters.
  manager_->Options()->SetScaleMode(smAuto);
  manager_->AppliedDpiLevel = 3;
  EXPECT_EQ(IconWidth(list), 16);
  EXPECT_EQ(list->Height(), 32);
  EXPECT_EQ(IconWidth(list), 32);
  EXPECT_EQ(list->Count(), 1);
  manager_->Options()->SetScaleMode(smOldMode);
}

TEST_F(ScaleTest, ListsWithoutFilesOrWithoutScalingKeepTheirSize) {
  TsAlphaImageList* cleared = ListOf({AlphaPng(16)});
  cleared->ClearAll();
  TsAlphaImageList* fixed = NewList();
  fixed->SetAllowScale(false);
  AddFile(fixed, AlphaPng(16));
  fixed->GenerateImages();
  manager_->Options()->SetScaleMode(sm200);
  for (TsAlphaImageList* list : {cleared, fixed}) {
    EXPECT_FALSE(list->CanScale());
    EXPECT_EQ(list->Width(), 16);
    EXPECT_EQ(IconWidth(list), 16);
  }
  EXPECT_EQ(fixed->Count(), 1);
  manager_->Options()->SetScaleMode(smOldMode);
}

TEST_F(ScaleTest, AnAssignedListTakesTheStoredSizeNotTheScaledOne) {
  manager_->Options()->SetScaleMode(sm150);
  TsAlphaImageList* source = ListOf({AlphaPng(16), AlphaPng(32)});
  ASSERT_EQ(IconWidth(source), 24);
  TsAlphaImageList* copy = NewList();
  copy->Assign(source);
  EXPECT_EQ(copy->StoredWidth(), 16);
  EXPECT_EQ(copy->StoredHeight(), 16);
  EXPECT_EQ(IconWidth(copy), 24);
  EXPECT_EQ(copy->Count(), 2);
  ASSERT_EQ(copy->Items()->Count(), 2);
  EXPECT_EQ(StreamBytes(copy->Items()->Items(1)->ImgData()), AlphaPng(32));
  EXPECT_FALSE(copy->Updating());
  manager_->Options()->SetScaleMode(smOldMode);
}

TEST(ScaleWithoutManager, ThereIsNoScalingWithoutADefaultManager) {
  ASSERT_EQ(DefaultManager, nullptr);
  auto* list = New<TsAlphaImageList>(nullptr);
  AddFile(list, AlphaPng(16));
  list->GenerateImages();
  EXPECT_FALSE(list->CanScale());
  EXPECT_EQ(list->Width(), 16);
  TObject::Free(list);
}

}  // namespace
