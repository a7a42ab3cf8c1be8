// Painting a window's own frame inside a smaller region for a moment.
#pragma once

#include <windows.h>

#include <functional>

#include "widgets/rtl/sysutils.h"

// Runs Paint while the window's region is its rectangle of Size inset by
// Inset pixels on every side, then gives the window back the region it had
// before (or none when it had none): a control that shapes its own window
// keeps its shape.
void PaintInsideInsetRegion(HWND Wnd, const TSize& Size, int Inset,
                            const std::function<void()>& Paint);
