// What the mouse is doing on the skinned scroll bars. There is one mouse, so
// one record serves every scroll-window adapter: the painters read it to show
// pressed and hot parts, the mouse handling writes it.
#pragma once

#include <windows.h>

// Where a point lies on a bar. Each code is the scroll code a press there
// sends, so the press handler forwards it unchanged.
constexpr int spNone = -1;
constexpr int spLineUp = SB_LINEUP;       // first arrow: left or top
constexpr int spLineDown = SB_LINEDOWN;   // second arrow: right or bottom
constexpr int spPageUp = SB_PAGEUP;       // track before the thumb
constexpr int spPageDown = SB_PAGEDOWN;   // track after the thumb
constexpr int spJump = SB_THUMBPOSITION;  // track with Shift held
constexpr int spThumb = SB_THUMBTRACK;    // the thumb

// Bars by the platform's numbering.
constexpr int sbNone = -1;
constexpr int sbHorz = SB_HORZ;
constexpr int sbVert = SB_VERT;

// Timers on the adapted window; the identifiers sit high so that they never
// meet a window's own timers.
constexpr UINT_PTR kHotTrackTimer = 0xFFF2;     // while the cursor is over a bar
constexpr UINT_PTR kRepeatDelayTimer = 0xFFFD;  // once, before auto-repeat starts
constexpr UINT_PTR kRepeatTimer = 0xFFFE;       // auto-repeat while a part is held
constexpr UINT kHotTrackInterval = 20;
constexpr UINT kRepeatDelay = 300;
constexpr UINT kRepeatInterval = 55;

struct TvlScrollTrackState {
  // The press: the window whose bar holds the mouse, the message its bar
  // sends, which bar, which part, and that part while the cursor is over it.
  HWND TrackWnd = nullptr;
  UINT ScrollMsg = 0;  // WM_HSCROLL, WM_VSCROLL or 0
  int TrackBar = sbNone;
  int PressedPart = spNone;
  int PartUnderCursor = spNone;
  // The thumb drag: the last position sent and the geometry at the press
  // (screen coordinates).
  int LastTrackPos = -1;
  int DragThumbPos = -1;
  int DragThumbLen = -1;
  int DragGrabOffset = -1;
  RECT DragBarRect{};
  // Hot tracking is keyed by window and bar: a bar number alone would make
  // the same bar of the next window look hot after its window died.
  HWND HotWnd = nullptr;
  int HotBar = sbNone;
  RECT HotBarRect{};  // screen
  int HotPart = spNone;
  int PrevHotPart = spNone;
  // The running timers' identifiers, 0 when none runs.
  UINT_PTR RepeatTimerId = 0;
  UINT_PTR HotTimerId = 0;

  bool IsHot(HWND Wnd, int Bar) const { return HotWnd && HotWnd == Wnd && HotBar == Bar; }
  bool IsPressing(HWND Wnd) const { return TrackWnd == Wnd && PressedPart != spNone; }

  void ResetPress() {
    ScrollMsg = 0;
    TrackBar = sbNone;
    PressedPart = spNone;
    PartUnderCursor = spNone;
    LastTrackPos = -1;
    DragThumbPos = DragThumbLen = DragGrabOffset = -1;
    DragBarRect = RECT{};
    RepeatTimerId = 0;
  }
  void ResetHot() {
    HotWnd = nullptr;
    HotBar = sbNone;
    HotBarRect = RECT{};
    HotPart = PrevHotPart = spNone;
    HotTimerId = 0;
  }
  void Reset() {
    ResetPress();
    ResetHot();
    TrackWnd = nullptr;
  }
};

// The one record.
inline TvlScrollTrackState ScrollTrack;
