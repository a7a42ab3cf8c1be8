// A hint shown at a screen point outside any control's own hint handling
// (caption and title-bar buttons, items that are not controls).
#pragma once

#include <string>

#include "widgets/controls/controls.h"

// Shows Text in a new window of the application's hint window class, its
// top-left 8 pixels right of and 16 below Point, moved left and up when it
// would leave the work area of the monitor at Point. A skinned hint window
// shows itself (ActivateHint); the plain one is placed, put top-most and
// shown without activation here, faded in when the system fades tooltips.
// Returns the window, which the caller frees; null for an empty Text or
// without an application. While a hint manager is active (hint_manager.h)
// the hint goes through it instead, with the application's hide pause, and
// the window returned stays the manager's.
TControl* DisplayHintAt(const std::string& Text, const TPoint& Point);
