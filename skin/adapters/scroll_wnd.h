// The window adapter whose window keeps its own scrolling while the adapter
// replaces the two standard non-client scroll bars: it takes them out of the
// frame calculation, paints them from the skin, and (through the mouse
// handling of scroll_tracking.h) sends the window the scroll messages the
// platform's bars would send.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/scroll_geometry.h"
#include "skin/foundation/background_query.h"
#include "widgets/graphics/bitmap.h"

class TvlScrollWnd;

// One bar of a scroll-window adapter, owned by it.
class TvlScrollBar : public TObject {
 public:
  TvlScrollBar(TvlScrollWnd* AOwner, int AKind);

  bool StyleShown = false;  // the window style has the bar
  uint16_t Kind = SB_HORZ;  // SB_HORZ or SB_VERT
  int MinThumbSize = 16;
  TvlScrollWnd* Owner = nullptr;
  bool Visible = false;  // takes room in the frame and is painted
  SCROLLINFO Info{};     // the last scroll state read from the window

  // Reads Info from the owner's window.
  void ReadInfo();
};

class TvlScrollWnd : public TvlMainWnd {
 public:
  TvlScrollWnd();
  ~TvlScrollWnd() override;

  static const TvlAdapterClass& AdapterClass();

  void CreateSkinData() override;
  void WndProc(TMessage& Message) override;
  // The scroll-bar hook: the bars, the left-scroll flag and the styles,
  // then the common hook; with Repaint the frame is measured again at once.
  void HookWindow(bool Repaint) override;

  bool Tracking = false;  // a thumb of one of the bars is being dragged
  bool LeftScrollBar = false;
  bool FrameCalculated = false;
  bool InFrameCalc = false;         // the window's procedure is measuring without the bar styles
  TvlScrollBar* HorzBar = nullptr;  // owned
  TvlScrollBar* VertBar = nullptr;  // owned
  int LeftEdge = -1;                // -1 before the first WM_NCCALCSIZE
  int TopEdge = 0;
  int RightEdge = 0;
  int BottomEdge = 0;

  // 0 horizontal, 1 vertical; nil for another kind or after the release.
  TvlScrollBar* Bar(int Kind) const;
  // The frame and the bars as the geometry routines take them.
  TvlScrollFrame Frame() const;
  // Whether the bar takes the mouse: GetScrollBarInfo when bound (not
  // STATE_SYSTEM_UNAVAILABLE), else the window style.
  bool IsBarActive(int Kind) const;

  // Re-reads both bars' scroll state; with Repaint paints them.
  void UpdateScrollInfo(bool Repaint);
  // Paints both visible bars and the size box into DC (0: the window's DC).
  // ThumbPos -1 puts the thumbs where the scroll state puts them.
  void PaintScrollBars(HWND Wnd, int ThumbPos, HDC DC);
  // One bar into DC (0: the window's DC) at R (window coordinates). Nothing
  // while a thumb is being dragged unless Dragging: the drag itself draws
  // this way, the thumb at ThumbPos pressed over plain tracks and arrows.
  bool PaintBar(int Kind, HDC DC, int ThumbPos, int PressedPart, const TRect& R, bool Dragging);
  bool PaintHorzBar(HDC DC, int ThumbPos, int PressedPart, const TRect& R);
  bool PaintVertBar(HDC DC, int ThumbPos, int PressedPart, const TRect& R);

  // The button-up of a press on a bar: whether the adapter lets go of the
  // capture and passes the button-up on (a combo list keeps both in its own
  // cases).
  virtual bool ReleasesPressAtButtonUp() { return true; }
  // The position a thumb's release reports; a combo list reports where the
  // thumb ended instead.
  virtual int ReleasedTrackPos(int LastTrackPos) { return LastTrackPos; }

 protected:
  // Whether a negative BorderKind lets the skin's thinner border take the
  // room of the system's (a provider's form and a list view with column
  // flags keep the system's).
  virtual bool WidensThinBorder() const { return true; }
  // Offsets of the window's background answer in its bar painting; a
  // provider's form or an MDI client places it differently.
  virtual TPoint BarBackgroundOffset() const { return TPoint(0, 0); }

 private:
  void CalcFrame(TMessage& Message);
  void NCPaint(TMessage& Message);
  // Hands Message to the previous procedure with the bar styles taken off
  // the window for the call (InFrameCalc set meanwhile); returns the style
  // the window has.
  LONG_PTR CallPrevWithoutBars(TMessage& Message);
  bool HandleSkinned(TMessage& Message);
  void ScrollSkinCommand(TMessage& Message);
  void PaintSizeBox(HDC DC);
  void FreeBars();
  // What lies behind the bars: the adapter's own answer to
  // SkinCmdGetBackground, which asks the window's procedure first. Asked of
  // the adapter directly, not through the window's chain of procedures, so
  // that painting a bar costs no round trip through the window manager.
  BackgroundRequest AskBackground();
  // The work bitmap of a bar (Kind 0, 1) or the size box (2), kept between
  // paints and made anew only when the size changes.
  TBitmap* WorkBitmap(int Kind, int Width, int Height);

  TOwnedObject<TBitmap> barBitmaps_[3];  // horizontal, vertical, size box
};

// Whether the adapter's window shows: its control's state, else the window's.
bool AdapterWindowShown(const TvlMainWnd* Adapter);

// With Thickness the width of the bar (the height of a horizontal one): the
// window's own size, else the manager's, else the system's; else the length
// of one arrow button, by the same order. 0 without a bar.
int ScrollBarSize(const TvlScrollBar* Bar, bool Thickness);

// Screen rectangles of the bars of the adapter's window.
void HorzScrollBarRect(const TvlScrollWnd* Adapter, HWND Wnd, RECT& R);
void VertScrollBarRect(const TvlScrollWnd* Adapter, HWND Wnd, RECT& R);
// The one of the two for Kind 0 or 1; false for another kind.
bool BarRect(const TvlScrollWnd* Adapter, int Kind, HWND Wnd, RECT& R);
// Thumb length and start on the bar rectangle R (screen or window
// coordinates, like R).
void ThumbGeometry(const TvlScrollBar* Bar, const RECT& R, int& Len, int& Pos);
// Whether the size box Box (window coordinates) sits in the bottom-right
// (with WS_EX_LEFTSCROLLBAR bottom-left) corner of a top-level window's
// client area, or the window has no parent: then it shows a grip.
bool IsInParentCorner(const TvlScrollWnd* Adapter, HWND Wnd, const RECT& Box);

// Gives the window back (as ReleaseWndAdapter), ends any mouse tracking on
// it and frees the bars once the window is handed back; with Free the
// adapter is freed and Adapter set to nil.
void ReleaseScrollWndAdapter(HWND Wnd, bool Free, bool RecalcFrame, TvlMainWnd*& Adapter);
template <typename T>
void ReleaseScrollWndAdapter(HWND Wnd, bool Free, bool RecalcFrame, T*& Adapter) {
  TvlMainWnd* a = Adapter;
  ReleaseScrollWndAdapter(Wnd, Free, RecalcFrame, a);
  Adapter = static_cast<T*>(a);
}
