// What the engine uses of the foreign-control window adapters: finding the
// adapter of a window. The adapter subsystem brings the classes themselves
// under these names.
#pragma once

#include <windows.h>

#include "widgets/rtl/object_model.h"

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
