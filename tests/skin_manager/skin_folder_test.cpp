// Small folder skins written inline, for what the generated skin does not
// show by itself: image files shared between keys, one-pixel strips and
// frame widths at DPI level 2, and the form rescale of a scale-mode change.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_rescale.h"
#include "skin/foundation/argb_bitmap.h"
#include "tests/skin_manager/recording_form.h"
#include "tests/skin_manager/skin_files.h"
#include "widgets/rtl/string_lists.h"

namespace {

class SkinFolderTest : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    SkinnedFormsFixture::SetUp();
    previous_ = SetMessageBoxSink(&boxes_);
    manager_ = New<TsSkinManager>(nullptr);
    manager_->SetActive(false);
    manager_->SetSkinDirectory(dir_.Path());
  }
  void TearDown() override {
    // Unit-wide sizes follow the default manager's scale: put them back.
    manager_->Options()->SetScaleMode(smOldMode);
    TObject::Free(manager_);
    SetMessageBoxSink(previous_);
    SkinnedFormsFixture::TearDown();
  }
  // A skin "S" with a 4 x 4 master: column 0 red, the rest blue.
  void WriteSkin(const std::string& Description) {
    dir_.Folder("S");
    dir_.Bmp("S\\MASTER.BMP", 4, 4, [](int x, int) { return x == 0 ? 0xFF0000u : 0x0000FFu; });
    dir_.Bmp("S\\GLYPH.BMP", 6, 3, [](int, int) { return 0x00FF00u; });
    dir_.Text("S\\Options.dat", "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n" + Description);
  }
  void Load() {
    manager_->SetSkinName("S");
    manager_->SetActive(true);
    ASSERT_TRUE(manager_->Active());
    ASSERT_TRUE(boxes_.Texts.empty()) << boxes_.Texts[0];
  }
  const TsMaskData& Image(int Index) {
    EXPECT_GE(Index, 0);
    return manager_->Masks[static_cast<size_t>(std::max(Index, 0))];
  }

  TempFolder dir_;
  TBoxLog boxes_;
  TsSkinManager* manager_ = nullptr;

 private:
  TMessageBoxSink* previous_ = nullptr;
};

TEST_F(SkinFolderTest, KeysNamingOneFileShareOneEntry) {
  WriteSkin("[BUTTON]\nGLYPHMASK=!glyph.bmp!2!0!0\nOTHER=!GLYPH.BMP!1!0!2\n");
  Load();
  ASSERT_EQ(manager_->ExternalImages.size(), 1u);
  const TvlExtFileData& file = manager_->ExternalImages[0];
  EXPECT_EQ(file.FileName, "GLYPH.BMP");
  EXPECT_EQ(file.HasMaskHalf, 0);
  EXPECT_EQ(file.Bitmap->PixelFormat(), pf32bit);
  EXPECT_EQ(ArgbView(file.Bitmap).At(1, 1), 0xFF00FF00u);  // opaque once 32-bit
  // The two file images come first; the outer effects' masks follow.
  ASSERT_GE(manager_->Masks.size(), 2u);
  EXPECT_EQ(manager_->Masks[1].Key, "OTHER");
  EXPECT_EQ(manager_->Masks[0].Image, file.Bitmap);
  EXPECT_EQ(manager_->Masks[1].Image, file.Bitmap);
  EXPECT_EQ(manager_->Masks[0].FrameWidth, 3);
  // Another skin frees the shared bitmap once, with its entry.
  manager_->SetSkinName("S");
  EXPECT_EQ(manager_->ExternalImages.size(), 1u);
}

TEST_F(SkinFolderTest, CommonSectionImagesBelongToTheirSectionByName) {
  WriteSkin("[BUTTON]\nCOLOR=5\n");
  TStringList common;
  common.SetText("[EXTRA]\nPARENTCLASS=BUTTON\nICON=glyph.bmp\n");
  manager_->SetCommonSections(&common);
  Load();
  const int extra = FindSectionIndex(manager_, "EXTRA");
  ASSERT_GT(extra, 0);
  int found = -1;
  for (size_t i = 0; i < manager_->Masks.size(); ++i)
    if (manager_->Masks[i].Key == "ICON") found = static_cast<int>(i);
  const TsMaskData& icon = Image(found);
  EXPECT_EQ(icon.Section, "EXTRA");
  EXPECT_EQ(icon.SectionIndex, extra);
  ASSERT_NE(icon.Image, nullptr);
  EXPECT_FALSE(manager_->IsExternalBitmap(icon.Image));  // its own, freed with the image
  EXPECT_EQ(icon.SourceRect.right, 6);
}

TEST_F(SkinFolderTest, AtDpiLevelTwoStripsAreRepeatedAndFramesTakeTheirWidthFromTheRectangle) {
  WriteSkin(
      "BOXUNCHECKED=@0000 0000 0001 0004 1 0\n"  // the red column, one pixel wide
      "RADIOCHECKED=@0000 0000 0004 0002 2 0\n");
  manager_->Options()->SetScaleMode(sm150);
  Load();
  const TsMaskData& strip = Image(manager_->ConstData.CheckBoxes[0]);
  ASSERT_NE(strip.Image, nullptr);
  EXPECT_EQ(strip.MaskCount, 1);
  EXPECT_EQ(strip.SourceRect.right, 1);
  EXPECT_EQ(strip.SourceRect.bottom, 12);  // 2 x (4 + 4 div 2)
  const PixelView v = ArgbView(strip.Image);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(v.At(0, y), 0xFFFF0000u) << y;  // picture kept
  for (int y = 6; y < 12; ++y) EXPECT_EQ(v.At(0, y), 0u) << y;          // empty mask
  const TsMaskData& radio = Image(manager_->ConstData.RadioButtons[1]);
  EXPECT_EQ(radio.FrameCount, 2);
  EXPECT_EQ(radio.FrameWidth, 3);  // 2 x 150 % of 2 pixels per frame
  EXPECT_EQ(radio.SourceRect.right, 6);
  EXPECT_EQ(radio.FrameHeight, 3);
}

TEST_F(SkinFolderTest, AScaleModeChangeFreezesRescalesAndThawsTheSkinnedForms) {
  WriteSkin("");
  Load();
  TRecordingForm* form = Form("A", true);
  ASSERT_EQ(form->Width(), 200);
  FormLog().clear();
  manager_->Options()->SetScaleMode(sm150);
  EXPECT_EQ(form->Width(), 300);
  EXPECT_EQ(form->Height(), 180);
  const auto& log = FormLog();
  const auto freeze = std::find(log.begin(), log.end(), "A:redraw0");
  const auto thaw = std::find(log.begin(), log.end(), "A:redraw1");
  ASSERT_NE(freeze, log.end());
  ASSERT_NE(thaw, log.end());
  EXPECT_LT(freeze, thaw);
  TsSkinProvider* provider = ProviderOf(form);
  EXPECT_EQ(provider->StateFlags(), 0u);
  EXPECT_TRUE(provider->SkinData->BgChanged);
  // A control already at the target scale is left as it is.
  RescaleControl(manager_, form, 150);
  EXPECT_EQ(form->Width(), 300);
}

}  // namespace
