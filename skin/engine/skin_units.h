// The start-up and shutdown steps of the skin core's units, in their order,
// for a program's list of units.
#pragma once

#include "widgets/rtl/units.h"

// Constants and captions, the graphics unit (layered windows, layout, check
// boxes), the utilities (optional system functions), the skin command
// route, the skinned-forms registry, the skin manager, the glow effects
// and the window adapters.
extern const TUnitInfo SkinCoreUnits[8];

// The skin core's units followed by a program's own.
std::vector<TUnitInfo> WithSkinCoreUnits(std::initializer_list<TUnitInfo> ProgramUnits);

// Runs the steps outside a program (tests).
void InitializeSkinCoreUnits();
void FinalizeSkinCoreUnits();
