// A form that writes the skin-change messages it receives into one shared
// log ("A:redraw0", "A:3"), so a test sees the order across forms; and a
// fixture that keeps the skinned-forms registry of other tests out.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "skin/engine/services_forms.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"

inline std::vector<std::string>& FormLog() {
  static std::vector<std::string> log;
  return log;
}

class TRecordingForm : public TForm {
 public:
  explicit TRecordingForm(TComponent* AOwner) : TForm(AOwner, TCreateNew{}) {}

  // Answers SkinCmdIsSkinned with 1, as a form that skins itself.
  bool SelfSkinned = false;
  // Runs when the form receives a skin command (after it is logged).
  void (*OnCommand)(TRecordingForm* Self, uint16_t Code) = nullptr;
  std::map<uint16_t, LPARAM> LastLParam;  // by command code

  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_SETREDRAW) {
      FormLog().push_back(Name() + ":redraw" + std::to_string(Message.WParam));
    } else if (Message.Msg == SkinCommandMessage) {
      const uint16_t code = SkinCmdCode(Message.WParam);
      if (code == SkinCmdIsSkinned && SelfSkinned) {
        Message.Result = 1;
        return;
      }
      if (code == SkinCmdNewSkin || code == SkinCmdRemoveSkin || code == SkinCmdRefresh ||
          code == SkinCmdStopAnimation || code == SkinCmdFrameChanged) {
        FormLog().push_back(Name() + ":" + std::to_string(code));
        LastLParam[code] = Message.LParam;
        if (OnCommand) OnCommand(this, code);
      }
    }
    TForm::WndProc(Message);
  }
};

enum class TFormWindow { Shown, Hidden, None };

// A recording form owned by the application, with a skin provider when
// asked; shown, with a hidden window, or without a window.
inline TRecordingForm* MakeRecordingForm(const std::string& Name, bool WithProvider,
                                         TFormWindow Window = TFormWindow::Shown) {
  auto* f = New<TRecordingForm>(Application);
  f->SetName(Name);
  f->SetBounds(60, 60, 200, 120);
  if (WithProvider) New<TsSkinProvider>(f);
  if (Window == TFormWindow::Shown)
    f->Show();
  else if (Window == TFormWindow::Hidden)
    f->HandleNeeded();
  return f;
}

inline TsSkinProvider* ProviderOf(TCustomForm* Form) {
  for (int i = 0; i < Form->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TsSkinProvider*>(Form->Components(i))) return p;
  return nullptr;
}

inline void PumpMessages() {
  MSG msg;
  for (int i = 0; i < 3; ++i)
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
}

// Each test starts with an empty registry and log; what it registered goes
// with the forms it made.
class SkinnedFormsFixture : public testing::Test {
 protected:
  void SetUp() override {
    saved_.swap(SkinnedFormsRegistry);
    FormLog().clear();
  }
  void TearDown() override {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) TObject::Free(*it);
    forms_.clear();
    PumpMessages();
    SkinnedFormsRegistry.swap(saved_);
    FormLog().clear();
  }
  TRecordingForm* Form(const std::string& Name, bool WithProvider,
                       TFormWindow Window = TFormWindow::Shown) {
    auto* f = MakeRecordingForm(Name, WithProvider, Window);
    forms_.push_back(f);
    return f;
  }
  // A form the test frees itself.
  void Forget(TCustomForm* F) { std::erase(forms_, F); }

 private:
  std::vector<TComponent*> saved_;
  std::vector<TRecordingForm*> forms_;
};
