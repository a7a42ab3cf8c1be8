// The animated page switch: the change's first notice freezes the old look
// under a cover, the second fades the new look in over it; a refused change
// drops the cover, and a switch without time shows the new page at once.
// Whatever happens, no cover and no tab fade outlive the switch, and the
// control paints again.
#include <windows.h>

#include <string>

#include "skin/engine/anim_timer.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/window_animations.h"
#include "skinned_pages.h"

namespace {

// What the control looks like while the platform asks and tells.
struct SwitchLog {
  TsPageControl* Pages = nullptr;
  bool Refuse = false;
  int Asked = 0, Told = 0;
  bool CoverWhenAsked = false, UpdatingWhenAsked = false, CoverWhenTold = false;
  void Changing(TObject*, bool& Allow) {
    ++Asked;
    CoverWhenAsked = TransitionCover() != nullptr;
    UpdatingWhenAsked = Pages->SkinData()->Updating;
    Allow = !Refuse;
  }
  void Change(TObject*) {
    ++Told;
    CoverWhenTold = TransitionCover() != nullptr;
  }
};

using SwitchingPages = SkinnedPages;

TEST_F(SwitchingPages, TheCoverLivesFromTheQuestionToTheEndOfTheFadeOnly) {
  const struct {
    const char* Name;
    bool Animated;  // the manager's page-change animation
    int Time;
    bool Refuse;
  } cases[] = {
      {"faded", true, 60, false},
      {"no time: at once", true, 0, false},
      {"refused", true, 60, true},
      {"not animated", false, 60, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    PageFixture::SetUp();
    Sheets.clear();
    Skin(test_skin::kSoundVariant, {"Alpha", "Beta", "Gamma"});
    Manager->AnimEffects()->PageChange()->SetActive(c.Animated);
    Manager->AnimEffects()->PageChange()->SetTime(uint16_t(c.Time));
    SwitchLog log;
    log.Pages = Pages;
    log.Refuse = c.Refuse;
    Pages->OnChanging = TTabChangingEvent::Of<&SwitchLog::Changing>(&log);
    Pages->OnChange = TNotifyEvent::Of<&SwitchLog::Change>(&log);
    // The mouse comes over the tab first: its hover fade is under way.
    const TPoint tab = Centre(Pages->PageTabRect(1));
    SendMessageA(Pages->Handle(), WM_MOUSEMOVE, 0, At(tab));
    ASSERT_NE(Sheets[1]->FadeTimer, nullptr);
    SendMessageA(Pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(tab));
    SendMessageA(Pages->Handle(), WM_LBUTTONUP, 0, At(tab));
    ASSERT_EQ(log.Asked, 1);
    EXPECT_EQ(log.CoverWhenAsked, c.Animated);
    EXPECT_EQ(log.UpdatingWhenAsked, c.Animated);
    EXPECT_EQ(log.Told, c.Refuse ? 0 : 1);
    if (!c.Refuse) {
      EXPECT_EQ(log.CoverWhenTold, c.Animated);
    }
    EXPECT_EQ(ActiveCaption(), c.Refuse ? "Alpha" : "Beta");

    EXPECT_EQ(TransitionCover(), nullptr);
    EXPECT_FALSE(GlobalAnimationActive);
    EXPECT_FALSE(Pages->SkinData()->Updating);
    EXPECT_TRUE(IsWindowVisible(Pages->Handle())) << "painting is on again";
    // The animated switch drops the fades of the old tab geometry.
    if (c.Animated && !c.Refuse) {
      for (TsTabSheet* s : Sheets) EXPECT_EQ(s->FadeTimer, nullptr);
    }
    // Once any fade left has run out, the control shows the page it holds.
    const DWORD end = GetTickCount() + 3000;
    const auto fading = [this] {
      for (TsTabSheet* s : Sheets)
        if (s->FadeTimer && s->FadeTimer->Enabled()) return true;
      return false;
    };
    while (fading() && static_cast<int>(end - GetTickCount()) > 0) {
      PumpMessages();
      Sleep(5);
    }
    ASSERT_FALSE(fading());
    RedrawWindow(Pages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const int active = c.Refuse ? 0 : 1;
    EXPECT_EQ(TabPixel(active), Face("TABTOP", 2));
  }
}

}  // namespace
