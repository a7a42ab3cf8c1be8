// The caption's check box without a skin: a press and a release inside the
// check area (box or caption) toggle Checked, a release elsewhere does not;
// Checked set while loading neither raises the event nor repaints; hover
// follows the mouse.
#include <functional>

#include "groupbox_fixture.h"
#include "widgets/rtl/form_reader.h"

#undef RegisterClass

namespace {

struct TChangeCounter {
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

class GroupBoxCheckTest : public GroupBoxFixture {
 public:
  void SetUp() override {
    GroupBoxFixture::SetUp();
    Box->SetCaption("Reverb");
    Box->SetCheckBoxVisible(true);
    Box->OnCheckBoxChanged = TNotifyEvent::Of<&TChangeCounter::Changed>(&Changes);
  }
  LRESULT Send(UINT Msg, TPoint P) {
    return SendMessageA(Box->Handle(), Msg, Msg == WM_MOUSELEAVE ? 0 : MK_LBUTTON, At(P.X, P.Y));
  }
  TPoint CaptionCentre() {
    const TRect r = Box->CaptionRect();
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  TPoint BoxCentre() {
    const TRect r = Box->CheckBoxRect();
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  TPoint Inside() { return TPoint(Box->Width() / 2, Box->Height() / 2); }
  TChangeCounter Changes;
};

TEST_F(GroupBoxCheckTest, PressAndReleaseInTheCheckAreaToggle) {
  using Where = TPoint (GroupBoxCheckTest::*)();
  const struct {
    const char* Name;
    UINT Press;
    Where PressAt, ReleaseAt;
    bool Visible, Enabled, Toggles;
  } cases[] = {
      {"caption", WM_LBUTTONDOWN, &GroupBoxCheckTest::CaptionCentre,
       &GroupBoxCheckTest::CaptionCentre, true, true, true},
      {"box", WM_LBUTTONDOWN, &GroupBoxCheckTest::BoxCentre, &GroupBoxCheckTest::BoxCentre, true,
       true, true},
      {"caption to box", WM_LBUTTONDOWN, &GroupBoxCheckTest::CaptionCentre,
       &GroupBoxCheckTest::BoxCentre, true, true, true},
      {"double click", WM_LBUTTONDBLCLK, &GroupBoxCheckTest::BoxCentre,
       &GroupBoxCheckTest::BoxCentre, true, true, true},
      {"released outside", WM_LBUTTONDOWN, &GroupBoxCheckTest::CaptionCentre,
       &GroupBoxCheckTest::Inside, true, true, false},
      {"pressed outside", WM_LBUTTONDOWN, &GroupBoxCheckTest::Inside,
       &GroupBoxCheckTest::CaptionCentre, true, true, false},
      {"hidden check box", WM_LBUTTONDOWN, &GroupBoxCheckTest::CaptionCentre,
       &GroupBoxCheckTest::CaptionCentre, false, true, false},
      {"disabled", WM_LBUTTONDOWN, &GroupBoxCheckTest::CaptionCentre,
       &GroupBoxCheckTest::CaptionCentre, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Box->SetCheckBoxVisible(c.Visible);
    Box->SetEnabled(c.Enabled);
    for (const bool start : {false, true}) {
      Box->SetChecked(start);
      Changes.Count = 0;
      Send(c.Press, (this->*c.PressAt)());
      Send(WM_LBUTTONUP, (this->*c.ReleaseAt)());
      EXPECT_EQ(Box->Checked(), c.Toggles ? !start : start);
      EXPECT_EQ(Changes.Count, c.Toggles ? 1 : 0);
      EXPECT_FALSE(Box->CheckPressed());
    }
  }
}

TEST_F(GroupBoxCheckTest, HoverFollowsTheCheckArea) {
  Send(WM_MOUSEMOVE, Inside());
  EXPECT_FALSE(Box->CheckHot());
  Send(WM_MOUSEMOVE, CaptionCentre());
  EXPECT_TRUE(Box->CheckHot());
  Send(WM_MOUSEMOVE, BoxCentre());
  EXPECT_TRUE(Box->CheckHot());
  Send(WM_MOUSEMOVE, Inside());
  EXPECT_FALSE(Box->CheckHot());
  Send(WM_MOUSEMOVE, BoxCentre());
  Send(WM_MOUSELEAVE, TPoint(0, 0));
  EXPECT_FALSE(Box->CheckHot());
}

TEST_F(GroupBoxCheckTest, CheckedFromCodeRepaintsAndTellsButNotWhileLoading) {
  PumpMessages();
  ValidateRect(Box->Handle(), nullptr);
  Box->SetState(csLoading);
  Box->SetChecked(true);
  EXPECT_TRUE(Box->Checked());
  EXPECT_EQ(Changes.Count, 0);
  EXPECT_FALSE(GetUpdateRect(Box->Handle(), nullptr, FALSE));
  Box->ClearState(csLoading);

  Box->SetChecked(false);
  EXPECT_EQ(Changes.Count, 1);
  EXPECT_TRUE(GetUpdateRect(Box->Handle(), nullptr, FALSE));
}

TEST_F(GroupBoxCheckTest, DescriptionSetsEveryCaptionProperty) {
  RegisterClass(TsGroupBox::StaticClass());
  TForm* root = New<TForm>(Application, TCustomForm::TCreateNew{});
  ReadComponentFromText(root,
                        "object Root: TForm\n"
                        "  object G: TsGroupBox\n"
                        "    Caption = 'Effect'\n"
                        "    CaptionLayout = clTopRight\n"
                        "    CaptionMargin.Left = 7\n"
                        "    CaptionMargin.Bottom = 3\n"
                        "    CaptionYOffset = -2\n"
                        "    CaptionWidth = 40\n"
                        "    CaptionSkin = 'GROUPBOXCAPTION'\n"
                        "    CheckBoxVisible = True\n"
                        "    Checked = True\n"
                        "  end\n"
                        "end\n");
  auto* g = dynamic_cast<TsGroupBox*>(root->FindComponent("G"));
  ASSERT_TRUE(g);
  EXPECT_EQ(g->CaptionLayout(), TsGroupBox::clTopRight);
  EXPECT_EQ(g->CaptionMargin()->Left(), 7);
  EXPECT_EQ(g->CaptionMargin()->Bottom(), 3);
  EXPECT_EQ(g->CaptionMargin()->Right(), 2);
  EXPECT_EQ(g->CaptionYOffset(), -2);
  EXPECT_EQ(g->CaptionWidth(), 40);
  EXPECT_EQ(g->CaptionSkin(), "GROUPBOXCAPTION");
  EXPECT_TRUE(g->CheckBoxVisible());
  EXPECT_TRUE(g->Checked());
  EXPECT_FALSE(g->HasState(csLoading));
  TObject::Free(root);
}

}  // namespace
