// A form under a variant of the generated test skin, loaded through the
// real SkinName, and the pixel helpers the skinned label tests use.
#pragma once

#include <string>

#include "labels_fixture.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "started_skin_manager.h"
#include "tests/support/rgb_compare.h"
#include "test_skin.h"

class TSkinnedScene {
 public:
  explicit TSkinnedScene(const std::string& Variant = test_skin::kSoundVariant)
      : skin_("lblscene", Variant) {
    Manifest = skin_.Manifest();
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(700, 500, 360, 280);
  }
  // Shows the form and loads the skin; the caller adds its controls first.
  void Start() {
    Form->Show();
    PumpMessages();
    Manager = test_skin::StartSkinManager(Form, skin_);
    PumpMessages();
  }
  ~TSkinnedScene() {
    ReleaseCapture();
    TObject::Free(Form);
    PumpMessages();
  }
  TSkinnedScene(const TSkinnedScene&) = delete;
  TSkinnedScene& operator=(const TSkinnedScene&) = delete;

  test_skin::TestSkinManifest Manifest;
  TForm* Form = nullptr;
  TsSkinManager* Manager = nullptr;

 private:
  test_skin::TempTestSkin skin_;
};
