// What a skin change does to the combo: the section it takes by default,
// the owner-drawn edit part, items, index and text kept through the new
// window, the colours the skin's removal gives back, the list kept shut by
// a refresh, and one list adapter per list window.
#include "combo_fixture.h"
#include "skin/engine/services_adapters.h"
#include "skin/foundation/skin_commands.h"

namespace {

DWORD StyleOf(TWinControl* C) {
  return static_cast<DWORD>(GetWindowLongPtrA(C->Handle(), GWL_STYLE));
}

TEST(ComboSkin, DefaultSectionFollowsStyleAndOwnSection) {
  struct Case {
    TComboBoxStyle Style;
    const char* Section;
    const char* Expected;
    bool ButtonLike;
  };
  const Case cases[] = {
      {csDropDownList, "", "BUTTON", true},
      {csOwnerDrawFixed, "", "BUTTON", true},
      {csDropDownList, "COMBOBOX", "COMBOBOX", false},
      {csDropDown, "", "COMBOBOX", false},
      {csSimple, "", "COMBOBOX", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Style << " " << c.Section);
    TComboScene s("tessera", c.Style, c.Section);
    ASSERT_TRUE(s.Combo->Skinned());
    EXPECT_EQ(s.Combo->SkinData()->SkinIndex, FindSectionIndex(s.Manager, c.Expected));
    EXPECT_EQ(s.Combo->IsButtonStyle(), c.ButtonLike);
  }
}

// Skinned, the edit part of a drop-down is owner-drawn; plain, it is the
// platform's. Each switch makes a new window that keeps what the user sees.
TEST(ComboSkin, SkinOnAndOffMakeNewWindowsKeepingItemsIndexAndText) {
  for (const TComboBoxStyle style : {csDropDownList, csDropDown}) {
    SCOPED_TRACE(style);
    TComboScene s(nullptr, style);
    s.Combo->SetItemIndex(3);
    if (style == csDropDown) s.Combo->SetText("Typed");
    const std::string text = s.Combo->Text();
    EXPECT_EQ(StyleOf(s.Combo) & CBS_OWNERDRAWFIXED, 0u);
    const HWND plain = s.Combo->Handle();

    s.LoadSkin("tessera");
    ASSERT_TRUE(s.Combo->Skinned());
    EXPECT_NE(s.Combo->Handle(), plain);
    EXPECT_NE(StyleOf(s.Combo) & CBS_OWNERDRAWFIXED, 0u);
    EXPECT_EQ(s.Combo->Items()->Count(), 5);
    EXPECT_EQ(s.Combo->ItemIndex(), 3);
    EXPECT_EQ(s.Combo->Text(), text);
    const HWND skinned = s.Combo->Handle();

    s.Manager->SetActive(false);
    PumpMessages();
    EXPECT_FALSE(s.Combo->Skinned());
    EXPECT_NE(s.Combo->Handle(), skinned);
    EXPECT_EQ(StyleOf(s.Combo) & CBS_OWNERDRAWFIXED, 0u);
    EXPECT_EQ(s.Combo->Items()->Count(), 5);
    EXPECT_EQ(s.Combo->ItemIndex(), 3);
    EXPECT_EQ(s.Combo->Text(), text);
  }
}

TEST(ComboSkin, RemovalGivesBackWindowColoursUnlessTheyAreCustom) {
  struct Case {
    bool CustomColor, CustomFont;
  };
  for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}}) {
    SCOPED_TRACE(testing::Message() << c.CustomColor << c.CustomFont);
    TComboScene s(nullptr, csDropDown);
    s.Combo->SetColor(clYellow);
    s.Combo->Font()->SetColor(clMaroon);
    s.Combo->SkinData()->SetCustomColor(c.CustomColor);
    s.Combo->SkinData()->SetCustomFont(c.CustomFont);
    s.LoadSkin("tessera");
    ASSERT_TRUE(s.Combo->Skinned());
    // The skin's colours while it is on, the own ones where they are custom.
    EXPECT_EQ(s.Combo->Color(), c.CustomColor ? clYellow : s.Section("COMBOBOX").Props[0].Color);
    s.Manager->SetActive(false);
    PumpMessages();
    EXPECT_EQ(s.Combo->Color(), c.CustomColor ? clYellow : clWindow);
    EXPECT_EQ(s.Combo->Font()->Color(), c.CustomFont ? clMaroon : clWindowText);
  }
}

// The font's change handler is put aside only while the removal sets the
// colour: a later font change still reaches the window.
TEST(ComboSkin, FontChangesAfterRemovalStillReachTheWindow) {
  TComboScene s("tessera", csDropDown);
  s.Manager->SetActive(false);
  PumpMessages();
  s.Combo->Font()->SetSize(15);
  PumpMessages();
  EXPECT_FALSE(s.Combo->ParentFont());
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(s.Combo->Handle(), WM_GETFONT, 0, 0)),
            s.Combo->Font()->Handle());
}

TEST(ComboSkin, RefreshClosesTheListAndKeepsTheIndex) {
  TComboScene s("tessera");
  s.Combo->SetItemIndex(3);
  SendMessageA(s.Combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  PumpMessages();
  ASSERT_TRUE(s.Combo->DroppedDown());
  s.Combo->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdRefresh),
                   reinterpret_cast<LPARAM>(s.Manager));
  PumpMessages();
  EXPECT_FALSE(s.Combo->DroppedDown());
  EXPECT_EQ(s.Combo->ItemIndex(), 3);
}

HWND OpenList(TsCustomComboBox* C) {
  SendMessageA(C->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  PumpMessages();
  UpdateWindow(C->Handle());
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(C->Handle(), &info);
  if (info.hwndList) UpdateWindow(info.hwndList);
  PumpMessages();
  return info.hwndList;
}

void CloseList(TsCustomComboBox* C) {
  SendMessageA(C->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  PumpMessages();
}

TEST(ComboSkin, EachListWindowGetsOneAdapterAndANewWindowANewOne) {
  TComboScene s("tessera");
  const HWND first = OpenList(s.Combo);
  ASSERT_NE(first, nullptr);
  TvlComboListWnd* adapter = s.Combo->ListAdapter();
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(s.Combo->ListWindow(), first);
  EXPECT_EQ(GetWindowAdapter(first), adapter);
  CloseList(s.Combo);
  // Opened again, the same list keeps the adapter it has.
  OpenList(s.Combo);
  EXPECT_EQ(s.Combo->ListAdapter(), adapter);
  CloseList(s.Combo);

  s.Combo->RecreateWnd();
  PumpMessages();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(s.Combo->ListWindow(), nullptr);
  EXPECT_EQ(s.Combo->ListAdapter(), nullptr);
  const HWND second = OpenList(s.Combo);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(s.Combo->ListWindow(), second);
  ASSERT_NE(s.Combo->ListAdapter(), nullptr);
  EXPECT_EQ(GetWindowAdapter(second), s.Combo->ListAdapter());
  CloseList(s.Combo);

  // The skin's removal takes the adapter off the list it marked.
  OpenList(s.Combo);
  CloseList(s.Combo);
  s.Manager->SetActive(false);
  PumpMessages();
  EXPECT_EQ(s.Combo->ListAdapter(), nullptr);
}

}  // namespace
