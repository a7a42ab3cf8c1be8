// The window procedures of the client-window and edit adapters: the frame
// painted from the cache, the print, and the skin commands they answer.
#include <algorithm>

#include "skin/adapters/adapter_routines.h"
#include "skin/adapters/edit_frame.h"
#include "skin/adapters/edit_wnd.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/skin_commands.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/flag_scope.h"

namespace {

// Only the area the platform left to repaint is validated.
void ValidateOnly(HWND Wnd) {
  PAINTSTRUCT ps;
  BeginPaint(Wnd, &ps);
  EndPaint(Wnd, &ps);
}

bool ClipEmpty(HDC DC) {
  RECT clip;
  return GetClipBox(DC, &clip) == NULLREGION;
}

bool WindowEnabled(TsCommonData* Data, HWND Wnd) {
  if (Data->Control) return Data->Control->Enabled();
  return IsWindowEnabled(Wnd) != FALSE;
}

void RedrawFrame(HWND Wnd, UINT Flags) {
  RedrawWindow(Wnd, nullptr, nullptr, Flags);
}

}  // namespace

// ---- TvlBaseWnd -------------------------------------------------------------------------

void TvlBaseWnd::WndProc(TMessage& Message) {
  TsCommonData* d = SkinData;
  if (Released || !d || !d->Skinned(false)) {
    TvlScrollWnd::WndProc(Message);
    return;
  }
  HWND wnd = WindowHandle;
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_EXITSIZEMOVE:
      d->BgChanged = true;
      break;
    case WM_SETCURSOR:
      Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      return;
    case 0x2100:
      return;
    case SkinCommandMessage:
      if (SkinCmdCode(Message.WParam) == SkinCmdRefresh &&
          reinterpret_cast<TsSkinManager*>(Message.LParam) == SkinManager) {
        TvlScrollWnd::WndProc(Message);
        if (!Released && AdapterWindowShown(this)) SendMessageA(wnd, WM_NCPAINT, 1, 0);
        return;
      }
      if (SkinCmdCode(Message.WParam) == SkinCmdPrepareCache) PaintBorderCache(d, wnd, false);
      break;
    default:
      break;
  }
  const UINT msg = Message.Msg;
  TvlScrollWnd::WndProc(Message);
  if (Released) return;
  switch (msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!Scrolling) UpdateScrollInfo(true);
      break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      if (AdapterWindowShown(this)) SendMessageA(wnd, WM_NCPAINT, 1, 0);
      break;
    default:
      break;
  }
}

// ---- TvlEditWnd -------------------------------------------------------------------------

void TvlEditWnd::WndProc(TMessage& Message) {
  if (Message.Msg == SkinCommandMessage && SkinCmdCode(Message.WParam) == SkinCmdIsSkinned) {
    Message.Result = 1;
    return;
  }
  TsCommonData* d = SkinData;
  if (Released || !d || !d->Skinned(false)) {
    TvlBaseWnd::WndProc(Message);
    return;
  }
  HWND wnd = WindowHandle;
  const bool shown = AdapterWindowShown(this);
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      auto* win = dynamic_cast<TWinControl*>(d->Control);
      if (HotBorderAllowed(d, false) && win && win->CanFocus() && win->TabStop()) {
        d->BgChanged = true;
        d->Focused = Message.Msg == WM_SETFOCUS;
        TvlBaseWnd::WndProc(Message);
        if (Released) return;
        ApplySkinColors();
        RedrawFrame(wnd, RDW_FRAME | RDW_UPDATENOW | RDW_INVALIDATE);
      } else {
        Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      }
      return;
    }
    case WM_SETREDRAW:
      if (Message.WParam == 1 && ControlAddedPending) {
        ControlAddedPending = false;
        if (d->Control) AddToParentFormAdapter(d->Control);
      }
      break;
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
      d->BgChanged = true;
      // The skin's own font colour change repaints nothing.
      if (!(d->StateFlags & sfSkinFontColor) && !d->Updating)
        RedrawFrame(wnd, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
      break;
    case WM_PAINT: {
      if (!shown || InFrameCalc) break;
      auto* dc = reinterpret_cast<HDC>(Message.WParam);
      if (dc && dc != d->PrintDC && ClipEmpty(dc)) {
        ValidateOnly(wnd);
        return;
      }
      if (SingleLineEdit && !WindowEnabled(d, wnd)) {
        // The disabled text lives in the cache (drawn with the frame).
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        if (TBitmap* cache = d->CacheBitmap) {
          TWindowDC window(wnd, GetWindowDC(wnd));
          BitBlt(window.Get(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0,
                 0, SRCCOPY);
        }
        EndPaint(wnd, &ps);
        return;
      }
      if (d->Updating || (GlobalAnimationActive && !d->PrintDC)) {
        ValidateOnly(wnd);
        return;
      }
      // A given DC is a client DC: the bars are the print's business then.
      if (!dc) PaintScrollBars(wnd, -1, nullptr);
      if (!ColorsApplied) ApplySkinColors();
      if (Released) return;
      break;
    }
    case WM_ERASEBKGND: {
      if (!shown || InFrameCalc) break;
      auto* dc = reinterpret_cast<HDC>(Message.WParam);
      if (dc && dc != d->PrintDC && ClipEmpty(dc)) {
        Message.Result = 1;
        return;
      }
      if (d->Updating) return;
      if (!ColorsApplied) ApplySkinColors();
      if (Released) return;
      if ((SingleLineEdit && !WindowEnabled(d, wnd)) ||
          (WindowsVersion >= 6 && GlobalAnimationActive && dc != d->PrintDC)) {
        Message.Result = 1;
        return;
      }
      break;
    }
    case WM_NCPAINT:
      if (!shown || InFrameCalc) break;
      NCPaint(Message);
      return;
    case WM_PRINT:
      Print(Message);
      return;
    case SkinCommandMessage:
      if (EditSkinCommand(Message)) return;
      break;
    default:
      break;
  }
  TvlBaseWnd::WndProc(Message);
  AfterBase(Message);
}

void TvlEditWnd::NCPaint(TMessage& Message) {
  TsCommonData* d = SkinData;
  HWND wnd = WindowHandle;
  Message.Result = 0;
  if (GlobalAnimationActive || PaintingFrame) return;
  GetWindowGeometry(wnd, ParentHandle, WindowRect, ParentRect, WindowSize, WindowPos);
  if (d->Updating) return;
  TWindowDC dc(wnd, GetWindowDC(wnd));
  if (!dc) return;
  if (dc.Get() != d->PrintDC && ClipEmpty(dc.Get())) return;
  if (d->BgChanged) {
    if (!ColorsApplied) ApplySkinColors();
    if (Released) return;
    PaintBorderCache(d, wnd, DialogMode);
  }
  const bool barsShown = (HorzBar && HorzBar->Visible) || (VertBar && VertBar->Visible);
  if (LeftEdge > 0 && !barsShown && dynamic_cast<TCustomEdit*>(d->Control)) {
    RECT client{};
    GetClientRect(wnd, &client);
    if (client.right != WindowSize.cx - 2 * LeftEdge ||
        client.bottom != WindowSize.cy - 2 * LeftEdge) {
      // The control paints what lies between its client area and the
      // skin's border itself, once, kept off the outer two pixels.
      TFlagScope painting(PaintingFrame);
      PaintInsideInsetRegion(wnd, WindowSize, 2, [&] {
        LPARAM l = 0;
        CallPrevWndProc(wnd, WM_NCPAINT, 1, l);
      });
    }
  }
  PaintScrollBars(wnd, -1, dc.Get());
  const int edge = LeftEdge < 0 ? 2 : LeftEdge;
  if (TBitmap* cache = d->CacheBitmap; cache && edge > 0 && !cache->Empty())
    BlitBorderFrame(dc.Get(), 0, 0, WindowSize.cx, WindowSize.cy, cache->Canvas()->Handle(), 0, 0,
                    edge);
}

void TvlEditWnd::Print(TMessage& Message) {
  TsCommonData* d = SkinData;
  HWND wnd = WindowHandle;
  auto* dc = reinterpret_cast<HDC>(Message.WParam);
  {
    // The platform's own print may leave its clipping on the DC.
    TSavedDC untouched(dc);
    Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
  }
  if (Message.Result == 2 || Released || !dc) return;
  GetWindowGeometry(wnd, ParentHandle, WindowRect, ParentRect, WindowSize, WindowPos);
  d->Updating = false;
  d->BgChanged = true;
  if (!ColorsApplied) ApplySkinColors();
  if (Released) return;
  PaintBorderCache(d, wnd, DialogMode);
  if (!DialogMode) FillBorderCorners(d, 0, this);
  // The DC's origin is the window's top-left, as WM_PRINT lays it out.
  TBitmap* cache = d->CacheBitmap;
  const bool haveCache = cache && !cache->Empty();
  const int edge = std::max(0, LeftEdge);
  const int top = std::max(0, TopEdge);
  if (Message.LParam & PRF_NONCLIENT) {
    TSavedDC saved(dc);
    if (haveCache)
      BlitBorderFrame(dc, 0, 0, WindowSize.cx, WindowSize.cy, cache->Canvas()->Handle(), 0, 0,
                      edge);
    PaintScrollBars(wnd, -1, dc);
  }
  if (Message.LParam & PRF_CLIENT) {
    // The inside: the cache's face, then the control's own painting over it.
    TSavedDC saved(dc);
    RECT client{};
    GetClientRect(wnd, &client);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + edge, origin.y + top, nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    if (haveCache && !(d->StateFlags & sfTransparent)) {
      BitBlt(dc, 0, 0, client.right, client.bottom, cache->Canvas()->Handle(), edge, top, SRCCOPY);
    } else {
      TOwnedBrush brush(CreateSolidBrush(ColorToRGB(BackgroundColor)));
      FillRect(dc, &client, brush.Get());
    }
    DeliverMessage(wnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    DeliverMessage(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_OWNED);
  }
  if (d->ControlKind == ckListView && !Released) TvlBaseWnd::WndProc(Message);
}

bool TvlEditWnd::EditSkinCommand(TMessage& Message) {
  TsCommonData* d = SkinData;
  HWND wnd = WindowHandle;
  const bool own = reinterpret_cast<TsSkinManager*>(Message.LParam) == SkinManager;
  switch (SkinCmdCode(Message.WParam)) {
    case SkinCmdRefresh:
      if (!own) return false;
      TvlBaseWnd::WndProc(Message);
      if (!Released) ApplySkinColors();
      return true;
    case SkinCmdResumePaint:
      if (d->Updating && !d->CheckUpdating(true))
        RedrawFrame(wnd, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      return false;
    case SkinCmdPrepareCache:
      GetWindowGeometry(wnd, ParentHandle, WindowRect, ParentRect, WindowSize, WindowPos);
      PaintBorderCache(d, wnd, DialogMode);
      FillBorderCorners(d, 0, this);
      return true;
    case SkinCmdGetSkinIndex:
      if (Message.LParam) reinterpret_cast<BgSectionQuery*>(Message.LParam)->Index = d->SkinIndex;
      return true;
    case SkinCmdGetBackground: {
      if (!Message.LParam) return true;
      auto& request = *reinterpret_cast<BackgroundRequest*>(Message.LParam);
      Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      if (request.Kind == bgNotAnswered) {
        if (d->CustomColor) {
          request.Kind = bgColor;
          request.Color = d->Control ? d->Control->Color() : BackgroundColor;
        } else {
          d->FillBackgroundRequest(request, 0, wnd);
        }
      }
      request.OffsetX += std::max(0, LeftEdge);
      request.OffsetY += TopEdge;
      return true;
    }
    case SkinCmdBeforeScroll:
      if (!(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR)) return false;
      DeliverMessage(wnd, WM_SETREDRAW, 0, 0);
      return true;
    case SkinCmdAfterScroll:
      if (!(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR)) return false;
      DeliverMessage(wnd, WM_SETREDRAW, 1, 0);
      RedrawFrame(wnd, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      return true;
    case SkinCmdGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    case SkinCmdSetScale:
      Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      HandleSkinCommand(Message, d);
      return true;
    default:
      return HandleSkinCommand(Message, d);
  }
}

void TvlEditWnd::AfterBase(TMessage& Message) {
  if (Released || !SkinData) return;
  TsCommonData* d = SkinData;
  HWND wnd = WindowHandle;
  switch (Message.Msg) {
    case WM_SIZE:
      if (AdapterWindowShown(this)) Perform(WM_NCPAINT, 1, 0);
      break;
    case WM_SETFONT:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case CN_KEYDOWN:
    case CN_KEYUP:
      if (!Scrolling) UpdateScrollInfo(true);
      break;
    case EM_REPLACESEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_SETCURSEL:
    case LB_SETTOPINDEX:
      UpdateScrollInfo(true);
      break;
    case WM_MOUSEMOVE:
      if (DefaultManager && !DefaultManager->Designing() && IsWindowEnabled(wnd) &&
          DefaultManager->HotWindow != wnd)
        DefaultManager->SetHotWindow(wnd);
      if (GetCapture() == wnd && !d->Updating) UpdateScrollInfo(true);
      break;
    case WM_PARENTNOTIFY:
      if (LOWORD(Message.WParam) == WM_CREATE) {
        TsSkinManager* m = d->SkinManager();
        if (m && (m->SkinningRules() & (1u << srThirdParty))) ControlAddedPending = true;
      }
      break;
    case CM_CONTROLLISTCHANGE:
      ControlAddedPending = true;
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      HandleControlMessage(Message, d);
      break;
    default:
      break;
  }
}
