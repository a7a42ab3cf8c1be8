// A form under the generated test skin with the controls and windows the
// edit adapter's tests adapt, and what the tests read from them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "reflected_edit.h"
#include "skin/adapters/edit_wnd.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "test_skin.h"
#include "tests/support/adapter_windows.h"
#include "tests/support/rgb_compare.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"

// A pixel of a window as the screen shows it (window coordinates).
inline uint32_t WindowPixel(HWND Wnd, int X, int Y) {
  TWindowDC dc(Wnd, GetWindowDC(Wnd));
  return RgbOf(static_cast<TColor>(GetPixel(dc.Get(), X, Y)));
}

class TEditScene {
 public:
  explicit TEditScene(const char* Variant = "tessera") {
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    // Away from where other test programs on the display move the cursor.
    Form->SetBounds(40, 40, 600, 420);
    Form->Show();
    // Pixels are read from the screen: nothing of another program lies over it.
    SetWindowPos(Form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    if (!Variant) return;
    skin_ = std::make_unique<test_skin::TempTestSkin>("editscene", Variant);
    Manifest = skin_->Manifest();
    Manager = test_skin::StartSkinManager(Form, *skin_);
    PumpMessages();
  }
  ~TEditScene() {
    TObject::Free(Form);
    PumpMessages();
  }
  TEditScene(const TEditScene&) = delete;
  TEditScene& operator=(const TEditScene&) = delete;

  template <typename T>
  T* AddControl(int Left, int Top, int Width, int Height) {
    T* c = New<T>(Form);
    c->SetBounds(Left, Top, Width, Height);
    c->SetParent(Form);
    c->HandleNeeded();
    return c;
  }

  // An edit adapter of the control with a skin state of its own.
  TvlEditWnd* Adapt(TWinControl* Control, bool SkinColor = true, bool SkinFontColor = true) {
    TvlSkinParams p;
    p.TargetControl = Control;
    p.SkinColor = SkinColor;
    p.SkinFontColor = SkinFontColor;
    return CreateAdapter<TvlEditWnd>(Control->Handle(), nullptr, Manager, p, true);
  }
  TvlEditWnd* AdaptWindow(HWND Wnd, const std::string& Section = "") {
    TvlSkinParams p;
    p.SectionName = Section;
    return CreateAdapter<TvlEditWnd>(Wnd, nullptr, Manager, p, true);
  }

  // The manifest's pixel of that description, as the loader gives it.
  uint32_t SkinPixel(const std::string& What) const { return test_skin::SkinPixel(Manifest, What); }
  const TsGeneralData& Section(const std::string& Name) const {
    return Manager->Sections[static_cast<size_t>(FindSectionIndex(Manager, Name))];
  }

  TForm* Form = nullptr;
  TsSkinManager* Manager = nullptr;
  test_skin::TestSkinManifest Manifest;

 private:
  std::unique_ptr<test_skin::TempTestSkin> skin_;
};
