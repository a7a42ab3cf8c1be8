// What the engine uses of the form and dialog skinning (the skin provider,
// desktop composition, the message box). These stand-ins carry only what
// the engine relies on today; the form-skinning subsystem replaces them with
// its full classes under the same names.
#pragma once

#include <windows.h>

// True only on Windows 6 or later when DwmIsCompositionEnabled is found,
// succeeds and reports composition on.
bool DwmCompositionEnabled();
