// Faults the track bar must not have: a selection on a range of one value,
// ticks left out by their number instead of their value, and hints left off
// when the bar goes while its button is down.
#include <windows.h>

#include <commctrl.h>

#include "skin/engine/common_messages.h"
#include "skinned_scene.h"

namespace {

using namespace test_skin;

std::vector<uint32_t> CachePixels(TsTrackBar* Bar) {
  const PixelView v = ArgbView(Bar->SkinData()->CacheBitmap);
  std::vector<uint32_t> out;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) out.push_back(v.At(x, y) & 0xFFFFFF);
  return out;
}

// Min = Max leaves nothing to place the selection's marks on: none are
// painted, skinned and plain, where a division by the range would fail.
// (The selection's ends are no tick's value, so every tick stays.)
TEST(TrackBarFaults, ASelectionOnARangeOfOneValuePaintsNoMarks) {
  for (const char* variant : {kSoundVariant, "no-trackbar"})
    for (bool vertical : {false, true}) {
      SCOPED_TRACE(std::string(variant) + (vertical ? " vertical" : " horizontal"));
      TSkinnedScene s(variant, vertical);
      s.Bar->SetMax(4);
      s.Bar->SetMin(4);
      ASSERT_EQ(s.Bar->Min(), s.Bar->Max());
      s.Bar->PrepareCache();
      const std::vector<uint32_t> plain = CachePixels(s.Bar);
      s.Bar->SetSelStart(2);
      s.Bar->SetSelEnd(6);
      s.Bar->PrepareCache();
      EXPECT_TRUE(CachePixels(s.Bar) == plain);
    }
}

// Ticks at 0, 3, ..., 18 and 20: the selection 6..12 hides the ticks of the
// values 6 and 12 (numbers 2 and 4). Because the last step is shorter, the
// ticks do not lie where the values 6 and 12 fall along the channel.
TEST(TrackBarFaults, TicksAtTheSelectionsValuesAreLeftOut) {
  const std::vector<int> values = {0, 3, 6, 9, 12, 15, 18, 20};
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    TSkinnedScene s(kSoundVariant, vertical);
    s.Bar->SetMax(20);
    s.Bar->SetFrequency(3);
    s.Bar->SetPosition(20);  // the thumb at the end, clear of the ticks it checks
    s.Bar->SetSelStart(6);
    s.Bar->SetSelEnd(12);
    s.Bar->PrepareCache();
    const std::vector<int> ticks = s.Bar->TickPositions();
    ASSERT_EQ(ticks.size(), values.size());
    const uint32_t tick = SkinPixel(s.Manifest, vertical ? "TRACKBAR/TICKVERT frame 0 centre"
                                                         : "TRACKBAR/TICKHORZ frame 0 centre");
    for (size_t i = 0; i + 1 < ticks.size(); ++i) {
      const TPoint c = TickImageCentre(s, ticks[i]);
      const bool hidden = values[i] == 6 || values[i] == 12;
      EXPECT_EQ(s.Pixel(c.X, c.Y) == tick, !hidden) << "tick of value " << values[i];
    }
  }
}

// The hints the press switched off come back however the bar goes.
TEST(TrackBarFaults, HintsComeBackWhenTheBarGoesWhileItsButtonIsDown) {
  const struct {
    const char* how;
    void (*end)(TSkinnedScene&);
  } cases[] = {
      {"freed", [](TSkinnedScene& s) { TObject::Free(s.Bar); }},
      {"its window re-created without the skin",
       [](TSkinnedScene& s) {
         s.Manager->SetActive(false);
         PumpMessages();
       }},
      {"its form freed",
       [](TSkinnedScene& s) {
         TObject::Free(s.Form);
         s.Form = nullptr;
       }},
  };
  for (const auto& c : cases)
    for (bool vertical : {false, true}) {
      SCOPED_TRACE(std::string(c.how) + (vertical ? " vertical" : " horizontal"));
      TSkinnedScene s(kSoundVariant, vertical);
      Application->SetShowHint(true);
      const TPoint t = ThumbCentre(s);
      SendMessageA(s.Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(t.X, t.Y));
      ASSERT_FALSE(Application->ShowHint());
      ASSERT_TRUE(HintsSuspended);
      c.end(s);
      EXPECT_TRUE(Application->ShowHint());
      EXPECT_FALSE(HintsSuspended);
      ReleaseCapture();
    }
}

}  // namespace
