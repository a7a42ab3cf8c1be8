#include "skin/engine/skin_units.h"

#include "skin/engine/skin_message.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/skin_const.h"

const TUnitInfo SkinCoreUnits[4] = {
    {"sConst", SkinConstInitialization, SkinConstFinalization},
    {"GraphicsUnit", GraphicsUnitInitialization, GraphicsUnitFinalization},
    {"sVclUtils", VlUtilsInitialization, VlUtilsFinalization},
    {"SkinMessages", SkinMessageInitialization, SkinMessageFinalization},
};

void InitializeSkinCoreUnits() {
  for (const TUnitInfo& u : SkinCoreUnits)
    if (u.Initialization) u.Initialization();
}

void FinalizeSkinCoreUnits() {
  for (int i = 3; i >= 0; --i)
    if (SkinCoreUnits[i].Finalization) SkinCoreUnits[i].Finalization();
}
