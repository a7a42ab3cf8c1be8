// Transitions: a control's old look is frozen on screen under a cover
// window (or, for a form, kept while a layered carrier fades the new look
// in over it), then cross-faded to the new look in 10 ms frames.
#include <algorithm>
#include <cmath>
#include <memory>

#include "skin/engine/control_helpers.h"
#include "skin/engine/layered_windows.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/engine/window_animations.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/glow_form.h"
#include "skin/foundation/skin_const.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/flag_scope.h"

namespace {

TOutputWindow* cover = nullptr;
TBitmap* savedScreen = nullptr;  // the old look as the screen showed it

TSize WindowSize(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return TSize{r.right - r.left, r.bottom - r.top};
}

bool Animatable(TWinControl* Control) {
  if (!Control || !Control->HandleAllocated()) return false;
  HWND h = Control->Handle();
  return IsWindowVisible(h) && !IsIconic(GetAncestor(h, GA_ROOT));
}

// The control's new look with its children; a form with a provider gets
// its non-client image and loses the corner pieces of its region.
void PaintNewLook(TWinControl* Control, TBitmap* Picture) {
  TsSkinProvider* provider = nullptr;
  if (auto* form = dynamic_cast<TCustomForm*>(Control))
    provider =
        reinterpret_cast<TsSkinProvider*>(SendSkinCommand(form->Handle(), SkinCmdGetProvider, 0));
  if (provider) provider->PaintNonClientImage();
  PaintControlToBitmap(Picture, Control, 0, 0, provider);
  // Printed by GDI, the picture has no alpha; the layered pushes need it.
  SetOpaque(Picture);
  if (provider) {
    provider->UpdateRegionRects();
    ClearRectsInBitmap(provider->RegionRects, Picture);
  }
}

void BlitToWindow(HWND Wnd, TBitmap* Bitmap) {
  TWindowDC dc(Wnd, GetWindowDC(Wnd));
  if (dc)
    BitBlt(dc.Get(), 0, 0, Bitmap->Width(), Bitmap->Height(), Bitmap->Canvas()->Handle(), 0, 0,
           SRCCOPY);
}

// Step 9 of every transition, however it ends.
struct TTransitionCleanup {
  ~TTransitionCleanup() {
    TOutputWindow* c = cover;
    cover = nullptr;
    TObject::Free(c);
    TBitmap* s = savedScreen;
    savedScreen = nullptr;
    TObject::Free(s);
  }
};

// The new look of a form fades in on a layered carrier above the frozen
// form; Steps 0 puts it up at once.
void LayeredFormTransition(TCustomForm* Form, int Steps, uint8_t Alpha) {
  HWND h = Form->Handle();
  const TSize size = WindowSize(h);
  auto picture = OwnObject(NewArgbBitmap(size.cx, size.cy));
  PaintNewLook(Form, picture.get());
  auto carrier = OwnObject(New<TvlGlowForm>(nullptr));
  RECT r{};
  GetWindowRect(h, &r);
  carrier->SetBounds(r.left, r.top, size.cx, size.cy);
  HWND c = carrier->Handle();
  SetWindowLongPtrA(c, GWL_EXSTYLE, GetWindowLongPtrA(c, GWL_EXSTYLE) | WS_EX_LAYERED);
  const bool topmost = (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  HWND above = GetWindow(h, GW_HWNDPREV);
  HWND after = topmost ? HWND_TOPMOST : (above && above != c ? above : HWND_TOP);
  {
    TWindowDC screen(nullptr);
    UpdateLayered(c, screen.Get(), nullptr, picture.get(), Steps == 0 ? Alpha : 0);
  }
  SetWindowPos(c, after, r.left, r.top, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  for (int i = 1; i <= Steps; ++i) {
    const DWORD start = GetTickCount();
    const double a = std::min<double>(Alpha, static_cast<double>(Alpha) * i / Steps);
    TWindowDC screen(nullptr);
    UpdateLayered(c, screen.Get(), nullptr, picture.get(), static_cast<uint8_t>(std::nearbyint(a)));
    WaitFrameEnd(start);
  }
  GlobalAnimationActive = false;
  SendMessageA(h, WM_SETREDRAW, 1, 0);
  RedrawWindow(h, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

// ---- The cover --------------------------------------------------------------------

const TClassInfo& TOutputWindow::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TOutputWindow>("TOutputWindow", &TCustomControl::StaticClass()).Done();
  return info;
}

TOutputWindow::TOutputWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetCaption("vlOutputWindow");
  SetColor(clFuchsia);
  SetTag(NoSkinTag);
}

void TOutputWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (Parent()) return;
  Params.Style = (Params.Style & ~static_cast<DWORD>(WS_CHILD)) | WS_POPUP;
  Params.WndParent = Application ? Application->Handle() : nullptr;
  if (OwnerControl && OwnerControl->HandleAllocated() &&
      (GetWindowLongPtrA(OwnerControl->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    Params.ExStyle |= WS_EX_TOPMOST;
}

void TOutputWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      Message.Result = 0;
      return;
    case WM_PAINT: {
      // Nothing is drawn: the screen keeps the old look.
      PAINTSTRUCT ps;
      BeginPaint(Handle(), &ps);
      EndPaint(Handle(), &ps);
      Message.Result = 0;
      return;
    }
  }
  TCustomControl::WndProc(Message);
}

TOutputWindow* TransitionCover() {
  return cover;
}

void ReleaseTransition() {
  TTransitionCleanup cleanup;
}

// ---- Preparing and running a transition -----------------------------------------

void PrepareTransition(TWinControl* Control, TvlAnimType) {
  // The drop-down mode's per-child zoom is not built; every mode freezes
  // the look the same way and cross-fades.
  if (!Animatable(Control)) return;
  HWND h = Control->Handle();
  RECT r{};
  GetWindowRect(h, &r);
  const int w = r.right - r.left, ht = r.bottom - r.top;
  if (!savedScreen) savedScreen = NewArgbBitmap(w, ht);
  {
    TWindowDC screen(nullptr);
    BitBlt(savedScreen->Canvas()->Handle(), 0, 0, w, ht, screen.Get(), r.left, r.top, SRCCOPY);
  }
  SetOpaque(savedScreen);
  if (!cover) {
    cover = New<TOutputWindow>(nullptr);
  }
  cover->OwnerControl = Control;
  if (TWinControl* parent = Control->Parent()) {
    cover->SetParent(parent);
    cover->SetBoundsRect(Control->BoundsRect());
    HWND c = cover->Handle();
    // Directly above the control among its siblings.
    HWND above = GetWindow(h, GW_HWNDPREV);
    if (above != c)
      SetWindowPos(c, above ? above : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    cover->SetBounds(r.left, r.top, w, ht);
    SetWindowPos(cover->Handle(), nullptr, r.left, r.top, w, ht, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(cover->Handle(), SW_SHOWNA);
}

void AnimateTransition(TWinControl* Control, uint16_t Time, uint8_t Alpha, TvlAnimType Mode) {
  if (!Animatable(Control)) return;
  TTransitionCleanup cleanup;
  TFlagScope animating(GlobalAnimationActive);
  const int steps = AnimationSteps(Time);
  HWND h = Control->Handle();
  auto* form = dynamic_cast<TCustomForm*>(Control);
  if (form && LayeredWindowsAvailable()) {
    LayeredFormTransition(form, steps, Alpha);
    return;
  }
  if (!cover) PrepareTransition(Control, Mode);
  if (!cover || !savedScreen) return;
  const TSize size = WindowSize(h);
  auto picture = OwnObject(NewArgbBitmap(size.cx, size.cy));
  PaintNewLook(Control, picture.get());
  auto mix = OwnObject(NewArgbBitmapLike(picture.get()));
  BitBlt(mix->Canvas()->Handle(), 0, 0, size.cx, size.cy, picture->Canvas()->Handle(), 0, 0,
         SRCCOPY);
  HWND c = cover->Handle();
  if (steps > 0) {
    const double step = 255.0 / steps;
    double old = 255;
    for (int i = 0; i <= steps && old >= 0; ++i) {
      const DWORD start = GetTickCount();
      CrossFadeBitmaps(ArgbView(mix.get()), ArgbView(savedScreen), ArgbView(picture.get()),
                       PixelView{}, static_cast<uint8_t>(std::nearbyint(std::max(0.0, old))));
      BlitToWindow(c, mix.get());
      old -= step;
      WaitFrameEnd(start);
    }
  }
  // Also the whole transition when it has no steps: the new look at once.
  BlitToWindow(c, picture.get());
  GlobalAnimationActive = false;
  if (!IsWindowVisible(h)) return;
  SendMessageA(h, WM_SETREDRAW, 1, 0);
  PushBitmapToLayeredWindow(c, picture.get(), 255, nullptr);
  RedrawWindow(h, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (!form || !(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED))
    SetWindowPos(
        c, nullptr, 0, 0, 0, 0,
        SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}
