// A form with skinned edits under the generated test skin (or without a
// skin), and what the tests read from them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "skin/controls/edit.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "started_skin_manager.h"
#include "tests/support/rgb_compare.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"

// The tolerance most of the edit's pixel checks allow.
inline bool Near(uint32_t A, uint32_t B) {
  return Near(A, B, 3);
}

// What the window shows at (X, Y) of its window rectangle (0xRRGGBB).
inline uint32_t WindowPixel(HWND Wnd, int X, int Y) {
  HDC dc = GetWindowDC(Wnd);
  const COLORREF c = GetPixel(dc, X, Y);
  ReleaseDC(Wnd, dc);
  return RgbOf(static_cast<TColor>(c));
}

inline uint32_t CachePixel(TsEdit* Edit, int X, int Y) {
  const PixelView v = ArgbView(Edit->SkinData()->CacheBitmap);
  return v.Contains(X, Y) ? v.At(X, Y) & 0xFFFFFF : 0xFFFFFFFFu;
}

class TEditScene {
 public:
  explicit TEditScene(bool WithSkin, const std::string& Variant = test_skin::kSoundVariant) {
    // Off the form: an edit under the cursor would start hot.
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(700, 520, 320, 200);
    Form->Show();
    PumpMessages();
    if (WithSkin) {
      skin_.emplace("editscene", Variant);
      Manifest = skin_->Manifest();
      Manager = test_skin::StartSkinManager(Form, *skin_);
    }
    SetFocus(Form->Handle());
    PumpMessages();
  }
  ~TEditScene() {
    ReleaseCapture();
    TObject::Free(Form);
    PumpMessages();
  }
  TEditScene(const TEditScene&) = delete;
  TEditScene& operator=(const TEditScene&) = delete;

  template <typename T = TsEdit>
  T* Add(const std::string& Text, int X = 20, int Y = 20, int W = 120, int H = 24) {
    T* e = New<T>(Form);
    e->SetBounds(X, Y, W, H);
    e->SetText(Text);
    e->SetParent(Form);
    PumpMessages();
    return e;
  }
  // Waits out the paints the platform still owes.
  void Settle(TsEdit* Edit) {
    PumpMessages();
    UpdateWindow(Edit->Handle());
    PumpMessages();
  }

  // The EDIT section as the generator wrote it.
  const test_skin::MfSection& EditSection() const {
    return Manifest.Sections.at(static_cast<size_t>(Manifest.Controls.Edit));
  }
  // The face colour of the EDIT borders mask in a state (0xRRGGBB).
  uint32_t MaskFace(int State) const {
    for (const test_skin::MfStrip& s : Manifest.Controls.Strips)
      if (s.Section == "EDIT" && s.Key == "BORDERSMASK")
        return s.Faces.at(size_t(State)) & 0xFFFFFF;
    ADD_FAILURE() << "no EDIT borders mask";
    return 0;
  }

  test_skin::TestSkinManifest Manifest;
  TForm* Form = nullptr;
  TsSkinManager* Manager = nullptr;

 private:
  std::optional<test_skin::TempTestSkin> skin_;
};
