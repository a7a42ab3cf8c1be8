#include "skin/engine/window_animations.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "skin/engine/layered_windows.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/skin_const.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"

namespace {

TvlHideTimer* hideTimer = nullptr;

uint8_t AlphaByte(double Value) {
  return static_cast<uint8_t>(std::clamp(std::nearbyint(Value), 0.0, 255.0));
}

void ClearPixels(TBitmap* Bitmap) {
  const PixelView v = ArgbView(Bitmap);
  for (int y = 0; y < v.Height; ++y) std::fill_n(v.Row(y), v.Width, 0u);
}

// The whole Src stretched into (L, T, R, B) of Dst, or copied whole once the
// rectangle has grown past the picture's edges.
void DrawZoomed(TBitmap* Dst, TBitmap* Src, double L, double T, double R, double B) {
  HDC dc = Dst->Canvas()->Handle();
  HDC src = Src->Canvas()->Handle();
  if (L >= 0 && T >= 0) {
    const int l = static_cast<int>(L), t = static_cast<int>(T);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, l, t, static_cast<int>(R) - l, static_cast<int>(B) - t, src, 0, 0, Src->Width(),
               Src->Height(), SRCCOPY);
  } else {
    BitBlt(dc, 0, 0, Src->Width(), Src->Height(), src, 0, 0, SRCCOPY);
  }
}

// Frees the form now; a hide carrier is not inside one of its messages.
template <typename T>
void FreeAndNil(T*& Object) {
  T* o = Object;
  Object = nullptr;
  TObject::Free(o);
}

}  // namespace

void WaitFrameEnd(DWORD Start) {
  while (!TicksElapsed(Start, GetTickCount(), 10)) {
  }
}

TBitmap* CopyArgbBitmap(TBitmap* Bitmap) {
  TBitmap* copy = NewArgbBitmap(Bitmap->Width(), Bitmap->Height());
  BitBlt(copy->Canvas()->Handle(), 0, 0, Bitmap->Width(), Bitmap->Height(),
         Bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
  return copy;
}

void RunShowFrames(HWND Carrier, TBitmap* Picture, int Steps, double AlphaStep, uint8_t Final,
                   TvlAnimType Mode) {
  const int w = Picture->Width(), h = Picture->Height();
  auto work = OwnObject(NewArgbBitmap(w, h));
  const double zx = w / 32.0, zy = h / 32.0;
  double l = zx, t = zy, r = w - zx, b = h - zy;
  double dx = w / 2.0, dy = h / 2.0;
  double alpha = 0;
  for (int i = 0; i <= Steps; ++i) {
    const DWORD start = GetTickCount();
    alpha = std::min<double>(Final, alpha + AlphaStep);
    if (Mode == atAero) {
      ClearPixels(work.get());
      DrawZoomed(work.get(), Picture, l, t, r, b);
      if (Steps > 0) {
        l -= zx / Steps;
        t -= zy / Steps;
        r += zx / Steps;
        b += zy / Steps;
      }
    } else if (Mode == atDropDown) {
      ClearPixels(work.get());
      DrawZoomed(work.get(), Picture, 0, 0, w - dx, h - dy);
      dx /= 2;
      dy /= 2;
    } else if (i == 0) {
      BitBlt(work->Canvas()->Handle(), 0, 0, w, h, Picture->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    {
      TWindowDC screen(nullptr);
      UpdateLayered(Carrier, screen.Get(), nullptr, work.get(), AlphaByte(alpha));
    }
    WaitFrameEnd(start);
  }
}

// ---- The hide animation ------------------------------------------------------------

const TClassInfo& TvlHideTimer::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TvlHideTimer>("TvlHideTimer", &TvlThreadedTimer::StaticClass()).Done();
  return info;
}

TvlHideTimer::TvlHideTimer(TComponent* AOwner) : TvlThreadedTimer(AOwner, false) {}

TvlHideTimer::~TvlHideTimer() {
  FireAfterAnimation();
  Finish();
  if (hideTimer == this) hideTimer = nullptr;
}

TvlHideTimer* HideTimer() {
  return hideTimer;
}

void DropHideTimer() {
  hideTimer = nullptr;
}

void TvlHideTimer::Finish() {
  FreeAndNil(Carrier);
  FreeAndNil(SrcImage);
  FreeAndNil(WorkImage2);
}

void TvlHideTimer::FireAfterAnimation() {
  if (Fired) return;
  Fired = true;
  if (!ParentWnd) return;
  auto* provider =
      reinterpret_cast<TsSkinProvider*>(SendSkinCommand(ParentWnd, SkinCmdGetProvider, 0));
  if (provider && provider->OnAfterAnimation) provider->OnAfterAnimation(aeHiding);
}

void TvlHideTimer::Prepare() {
  Alpha = StartAlpha;
  AlphaStep = Steps > 0 ? StartAlpha / static_cast<double>(Steps) : StartAlpha;
  ZoomDX = ZoomDY = 0;
  if (SrcImage && Mode == atAero && Steps > 0) {
    RectL = RectT = 0;
    RectR = SrcImage->Width();
    RectB = SrcImage->Height();
    ZoomDX = SrcImage->Width() / (Steps * 32.0);
    ZoomDY = SrcImage->Height() / (Steps * 32.0);
  }
}

void TvlHideTimer::NextFrame() {
  Alpha = std::max(0.0, Alpha - AlphaStep);
  if (!SrcImage || !WorkImage2) return;
  if (Mode == atAero) {
    ClearPixels(WorkImage2);
    DrawZoomed(WorkImage2, SrcImage, RectL, RectT, RectR, RectB);
  } else if (Current == 0) {
    // The picture does not change: copied once.
    BitBlt(WorkImage2->Canvas()->Handle(), 0, 0, SrcImage->Width(), SrcImage->Height(),
           SrcImage->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
}

void TvlHideTimer::Advance() {
  if (Mode != atAero) return;
  RectL += ZoomDX;
  RectT += ZoomDY;
  RectR -= ZoomDX;
  RectB -= ZoomDY;
}

void TvlHideTimer::Step() {
  if (!Carrier) return;
  if (Current > Steps) {
    FireAfterAnimation();
    SetInterval(65535);
    SetOnTimer(TNotifyEvent());
    Finish();
    return;
  }
  NextFrame();
  if (Carrier->HandleAllocated()) {
    TWindowDC screen(nullptr);
    UpdateLayered(Carrier->Handle(), screen.Get(), nullptr, WorkImage2, AlphaByte(Alpha));
  }
  Advance();
  ++Current;
}

void AnimateWindowHide(TCustomForm* Carrier, TBitmap* Image, int Time, uint8_t StartAlpha,
                       TvlAnimType Mode, HWND ParentWnd) {
  auto carrier = OwnObject(Carrier);
  auto image = OwnObject(Image);
  // A new hide cuts the running one short.
  if (hideTimer) {
    hideTimer->SetEnabled(false);
    FreeAndNil(hideTimer->Carrier);
  }
  const int steps = AnimationSteps(Time);
  if (steps == 0 || !Carrier || !Image) return;
  if (!hideTimer) hideTimer = New<TvlHideTimer>(Application);
  TvlHideTimer* t = hideTimer;
  t->ParentWnd = ParentWnd;
  t->Fired = false;
  t->Current = 0;
  if (t->SrcImage != Image) FreeAndNil(t->SrcImage);
  t->SrcImage = image.release();
  t->StartAlpha = StartAlpha;
  t->Carrier = carrier.release();
  t->Mode = Mode;
  t->SetInterval(10);
  t->Steps = steps;

  HWND h = Carrier->Handle();
  SetWindowLongPtrA(h, GWL_EXSTYLE,
                    GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_NOACTIVATE);
  {
    TWindowDC screen(nullptr);
    UpdateLayered(h, screen.Get(), nullptr, Image, StartAlpha);
  }
  const bool topmost = (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  SetWindowPos(h, topmost ? HWND_TOPMOST : nullptr, Carrier->Left(), Carrier->Top(), Image->Width(),
               Image->Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE | (topmost ? 0u : UINT{SWP_NOZORDER}));
  FreeAndNil(t->WorkImage2);
  t->WorkImage2 = NewArgbBitmap(Image->Width(), Image->Height());
  t->Prepare();
  if (ApplicationTerminating()) {
    // No timer message would arrive any more.
    while (t->Carrier) {
      const DWORD start = GetTickCount();
      t->Step();
      if (t->Carrier) WaitFrameEnd(start);
    }
    return;
  }
  t->SetOnTimer(TNotifyEvent::Of<&TvlHideTimer::Tick>(t));
  t->Step();
  t->SetEnabled(true);
}
