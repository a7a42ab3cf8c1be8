// The read-only filter (which messages a read-only combo drops, on its own
// window and on its edit child) and the mouse-wheel switch.
#include "combo_fixture.h"

namespace {

using Site = TComboMessageSite;

struct FilterCase {
  Site Where;
  UINT Msg;
  WPARAM WParam;
  bool Swallowed;
};

TEST(ComboFilter, MessagesAndKeysTheReadOnlyComboDrops) {
  const FilterCase cases[] = {
      // Keys that move, open or search: every key-down kind on the combo.
      {Site::Control, WM_KEYDOWN, VK_DOWN, true},
      {Site::Control, WM_KEYDOWN, VK_SPACE, true},
      {Site::Control, WM_KEYDOWN, VK_PRIOR, true},
      {Site::Control, WM_KEYDOWN, VK_HOME, true},
      {Site::Control, WM_KEYDOWN, '9', true},
      {Site::Control, WM_KEYDOWN, 'A', true},
      {Site::Control, WM_KEYDOWN, 'Z', true},
      {Site::Control, WM_KEYDOWN, VK_F4, true},
      {Site::Control, WM_SYSKEYDOWN, VK_DOWN, true},
      {Site::Control, WM_SYSCHAR, 'A', true},
      {Site::Control, CN_KEYDOWN, VK_UP, true},
      {Site::Control, CN_SYSKEYDOWN, VK_F4, true},
      {Site::Control, CN_SYSCHAR, 'Q', true},
      // Keys that neither move nor open pass: focus moves and the form's keys.
      {Site::Control, WM_KEYDOWN, VK_TAB, false},
      {Site::Control, WM_KEYDOWN, VK_RETURN, false},
      {Site::Control, WM_KEYDOWN, VK_ESCAPE, false},
      {Site::Control, WM_KEYDOWN, '0', false},
      {Site::Control, WM_KEYDOWN, VK_F5, false},
      {Site::Control, WM_KEYDOWN, VK_DELETE, false},
      {Site::Control, WM_KEYUP, VK_DOWN, false},
      // Every typed character, whatever it is.
      {Site::Control, WM_CHAR, '0', true},
      {Site::Control, WM_CHAR, '\t', true},
      // Only the drop-down notification of the commands.
      {Site::Control, WM_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), true},
      {Site::Control, CN_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), true},
      {Site::Control, CN_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), false},
      {Site::Control, CN_COMMAND, MAKEWPARAM(0, CBN_CLOSEUP), false},
      // The combo's own window takes clipboard messages and the mouse.
      {Site::Control, WM_PASTE, 0, false},
      {Site::Control, WM_LBUTTONDOWN, 0, false},
      // The edit child: every key and every change of its text; copying passes.
      {Site::Child, WM_KEYDOWN, VK_TAB, true},
      {Site::Child, WM_KEYUP, 'A', true},
      {Site::Child, WM_CHAR, 'x', true},
      {Site::Child, WM_SYSKEYUP, VK_MENU, true},
      {Site::Child, WM_CUT, 0, true},
      {Site::Child, WM_PASTE, 0, true},
      {Site::Child, WM_CLEAR, 0, true},
      {Site::Child, WM_UNDO, 0, true},
      {Site::Child, CN_KEYDOWN, VK_DOWN, true},
      {Site::Child, CN_CHAR, 'x', true},
      {Site::Child, CN_SYSKEYDOWN, VK_F4, true},
      {Site::Child, CN_SYSCHAR, 'x', true},
      {Site::Child, WM_COPY, 0, false},
      {Site::Child, WM_SYSKEYDOWN, VK_F4, false},
      {Site::Child, WM_LBUTTONDOWN, 0, false},
      {Site::Child, WM_SETTEXT, 0, false},
  };
  for (const FilterCase& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.Where == Site::Child ? "child " : "combo ") << std::hex
                                    << c.Msg << " " << c.WParam);
    EXPECT_EQ(ComboReadOnlySwallows(c.Where, c.Msg, c.WParam), c.Swallowed);
  }
}

// The selection a key leaves on a drop-down list, read-only or not.
TEST(ComboFilter, ReadOnlyListKeepsItsSelectionUnderKeys) {
  struct KeyCase {
    UINT Msg;
    WPARAM Key;
  };
  const KeyCase keys[] = {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_END}, {WM_CHAR, 'P'}};
  for (const bool readOnly : {false, true}) {
    for (const KeyCase& k : keys) {
      SCOPED_TRACE(testing::Message() << readOnly << " " << k.Msg << " " << k.Key);
      TComboScene s;
      s.Combo->SetReadOnly(readOnly);
      s.Combo->SetFocus();
      SendMessageA(s.Combo->Handle(), k.Msg, k.Key, 0);
      PumpMessages();
      EXPECT_EQ(s.Combo->ItemIndex() == 1, readOnly);
      EXPECT_FALSE(s.Combo->DroppedDown());
    }
  }
}

TEST(ComboFilter, ReadOnlyEditKeepsItsTextAndStillCopies) {
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly);
    TComboScene s(nullptr, csDropDown);
    s.Combo->SetText("Cathedral");
    s.Combo->SetReadOnly(readOnly);
    const HWND edit = s.Combo->EditHandle();
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    // The clipboard holds what the copy put there.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    SendMessageA(edit, WM_COPY, 0, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(copied, "Cathedral");
    SendMessageA(edit, WM_CLEAR, 0, 0);
    SendMessageA(edit, WM_CHAR, 'x', 0);
    EXPECT_EQ(s.Combo->Text(), readOnly ? "Cathedral" : "x");
  }
}

struct ClickRecorder {
  int DoubleClicks = 0;
  int DropDowns = 0;
  void DblClick(TObject*) { ++DoubleClicks; }
  void DropDown(TObject*) { ++DropDowns; }
};

TEST(ComboFilter, ReadOnlyClickOnlyFocusesAndDoubleClickStillReports) {
  TComboScene s;
  ClickRecorder r;
  s.Combo->OnDblClick = TNotifyEvent::Of<&ClickRecorder::DblClick>(&r);
  s.Combo->OnDropDown = TNotifyEvent::Of<&ClickRecorder::DropDown>(&r);
  s.Combo->SetReadOnly(true);
  SetFocus(s.Form->Handle());
  s.Combo->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  PumpMessages();
  EXPECT_EQ(GetFocus(), s.Combo->Handle());
  EXPECT_FALSE(s.Combo->DroppedDown());
  s.Combo->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 10));
  PumpMessages();
  EXPECT_EQ(r.DoubleClicks, 1);
  EXPECT_EQ(r.DropDowns, 0);
  EXPECT_FALSE(s.Combo->DroppedDown());
}

// Without the platform's drop-down, a press asks the application instead.
TEST(ComboFilter, OwnDropDownRunsTheEventAndShowsThePressedButton) {
  TComboScene s;
  ClickRecorder r;
  s.Combo->OnDropDown = TNotifyEvent::Of<&ClickRecorder::DropDown>(&r);
  s.Combo->SetStdDropDown(false);
  s.Combo->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  PumpMessages();
  EXPECT_EQ(r.DropDowns, 1);
  EXPECT_TRUE(s.Combo->ListShown());
  EXPECT_EQ(s.Combo->ButtonState(), 2);
  EXPECT_FALSE(s.Combo->DroppedDown());
}

TEST(ComboWheel, SwitchDecidesWhetherTheWheelMovesTheSelection) {
  for (const bool allow : {true, false}) {
    SCOPED_TRACE(allow);
    TComboScene s;
    s.Combo->SetAllowMouseWheel(allow);
    s.Combo->SetFocus();
    const POINT centre{s.Combo->ClientOrigin().X + 20, s.Combo->ClientOrigin().Y + 10};
    SendMessageA(s.Combo->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(centre.x, centre.y));
    PumpMessages();
    EXPECT_EQ(s.Combo->ItemIndex(), allow ? 2 : 1);
  }
}

}  // namespace
