// The marked-up label: its links follow the mouse and open through a
// replaceable opener, and a centred caption is measured and drawn once, as
// one block.
#include <functional>
#include <string>
#include <vector>

#include "skinned_scene.h"

namespace {

struct Opened {
  std::string Target;
  int ShowCmd;
};
std::vector<Opened> opened;
void RecordOpen(HWND, const std::string& Target, int ShowCmd) {
  opened.push_back({Target, ShowCmd});
}

class HtmlLabelTest : public testing::Test {
 public:
  void SetUp() override {
    opened.clear();
    SetLinkOpener(&RecordOpen);
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(40, 40, 420, 200);
    Label = New<TsHTMLLabel>(Form);
    Label->SetBounds(10, 10, 380, 40);
    Label->SetAutoSize(false);
    Label->Font()->SetSize(12);
    Label->SetCaption("Go <A HREF=\"first\">one</A> or <A HREF=\"second\">two</A>");
    Label->SetParent(Form);
    Form->Show();
    Form->Repaint();
    PumpMessages();
  }
  void TearDown() override {
    TObject::Free(Form);
    PumpMessages();
    SetLinkOpener(nullptr);
  }
  LPARAM LinkCentre(int I) const {
    const TvlLink& k = Label->Links()[static_cast<size_t>(I)];
    return MAKELPARAM((k.StartX + k.EndX) / 2, (k.StartY + k.EndY) / 2);
  }
  void Send(UINT Msg, LPARAM At) {
    Label->Perform(Msg, Msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, At);
  }

  TForm* Form = nullptr;
  TsHTMLLabel* Label = nullptr;
};

struct LinkCase {
  const char* Name;
  std::function<void(HtmlLabelTest*)> Gesture;
  std::function<void(TObject*, std::string&, bool&)> Handler;  // nil: none
  std::vector<std::string> Expected;
};

TEST_F(HtmlLabelTest, LinksOpenOnlyWhenReleasedOnALink) {
  const LPARAM blank = MAKELPARAM(2, 30);
  auto press = [](HtmlLabelTest* t, int I) {
    t->Send(WM_MOUSEMOVE, t->LinkCentre(I));
    t->Send(WM_LBUTTONDOWN, t->LinkCentre(I));
  };
  const LinkCase cases[] = {
      {"press and release",
       [&](HtmlLabelTest* t) {
         press(t, 0);
         t->Send(WM_LBUTTONUP, t->LinkCentre(0));
       },
       nullptr,
       {"first"}},
      {"move off before the release",
       [&](HtmlLabelTest* t) {
         press(t, 1);
         t->Send(WM_MOUSEMOVE, blank);
         t->Send(WM_LBUTTONUP, blank);
       },
       nullptr,
       {}},
      {"the mouse leaves",
       [&](HtmlLabelTest* t) {
         press(t, 0);
         t->Send(CM_MOUSELEAVE, 0);
         t->Send(WM_LBUTTONUP, t->LinkCentre(0));
       },
       nullptr,
       {}},
      {"released on the other link: the pressed one opens",
       [&](HtmlLabelTest* t) {
         press(t, 0);
         t->Send(WM_MOUSEMOVE, t->LinkCentre(1));
         t->Send(WM_LBUTTONUP, t->LinkCentre(1));
       },
       nullptr,
       {"first"}},
      {"pressed beside the links",
       [&](HtmlLabelTest* t) {
         t->Send(WM_MOUSEMOVE, blank);
         t->Send(WM_LBUTTONDOWN, blank);
         t->Send(WM_LBUTTONUP, blank);
       },
       nullptr,
       {}},
      {"vetoed",
       [&](HtmlLabelTest* t) {
         press(t, 1);
         t->Send(WM_LBUTTONUP, t->LinkCentre(1));
       },
       [](TObject*, std::string&, bool& Default) { Default = false; },
       {}},
      {"target changed",
       [&](HtmlLabelTest* t) {
         press(t, 1);
         t->Send(WM_LBUTTONUP, t->LinkCentre(1));
       },
       [](TObject*, std::string& Link, bool&) { Link += "#changed"; },
       {"second#changed"}},
      {"target emptied",
       [&](HtmlLabelTest* t) {
         press(t, 1);
         t->Send(WM_LBUTTONUP, t->LinkCentre(1));
       },
       [](TObject*, std::string& Link, bool&) { Link.clear(); },
       {}},
  };
  for (const LinkCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    ASSERT_EQ(Label->Links().size(), 2u);
    struct Forward {
      const std::function<void(TObject*, std::string&, bool&)>* F;
      int Calls = 0;
      void Call(TObject* S, std::string& L, bool& D) {
        ++Calls;
        (*F)(S, L, D);
      }
    } forward{&c.Handler};
    if (c.Handler) Label->OnLinkClick = TLinkClickEvent::Of<&Forward::Call>(&forward);
    c.Gesture(this);
    std::vector<std::string> targets;
    for (const Opened& o : opened) targets.push_back(o.Target);
    EXPECT_EQ(targets, c.Expected);
    for (const Opened& o : opened) EXPECT_EQ(o.ShowCmd, SW_SHOWDEFAULT);
    EXPECT_EQ(Label->PressedLinkIndex(), -1);
    Label->OnLinkClick = nullptr;
  }
}

TEST_F(HtmlLabelTest, HoverMarksTheLinkAndTheHandCursor) {
  Send(WM_MOUSEMOVE, LinkCentre(1));
  EXPECT_EQ(Label->HotLinkIndex(), 1);
  EXPECT_EQ(Label->Cursor(), crHandPoint);
  Send(WM_MOUSEMOVE, MAKELPARAM(2, 30));
  EXPECT_EQ(Label->HotLinkIndex(), -1);
  EXPECT_EQ(Label->Cursor(), crDefault);
}

// Columns [first, last] of the label's area with ink, -1 when none.
std::pair<int, int> InkColumns(HWND Wnd, const TRect& Area) {
  HDC dc = GetDC(Wnd);
  const uint32_t face = RgbOf(static_cast<TColor>(GetPixel(dc, Area.Left, Area.Bottom - 1)));
  int first = -1, last = -1;
  for (int x = Area.Left; x < Area.Right; ++x)
    for (int y = Area.Top; y < Area.Bottom; ++y)
      if (!Near(RgbOf(static_cast<TColor>(GetPixel(dc, x, y))), face, 80)) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  ReleaseDC(Wnd, dc);
  return {first, last};
}

TEST_F(HtmlLabelTest, AlignedCaptionIsOneBlockDrawnOnce) {
  Label->SetCaption("<B>Mid</B>dle <I>part</I>");
  Label->Font()->SetSize(16);
  const TRect area = Label->BoundsRect();
  const struct {
    TAlignment Alignment;
    const char* Name;
  } cases[] = {{taLeftJustify, "left"}, {taCenter, "centre"}, {taRightJustify, "right"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Label->SetAlignment(c.Alignment);
    Form->Repaint();
    PumpMessages();
    const auto [first, last] = InkColumns(Form->Handle(), area);
    ASSERT_GE(first, 0);
    const int inkWidth = last - first + 1;
    const int leftGap = first - area.Left;
    const int rightGap = area.Right - 1 - last;
    // Ink only where one block of that width belongs: a second drawing at
    // the left edge would widen it.
    EXPECT_LT(inkWidth, area.Width() / 2);
    const int offPlace = c.Alignment == taLeftJustify    ? leftGap
                         : c.Alignment == taRightJustify ? rightGap
                                                         : std::abs(leftGap - rightGap);
    EXPECT_LE(offPlace, 4);
  }
}

}  // namespace
