// TsListBox without a skin, on a real form under Xvfb: window styles, the
// plain item drawing as it reaches the screen, item heights, scrolling and
// the scroll handling of the skinned road; virtual and multiple-selection
// lists both plain and under the generated test skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>

#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/skin_commands.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "soundbank_test/slistbox.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "test_support.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/forms/forms.h"
#include "widgets/controls/stdctrls.h"

namespace {

struct TCounter {
  int Hits = 0;
  void Hit(TObject*) { ++Hits; }
  TNotifyEvent Event() { return TNotifyEvent::Of<&TCounter::Hit>(this); }
};

// The skinned road with a skin that paints nothing: what the list box does
// around a scroll message, seen from inside the layer's handling.
class TSkinnedProbe : public TsListBox {
 public:
  using TsListBox::TsListBox;
  bool ThrowOnScroll = false;
  bool Redraw = true;  // the last WM_SETREDRAW the window received
  bool RedrawWasOff = false;
  bool UpdatingWasOn = false;
  bool Updating() const { return SkinUpdating(); }
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_SETREDRAW) Redraw = m.WParam != 0;
    if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) {
      RedrawWasOff = !Redraw;
      UpdatingWasOn = SkinUpdating();
      if (ThrowOnScroll) throw Exception("scrolling failed");
    }
    TsListBox::Dispatch(m);
  }

 protected:
  bool Skinned() const override { return true; }
};

class ListBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    form_ = New<TForm>(Application, TCustomForm::TCreateNew{});
    form_->SetBounds(40, 40, 320, 260);
  }
  void TearDown() override {
    TObject::Free(form_);
    Pump();
  }

  template <typename T = TsListBox>
  T* AddBox(std::initializer_list<const char*> items, bool show = true) {
    T* box = New<T>(form_);
    box->SetParent(form_);
    box->SetBounds(10, 10, 200, 150);
    for (const char* s : items) box->Items()->Add(s);
    if (show) Show();
    return box;
  }
  void Show() {
    form_->Show();
    Pump();
  }
  static void Repaint(TWinControl* c) {
    RedrawWindow(c->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  }
  static TRect ItemRect(TsListBox* box, int index) {
    RECT r{};
    SendMessageA(box->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
    return r;
  }

  TForm* form_ = nullptr;
};

// How many pixels of the rectangle (right and bottom exclusive) have the colour.
int CountColour(const TCapture& c, const TRect& r, COLORREF colour) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (c.At(x, y) == colour) ++n;
  return n;
}

// How many pixels of the rectangle are nearer to Ink than to Background:
// text found by its colour, whatever the smoothing of its edges.
int InkPixels(const TCapture& c, const TRect& r, COLORREF ink, COLORREF background) {
  const auto distance = [](COLORREF a, COLORREF b) {
    int d = 0;
    for (int n = 0; n < 24; n += 8)
      d += std::abs(static_cast<int>((a >> n) & 0xFF) - static_cast<int>((b >> n) & 0xFF));
    return d;
  };
  int n = 0;
  for (int y = std::max(0, r.Top); y < std::min(c.Height, r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(c.Width, r.Right); ++x)
      if (distance(c.At(x, y), ink) < distance(c.At(x, y), background)) ++n;
  return n;
}

// The two looks of a list box: plain, and under the generated test skin,
// whose manager the form owns.
class ListBoxLookTest : public ListBoxTest {
 protected:
  void StartLook(bool skinned) {
    if (!skinned) return;
    skin_ = std::make_unique<test_skin::TempTestSkin>("lbdata");
    manager_ = test_skin::StartSkinManager(form_, *skin_);
  }
  void TearDown() override {
    ListBoxTest::TearDown();
    skin_.reset();
  }
  // Text and selection colours of the look the box has.
  COLORREF TextColour(TsListBox* box) const {
    if (!manager_) return ColorToRGB(clWindowText);
    const auto index = static_cast<size_t>(box->SkinData()->SkinIndex);
    return ColorToRGB(manager_->Sections[index].Props[0].FontColor);
  }
  COLORREF HighlightColour() const {
    return ColorToRGB(manager_ ? manager_->GetHighlightColor(true) : clHighlight);
  }

  TsSkinManager* manager_ = nullptr;
  std::unique_ptr<test_skin::TempTestSkin> skin_;
};

TEST_F(ListBoxTest, WindowStylesFollowStyleAndAutoHideScroll) {
  struct Case {
    TListBoxStyle style;
    bool autoHide;
    DWORD present, absent;
  } cases[] = {
      {lbStandard, true, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, LBS_DISABLENOSCROLL},
      {lbStandard, false, LBS_OWNERDRAWFIXED | LBS_DISABLENOSCROLL, 0},
      {lbOwnerDrawVariable, true, LBS_OWNERDRAWVARIABLE, LBS_OWNERDRAWFIXED | LBS_DISABLENOSCROLL},
  };
  for (const Case& c : cases) {
    auto* box = AddBox({"one", "two"}, false);
    box->SetStyle(c.style);
    box->SetAutoHideScroll(c.autoHide);
    Show();
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(box->Handle(), GWL_STYLE));
    EXPECT_EQ(style & c.present, c.present) << c.style << " " << c.autoHide;
    EXPECT_EQ(style & c.absent, 0u) << c.style << " " << c.autoHide;
    TObject::Free(box);
  }
}

TEST_F(ListBoxTest, AutoHideScrollOffRecreatesTheWindowWithDisabledBarsAndKeepsItems) {
  auto* box = AddBox({"one", "two"});
  // Two items need no scrolling: the bar goes.
  EXPECT_FALSE(GetWindowLongPtrA(box->Handle(), GWL_STYLE) & WS_VSCROLL);
  box->SetItemIndex(1);
  box->SetAutoHideScroll(false);
  Pump();
  const auto style = GetWindowLongPtrA(box->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & LBS_DISABLENOSCROLL);
  EXPECT_TRUE(style & WS_VSCROLL) << "the disabled bar stays";
  EXPECT_EQ(box->Items()->Count(), 2);
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(box->GetItemText(1), "two");
}

TEST_F(ListBoxTest, PlainDrawingShowsSelectionTextAndFocusFrame) {
  auto* box = AddBox({"Alpha", "Beta", "Gamma"});
  box->SetItemIndex(1);
  box->SetFocus();
  Pump();
  ASSERT_EQ(GetFocus(), box->Handle());
  Repaint(box);
  const TCapture shot = CaptureClient(box->Handle());
  ASSERT_GT(shot.Width, 0);

  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  const COLORREF window = ColorToRGB(clWindow);
  const COLORREF windowText = ColorToRGB(clWindowText);
  const COLORREF inverted = ~highlight & 0xFFFFFF;

  const TRect sel = ItemRect(box, 1);
  ASSERT_EQ(sel.Height(), 16);
  // Right of the text, inside the focus frame: the highlight only.
  const TRect selEmpty{sel.Right - 40, sel.Top + 1, sel.Right - 1, sel.Bottom - 1};
  EXPECT_EQ(CountColour(shot, selEmpty, highlight), selEmpty.Width() * selEmpty.Height());
  // The text in the highlight text colour.
  const TRect selText{sel.Left + 1, sel.Top + 1, sel.Left + 60, sel.Bottom - 1};
  EXPECT_GT(CountColour(shot, selText, highlightText), 5);
  // The focus frame: every other pixel of its top row inverted.
  const TRect selTop{sel.Left, sel.Top, sel.Right, sel.Top + 1};
  EXPECT_GE(CountColour(shot, selTop, inverted), sel.Width() / 3);

  const TRect other = ItemRect(box, 0);
  const TRect otherEmpty{other.Right - 40, other.Top, other.Right, other.Bottom};
  EXPECT_EQ(CountColour(shot, otherEmpty, window), otherEmpty.Width() * otherEmpty.Height());
  const TRect otherText{other.Left + 1, other.Top + 1, other.Left + 60, other.Bottom - 1};
  EXPECT_GT(CountColour(shot, otherText, windowText), 5);

  // Without the focus the selection keeps its colours and loses its frame.
  auto* button = New<TButton>(form_);
  button->SetParent(form_);
  button->SetBounds(220, 10, 80, 25);
  button->SetFocus();
  Pump();
  ASSERT_NE(GetFocus(), box->Handle());
  Repaint(box);
  const TCapture unfocused = CaptureClient(box->Handle());
  EXPECT_EQ(CountColour(unfocused, selTop, highlight), sel.Width());
  EXPECT_GT(CountColour(unfocused, selText, highlightText), 5);
}

TEST_F(ListBoxTest, DisabledItemsMixTheirTextWithTheBackground) {
  auto* box = AddBox({"Alpha", "Beta"});
  box->SetEnabled(false);
  Pump();
  Repaint(box);
  const TCapture shot = CaptureClient(box->Handle());
  const COLORREF mixed =
      MixTwoColors(ColorToRGB(clWindowText), ColorToRGB(clWindow), DisabledBlendLevel);
  const TRect r = ItemRect(box, 0);
  const TRect text{r.Left + 1, r.Top + 1, r.Left + 60, r.Bottom - 1};
  EXPECT_GT(CountColour(shot, text, mixed), 5);
  EXPECT_EQ(CountColour(shot, text, ColorToRGB(clWindowText)), 0);
}

TEST_F(ListBoxTest, FontChangeWhileVisibleSizesItemsFromAgPlusThree) {
  struct Case {
    bool visible;
    const char* what;
  } cases[] = {{true, "visible"}, {false, "hidden"}};
  for (const Case& c : cases) {
    auto* box = AddBox({"Alpha", "Beta"});
    box->SetVisible(c.visible);
    Pump();
    ASSERT_EQ(box->ItemHeight(), 16);
    box->Font()->SetHeight(-24);
    Pump();
    SIZE ag{};
    {
      HDC dc = GetDC(nullptr);
      HGDIOBJ old = SelectObject(dc, box->Font()->Handle());
      GetTextExtentPoint32A(dc, "Ag", 2, &ag);
      SelectObject(dc, old);
      ReleaseDC(nullptr, dc);
    }
    const int expected = c.visible ? ag.cy + 3 : 16;
    EXPECT_EQ(box->ItemHeight(), expected) << c.what;
    EXPECT_EQ(SendMessageA(box->Handle(), LB_GETITEMHEIGHT, 0, 0), expected) << c.what;
    EXPECT_EQ(box->Items()->Count(), 2) << c.what;
    TObject::Free(box);
  }
}

TEST_F(ListBoxTest, ChangeScaleScalesTheItemHeight) {
  struct Case {
    int m, d, expected;
  } cases[] = {{2, 1, 32}, {3, 2, 24}, {1, 2, 8}};
  for (const Case& c : cases) {
    auto* box = AddBox({"Alpha"});
    box->ChangeScale(c.m, c.d);
    Pump();
    EXPECT_EQ(box->ItemHeight(), c.expected) << c.m << "/" << c.d;
    EXPECT_EQ(SendMessageA(box->Handle(), LB_GETITEMHEIGHT, 0, 0), c.expected);
    EXPECT_EQ(box->Width(), MulDiv(200, c.m, c.d));
    TObject::Free(box);
  }
}

TEST_F(ListBoxTest, OnVScrollFiresAfterEveryVerticalScrollMessage) {
  auto* box = AddBox({});
  for (int i = 0; i < 40; ++i) box->Items()->Add("Item " + std::to_string(i));
  TCounter counter;
  box->OnVScroll = counter.Event();
  for (int i = 0; i < 3; ++i) SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(counter.Hits, 3);
  EXPECT_EQ(box->TopIndex(), 3);
  SendMessageA(box->Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(counter.Hits, 3);
}

// A failure inside the handling of a scroll message must not leave the
// list box frozen (redrawing off) or marked as updating.
TEST_F(ListBoxTest, SkinnedScrollTurnsRedrawingBackOnAlsoAfterAFailure) {
  TBoxRecorder boxes;
  auto* box = AddBox<TSkinnedProbe>({});
  for (int i = 0; i < 40; ++i) box->Items()->Add("Item " + std::to_string(i));
  TCounter counter;
  box->OnVScroll = counter.Event();
  for (UINT msg : {WM_VSCROLL, WM_HSCROLL}) {
    box->ThrowOnScroll = true;
    SendMessageA(box->Handle(), msg, SB_LINEDOWN, 0);
    EXPECT_TRUE(box->RedrawWasOff) << msg;
    EXPECT_TRUE(box->UpdatingWasOn) << msg;
    EXPECT_TRUE(box->Redraw) << msg << ": redrawing stayed off";
    EXPECT_FALSE(box->Updating()) << msg;

    box->ThrowOnScroll = false;
    box->RedrawWasOff = false;
    SendMessageA(box->Handle(), msg, SB_LINEDOWN, 0);
    EXPECT_TRUE(box->RedrawWasOff) << msg;
    EXPECT_TRUE(box->Redraw) << msg;
    EXPECT_FALSE(box->Updating()) << msg;
  }
  EXPECT_EQ(boxes.Boxes.size(), 2u) << "each failure is reported once";
  EXPECT_EQ(counter.Hits, 1) << "only the vertical scroll that completed";
}

TEST_F(ListBoxTest, MouseEventsFireOnceAndOnlyWhenEnabled) {
  struct Case {
    bool enabled;
    UINT msg;
    int enters, leaves;
  } cases[] = {{true, CM_MOUSEENTER, 1, 0},
               {true, CM_MOUSELEAVE, 0, 1},
               {false, CM_MOUSEENTER, 0, 0},
               {false, CM_MOUSELEAVE, 0, 0}};
  auto* box = AddBox({"Alpha"});
  for (const Case& c : cases) {
    TCounter enter, leave;
    box->OnMouseEnter = enter.Event();
    box->OnMouseLeave = leave.Event();
    box->SetEnabled(c.enabled);
    box->Perform(c.msg);
    EXPECT_EQ(enter.Hits, c.enters) << c.enabled << " " << c.msg;
    EXPECT_EQ(leave.Hits, c.leaves) << c.enabled << " " << c.msg;
    EXPECT_TRUE(box->OnMouseEnter == enter.Event()) << "the handler is kept";
  }
}

TEST_F(ListBoxTest, ItemTextAndSkinQueriesWithoutASkin) {
  auto* box = AddBox({"Alpha", "", "Tab\there"});
  EXPECT_EQ(box->GetItemText(0), "Alpha");
  EXPECT_EQ(box->GetItemText(1), "");
  EXPECT_EQ(box->GetItemText(2), "Tab\there");
  EXPECT_EQ(box->GetItemText(3), "");
  EXPECT_EQ(box->GetItemText(-1), "");

  box->SetColor(clBtnFace);
  struct Case {
    uint16_t code;
    LRESULT answer;
  } cases[] = {{SkinCmdIsSkinned, 1},
               {SkinCmdGetBgColor, static_cast<LRESULT>(ColorToRGB(clBtnFace))},
               {SkinCmdGetDefaultSection, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(SendMessageA(box->Handle(), SkinCommandMessage, SkinCmdParam(c.code), 0), c.answer)
        << c.code;
}

// A virtual owner-drawn list box draws what its data request answers: the
// even rows have text, the odd ones none.
TEST_F(ListBoxLookTest, VirtualItemsShowTheTextsOfTheDataRequest) {
  struct TRows {
    void Data(TWinControl*, int Index, std::string& Text) {
      if (Index % 2 == 0) Text = "Row " + std::to_string(Index);
    }
  } rows;
  for (bool skinned : {false, true}) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    StartLook(skinned);
    auto* box = AddBox({}, false);
    box->OnData = TLBGetDataEvent::Of<&TRows::Data>(&rows);
    box->SetStyle(lbVirtualOwnerDraw);
    box->SetCount(30);
    Show();
    ASSERT_EQ(box->SkinData()->Skinned(false), skinned);
    Repaint(box);
    const TCapture shot = CaptureClient(box->Handle());
    for (int i = 0; i < 4; ++i) {
      const TRect r = ItemRect(box, i);
      ASSERT_GT(r.Height(), 0);
      const COLORREF face = shot.At(r.Right - 3, r.Top + r.Height() / 2);
      const TRect text{r.Left + 1, r.Top + 1, r.Left + 60, r.Bottom - 1};
      const int ink = InkPixels(shot, text, TextColour(box), face);
      if (i % 2 == 0)
        EXPECT_GT(ink, 3) << i;
      else
        EXPECT_EQ(ink, 0) << i;
    }
    EXPECT_EQ(box->Count(), 30);
    EXPECT_EQ(box->GetItemText(28), "Row 28");
    EXPECT_EQ(box->GetItemText(29), "");
    EXPECT_EQ(box->GetItemText(30), "") << "past the count";
    EXPECT_EQ(box->GetItemText(-1), "");
    TObject::Free(box);
  }
}

// Every selected item of a multiple selection shows the highlight; the
// others show none of it.
TEST_F(ListBoxLookTest, MultipleSelectionHighlightsEverySelectedItem) {
  for (bool skinned : {false, true}) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    StartLook(skinned);
    auto* box = AddBox({"Zero", "One", "Two", "Three", "Four", "Five"}, false);
    box->SetMultiSelect(true);
    Show();
    ASSERT_EQ(box->SkinData()->Skinned(false), skinned);
    for (int i : {1, 3, 4}) box->SetSelected(i, true);
    Repaint(box);
    const TCapture shot = CaptureClient(box->Handle());
    const COLORREF highlight = HighlightColour();
    for (int i = 0; i < 6; ++i) {
      const TRect r = ItemRect(box, i);
      // Right of the text, inside a focus frame.
      const TRect face{r.Right - 40, r.Top + 2, r.Right - 2, r.Bottom - 2};
      const int lit = CountColour(shot, face, highlight);
      if (box->Selected(i))
        EXPECT_EQ(lit, face.Width() * face.Height()) << i;
      else
        EXPECT_EQ(lit, 0) << i;
    }
    TObject::Free(box);
  }
}

}  // namespace
