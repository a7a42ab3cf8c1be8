// The push button without a skin: owner-drawn whatever its style, Down
// shown by moving only the caption, the classic pressed look, and the
// drop-down part of a split button, whose menu may free the whole form.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "button_fixture.h"
#include "widgets/controls/extctrls.h"
#include "widgets/menus/menus.h"

namespace {

using TPixelSet = std::set<std::pair<int, int>>;

// Pixels of Drawn that differ clearly from Blank (the same button drawn
// without a caption), inside the frame.
TPixelSet Ink(TBitmap* Drawn, TBitmap* Blank) {
  TPixelSet ink;
  for (int y = 3; y < Drawn->Height() - 3; ++y)
    for (int x = 3; x < Drawn->Width() - 3; ++x)
      if (!Near(RgbAt(Drawn, x, y), RgbAt(Blank, x, y), 40)) ink.insert({x, y});
  return ink;
}

double Overlap(const TPixelSet& A, const TPixelSet& B, int DX, int DY) {
  int hit = 0;
  for (const auto& [x, y] : A) hit += B.count({x + DX, y + DY}) != 0 ? 1 : 0;
  return A.empty() ? 0.0 : double(hit) / double(A.size());
}

uint32_t SysRgb(TColor C) {
  const auto v = static_cast<uint32_t>(ColorToRGB(C));
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

TEST_F(ButtonForm, DownKeepsTheFrameAndMovesTheCaptionOnePixelRightAndDown) {
  // Varnel's toggle: 33 x 26, "On".
  TsButton* button = NewButton(27, 20, 33, 26, "On");
  Form->Show();
  PumpMessages();
  for (bool classic : {false, true}) {
    SCOPED_TRACE(classic ? "classic" : "themed");
    std::unique_ptr<TClassicScope> scope;
    if (classic) scope = std::make_unique<TClassicScope>(button->Handle());
    button->SetCaption("");
    auto blank = DrawItem(button, 0);
    button->SetCaption("On");
    auto up = DrawItem(button, 0);
    button->SetDown(true);
    auto down = DrawItem(button, 0);
    auto blankDown = [&] {
      button->SetCaption("");
      auto b = DrawItem(button, 0);
      button->SetCaption("On");
      return b;
    }();
    button->SetDown(false);

    // The frame: the outer band is the same either way.
    const int w = button->Width(), h = button->Height();
    int frameDiffs = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if ((x < 3 || y < 3 || x >= w - 3 || y >= h - 3) &&
            !Near(RgbAt(up.get(), x, y), RgbAt(down.get(), x, y), 8))
          ++frameDiffs;
    EXPECT_EQ(frameDiffs, 0);
    // Without a caption Down changes nothing at all.
    EXPECT_EQ(Ink(blankDown.get(), blank.get()).size(), 0u);

    // The caption's ink moved by (1, 1), whatever smoothing drew it.
    const TPixelSet inkUp = Ink(up.get(), blank.get());
    const TPixelSet inkDown = Ink(down.get(), blank.get());
    ASSERT_GE(inkUp.size(), 10u);
    EXPECT_GE(Overlap(inkUp, inkDown, 1, 1), 0.9);
    EXPECT_GE(Overlap(inkDown, inkUp, -1, -1), 0.9);
    EXPECT_LT(Overlap(inkUp, inkDown, 0, 0), Overlap(inkUp, inkDown, 1, 1) - 0.2);

    if (classic) {
      // Held down by the mouse (the frame follows ODS_SELECTED only): a
      // flat shadow-coloured rectangle filled with the face colour.
      // The focused (here: the only) button has the default look and a
      // window-frame line around it.
      auto pressed = DrawItem(button, ODS_SELECTED);
      const int o = button->ActiveDefault() ? 1 : 0;
      if (o) {
        EXPECT_EQ(RgbAt(pressed.get(), 0, 0), SysRgb(clWindowFrame));
      }
      EXPECT_EQ(RgbAt(pressed.get(), o, o), SysRgb(clBtnShadow));
      EXPECT_EQ(RgbAt(pressed.get(), w - 1 - o, h - 1 - o), SysRgb(clBtnShadow));
      EXPECT_EQ(RgbAt(pressed.get(), o + 1, h - 2 - o), SysRgb(clBtnFace));
    }
  }
}

TEST_F(ButtonForm, EveryStyleStaysOwnerDrawnAlsoAsTheDefaultButton) {
  const struct {
    TButtonStyle style;
    bool isDefault;
  } cases[] = {{bsPushButton, false}, {bsCommandLink, false}, {bsSplitButton, false},
               {bsPushButton, true},  {bsCommandLink, true},  {bsSplitButton, true}};
  Form->Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style << (c.isDefault ? " default" : ""));
    TsButton* button = NewButton(10, 10, 90, 30, "Go");
    button->SetStyle(c.style);
    button->SetDefault(c.isDefault);
    // Focus makes the layer give the button the default look.
    button->SetFocus();
    PumpMessages();
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(button->Handle(), GWL_STYLE));
    EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_NE(style & BS_MULTILINE, 0u) << "WordWrap is on from the start";
    EXPECT_TRUE(button->ActiveDefault());
    TObject::Free(button);
  }
}

// Counts clicks and ends a drop-down menu with a timer of the layer, as
// an application's timers tick inside the menu.
struct TDropDownProbe {
  TsButton* Button = nullptr;
  TTimer* Timer = nullptr;
  int Clicks = 0;
  int Popups = 0;
  bool OpenWhileShown = false;
  int StateWhileShown = -1;
  void Click(TObject*) { ++Clicks; }
  void Popup(TObject*) { ++Popups; }
  void Tick(TObject*) {
    Timer->SetEnabled(false);
    OpenWhileShown = Button->MenuOpen();
    StateWhileShown = Button->ContentState();
    EndMenu();
  }
};

// Ends a popup that nothing else ends, so a fault fails the test instead
// of hanging it.
void CALLBACK EndTheMenu(HWND, UINT, UINT_PTR, DWORD) {
  EndMenu();
}
struct TPopupGuard {
  UINT_PTR Timer = SetTimer(nullptr, 0, 5000, EndTheMenu);
  ~TPopupGuard() { KillTimer(nullptr, Timer); }
};

void Press(TsButton* Button, int X, int Y) {
  SendMessageA(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
  SendMessageA(Button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
}

TEST_F(ButtonForm, APressInTheSplitPartOpensTheMenuAndDoesNotClick) {
  TsButton* button = NewButton(10, 10, 120, 30, "Split");
  button->SetStyle(bsSplitButton);
  auto* menu = New<TPopupMenu>(Form);
  auto* item = New<TMenuItem>(Form);
  item->SetCaption("One");
  menu->Items()->Add(item);
  button->SetDropDownMenu(menu);
  Form->Show();
  PumpMessages();
  EXPECT_EQ(button->SplitArrowWidth(), 16);
  button->SkinData()->ScalePercent = 125;
  EXPECT_EQ(button->SplitArrowWidth(), 20);
  button->SkinData()->ScalePercent = 100;

  TDropDownProbe probe{button};
  probe.Timer = New<TTimer>(Form);
  probe.Timer->SetEnabled(false);
  probe.Timer->SetInterval(30);
  probe.Timer->SetOnTimer(TNotifyEvent::Of<&TDropDownProbe::Tick>(&probe));
  button->OnClick = TNotifyEvent::Of<&TDropDownProbe::Click>(&probe);
  menu->OnPopup = TNotifyEvent::Of<&TDropDownProbe::Popup>(&probe);
  const struct {
    int x;
    bool opens;
  } cases[] = {{119, true}, {104, true}, {103, false}, {20, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    probe = TDropDownProbe{button, probe.Timer};
    probe.Timer->SetEnabled(true);
    {
      TPopupGuard guard;
      Press(button, c.x, 15);
    }
    probe.Timer->SetEnabled(false);
    PumpMessages();
    EXPECT_EQ(probe.Popups, c.opens ? 1 : 0);
    EXPECT_EQ(probe.Clicks, c.opens ? 0 : 1);
    if (c.opens) {
      EXPECT_TRUE(probe.OpenWhileShown);
      EXPECT_EQ(probe.StateWhileShown, 2) << "shown pressed while the menu is open";
      EXPECT_EQ(menu->PopupComponent(), button);
      EXPECT_EQ(menu->PopupPoint(), button->ClientToScreen(TPoint(0, button->Height())));
    }
    EXPECT_FALSE(button->MenuOpen());
  }
}

// A menu item that frees the form the button lies on.
struct TFormFreer {
  TForm** Form = nullptr;
  void Choose(TObject*) {
    for (WPARAM k : {VK_DOWN, VK_RETURN}) PostMessageA((*Form)->Handle(), WM_KEYDOWN, k, 1);
  }
  void FreeForm(TObject*) {
    TObject::Free(*Form);
    *Form = nullptr;
  }
};

TEST_F(ButtonForm, AMenuItemMayFreeTheFormOfTheButtonThatDroppedItDown) {
  TsButton* button = NewButton(10, 10, 120, 30, "Split");
  button->SetStyle(bsSplitButton);
  // The menu lives elsewhere; only the form goes.
  auto menu = OwnObject(New<TPopupMenu>(nullptr));
  auto* item = New<TMenuItem>(menu.get());
  item->SetCaption("Close everything");
  menu->Items()->Add(item);
  button->SetDropDownMenu(menu.get());
  Form->Show();
  PumpMessages();
  TFormFreer freer{&Form};
  menu->OnPopup = TNotifyEvent::Of<&TFormFreer::Choose>(&freer);
  item->OnClick = TNotifyEvent::Of<&TFormFreer::FreeForm>(&freer);
  const HWND wnd = button->Handle();
  {
    TPopupGuard guard;
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 15));
  }
  PumpMessages();
  EXPECT_EQ(Form, nullptr) << "the item ran";
  EXPECT_FALSE(IsWindow(wnd));
}

}  // namespace
