// Show and hide animations of skinned forms and dialogs: the skinned
// picture fades (or zooms) in on a layered carrier before the real window
// appears underneath, and fades out on the common hide animation after the
// window has gone.
#include <algorithm>
#include <memory>

#include "skin/engine/control_helpers.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/layered_windows.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/engine/window_animations.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/glow_form.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/flag_scope.h"

namespace {

constexpr UINT kRepaintAll =
    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

bool HasPixels(const TBitmap* Bitmap) {
  return Bitmap && Bitmap->Width() > 0 && Bitmap->Height() > 0;
}

bool IsTopmost(HWND Wnd) {
  return (GetWindowLongPtrA(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

int ShowCommand(TWindowState State) {
  switch (State) {
    case wsMinimized:
      return SW_SHOWMINNOACTIVE;
    case wsMaximized:
      return SW_SHOWMAXIMIZED;
    default:
      return SW_SHOWNORMAL;
  }
}

// A layered, inactive carrier at Wnd's window rectangle showing Picture at
// alpha 0, inserted behind InsertAfter.
TOwnedObject<TvlGlowForm> MakeShowCarrier(HWND Wnd, TBitmap* Picture, HWND InsertAfter) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  auto carrier = OwnObject(New<TvlGlowForm>(Application));
  carrier->SetBounds(r.left, r.top, Picture->Width(), Picture->Height());
  HWND c = carrier->Handle();
  SetWindowLongPtrA(c, GWL_EXSTYLE,
                    GetWindowLongPtrA(c, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_NOACTIVATE);
  {
    TWindowDC screen(nullptr);
    UpdateLayered(c, screen.Get(), nullptr, Picture, 0);
  }
  SetWindowPos(c, InsertAfter, r.left, r.top, Picture->Width(), Picture->Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return carrier;
}

// A form that blends itself gets its own alpha back; any other ends opaque
// and no longer layered, whether or not the desktop composes: a form left
// layered at alpha 0 would stay invisible.
void RestoreFormAlpha(TCustomForm* Form) {
  HWND h = Form->Handle();
  if (Form->AlphaBlend()) {
    SetLayeredAlpha(h, true, Form->AlphaBlendValue());
    return;
  }
  if (AnimationCompositionEnabled()) SetLayeredAlpha(h, true, 255);
  SetWindowLongPtrA(h, GWL_EXSTYLE,
                    GetWindowLongPtrA(h, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

TsSkinManager* ManagerOf(TsCommonData* SkinData) {
  return SkinData ? SkinData->SkinManager() : nullptr;
}

// The provider's non-client cache with the region's corner pieces cleared.
TBitmap* HidePicture(TsSkinProvider* Provider) {
  TBitmap* picture = CopyArgbBitmap(Provider->SkinData->CacheBitmap);
  Provider->UpdateRegionRects();
  ClearRectsInBitmap(Provider->RegionRects, picture);
  return picture;
}

}  // namespace

// ---- Forms ----------------------------------------------------------------------------

void AnimateFormShow(TsSkinProvider* Provider, uint16_t Time, uint8_t Alpha, TvlAnimType Mode) {
  TCustomForm* form = Provider ? Provider->Form : nullptr;
  if (!form || !Provider->SkinData) return;
  HWND h = form->Handle();
  if (IsIconic(h)) return;
  if (form->BorderStyle() == bsNone) Mode = atDropDown;
  {
    TFlagScope animating(GlobalAnimationActive);
    Provider->PaintNonClientImage();
    TBitmap* cache = Provider->SkinData->CacheBitmap;
    if (!HasPixels(cache)) return;
    auto picture = OwnObject(NewArgbBitmap(cache->Width(), cache->Height()));
    PaintControlToBitmap(picture.get(), form, 0, 0, Provider);
    SetOpaque(picture.get());
    Provider->UpdateRegionRects();
    ClearRectsInBitmap(Provider->RegionRects, picture.get());

    const bool onTop = IsTopmost(h) || (form->FormState() & fsModal);
    auto carrier = MakeShowCarrier(h, picture.get(), onTop ? HWND_TOPMOST : h);
    HWND c = carrier->Handle();
    const int steps = AnimationSteps(Time);
    if (steps > 0)
      RunShowFrames(c, picture.get(), steps, Alpha / static_cast<double>(steps), Alpha, Mode);
    RECT r{};
    GetWindowRect(h, &r);
    POINT at{r.left, r.top};
    {
      TWindowDC screen(nullptr);
      UpdateLayered(c, screen.Get(), &at, picture.get(), Alpha);
    }

    SetLayeredAlpha(h, true, 0);
    ShowWindow(h, ShowCommand(form->WindowState()));
    SetWindowPos(h, c, 0, 0, 0, 0, kKeepPlace);
    RestoreFormAlpha(form);
    GlobalAnimationActive = false;
    RedrawWindow(h, nullptr, nullptr, kRepaintAll);
    if (AnimationCompositionEnabled()) Sleep(20);
    SetWindowPos(c, h, 0, 0, 0, 0, kKeepPlace);
  }
  if (Provider->OnAfterAnimation) Provider->OnAfterAnimation(aeShowing);
}

void AnimateFormHide(TsSkinProvider* Provider) {
  ClearGlows(true);
  TCustomForm* form = Provider ? Provider->Form : nullptr;
  if (!form || !form->HandleAllocated() || !Provider->SkinData || !Provider->SkinData->CacheBitmap)
    return;
  TsSkinManager* manager = ManagerOf(Provider->SkinData);
  if (!manager) return;
  const uint8_t startAlpha = form->AlphaBlend() ? form->AlphaBlendValue() : 255;
  TFlagScope animating(GlobalAnimationActive);
  if (!Provider->NonClientImageFresh) Provider->PaintNonClientImage();
  if (!HasPixels(Provider->SkinData->CacheBitmap)) return;
  HWND h = form->Handle();
  auto carrier = OwnObject(Provider->SnapshotForm);
  Provider->SnapshotForm = nullptr;
  if (!carrier) carrier.reset(MakeWindowSnapshot(h));
  SetLayeredAlpha(h, true, 1);
  auto picture = OwnObject(HidePicture(Provider));
  const TvlFormHide* hide = manager->AnimEffects()->FormHide();
  AnimateWindowHide(carrier.release(), picture.release(), hide->Time(), startAlpha, hide->Mode(),
                    h);
  SetLayeredAlpha(h, startAlpha != 255, startAlpha);
}

// ---- Dialogs ----------------------------------------------------------------------------

void PaintDialogToBitmap(TvlDialogWnd* Dialog, TBitmap* Bitmap, bool WholeWindow) {
  if (!Dialog || !Bitmap || !IsWindow(Dialog->Handle)) return;
  HWND h = Dialog->Handle;
  const int x = Dialog->ClientOffsetX(), y = Dialog->ClientOffsetY();
  RECT client{};
  GetClientRect(h, &client);
  HDC dc = Bitmap->Canvas()->Handle();
  const TRect area(x, y, x + client.right, y + client.bottom);
  if (WholeWindow) {
    TWindowDC window(h, GetWindowDC(h));
    if (window) BitBlt(dc, x, y, client.right, client.bottom, window.Get(), x, y, SRCCOPY);
    SetAlphaInRect(Bitmap, area, 255, kNoColor);
    return;
  }
  {
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    PrintChildWindows(nullptr, h, dc);
  }
  SetOpaque(Bitmap);
}

void AnimateDialogShow(TvlDialogWnd* Dialog, uint16_t Time, uint8_t Alpha, TvlAnimType Mode) {
  if (!Dialog || !IsWindow(Dialog->Handle)) return;
  HWND h = Dialog->Handle;
  TFlagScope animating(GlobalAnimationActive);
  Dialog->PaintNonClientImage();
  TBitmap* cache = Dialog->SkinData->CacheBitmap;
  if (!HasPixels(cache)) return;
  auto picture = OwnObject(CopyArgbBitmap(cache));
  PaintDialogToBitmap(Dialog, picture.get(), false);
  auto carrier = MakeShowCarrier(h, picture.get(), IsTopmost(h) ? HWND_TOPMOST : h);
  HWND c = carrier->Handle();
  // Dialogs zoom only in atAero; the alpha step leaves room for the extra
  // frame, so no Time divides by zero.
  const int steps = AnimationSteps(Time);
  RunShowFrames(c, picture.get(), steps, Alpha / static_cast<double>(steps + 1), Alpha,
                Mode == atAero ? atAero : atFading);
  SetWindowRgn(c, nullptr, FALSE);
  Dialog->UpdateRegion(false);
  SetWindowPos(h, c, 0, 0, 0, 0, kKeepPlace);
  SetWindowLongPtrA(h, GWL_STYLE, GetWindowLongPtrA(h, GWL_STYLE) | WS_VISIBLE);
  Dialog->Perform(WM_SETREDRAW, 1, 0);
  GlobalAnimationActive = false;
  RedrawWindow(h, nullptr, nullptr, kRepaintAll);
  Dialog->UpdateRegion(true);
  if (AnimationCompositionEnabled()) Sleep(40);
  SetWindowPos(c, h, 0, 0, 0, 0, kKeepPlace);
}

void AnimateDialogHide(TvlDialogWnd* Dialog) {
  if (!Dialog || !IsWindow(Dialog->Handle)) return;
  TsSkinManager* manager = ManagerOf(Dialog->SkinData);
  if (!manager) return;
  TFlagScope animating(GlobalAnimationActive);
  ClearGlows(false);
  if (!HasPixels(Dialog->SkinData->CacheBitmap)) Dialog->PaintNonClientImage();
  if (!HasPixels(Dialog->SkinData->CacheBitmap)) return;
  auto carrier = OwnObject(Dialog->SnapshotForm);
  Dialog->SnapshotForm = nullptr;
  if (!carrier) carrier.reset(MakeWindowSnapshot(Dialog->Handle));
  auto picture = OwnObject(CopyArgbBitmap(Dialog->SkinData->CacheBitmap));
  const TvlFormHide* hide = manager->AnimEffects()->DialogHide();
  AnimateWindowHide(carrier.release(), picture.release(), hide->Time(), 255, hide->Mode(), nullptr);
}
