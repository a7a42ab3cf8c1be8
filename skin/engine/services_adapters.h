// What the engine uses of the foreign-control window adapters: finding the
// adapter of a window. The adapter subsystem brings the classes themselves
// under these names.
#pragma once

#include <windows.h>

#include <string>

#include "widgets/controls/messages.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/sysutils.h"

class TsSkinManager;

class TvlScrollData;

// The base of the window adapters; each sets the "VLSBSC" property on its
// window while it exists.
class TvlMainWnd : public TObject {
 public:
  HWND WndHandle = nullptr;
};

// One skinned non-client scroll bar of a scroll-window adapter.
class TvlScrollBar {
 public:
  bool Visible = false;
  // The window's own thickness and arrow length (its skin state's sizes of
  // this direction); nil or -1: the manager's or the system's.
  TvlScrollData* ScrollData = nullptr;
};

// The adapter that replaces a window's scroll bars with skinned ones.
class TvlScrollWnd : public TvlMainWnd {
 public:
  TvlScrollBar HorzBar;
  TvlScrollBar VertBar;
};

// With Thickness the width of a skinned scroll bar, else the length of its
// arrow buttons: the window's own size when set, else the manager's, else
// the system's.
int ScrollBarSize(const TvlScrollBar& Bar, bool Thickness);

// The adapter stored on the window as "VLSBSC"; nil when there is none.
TvlMainWnd* GetWindowAdapter(HWND Wnd);

// ---- Stand-ins until the adapter subsystem skins combo-box lists

class TsSkinManager;

// The adapter of a combo box's drop-down list window. This one only takes
// its place on the window ("VLSBSC") and gives the list its new frame size;
// the list itself keeps the platform's look.
class TvlComboListWnd : public TvlMainWnd {
 public:
  // Unless KeepSize, the list becomes one pixel wider than it was recorded,
  // with SWP_FRAMECHANGED, so that a new frame takes effect.
  TvlComboListWnd(HWND Wnd, bool KeepSize, bool Repaint, const std::string& Section,
                  TsSkinManager* Manager);
  ~TvlComboListWnd() override;

  // The adapter's message entry; the combo passes skin commands on here.
  virtual void WndProc(TMessage& Message);

  std::string SectionName;
  TsSkinManager* Manager = nullptr;
  int RecordedWidth = 0;
  int RecordedHeight = 0;
};

// Detaches the adapter from its window (the property goes when it is still
// this adapter's); with Free the adapter is freed and Adapter becomes nil.
void ReleaseScrollWndAdapter(HWND Wnd, bool Free, int RedrawMode, TvlMainWnd*& Adapter);
// Where a window lies: its screen rectangle, its parent and the parent's
// screen rectangle, its size, and its top-left in the parent's client area.
struct TvlWindowGeometry {
  HWND ParentWnd = nullptr;
  TRect WindowRect, ParentRect;
  TSize Size;
  TPoint Position;
};
TvlWindowGeometry GetWindowGeometry(HWND Wnd);

// The adapter of an up-down window, as far as a page control's tab scroller
// needs one: it claims the window ("VLSBSC") and records where the window
// lies, which is where a print of the page control puts the scroller. It
// does not paint the window yet: the scroller keeps the platform's look.
class TvlSpinWnd : public TvlMainWnd {
 public:
  TvlSpinWnd(HWND Wnd, const std::string& Section, TsSkinManager* Manager);
  ~TvlSpinWnd() override;
  TvlSpinWnd(const TvlSpinWnd&) = delete;
  TvlSpinWnd& operator=(const TvlSpinWnd&) = delete;

  std::string SectionName;
  TsSkinManager* Manager = nullptr;
  TvlWindowGeometry Geometry;
};
