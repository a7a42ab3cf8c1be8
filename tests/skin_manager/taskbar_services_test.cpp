// What the form-skinning stand-ins give the engine for the task bar: the
// provider's own system menu, and the iconic-bitmap attributes asked of the
// desktop window manager (whose calls Wine only stubs, so they are
// recorded instead).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "skin/engine/main_form_hook.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/services_menus.h"
#include "widgets/forms/forms.h"
#include "widgets/menus/menus.h"

namespace {

std::string Joined(const std::vector<std::string>& Items) {
  std::string s;
  for (const std::string& i : Items) s += (s.empty() ? "" : ", ") + i;
  return s;
}

// ---- Iconic bitmaps ------------------------------------------------------------------------

std::vector<std::string> dwmLog;
HRESULT attributeAnswer = S_OK;

HRESULT WINAPI RecordAttribute(HWND, DWORD Attribute, LPCVOID Value, DWORD Size) {
  dwmLog.push_back(std::to_string(Attribute) + "=" +
                   std::to_string(*static_cast<const BOOL*>(Value)) + "/" + std::to_string(Size));
  return attributeAnswer;
}

HRESULT WINAPI RecordInvalidate(HWND) {
  dwmLog.push_back("invalidate");
  return S_OK;
}

TEST(IconicBitmaps, AskForBothAttributesOnlyWithTheOption) {
  SetDwmIconicCalls({&RecordAttribute, &RecordInvalidate});
  const struct {
    bool option, enable;
    HRESULT answer;
    std::string log;
  } cases[] = {
      {false, true, S_OK, ""},
      {true, true, S_OK, "10=1/4, 7=1/4, invalidate"},
      {true, false, S_OK, "10=0/4, 7=0/4, invalidate"},
      {true, true, E_FAIL, "10=1/4, invalidate"},
  };
  for (const auto& c : cases) {
    UseIconicPreviews = c.option;
    attributeAnswer = c.answer;
    dwmLog.clear();
    EnableIconicBitmaps(GetDesktopWindow(), c.enable);
    EXPECT_EQ(Joined(dwmLog), c.log) << c.option << c.enable << c.answer;
  }
  UseIconicPreviews = false;
  SetDwmIconicCalls({});
}

// ---- The stand-in's own system menu ---------------------------------------------------------

class TMenuForm : public TForm {
 public:
  explicit TMenuForm(TComponent* AOwner) : TForm(AOwner, TCreateNew{}) {}
  int MenuLoops = 0;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_ENTERMENULOOP) ++MenuLoops;
    TForm::WndProc(Message);
  }
};

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  EndMenu();
}

TEST(ProviderSysMenu, ShowsThePlatformMenuForTheActiveFormOnly) {
  auto* active = New<TMenuForm>(Application);
  auto* other = New<TMenuForm>(Application);
  for (TMenuForm* f : {other, active}) {
    f->SetBounds(100, 100, 200, 120);
    f->Show();
  }
  SetForegroundWindow(active->Handle());
  SetActiveWindow(active->Handle());
  Application->ProcessMessages();
  ASSERT_EQ(Screen->ActiveForm(), active);
  auto* activeProvider = New<TsSkinProvider>(active);
  auto* otherProvider = New<TsSkinProvider>(other);
  // The menu is modal: a timer closes it without a choice. A timer that did
  // not fire is taken back, or it would close the next test's menu.
  UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseMenu);
  otherProvider->ShowSysMenu(120, 120);
  KillTimer(nullptr, timer);
  EXPECT_EQ(other->MenuLoops, 0);
  timer = SetTimer(nullptr, 0, 50, &CloseMenu);
  activeProvider->ShowSysMenu(120, 120);
  KillTimer(nullptr, timer);
  EXPECT_EQ(active->MenuLoops, 1);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, active->Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  TObject::Free(active);
  TObject::Free(other);
}

// ---- The popup window of a menu item ------------------------------------------------------

struct TItemWindows {
  std::vector<TMenuItem*> Items;
  std::vector<HWND> Found;
  HWND Open = nullptr;
};
TItemWindows* itemWindows = nullptr;

void CALLBACK FindItemWindows(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  itemWindows->Open = FindWindowA("#32768", nullptr);
  for (TMenuItem* i : itemWindows->Items)
    itemWindows->Found.push_back(TsSkinableMenus::PopupWindowOfItem(i));
  EndMenu();
}

// The hook shapes the popup that shows an item it is told of: the window is
// found through the item's place in the open menu, hidden siblings and all.
TEST(PopupItemWindow, IsTheOpenPopupThatShowsTheItem) {
  // A popup shows only for a program that has a window in front.
  auto* form = New<TMenuForm>(Application);
  form->SetBounds(100, 100, 200, 120);
  form->Show();
  SetForegroundWindow(form->Handle());
  auto* menu = New<TPopupMenu>(form);
  TMenuItem* items[4];
  for (int i = 0; i < 4; ++i) {
    items[i] = New<TMenuItem>(menu);
    items[i]->SetCaption("Item " + std::to_string(i));
    menu->Items()->Add(items[i]);
  }
  items[1]->SetVisible(false);
  auto* closed = New<TPopupMenu>(form);
  auto* elsewhere = New<TMenuItem>(closed);
  elsewhere->SetCaption("Elsewhere");
  closed->Items()->Add(elsewhere);

  TItemWindows seen;
  seen.Items = {items[0], items[2], items[3], items[1], elsewhere, nullptr};
  itemWindows = &seen;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &FindItemWindows);
  menu->Popup(200, 200);
  KillTimer(nullptr, timer);
  itemWindows = nullptr;

  ASSERT_EQ(seen.Found.size(), 6u) << "the menu did not open";
  ASSERT_NE(seen.Open, nullptr);
  ASSERT_EQ(seen.Found.size(), 6u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(seen.Found[i], seen.Open) << "item " << i;
  EXPECT_EQ(seen.Found[3], nullptr) << "hidden item";
  EXPECT_EQ(seen.Found[4], nullptr) << "item of a closed menu";
  EXPECT_EQ(seen.Found[5], nullptr) << "no item";
  EXPECT_EQ(TsSkinableMenus::PopupWindowOfItem(items[0]), nullptr) << "after the menu closed";
  TObject::Free(form);
}

}  // namespace
