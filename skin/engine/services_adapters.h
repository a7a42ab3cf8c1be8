// What the engine uses of the foreign-control window adapters: finding the
// adapter of a window. The adapter subsystem brings the classes themselves
// under these names.
#pragma once

#include <windows.h>

#include "widgets/object_model.h"

// The base of the window adapters; each sets the "VLSBSC" property on its
// window while it exists.
class TvlMainWnd : public TObject {
 public:
  HWND WndHandle = nullptr;
};

// The adapter stored on the window as "VLSBSC"; nil when there is none.
TvlMainWnd* GetWindowAdapter(HWND Wnd);
