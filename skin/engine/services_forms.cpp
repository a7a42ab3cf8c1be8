#include "skin/engine/services_forms.h"

#include "widgets/gdi_handles.h"

namespace {

using TDwmIsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);

TDwmIsCompositionEnabled BoundDwmIsCompositionEnabled() {
  // Bound on first use and kept for the life of the process.
  static TOwnedModule dwm;
  static TDwmIsCompositionEnabled fn = [] {
    dwm.Reset(LoadLibraryA("dwmapi.dll"));
    if (!dwm) return TDwmIsCompositionEnabled(nullptr);
    return reinterpret_cast<TDwmIsCompositionEnabled>(
        reinterpret_cast<void*>(GetProcAddress(dwm.Get(), "DwmIsCompositionEnabled")));
  }();
  return fn;
}

}  // namespace

bool DwmCompositionEnabled() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&vi) || vi.dwMajorVersion < 6) return false;
#pragma GCC diagnostic pop
  auto fn = BoundDwmIsCompositionEnabled();
  BOOL on = FALSE;
  return fn && SUCCEEDED(fn(&on)) && on;
}
