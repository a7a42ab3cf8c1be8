// Keyboard navigation: Tab order (also as read from a description), the
// focus messages, KeyPreview, default and cancel buttons, arrows, Ctrl+Tab.
#include <gtest/gtest.h>

#include "fixture.h"
#include "widgets/controls/comctrls.h"
#include "widgets/rtl/form_reader.h"
#include "widgets/controls/stdctrls.h"

namespace {

// Posts a key press to the focused window and runs the application's loop,
// with the listed modifier keys held in the thread's key state.
void PressKey(WORD vk, std::initializer_list<WORD> held = {}) {
  BYTE state[256];
  GetKeyboardState(state);
  BYTE saved[256];
  std::copy(std::begin(state), std::end(state), saved);
  for (WORD h : held) state[h] = 0x80;
  SetKeyboardState(state);
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, vk, 1);
  PostMessageA(focus, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
  Application->ProcessMessages();
  SetKeyboardState(saved);
}

TWinControl* FocusedControl() {
  return FindControl(GetFocus());
}

class FocusTest : public FormTest {
 protected:
  TButton* AddButton(TWinControl* parent, const char* name, int x) {
    TButton* b = New<TButton>(Form);
    b->SetName(name);
    b->SetParent(parent);
    b->SetBounds(x, 10, 60, 25);
    return b;
  }
};

}  // namespace

TEST_F(FocusTest, TabFollowsTabOrderDepthFirstAndSkipsWhatCannotTakeFocus) {
  TButton* a = AddButton(Form, "A", 10);
  TGroupBox* g = New<TGroupBox>(Form);
  g->SetParent(Form);
  g->SetBounds(10, 50, 300, 80);
  TButton* g1 = AddButton(g, "G1", 10);
  TButton* g2 = AddButton(g, "G2", 80);
  TButton* off = AddButton(g, "Off", 150);
  TButton* b = AddButton(Form, "B", 80);
  TButton* hidden = AddButton(Form, "Hidden", 150);
  TButton* noStop = AddButton(Form, "NoStop", 220);
  g2->SetTabOrder(0);  // inside the group: G2 before G1
  b->SetTabOrder(0);   // on the form: B first
  off->SetEnabled(false);
  hidden->SetVisible(false);
  noStop->SetTabStop(false);
  Form->Show();
  b->SetFocus();
  ASSERT_EQ(FocusedControl(), b);
  std::vector<TWinControl*> order;
  for (int i = 0; i < 5; ++i) {
    PressKey(VK_TAB);
    order.push_back(FocusedControl());
  }
  EXPECT_EQ(order, (std::vector<TWinControl*>{a, g2, g1, b, a})) << "wraps around";
  PressKey(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(FocusedControl(), b) << "Shift+Tab goes back";
}

TEST_F(FocusTest, TabOrderReadFromADescriptionIsSortedOnceAllAreRead) {
  ReadComponentFromText(Form, R"(object TabForm: TForm
  object First: TButton
    TabOrder = 2
  end
  object Second: TButton
    Left = 80
    TabOrder = 0
  end
  object Third: TButton
    Left = 160
    TabOrder = 1
  end
  object Group: TGroupBox
    Top = 60
    TabOrder = 3
    object X: TButton
    end
    object Y: TButton
    end
    object Z: TButton
      TabOrder = 0
    end
  end
end
)");
  auto* first = dynamic_cast<TWinControl*>(Form->FindComponent("First"));
  auto* second = dynamic_cast<TWinControl*>(Form->FindComponent("Second"));
  auto* third = dynamic_cast<TWinControl*>(Form->FindComponent("Third"));
  ASSERT_TRUE(first && second && third);
  EXPECT_EQ(first->TabOrder(), 2);
  EXPECT_EQ(second->TabOrder(), 0);
  EXPECT_EQ(third->TabOrder(), 1);
  EXPECT_EQ(Form->FindNextControl(nullptr, true, true, false), second);
  // Controls without a stored order keep their places around the others.
  for (auto [name, order] : {std::pair{"Z", 0}, {"X", 1}, {"Y", 2}}) {
    SCOPED_TRACE(name);
    auto* c = dynamic_cast<TWinControl*>(Form->FindComponent(name));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->TabOrder(), order);
  }
}

TEST_F(FocusTest, FocusChangeSendsExitEnterFocusChangedThenUIActivate) {
  TButton* a = AddButton(Form, "A", 10);
  TButton* b = AddButton(Form, "B", 80);
  Form->Show();
  a->SetFocus();
  std::vector<std::string> log;
  struct Hook {
    std::vector<std::string>* Log;
    std::string Name;
    TWndMethod Old;
    void Proc(TMessage& m) {
      switch (m.Msg) {
        case CM_EXIT:
          Log->push_back(Name + " exit");
          break;
        case CM_ENTER:
          Log->push_back(Name + " enter");
          break;
        case CM_FOCUSCHANGED:
          Log->push_back(Name + " focuschanged");
          break;
        case CM_UIACTIVATE:
          Log->push_back(Name + " uiactivate");
          break;
        default:
          break;
      }
      Old(m);
    }
  } ha{&log, "A", a->WindowProc}, hb{&log, "B", b->WindowProc}, hf{&log, "Form", Form->WindowProc};
  a->WindowProc = TWndMethod::Of<&Hook::Proc>(&ha);
  b->WindowProc = TWndMethod::Of<&Hook::Proc>(&hb);
  Form->WindowProc = TWndMethod::Of<&Hook::Proc>(&hf);
  b->SetFocus();
  a->WindowProc = ha.Old;
  b->WindowProc = hb.Old;
  Form->WindowProc = hf.Old;
  // The form broadcasts CM_FOCUSCHANGED to its children.
  EXPECT_EQ(log, (std::vector<std::string>{"A exit", "B enter", "Form focuschanged",
                                           "A focuschanged", "B focuschanged", "B uiactivate"}));
  EXPECT_EQ(Form->ActiveControl(), b);
  EXPECT_EQ(Screen->ActiveForm(), Form);
}

TEST_F(FocusTest, KeyPreviewLetsTheFormSeeKeysFirst) {
  TEdit* e = New<TEdit>(Form);
  e->SetParent(Form);
  Form->Show();
  e->SetFocus();
  struct Preview {
    std::vector<WORD> Keys;
    bool Swallow = false;
    void KeyDown(TObject*, WORD& Key, TShiftState) { Keys.push_back(Key); }
    void KeyPress(TObject*, char& Key) {
      if (Swallow) Key = 0;
    }
  } p;
  Form->OnKeyDown = TKeyEvent::Of<&Preview::KeyDown>(&p);
  Form->OnKeyPress = TKeyPressEvent::Of<&Preview::KeyPress>(&p);

  PostMessageA(e->Handle(), WM_CHAR, 'a', 1);
  Application->ProcessMessages();
  EXPECT_EQ(e->Text(), "a") << "without KeyPreview the form sees nothing";
  EXPECT_TRUE(p.Keys.empty());

  Form->SetKeyPreview(true);
  p.Swallow = true;
  PressKey('B');
  PostMessageA(e->Handle(), WM_CHAR, 'b', 1);
  Application->ProcessMessages();
  EXPECT_EQ(p.Keys, (std::vector<WORD>{'B'}));
  EXPECT_EQ(e->Text(), "a") << "the form swallowed the character";
}

TEST_F(FocusTest, EnterAndEscapeClickDefaultAndCancelButtons) {
  TEdit* e = New<TEdit>(Form);
  e->SetParent(Form);
  e->SetBounds(10, 50, 100, 21);
  TButton* ok = AddButton(Form, "Ok", 10);
  TButton* cancel = AddButton(Form, "Cancel", 80);
  ok->SetDefault(true);
  cancel->SetCancel(true);
  int okClicks = 0, cancelClicks = 0;
  struct Count {
    int* N;
    void Hit(TObject*) { ++*N; }
  } co{&okClicks}, cc{&cancelClicks};
  ok->OnClick = TNotifyEvent::Of<&Count::Hit>(&co);
  cancel->OnClick = TNotifyEvent::Of<&Count::Hit>(&cc);
  Form->Show();
  e->SetFocus();
  PressKey(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(FocusedControl(), e) << "the keys did not move the focus";
}

TEST_F(FocusTest, ArrowsMoveAmongSiblingsAndCtrlTabTurnsThePage) {
  TButton* a = AddButton(Form, "A", 10);
  TButton* b = AddButton(Form, "B", 80);
  Form->Show();
  a->SetFocus();
  PressKey(VK_RIGHT);
  EXPECT_EQ(FocusedControl(), b);
  PressKey(VK_LEFT);
  EXPECT_EQ(FocusedControl(), a);

  TPageControl* pages = New<TPageControl>(Form);
  pages->SetParent(Form);
  pages->SetBounds(10, 60, 300, 200);
  TTabSheet* s1 = New<TTabSheet>(Form);
  s1->SetPageControl(pages);
  TTabSheet* s2 = New<TTabSheet>(Form);
  s2->SetPageControl(pages);
  pages->SetActivePage(s1);
  TButton* inside = AddButton(s1, "Inside", 10);
  inside->SetFocus();
  PressKey(VK_TAB, {VK_CONTROL});
  EXPECT_EQ(pages->ActivePage(), s2);
}
