// The units of the Tobrin program, in their start-up order: the skin
// library's, then the form's.
#pragma once

#include <vector>

#include "widgets/rtl/units.h"

std::vector<TUnitInfo> TobrinUnits();
