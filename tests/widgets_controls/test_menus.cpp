// Menus: handles built from items and rebuilt after changes, the form's
// dispatch of menu messages, owner drawing, modal popups (with a timer
// ticking while they are open) and context menus, and menus read from a form
// description.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixture.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"
#include "widgets/menus/menus.h"
#include "widgets/controls/extctrls.h"
#include "widgets/controls/stdctrls.h"

namespace {

TMenuItem* NewItem(TComponent* Owner, TMenuItem* Parent, const std::string& Caption) {
  auto* i = New<TMenuItem>(Owner);
  i->SetCaption(Caption);
  Parent->Add(i);
  return i;
}

struct TEntry {
  std::string Text;
  UINT Type, State;
  HMENU SubMenu;
};

TEntry Entry(HMENU Menu, int Pos) {
  char text[64] = {};
  MENUITEMINFOA mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
  mi.dwTypeData = text;
  mi.cch = sizeof text;
  GetMenuItemInfoA(Menu, static_cast<UINT>(Pos), TRUE, &mi);
  return {text, mi.fType, mi.fState, mi.hSubMenu};
}

struct TClicks {
  std::vector<std::string> Seen;
  void OnClick(TObject* s) { Seen.push_back(static_cast<TMenuItem*>(s)->Caption()); }
  TNotifyEvent Event() { return TNotifyEvent::Of<&TClicks::OnClick>(this); }
};

// Ends a modal popup that nothing else ends, so a fault fails the test
// instead of hanging it.
void CALLBACK EndTheMenu(HWND, UINT, UINT_PTR, DWORD) {
  EndMenu();
}
struct TPopupGuard {
  UINT_PTR Timer = SetTimer(nullptr, 0, 5000, EndTheMenu);
  ~TPopupGuard() { KillTimer(nullptr, Timer); }
};

class TMenuForm : public TForm {
  DECLARE_CLASS(TMenuForm, TForm)
 public:
  using TForm::TForm;
  int Opened = 0;
  void OpenClick(TObject*) { ++Opened; }
};

}  // namespace

const TClassInfo& TMenuForm::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TMenuForm> b("TMenuForm", &TForm::StaticClass());
    b.Published<TNotifyEvent, &TMenuForm::OpenClick>("OpenClick");
    return b.Done();
  }();
  return info;
}

TEST(MenuHandles, AreBuiltFromTheItemsAndFollowTheirChanges) {
  TComponent owner(nullptr);
  auto* menu = New<TPopupMenu>(&owner);
  TMenuItem* root = menu->Items();
  TMenuItem* open = NewItem(&owner, root, "&Open");
  open->SetShortCut(ShortCut('O', ssCtrl));
  NewItem(&owner, root, "-");
  TMenuItem* checked = NewItem(&owner, root, "Checked");
  checked->SetChecked(true);
  TMenuItem* radioA = NewItem(&owner, root, "Radio A");
  TMenuItem* radioB = NewItem(&owner, root, "Radio B");
  for (TMenuItem* r : {radioA, radioB}) r->SetRadioItem(true);
  radioB->SetChecked(true);
  TMenuItem* off = NewItem(&owner, root, "Off");
  off->SetEnabled(false);
  off->SetDefault(true);
  TMenuItem* hidden = NewItem(&owner, root, "Hidden");
  hidden->SetVisible(false);
  TMenuItem* more = NewItem(&owner, root, "More");
  TMenuItem* deep = NewItem(&owner, more, "Deep");

  HMENU h = menu->Handle();
  struct Expect {
    const char* Text;
    UINT Type, State;
  } expected[] = {
      {"&Open\tCtrl+O", MFT_STRING, 0},
      {"", MFT_SEPARATOR, 0},
      {"Checked", MFT_STRING, MFS_CHECKED},
      {"Radio A", MFT_RADIOCHECK, 0},
      {"Radio B", MFT_RADIOCHECK, MFS_CHECKED},
      {"Off", MFT_STRING, MFS_GRAYED | MFS_DEFAULT},
      {"More", MFT_STRING, 0},
  };
  ASSERT_EQ(GetMenuItemCount(h), 7) << "the hidden item has no entry";
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    TEntry e = Entry(h, i);
    if (expected[i].Type != MFT_SEPARATOR) {
      EXPECT_EQ(e.Text, expected[i].Text);
    }
    EXPECT_EQ(e.Type & (MFT_SEPARATOR | MFT_RADIOCHECK), expected[i].Type);
    EXPECT_EQ(e.State & (MFS_CHECKED | MFS_GRAYED | MFS_DEFAULT), expected[i].State);
  }
  EXPECT_EQ(Entry(h, 6).SubMenu, more->Handle());
  EXPECT_EQ(GetMenuItemID(more->Handle(), 0), deep->Command());

  EXPECT_EQ(menu->FindItem(deep->Command(), fkCommand), deep);
  EXPECT_EQ(menu->FindItem(reinterpret_cast<uintptr_t>(more->Handle()), fkHandle), more);
  EXPECT_EQ(menu->FindItem(ShortCut('O', ssCtrl), fkShortCut), open);
  EXPECT_EQ(menu->FindItem(0xEFFF, fkCommand), nullptr);
  EXPECT_EQ(root->Find("open"), open) << "hotkey markers and case ignored";
  EXPECT_NE(open->Command(), deep->Command());

  radioA->SetChecked(true);
  hidden->SetVisible(true);
  deep->SetCaption("Deeper");
  EXPECT_EQ(GetMenuItemCount(h), 8);
  EXPECT_EQ(Entry(h, 3).State & MFS_CHECKED, UINT(MFS_CHECKED));
  EXPECT_EQ(Entry(h, 4).State & MFS_CHECKED, 0u) << "one radio item of a group is checked";
  EXPECT_FALSE(radioB->Checked());
  EXPECT_EQ(Entry(more->Handle(), 0).Text, "Deeper");

  TObject::Free(more);  // its sub-item goes with it
  EXPECT_EQ(GetMenuItemCount(h), 7);
  EXPECT_EQ(menu->FindItem(ShortCut('O', ssCtrl), fkShortCut), open);
}

TEST(MenuMessages, TheFormDispatchesCommandsPopupsSelectionAndOwnerDraw) {
  TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  auto* menu = New<TMainMenu>(f);
  TMenuItem* file = NewItem(f, menu->Items(), "&File");
  TMenuItem* open = NewItem(f, file, "&Open");
  TMenuItem* drawn = NewItem(f, file, "Drawn");
  TClicks clicks;
  file->OnClick = clicks.Event();
  open->OnClick = clicks.Event();
  f->SetMenu(menu);
  ASSERT_EQ(GetMenu(f->Handle()), menu->Handle()) << "the bar is on the window";

  SendMessageA(f->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->Handle()), 0);
  SendMessageA(f->Handle(), WM_COMMAND, open->Command(), 0);
  EXPECT_EQ(clicks.Seen, (std::vector<std::string>{"&File", "&Open"}));
  SendMessageA(f->Handle(), WM_MENUSELECT, MAKEWPARAM(open->Command(), MF_HILITE),
               reinterpret_cast<LPARAM>(file->Handle()));
  EXPECT_EQ(menu->HighlightedItem(), open);
  SendMessageA(f->Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(menu->HighlightedItem(), nullptr);

  // Owner drawing: measured with the default size first, drawn by the event.
  menu->SetOwnerDraw(true);
  EXPECT_TRUE(Entry(file->Handle(), 1).Type & MFT_OWNERDRAW);
  struct TDraw {
    int DefaultWidth = -1, DefaultHeight = -1;
    TRect Rect;
    TOwnerDrawState State = 0;
    void Measure(TObject*, TCanvas*, int& w, int& h) {
      DefaultWidth = w;
      DefaultHeight = h;
      w = 123;
    }
    void Draw(TObject*, TCanvas* c, TRect r, TOwnerDrawState s) {
      Rect = r;
      State = s;
      c->Brush()->SetColor(clRed);
      c->FillRect(r);
    }
  } d;
  drawn->OnMeasureItem = TMenuMeasureItemEvent::Of<&TDraw::Measure>(&d);
  drawn->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent::Of<&TDraw::Draw>(&d);
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, drawn->Command(), 0, 0, 0};
  EXPECT_EQ(SendMessageA(f->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
  EXPECT_EQ(mis.itemWidth, 123u);
  EXPECT_GT(d.DefaultWidth, 0);
  EXPECT_GE(d.DefaultHeight, GetSystemMetrics(SM_CYMENUCHECK));

  TBitmap target;
  target.SetSize(60, 20);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = drawn->Command();
  dis.itemState = ODS_SELECTED;
  dis.hDC = target.Canvas()->Handle();
  dis.rcItem = RECT{0, 0, 60, 20};
  EXPECT_EQ(SendMessageA(f->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(d.Rect, Rect(0, 0, 60, 20));
  EXPECT_EQ(d.State, TOwnerDrawState(odSelected));
  EXPECT_EQ(GetPixel(target.Canvas()->Handle(), 30, 10), RGB(255, 0, 0));

  // Without events the default look: the selection colour behind the text.
  dis.itemID = open->Command();
  SendMessageA(f->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(GetPixel(target.Canvas()->Handle(), 59, 0), GetSysColor(COLOR_HIGHLIGHT));

  // A menu freed first leaves the window without a dangling bar.
  TObject::Free(menu);
  EXPECT_EQ(GetMenu(f->Handle()), nullptr);
  EXPECT_EQ(f->Menu(), nullptr);
  TObject::Free(f);
}

TEST(PopupMenu, PopupIsModalAndClicksTheChosenItem) {
  TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  f->SetBounds(100, 100, 200, 150);
  f->Show();
  auto* menu = New<TPopupMenu>(f);
  TMenuItem* first = NewItem(f, menu->Items(), "First");
  TMenuItem* second = NewItem(f, menu->Items(), "Second");
  TClicks clicks;
  first->OnClick = clicks.Event();
  second->OnClick = clicks.Event();
  struct TKeys {
    HWND Wnd;
    std::vector<WPARAM> Keys;
    int Popups = 0;
    void OnPopup(TObject*) {
      ++Popups;
      for (WPARAM k : Keys) PostMessageA(Wnd, WM_KEYDOWN, k, 1);
    }
  } keys{f->Handle(), {VK_DOWN, VK_DOWN, VK_RETURN}};
  menu->OnPopup = TNotifyEvent::Of<&TKeys::OnPopup>(&keys);
  {
    TPopupGuard guard;
    menu->Popup(120, 130);
  }
  EXPECT_EQ(keys.Popups, 1);
  EXPECT_EQ(clicks.Seen, (std::vector<std::string>{"Second"})) << "clicked before Popup returns";
  EXPECT_EQ(menu->PopupPoint(), TPoint(120, 130));

  keys.Keys = {VK_ESCAPE};
  {
    TPopupGuard guard;
    menu->Popup(120, 130);
  }
  EXPECT_EQ(clicks.Seen.size(), 1u) << "Esc chooses nothing";
  TObject::Free(f);
}

TEST(PopupMenu, ATimerTicksInsideTheModalPopupAndItsChoiceClicksBeforePopupReturns) {
  // As a split button drops its menu down: the button is the popup
  // component, the menu opens below it, and a timer of the layer (as the
  // button's animations use) keeps ticking while the menu is open.
  TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  f->SetBounds(100, 100, 200, 150);
  auto* button = New<TButton>(f);
  button->SetParent(f);
  button->SetStyle(bsSplitButton);
  f->Show();
  auto* menu = New<TPopupMenu>(f);
  TClicks clicks;
  for (const char* caption : {"First", "Second", "Third"})
    NewItem(f, menu->Items(), caption)->OnClick = clicks.Event();
  struct TChooser {
    HWND Wnd;
    TTimer* Timer = nullptr;
    std::vector<std::string>* Seen = nullptr;
    size_t SeenAtTick = 99;
    void Tick(TObject*) {
      Timer->SetEnabled(false);
      SeenAtTick = Seen->size();
      for (WPARAM k : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(Wnd, WM_KEYDOWN, k, 1);
    }
  };
  for (bool ownerDraw : {false, true}) {
    SCOPED_TRACE(ownerDraw ? "owner-drawn" : "plain");
    clicks.Seen.clear();
    menu->SetOwnerDraw(ownerDraw);
    auto* timer = New<TTimer>(f);
    TChooser chooser{f->Handle(), timer, &clicks.Seen};
    timer->SetInterval(20);
    timer->SetOnTimer(TNotifyEvent::Of<&TChooser::Tick>(&chooser));
    TPoint below = button->ClientToScreen(TPoint(0, button->Height()));
    menu->SetPopupComponent(button);
    {
      TPopupGuard guard;
      menu->Popup(below.X, below.Y);
    }
    EXPECT_EQ(chooser.SeenAtTick, 0u) << "the timer ticked while the menu was open";
    EXPECT_EQ(clicks.Seen, (std::vector<std::string>{"Second"}));
    EXPECT_EQ(menu->PopupComponent(), button);
    EXPECT_EQ(menu->PopupPoint(), below);
    TObject::Free(timer);
  }
  TObject::Free(f);
}

TEST(PopupMenu, ContextMenuShowsTheMenuOfTheControlUnderThePoint) {
  TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  f->SetBounds(100, 100, 300, 200);
  auto* label = New<TLabel>(f);
  label->SetParent(f);
  label->SetBounds(10, 10, 80, 20);
  auto* formMenu = New<TPopupMenu>(f);
  auto* labelMenu = New<TPopupMenu>(f);
  for (TPopupMenu* m : {formMenu, labelMenu}) NewItem(f, m->Items(), "Item");
  f->SetPopupMenu(formMenu);
  label->SetPopupMenu(labelMenu);
  f->Show();
  struct TCancel {
    std::vector<TObject*> Shown;
    void OnPopup(TObject* s) {
      Shown.push_back(s);
      PostMessageA(Application->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    }
  } c;
  formMenu->OnPopup = labelMenu->OnPopup = TNotifyEvent::Of<&TCancel::OnPopup>(&c);
  POINT onLabel{20, 15}, elsewhere{200, 100};
  ClientToScreen(f->Handle(), &onLabel);
  ClientToScreen(f->Handle(), &elsewhere);
  TPopupGuard guard;
  EXPECT_EQ(SendMessageA(f->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f->Handle()),
                         MAKELPARAM(onLabel.x, onLabel.y)),
            1);
  EXPECT_EQ(labelMenu->PopupComponent(), label);
  SendMessageA(f->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f->Handle()),
               MAKELPARAM(elsewhere.x, elsewhere.y));
  EXPECT_EQ(formMenu->PopupComponent(), f);
  EXPECT_EQ(formMenu->PopupPoint(), TPoint(elsewhere.x, elsewhere.y));
  EXPECT_EQ(c.Shown, (std::vector<TObject*>{labelMenu, formMenu}));

  formMenu->SetAutoPopup(false);
  EXPECT_EQ(SendMessageA(f->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f->Handle()),
                         MAKELPARAM(elsewhere.x, elsewhere.y)),
            0)
      << "left to the default handling";
  TObject::Free(labelMenu);
  EXPECT_EQ(label->PopupMenu(), nullptr) << "a freed menu is forgotten";
  TObject::Free(f);
}

TEST(MenuDescription, FormsReadTheirMenusAndBindTheirEvents) {
  TMenuForm* f = New<TMenuForm>(Application);
  ASSERT_TRUE(f->Menu());
  EXPECT_EQ(f->Menu()->Name(), "MainMenu1");
  ASSERT_TRUE(f->PopupMenu());
  EXPECT_EQ(f->PopupMenu()->Items()->Count(), 1);
  TMenuItem* file = f->Menu()->Items()->Find("File");
  ASSERT_TRUE(file);
  ASSERT_EQ(file->Count(), 3);
  EXPECT_TRUE(file->Items(1)->IsLine());
  EXPECT_EQ(file->Items(0)->ShortCut(), ShortCut('O', ssCtrl));
  EXPECT_EQ(file->Items(0)->GetParentComponent(), file);
  EXPECT_EQ(file->GetParentComponent(), f->Menu());
  EXPECT_EQ(GetMenu(f->Handle()), f->Menu()->Handle());
  EXPECT_EQ(Entry(file->Handle(), 0).Text, "&Open\tCtrl+O");
  SendMessageA(f->Handle(), WM_COMMAND, file->Items(0)->Command(), 0);
  EXPECT_EQ(f->Opened, 1);
  TObject::Free(f);
}
