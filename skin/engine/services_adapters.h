// What the engine uses of the foreign-control window adapters: finding the
// adapter of a window. The adapter subsystem brings the classes themselves
// under these names.
#pragma once

#include <windows.h>

#include <string>

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/adapter_routines.h"
#include "skin/adapters/scroll_wnd.h"
#include "widgets/controls/messages.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/sysutils.h"

class TsSkinManager;

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
