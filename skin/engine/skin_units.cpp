#include "skin/engine/skin_units.h"

#include <iterator>

#include "skin/adapters/adapter_unit.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/skin_const.h"

namespace {

// The utilities' unit also binds the theme switch of windows.
void VclUtilsUnitInitialization() {
  VlUtilsInitialization();
  BindSetWindowTheme();
}

void VclUtilsUnitFinalization() {
  UnbindSetWindowTheme();
  VlUtilsFinalization();
}

}  // namespace

const TUnitInfo SkinCoreUnits[8] = {
    {"sConst", SkinConstInitialization, SkinConstFinalization},
    {"GraphicsUnit", GraphicsUnitInitialization, GraphicsUnitFinalization},
    {"sVclUtils", VclUtilsUnitInitialization, VclUtilsUnitFinalization},
    {"SkinMessages", SkinMessageInitialization, SkinMessageFinalization},
    {"sStyleSimply", SkinDataInitialization, SkinDataFinalization},
    {"sSkinManager", SkinManagerInitialization, SkinManagerFinalization},
    {"vlEffects", GlowEffectsInitialization, GlowEffectsFinalization},
    {"vlSBUtils", SBUtilsInitialization, SBUtilsFinalization},
};

std::vector<TUnitInfo> WithSkinCoreUnits(std::initializer_list<TUnitInfo> ProgramUnits) {
  std::vector<TUnitInfo> units(std::begin(SkinCoreUnits), std::end(SkinCoreUnits));
  units.insert(units.end(), ProgramUnits);
  return units;
}

void InitializeSkinCoreUnits() {
  for (const TUnitInfo& u : SkinCoreUnits)
    if (u.Initialization) u.Initialization();
}

void FinalizeSkinCoreUnits() {
  for (size_t i = std::size(SkinCoreUnits); i-- > 0;)
    if (SkinCoreUnits[i].Finalization) SkinCoreUnits[i].Finalization();
}
