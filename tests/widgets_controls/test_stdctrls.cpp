// The standard controls: superclass names, child identifiers, track-bar and
// combo-box change events, items across RecreateWnd, the edit's colours,
// list-box drawing, page control, and a label painted by its parent.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "fixture.h"
#include "widgets/controls/buttons.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/stdctrls.h"

namespace {

struct Counter {
  int Count = 0;
  TObject* Last = nullptr;
  void Hit(TObject* s) {
    ++Count;
    Last = s;
  }
  TNotifyEvent Event() { return TNotifyEvent::Of<&Counter::Hit>(this); }
};

class StdCtrlsTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    Pages = New<TPageControl>(Form);
    Pages->SetParent(Form);
    Pages->SetAlign(alClient);
    Sheet = New<TTabSheet>(Form);
    Sheet->SetPageControl(Pages);
    Sheet->SetCaption("Controls");
    Pages->SetActivePage(Sheet);
    Group = New<TGroupBox>(Form);
    Group->SetParent(Sheet);
    Group->SetBounds(3, 3, 260, 200);
    Group->SetCaption("EQ");
    Label = New<TLabel>(Form);
    Label->SetParent(Group);
    Label->SetBounds(10, 30, 40, 15);
    Label->SetCaption("High");
    Track = New<TTrackBar>(Form);
    Track->SetParent(Group);
    Track->SetBounds(55, 25, 129, 37);
    Track->SetMax(48);
    Track->SetFrequency(5);
    Track->SetPosition(33);
    Edit = New<TEdit>(Form);
    Edit->SetParent(Group);
    Edit->SetBounds(182, 28, 39, 21);
    Edit->SetReadOnly(true);
    Combo = New<TComboBox>(Form);
    Combo->SetParent(Group);
    Combo->SetBounds(10, 80, 113, 21);
    Combo->SetStyle(csDropDownList);
    Button = New<TButton>(Form);
    Button->SetParent(Group);
    Button->SetBounds(27, 173, 33, 26);
    Button->SetCaption("On");
    List = New<TListBox>(Form);
    List->SetParent(Sheet);
    List->SetBounds(270, 3, 150, 100);
    Bit = New<TBitBtn>(Form);
    Bit->SetParent(Sheet);
    Bit->SetBounds(270, 110, 113, 25);
    Bit->SetCaption("Snd Bank1 Test");
  }

  TPageControl* Pages = nullptr;
  TTabSheet* Sheet = nullptr;
  TGroupBox* Group = nullptr;
  TLabel* Label = nullptr;
  TTrackBar* Track = nullptr;
  TEdit* Edit = nullptr;
  TComboBox* Combo = nullptr;
  TButton* Button = nullptr;
  TListBox* List = nullptr;
  TBitBtn* Bit = nullptr;
};

}  // namespace

TEST_F(StdCtrlsTest, WindowClassesAreTheClassNamesAndSuperclassTheSystemClasses) {
  Form->Show();
  struct Case {
    TWinControl* Control;
    const char* Name;
    const char* System;  // null: a class of its own
  } cases[] = {
      {Pages, "TPageControl", WC_TABCONTROLA},
      {Sheet, "TTabSheet", nullptr},
      {Group, "TGroupBox", nullptr},
      {Track, "TTrackBar", TRACKBAR_CLASSA},
      {Edit, "TEdit", "EDIT"},
      {Combo, "TComboBox", "COMBOBOX"},
      {Button, "TButton", "BUTTON"},
      {List, "TListBox", "LISTBOX"},
      {Bit, "TBitBtn", "BUTTON"},
      {Form, "TForm", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(c.Control->HandleAllocated());
    EXPECT_EQ(WindowClassName(c.Control->Handle()), c.Name);
    EXPECT_EQ(c.Control->ClassName(), c.Name);
    if (c.System) {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof wc;
      ASSERT_TRUE(GetClassInfoExA(nullptr, c.System, &wc));
      EXPECT_EQ(c.Control->DefWndProc(), wc.lpfnWndProc) << "the system procedure is kept";
    } else {
      EXPECT_EQ(c.Control->DefWndProc(), DefWindowProcA);
    }
    EXPECT_EQ(FindControl(c.Control->Handle()), c.Control);
    EXPECT_EQ(GetWindowLongPtrA(c.Control->Handle(), GWLP_USERDATA), 0);
    if (c.Control != Form) {
      // A child made without an identifier has its own handle as identifier.
      EXPECT_EQ(GetWindowLongPtrA(c.Control->Handle(), GWLP_ID),
                reinterpret_cast<LONG_PTR>(c.Control->Handle()));
    }
  }
}

TEST_F(StdCtrlsTest, TrackBarRaisesOnChangeForEveryScrollCode) {
  Form->Show();
  Counter changes;
  Track->OnChange = changes.Event();
  const int codes[] = {TB_LINEUP,     TB_LINEDOWN, TB_PAGEUP, TB_PAGEDOWN, TB_THUMBPOSITION,
                       TB_THUMBTRACK, TB_TOP,      TB_BOTTOM, TB_ENDTRACK};
  HWND parent = Group->Handle();
  for (int code : codes) {
    SCOPED_TRACE(code);
    int before = changes.Count;
    SendMessageA(Track->Handle(), TBM_SETPOS, TRUE, 20 + code);
    SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(code, 0),
                 reinterpret_cast<LPARAM>(Track->Handle()));
    EXPECT_EQ(changes.Count, before + 1);
    EXPECT_EQ(Track->Position(), 20 + code) << "Position is read back from the control";
  }
  // The same position again at the end of the action still reports.
  int before = changes.Count;
  SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
               reinterpret_cast<LPARAM>(Track->Handle()));
  EXPECT_EQ(changes.Count, before + 1);
  EXPECT_EQ(changes.Last, Track);
}

TEST_F(StdCtrlsTest, TrackBarKeyStepRaisesOnChangeForLineDownAndEndTrack) {
  Form->Show();
  Track->SetFocus();
  ASSERT_TRUE(Track->Focused());
  Counter changes;
  Track->OnChange = changes.Event();
  int start = Track->Position();
  PostMessageA(Track->Handle(), WM_KEYDOWN, VK_RIGHT, 0x014D0001);
  PostMessageA(Track->Handle(), WM_KEYUP, VK_RIGHT, static_cast<LPARAM>(0xC14D0001));
  Application->ProcessMessages();
  EXPECT_EQ(Track->Position(), start + 1);
  EXPECT_EQ(changes.Count, 2) << "TB_LINEDOWN then TB_ENDTRACK";
}

TEST_F(StdCtrlsTest, TrackBarPositionInCodeRaisesOnChangeOnlyOnAChange) {
  Counter changes;
  Track->OnChange = changes.Event();
  struct Case {
    int Set, Expect, Events;
  } cases[] = {{33, 33, 0}, {10, 10, 1}, {10, 10, 0}, {99, 48, 1}, {48, 48, 0}, {-5, 0, 1}};
  for (bool withWindow : {false, true}) {
    if (withWindow) Form->Show();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.Set);
      int before = changes.Count;
      Track->SetPosition(c.Set);
      EXPECT_EQ(Track->Position(), c.Expect);
      EXPECT_EQ(changes.Count - before, c.Events);
      if (withWindow) {
        EXPECT_EQ(SendMessageA(Track->Handle(), TBM_GETPOS, 0, 0), c.Expect);
      }
    }
    Track->SetPosition(33);
  }
}

TEST_F(StdCtrlsTest, TrackBarKeepsRangeAndPositionAcrossRecreate) {
  Form->Show();
  Track->SetPosition(17);
  Track->RecreateWnd();
  ASSERT_TRUE(Track->HandleAllocated());
  EXPECT_EQ(SendMessageA(Track->Handle(), TBM_GETRANGEMAX, 0, 0), 48);
  EXPECT_EQ(SendMessageA(Track->Handle(), TBM_GETPOS, 0, 0), 17);
  EXPECT_EQ(SendMessageA(Track->Handle(), TBM_GETNUMTICS, 0, 0), 11) << "0..48 step 5";
}

TEST_F(StdCtrlsTest, ComboItemIndexInCodeNeverRaisesOnChangeButAUserPickDoes) {
  Combo->Items()->Add("Room1");
  Combo->Items()->Add("Room2");
  Combo->Items()->Add("Hall1");
  Combo->SetItemIndex(1);  // before the window exists
  Counter changes, selects;
  Combo->OnChange = changes.Event();
  Combo->OnSelect = selects.Event();
  Form->Show();
  EXPECT_EQ(Combo->ItemIndex(), 1);
  Combo->SetItemIndex(2);
  Combo->SetItemIndex(0);
  Pump();
  EXPECT_EQ(changes.Count, 0);

  // The user's pick: a key press in the focused list changes the selection.
  Combo->SetFocus();
  PostMessageA(Combo->Handle(), WM_KEYDOWN, VK_DOWN, 0x01500001);
  PostMessageA(Combo->Handle(), WM_KEYUP, VK_DOWN, static_cast<LPARAM>(0xC1500001));
  Application->ProcessMessages();
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(selects.Count, 1);
  EXPECT_EQ(Combo->Text(), "Room2");
}

TEST_F(StdCtrlsTest, ComboAndListItemsSurviveRecreateWnd) {
  for (const char* s : {"a", "b", "c"}) {
    Combo->Items()->Add(s);
    List->Items()->Add(s);
  }
  Form->Show();
  Combo->SetItemIndex(2);
  List->SetItemIndex(1);
  EXPECT_EQ(SendMessageA(Combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  Combo->RecreateWnd();
  List->RecreateWnd();
  EXPECT_EQ(SendMessageA(Combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(Combo->Items()->Strings(2), "c");
  EXPECT_EQ(Combo->ItemIndex(), 2);
  EXPECT_EQ(SendMessageA(List->Handle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(List->ItemIndex(), 1);
  // Without a window the items live in the object.
  Combo->SetParent(nullptr);
  EXPECT_FALSE(Combo->HandleAllocated());
  EXPECT_EQ(Combo->Items()->Count(), 3);
  EXPECT_EQ(Combo->ItemIndex(), 2);
  Combo->SetParent(Group);
}

TEST_F(StdCtrlsTest, ReadOnlyEditAnswersBothColourRequestsWithItsBrush) {
  Form->Show();
  EXPECT_TRUE(GetWindowLongPtrA(Edit->Handle(), GWL_STYLE) & ES_READONLY);
  Edit->SetColor(clYellow);
  HDC dc = GetDC(Edit->Handle());
  for (UINT msg : {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC}) {
    SCOPED_TRACE(msg);
    SetBkColor(dc, 0);
    LRESULT r = SendMessageA(Group->Handle(), msg, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(Edit->Handle()));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(r), Edit->Brush()->Handle());
    EXPECT_EQ(GetBkColor(dc), ColorToRGB(clYellow));
  }
  ReleaseDC(Edit->Handle(), dc);
}

TEST_F(StdCtrlsTest, ButtonClickRunsOnClickOnce) {
  Form->Show();
  Counter clicks;
  Button->OnClick = clicks.Event();
  SendMessageA(Button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks.Count, 1);
  Counter bitClicks;
  Bit->OnClick = bitClicks.Event();
  SendMessageA(Bit->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(bitClicks.Count, 1);
  EXPECT_TRUE(GetWindowLongPtrA(Bit->Handle(), GWL_STYLE) & BS_OWNERDRAW);
}

TEST_F(StdCtrlsTest, OwnerDrawListBoxDrawsItemsThroughCNDrawItem) {
  List->SetStyle(lbOwnerDrawFixed);
  List->SetItemHeight(16);
  for (const char* s : {"Port A", "Port B"}) List->Items()->Add(s);
  struct Drawn {
    std::vector<int> Indices;
    void Draw(TWinControl*, int Index, TRect, TOwnerDrawState) { Indices.push_back(Index); }
  } drawn;
  List->OnDrawItem = TDrawItemEvent::Of<&Drawn::Draw>(&drawn);
  Form->Show();
  UpdateWindow(List->Handle());
  EXPECT_EQ(SendMessageA(List->Handle(), LB_GETITEMHEIGHT, 0, 0), 16);
  EXPECT_NE(std::find(drawn.Indices.begin(), drawn.Indices.end(), 0), drawn.Indices.end());
  EXPECT_NE(std::find(drawn.Indices.begin(), drawn.Indices.end(), 1), drawn.Indices.end());

  // Selection from code raises nothing; the user's key press raises OnClick.
  Counter clicks;
  List->OnClick = clicks.Event();
  List->SetItemIndex(0);
  EXPECT_EQ(clicks.Count, 0);
  List->SetFocus();
  PostMessageA(List->Handle(), WM_KEYDOWN, VK_DOWN, 0x01500001);
  Application->ProcessMessages();
  EXPECT_EQ(List->ItemIndex(), 1);
  EXPECT_EQ(clicks.Count, 1);
}

TEST_F(StdCtrlsTest, LabelIsPaintedByItsParentAtItsPlace) {
  Label->SetTransparent(false);
  Label->SetColor(clRed);  // not the parent's colour any more
  Form->Show();
  UpdateWindow(Form->Handle());
  RedrawWindow(Group->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(Group->Handle());
  COLORREF inside = GetPixel(dc, Label->Left() + Label->Width() - 1, Label->Top() + 1);
  COLORREF outside = GetPixel(dc, Label->Left() + Label->Width() + 2, Label->Top() + 1);
  ReleaseDC(Group->Handle(), dc);
  EXPECT_EQ(inside, RGB(255, 0, 0));
  EXPECT_NE(outside, RGB(255, 0, 0));
  // AutoSize: the caption's extent.
  EXPECT_GT(Label->Width(), 0);
  EXPECT_LT(Label->Width(), 40);
}

TEST_F(StdCtrlsTest, PageControlTabsFollowSheetsAndSelectionShowsTheSheet) {
  TTabSheet* second = New<TTabSheet>(Form);
  second->SetPageControl(Pages);
  second->SetCaption("More");
  Form->Show();
  EXPECT_EQ(SendMessageA(Pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(Pages->ActivePage(), Sheet);
  EXPECT_TRUE(Sheet->Visible());
  EXPECT_FALSE(second->Visible());
  // The sheet fills the display area.
  TRect d = Pages->DisplayRect();
  EXPECT_EQ(Sheet->BoundsRect(), d);

  Counter changes;
  Pages->OnChange = changes.Event();
  // A user's tab change: TCN_SELCHANGE after the selection moved.
  SendMessageA(Pages->Handle(), TCM_SETCURSEL, 1, 0);
  NMHDR hdr{Pages->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(Form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(Pages->ActivePage(), second);
  EXPECT_TRUE(second->Visible());
  EXPECT_FALSE(Sheet->Visible());
  EXPECT_TRUE(IsWindowVisible(second->Handle()));
}
