// The track bar painted from the generated test skin, loaded through the
// real SkinName: every expectation comes from the skin's manifest.
#include <optional>
#include <utility>

#include "skin/engine/common_messages.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "started_skin_manager.h"
#include "trackbar_fixture.h"

namespace {

using namespace test_skin;

class SkinnedTrackBar : public TrackBarFixture {
 protected:
  void SetUp() override {
    skin_.emplace("trackbar", Variant(), "Tessera");
    Manifest = skin_->Manifest();
    TrackBarFixture::SetUp();
    Manager = StartSkinManager(Form, *skin_);
    PumpMessages();
  }
  void TearDown() override {
    TrackBarFixture::TearDown();
    skin_.reset();
  }
  virtual std::string Variant() const { return kSoundVariant; }

  TestSkinManifest Manifest;
  TsSkinManager* Manager = nullptr;

 private:
  std::optional<TempTestSkin> skin_;
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
  const TRect t = Bar->ThumbRect();
  const LPARAM thumb = MAKELPARAM((t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2);
  for (bool before : {true, false})
    for (UINT lost : {UINT(WM_CAPTURECHANGED), UINT(WM_CANCELMODE)}) {
      Application->SetShowHint(before);
      SendMessageA(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, thumb);
      EXPECT_FALSE(Application->ShowHint()) << lost;
      SendMessageA(Bar->Handle(), lost, 0, 0);
      EXPECT_EQ(Application->ShowHint(), before) << lost;
      EXPECT_FALSE(HintsSuspended) << lost;
      ReleaseCapture();
      PumpMessages();
    }
  Application->SetShowHint(true);
}

// A library user without an application object: a drag has no hints to
// hold and leaves nothing suspended.
TEST_F(SkinnedTrackBar, DragWithoutAnApplicationHoldsNoHints) {
  const TRect t = Bar->ThumbRect();
  TApplication* app = std::exchange(Application, nullptr);
  SendMessageA(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM((t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2));
  const bool suspended = HintsSuspended;
  SendMessageA(Bar->Handle(), WM_CANCELMODE, 0, 0);
  Application = app;
  ReleaseCapture();
  PumpMessages();
  EXPECT_FALSE(suspended);
  EXPECT_FALSE(HintsSuspended);
  EXPECT_TRUE(Application->ShowHint());
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
