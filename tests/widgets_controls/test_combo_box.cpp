// The combo box's subclassed children, typing that completes or searches,
// the reflected owner-draw messages, and what its new properties store.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/form_reader.h"

namespace {

constexpr UINT kGetMinVisible = 0x1702;  // the version 6 answer to CB_SETMINVISIBLE

// Records which child windows' messages ComboWndProc saw.
class TRecordingCombo : public TComboBox {
 public:
  using TComboBox::TComboBox;
  std::vector<std::pair<HWND, UINT>> Seen;
  int LButtonDowns = 0;
  int LButtonDblClks = 0;
  bool SwallowChars = false;

 protected:
  void ComboWndProc(TMessage& m, HWND wnd, TObjectInstance& proc) override {
    Seen.emplace_back(wnd, m.Msg);
    if (SwallowChars && m.Msg == WM_CHAR) return;
    TComboBox::ComboWndProc(m, wnd, proc);
  }
  void WMLButtonDown(TMessage& m) override {
    ++LButtonDowns;  // and the list never opens
    m.Result = 0;
  }
  void WMLButtonDblClk(TMessage& m) override {
    ++LButtonDblClks;
    m.Result = 0;
  }
};

bool SawMessage(const TRecordingCombo& c, HWND wnd, UINT msg) {
  for (const auto& s : c.Seen)
    if (s.first == wnd && s.second == msg) return true;
  return false;
}

HWND watched = nullptr;
LONG_PTR procAtDestroy = 0;

// Notes the watched window's procedure as it is being destroyed.
LRESULT CALLBACK WatchDestroy(int code, WPARAM w, LPARAM l) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  if (code == HC_ACTION && cwp->hwnd == watched && cwp->message == WM_DESTROY)
    procAtDestroy = GetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC);
  return CallNextHookEx(nullptr, code, w, l);
}

LONG_PTR ProcOf(HWND h) {
  return GetWindowLongPtrA(h, GWLP_WNDPROC);
}

class ComboTest : public FormTest {
 protected:
  TRecordingCombo* Make(TComboBoxStyle style) {
    auto* c = New<TRecordingCombo>(Form);
    c->SetParent(Form);
    c->SetStyle(style);
    for (const char* s : {"Hall", "Hit", "Plate", "Room"}) c->Items()->Add(s);
    return c;
  }
  static std::string EditText(HWND edit) {
    char buf[64] = {};
    GetWindowTextA(edit, buf, sizeof(buf));
    return buf;
  }
};

}  // namespace

TEST_F(ComboTest, ChildWindowsGoThroughComboWndProcUntilTheWindowGoes) {
  struct Case {
    TComboBoxStyle Style;
    bool Edit, List;
  } cases[] = {{csDropDown, true, false}, {csSimple, true, true}, {csDropDownList, false, false}};
  Form->Show();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Style);
    auto* c = Make(k.Style);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(c->Handle(), &info));
    HWND edit = info.hwndItem != c->Handle() ? info.hwndItem : nullptr;
    EXPECT_EQ(c->EditHandle(), k.Edit ? edit : nullptr);
    EXPECT_EQ(c->ListHandle() != nullptr, k.List);
    if (k.Edit) {
      SendMessageA(edit, WM_USER + 7, 0, 0);
      EXPECT_TRUE(SawMessage(*c, edit, WM_USER + 7));
    }
    if (k.List) {
      SendMessageA(info.hwndList, WM_USER + 8, 0, 0);
      EXPECT_TRUE(SawMessage(*c, info.hwndList, WM_USER + 8));
    }
    // The subclass goes with the window: the children get their own
    // procedures back, and a new window is subclassed again.
    LONG_PTR ours = k.Edit ? ProcOf(edit) : 0;
    c->SetSorted(true);  // a new window
    if (k.Edit) {
      EXPECT_NE(c->EditHandle(), nullptr);
      EXPECT_EQ(ProcOf(c->EditHandle()), ours);
    }
    c->Free();
  }
}

TEST_F(ComboTest, SubclassedEditGetsItsOwnProcedureBackBeforeItIsDestroyed) {
  Form->Show();
  auto* c = Make(csDropDown);
  HWND edit = c->EditHandle();
  ASSERT_NE(edit, nullptr);
  LONG_PTR ours = ProcOf(edit);
  // A plain edit of the same kind shows the procedure the platform gives.
  HWND plainCombo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 80, 80,
                                    Form->Handle(), nullptr, nullptr, nullptr);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(plainCombo, &info);
  LONG_PTR platform = ProcOf(info.hwndItem);
  DestroyWindow(plainCombo);
  ASSERT_NE(ours, platform);

  // Watch the edit's destruction from a hook that reads its procedure then.
  watched = edit;
  procAtDestroy = 0;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchDestroy, nullptr, GetCurrentThreadId());
  c->Free();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(procAtDestroy, platform);
}

TEST_F(ComboTest, TypingInTheEditCompletesToTheFirstMatchingItem) {
  struct Case {
    bool AutoComplete;
    const char* Typed;
    const char* Text;
    int SelStart;
  } cases[] = {
      {true, "P", "Plate", 1},
      {true, "hi", "hit", 2},  // the typed case is kept
      {true, "X", "X", 1},
      {false, "P", "P", 1},
  };
  Form->Show();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Typed);
    auto* c = Make(csDropDown);
    c->SetAutoComplete(k.AutoComplete);
    HWND edit = c->EditHandle();
    for (const char* p = k.Typed; *p; ++p) SendMessageA(edit, WM_CHAR, static_cast<BYTE>(*p), 1);
    EXPECT_TRUE(SawMessage(*c, edit, WM_CHAR));
    EXPECT_EQ(EditText(edit), k.Text);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(static_cast<int>(start), k.SelStart);
    EXPECT_EQ(end, std::strlen(k.Text));
    c->Free();
  }
}

TEST_F(ComboTest, AnOverriddenComboWndProcCanKeepKeysFromTheEdit) {
  Form->Show();
  auto* c = Make(csDropDown);
  c->SwallowChars = true;
  SendMessageA(c->EditHandle(), WM_CHAR, 'P', 1);
  EXPECT_EQ(EditText(c->EditHandle()), "");
}

TEST_F(ComboTest, DropDownListSearchGathersKeysWithinTheDelay) {
  // Delay 0 starts every key afresh; a long one gathers them. Neither
  // depends on how fast the keys arrive.
  struct Case {
    unsigned Delay;
    const char* Keys;
    int Index;
  } cases[] = {
      {100000, "ho", -1}, {100000, "hi", 1},   {100000, "pl", 2}, {0, "hr", 3},
      {0, "rh", 0},       {100000, "hi\b", 0},  // backspace shortens the search to "h": Hall again
  };
  Form->Show();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Keys);
    auto* c = Make(csDropDownList);
    c->SetAutoCompleteDelay(k.Delay);
    int changes = 0;
    struct Count {
      int* N;
      void Hit(TObject*) { ++*N; }
    } count{&changes};
    c->OnChange = TNotifyEvent::Of<&Count::Hit>(&count);
    for (const char* p = k.Keys; *p; ++p)
      SendMessageA(c->Handle(), WM_CHAR, static_cast<BYTE>(*p), 1);
    // "ho" matches nothing after "h" picked Hall: Hall stays.
    int expect = k.Index < 0 ? 0 : k.Index;
    EXPECT_EQ(c->ItemIndex(), expect);
    EXPECT_GE(changes, 1);
    c->OnChange = nullptr;
    c->Free();
  }
}

TEST_F(ComboTest, AutoDropDownOpensTheListOnATypedKeyOnly) {
  Form->Show();
  for (bool autoDrop : {false, true}) {
    SCOPED_TRACE(autoDrop);
    auto* c = Make(csDropDownList);
    c->SetAutoDropDown(autoDrop);
    c->SetFocus();
    SendMessageA(c->Handle(), WM_CHAR, VK_ESCAPE, 1);  // not a typed character
    EXPECT_FALSE(c->DroppedDown());
    SendMessageA(c->Handle(), WM_CHAR, 'r', 1);
    EXPECT_EQ(c->DroppedDown(), autoDrop);
    SendMessageA(c->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    c->Free();
  }
}

TEST_F(ComboTest, MouseButtonsGoThroughTheOverridableHandlers) {
  Form->Show();
  auto* c = Make(csDropDownList);
  SendMessageA(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(c->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(c->LButtonDowns, 1);
  EXPECT_EQ(c->LButtonDblClks, 1);
  EXPECT_FALSE(c->DroppedDown());
}

TEST_F(ComboTest, CharCaseAndDropDownCountReachTheWindow) {
  Form->Show();
  struct Case {
    TEditCharCase Case;
    LONG_PTR Style;
  } cases[] = {{ecNormal, 0}, {ecUpperCase, ES_UPPERCASE}, {ecLowerCase, ES_LOWERCASE}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Case);
    auto* c = Make(csDropDown);
    c->SetCharCase(k.Case);
    LONG_PTR style = GetWindowLongPtrA(c->EditHandle(), GWL_STYLE);
    EXPECT_EQ(style & (ES_UPPERCASE | ES_LOWERCASE), k.Style);
    c->Free();
  }
  auto* c = Make(csDropDownList);
  // Version 6 lists answer the least number of rows they show.
  if (SendMessageA(c->Handle(), kGetMinVisible, 0, 0) != 0) {
    EXPECT_EQ(SendMessageA(c->Handle(), kGetMinVisible, 0, 0), 8);
    c->SetDropDownCount(12);
    EXPECT_EQ(SendMessageA(c->Handle(), kGetMinVisible, 0, 0), 12);
  }
}

TEST_F(ComboTest, OwnerDrawStateIsTheLowWordWithTheSelectionFieldFlag) {
  Form->Show();
  auto* c = Make(csOwnerDrawVariable);
  struct Drawn {
    std::vector<std::pair<int, TOwnerDrawState>> Calls;
    void Draw(TWinControl*, int i, TRect, TOwnerDrawState s) { Calls.emplace_back(i, s); }
    std::vector<int> Measured;
    void Measure(TWinControl*, int i, int& h) {
      Measured.push_back(i);
      h = 30 + i;
    }
  } drawn;
  c->OnDrawItem = TDrawItemEvent::Of<&Drawn::Draw>(&drawn);
  c->OnMeasureItem = TMeasureItemEvent::Of<&Drawn::Measure>(&drawn);
  struct Case {
    UINT ItemState;
    TOwnerDrawState State;
  } cases[] = {
      {ODS_SELECTED, odSelected},
      {ODS_SELECTED | ODS_FOCUS | ODS_COMBOBOXEDIT, odSelected | odFocused | odComboBoxEdit},
      {ODS_DISABLED | ODS_NOACCEL, odDisabled | odNoAccel},
  };
  HDC dc = GetDC(c->Handle());
  for (const Case& k : cases) {
    drawn.Calls.clear();
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_COMBOBOX;
    d.itemID = 2;
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = k.ItemState;
    d.hwndItem = c->Handle();
    d.hDC = dc;
    d.rcItem = {0, 0, 50, 16};
    c->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    ASSERT_EQ(drawn.Calls.size(), 1u);
    EXPECT_EQ(drawn.Calls[0].first, 2);
    EXPECT_EQ(drawn.Calls[0].second, k.State);
  }
  ReleaseDC(c->Handle(), dc);
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = ODT_COMBOBOX;
  mi.itemID = 3;
  c->Perform(CN_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
  EXPECT_EQ(mi.itemHeight, 33u);
}

TEST_F(ComboTest, NewPropertiesStreamWithTheirDefaults) {
  auto* root = New<TForm>(Application, TCustomForm::TCreateNew{});
  TOwnedObject<TForm> owner(root);
  ReadComponentFromText(root,
                        "object Root: TForm\n"
                        "  object Combo: TComboBox\n"
                        "    AutoComplete = False\n"
                        "    AutoCompleteDelay = 1200\n"
                        "    AutoDropDown = True\n"
                        "    CharCase = ecUpperCase\n"
                        "  end\n"
                        "  object Plain: TComboBox\n"
                        "  end\n"
                        "  object Pass: TEdit\n"
                        "    PasswordChar = '*'\n"
                        "    BevelKind = bkFlat\n"
                        "    BevelInner = bvNone\n"
                        "    BevelOuter = bvRaised\n"
                        "  end\n"
                        "  object Caption: TLabel\n"
                        "    Constraints.MaxWidth = 90\n"
                        "    EllipsisPosition = epWordEllipsis\n"
                        "  end\n"
                        "end\n");
  auto* combo = dynamic_cast<TComboBox*>(root->FindComponent("Combo"));
  auto* plain = dynamic_cast<TComboBox*>(root->FindComponent("Plain"));
  auto* pass = dynamic_cast<TEdit*>(root->FindComponent("Pass"));
  auto* label = dynamic_cast<TLabel*>(root->FindComponent("Caption"));
  ASSERT_TRUE(combo && plain && pass && label);
  EXPECT_FALSE(combo->AutoComplete());
  EXPECT_EQ(combo->AutoCompleteDelay(), 1200u);
  EXPECT_TRUE(combo->AutoDropDown());
  EXPECT_EQ(combo->CharCase(), ecUpperCase);
  EXPECT_TRUE(plain->AutoComplete());
  EXPECT_EQ(plain->AutoCompleteDelay(), 500u);
  EXPECT_EQ(pass->PasswordChar(), '*');
  EXPECT_EQ(pass->BevelKind(), bkFlat);
  EXPECT_EQ(pass->BevelInner(), bvNone);
  EXPECT_EQ(pass->BevelOuter(), bvRaised);
  EXPECT_EQ(label->Constraints()->MaxWidth(), 90);
  EXPECT_EQ(label->EllipsisPosition(), epWordEllipsis);

  std::string written = WriteComponentToText(root);
  for (const char* line :
       {"AutoComplete = False", "AutoCompleteDelay = 1200", "AutoDropDown = True",
        "CharCase = ecUpperCase", "PasswordChar = '*'", "BevelKind = bkFlat", "BevelInner = bvNone",
        "BevelOuter = bvRaised", "Constraints.MaxWidth = 90", "EllipsisPosition = epWordEllipsis"})
    EXPECT_NE(written.find(line), std::string::npos) << line;
  // Defaults are not written: the plain combo's block has no new lines.
  size_t plainAt = written.find("object Plain");
  std::string plainBlock = written.substr(plainAt, written.find("end", plainAt) - plainAt);
  for (const char* name : {"AutoComplete", "AutoDropDown", "CharCase", "Constraints"})
    EXPECT_EQ(plainBlock.find(name), std::string::npos) << name;

  auto* copy = New<TForm>(Application, TCustomForm::TCreateNew{});
  TOwnedObject<TForm> copyOwner(copy);
  ReadComponentFromText(copy, written);
  // The copy's root is renamed beside the first: the objects inside match.
  std::string again = WriteComponentToText(copy);
  EXPECT_EQ(again.substr(again.find('\n')), written.substr(written.find('\n')));
}
