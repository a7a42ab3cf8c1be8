#include "soundbank_test/program_units.h"

#include "skin/controls/alpha_image_list.h"
#include "skin/controls/controls_unit.h"
#include "skin/controls/startup_steps.h"
#include "skin/engine/skin_units.h"
#include "soundbank_test/tobrin_form.h"

std::vector<TUnitInfo> TobrinUnits() {
  std::vector<TUnitInfo> units = WithSkinCoreUnits({AlphaImageListUnit, SkinControlsUnit});
  units.insert(units.end(), StartupResourceUnits.begin(), StartupResourceUnits.end());
  units.push_back({"SoundBankForm", InitSoundBankUnit, FinalizeSoundBankUnit});
  return units;
}
