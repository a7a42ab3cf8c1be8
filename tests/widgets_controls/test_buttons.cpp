// Push buttons: the window type each Style and WordWrap create, the pushed
// state read while the user holds a button down, and the default look that
// follows the focus, by BM_SETSTYLE or, for an owner-drawn descendant, not.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"

namespace {

// Counts the BM_SETSTYLE messages that reach the button's window.
class TRecordingButton : public TButton {
  DECLARE_CLASS(TRecordingButton, TButton)
 public:
  using TButton::TButton;
  int SetStyleMessages = 0;
  void WndProc(TMessage& m) override {
    if (m.Msg == BM_SETSTYLE) ++SetStyleMessages;
    TButton::WndProc(m);
  }
};

// Draws itself: its window keeps BS_OWNERDRAW and it records the default
// look it is given instead.
class TOwnerDrawnButton : public TRecordingButton {
  DECLARE_CLASS(TOwnerDrawnButton, TRecordingButton)
 public:
  using TRecordingButton::TRecordingButton;
  std::vector<bool> Looks;

 protected:
  void CreateParams(TCreateParams& p) override {
    TRecordingButton::CreateParams(p);
    p.Style = (p.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
  }
  void SetButtonStyle(bool ADefault) override { Looks.push_back(ADefault); }
};

DWORD TypeOf(TButton* b) {
  return static_cast<DWORD>(GetWindowLongA(b->Handle(), GWL_STYLE)) & BS_TYPEMASK;
}
bool MultiLine(TButton* b) {
  return (GetWindowLongA(b->Handle(), GWL_STYLE) & BS_MULTILINE) != 0;
}

class ButtonTest : public FormTest {
 protected:
  template <typename T = TButton>
  T* AddButton(int x, const char* caption) {
    T* b = New<T>(Form);
    b->SetParent(Form);
    b->SetBounds(x, 10, 90, 40);
    b->SetCaption(caption);
    return b;
  }
};

}  // namespace

const TClassInfo& TRecordingButton::StaticClass() {
  static const TClassInfo info("TRecordingButton", &TButton::StaticClass());
  return info;
}

const TClassInfo& TOwnerDrawnButton::StaticClass() {
  static const TClassInfo info("TOwnerDrawnButton", &TRecordingButton::StaticClass());
  return info;
}

TEST_F(ButtonTest, StyleDefaultAndWordWrapGiveTheWindowTypeAndLinesAsCreated) {
  struct Case {
    TButtonStyle Style;
    bool Default, WordWrap;
    DWORD Type;
  } cases[] = {
      {bsPushButton, false, false, BS_PUSHBUTTON},
      {bsPushButton, true, true, BS_DEFPUSHBUTTON},
      {bsCommandLink, false, true, BS_COMMANDLINK},
      {bsCommandLink, true, false, BS_DEFCOMMANDLINK},
      {bsSplitButton, false, false, BS_SPLITBUTTON},
      {bsSplitButton, true, true, BS_DEFSPLITBUTTON},
  };
  Form->Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.Style << " default " << c.Default);
    // Set before the window exists...
    TButton* before = AddButton(10, "Before");
    before->SetStyle(c.Style);
    before->SetDefault(c.Default);
    before->SetWordWrap(c.WordWrap);
    EXPECT_EQ(TypeOf(before), c.Type);
    EXPECT_EQ(MultiLine(before), c.WordWrap);
    // ...and after: the window is made again with the caption kept.
    TButton* after = AddButton(110, "After");
    after->SetDefault(c.Default);
    after->HandleNeeded();
    after->SetStyle(c.Style);
    after->SetWordWrap(c.WordWrap);
    EXPECT_EQ(TypeOf(after), c.Type);
    EXPECT_EQ(MultiLine(after), c.WordWrap);
    EXPECT_EQ(after->Caption(), "After");
    TObject::Free(before);
    TObject::Free(after);
  }
}

TEST_F(ButtonTest, ButtonStateReportsPushedOnlyWhileTheMouseHoldsTheButton) {
  TButton* plain = AddButton(10, "Plain");
  TButton* drawn = AddButton<TOwnerDrawnButton>(110, "Drawn");
  TButton* split = AddButton(210, "Split");
  split->SetStyle(bsSplitButton);
  EXPECT_EQ(plain->ButtonState(), 0u) << "no window yet";
  Form->Show();
  for (TButton* b : {plain, drawn, split}) {
    SCOPED_TRACE(b->Caption());
    int clicks = 0;
    struct TCount {
      int* N;
      void Hit(TObject*) { ++*N; }
    } count{&clicks};
    b->OnClick = TNotifyEvent::Of<&TCount::Hit>(&count);
    // On the caption side, away from a split button's drop-down part.
    LPARAM at = MAKELPARAM(12, 20);
    EXPECT_EQ(b->ButtonState() & BST_PUSHED, 0u);
    SendMessageA(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(b->ButtonState() & BST_PUSHED, UINT(BST_PUSHED));
    SendMessageA(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 300));
    EXPECT_EQ(b->ButtonState() & BST_PUSHED, 0u) << "dragged off the button";
    SendMessageA(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, at);
    EXPECT_EQ(b->ButtonState() & BST_PUSHED, UINT(BST_PUSHED)) << "back on it";
    SendMessageA(b->Handle(), WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(b->ButtonState() & BST_PUSHED, 0u);
    EXPECT_EQ(clicks, 1);
  }
}

TEST_F(ButtonTest, TheFocusedButtonLooksDefaultThroughBMSetStyleUnlessItDrawsItself) {
  auto* plain = AddButton<TRecordingButton>(10, "Plain");
  auto* split = AddButton<TRecordingButton>(110, "Split");
  split->SetStyle(bsSplitButton);
  auto* drawn = AddButton<TOwnerDrawnButton>(210, "Drawn");
  Form->Show();
  ASSERT_EQ(TypeOf(drawn), DWORD(BS_OWNERDRAW));

  struct Step {
    TRecordingButton* Focus;
    DWORD PlainType, SplitType;
  } steps[] = {
      {split, BS_PUSHBUTTON, BS_DEFSPLITBUTTON},
      {plain, BS_DEFPUSHBUTTON, BS_SPLITBUTTON},
      {drawn, BS_PUSHBUTTON, BS_SPLITBUTTON},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.Focus->Caption());
    s.Focus->SetFocus();
    Pump();
    EXPECT_EQ(TypeOf(plain), s.PlainType);
    EXPECT_EQ(TypeOf(split), s.SplitType);
    EXPECT_EQ(TypeOf(drawn), DWORD(BS_OWNERDRAW)) << "the owner-drawn button keeps its type";
  }
  EXPECT_GT(plain->SetStyleMessages, 0);
  EXPECT_GT(split->SetStyleMessages, 0);
  EXPECT_EQ(drawn->SetStyleMessages, 0);
  // Told of every focus change, with the look it should show.
  ASSERT_FALSE(drawn->Looks.empty());
  EXPECT_TRUE(drawn->Looks.back());
  EXPECT_EQ(std::count(drawn->Looks.begin(), drawn->Looks.end(), true), 1);
}
