// Setter message order, reflection of every child notification kind as
// CN_* on the child, and the object as the truth about state and bounds.
#include <gtest/gtest.h>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"

namespace {

struct TLogged {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  bool operator==(const TLogged&) const = default;
};

// Logs the messages in Filter that reach WindowProc (on entry), then passes
// them on. With Consume set, CN_* messages are answered here with 0x1234.
struct TLog {
  TControl* Control = nullptr;
  TWndMethod Old;
  std::vector<UINT> Filter;
  std::vector<TLogged> Seen;
  bool ConsumeReflected = false;
  int WidthAtSize = -1;
  void Attach(TControl* c, std::vector<UINT> filter) {
    Control = c;
    Filter = std::move(filter);
    Old = c->WindowProc;
    c->WindowProc = TWndMethod::Of<&TLog::Hook>(this);
  }
  void Detach() {
    if (Control) Control->WindowProc = Old;
    Control = nullptr;
  }
  void Hook(TMessage& m) {
    bool wanted = Filter.empty() || std::find(Filter.begin(), Filter.end(), m.Msg) != Filter.end();
    if (wanted) Seen.push_back({m.Msg, m.WParam, m.LParam});
    if (m.Msg == WM_SIZE) WidthAtSize = Control->Width();
    if (ConsumeReflected && m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x1000) {
      m.Result = 0x1234;
      return;
    }
    Old(m);
  }
  std::vector<UINT> Msgs() const {
    std::vector<UINT> r;
    for (auto& s : Seen) r.push_back(s.Msg);
    return r;
  }
};

const std::vector<UINT> kStateMessages = {
    CM_VISIBLECHANGED, CM_SHOWINGCHANGED,    CM_ENABLEDCHANGED,     CM_COLORCHANGED, CM_FONTCHANGED,
    CM_TEXTCHANGED,    CM_PARENTFONTCHANGED, CM_PARENTCOLORCHANGED, WM_SETTEXT,      WM_ENABLE,
    WM_SETFONT};

}  // namespace

TEST_F(FormTest, SettersSendTheirMessagesInOrder) {
  TEdit* e = New<TEdit>(Form);
  e->SetParent(Form);
  e->SetParentFont(true);
  Form->Show();
  ASSERT_TRUE(e->HandleAllocated());

  struct Case {
    const char* Name;
    void (*Act)(TEdit*);
    std::vector<UINT> Expect;
  } cases[] = {
      {"hide", [](TEdit* c) { c->SetVisible(false); }, {CM_VISIBLECHANGED, CM_SHOWINGCHANGED}},
      {"show", [](TEdit* c) { c->SetVisible(true); }, {CM_VISIBLECHANGED, CM_SHOWINGCHANGED}},
      {"show again", [](TEdit* c) { c->SetVisible(true); }, {}},
      {"disable", [](TEdit* c) { c->SetEnabled(false); }, {CM_ENABLEDCHANGED, WM_ENABLE}},
      {"enable", [](TEdit* c) { c->SetEnabled(true); }, {CM_ENABLEDCHANGED, WM_ENABLE}},
      {"colour", [](TEdit* c) { c->SetColor(clRed); }, {CM_COLORCHANGED}},
      {"text", [](TEdit* c) { c->SetText("+4.5"); }, {WM_SETTEXT, CM_TEXTCHANGED}},
      {"same text", [](TEdit* c) { c->SetText("+4.5"); }, {}},
      {"font", [](TEdit* c) { c->Font()->SetName("Tahoma"); }, {CM_FONTCHANGED, WM_SETFONT}},
      {"follow the parent again",
       [](TEdit* c) { c->SetParentFont(true); },
       {CM_PARENTFONTCHANGED, CM_FONTCHANGED, WM_SETFONT}},
      {"parent font",
       [](TEdit* c) { c->Parent()->Font()->SetHeight(-13); },
       {CM_PARENTFONTCHANGED, CM_FONTCHANGED, WM_SETFONT}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TLog log;
    log.Attach(e, kStateMessages);
    c.Act(e);
    log.Detach();
    EXPECT_EQ(log.Msgs(), c.Expect);
  }
  EXPECT_EQ(e->Font()->Height(), -13) << "the parent's font reached the child";
}

TEST_F(FormTest, VisibleChangedCarriesTheNewValueAndParentsHearOfChildren) {
  TEdit* e = New<TEdit>(Form);
  TLog parentLog;
  parentLog.Attach(Form, {CM_CONTROLLISTCHANGING, CM_CONTROLLISTCHANGE});
  e->SetParent(Form);
  e->SetParent(nullptr);
  parentLog.Detach();
  auto w = reinterpret_cast<WPARAM>(e);
  EXPECT_EQ(parentLog.Seen, (std::vector<TLogged>{{CM_CONTROLLISTCHANGING, w, 1},
                                                  {CM_CONTROLLISTCHANGE, w, 1},
                                                  {CM_CONTROLLISTCHANGING, w, 0},
                                                  {CM_CONTROLLISTCHANGE, w, 0}}));
  TLog log;
  log.Attach(e, {CM_VISIBLECHANGED});
  e->SetVisible(false);
  e->SetVisible(true);
  log.Detach();
  EXPECT_EQ(log.Seen, (std::vector<TLogged>{{CM_VISIBLECHANGED, 0, 0}, {CM_VISIBLECHANGED, 1, 0}}));
}

TEST_F(FormTest, ObjectStateIsTheTruth) {
  TEdit* e = New<TEdit>(Form);
  e->SetParent(Form);
  Form->Show();
  // WM_SETREDRAW(FALSE) clears WS_VISIBLE under Wine; Visible does not follow.
  SendMessageA(e->Handle(), WM_SETREDRAW, FALSE, 0);
  EXPECT_TRUE(e->Visible());
  EXPECT_TRUE(e->Showing());
  SendMessageA(e->Handle(), WM_SETREDRAW, TRUE, 0);
  // Bounds are the object's before any paint the move causes.
  TLog log;
  log.Attach(e, {});
  e->SetBounds(10, 12, 77, 21);
  log.Detach();
  EXPECT_EQ(log.WidthAtSize, 77);
  EXPECT_EQ(e->BoundsRect(), Bounds(10, 12, 77, 21));
  // A move by someone else reaches the object too.
  MoveWindow(e->Handle(), 20, 22, 50, 21, TRUE);
  EXPECT_EQ(e->BoundsRect(), Bounds(20, 22, 50, 21));
}

TEST_F(FormTest, ParentReflectsEveryNotificationKindToTheChild) {
  TEdit* child = New<TEdit>(Form);
  child->SetParent(Form);
  Form->Show();
  HWND c = child->Handle();
  HWND p = Form->Handle();
  auto cl = reinterpret_cast<LPARAM>(c);

  NMHDR nm{c, 1, 99};
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.hwndItem = c;
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_LISTBOX;
  mis.CtlID = static_cast<UINT>(GetDlgCtrlID(c));
  DELETEITEMSTRUCT del{};
  del.CtlType = ODT_LISTBOX;
  del.hwndItem = c;
  COMPAREITEMSTRUCT cmp{};
  cmp.CtlType = ODT_LISTBOX;
  cmp.hwndItem = c;
  HDC dc = GetDC(c);
  auto dcw = reinterpret_cast<WPARAM>(dc);

  struct Case {
    UINT Msg;
    WPARAM W;
    LPARAM L;
  } cases[] = {
      {WM_COMMAND, MAKEWPARAM(7, EN_CHANGE), cl},
      {WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm)},
      {WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), cl},
      {WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), cl},
      {WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&dis)},
      {WM_MEASUREITEM, 1, reinterpret_cast<LPARAM>(&mis)},
      {WM_DELETEITEM, 1, reinterpret_cast<LPARAM>(&del)},
      {WM_COMPAREITEM, 1, reinterpret_cast<LPARAM>(&cmp)},
      {WM_CTLCOLORMSGBOX, dcw, cl},
      {WM_CTLCOLOREDIT, dcw, cl},
      {WM_CTLCOLORLISTBOX, dcw, cl},
      {WM_CTLCOLORBTN, dcw, cl},
      {WM_CTLCOLORDLG, dcw, cl},
      {WM_CTLCOLORSCROLLBAR, dcw, cl},
      {WM_CTLCOLORSTATIC, dcw, cl},
      {WM_CHARTOITEM, MAKEWPARAM('a', 0), cl},
      {WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 0), cl},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Msg);
    TLog log;
    log.ConsumeReflected = true;
    log.Attach(child, {});
    LRESULT r = SendMessageA(p, k.Msg, k.W, k.L);
    log.Detach();
    ASSERT_EQ(log.Seen.size(), 1u);
    EXPECT_EQ(log.Seen[0], (TLogged{CN_BASE + k.Msg, k.W, k.L}));
    EXPECT_EQ(r, 0x1234) << "the child's result is the parent's answer";
  }

  // Menus, accelerators and everything else stay with the parent.
  DRAWITEMSTRUCT menuItem{};
  menuItem.CtlType = ODT_MENU;
  menuItem.hwndItem = reinterpret_cast<HWND>(CreatePopupMenu());
  struct NotCase {
    UINT Msg;
    WPARAM W;
    LPARAM L;
  } others[] = {
      {WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&menuItem)},
      {WM_COMMAND, MAKEWPARAM(100, 0), 0},
      {WM_USER + 1, 0, cl},
      {WM_PARENTNOTIFY, WM_LBUTTONDOWN, 0},
  };
  for (const NotCase& k : others) {
    SCOPED_TRACE(k.Msg);
    TLog log;
    log.Attach(child, {});
    SendMessageA(p, k.Msg, k.W, k.L);
    log.Detach();
    EXPECT_TRUE(log.Seen.empty());
  }
  DestroyMenu(reinterpret_cast<HMENU>(menuItem.hwndItem));
  ReleaseDC(c, dc);
}
