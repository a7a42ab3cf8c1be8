// The skinned track bar's hover and press fades with the generated test
// skin: whatever arrives while a fade runs, the bar ends on the look of its
// state when everything has settled.
#include <optional>

#include "skin/engine/anim_timer.h"
#include "skin/engine/skin_manager.h"
#include "started_skin_manager.h"
#include "trackbar_fixture.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

using namespace test_skin;

class TrackBarFade : public TrackBarFixture {
 protected:
  void SetUp() override {
    skin_.emplace("trackfade", "glow-off", "Tessera");
    TrackBarFixture::SetUp();
    Manager = StartSkinManager(Form, *skin_);
    // The focus elsewhere: a focused bar shows its hot state whatever the mouse does.
    Other = New<TsTrackBar>(Form);
    Other->SetBounds(10, 100, 137, 37);
    Other->SetParent(Form);
    PumpMessages();
    Other->SetFocus();
    PumpMessages();
  }
  void TearDown() override {
    TrackBarFixture::TearDown();
    skin_.reset();
  }
  // Runs the message loop until the bar's animation has ended (bounded).
  void Settle() {
    const DWORD start = GetTickCount();
    do {
      PumpMessages();
      Sleep(5);
    } while (Bar->SkinData()->AnimationRunning() && GetTickCount() - start < 3000);
    PumpMessages();
  }
  // What the window shows at the thumb's centre, and what the bar paints
  // there in its state now.
  std::pair<uint32_t, uint32_t> ShownAndDue() {
    const TRect t = Bar->ThumbRect();
    const int x = (t.Left + t.Right) / 2, y = (t.Top + t.Bottom) / 2 - 4;
    TWindowDC dc(Bar->Handle(), GetWindowDC(Bar->Handle()));
    const COLORREF c = GetPixel(dc.Get(), x, y);
    const uint32_t shown = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    Bar->PrepareCache();
    return {shown, CachePixel(Bar, x, y)};
  }
  TsSkinManager* Manager = nullptr;
  TsTrackBar* Other = nullptr;

 private:
  std::optional<TempTestSkin> skin_;
};

TEST_F(TrackBarFade, EndsOnTheLookOfTheStateItSettlesIn) {
  ASSERT_TRUE(Bar->SkinData()->Skinned());
  const TRect t = Bar->ThumbRect();
  const LPARAM onThumb = MAKELPARAM((t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2);
  struct Step {
    const char* what;
    void (*act)(TsTrackBar*, LPARAM);
    bool settleFirst;  // let the previous fade end before this step
  } steps[] = {
      {"enter", [](TsTrackBar* b, LPARAM) { b->Perform(CM_MOUSEENTER); }, true},
      {"leave after the fade", [](TsTrackBar* b, LPARAM) { b->Perform(CM_MOUSELEAVE); }, true},
      {"enter again", [](TsTrackBar* b, LPARAM) { b->Perform(CM_MOUSEENTER); }, true},
      {"leave while entering fades", [](TsTrackBar* b, LPARAM) { b->Perform(CM_MOUSELEAVE); },
       false},
      {"enter once more", [](TsTrackBar* b, LPARAM) { b->Perform(CM_MOUSEENTER); }, true},
      {"press while entering fades",
       [](TsTrackBar* b, LPARAM p) { SendMessageA(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, p); },
       false},
      {"release", [](TsTrackBar* b, LPARAM p) { SendMessageA(b->Handle(), WM_LBUTTONUP, 0, p); },
       true},
      {"leave while releasing fades", [](TsTrackBar* b, LPARAM) { b->Perform(CM_MOUSELEAVE); },
       false},
  };
  for (const Step& s : steps) {
    if (s.settleFirst) Settle();
    s.act(Bar, onThumb);
    Settle();
    const auto [shown, due] = ShownAndDue();
    EXPECT_EQ(shown, due) << s.what;
  }
  ReleaseCapture();
}

}  // namespace
