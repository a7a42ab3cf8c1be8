#include "skin/adapters/stand_in_adapters.h"

#include "skin/adapters/adapter_routines.h"

const TvlAdapterClass& TvlSpinWnd::AdapterClass() {
  static const TvlAdapterClass cls{"TvlSpinWnd", []() -> TvlMainWnd* { return new TvlSpinWnd; }};
  return cls;
}

void TvlSpinWnd::UpdateGeometry() {
  if (WindowHandle)
    GetWindowGeometry(WindowHandle, ParentHandle, WindowRect, ParentRect, WindowSize, WindowPos);
}

const TvlAdapterClass& TvlCheckBoxWnd::AdapterClass() {
  static const TvlAdapterClass cls{"TvlCheckBoxWnd",
                                   []() -> TvlMainWnd* { return new TvlCheckBoxWnd; }};
  return cls;
}
