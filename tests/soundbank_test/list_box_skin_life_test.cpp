// The skinned list box's border adapter through its life: the skin going
// and coming back at run time, the window made again, destroyed, and the
// form freed, all with freed adapters poisoned so that a late use of one
// shows.
#include "list_box_skin_scene.h"
#include "skin/foundation/skin_commands.h"

namespace {

using namespace list_box_scene;

class SkinnedListBoxLife : public Scene {
 protected:
  static bool Adapted(TsCustomListBox* box) { return GetPropA(box->Handle(), "VLSBSC") != nullptr; }
  // The face of item 1, which is selected.
  static COLORREF SelectedFace(TsCustomListBox* box) {
    Repaint(box);
    const TRect item = ItemRect(box, 1);
    return CaptureClient(box->Handle()).At(item.Right - 10, item.Top + item.Height() / 2);
  }
  // The adapter is the window's, and the skin paints the selection.
  void ExpectSkinned(TsCustomListBox* box) {
    EXPECT_TRUE(Adapted(box));
    ASSERT_NE(box->Adapter(), nullptr);
    EXPECT_EQ(box->Adapter()->WindowHandle, box->Handle());
    EXPECT_TRUE(Near(SelectedFace(box), FromTColor(manifest_.Palette[8]), 2));
  }
};

TEST_F(SkinnedListBoxLife, SkinOffAndOnAgainTakesAndGivesBackTheAdapterAndTheLook) {
  Start(test_skin::kSoundVariant);
  auto* box = AddBox(24);
  box->SetItemIndex(1);
  ExpectSkinned(box);
  ASSERT_NE(FromTColor(manifest_.Palette[8]), ColorToRGB(clHighlight));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    // Off: the adapter frees itself from inside its own procedure.
    manager_->SetActive(false);
    Pump();
    EXPECT_FALSE(Adapted(box));
    EXPECT_EQ(box->Adapter(), nullptr);
    EXPECT_EQ(SelectedFace(box), ColorToRGB(clHighlight));
    // The frame is the system's again, in the window's visual style.
    auto* plain = AddBox(24, 200, 10);
    Repaint(plain);
    for (const POINT p : {POINT{5, 0}, POINT{1, 5}, POINT{5, 1}})
      EXPECT_EQ(WindowPixel(box->Handle(), p.x, p.y), WindowPixel(plain->Handle(), p.x, p.y))
          << p.x << "," << p.y;
    TObject::Free(plain);
    manager_->SetActive(true);
    Pump();
    ExpectSkinned(box);
  }
  // A refresh replaces or keeps the adapter from inside its own procedure.
  SendMessageA(box->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdRefresh),
               reinterpret_cast<LPARAM>(manager_));
  Pump();
  ExpectSkinned(box);
}

// AutoHideScroll is read when the window is made: each change makes a new
// window, whose adapter replaces the one released with the old window.
TEST_F(SkinnedListBoxLife, AutoHideScrollToggledWhileSkinnedRemakesWindowAndAdapter) {
  Start(test_skin::kSoundVariant);
  auto* box = AddBox(3);
  box->SetItemIndex(1);
  const int wholeWidth = box->ClientWidth();
  for (const bool hide : {false, true, false}) {
    SCOPED_TRACE(hide);
    const HWND old = box->Handle();
    box->SetAutoHideScroll(hide);
    box->HandleNeeded();
    Pump();
    EXPECT_NE(box->Handle(), old);
    EXPECT_FALSE(IsWindow(old));
    const bool keepsBar = (GetWindowLongPtrA(box->Handle(), GWL_STYLE) & LBS_DISABLENOSCROLL) != 0;
    EXPECT_EQ(keepsBar, !hide);
    // Three items need no bar: only the kept, disabled bar narrows the client.
    EXPECT_EQ(box->ClientWidth() < wholeWidth, !hide);
    EXPECT_EQ(box->Items()->Count(), 3);
    box->SetItemIndex(1);
    ExpectSkinned(box);
  }
}

TEST_F(SkinnedListBoxLife, WindowDestroyedWithItsAdapterAndFormFreedWhileSkinned) {
  Start(test_skin::kSoundVariant);
  auto* box = AddBox(24);
  ASSERT_TRUE(Adapted(box));
  // The window goes with the adapter on it: the adapter lets go of the
  // window and waits, released, for the next window, which gets a new one.
  box->DestroyHandle();
  Pump();
  EXPECT_FALSE(box->HandleAllocated());
  ASSERT_NE(box->Adapter(), nullptr);
  EXPECT_TRUE(box->Adapter()->Released);
  box->HandleNeeded();
  Pump();
  EXPECT_TRUE(Adapted(box));
  ASSERT_NE(box->Adapter(), nullptr);
  EXPECT_FALSE(box->Adapter()->Released);
  EXPECT_EQ(box->Adapter()->WindowHandle, box->Handle());
  EXPECT_EQ(box->Count(), 24) << "the items went over to the new window";
  // Destroyed again, and the list box freed with its released adapter.
  box->DestroyHandle();
  Pump();
  TObject::Free(box);
  // The form freed while skinned list boxes are on it, one of them with
  // the adapter its refresh just made.
  AddBox(3);
  auto* second = AddBox(24, 200, 10);
  SendMessageA(second->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdRefresh),
               reinterpret_cast<LPARAM>(manager_));
  TObject::Free(form_);
  form_ = nullptr;
  Pump();
  SUCCEED() << "nothing used a freed adapter";
}

}  // namespace
