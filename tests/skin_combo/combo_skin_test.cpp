// What a skin change does to the combo: the section it takes by default,
// the owner-drawn edit part, items, index and text kept through the new
// window, the colours the skin's removal gives back, the list kept shut by
// a refresh, and one list adapter per list window.
#include <algorithm>

#include "combo_fixture.h"
#include "skin/engine/manager_options.h"
#include "skin/adapters/edit_stand_ins.h"
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

// A drop-down list without a section of its own looks like a push button:
// the button's normal, hot and pressed frames, and a drawn arrow in the
// button's font colour of that state.
TEST(ComboSkin, ListWithoutOwnSectionTakesTheButtonsStates) {
  TComboScene s("tessera");
  ASSERT_TRUE(s.Combo->IsButtonStyle());
  s.Manager->Effects()->SetAllowAnimation(false);
  ::SetFocus(nullptr);
  PumpMessages();
  const auto check = [&](int State) {
    SCOPED_TRACE(State);
    s.Combo->PrepareCache();
    TBitmap* cache = s.Combo->SkinData()->CacheBitmap;
    const TRect b = s.Combo->ButtonRect();
    EXPECT_EQ(PixelOf(cache, b.Left - 4, s.Combo->Height() / 2),
              s.SkinPixel("BUTTON/BORDERSMASK frame " + std::to_string(State) + " face"));
    const TColor arrow = s.Section("BUTTON").Props[static_cast<size_t>(State)].FontColor;
    EXPECT_GE(CountNear(cache, b, RgbOf(arrow), 0), 7);
  };
  check(0);
  const TPoint centre = s.Combo->ClientToScreen(TPoint(40, s.Combo->Height() / 2));
  SetCursorPos(centre.X, centre.Y);
  s.Combo->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(s.Combo->SkinData()->Hot);
  check(1);
  s.Combo->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), 0);
  EXPECT_TRUE(s.Combo->ListShown());
  EXPECT_EQ(s.Combo->ButtonState(), 2);
  check(2);
  s.Combo->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_CLOSEUP), 0);
  SetCursorPos(0, 0);
  s.Combo->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(s.Combo->SkinData()->Hot);
  check(0);
}

struct EnterThrower {
  void Enter(TObject*) { throw std::runtime_error("enter"); }
};

// Focus shows the hot look and its loss the normal one; the re-entry guard
// of the focus handling never stays raised, not even when a handler fails.
TEST(ComboSkin, FocusChangesTheLookAndLeavesNoGuardBehind) {
  TComboScene s("tessera");
  s.Manager->Effects()->SetAllowAnimation(false);
  TEdit* other = New<TEdit>(s.Form);
  other->SetBounds(16, 80, 100, 21);
  other->SetParent(s.Form);
  TsCommonData* d = s.Combo->SkinData();
  const TRect b = s.Combo->ButtonRect();
  const auto face = [&] {
    s.Combo->PrepareCache();
    return PixelOf(d->CacheBitmap, b.Left - 4, s.Combo->Height() / 2);
  };
  s.Combo->SetFocus();
  PumpMessages();
  EXPECT_TRUE(d->Focused);
  EXPECT_EQ(d->StateFlags & sfComboBox, 0);
  EXPECT_EQ(face(), s.SkinPixel("BUTTON/BORDERSMASK frame 1 face"));
  other->SetFocus();
  PumpMessages();
  EXPECT_FALSE(d->Focused);
  EXPECT_EQ(d->StateFlags & sfComboBox, 0);
  EXPECT_EQ(face(), s.SkinPixel("BUTTON/BORDERSMASK frame 0 face"));

  EnterThrower t;
  s.Combo->OnEnter = TNotifyEvent::Of<&EnterThrower::Enter>(&t);
  EXPECT_THROW(s.Combo->Perform(CM_ENTER), std::runtime_error);
  EXPECT_EQ(d->StateFlags & sfComboBox, 0);
}

// Disabled, the face is blended toward what lies behind the combo.
TEST(ComboSkin, DisabledFaceBlendsWithItsBackground) {
  TComboScene s("tessera");
  s.Manager->Effects()->SetAllowAnimation(false);
  TsCommonData* d = s.Combo->SkinData();
  const TRect b = s.Combo->ButtonRect();
  const int x = b.Left - 4, y = s.Combo->Height() / 2;
  s.Combo->SetEnabled(false);
  s.Combo->PrepareCache();
  const uint32_t shown = PixelOf(d->CacheBitmap, x, y);
  const uint32_t face = s.SkinPixel("BUTTON/BORDERSMASK frame 0 face");
  const uint32_t behind = RgbOf(s.Form->Color());
  EXPECT_NE(shown, face);
  // Each channel lies between the face's and the background's.
  for (int n = 0; n < 24; n += 8) {
    const int v = (shown >> n) & 0xFF, f = (face >> n) & 0xFF, g = (behind >> n) & 0xFF;
    EXPECT_GE(v, std::min(f, g) - 1);
    EXPECT_LE(v, std::max(f, g) + 1);
  }
}

// The window shows the cache: on screen after a paint, and in a print.
TEST(ComboSkin, WindowAndPrintShowTheSkinnedFace) {
  TComboScene s("tessera");
  s.Manager->Effects()->SetAllowAnimation(false);
  ::SetFocus(nullptr);
  PumpMessages();
  InvalidateRect(s.Combo->Handle(), nullptr, TRUE);
  UpdateWindow(s.Combo->Handle());
  const TRect b = s.Combo->ButtonRect();
  const int x = b.Left - 4, y = s.Combo->Height() / 2;
  const uint32_t face = s.SkinPixel("BUTTON/BORDERSMASK frame 0 face");
  HDC screen = GetDC(s.Combo->Handle());
  const COLORREF shown = GetPixel(screen, x, y);
  ReleaseDC(s.Combo->Handle(), screen);
  EXPECT_TRUE(Near(RgbOf(static_cast<TColor>(shown)), face, 8));
  TItemCanvas print(s.Combo, s.Combo->Width(), s.Combo->Height());
  s.Combo->Perform(WM_PRINT, reinterpret_cast<WPARAM>(print.Bitmap()->Canvas()->Handle()),
                   PRF_CLIENT);
  EXPECT_EQ(PixelOf(print.Bitmap(), x, y), face);
}

// A combo with the combo section: the COMBOBTN face of the button's state
// under the section's glyph, or under a drawn arrow in COMBOBTN's font
// colour when the section gives its own font.
TEST(ComboSkin, ComboSectionButtonShowsItsStateFrames) {
  for (const char* variant : {"tessera", "combo-own-font"}) {
    SCOPED_TRACE(variant);
    TComboScene s(variant, csDropDownList, "COMBOBOX");
    ASSERT_FALSE(s.Combo->IsButtonStyle());
    s.Manager->Effects()->SetAllowAnimation(false);
    const bool ownFont = std::string(variant) == "combo-own-font";
    const auto check = [&](int State) {
      SCOPED_TRACE(State);
      s.Combo->PrepareCache();
      TBitmap* cache = s.Combo->SkinData()->CacheBitmap;
      const TRect b = s.Combo->ButtonRect();
      const std::string frame = " frame " + std::to_string(State) + " face";
      // The face shows around the glyph or arrow.
      EXPECT_GE(CountNear(cache, b, s.SkinPixel("COMBOBTN/BORDERSMASK" + frame), 0), 8);
      if (ownFont) {
        const TColor arrow = s.Section("COMBOBTN").Props[static_cast<size_t>(State)].FontColor;
        EXPECT_GE(CountNear(cache, b, RgbOf(arrow), 0), 7);
      } else {
        const TsMaskData& glyph = s.Manager->Masks[static_cast<size_t>(s.Combo->GlyphIndex())];
        const int x = b.Left + (b.Width() - glyph.FrameWidth) / 2;
        const int y = (s.Combo->Height() - s.Combo->GlyphHeight()) / 2;
        EXPECT_EQ(PixelOf(cache, x + 2, y + 2), s.SkinPixel("COMBOBOX/GLYPHMASK" + frame));
      }
    };
    check(0);
    const TRect b = s.Combo->ButtonRect();
    const TPoint onButton = s.Combo->ClientToScreen(TPoint(b.Left + 3, b.Top + 3));
    SetCursorPos(onButton.X, onButton.Y);
    s.Combo->Perform(CM_MOUSEENTER);
    EXPECT_EQ(s.Combo->ButtonState(), 1);
    check(1);
    s.Combo->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), 0);
    check(2);
    s.Combo->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_CLOSEUP), 0);
    SetCursorPos(0, 0);
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
