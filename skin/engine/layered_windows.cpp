#include "skin/engine/layered_windows.h"

#include <memory>

#include "skin/engine/services_forms.h"
#include "skin/foundation/argb_factories.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"

namespace {

bool (*compositionQuery)() = nullptr;

struct TWorkAreaSearch {
  POINT Pt;
  TRect Found;
};

BOOL CALLBACK FindWorkArea(HMONITOR Monitor, HDC, LPRECT, LPARAM Data) {
  auto* s = reinterpret_cast<TWorkAreaSearch*>(Data);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoA(Monitor, &mi) && PtInRect(&mi.rcWork, s->Pt)) {
    s->Found = TRect(mi.rcWork);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void SetAnimationCompositionQuery(bool (*Query)()) {
  compositionQuery = Query;
}

bool AnimationCompositionEnabled() {
  return compositionQuery ? compositionQuery() : DwmCompositionEnabled();
}

bool SetLayeredAlpha(HWND Wnd, bool Enable, uint8_t Alpha) {
  if (!Wnd) return false;
  const LONG_PTR ex = GetWindowLongPtrA(Wnd, GWL_EXSTYLE);
  if (Enable && LayeredWindowsAvailable()) {
    const bool added = (ex & WS_EX_LAYERED) == 0;
    if (added) SetWindowLongPtrA(Wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    if (SetLayeredWindowAttributesProc)
      SetLayeredWindowAttributesProc(Wnd, static_cast<COLORREF>(clNone), Alpha, LWA_ALPHA);
    return added;
  }
  // SetWindowLong rather than ShowWindow: the caller hides or re-shows the
  // window itself, and no repaint may happen in between.
  SetWindowLongPtrA(Wnd, GWL_STYLE, GetWindowLongPtrA(Wnd, GWL_STYLE) & ~WS_VISIBLE);
  SetWindowLongPtrA(Wnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  return false;
}

void UpdateLayered(HWND Wnd, HDC ScreenDC, const POINT* DstPoint, TBitmap* Bitmap, uint8_t Alpha) {
  if (!UpdateLayeredWindowProc || !Bitmap) return;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
  SIZE size{Bitmap->Width(), Bitmap->Height()};
  POINT origin{0, 0};
  POINT dst = DstPoint ? *DstPoint : POINT{};
  UpdateLayeredWindowProc(Wnd, ScreenDC, DstPoint ? &dst : nullptr, &size,
                          Bitmap->Canvas()->Handle(), &origin, static_cast<COLORREF>(clNone),
                          &blend, ULW_ALPHA);
}

void PushBitmapToLayeredWindow(HWND Wnd, TBitmap* Bitmap, uint8_t Alpha, const POINT* DstPoint) {
  if (!Wnd || !LayeredWindowsAvailable()) return;
  std::unique_ptr<TBitmap> blank;
  if (!Bitmap) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    blank.reset(NewArgbBitmap(r.right - r.left, r.bottom - r.top));
    Bitmap = blank.get();
  }
  const LONG_PTR ex = GetWindowLongPtrA(Wnd, GWL_EXSTYLE);
  if (!(ex & WS_EX_LAYERED)) {
    if (AnimationCompositionEnabled()) {
      SetWindowLongPtrA(Wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    } else {
      // Without composition the area under the window has to be painted
      // again while the window is briefly invisible, or the old pixels stay.
      const LONG_PTR style = GetWindowLongPtrA(Wnd, GWL_STYLE);
      SetWindowLongPtrA(Wnd, GWL_STYLE, style & ~WS_VISIBLE);
      SetWindowLongPtrA(Wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
      RECT r{};
      GetWindowRect(Wnd, &r);
      RedrawWindow(GetDesktopWindow(), &r, nullptr,
                   RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
      SetWindowLongPtrA(Wnd, GWL_STYLE, GetWindowLongPtrA(Wnd, GWL_STYLE) | (style & WS_VISIBLE));
    }
  }
  TWindowDC screen(nullptr);
  UpdateLayered(Wnd, screen.Get(), DstPoint, Bitmap, Alpha);
}

TRect FormWorkArea(TCustomForm* Form) {
  HMONITOR m = Form && Form->HandleAllocated()
                   ? MonitorFromWindow(Form->Handle(), MONITOR_DEFAULTTONEAREST)
                   : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoA(m, &mi)) return TRect{};
  return TRect(mi.rcWork);
}

TRect WorkAreaAtPoint(const TPoint& Point) {
  TWorkAreaSearch s{{Point.X, Point.Y}, TRect{}};
  EnumDisplayMonitors(nullptr, nullptr, FindWorkArea, reinterpret_cast<LPARAM>(&s));
  return s.Found;
}
