#include "skin/adapters/adapter_routines.h"

#include <cstring>

#include "skin/adapters/adapter_base.h"
#include "skin/engine/common_data.h"
#include "skin/engine/prop_access.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/controls.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/canvas.h"
#include "widgets/graphics/tools.h"
#include "widgets/rtl/reflection.h"

namespace {

// With WINVER 0x0601 the structure carries iPaddedBorderWidth (504 bytes);
// 500 is the size every platform version accepts.
constexpr UINT kNonClientMetricsSize = 500;

// Gives a font handle to a canvas's font; the font object adopts it.
void AdoptFont(TCanvas* Canvas, HFONT Font) {
  Canvas->Font()->SetHandle(Font);
  SelectObject(Canvas->Handle(), Canvas->Font()->Handle());
}

}  // namespace

HFONT CreateSystemFont(int Kind) {
  static_assert(sizeof(NONCLIENTMETRICSW) >= kNonClientMetricsSize);
  NONCLIENTMETRICSW metrics;
  std::memset(&metrics, 0, sizeof metrics);
  metrics.cbSize = kNonClientMetricsSize;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
    return nullptr;
  const LOGFONTW* font = &metrics.lfMessageFont;
  switch (Kind) {
    case 1:
      font = &metrics.lfCaptionFont;
      break;
    case 2:
      font = &metrics.lfSmCaptionFont;
      break;
    case 3:
      font = &metrics.lfMenuFont;
      break;
    case 4:
      font = &metrics.lfStatusFont;
      break;
    default:
      break;
  }
  return CreateFontIndirectW(font);
}

void SelectSystemFont(TCanvas* Canvas, int Kind) {
  if (!Canvas) return;
  if (HFONT font = CreateSystemFont(Kind)) AdoptFont(Canvas, font);
}

void SelectWindowFont(TvlMainWnd* Adapter) {
  if (!Adapter || !Adapter->SkinData || !Adapter->SkinData->CacheBitmap) return;
  TCanvas* canvas = Adapter->SkinData->CacheBitmap->Canvas();
  if (TControl* control = Adapter->SkinData->Control) {
    if (auto* font = dynamic_cast<TFont*>(GetObjectPropByName(control, "Font"))) {
      canvas->Font()->Assign(font);
      SelectObject(canvas->Handle(), canvas->Font()->Handle());
      return;
    }
  }
  auto windowFont =
      reinterpret_cast<HFONT>(DeliverMessage(Adapter->WindowHandle, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (windowFont && GetObjectA(windowFont, sizeof lf, &lf) == sizeof lf) {
    // The window keeps its own font; the canvas gets a copy of it.
    if (lf.lfCharSet == ANSI_CHARSET && !std::strstr(lf.lfFaceName, "MS Shell Dlg"))
      lf.lfCharSet = DEFAULT_CHARSET;
    if (HFONT copy = CreateFontIndirectA(&lf)) {
      AdoptFont(canvas, copy);
      return;
    }
  }
  SelectSystemFont(canvas, 5);
}

void SetColorPropIfPresent(TObject* Control, const std::string& Name, int Value) {
  if (Control && PropExists(Control, Name)) SetOrdPropByName(Control, Name, Value);
}

TColor GetColorPropRGB(TObject* Control, const std::string& Name) {
  if (!Control || !PropExists(Control, Name)) return 0;
  return static_cast<TColor>(ColorToRGB(static_cast<TColor>(GetOrdPropByName(Control, Name))));
}

int GetColorPropValue(TObject* Control, const std::string& Name) {
  if (!Control || !PropExists(Control, Name)) return 0;
  return static_cast<int>(GetOrdPropByName(Control, Name));
}

void GetWindowGeometry(HWND Wnd, HWND& ParentWnd, TRect& WindowRect, TRect& ParentRect, TSize& Size,
                       TPoint& Pos) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  WindowRect = r;
  ParentWnd = GetParent(Wnd);
  RECT pr{};
  if (ParentWnd) GetWindowRect(ParentWnd, &pr);
  ParentRect = pr;
  Size = TSize(r.right - r.left, r.bottom - r.top);
  POINT p{r.left, r.top};
  if (ParentWnd) ScreenToClient(ParentWnd, &p);
  Pos = TPoint(p.x, p.y);
}

void RefreshWindowFrame(HWND Wnd, bool RecalcFrame) {
  if (RecalcFrame) {
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS |
                     SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  } else {
    DeliverMessage(Wnd, WM_NCPAINT, 1, 0);
  }
}

void PassToChildren(TControl* Control, HWND Wnd, const TMessage& Message) {
  if (auto* win = dynamic_cast<TWinControl*>(Control))
    BroadcastToChildControls(win, Message);
  else if (!Control)
    BroadcastToChildWindows(Wnd, Message);
}

void NotifyTopLevelControlAdded(HWND Wnd) {
  HWND top = Wnd;
  while (HWND parent = GetParent(top)) top = parent;
  if (top) SendMessageA(top, SkinCommandMessage, SkinCmdParam(SkinCmdControlAdded), 0);
}
