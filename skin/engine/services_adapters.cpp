#include "skin/engine/services_adapters.h"

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"

TvlMainWnd* GetWindowAdapter(HWND Wnd) {
  if (!Wnd) return nullptr;
  return static_cast<TvlMainWnd*>(GetPropA(Wnd, "VLSBSC"));
}

int ScrollBarSize(const TvlScrollBar& Bar, bool Thickness) {
  const int own = Thickness ? Bar.ScrollWidth : Bar.ButtonsSize;
  if (own >= 0) return own;
  if (DefaultManager) {
    const int managers = Thickness ? DefaultManager->ScrollsOptions()->ScrollSize()
                                   : DefaultManager->ScrollsOptions()->ButtonsSize();
    if (managers >= 0) return managers;
  }
  return GetSystemMetrics(SM_CXVSCROLL);
}

TvlWindowGeometry GetWindowGeometry(HWND Wnd) {
  TvlWindowGeometry g;
  if (!Wnd) return g;
  RECT r{};
  GetWindowRect(Wnd, &r);
  g.WindowRect = r;
  g.Size = TSize(r.right - r.left, r.bottom - r.top);
  g.ParentWnd = GetParent(Wnd);
  POINT p{r.left, r.top};
  if (g.ParentWnd) {
    RECT pr{};
    GetWindowRect(g.ParentWnd, &pr);
    g.ParentRect = pr;
    ScreenToClient(g.ParentWnd, &p);
  }
  g.Position = TPoint(p.x, p.y);
  return g;
}

TvlSpinWnd::TvlSpinWnd(HWND Wnd, const std::string& Section, TsSkinManager* AManager)
    : SectionName(Section), Manager(AManager) {
  WndHandle = Wnd;
  if (Wnd) SetPropA(Wnd, "VLSBSC", static_cast<TvlMainWnd*>(this));
}

TvlSpinWnd::~TvlSpinWnd() {
  if (WndHandle && IsWindow(WndHandle) &&
      GetPropA(WndHandle, "VLSBSC") == static_cast<TvlMainWnd*>(this))
    RemovePropA(WndHandle, "VLSBSC");
}
