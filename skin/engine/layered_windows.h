// Layered-window pushes of the window animations, the desktop-composition
// query they depend on, and the work-area queries.
#pragma once

#include <windows.h>

#include <cstdint>

#include "widgets/rtl/sysutils.h"

class TBitmap;
class TCustomForm;

// Desktop composition as the animations see it. Tests (and a prefix
// without composition) replace the query; nil restores the platform's.
void SetAnimationCompositionQuery(bool (*Query)());
bool AnimationCompositionEnabled();

// With Enable and layered windows: adds WS_EX_LAYERED when missing (True
// exactly then) and sets the constant alpha. Otherwise clears WS_VISIBLE
// and WS_EX_LAYERED without a repaint or a hide notification; False.
bool SetLayeredAlpha(HWND Wnd, bool Enable, uint8_t Alpha);
// Shows Bitmap (nil: a transparent picture of the window's size) on Wnd at
// the constant Alpha, making Wnd layered first when it is not; DstPoint nil
// keeps the window's position.
void PushBitmapToLayeredWindow(HWND Wnd, TBitmap* Bitmap, uint8_t Alpha, const POINT* DstPoint);
// One UpdateLayeredWindow of the whole bitmap at Alpha.
void UpdateLayered(HWND Wnd, HDC ScreenDC, const POINT* DstPoint, TBitmap* Bitmap, uint8_t Alpha);

// The work area of the monitor that shows the form.
TRect FormWorkArea(TCustomForm* Form);
// The work area of the first monitor whose work area holds Point; empty
// when none does.
TRect WorkAreaAtPoint(const TPoint& Point);
