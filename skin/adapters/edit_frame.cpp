#include "skin/adapters/edit_frame.h"

#include "widgets/graphics/gdi_handles.h"

void PaintInsideInsetRegion(HWND Wnd, const TSize& Size, int Inset,
                            const std::function<void()>& Paint) {
  TOwnedRegion own(CreateRectRgn(0, 0, 0, 0));
  const bool hadRegion = own && GetWindowRgn(Wnd, own.Get()) != ERROR;
  // The window owns a region once it is set: each one is handed over.
  TOwnedRegion inset(CreateRectRgn(Inset, Inset, Size.cx - Inset, Size.cy - Inset));
  if (inset && SetWindowRgn(Wnd, inset.Get(), FALSE)) (void)inset.Detach();
  struct TGiveBack {
    HWND Wnd;
    TOwnedRegion& Own;
    bool Had;
    ~TGiveBack() {
      if (Had && SetWindowRgn(Wnd, Own.Get(), FALSE))
        (void)Own.Detach();
      else if (!Had)
        SetWindowRgn(Wnd, nullptr, FALSE);
    }
  } giveBack{Wnd, own, hadRegion};
  Paint();
}
