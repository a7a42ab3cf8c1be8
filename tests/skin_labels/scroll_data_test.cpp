// The per-window scroll-bar sizes: which size a skinned bar takes, and
// that a change reaches the window's frame only when it is a change.
#include <functional>

#include "labels_fixture.h"
#include "skin/engine/manager_options.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "widgets/rtl/reflection.h"

namespace {

TEST(ScrollBarSizeTest, WindowThenManagerThenSystem) {
  struct Case {
    int Own;      // the window's size, -1 none
    int Manager;  // the manager's, -1 none
    bool Thickness;
    int Expected;  // -1: the system's; -2: the bar's width (an arrow is as long as the bar is wide)
  };
  const Case cases[] = {
      {11, 14, true, 11}, {-1, 14, true, 14},  {-1, -1, true, -1},  {0, 14, true, 0},
      {9, 12, false, 9},  {-1, 12, false, 12}, {-1, -1, false, -2},
  };
  TOwnedObject<TForm> form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  auto* manager = New<TsSkinManager>(form.get());
  ASSERT_EQ(DefaultManager, manager);
  // A bar of no adapter has no sizes of its own.
  TvlScrollBar lone(nullptr, SB_HORZ);
  EXPECT_EQ(ScrollBarSize(&lone, true), GetScrollBarSize());
  // The window's sizes are its skin state's.
  TsScrollWndData data(nullptr, false);
  TvlScrollWnd adapter;
  adapter.SkinData = &data;
  TvlScrollBar bar(&adapter, SB_HORZ);
  TvlScrollData& sizes = *data.HorzScrollData;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Own << " " << c.Manager << " " << c.Thickness);
    if (c.Thickness) {
      sizes.SetScrollWidth(c.Own);
      manager->ScrollsOptions()->SetScrollSize(c.Manager);
    } else {
      sizes.SetButtonsSize(c.Own);
      manager->ScrollsOptions()->SetButtonsSize(c.Manager);
    }
    const int expected = c.Expected >= 0    ? c.Expected
                         : c.Expected == -2 ? GetScrollBarSize()
                                            : GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(ScrollBarSize(&bar, c.Thickness), expected);
  }
  adapter.SkinData = nullptr;
}

// An edit whose skin state carries scroll sizes, counting the frame
// measures and frame paints its window gets.
class TScrollEdit : public TEdit {
 public:
  explicit TScrollEdit(TComponent* AOwner)
      : TEdit(AOwner), Data(new TsScrollWndData(this, false)) {}
  ~TScrollEdit() override { TObject::Free(Data); }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_NCCALCSIZE) ++Measures;
    if (m.Msg == WM_NCPAINT) ++FramePaints;
    TEdit::WndProc(m);
  }
  TsScrollWndData* Data;
  int Measures = 0;
  int FramePaints = 0;
};

TEST(ScrollDataTest, OnlyAChangeReachesTheFrame) {
  TOwnedObject<TForm> form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  auto* edit = New<TScrollEdit>(form.get());
  edit->SetParent(form.get());
  form->Show();
  PumpMessages();
  struct Case {
    const char* Name;
    std::function<void(TvlScrollData*)> Set;
    int Measures, FramePaints;
  };
  const Case cases[] = {
      {"same width", [](TvlScrollData* d) { d->SetScrollWidth(-1); }, 0, 0},
      {"new width", [](TvlScrollData* d) { d->SetScrollWidth(12); }, 1, 0},
      {"same buttons", [](TvlScrollData* d) { d->SetButtonsSize(-1); }, 0, 0},
      {"new buttons", [](TvlScrollData* d) { d->SetButtonsSize(7); }, 0, 1},
  };
  for (TvlScrollData* d : {edit->Data->VertScrollData, edit->Data->HorzScrollData}) {
    EXPECT_EQ(d->Owner(), edit->Data);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.Name);
      PumpMessages();
      edit->Measures = edit->FramePaints = 0;
      c.Set(d);
      EXPECT_EQ(edit->Measures, c.Measures);
      if (c.Measures == 0) {
        EXPECT_EQ(edit->FramePaints, c.FramePaints);
      }
    }
  }
}

TEST(ScrollDataTest, FormProviderCarriesScrollSizes) {
  TOwnedObject<TForm> form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
  auto* provider = New<TsSkinProvider>(form.get());
  ASSERT_TRUE(provider->SkinData);
  EXPECT_TRUE(provider->SkinData->InheritsFrom(TsScrollWndData::StaticClass()));
  EXPECT_EQ(provider->SkinData->VertScrollData->ScrollWidth(), -1);
  EXPECT_EQ(provider->SkinData->HorzScrollData->ButtonsSize(), -1);
  // Published, so a description can set them.
  EXPECT_EQ(GetOrdProp(provider->SkinData, "VertScrollData.ScrollWidth"), -1);
  SetOrdProp(provider->SkinData, "HorzScrollData.ButtonsSize", 5);
  EXPECT_EQ(provider->SkinData->HorzScrollData->ButtonsSize(), 5);
}

}  // namespace
