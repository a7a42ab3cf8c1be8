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
#include "widgets/forms/forms.h"

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
  // The menu is modal: a timer closes it without a choice.
  SetTimer(nullptr, 0, 50, &CloseMenu);
  otherProvider->ShowSysMenu(120, 120);
  EXPECT_EQ(other->MenuLoops, 0);
  SetTimer(nullptr, 0, 50, &CloseMenu);
  activeProvider->ShowSysMenu(120, 120);
  EXPECT_EQ(active->MenuLoops, 1);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, active->Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  TObject::Free(active);
  TObject::Free(other);
}

}  // namespace
