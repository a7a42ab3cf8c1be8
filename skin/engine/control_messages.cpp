// The platform and widget messages that change a control's skin state:
// creation, moving and sizing, focus, enabling, visibility, hover, the
// context menu and printing.
#include "skin/engine/common_data.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/manager_options.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/controls.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"

namespace {

constexpr UINT kRepaintAll =
    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

const TsGenState* StateProps(TsCommonData* d, int State) {
  TsSkinManager* m = d->SkinManager();
  if (!SectionIndexValid(m, d->SkinIndex)) return nullptr;
  const TsGeneralData& s = m->Sections[static_cast<size_t>(d->SkinIndex)];
  return &s.Props[static_cast<size_t>(ClipSectionState(s, State))];
}

int StateCount(TsCommonData* d) {
  TsSkinManager* m = d->SkinManager();
  return SectionIndexValid(m, d->SkinIndex)
             ? m->Sections[static_cast<size_t>(d->SkinIndex)].StateCount
             : 0;
}

bool FullySeeThrough(TsCommonData* d) {
  const TsGenState* s0 = StateProps(d, 0);
  const TsGenState* s1 = StateProps(d, 1);
  return s0 && s0->Transparency == 100 && s1->Transparency == 100;
}

// The control takes the colours of a section state; true when one changed.
bool TakeStateColors(TsCommonData* d, int State) {
  const TsGenState* p = StateProps(d, State);
  if (!p) return false;
  bool changed = false;
  if (!d->CustomColor && d->Control->Color() != p->Color) {
    d->Control->SetColor(p->Color);
    changed = true;
  }
  if (!d->CustomFont && d->Control->Font()->Color() != p->FontColor) {
    d->StateFlags |= sfSkinFontColor;
    d->Control->Font()->SetColor(p->FontColor);
    d->StateFlags &= static_cast<uint16_t>(~sfSkinFontColor);
    changed = true;
  }
  return changed;
}

// Repaints a colour-following control after its colours changed and lets
// its frame follow.
void ShowColorChange(TsCommonData* d, bool Changed, bool Invalidate) {
  auto* w = dynamic_cast<TWinControl*>(d->Control);
  if (!w || !w->HandleAllocated()) return;
  d->BgChanged = true;
  if (Changed) {
    if (Invalidate)
      InvalidateRect(w->Handle(), nullptr, TRUE);
    else
      RedrawWindow(w->Handle(), nullptr, nullptr, kRepaintAll);
  }
  DeliverMessage(w->Handle(), WM_NCPAINT, 0, 0);
}

bool TakesFocusColors(TsCommonData* d, TWinControl* w) {
  return d->Skinned() && w && w->CanFocus() && w->TabStop() && !FullySeeThrough(d);
}

void OnFocus(TsCommonData* d, bool Gained) {
  auto* w = dynamic_cast<TWinControl*>(d->Control);
  if (!TakesFocusColors(d, w)) return;
  d->BgChanged = true;
  d->Focused = Gained;
  if (!SkinColorKinds.Contains(d->ControlKind)) return;
  if (Gained) {
    if (StateCount(d) >= 2) ShowColorChange(d, TakeStateColors(d, 1), false);
    return;
  }
  const bool changed = d->CurrentState() == 0 && TakeStateColors(d, 0);
  if (w->Visible()) ShowColorChange(d, changed, false);
}

void OnSize(TsCommonData* d) {
  d->BgChanged = true;
  // The parent's shadow repaint comes with the outer effects.
  const TsGenState* s0 = StateProps(d, 0);
  if (s0 && s0->GradientPercent > 0) {
    TWinControl* host = dynamic_cast<TWinControl*>(d->Control);
    if (auto* pages = dynamic_cast<TPageControl*>(host)) host = pages->ActivePage();
    for (int i = 0; host && i < host->ControlCount(); ++i)
      if (!host->Controls(i)->HasState(csDestroying))
        host->Controls(i)->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdParentBgChanged, 1), 0);
  }
  // A glow sized for the old bounds goes, unless an animation owns it.
  if (!d->AnimationRunning()) HideGlow(d->GlowIndex, false);
}

void OnVisibleChanged(TsCommonData* d, bool Visible) {
  TsSkinManager* m = d->SkinManager();
  TControl* c = d->Control;
  if (!m || m->Options()->OptimizingPriority() != opMemory || !c || c->HasState(csDestroying) ||
      !d->CacheBitmap)
    return;
  if (Visible) {
    d->Updating = false;
  } else {
    d->CacheBitmap->SetWidth(0);
    d->CacheBitmap->SetHeight(0);
    if (auto* w = dynamic_cast<TWinControl*>(c))
      for (int i = 0; i < w->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(w->Controls(i));
        if (child && child->HandleAllocated())
          SendSkinCommand(child->Handle(), SkinCmdReleaseCache, 0);
        else if (!child)
          w->Controls(i)->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdReleaseCache), 0);
      }
  }
  d->BgChanged = true;
}

// Containers and buttons glow through their own painting, if at all.
bool HasHoverGlow(TsCommonData* d) {
  return !ContainerKinds.Contains(d->ControlKind) && !ButtonKinds.Contains(d->ControlKind);
}

bool HoverIgnored(TsCommonData* d) {
  TsSkinManager* m = d->SkinManager();
  return !m || m->Designing() || m->Options()->NoMouseHover();
}

void OnMouseEnter(TsCommonData* d) {
  if (!d->Skinned() || d->Hot || HoverIgnored(d) || FullySeeThrough(d)) return;
  const bool hovers = !NoHoverKinds.Contains(d->ControlKind);
  auto* w = dynamic_cast<TWinControl*>(d->Control);
  if (!w) {
    if (hovers) d->Hot = true;
    return;
  }
  if (hovers) d->Hot = true;
  if (DefaultManager && w->HandleAllocated()) DefaultManager->SetHotWindow(w->Handle());
  if (HasHoverGlow(d) && w->HandleAllocated())
    d->ShowGlowEffect(false, w->Handle(), d->SkinManager()->Effects()->AllowAnimation() ? 0 : 255,
                      true, -1);
  const bool follows = SkinColorKinds.Contains(d->ControlKind) &&
                       (!EditKinds.Contains(d->ControlKind) || EditHoverOption);
  if (follows && StateCount(d) >= 2) ShowColorChange(d, TakeStateColors(d, 1), true);
}

void OnMouseLeave(TsCommonData* d) {
  if (!d->Skinned() || !d->Control || HoverIgnored(d) || IsMouseOverControl(d)) return;
  if (!NoHoverKinds.Contains(d->ControlKind)) d->Hot = false;
  if (HasHoverGlow(d)) HideGlow(d->GlowIndex, true);
  if (!SkinColorKinds.Contains(d->ControlKind)) return;
  const bool changed = d->CurrentState() == 0 && !FullySeeThrough(d) && TakeStateColors(d, 0);
  if (d->Control->Visible()) ShowColorChange(d, changed, true);
}

}  // namespace

bool HandleControlMessage(TMessage& Message, TsCommonData* SkinData) {
  if (!SkinData) return false;
  TsCommonData* d = SkinData;
  auto* w = dynamic_cast<TWinControl*>(d->Control);
  switch (Message.Msg) {
    case WM_CREATE:
    case WM_NCCREATE:
      RegisterSkinData(d);
      return false;
    case WM_MOVE:
      // The parent's shadow repaint comes with the outer effects.
      if (!d->Skinned()) return false;
      if (d->NeedsRepaintOnMove() && d->Control) {
        d->BgChanged = true;
        d->Control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdParentBgChanged, 1), 0);
      }
      HideGlow(d->GlowIndex, false);
      return false;
    case WM_SIZE:
      if (d->Skinned()) OnSize(d);
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      OnFocus(d, Message.Msg == WM_SETFOCUS);
      return false;
    case WM_SHOWWINDOW:
      StopAnimation(d);
      return false;
    case 0x001D:
    case CM_ENABLEDCHANGED:
      d->Hot = false;
      d->Focused = false;
      d->BgChanged = true;
      if (d->Control && !d->Control->Enabled()) HideGlow(d->GlowIndex, false);
      return false;
    case WM_CONTEXTMENU:
      if (d->Control && d->Control->PopupMenu())
        if (TsSkinManager* m = d->SkinManager(); m && m->Menus)
          m->Menus->HookPopupMenu(d->Control->PopupMenu(), m->Active());
      return false;
    case WM_UPDATEUISTATE:
      if (d->Skinned()) return true;
      if (w && w->HandleAllocated() && ThemesEnabled() && SetWindowThemeProc)
        SetWindowThemeProc(w->Handle(), nullptr, nullptr);
      return false;
    case WM_PARENTNOTIFY:
      if (LOWORD(Message.WParam) == WM_CREATE) AddToParentFormAdapter(d->Control);
      return false;
    case WM_PRINT: {
      if (d->Skinned() || !w || !Message.WParam) return false;
      const bool edge =
          w->HandleAllocated() && (GetWindowLongPtrA(w->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
      PaintGraphicChildren(reinterpret_cast<HDC>(Message.WParam), w, true,
                           edge ? TPoint(2, 2) : TPoint(0, 0));
      return true;
    }
    case SkinCommandMessage:
      return HandleSkinCommand(Message, d);
    case CM_VISIBLECHANGED:
      if (!Message.WParam) HideGlow(d->GlowIndex, false);
      OnVisibleChanged(d, Message.WParam != 0);
      return false;
    case CM_MOUSEENTER:
      OnMouseEnter(d);
      return false;
    case CM_MOUSELEAVE:
      OnMouseLeave(d);
      return false;
    case CM_SHOWINGCHANGED:
      if (d->Control && d->Control->Visible()) d->Loaded(true);
      return false;
    default:
      return false;
  }
}

bool IsMouseOverControl(TsCommonData* SkinData) {
  if (!SkinData) return false;
  HWND wnd;
  RECT r;
  POINT p;
  GetCursorPos(&p);
  if (auto* w = dynamic_cast<TWinControl*>(SkinData->Control)) {
    if (!w->HandleAllocated() || !IsWindowVisible(w->Handle())) return false;
    wnd = w->Handle();
    r = w->ClientRect();
    ScreenToClient(wnd, &p);
  } else {
    wnd = SkinDataHandle(SkinData);
    if (!wnd || !IsWindowVisible(wnd)) return false;
    RECT wr;
    GetWindowRect(wnd, &wr);
    p.x -= wr.left;
    p.y -= wr.top;
    GetClientRect(wnd, &r);
  }
  if (auto* scroll = dynamic_cast<TvlScrollWnd*>(GetWindowAdapter(wnd))) {
    if (scroll->HorzBar && scroll->HorzBar->Visible)
      r.bottom += ScrollBarSize(scroll->HorzBar, true);
    if (scroll->VertBar && scroll->VertBar->Visible)
      r.right += ScrollBarSize(scroll->VertBar, true);
  }
  if (!PtInRect(&r, p)) return false;
  TWindowDC dc(wnd, GetWindowDC(wnd));
  RECT clip;
  if (!dc || GetClipBox(dc.Get(), &clip) == ERROR) return false;
  return PtInRect(&clip, p) != FALSE;
}
