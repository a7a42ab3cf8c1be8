// Adapters whose own painting comes later; until then each only claims its
// window on the base and keeps the platform's look of the control.
#pragma once

#include "skin/adapters/adapter_base.h"

// The adapter of an up-down window, as far as a page control's tab
// scroller needs one: it records where the window lies, which is where a
// print of the page control puts the scroller.
class TvlSpinWnd : public TvlMainWnd {
 public:
  static const TvlAdapterClass& AdapterClass();
  // Reads the window's geometry into the cached fields.
  void UpdateGeometry();
};

// The adapter of a check box or radio button window.
class TvlCheckBoxWnd : public TvlMainWnd {
 public:
  static const TvlAdapterClass& AdapterClass();
};
