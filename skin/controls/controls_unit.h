// The skinned controls' unit: its start-up step registers the controls for
// the form reader.
#pragma once

#include "widgets/rtl/units.h"

extern const TUnitInfo SkinControlsUnit;
