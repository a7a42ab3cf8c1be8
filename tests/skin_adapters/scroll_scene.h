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
#include "test_skin.h"
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

inline bool Near(uint32_t A, uint32_t B, int Tolerance) {
  for (int n = 0; n < 24; n += 8)
    if (std::abs(static_cast<int>((A >> n) & 0xFF) - static_cast<int>((B >> n) & 0xFF)) > Tolerance)
      return false;
  return true;
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
  explicit TSkinScene(const char* Variant = test_skin::kSoundVariant) {
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    static int serial = 0;
    dir_ = std::filesystem::path(tmp) /
           ("scrollscene" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial));
    Manifest = test_skin::WriteTestSkin(dir_ / Variant, Variant);
    Manager = New<TsSkinManager>(Form);
    Manager->SetSkinDirectory(dir_.string());
    Manager->SetSkinName(Variant);
    Manager->SetActive(true);
    Pump();
  }
  ~TSkinScene() {
    TObject::Free(Form);
    Pump();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TSkinScene(const TSkinScene&) = delete;
  TSkinScene& operator=(const TSkinScene&) = delete;

  // The manifest's pixel of that description, as the loader gives it.
  uint32_t SkinPixel(const std::string& What) const {
    for (const test_skin::MfPixel& p : Manifest.Pixels)
      if (p.What == What) return p.LoadedArgb & 0xFFFFFF;
    ADD_FAILURE() << "no manifest pixel " << What;
    return 0;
  }
  // The face of frame State of a section's borders mask.
  uint32_t Face(const std::string& Section, int State) const {
    return SkinPixel(Section + "/BORDERSMASK frame " + std::to_string(State) + " face");
  }
  const TsGeneralData& Section(const std::string& Name) const {
    return Manager->Sections[static_cast<size_t>(FindSectionIndex(Manager, Name))];
  }

  TForm* Form = nullptr;
  TsSkinManager* Manager = nullptr;
  test_skin::TestSkinManifest Manifest;

 private:
  std::filesystem::path dir_;
};

}  // namespace scroll_test
