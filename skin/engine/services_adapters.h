// What the engine uses of the foreign-control window adapters: finding the
// adapter of a window. The adapter subsystem brings the classes themselves
// under these names.
#pragma once

#include <windows.h>

#include <string>

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/adapter_routines.h"
#include "widgets/controls/messages.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/sysutils.h"

class TsSkinManager;

class TvlScrollData;

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
  void WndProc(TMessage& Message) override;

  std::string SectionName;
  TsSkinManager* Manager = nullptr;
  int RecordedWidth = 0;
  int RecordedHeight = 0;
};

// Detaches the adapter from its window (the property goes when it is still
// this adapter's); with Free the adapter is freed and Adapter becomes nil.
void ReleaseScrollWndAdapter(HWND Wnd, bool Free, int RedrawMode, TvlMainWnd*& Adapter);
