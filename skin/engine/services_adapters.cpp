#include "skin/engine/services_adapters.h"

#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"

TvlMainWnd* GetWindowAdapter(HWND Wnd) {
  if (!Wnd) return nullptr;
  return static_cast<TvlMainWnd*>(GetPropA(Wnd, "VLSBSC"));
}

int ScrollBarSize(const TvlScrollBar& Bar, bool Thickness) {
  if (const TvlScrollData* d = Bar.ScrollData) {
    const int own = Thickness ? d->ScrollWidth() : d->ButtonsSize();
    if (own >= 0) return own;
  }
  if (DefaultManager) {
    const int managers = Thickness ? DefaultManager->ScrollsOptions()->ScrollSize()
                                   : DefaultManager->ScrollsOptions()->ButtonsSize();
    if (managers >= 0) return managers;
  }
  return GetSystemMetrics(SM_CXVSCROLL);
}
