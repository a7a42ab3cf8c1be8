// The mouse on the skinned scroll bars. One mouse exists, so one record
// (ScrollTrack) holds the press, the drag and the hot bar for every adapter;
// the record names its windows, and every handler first checks that the
// record speaks of its own window, because a window may die, lose the
// capture or be released at any moment, even inside a scroll message this
// code sends it.
#include "skin/adapters/scroll_tracking.h"

#include <algorithm>

#include "skin/adapters/bar_hit_test.h"
#include "skin/adapters/scroll_track_state.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/flag_scope.h"

namespace {

TvlScrollTrackState& S = ScrollTrack;

void PassOn(TvlScrollWnd& A, TMessage& M) {
  M.Result = A.CallPrevWndProc(A.WindowHandle, M.Msg, M.WParam, M.LParam);
}

bool ShiftHeld() {
  return GetAsyncKeyState(VK_SHIFT) < 0;
}

// GetAsyncKeyState reads the physical buttons; the primary one is the right
// one when the buttons are swapped.
bool PrimaryButtonHeld() {
  return GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0;
}

// The window still runs through the adapter: nothing a scroll message did
// to it (destroyed, released) has ended that.
bool StillAdapted(TvlScrollWnd& A, HWND Wnd) {
  return !A.Released && IsWindow(Wnd) && A.Bar(sbHorz) && A.Bar(sbVert);
}

// The coordinate of P along a bar of that kind.
int Along(int Kind, POINT P) {
  return Kind == sbVert ? P.y : P.x;
}

// A point packed as two signed 16-bit halves (screen coordinates may be
// negative on a monitor left of or above the primary one).
POINT UnpackPoint(LPARAM Packed) {
  return {short(LOWORD(Packed)), short(HIWORD(Packed))};
}

POINT MessagePoint() {
  return UnpackPoint(LPARAM(GetMessagePos()));
}

void RepaintBars(TvlScrollWnd& A) {
  if (StillAdapted(A, A.WindowHandle)) A.PaintScrollBars(A.WindowHandle, -1, nullptr);
}

TvlScrollWnd* ScrollAdapterOf(HWND Wnd) {
  return Wnd ? dynamic_cast<TvlScrollWnd*>(GetWindowAdapter(Wnd)) : nullptr;
}

void KillRepeatTimers(HWND Wnd) {
  KillTimer(Wnd, kRepeatDelayTimer);
  KillTimer(Wnd, kRepeatTimer);
  S.RepeatTimerId = 0;
}

// A hot bar of another window stops being hot: its timer ends and its bars
// lose the highlight.
void LeaveHotWindow(HWND Except) {
  const HWND old = S.HotWnd;
  if (!old || old == Except) return;
  KillTimer(old, kHotTrackTimer);
  S.ResetHot();
  if (TvlScrollWnd* other = ScrollAdapterOf(old)) RepaintBars(*other);
}

// A press that the record still holds for a window that has lost the
// mouse (its capture went elsewhere unheard): its timers end, nothing is
// sent.
void AbandonPress() {
  const HWND old = S.TrackWnd;
  if (!old || S.PressedPart == spNone) return;
  KillRepeatTimers(old);
  S.ResetPress();
  if (TvlScrollWnd* other = ScrollAdapterOf(old)) {
    other->Tracking = false;
    RepaintBars(*other);
  }
}

// Draws the tracked bar with its thumb at ThumbPos (screen, along the bar)
// pressed, as the drag shows it.
void DrawDraggedThumb(TvlScrollWnd& A, int ThumbPos) {
  RECT w{};
  GetWindowRect(A.WindowHandle, &w);
  RECT r = S.DragBarRect;
  OffsetRect(&r, -w.left, -w.top);
  const int shift = S.TrackBar == sbVert ? w.top : w.left;
  TWindowDC dc(A.WindowHandle, GetWindowDC(A.WindowHandle));
  if (dc.Get()) A.PaintBar(S.TrackBar, dc.Get(), ThumbPos - shift, spThumb, TRect(r), true);
}

// The thumb follows the cursor (screen coordinate along the bar); a new
// position is sent as SB_THUMBTRACK.
void DragThumbTo(TvlScrollWnd& A, int Cursor) {
  TvlScrollBar* bar = A.Bar(S.TrackBar);
  if (!bar) return;
  const HWND wnd = A.WindowHandle;
  const TBarSpan span = BarSpan(TRect(S.DragBarRect), S.TrackBar == sbVert,
                                ScrollBarSize(bar, false), S.DragThumbPos, S.DragThumbLen);
  const TThumbDrop drop =
      DropThumb(span, S.DragGrabOffset, Cursor, bar->Info.nMin, bar->Info.nMax, bar->Info.nPage);
  DrawDraggedThumb(A, drop.ThumbPos);
  if (drop.Position == S.LastTrackPos) return;
  S.LastTrackPos = drop.Position;
  bar->Info.nTrackPos = drop.Position + bar->Info.nMin;
  TFlagScope scrolling(A.Scrolling);
  SendScroll(wnd, S.ScrollMsg, SB_THUMBTRACK, bar->Info.nTrackPos);
}

// The thumb's length and place on the bar at the press, in screen
// coordinates.
void TakeDragGeometry(TvlScrollBar* Bar, const RECT& BarRect) {
  ThumbGeometry(Bar, BarRect, S.DragThumbLen, S.DragThumbPos);
  S.DragBarRect = BarRect;
}

// Whether the cursor (screen) is over the pressed part; the bar shows the
// part pressed only then.
void FollowCursor(TvlScrollWnd& A, POINT Cursor) {
  TvlScrollBar* bar = A.Bar(S.TrackBar);
  RECT r{};
  if (!bar || !BarRect(&A, S.TrackBar, A.WindowHandle, r)) return;
  const int over = HitTestBar(bar, r, Cursor.x, Cursor.y) == S.PressedPart ? S.PressedPart : spNone;
  if (over == S.PartUnderCursor) return;
  S.PartUnderCursor = over;
  RepaintBars(A);
}

// Ends the press on A's window: the closing scroll messages, the capture and
// the timers. The record is idle before anything is sent, so a window that
// reacts to the messages (or to the capture change) finds no press.
void EndPress(TvlScrollWnd& A, bool LetCaptureGo) {
  const HWND wnd = A.WindowHandle;
  const int part = S.PressedPart;
  const UINT msg = S.ScrollMsg;
  const bool dragging = A.Tracking;
  const TvlScrollBar* bar = A.Bar(S.TrackBar);
  const int position = dragging && bar ? A.ReleasedTrackPos(S.LastTrackPos + bar->Info.nMin) : 0;
  KillRepeatTimers(wnd);
  S.ResetPress();
  A.Tracking = false;
  if (LetCaptureGo && GetCapture() == wnd) ReleaseCapture();
  if (part == spNone || part == spJump || !msg) return RepaintBars(A);
  {
    TFlagScope scrolling(A.Scrolling);
    if (dragging) SendScroll(wnd, msg, SB_THUMBPOSITION, position);
    if (StillAdapted(A, wnd)) SendScroll(wnd, msg, SB_ENDSCROLL, position);
  }
  RepaintBars(A);
}

// A press may only live while its window holds the capture and the button
// is down; anything else (a message box, another window taking the mouse)
// ends it.
bool PressStillHeld(HWND Wnd) {
  return GetCapture() == Wnd && PrimaryButtonHeld();
}

void HotTick(TvlScrollWnd& A) {
  const HWND wnd = A.WindowHandle;
  if (S.HotWnd != wnd) {
    KillTimer(wnd, kHotTrackTimer);
    return;
  }
  if (A.Tracking) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (!PtInRect(&S.HotBarRect, cursor)) {
    KillTimer(wnd, kHotTrackTimer);
    S.ResetHot();
    RepaintBars(A);
    return;
  }
  S.HotPart = HitTestBar(A.Bar(S.HotBar), S.HotBarRect, cursor.x, cursor.y);
  if (S.HotPart == S.PrevHotPart) return;
  S.PrevHotPart = S.HotPart;
  RepaintBars(A);
}

void RepeatTick(TvlScrollWnd& A, UINT_PTR Id) {
  const HWND wnd = A.WindowHandle;
  if (S.TrackWnd != wnd || S.PressedPart < spLineUp || S.PressedPart > spPageDown) {
    KillTimer(wnd, Id);
    return;
  }
  if (!PressStillHeld(wnd)) return EndPress(A, true);
  if (Id == kRepeatDelayTimer) {
    KillTimer(wnd, kRepeatDelayTimer);
    S.RepeatTimerId = SetTimer(wnd, kRepeatTimer, kRepeatInterval, nullptr);
    return;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  FollowCursor(A, cursor);
  if (S.PartUnderCursor == spNone) return;
  TFlagScope scrolling(A.Scrolling);
  SendScroll(wnd, S.ScrollMsg, S.PartUnderCursor, 0);
}

}  // namespace

int HitTestBar(const TvlScrollBar* Bar, const RECT& R, int X, int Y) {
  if (!Bar) return spNone;
  int len = 0, pos = 0;
  ThumbGeometry(Bar, R, len, pos);
  const bool vertical = Bar->Kind == SB_VERT;
  const TBarSpan span = BarSpan(TRect(R), vertical, ScrollBarSize(Bar, false), pos, len);
  return HitTestSpan(span, vertical ? Y : X, vertical ? X : Y, ShiftHeld());
}

void ScrollNCHitTest(TvlScrollWnd& A, TMessage& M) {
  const HWND wnd = A.WindowHandle;
  const POINT p = UnpackPoint(M.LParam);
  if (A.SkinManager && A.SkinManager->HotWindow != wnd && A.SkinData && !A.SkinData->Hot) {
    RECT w{};
    GetWindowRect(wnd, &w);
    if (!A.SkinData->Control || PtInRect(&w, p)) A.SkinManager->SetHotWindow(wnd);
  }
  for (int kind : {sbHorz, sbVert}) {
    const TvlScrollBar* bar = A.Bar(kind);
    RECT r{};
    if (!bar || !bar->Visible || !BarRect(&A, kind, wnd, r) || !PtInRect(&r, p)) continue;
    M.Result = !A.IsBarActive(kind) ? HTNOWHERE : kind == sbVert ? HTVSCROLL : HTHSCROLL;
    return;
  }
  // The size box of a window with its vertical bar on the right sizes the
  // window it sits in the corner of.
  RECT h{}, v{};
  HorzScrollBarRect(&A, wnd, h);
  VertScrollBarRect(&A, wnd, v);
  const RECT box{h.right, h.top, v.right, h.bottom};
  if (!A.LeftScrollBar && PtInRect(&box, p)) {
    RECT w{};
    GetWindowRect(wnd, &w);
    RECT inWindow = box;
    OffsetRect(&inWindow, -w.left, -w.top);
    if (IsInParentCorner(&A, wnd, inWindow)) {
      M.Result = HTBOTTOMRIGHT;
      return;
    }
  }
  PassOn(A, M);
}

void ScrollNCMouseMove(TvlScrollWnd& A, TMessage& M) {
  const HWND wnd = A.WindowHandle;
  // A move without the capture means no press of another window still holds
  // the mouse; one the record still shows there was lost unheard.
  if (S.TrackWnd != wnd) AbandonPress();
  S.TrackWnd = wnd;
  if (M.WParam == HTHSCROLL || M.WParam == HTVSCROLL) {
    const int kind = M.WParam == HTVSCROLL ? sbVert : sbHorz;
    if (!S.IsHot(wnd, kind)) {
      LeaveHotWindow(wnd);
      S.HotPart = S.PrevHotPart = spNone;
      BarRect(&A, kind, wnd, S.HotBarRect);
      S.HotWnd = wnd;
      S.HotBar = kind;
      S.HotTimerId = SetTimer(wnd, kHotTrackTimer, kHotTrackInterval, nullptr);
      RepaintBars(A);
    }
  }
  PassOn(A, M);
}

void ScrollNCLButtonDown(TvlScrollWnd& A, TMessage& M) {
  const HWND wnd = A.WindowHandle;
  const int kind = M.WParam == HTVSCROLL ? sbVert : M.WParam == HTHSCROLL ? sbHorz : sbNone;
  TvlScrollBar* bar = A.Bar(kind);
  RECT r{};
  if (!bar || !BarRect(&A, kind, wnd, r)) return PassOn(A, M);
  const POINT p = UnpackPoint(M.LParam);
  AbandonPress();
  const int part = HitTestBar(bar, r, p.x, p.y);
  // No part under the point (the middle pixel of a bar its arrows share,
  // or a thumb that fills the track), or a bar that takes no input: the
  // press does nothing. The platform's own handling would start tracking a
  // bar whose place it no longer knows.
  if (part == spNone || !A.IsBarActive(kind)) return;
  S.TrackWnd = wnd;
  S.ScrollMsg = kind == sbVert ? WM_VSCROLL : WM_HSCROLL;
  S.TrackBar = kind;
  S.PressedPart = part;
  switch (part) {
    case spJump: {
      // The thumb's centre jumps to the point: one SB_THUMBTRACK, and the
      // press is over at once (no capture, no repeat, no closing message).
      TakeDragGeometry(bar, r);
      S.DragGrabOffset = S.DragThumbLen / 2;
      S.LastTrackPos = -1;
      DragThumbTo(A, Along(kind, p));
      S.ResetPress();
      RepaintBars(A);
      return;
    }
    case spThumb:
      TakeDragGeometry(bar, r);
      A.Tracking = true;
      bar->Info.nTrackPos = bar->Info.nPos;
      S.DragGrabOffset = Along(kind, p) - S.DragThumbPos;
      S.LastTrackPos = bar->Info.nPos - bar->Info.nMin;
      SetCapture(wnd);
      DrawDraggedThumb(A, S.DragThumbPos);
      return;
    default:
      // The capture first, so that a capture lost inside the first scroll
      // message already ends the press.
      SetCapture(wnd);
      S.PartUnderCursor = part;
      RepaintBars(A);
      {
        TFlagScope scrolling(A.Scrolling);
        SendScroll(wnd, S.ScrollMsg, part, 0);
      }
      if (S.TrackWnd != wnd || S.PressedPart != part) return;
      S.RepeatTimerId = SetTimer(wnd, kRepeatDelayTimer, kRepeatDelay, nullptr);
      return;
  }
}

void ScrollMouseMove(TvlScrollWnd& A, TMessage& M) {
  const HWND wnd = A.WindowHandle;
  if (S.TrackWnd != wnd || S.PressedPart == spNone) return PassOn(A, M);
  if (A.Tracking) return DragThumbTo(A, Along(S.TrackBar, MessagePoint()));
  FollowCursor(A, MessagePoint());
}

void ScrollLButtonUp(TvlScrollWnd& A, TMessage& M) {
  const HWND wnd = A.WindowHandle;
  if (S.TrackWnd != wnd || S.PressedPart == spNone) return PassOn(A, M);
  const bool letGo = A.ReleasesPressAtButtonUp();
  EndPress(A, letGo);
  if (letGo && StillAdapted(A, wnd)) PassOn(A, M);
}

void ScrollTimer(TvlScrollWnd& A, TMessage& M) {
  switch (M.WParam) {
    case kHotTrackTimer:
      // It repaints when the hot part changes; a repaint at every tick, 50
      // times a second, would only cost time.
      return HotTick(A);
    case kRepeatDelayTimer:
    case kRepeatTimer:
      RepeatTick(A, M.WParam);
      break;
    default:
      PassOn(A, M);
  }
  if (!A.Scrolling && !A.Tracking && StillAdapted(A, A.WindowHandle)) A.UpdateScrollInfo(true);
}

void ScrollCaptureLost(TvlScrollWnd& A, TMessage& M) {
  const HWND wnd = A.WindowHandle;
  // WM_CAPTURECHANGED names the new capture window; the adapter's own
  // SetCapture on a window that already has it changes nothing.
  const bool lost = M.Msg == WM_CANCELMODE || reinterpret_cast<HWND>(M.LParam) != wnd;
  if (lost && S.TrackWnd == wnd && S.PressedPart != spNone) EndPress(A, M.Msg == WM_CANCELMODE);
  if (StillAdapted(A, wnd)) PassOn(A, M);
}

void ScrollTrackingReleased(HWND Wnd) {
  if (!Wnd) return;
  if (S.HotWnd == Wnd) {
    KillTimer(Wnd, kHotTrackTimer);
    S.ResetHot();
  }
  if (S.TrackWnd != Wnd) return;
  const bool pressed = S.PressedPart != spNone;
  KillRepeatTimers(Wnd);
  S.ResetPress();
  S.TrackWnd = nullptr;
  if (pressed && GetCapture() == Wnd) ReleaseCapture();
}

void SendScroll(HWND Wnd, UINT Msg, int Code, int Pos) {
  const LPARAM what = MAKELONG(Code, Msg);
  const WPARAM param = MAKEWPARAM(Code, std::min(Pos, 0xFFFF));
  if (SendSkinCommand(Wnd, SkinCmdBeforeScroll, what) == 1) {
    // The window positions itself from LParam.
    DeliverMessage(Wnd, Msg, param, Pos);
  } else {
    if (Code == SB_THUMBTRACK) {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_POS;
      si.nPos = Pos;
      SetScrollInfo(Wnd, Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, &si, FALSE);
    }
    DeliverMessage(Wnd, Msg, param, 0);
  }
  if (IsWindow(Wnd)) SendSkinCommand(Wnd, SkinCmdAfterScroll, what);
}
