#include "skin/engine/control_helpers.h"

#include <algorithm>
#include <vector>

#include "skin/engine/services_forms.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/bitmap_painters.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/flag_scope.h"

TSetWindowTheme SetWindowThemeProc = nullptr;

namespace {

TOwnedModule& UxThemeModule() {
  static TOwnedModule module;
  return module;
}

bool Designing(const TControl* Control) {
  return Control->HasState(csDesigning);
}

void FillWithColor(HDC DC, const RECT& Rect, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FillRect(DC, &Rect, brush.Get());
}

RECT MovedBounds(const TControl* Control, int X, int Y) {
  return RECT{Control->Left() + X, Control->Top() + Y, Control->Left() + Control->Width() + X,
              Control->Top() + Control->Height() + Y};
}

}  // namespace

bool ControlIsReady(TControl* Control) {
  if (!Control || !Control->Parent()) return false;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (win && !win->HandleAllocated()) return false;
  if (Control->HasState(csLoading | csDestroying)) return false;
  return (Control->ControlState() & (csReadingState | csCreating)) == 0;
}

HWND TopParentWindow(HWND Wnd) {
  while (HWND parent = Wnd ? GetParent(Wnd) : nullptr) Wnd = parent;
  return Wnd;
}

void AddToParentFormAdapter(TControl* Control) {
  if (!Control || Control->HasState(csLoading | csDesigning)) return;
  TCustomForm* form = GetParentForm(Control);
  if (!form || !form->HandleAllocated()) return;
  DeliverMessage(form->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdControlAdded),
                 reinterpret_cast<LPARAM>(Control));
}

// ---- Colours ------------------------------------------------------------------------

TColor GetControlBgColor(TControl* Control) {
  if (!Control) return clFuchsia;
  if (IsSkinnedControl(Control))
    return ColorToRGB(static_cast<TColor>(
        Control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetBgColor), clFuchsia)));
  return ColorToRGB(Control->Color());
}

TColor GetWindowBgColor(HWND Wnd) {
  if (!Wnd) return clFuchsia;
  return ColorToRGB(static_cast<TColor>(
      DeliverMessage(Wnd, SkinCommandMessage, SkinCmdParam(SkinCmdGetBgColor), clFuchsia)));
}

// ---- Repaint after an update ----------------------------------------------------------

void RepaintChildren(TWinControl* Control) {
  if (!Control || Designing(Control) || GlobalAnimationActive) return;
  for (int i = 0; i < Control->ControlCount(); ++i) {
    TControl* child = Control->Controls(i);
    if (child->HasState(csDestroying)) continue;
    if (auto* win = dynamic_cast<TWinControl*>(child)) {
      if (win->HandleAllocated() && win->Showing())
        SendSkinCommand(win->Handle(), SkinCmdResumePaint, 0);
    } else {
      child->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdResumePaint), 0);
    }
  }
}

// ---- Snapshots -------------------------------------------------------------------------

void PaintControlToBitmap(TBitmap* Bitmap, TControl* Control, int X, int Y,
                          TsSkinProvider* Provider) {
  if (!Bitmap || !Control) return;
  HDC dc = Bitmap->Canvas()->Handle();
  if (!Control->Visible() && !Designing(Control) && Control->Parent() && !Provider) {
    BackgroundRequest r;
    QueryControlBackground(r, Control->Parent(), false);
    if (r.Kind == bgBitmap && r.Bitmap)
      BitBlt(dc, X, Y, Control->Width(), Control->Height(), r.Bitmap->Canvas()->Handle(),
             Control->Left() + r.OffsetX, Control->Top() + r.OffsetY, SRCCOPY);
    else
      FillWithColor(dc, RECT{X, Y, X + Control->Width(), Y + Control->Height()}, r.Color);
    return;
  }
  TSavedDC saved(dc);
  // The form skinning's provider with a border form paints beyond the
  // control's own area; without one the picture is clipped to it.
  if (!Provider || !Provider->BorderForm)
    IntersectClipRect(dc, 0, 0, Control->Width(), Control->Height());
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win) {
    PerformSkinCommand(Control, SkinCmdSetPrintDC, reinterpret_cast<LPARAM>(dc));
    Control->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
    PerformSkinCommand(Control, SkinCmdSetPrintDC, 0);
    return;
  }
  // MDI children are painted first once the form skinning brings MDI forms.
  // The tab sheet's border offset comes with the widget layer's BorderWidth.
  if (win->HandleAllocated()) {
    // A window whose own printing fails still gets its children painted.
    try {
      HWND h = win->Handle();
      if (IsSkinnedWindow(h)) {
        SendSkinCommand(h, SkinCmdSetPrintDC, reinterpret_cast<LPARAM>(dc));
        SendMessageA(h, WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
        SendSkinCommand(h, SkinCmdSetPrintDC, 0);
      } else {
        const RECT client = win->ClientRect();
        FillWithColor(dc, client, win->Color());
        win->PaintTo(dc, 0, 0);
      }
    } catch (...) {
    }
  }
  PaintWindowedChildrenToBitmap(win, Bitmap);
  // Making the client area opaque in the layered picture of a border form
  // comes with the form skinning's border form.
}

void PaintWindowedChildrenToBitmap(TWinControl* Control, TBitmap* Bitmap) {
  if (!Control || !Bitmap) return;
  HDC dc = Bitmap->Canvas()->Handle();
  for (int i = 0; i < Control->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(Control->Controls(i));
    if (!child || !(child->Visible() || Designing(child)) || !child->HandleAllocated()) continue;
    TSavedDC saved(dc);
    const bool parentlessForm = dynamic_cast<TCustomForm*>(child) && !child->Parent();
    if (!parentlessForm) OffsetWindowOrgEx(dc, -child->Left(), -child->Top(), nullptr);
    PaintControlToBitmap(Bitmap, child, child->Left(), child->Top(), nullptr);
  }
}

void ClearRectsInBitmap(const std::vector<TRect>& Rects, TBitmap* Bitmap) {
  for (const TRect& r : Rects) FillRectArgb(Bitmap, r, 0, 0);
}

void BlendBitmapByAlpha(TBitmap* Dst, TRect DstRect, TBitmap* Src, TPoint SrcPoint, uint8_t Level) {
  const PixelView dst = ArgbView(Dst), src = ArgbView(Src);
  if (!dst.Valid() || !src.Valid()) return;
  // A negative start on either side moves the other side by as much.
  auto clip = [](int& Dst, int& Src) {
    if (Dst < 0) {
      Src -= Dst;
      Dst = 0;
    }
    if (Src < 0) {
      Dst -= Src;
      Src = 0;
    }
  };
  clip(DstRect.Left, SrcPoint.X);
  clip(DstRect.Top, SrcPoint.Y);
  const int w =
      std::min({DstRect.Right - DstRect.Left, dst.Width - DstRect.Left, src.Width - SrcPoint.X});
  const int h =
      std::min({DstRect.Bottom - DstRect.Top, dst.Height - DstRect.Top, src.Height - SrcPoint.Y});
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t s = src.At(SrcPoint.X + x, SrcPoint.Y + y);
      const uint32_t a = s >> 24;
      if (a == 0) continue;
      const uint32_t weight = (a * Level) >> 8;
      uint32_t& d = dst.At(DstRect.Left + x, DstRect.Top + y);
      uint32_t out = d & 0xFF000000u;
      for (int n = 0; n < 24; n += 8) {
        const uint32_t dc = (d >> n) & 0xFF, sc = (s >> n) & 0xFF;
        out |= (((dc * (255 - weight) + sc * weight) >> 8) & 0xFF) << n;
      }
      d = out;
    }
  }
}

// ---- Graphic children ------------------------------------------------------------------

namespace {

bool PaintingGraphicChildren = false;

bool IsPaintableGraphicChild(TControl* Child, HDC DC, TPoint Offset) {
  if (dynamic_cast<TWinControl*>(Child)) return false;
  if (!(Child->Visible() || Designing(Child)) || Child->Width() <= 0 || Child->Height() <= 0)
    return false;
  if ((Child->ControlStyle() & csNoDesignVisible) || Child->HasState(csDestroying)) return false;
  const RECT r = MovedBounds(Child, Offset.X, Offset.Y);
  return RectVisible(DC, &r) != FALSE;
}

// Lays what lies behind Child into the work DC at the child's place.
void LayChildBackground(HDC Work, TControl* Child, const BackgroundRequest& Bg) {
  const RECT area = MovedBounds(Child, 0, 0);
  if (Child->ControlStyle() & csOpaque) {
    FillWithColor(Work, area, GetControlBgColor(Child));
    return;
  }
  HDC src = Bg.Bitmap ? Bg.Bitmap->Canvas()->Handle() : nullptr;
  if (Bg.Kind == bgBitmap && src) {
    BitBlt(Work, area.left, area.top, Child->Width(), Child->Height(), src,
           Child->Left() + Bg.OffsetX, Child->Top() + Bg.OffsetY, SRCCOPY);
    return;
  }
  FillWithColor(Work, area, Bg.Color);
  if (!src) return;
  // Only the frame strips of the answer's bitmap hold pixels.
  const TRect& b = Bg.Borders;
  const int bw = Bg.Bitmap->Width(), bh = Bg.Bitmap->Height();
  const RECT strips[] = {
      {0, 0, bw, b.Top}, {0, 0, b.Left, bh}, {0, bh - b.Bottom, bw, bh}, {bw - b.Right, 0, bw, bh}};
  for (const RECT& strip : strips) {
    RECT inBg{area.left + Bg.OffsetX, area.top + Bg.OffsetY, area.right + Bg.OffsetX,
              area.bottom + Bg.OffsetY};
    RECT part;
    if (!IntersectRect(&part, &inBg, &strip)) continue;
    BitBlt(Work, part.left - Bg.OffsetX, part.top - Bg.OffsetY, part.right - part.left,
           part.bottom - part.top, src, part.left, part.top, SRCCOPY);
  }
}

}  // namespace

void PaintGraphicChildren(HDC DC, TWinControl* Control, bool RequireVisible, TPoint Offset) {
  if (PaintingGraphicChildren || !Control) return;
  TFlagScope painting(PaintingGraphicChildren);
  if (!(Control->Visible() || Designing(Control) || !RequireVisible)) return;
  if (Control->ControlCount() == 0) return;
  RECT clip;
  if (GetClipBox(DC, &clip) == NULLREGION || IsRectEmpty(&clip)) {
    if (Control->HandleAllocated())
      SendSkinCommand(Control->Handle(), SkinCmdSetCacheIncomplete, 0);
    return;
  }
  BackgroundRequest bg;
  QueryControlBackground(bg, Control, false);
  std::vector<TControl*> children;
  for (int i = 0; i < Control->ControlCount(); ++i)
    if (IsPaintableGraphicChild(Control->Controls(i), DC, Offset))
      children.push_back(Control->Controls(i));
  // Aligned graphic children of an MDI main form are invalidated first once
  // the form skinning brings MDI forms.
  if (children.empty()) return;
  TWindowDC screen(nullptr);
  TOwnedBitmap workBitmap(
      CreateCompatibleBitmap(screen.Get(), Control->Width(), Control->Height()));
  TMemoryDC work(CreateCompatibleDC(screen.Get()));
  if (!workBitmap || !work) return;
  TSelectedObject selected(work.Get(), workBitmap.Get());
  for (TControl* child : children) LayChildBackground(work.Get(), child, bg);
  const bool paintCopy = (Control->ControlState() & csPaintCopy) != 0;
  for (TControl* child : children) {
    TSavedDC saved(work.Get());
    const RECT target = MovedBounds(child, Offset.X, Offset.Y);
    if (!RectVisible(DC, &target))
      child->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdSetCacheIncomplete), 0);
    SetViewportOrgEx(work.Get(), child->Left(), child->Top(), nullptr);
    IntersectClipRect(work.Get(), 0, 0, child->Width(), child->Height());
    const bool lend = paintCopy && !(child->ControlState() & csPaintCopy);
    if (lend) child->SetControlState(child->ControlState() | csPaintCopy);
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(work.Get()), 0);
    if (lend) child->SetControlState(child->ControlState() & ~csPaintCopy);
  }
  // The work bitmap is in the control's own coordinates: the probe is at
  // the child's place there, only the copy moves by Offset.
  for (TControl* child : children) {
    if (GetPixel(work.Get(), child->Left(), child->Top()) == RGB(255, 0, 255)) continue;
    BitBlt(DC, child->Left() + Offset.X, child->Top() + Offset.Y, child->Width(), child->Height(),
           work.Get(), child->Left(), child->Top(), SRCCOPY);
  }
}

// ---- Theme switch ---------------------------------------------------------------------

void BindSetWindowTheme() {
  HMODULE h = LoadLibraryA("UXTHEME");
  // Old loaders gave error codes up to 32 instead of a handle.
  if (reinterpret_cast<uintptr_t>(h) <= 32) return;
  UxThemeModule().Reset(h);
  SetWindowThemeProc = reinterpret_cast<TSetWindowTheme>(
      reinterpret_cast<void*>(GetProcAddress(h, "SetWindowTheme")));
}

void UnbindSetWindowTheme() {
  SetWindowThemeProc = nullptr;
  UxThemeModule().Reset();
}
