// What the page control does with pages, keys and the mouse, unskinned as
// the programs ship: allowed changes, keys that skip hidden or refused
// pages, the close flow, tab kinds, rotated captions, hover events and tab
// hints, a paint into a given DC, and a tab menu whose item frees the form.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "page_fixture.h"
#include "widgets/menus/menus.h"

namespace {

struct Veto {
  TsTabSheet* Refused = nullptr;
  int Asked = 0;
  void Changing(TObject*, TsTabSheet* Page, bool& Allow) {
    ++Asked;
    if (Page == Refused) Allow = false;
  }
};

class PageBehaviour : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    MakeSheets({"Alpha", "Beta", "Gamma", "Delta"});
    Pages->OnPageChanging = TvlTabChangingEvent::Of<&Veto::Changing>(&veto_);
  }
  // The centre of a page's close button, in the control's client area.
  TPoint CloseCentre(int Index) {
    const bool active = Index == Pages->ActivePageIndex();
    const TRect tab = active ? Pages->SkinTabRect(Index, true) : Pages->PageTabRect(Index);
    HDC dc = GetDC(Pages->Handle());
    HGDIOBJ old = SelectObject(dc, Pages->Font()->Handle());
    const TabContentLayout L = Pages->LayoutTabContent(
        dc, Pages->Page(Index), false, active ? 2 : 1, TRect(0, 0, tab.Width(), tab.Height()));
    SelectObject(dc, old);
    ReleaseDC(Pages->Handle(), dc);
    const TPoint c = Centre(L.CloseRect);
    return TPoint(tab.Left + c.X, tab.Top + c.Y);
  }
  void Click(UINT Msg, const TPoint& P) { SendMessageA(Pages->Handle(), Msg, 0, At(P)); }
  Veto veto_;
};

TEST_F(PageBehaviour, CanChangeToRefusesButtonsVetoesAndInaccessibleDisabledPages) {
  const struct {
    const char* Name;
    int Page;  // -1: nil
    TvlTabType Type;
    bool Enabled, Accessible, Vetoed;
    bool Expected;
  } cases[] = {
      {"nil", -1, ttTab, true, true, false, false},
      {"a tab", 1, ttTab, true, true, false, true},
      {"a button tab", 1, ttButton, true, true, false, false},
      {"a menu tab", 1, ttMenu, true, true, false, false},
      {"disabled, accessible", 1, ttTab, false, true, false, true},
      {"disabled, not accessible", 1, ttTab, false, false, false, false},
      {"vetoed", 1, ttTab, true, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TsTabSheet* p = c.Page < 0 ? nullptr : Sheets[size_t(c.Page)];
    if (p) {
      p->SetTabType(c.Type);
      p->SetEnabled(c.Enabled);
    }
    Pages->AccessibleDisabledPages = c.Accessible;
    veto_.Refused = c.Vetoed ? p : nullptr;
    veto_.Asked = 0;
    EXPECT_EQ(Pages->CanChangeTo(p), c.Expected);
    // The event is asked only about pages that could be chosen at all.
    EXPECT_EQ(veto_.Asked, c.Expected || c.Vetoed ? 1 : 0);
    if (p) {
      p->SetTabType(ttTab);
      p->SetEnabled(true);
    }
  }
}

TEST_F(PageBehaviour, ArrowKeysSkipHiddenTabsAndStopAtRefusedPages) {
  struct Case {
    const char* Name;
    int Hidden, Button, Disabled, Refused;  // page indexes, -1 none
    bool Accessible;
    int Start;
    WPARAM Key;
    const char* Expected;
  };
  const Case cases[] = {
      {"right", -1, -1, -1, -1, true, 0, VK_RIGHT, "Beta"},
      {"right over a hidden tab", 1, -1, -1, -1, true, 0, VK_RIGHT, "Gamma"},
      {"right onto a button tab", -1, 1, -1, -1, true, 0, VK_RIGHT, "Alpha"},
      {"left of the first", -1, -1, -1, -1, true, 0, VK_LEFT, "Alpha"},
      {"left", -1, -1, -1, -1, true, 2, VK_LEFT, "Beta"},
      {"right of the last", -1, -1, -1, -1, true, 3, VK_RIGHT, "Delta"},
      {"right onto a refused page", -1, -1, -1, 3, true, 2, VK_RIGHT, "Gamma"},
      {"onto a disabled page", -1, -1, 1, -1, true, 0, VK_RIGHT, "Beta"},
      {"onto an inaccessible page", -1, -1, 1, -1, false, 0, VK_RIGHT, "Alpha"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    for (int i = 0; i < 4; ++i) {
      Sheets[size_t(i)]->SetTabVisible(i != c.Hidden);
      Sheets[size_t(i)]->SetTabType(i == c.Button ? ttButton : ttTab);
      Sheets[size_t(i)]->SetEnabled(i != c.Disabled);
    }
    Pages->AccessibleDisabledPages = c.Accessible;
    veto_.Refused = c.Refused >= 0 ? Sheets[size_t(c.Refused)] : nullptr;
    Pages->SetActivePage(Sheets[size_t(c.Start)]);
    PumpMessages();
    ASSERT_EQ(Pages->ActivePage(), Sheets[size_t(c.Start)]);
    SendMessageA(Pages->Handle(), WM_KEYDOWN, c.Key, 0);
    SendMessageA(Pages->Handle(), WM_KEYUP, c.Key, 0);
    PumpMessages();
    EXPECT_EQ(ActiveCaption(), c.Expected);
    // The platform's selection follows the page.
    EXPECT_EQ(Pages->TabIndex(), Pages->ActivePage()->TabIndex());
  }
}

TEST_F(PageBehaviour, CtrlTabGoesToTheNextVisibleAllowedPageAndWraps) {
  SetForegroundWindow(Form->Handle());
  ::SetFocus(Pages->Handle());
  PumpMessages();
  BYTE keys[256];
  GetKeyboardState(keys);
  const BYTE saved = keys[VK_CONTROL];
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  const struct {
    const char* Name;
    int Hidden, Refused, Start;
    const char* Expected;
  } cases[] = {
      {"next", -1, -1, 0, "Beta"},
      {"over a hidden tab", 1, -1, 0, "Gamma"},
      {"from the last to the first", -1, -1, 3, "Alpha"},
      {"onto a refused page", -1, 1, 0, "Alpha"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (int i = 0; i < 4; ++i) Sheets[size_t(i)]->SetTabVisible(i != c.Hidden);
    veto_.Refused = c.Refused >= 0 ? Sheets[size_t(c.Refused)] : nullptr;
    Pages->SetActivePage(Sheets[size_t(c.Start)]);
    ::SetFocus(Pages->Handle());
    Pages->Perform(CM_DIALOGKEY, VK_TAB, 0);
    PumpMessages();
    EXPECT_EQ(ActiveCaption(), c.Expected);
  }
  keys[VK_CONTROL] = saved;
  SetKeyboardState(keys);
}

struct CloseChoice {
  bool CanClose = true;
  TvlCloseAction Action = vlaFree;
  int Asked = -1;
  void Click(TObject*, int Tab, bool& CanCloseOut, TvlCloseAction& ActionOut) {
    Asked = Tab;
    CanCloseOut = CanClose;
    ActionOut = Action;
  }
};

TEST_F(PageBehaviour, CloseButtonsCloseOnlyWhenArmedAndActivateByIndex) {
  struct Case {
    const char* Name;
    const char* Pages;  // captions' first letters
    int Active, Close;
    bool Armed, CanClose;
    TvlCloseAction Action;
    const char* ExpectedPages;  // "_" for a hidden tab
    const char* ExpectedActive;
    int Changes;
  };
  const Case cases[] = {
      {"free one right of the active", "ABCD", 0, 2, true, true, vlaFree, "ABD", "A", 1},
      {"free one left of the active", "ABCD", 2, 0, true, true, vlaFree, "BCD", "D", 1},
      // The former index is gone: the control activates nothing itself.
      {"free the last, active", "ABCD", 3, 3, true, true, vlaFree, "ABC", "-", 0},
      {"hide the active", "ABCD", 1, 1, true, true, vlaHide, "A_CD", "C", 1},
      {"hide the last, active", "ABCD", 3, 3, true, true, vlaHide, "ABC_", "C", 1},
      {"not armed", "ABCD", 2, 2, false, true, vlaFree, "ABCD", "C", 0},
      {"refused", "ABCD", 0, 1, true, false, vlaFree, "ABCD", "A", 0},
      {"the only page", "A", 0, 0, true, true, vlaFree, "", "-", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    PageFixture::SetUp();
    Sheets.clear();
    std::vector<std::string> captions;
    for (const char* p = c.Pages; *p; ++p) captions.push_back(std::string(1, *p));
    MakeSheets(captions);
    Pages->SetBoolProp(TsPageControl::bpShowCloseBtns, true);
    EventLog log;
    Pages->OnChange = TNotifyEvent::Of<&EventLog::Change>(&log);
    CloseChoice choice{c.CanClose, c.Action};
    Pages->OnCloseBtnClick = TvlCloseBtnClick::Of<&CloseChoice::Click>(&choice);
    Pages->SetActivePage(Sheets[size_t(c.Active)]);
    PumpMessages();
    CloseArmed = false;
    const TPoint close = CloseCentre(c.Close);
    if (c.Armed) {
      Click(WM_LBUTTONDOWN, close);
      EXPECT_TRUE(CloseArmed);
      EXPECT_EQ(Pages->PressedCloseIndex, c.Close);
    }
    Click(WM_LBUTTONUP, close);
    PumpMessages();
    EXPECT_EQ(choice.Asked, c.Armed ? c.Close : -1);
    EXPECT_EQ(Captions(), c.ExpectedPages);
    EXPECT_EQ(ActiveCaption(), c.ExpectedActive);
    EXPECT_EQ(log.Seen.size(), size_t(c.Changes));
    EXPECT_FALSE(CloseArmed);
    EXPECT_EQ(Pages->PressedCloseIndex, -1);
  }
}

TEST_F(PageBehaviour, TabKindsBringTheirSkinsAndLeaveTheActivePage) {
  const struct {
    const char* Name;
    const char* Skin;
    TvlTabType From, To;
    const char* Expected;
  } cases[] = {
      {"button", "", ttTab, ttButton, "SPEEDBUTTON"},
      {"menu", "", ttTab, ttMenu, "MENUBTN"},
      {"back to a tab", "", ttButton, ttTab, ""},
      {"an own skin stays", "RIBBONTAB", ttTab, ttButton, "RIBBONTAB"},
      {"an own skin of a button goes with it", "MYBTN", ttButton, ttTab, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TsTabSheet* s = Sheets[2];
    s->SetTabType(c.From);
    s->SetTabSkin(c.Skin);
    s->SetTabType(c.To);
    EXPECT_EQ(s->TabSkin(), c.Expected);
    s->SetTabType(ttTab);
    s->SetTabSkin("");
  }
  // The active page turning into a button hands the page on.
  Pages->SetActivePage(Sheets[1]);
  Sheets[1]->SetTabType(ttButton);
  EXPECT_EQ(ActiveCaption(), "Gamma");
  // With every later page a button too, the nearest before it.
  Sheets[2]->SetTabType(ttMenu);
  Sheets[3]->SetTabType(ttButton);
  Pages->SetActivePage(Sheets[3]);
  EXPECT_EQ(ActiveCaption(), "Alpha");
}

TEST_F(PageBehaviour, RotatedCaptionsKeepTabsAtLeast140Long) {
  for (TTabPosition position : {tpTop, tpLeft, tpBottom, tpRight}) {
    SCOPED_TRACE(position);
    Pages->SetTabPosition(position);
    PumpMessages();
    const TRect first = Pages->PageTabRect(0);
    const bool side = position == tpLeft || position == tpRight;
    Pages->SetBoolProp(TsPageControl::bpRotateCaptions, true);
    EXPECT_GE(Pages->TabHeight(), 140);
    EXPECT_EQ(Pages->TabHeight(), std::max(side ? first.Height() : first.Width(), 140));
    EXPECT_EQ(Pages->TabWidth(), side ? first.Width() : first.Height());
    Pages->SetBoolProp(TsPageControl::bpRotateCaptions, false);
    EXPECT_EQ(Pages->TabHeight(), 0);
    EXPECT_EQ(Pages->TabWidth(), 0);
  }
}

TEST_F(PageBehaviour, HoverEventsPairAndTabHintsComeFromTheirPage) {
  EventLog log;
  Pages->OnTabMouseEnter = TvlTabMouseEvent::Of<&EventLog::Enter>(&log);
  Pages->OnTabMouseLeave = TvlTabMouseEvent::Of<&EventLog::Leave>(&log);
  const TPoint page = Centre(Pages->DisplayRect());
  const struct {
    TPoint Where;
    const char* Name;
  } moves[] = {{Centre(Pages->PageTabRect(1)), "Beta"},
               {Centre(Pages->PageTabRect(2)), "Gamma"},
               {Centre(Pages->PageTabRect(0)), "active Alpha"},
               {page, "the page"},
               {Centre(Pages->PageTabRect(0)), "Alpha again"}};
  for (const auto& m : moves) SendMessageA(Pages->Handle(), WM_MOUSEMOVE, 0, At(m.Where));
  SendMessageA(Pages->Handle(), CM_MOUSELEAVE, 0, 0);
  // Coming from another tab, the active tab takes no hot look and no
  // enter; the next move over it does.
  EXPECT_EQ(log.Seen, (std::vector<std::string>{"enter 1", "leave 1", "enter 2", "leave 2",
                                                "enter 0", "leave 0"}));
  EXPECT_EQ(Pages->HotTab, -1);

  Sheets[1]->SetHint("Second page");
  std::string hint;
  TPoint at;
  ASSERT_TRUE(Pages->TabHintAt(Centre(Pages->PageTabRect(1)), hint, at));
  EXPECT_EQ(hint, "Second page");
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(at, TPoint(cursor.x + GetSystemMetrics(SM_CXCURSOR) / 2,
                       cursor.y + GetSystemMetrics(SM_CYCURSOR) / 2));
  EXPECT_FALSE(Pages->TabHintAt(Centre(Pages->PageTabRect(2)), hint, at)) << "no hint there";
  EXPECT_FALSE(Pages->TabHintAt(page, hint, at)) << "not on a tab";
}

TEST_F(PageBehaviour, MouseOverATabPaintsWhatIsPendingWithoutRunningTheQueue) {
  constexpr UINT kProbe = WM_APP + 57;
  InvalidateRect(Pages->Handle(), nullptr, FALSE);
  PostMessageA(Form->Handle(), kProbe, 0, 0);
  SendMessageA(Pages->Handle(), WM_MOUSEMOVE, 0, At(Centre(Pages->PageTabRect(1))));
  // The hot tab may ask for its own repaint; the rest was painted.
  HRGN pending = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(Pages->Handle(), pending, FALSE);
  const TPoint page = Centre(Pages->DisplayRect());
  EXPECT_FALSE(PtInRegion(pending, page.X, page.Y)) << "painted and validated";
  DeleteObject(pending);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, Form->Handle(), kProbe, kProbe, PM_REMOVE))
      << "the queue was left alone";
}

TEST_F(PageBehaviour, APaintIntoAGivenDCLeavesTheUpdateRegion) {
  constexpr COLORREF kSentinel = RGB(255, 0, 255);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, Pages->Width(), Pages->Height());
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, Pages->Width(), Pages->Height()};
  HBRUSH brush = CreateSolidBrush(kSentinel);
  FillRect(mem, &all, brush);
  DeleteObject(brush);
  RedrawWindow(Pages->Handle(), nullptr, nullptr, RDW_VALIDATE | RDW_UPDATENOW);
  InvalidateRect(Pages->Handle(), nullptr, FALSE);
  SendMessageA(Pages->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(mem), 0);
  const TRect d = Pages->DisplayRect();
  EXPECT_NE(GetPixel(mem, d.Left + 1, d.Bottom - 2), kSentinel) << "the frame went into the DC";
  EXPECT_NE(GetPixel(mem, 2, 2), kSentinel) << "so did the row behind the tabs";
  RECT pending;
  EXPECT_TRUE(GetUpdateRect(Pages->Handle(), &pending, FALSE));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

void CALLBACK EndTheMenu(HWND, UINT, UINT_PTR, DWORD) {
  EndMenu();
}

struct TFormFreer {
  TForm** Form = nullptr;
  TsPageControl* OwnerDuringPopup = nullptr;
  void Choose(TObject*) {
    OwnerDuringPopup = TabMenuOwner;
    for (WPARAM k : {VK_DOWN, VK_RETURN}) PostMessageA((*Form)->Handle(), WM_KEYDOWN, k, 1);
  }
  void FreeForm(TObject*) {
    TObject::Free(*Form);
    *Form = nullptr;
  }
};

TEST_F(PageBehaviour, ATabMenuItemMayFreeTheFormOfItsPageControl) {
  auto menu = OwnObject(New<TPopupMenu>(nullptr));
  auto* item = New<TMenuItem>(menu.get());
  item->SetCaption("Close everything");
  menu->Items()->Add(item);
  Sheets[2]->SetTabType(ttMenu);
  Sheets[2]->SetTabMenu(menu.get());
  PumpMessages();
  TFormFreer freer{&Form};
  menu->OnPopup = TNotifyEvent::Of<&TFormFreer::Choose>(&freer);
  item->OnClick = TNotifyEvent::Of<&TFormFreer::FreeForm>(&freer);
  const HWND wnd = Pages->Handle();
  const TPoint tab = Centre(Pages->PageTabRect(2));
  {
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, EndTheMenu);
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(tab));
    KillTimer(nullptr, guard);
  }
  PumpMessages();
  EXPECT_EQ(freer.OwnerDuringPopup, Pages) << "the open menu's page control is known";
  EXPECT_EQ(Form, nullptr) << "the item ran";
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(TabMenuOwner, nullptr);
}

}  // namespace
