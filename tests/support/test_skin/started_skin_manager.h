// The skin manager of a skinned test scene. A header of its own: the test
// skin library itself knows nothing of the skin engine.
#pragma once

#include "skin/engine/skin_manager.h"
#include "temp_test_skin.h"
#include "widgets/rtl/object_model.h"

namespace test_skin {

// A manager owned by Owner, pointed at Skin and switched on: the skin loads
// through the real SkinName, as a program loads one.
inline TsSkinManager* StartSkinManager(TComponent* Owner, const TempTestSkin& Skin) {
  TsSkinManager* manager = New<TsSkinManager>(Owner);
  manager->SetSkinDirectory(Skin.Directory().string());
  manager->SetSkinName(Skin.Name());
  manager->SetActive(true);
  return manager;
}

}  // namespace test_skin
