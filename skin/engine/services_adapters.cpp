#include "skin/engine/services_adapters.h"

TvlMainWnd* GetWindowAdapter(HWND Wnd) {
  if (!Wnd) return nullptr;
  return static_cast<TvlMainWnd*>(GetPropA(Wnd, "VLSBSC"));
}
