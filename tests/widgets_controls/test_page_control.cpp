// The page control's tab settings: window styles by position and style, the
// fixed tab size, the image list and the sheets' images, owner-drawn tabs
// and the sheets' accelerators.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "fixture.h"
#include "widgets/controls/comctrls.h"
#include "widgets/graphics/img_list.h"

namespace {

struct DrawRecorder {
  struct Call {
    int Tab;
    TRect Rect;
    bool Active;
  };
  std::vector<Call> Calls;
  void Draw(TCustomTabControl*, int Tab, const TRect& R, bool Active) {
    Calls.push_back({Tab, R, Active});
  }
};

struct ChangeCounter {
  int Count = 0;
  void Hit(TObject*) { ++Count; }
};

class PageControlTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    Form->SetBounds(50, 50, 400, 300);
    Pages = New<TPageControl>(Form);
    Pages->SetParent(Form);
    Pages->SetBounds(8, 8, 360, 240);
    for (const char* caption : {"&Mixer", "E&ffects", "&Output"}) {
      auto* s = New<TTabSheet>(Form);
      s->SetPageControl(Pages);
      s->SetCaption(caption);
      Sheets.push_back(s);
    }
    Pages->SetActivePage(Sheets[0]);
    Form->Show();
    Pump();
  }
  DWORD Style() { return static_cast<DWORD>(GetWindowLongPtrA(Pages->Handle(), GWL_STYLE)); }
  TRect ItemRect(int Tab) {
    RECT r{};
    SendMessageA(Pages->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(Tab),
                 reinterpret_cast<LPARAM>(&r));
    return r;
  }
  TPageControl* Pages = nullptr;
  std::vector<TTabSheet*> Sheets;
};

TEST_F(PageControlTest, PositionStyleAndSwitchesBecomeWindowStyles) {
  const DWORD mask = TCS_BOTTOM | TCS_RIGHT | TCS_VERTICAL | TCS_BUTTONS | TCS_FLATBUTTONS |
                     TCS_HOTTRACK | TCS_OWNERDRAWFIXED | TCS_FIXEDWIDTH;
  struct Case {
    const char* Name;
    TTabPosition Position;
    TTabStyle Style;
    bool HotTrack, OwnerDraw;
    int TabWidth;
    DWORD Expected;
  } cases[] = {
      {"top tabs", tpTop, tsTabs, false, false, 0, 0},
      {"bottom", tpBottom, tsTabs, false, false, 0, TCS_BOTTOM},
      {"left", tpLeft, tsTabs, false, false, 0, TCS_VERTICAL},
      {"right", tpRight, tsTabs, false, false, 0, TCS_VERTICAL | TCS_RIGHT},
      {"buttons", tpTop, tsButtons, false, false, 0, TCS_BUTTONS},
      {"flat buttons", tpTop, tsFlatButtons, false, false, 0, TCS_BUTTONS | TCS_FLATBUTTONS},
      {"hot tracking", tpTop, tsTabs, true, false, 0, TCS_HOTTRACK},
      {"owner draw", tpTop, tsTabs, false, true, 0, TCS_OWNERDRAWFIXED},
      {"fixed width", tpBottom, tsTabs, false, false, 70, TCS_BOTTOM | TCS_FIXEDWIDTH},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Pages->SetTabPosition(c.Position);
    Pages->SetStyle(c.Style);
    Pages->SetHotTrack(c.HotTrack);
    Pages->SetOwnerDraw(c.OwnerDraw);
    Pages->SetTabWidth(c.TabWidth);
    Pump();
    EXPECT_EQ(Style() & mask, c.Expected);
    // A new window keeps its tabs and the active page.
    EXPECT_EQ(TabCtrl_GetItemCount(Pages->Handle()), 3);
    EXPECT_EQ(Pages->TabIndex(), 0);
  }
}

TEST_F(PageControlTest, TabSizeReachesTheTabs) {
  Pages->SetTabHeight(31);
  Pages->SetTabWidth(77);
  Pump();
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TRect r = ItemRect(i);
    EXPECT_EQ(r.Height(), 31);
    EXPECT_EQ(r.Width(), 77);
  }
  Pages->SetTabHeight(0);
  Pages->SetTabWidth(0);
  Pump();
  EXPECT_NE(ItemRect(0).Height(), 31) << "0 gives the platform's height back";
}

TEST_F(PageControlTest, ImagesAndSheetImageIndexes) {
  auto* images = New<TImageList>(Form);
  images->SetSize(16, 16);
  Sheets[1]->SetImageIndex(2);
  Pages->SetImages(images);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(Pages->Handle(), TCM_GETIMAGELIST, 0, 0)),
            images->Handle());
  const int expected[] = {-1, 2, -1};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    SendMessageA(Pages->Handle(), TCM_GETITEMA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, expected[i]);
  }
  // The list going away leaves the tabs without one.
  TObject::Free(images);
  EXPECT_EQ(Pages->Images(), nullptr);
  EXPECT_EQ(SendMessageA(Pages->Handle(), TCM_GETIMAGELIST, 0, 0), 0);
}

TEST_F(PageControlTest, OwnerDrawnTabsAskOnDrawTabWithTheActiveOne) {
  DrawRecorder rec;
  Pages->OnDrawTab = TDrawTabEvent::Of<&DrawRecorder::Draw>(&rec);
  Pages->SetOwnerDraw(true);
  Pages->SetActivePage(Sheets[2]);
  Pump();
  rec.Calls.clear();
  RedrawWindow(Pages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_EQ(rec.Calls.size(), 3u);
  for (const auto& call : rec.Calls) {
    SCOPED_TRACE(call.Tab);
    EXPECT_EQ(call.Active, call.Tab == 2);
    EXPECT_GT(call.Rect.Width(), 0);
  }
}

TEST_F(PageControlTest, AcceleratorsShowTheirSheet) {
  ChangeCounter changes;
  Pages->OnChange = TNotifyEvent::Of<&ChangeCounter::Hit>(&changes);
  Sheets[2]->SetTabVisible(false);
  struct Case {
    char Key;
    TTabSheet* Expected;
    int Changes;
    LRESULT Result;
  } cases[] = {
      {'F', Sheets[1], 1, 1}, {'f', Sheets[1], 1, 1},  // already there: answered, no change
      {'M', Sheets[0], 2, 1}, {'O', Sheets[0], 2, 0},  // its tab is hidden
      {'X', Sheets[0], 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Key);
    const LRESULT r = SendMessageA(Pages->Handle(), CM_DIALOGCHAR, static_cast<WPARAM>(c.Key), 0);
    EXPECT_EQ(r, c.Result);
    EXPECT_EQ(Pages->ActivePage(), c.Expected);
    EXPECT_EQ(Pages->TabIndex(), c.Expected->TabIndex());
    EXPECT_EQ(changes.Count, c.Changes);
  }
}

}  // namespace
