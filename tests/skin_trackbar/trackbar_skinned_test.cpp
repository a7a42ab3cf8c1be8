// The track bar painted from the generated test skin, loaded through the
// real SkinName: every expectation comes from the skin's manifest.
#include <filesystem>

#include "skin/engine/common_messages.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "test_skin.h"
#include "trackbar_fixture.h"

namespace {

using namespace test_skin;

class SkinnedTrackBar : public TrackBarFixture {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir_ = std::filesystem::path(tmp) / ("trackbar" + std::to_string(GetCurrentProcessId()));
    Manifest = WriteTestSkin(dir_ / "Tessera", Variant());
    TrackBarFixture::SetUp();
    Manager = New<TsSkinManager>(Form);
    Manager->SetSkinDirectory(dir_.string());
    Manager->SetSkinName("Tessera");
    Manager->SetActive(true);
    PumpMessages();
  }
  void TearDown() override {
    TrackBarFixture::TearDown();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  virtual std::string Variant() const { return kSoundVariant; }

  TestSkinManifest Manifest;
  TsSkinManager* Manager = nullptr;

 private:
  std::filesystem::path dir_;
};

TEST_F(SkinnedTrackBar, TakesTheTrackBarSectionAndItsImages) {
  ASSERT_TRUE(Bar->SkinData()->Skinned());
  EXPECT_EQ(Bar->SkinData()->SkinIndex, Manifest.SectionIndex("TRACKBAR"));
  EXPECT_EQ(Bar->ThumbMask(), Manifest.ImageIndex("TRACKBAR", "SLIDERMASK"));
  EXPECT_EQ(Bar->ChannelMask(), Manifest.ImageIndex("TRACKBAR", "SLIDERCHANNEL"));
  EXPECT_EQ(Bar->TickMask(), Manifest.ImageIndex("TRACKBAR", "TICKHORZ"));
  EXPECT_EQ(Bar->ProgressMask(), Manifest.ImageIndex("TRACKBAR", "PROGHORZ"));
}

TEST_F(SkinnedTrackBar, HintsComeBackWhenTheReleaseNeverArrives) {
  for (UINT lost : {UINT(WM_CAPTURECHANGED), UINT(WM_CANCELMODE)}) {
    SetApplicationShowHint(true);
    const TRect t = Bar->ThumbRect();
    SendMessageA(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2));
    EXPECT_FALSE(ApplicationShowHint()) << lost;
    SendMessageA(Bar->Handle(), lost, 0, 0);
    EXPECT_TRUE(ApplicationShowHint()) << lost;
    EXPECT_FALSE(HintsSuspended) << lost;
    ReleaseCapture();
    PumpMessages();
  }
}

TEST_F(SkinnedTrackBar, RemovingTheSkinGivesThePlainLookBack) {
  Bar->PrepareCache();
  Manager->SetActive(false);
  PumpMessages();
  EXPECT_FALSE(Bar->SkinData()->Skinned());
  EXPECT_EQ(Bar->ThumbMask(), -1);
  EXPECT_TRUE(Bar->HandleAllocated());
}

}  // namespace
