// A variant of the generated test skin loaded into a manager, and the pixel
// reading the scroll-bar tests share.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "test_skin.h"
#include "tests/support/rgb_compare.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"

namespace scroll_test {

inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// 0xRRGGBB of a 32-bit bitmap's pixel.
inline uint32_t PixelOf(TBitmap* B, int X, int Y) {
  const PixelView v = ArgbView(B);
  return v.Contains(X, Y) ? v.At(X, Y) & 0xFFFFFF : 0xFFFFFFFFu;
}

// 0xRRGGBB of a TColor.
inline uint32_t RgbOf(TColor c) {
  const uint32_t v = static_cast<uint32_t>(ColorToRGB(c));
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

// 0xRRGGBB of a screen pixel as GetPixel reads it.
inline uint32_t RgbOfColorRef(COLORREF c) {
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

class TSkinScene {
 public:
  explicit TSkinScene(const char* Variant = test_skin::kSoundVariant)
      : skin_("scrollscene", Variant), Manifest(skin_.Manifest()) {
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Manager = test_skin::StartSkinManager(Form, skin_);
    Pump();
  }
  ~TSkinScene() {
    TObject::Free(Form);
    Pump();
  }
  TSkinScene(const TSkinScene&) = delete;
  TSkinScene& operator=(const TSkinScene&) = delete;

  // The manifest's pixel of that description, as the loader gives it.
  uint32_t SkinPixel(const std::string& What) const { return test_skin::SkinPixel(Manifest, What); }
  // The face of frame State of a section's borders mask.
  uint32_t Face(const std::string& Section, int State) const {
    return SkinPixel(Section + "/BORDERSMASK frame " + std::to_string(State) + " face");
  }
  const TsGeneralData& Section(const std::string& Name) const {
    return Manager->Sections[static_cast<size_t>(FindSectionIndex(Manager, Name))];
  }

 private:
  // Before the fields below: the skin is written before anything reads it.
  test_skin::TempTestSkin skin_;

 public:
  TForm* Form = nullptr;
  TsSkinManager* Manager = nullptr;
  test_skin::TestSkinManifest Manifest;
};

}  // namespace scroll_test
