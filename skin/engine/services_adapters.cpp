#include "skin/engine/services_adapters.h"

#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"

namespace {

// Where every adapter keeps itself on its window.
constexpr char kAdapterProp[] = "VLSBSC";

}  // namespace

TvlMainWnd* GetWindowAdapter(HWND Wnd) {
  if (!Wnd) return nullptr;
  return static_cast<TvlMainWnd*>(GetPropA(Wnd, kAdapterProp));
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

namespace {

// Keeps place, z-order and activation; the new frame is measured again.
constexpr UINT kListResizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                                  SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

}  // namespace

TvlComboListWnd::TvlComboListWnd(HWND Wnd, bool KeepSize, bool Repaint, const std::string& Section,
                                 TsSkinManager* AManager)
    : SectionName(Section), Manager(AManager) {
  (void)Repaint;
  WndHandle = Wnd;
  if (!Wnd) return;
  RECT r{};
  GetWindowRect(Wnd, &r);
  RecordedWidth = r.right - r.left;
  RecordedHeight = r.bottom - r.top;
  SetPropA(Wnd, kAdapterProp, this);
  if (!KeepSize)
    SetWindowPos(Wnd, nullptr, 0, 0, RecordedWidth + 1, RecordedHeight, kListResizeFlags);
}

TvlComboListWnd::~TvlComboListWnd() {
  // A window that outlives its adapter must not lead anyone to freed memory.
  if (WndHandle && IsWindow(WndHandle) && GetWindowAdapter(WndHandle) == this)
    RemovePropA(WndHandle, kAdapterProp);
}

void TvlComboListWnd::WndProc(TMessage& Message) {
  (void)Message;
}

void ReleaseScrollWndAdapter(HWND Wnd, bool Free, int RedrawMode, TvlMainWnd*& Adapter) {
  (void)RedrawMode;
  if (Wnd && IsWindow(Wnd) && GetWindowAdapter(Wnd) == Adapter) RemovePropA(Wnd, kAdapterProp);
  if (Adapter) Adapter->WndHandle = nullptr;
  if (!Free) return;
  TObject::Free(Adapter);
  Adapter = nullptr;
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
  if (Wnd) SetPropA(Wnd, kAdapterProp, static_cast<TvlMainWnd*>(this));
}

TvlSpinWnd::~TvlSpinWnd() {
  if (WndHandle && IsWindow(WndHandle) &&
      GetPropA(WndHandle, kAdapterProp) == static_cast<TvlMainWnd*>(this))
    RemovePropA(WndHandle, kAdapterProp);
}
