// Flags every push button shares: set while one of them is busy, read by
// the others.
#pragma once

// The button repainting after a quick release shows pressed.
extern bool ButtonShowPressed;
// A focus change is in progress: nested focus messages do not switch
// drawing off a second time.
extern bool ButtonFocusChanging;
// The next window region is set with a redraw of the window.
extern bool ButtonRegionRedraw;
