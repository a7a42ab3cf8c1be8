// The mouse on the skinned scroll bars: hit testing, hot tracking, pressing,
// auto-repeat, the thumb drag and the release. The scroll-window adapter
// routes its mouse and timer messages here while its window is skinned; the
// state lives in ScrollTrack (scroll_track_state.h).
#pragma once

#include <windows.h>

#include "widgets/controls/messages.h"

class TvlScrollWnd;
class TvlScrollBar;

// The part code at a point of a bar rectangle (screen or window
// coordinates, like R), spNone outside.
int HitTestBar(const TvlScrollBar* Bar, const RECT& R, int X, int Y);

// Each sets Message.Result and passes the message on where it is not the
// bars' own.
void ScrollNCHitTest(TvlScrollWnd& Adapter, TMessage& Message);
void ScrollNCMouseMove(TvlScrollWnd& Adapter, TMessage& Message);
void ScrollNCLButtonDown(TvlScrollWnd& Adapter, TMessage& Message);
void ScrollMouseMove(TvlScrollWnd& Adapter, TMessage& Message);
void ScrollLButtonUp(TvlScrollWnd& Adapter, TMessage& Message);
void ScrollTimer(TvlScrollWnd& Adapter, TMessage& Message);
// WM_CAPTURECHANGED and WM_CANCELMODE: a press ends with the capture.
void ScrollCaptureLost(TvlScrollWnd& Adapter, TMessage& Message);
// The adapter of Wnd lets go of it: whatever the mouse state holds of Wnd
// ends (timers, capture, hot bar).
void ScrollTrackingReleased(HWND Wnd);

// One scroll message to the window, with the skin commands before and after.
void SendScroll(HWND Wnd, UINT Msg, int Code, int Pos);
