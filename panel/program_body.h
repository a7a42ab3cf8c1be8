// The Varnel program body and its units, shared by the program and the
// test build that shows the panel skinned.
#pragma once

#include <vector>

#include "widgets/rtl/units.h"

// The library's units followed by the panel's own.
std::vector<TUnitInfo> VarnelUnits();
// Initializes the application, creates the main form, runs AfterCreate
// (when given) and then the message loop.
void RunVarnelBody(void (*AfterCreate)());
