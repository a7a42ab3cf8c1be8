// The scroll-window adapter: its hook, its window procedure, the frame
// calculation without the platform's bars, and its release.
#include "skin/adapters/scroll_wnd.h"

#include "skin/adapters/adapter_routines.h"
#include "skin/adapters/scroll_tracking.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/flag_scope.h"

namespace {

// The bar styles come off the window while its own procedure measures its
// frame, so that it leaves no room for the platform's bars.
constexpr LONG_PTR kBarStyles = WS_HSCROLL | WS_VSCROLL;

// The system command a click on a bar would start (SC_VSCROLL + HTVSCROLL).
constexpr WPARAM kBarSysCommand = 0xF077;

TvlMainWnd* MakeScrollWnd() {
  return new TvlScrollWnd;
}

bool OnBarHit(WPARAM Hit) {
  return Hit == HTHSCROLL || Hit == HTVSCROLL;
}

TsSkinManager* ManagerOf(const TvlScrollWnd* A) {
  if (A->SkinData && A->SkinData->SkinManager()) return A->SkinData->SkinManager();
  return A->SkinManager ? A->SkinManager : DefaultManager;
}

const TvlScrollData* ScrollDataOf(const TvlScrollBar* Bar) {
  if (!Bar || !Bar->Owner) return nullptr;
  const auto* data = dynamic_cast<const TsScrollWndData*>(Bar->Owner->SkinData);
  if (!data) return nullptr;
  return Bar->Kind == SB_HORZ ? data->HorzScrollData : data->VertScrollData;
}

}  // namespace

bool AdapterWindowShown(const TvlMainWnd* A) {
  // WM_SETREDRAW 0 clears WS_VISIBLE under some platforms: a control's own
  // state is the better witness.
  if (A->SkinData)
    if (auto* c = dynamic_cast<TWinControl*>(A->SkinData->Control)) return c->Showing();
  return IsWindowVisible(A->WindowHandle) != FALSE;
}

// ---- TvlScrollBar

TvlScrollBar::TvlScrollBar(TvlScrollWnd* AOwner, int AKind)
    : Kind(static_cast<uint16_t>(AKind)), Owner(AOwner) {
  Info.cbSize = sizeof(SCROLLINFO);
  Info.fMask = SIF_ALL;
}

void TvlScrollBar::ReadInfo() {
  Info.cbSize = sizeof(SCROLLINFO);
  Info.fMask = SIF_ALL;
  if (!Owner || !Owner->WindowHandle || !GetScrollInfo(Owner->WindowHandle, Kind, &Info)) {
    // A window without scroll state reads as an empty range.
    const SCROLLINFO empty{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    Info = empty;
  }
}

// ---- Free geometry

int ScrollBarSize(const TvlScrollBar* Bar, bool Thickness) {
  if (!Bar) return 0;
  if (const TvlScrollData* own = ScrollDataOf(Bar)) {
    const int v = Thickness ? own->ScrollWidth() : own->ButtonsSize();
    if (v >= 0) return v;
  }
  TsSkinManager* m = Bar->Owner ? ManagerOf(Bar->Owner) : DefaultManager;
  const int width = m && m->ScrollsOptions()->ScrollSize() >= 0 ? m->ScrollsOptions()->ScrollSize()
                                                                : GetSystemMetrics(SM_CXVSCROLL);
  if (Thickness) return width;
  if (m && m->ScrollsOptions()->ButtonsSize() >= 0) return m->ScrollsOptions()->ButtonsSize();
  return width;
}

void HorzScrollBarRect(const TvlScrollWnd* A, HWND Wnd, RECT& R) {
  R = RECT{};
  if (!A || !GetWindowRect(Wnd, &R)) return;
  R = HorzBarRectOf(R, A->Frame());
}

void VertScrollBarRect(const TvlScrollWnd* A, HWND Wnd, RECT& R) {
  R = RECT{};
  if (!A || !GetWindowRect(Wnd, &R)) return;
  R = VertBarRectOf(R, A->Frame());
}

bool BarRect(const TvlScrollWnd* A, int Kind, HWND Wnd, RECT& R) {
  if (Kind == SB_HORZ) {
    HorzScrollBarRect(A, Wnd, R);
    return true;
  }
  if (Kind == SB_VERT) {
    VertScrollBarRect(A, Wnd, R);
    return true;
  }
  return false;
}

void ThumbGeometry(const TvlScrollBar* Bar, const RECT& R, int& Len, int& Pos) {
  const bool vertical = Bar->Kind == SB_VERT;
  ThumbGeometryOf(Bar->Info, ScrollBarSize(Bar, false), Bar->MinThumbSize,
                  vertical ? R.top : R.left, vertical ? R.bottom - R.top : R.right - R.left, Len,
                  Pos);
}

bool IsInParentCorner(const TvlScrollWnd* A, HWND Wnd, const RECT& Box) {
  HWND parent = GetParent(Wnd);
  if (!parent || (GetWindowLongPtrW(Wnd, GWL_STYLE) & WS_CHILD) == 0) return true;
  if (GetParent(parent) && (GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD)) return false;
  // The box's outer corner in the parent's client coordinates.
  RECT wr{};
  GetWindowRect(Wnd, &wr);
  POINT corner{wr.left + (A->LeftScrollBar ? Box.left - A->LeftEdge : Box.right + A->RightEdge),
               wr.top + Box.bottom + A->BottomEdge};
  ScreenToClient(parent, &corner);
  RECT client{};
  GetClientRect(parent, &client);
  return corner.y == client.bottom && corner.x == (A->LeftScrollBar ? client.left : client.right);
}

// ---- TvlScrollWnd

TvlScrollWnd::TvlScrollWnd() = default;

TvlScrollWnd::~TvlScrollWnd() {
  // A creator may free an adapter that still holds the mouse without
  // releasing it first; its timers and capture must not outlive it.
  if (!Released) ScrollTrackingReleased(WindowHandle);
  FreeBars();
}

const TvlAdapterClass& TvlScrollWnd::AdapterClass() {
  static const TvlAdapterClass c = [] {
    TvlAdapterClass k{"TvlScrollWnd", &MakeScrollWnd};
    RegisterAdapterClass(k);
    return k;
  }();
  return c;
}

void TvlScrollWnd::FreeBars() {
  TObject::Free(HorzBar);
  HorzBar = nullptr;
  TObject::Free(VertBar);
  VertBar = nullptr;
}

TvlScrollBar* TvlScrollWnd::Bar(int Kind) const {
  return Kind == SB_HORZ ? HorzBar : Kind == SB_VERT ? VertBar : nullptr;
}

TvlScrollFrame TvlScrollWnd::Frame() const {
  TvlScrollFrame f;
  f.LeftEdge = LeftEdge < 0 ? 0 : LeftEdge;
  f.TopEdge = TopEdge;
  f.RightEdge = RightEdge;
  f.BottomEdge = BottomEdge;
  f.LeftScrollBar = LeftScrollBar;
  f.HorzVisible = HorzBar && HorzBar->Visible;
  f.VertVisible = VertBar && VertBar->Visible;
  f.HorzWidth = ScrollBarSize(HorzBar, true);
  f.VertWidth = ScrollBarSize(VertBar, true);
  return f;
}

void TvlScrollWnd::CreateSkinData() {
  LeftEdge = -1;
  FrameCalculated = false;
  if (SkinData) return;
  SkinData = new TsScrollWndData(nullptr, true);
  SkinData->NotLoaded = true;
}

void TvlScrollWnd::HookWindow(bool Repaint) {
  HWND wnd = WindowHandle;
  Scrolling = false;
  if (!HorzBar) HorzBar = new TvlScrollBar(this, SB_HORZ);
  if (!VertBar) VertBar = new TvlScrollBar(this, SB_VERT);
  HorzBar->ReadInfo();
  VertBar->ReadInfo();
  LeftScrollBar = (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  HorzBar->StyleShown = (style & WS_HSCROLL) != 0;
  VertBar->StyleShown = (style & WS_VSCROLL) != 0;
  InFrameCalc = false;
  if (!CommonHook()) return;
  HorzBar->MinThumbSize = VertBar->MinThumbSize = 16;
  if (Repaint) RefreshWindowFrame(wnd, true);
}

void TvlScrollWnd::CalcFrame(TMessage& Message) {
  HWND wnd = WindowHandle;
  auto* rect = reinterpret_cast<RECT*>(Message.LParam);
  if (!rect) {
    Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  const RECT incoming = *rect;
  const LONG_PTR style = CallPrevWithoutBars(Message);
  if (!HorzBar || !VertBar) return;  // handed back meanwhile
  TvlFrameCalcInput in;
  in.Incoming = incoming;
  in.Computed = *rect;
  TsSkinManager* m = ManagerOf(this);
  if (WidensThinBorder() && m && SkinData && SectionIndexValid(m, SkinData->SkinIndex)) {
    in.ThinBorder = true;
    in.BorderKind = m->Sections[static_cast<size_t>(SkinData->SkinIndex)].BorderKind;
  }
  in.HasHorz = (style & WS_HSCROLL) != 0;
  in.HasVert = (style & WS_VSCROLL) != 0;
  in.LeftScrollBar = LeftScrollBar;
  in.HorzWidth = ScrollBarSize(HorzBar, true);
  in.VertWidth = ScrollBarSize(VertBar, true);
  TvlScrollFrame f;
  *rect = CalcScrollFrame(in, f);
  LeftEdge = f.LeftEdge;
  TopEdge = f.TopEdge;
  RightEdge = f.RightEdge;
  BottomEdge = f.BottomEdge;
  HorzBar->StyleShown = in.HasHorz;
  VertBar->StyleShown = in.HasVert;
  HorzBar->Visible = f.HorzVisible;
  VertBar->Visible = f.VertVisible;
  FrameCalculated = true;
}

LONG_PTR TvlScrollWnd::CallPrevWithoutBars(TMessage& Message) {
  HWND wnd = WindowHandle;
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (style & kBarStyles) {
    TFlagScope calc(InFrameCalc);
    SetWindowLongPtrW(wnd, GWL_STYLE, style & ~kBarStyles);
    Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
    SetWindowLongPtrW(wnd, GWL_STYLE, style);
  } else {
    Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
  }
  return style;
}

void TvlScrollWnd::NCPaint(TMessage& Message) {
  HWND wnd = WindowHandle;
  if (!FrameCalculated) RefreshWindowFrame(wnd, true);
  // The window's own procedure paints the rest of the frame first, and
  // without the bar styles, so that it draws no bars of its own: the
  // platform places its bars by its own metrics, which may reach past the
  // skinned ones. Whatever it still draws, the skinned bars come after it.
  CallPrevWithoutBars(Message);
  if (Released || !HorzBar) return;
  if (AdapterWindowShown(this) && !(SkinData && SkinData->Updating) && !Scrolling &&
      FrameCalculated)
    PaintScrollBars(wnd, -1, nullptr);
}

void TvlScrollWnd::WndProc(TMessage& Message) {
  HWND wnd = WindowHandle;
  switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      if (!Released) ScrollTrackingReleased(wnd);
      TvlMainWnd::WndProc(Message);
      if (Released) FreeBars();
      return;
    case CM_RECREATEWND:
      if (auto* combo = dynamic_cast<TCustomComboBox*>(SkinData ? SkinData->Control : nullptr))
        if (!IsWindowVisible(wnd) && combo->Name().empty()) return;
      break;
    default:
      break;
  }
  if (Released || !HorzBar || !VertBar) return TvlMainWnd::WndProc(Message);
  if (!SkinData || !SkinData->Skinned(false)) {
    if (Message.Msg == SkinCommandMessage) {
      const uint16_t code = SkinCmdCode(Message.WParam);
      if (code == SkinCmdGetSkinData) {
        Message.Result = reinterpret_cast<LRESULT>(SkinData);
        return;
      }
      if (code == SkinCmdNewSkin && SkinData &&
          reinterpret_cast<TsSkinManager*>(Message.LParam) == SkinData->SkinManager())
        SkinData->UpdateIndexes(true);
    }
    return TvlMainWnd::WndProc(Message);
  }
  if (!HandleSkinned(Message)) TvlMainWnd::WndProc(Message);
}

bool TvlScrollWnd::HandleSkinned(TMessage& Message) {
  HWND wnd = WindowHandle;
  switch (Message.Msg) {
    case WM_NOTIFY:
      Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      return true;
    case WM_STYLECHANGED:
      if (InFrameCalc) {
        Message.Result = 0;
        return true;
      }
      if (Message.WParam == static_cast<WPARAM>(GWL_EXSTYLE) && Message.LParam)
        LeftScrollBar = (reinterpret_cast<const STYLESTRUCT*>(Message.LParam)->styleNew &
                         WS_EX_LEFTSCROLLBAR) != 0;
      Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      return true;
    case WM_NCCALCSIZE:
      CalcFrame(Message);
      return true;
    case WM_NCHITTEST:
      ScrollNCHitTest(*this, Message);
      return true;
    case WM_NCPAINT:
      NCPaint(Message);
      return true;
    case WM_NCMOUSEMOVE:
      ScrollNCMouseMove(*this, Message);
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (OnBarHit(Message.WParam))
        ScrollNCLButtonDown(*this, Message);
      else
        Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      return true;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
      // The platform's bars would open their own menu or start a scroll.
      Message.Result = OnBarHit(Message.WParam)
                           ? 0
                           : CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      return true;
    case WM_SYSCOMMAND:
      if (LOWORD(Message.WParam) == kBarSysCommand) {
        Message.Result = 0;
        return true;
      }
      Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      return true;
    case WM_TIMER:
      ScrollTimer(*this, Message);
      return true;
    case WM_MOUSEMOVE:
      ScrollMouseMove(*this, Message);
      return true;
    case WM_LBUTTONUP:
      ScrollLButtonUp(*this, Message);
      return true;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      ScrollCaptureLost(*this, Message);
      return true;
    case SkinCommandMessage:
      ScrollSkinCommand(Message);
      return true;
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
      TvlMainWnd::WndProc(Message);
      if (!Released && !Scrolling) UpdateScrollInfo(true);
      return true;
    case CM_FOCUSCHANGED:
      TvlMainWnd::WndProc(Message);
      if (!Released) UpdateScrollInfo(true);
      return true;
    default:
      return false;
  }
}

void TvlScrollWnd::ScrollSkinCommand(TMessage& Message) {
  HWND wnd = WindowHandle;
  TsCommonData* sd = SkinData;
  const bool own = reinterpret_cast<TsSkinManager*>(Message.LParam) == sd->SkinManager();
  auto prev = [&] { return CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam); };
  switch (SkinCmdCode(Message.WParam)) {
    case SkinCmdNewSkin:
      if (!own) break;
      sd->UpdateIndexes(true);
      Message.Result = prev();
      PassToChildren(sd->Control, wnd, Message);
      return;
    case SkinCmdRemoveSkin:
      if (own && !Released) RestoreControl();
      Message.Result = prev();
      return;
    case SkinCmdRefresh:
      if (own) {
        sd->UpdateIndexes(true);
        sd->BgChanged = true;
      }
      Message.Result = prev();
      return;
    case SkinCmdResumePaint:
      if (IsFrameAdapterItem()) break;
      if (sd->Updating) {
        if (!sd->CheckUpdating(true)) {
          RedrawWindow(wnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
          if (auto* win = dynamic_cast<TWinControl*>(sd->Control)) RepaintChildren(win);
        }
      } else if ((sd->StateFlags & sfTransparent) && sd->Control) {
        if (auto* win = dynamic_cast<TWinControl*>(sd->Control)) RepaintChildren(win);
      }
      return;
    case SkinCmdIsSkinned:
    case SkinCmdBackgroundVaries:
      Message.Result = 1;
      return;
    case SkinCmdSetUpdating:
      sd->Updating = SkinCmdArg(Message.WParam) == 1;
      Message.Result = prev();
      return;
    case SkinCmdGetBgColor:
      Message.Result = prev();
      if (Message.Result == 0) Message.Result = static_cast<LRESULT>(sd->BgColor(0, nullptr));
      return;
    case SkinCmdPrepareCache:
      Message.Result = prev();
      if (sd->BgChanged && !sd->Updating) {
        GetWindowGeometry(wnd, ParentHandle, WindowRect, ParentRect, WindowSize, WindowPos);
        PaintBorderCache(sd, wnd, DialogMode);
        FillBorderCorners(sd, 0, this);
      }
      return;
    case SkinCmdMouseEnter:
    case SkinCmdMouseLeave: {
      TMessage m{SkinCmdCode(Message.WParam) == SkinCmdMouseEnter ? CM_MOUSEENTER : CM_MOUSELEAVE,
                 0, 0, 0};
      HandleControlMessage(m, sd);
      Message.Result = m.Result;
      return;
    }
    case SkinCmdGetBackground: {
      Message.Result = prev();
      auto* request = reinterpret_cast<BackgroundRequest*>(Message.LParam);
      if (request && request->Kind == bgNotAnswered)
        sd->FillBackgroundRequest(*request, 0, nullptr);
      return;
    }
    case SkinCmdGetScale:
      Message.Result = sd->GetScalePercent();
      return;
    default:
      break;
  }
  TvlMainWnd::WndProc(Message);
}

// ---- Release

void ReleaseScrollWndAdapter(HWND Wnd, bool Free, bool RecalcFrame, TvlMainWnd*& Adapter) {
  if (!Adapter) return;
  auto* scroll = dynamic_cast<TvlScrollWnd*>(Adapter);
  if (!Adapter->Released) ScrollTrackingReleased(Wnd ? Wnd : Adapter->WindowHandle);
  ReleaseWndAdapter(Wnd, Free, RecalcFrame, Adapter);
  // The bars go with the window; an adapter still in a chain of procedures
  // keeps them, since messages still reach it.
  if (Adapter && scroll && Adapter->Released) {
    TObject::Free(scroll->HorzBar);
    scroll->HorzBar = nullptr;
    TObject::Free(scroll->VertBar);
    scroll->VertBar = nullptr;
  }
}
