// A form under a variant of the generated test skin, loaded through the
// real SkinName, and the pixel helpers the skinned label tests use.
#pragma once

#include <filesystem>
#include <string>

#include "labels_fixture.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "test_skin.h"

// 0xRRGGBB of a TColor.
inline uint32_t RgbOf(TColor c) {
  const uint32_t v = static_cast<uint32_t>(ColorToRGB(c));
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

inline bool Near(uint32_t A, uint32_t B, int Tolerance) {
  for (int n = 0; n < 24; n += 8)
    if (std::abs(static_cast<int>((A >> n) & 0xFF) - static_cast<int>((B >> n) & 0xFF)) > Tolerance)
      return false;
  return true;
}

class TSkinnedScene {
 public:
  explicit TSkinnedScene(const std::string& Variant = test_skin::kSoundVariant) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    static int serial = 0;
    dir_ = std::filesystem::path(tmp) /
           ("lblscene" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial));
    Manifest = test_skin::WriteTestSkin(dir_ / Variant, Variant);
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(700, 500, 360, 280);
    variant_ = Variant;
  }
  // Shows the form and loads the skin; the caller adds its controls first.
  void Start() {
    Form->Show();
    PumpMessages();
    Manager = New<TsSkinManager>(Form);
    Manager->SetSkinDirectory(dir_.string());
    Manager->SetSkinName(variant_);
    Manager->SetActive(true);
    PumpMessages();
  }
  ~TSkinnedScene() {
    ReleaseCapture();
    TObject::Free(Form);
    PumpMessages();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TSkinnedScene(const TSkinnedScene&) = delete;
  TSkinnedScene& operator=(const TSkinnedScene&) = delete;

  test_skin::TestSkinManifest Manifest;
  TForm* Form = nullptr;
  TsSkinManager* Manager = nullptr;

 private:
  std::filesystem::path dir_;
  std::string variant_;
};
