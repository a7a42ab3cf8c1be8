// The start-up and shutdown steps of the skin core's units, in their order,
// for a program's list of units.
#pragma once

#include "widgets/units.h"

// Constants and captions, the graphics unit (layered windows, layout, check
// boxes), the utilities (optional system functions) and the skin command
// route.
extern const TUnitInfo SkinCoreUnits[4];

// Runs the steps outside a program (tests).
void InitializeSkinCoreUnits();
void FinalizeSkinCoreUnits();
