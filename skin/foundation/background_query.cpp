#include "skin/foundation/background_query.h"

#include "skin/foundation/skin_commands.h"
#include "widgets/controls/controls.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

// The unanswered parent paints itself into the asker's DC, shifted so that
// the parent point (OffsetX, OffsetY) lands on the DC origin and clipped to
// the asked area; the DC's state is kept.
template <typename PaintFn>
void PaintIntoRequestDC(BackgroundRequest& r, PaintFn paint) {
  if (!r.DC) return;
  TSavedDC saved(r.DC);
  POINT old;
  OffsetViewportOrgEx(r.DC, -r.OffsetX, -r.OffsetY, &old);
  r.ClipRect = TRect(r.ClipRect.Left + r.OffsetX, r.ClipRect.Top + r.OffsetY,
                     r.ClipRect.Right + r.OffsetX, r.ClipRect.Bottom + r.OffsetY);
  IntersectClipRect(r.DC, r.ClipRect.Left, r.ClipRect.Top, r.ClipRect.Right, r.ClipRect.Bottom);
  paint(reinterpret_cast<WPARAM>(r.DC));
}

}  // namespace

bool QueryControlBackground(BackgroundRequest& Request, TControl* Control, bool PaintFallback) {
  Request.Bitmap = nullptr;
  Request.Kind = bgNotAnswered;
  Request.PaintFallback = PaintFallback;
  Request.Borders = TRect();
  // "Not known yet" for a parent that answers bgNotReady and sets no colour.
  Request.Color = clFuchsia;
  if (!Control) return false;
  SkinCommandRoute().ToControl(Control, SkinCommandMessage, SkinCmdParam(SkinCmdGetBackground),
                               reinterpret_cast<LPARAM>(&Request));
  if (Request.Kind != bgNotAnswered) return true;
  if (PaintFallback) {
    PaintIntoRequestDC(Request, [Control](WPARAM dc) {
      Control->Perform(WM_ERASEBKGND, dc, 0);
      Control->Perform(WM_PAINT, dc, 0);
    });
    return true;
  }
  Request.Kind = bgColor;
  TColor color;
  if (Control->HasState(csDesigning) && SkinCommandRoute().DefaultManagerColor(true, color)) {
    Request.Color = color;
    return true;
  }
  LRESULT answer = Control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetBgColor), 0);
  // A genuine black answer cannot be told from no answer: the protocol's limit.
  Request.Color =
      answer != 0 ? static_cast<TColor>(answer) : static_cast<TColor>(ColorToRGB(Control->Color()));
  return true;
}

bool QueryWindowBackground(BackgroundRequest& Request, HWND Wnd, bool PaintFallback) {
  const bool fallback = Request.PaintFallback;
  Request.Kind = bgNotAnswered;
  Request.PaintFallback = PaintFallback;
  Request.Borders = TRect();
  Request.Color = clFuchsia;
  SkinCommandRoute().ToWindow(Wnd, SkinCommandMessage, SkinCmdParam(SkinCmdGetBackground),
                              reinterpret_cast<LPARAM>(&Request));
  if (Request.Kind != bgNotAnswered) return true;
  if (fallback) {
    PaintIntoRequestDC(Request, [Wnd](WPARAM dc) {
      SendMessageA(Wnd, WM_ERASEBKGND, dc, 0);
      SendMessageA(Wnd, WM_PAINT, dc, 0);
    });
    return false;
  }
  TColor color;
  Request.Color = SkinCommandRoute().DefaultManagerColor(false, color) ? color : clBtnFace;
  Request.Kind = bgColor;
  return false;
}

void BackgroundInfoFromRequest(const BackgroundRequest& Request, BackgroundInfo& Info) {
  if (Request.Kind == bgBitmap) {
    Info = MakeBackgroundInfo(Request.Bitmap, Request.OffsetX, Request.OffsetY);
    return;
  }
  Info.Bitmap = Request.Bitmap;
  Info.OffsetX = Request.OffsetX;
  Info.OffsetY = Request.OffsetY;
  Info.Color = static_cast<TColor>(ColorToRGB(Request.Color));
  Info.Borders = Request.Borders;
  Info.HasBitmap = false;
}
