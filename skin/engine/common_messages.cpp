#include "skin/engine/common_messages.h"

#include <string>

#include "skin/engine/common_data.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/background_query.h"
#include "widgets/controls/comctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"
#include "widgets/controls/stdctrls.h"

bool HintsSuspended = false;
bool SavedShowHint = true;

namespace {

// SWP_NOSIZE | NOMOVE | NOZORDER | FRAMECHANGED | NOCOPYBITS |
// NOOWNERZORDER | NOSENDCHANGING: the frame is measured again, nothing moves.
constexpr UINT kFrameChangedFlags = 0x727;
constexpr UINT kRepaintAll =
    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

TWinControl* Windowed(TsCommonData* d) {
  return dynamic_cast<TWinControl*>(d->Control);
}

HWND HandleOf(TsCommonData* d) {
  TWinControl* w = Windowed(d);
  return (w && w->HandleAllocated()) ? w->Handle() : nullptr;
}

void EmptyCache(TsCommonData* d) {
  if (!d->CacheBitmap) return;
  d->CacheBitmap->SetWidth(0);
  d->CacheBitmap->SetHeight(0);
}

const TsGeneralData* Section(TsCommonData* d) {
  TsSkinManager* m = d->SkinManager();
  return SectionIndexValid(m, d->SkinIndex) ? &m->Sections[static_cast<size_t>(d->SkinIndex)]
                                            : nullptr;
}

void RefreshFrame(HWND Wnd) {
  if (Wnd) SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
}

void PerformOnChildren(TWinControl* Parent, uint16_t Code, uint16_t Arg) {
  for (int i = 0; Parent && i < Parent->ControlCount(); ++i) {
    TControl* child = Parent->Controls(i);
    if (!child->HasState(csDestroying))
      child->Perform(SkinCommandMessage, SkinCmdParam(Code, Arg), 0);
  }
}

void RemoveSkin(TsCommonData* d, TsSkinManager* Manager) {
  StopAnimation(d);
  if (Manager->Destroying() && d->OwnManager == Manager) d->OwnManager = nullptr;
  d->BorderIndex = d->SkinIndex = d->TextureIndex = d->HotTextureIndex = -1;
  d->Updating = true;
  EmptyCache(d);
  if (auto* edit = dynamic_cast<TCustomEdit*>(d->Control)) {
    if (!d->CustomColor) edit->SetColor(clWindow);
    if (!d->CustomFont) edit->Font()->SetColor(clWindowText);
    if (edit->HandleAllocated())
      RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_FRAME | RDW_NOERASE | RDW_INVALIDATE);
  } else if (TWinControl* w = Windowed(d)) {
    for (int i = 0; i < w->ControlCount(); ++i)
      if (auto* label = dynamic_cast<TLabel*>(w->Controls(i)))
        label->Font()->SetColor(clWindowText);
  }
}

void Refresh(TsCommonData* d) {
  StopAnimation(d);
  d->BgChanged = true;
  d->Updating = false;
  d->ApplySectionColors(true);
  d->UpdateTransparency(false);
  if (FramedKinds.Contains(d->ControlKind)) RefreshFrame(HandleOf(d));
}

LRESULT IsUpdatingAnswer(TsCommonData* d) {
  if (d->CheckUpdating(false)) return 1;
  HWND h = HandleOf(d);
  if (!d->HasOwnBackground() || d->CustomColor || !h) return 0;
  auto emptyCache = [d] {
    return !d->CacheBitmap || d->CacheBitmap->Width() == 0 || d->CacheBitmap->Height() == 0;
  };
  if (emptyCache()) {
    SendSkinCommand(h, SkinCmdPrepareCache, 0);
    return emptyCache() ? 1 : 0;
  }
  return (d->CacheBitmap->Width() != d->Control->Width() ||
          d->CacheBitmap->Height() != d->Control->Height())
             ? 1
             : 0;
}

void ParentBgChanged(TsCommonData* d, uint16_t Arg) {
  const bool n = d->NeedsRepaintOnMove();
  d->BgChanged = d->BgChanged || n;
  TWinControl* w = Windowed(d);
  if (!w) return;
  if (Arg == 1 && w->HandleAllocated())
    RedrawWindow(w->Handle(), nullptr, nullptr,
                 RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOINTERNALPAINT | RDW_INVALIDATE);
  if (n) PerformOnChildren(w, SkinCmdParentBgChanged, 1);
}

void ReleaseCache(TsCommonData* d) {
  if (!d->CacheBitmap) return;
  if (TWinControl* w = Windowed(d))
    for (int i = 0; i < w->ControlCount(); ++i)
      if (auto* child = dynamic_cast<TWinControl*>(w->Controls(i));
          child && child->HandleAllocated())
        SendSkinCommand(child->Handle(), SkinCmdReleaseCache, 0);
  EmptyCache(d);
  d->BgChanged = true;
}

LRESULT BgSectionAnswer(TsCommonData* d, BgSectionQuery* q) {
  const TsGeneralData* s = Section(d);
  if (!s || !q) return 0;
  if (d->IsFaceTransparent(q->State)) {
    if (d->Control) return QueryBackgroundSection(d->Control->Parent(), *q);
    return QueryBackgroundSectionWnd(GetParent(SkinDataHandle(d)), *q);
  }
  q->Index = q->State < s->StateCount ? d->SkinIndex : -1;
  return 1;
}

}  // namespace

LRESULT QueryBackgroundSection(TControl* Control, BgSectionQuery& Query) {
  if (!Control) return 0;
  if (Control->Parent()) OffsetRect(&Query.Rect, Control->Left(), Control->Top());
  return Control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetBgSection),
                          reinterpret_cast<LPARAM>(&Query));
}

LRESULT QueryBackgroundSectionWnd(HWND Wnd, BgSectionQuery& Query) {
  return SendMessageA(Wnd, SkinCommandMessage, SkinCmdParam(SkinCmdGetBgSection),
                      reinterpret_cast<LPARAM>(&Query));
}

bool HandleSkinCommand(TMessage& Message, TsCommonData* SkinData) {
  if (!SkinData || Message.Msg != SkinCommandMessage) return true;
  TsCommonData* d = SkinData;
  const uint16_t arg = SkinCmdArg(Message.WParam);
  TsSkinManager* manager = d->SkinManager();
  const bool own = manager && Message.LParam == reinterpret_cast<LPARAM>(manager);
  LRESULT& result = Message.Result;
  switch (SkinCmdCode(Message.WParam)) {
    case SkinCmdNewSkin:
      if (!own) return true;
      StopAnimation(d);
      d->ChooseDefaultSection();
      {
        const std::string section = d->SkinSection;
        d->UseFirstExistingSection(&section, 0);
      }
      EmptyCache(d);
      d->UpdateTransparency(false);
      return true;
    case SkinCmdRemoveSkin:
      if (!own || d->SkinIndex < 0) return true;
      RemoveSkin(d, manager);
      return false;
    case SkinCmdRefresh:
      if (own) Refresh(d);
      return true;
    case SkinCmdResumePaint:
      if (d->Updating && Windowed(d) && !d->CheckUpdating(true)) {
        if (HWND h = HandleOf(d)) RedrawWindow(h, nullptr, nullptr, kRepaintAll);
        RepaintChildren(Windowed(d));
      }
      return true;
    case SkinCmdIsSkinned:
    case SkinCmdBackgroundVaries:
      result = 1;
      return true;
    case SkinCmdSetUpdating:
      d->Updating = arg == 1;
      return true;
    case SkinCmdIsUpdating:
      result = IsUpdatingAnswer(d);
      return true;
    case SkinCmdIsCacheIncomplete:
      result = d->CacheIncomplete ? 1 : 0;
      return true;
    case SkinCmdSectionUpdated: {
      const auto* name = reinterpret_cast<const std::string*>(Message.LParam);
      if (name && *name == d->SkinSection) d->Invalidate(false);
      return true;
    }
    case SkinCmdSetSection:
      if (!Message.LParam) {
        result = 0;
        return true;
      }
      d->SetSkinSection(*reinterpret_cast<const std::string*>(Message.LParam));
      result = 1;
      return true;
    case SkinCmdStopAnimation:
      StopAnimation(d);
      return true;
    case SkinCmdBgChanged:
      d->BgChanged = true;
      return true;
    case SkinCmdInvalidate:
      d->Invalidate(false);
      return true;
    case SkinCmdParentBgChanged:
      ParentBgChanged(d, arg);
      return true;
    case SkinCmdGetBgColor:
      if (d->Control) result = d->BgColorAnswer();
      return true;
    case SkinCmdSetCacheIncomplete:
      d->CacheIncomplete = true;
      return true;
    case SkinCmdPrepareCache:
      d->BgChanged = false;
      return true;
    case SkinCmdGetSkinIndex:
      if (auto* q = reinterpret_cast<BgSectionQuery*>(Message.LParam)) q->Index = d->SkinIndex;
      return true;
    case SkinCmdReleaseCache:
      ReleaseCache(d);
      return true;
    case SkinCmdGetBackground:
      if (auto* r = reinterpret_cast<BackgroundRequest*>(Message.LParam)) {
        const int state =
            (d->Focused || (d->Hot && !ContainerKinds.Contains(d->ControlKind))) ? 1 : 0;
        d->FillBackgroundRequest(*r, state, nullptr);
      }
      return true;
    case SkinCmdTransparency:
      if (Message.LParam == 1) {
        d->UpdateTransparency(true);
        return true;
      }
      if (d->StateFlags == sfTransparencyUnknown) d->UpdateTransparency(false);
      result = d->StateFlags;
      return true;
    case SkinCmdGetSkinData:
      result = reinterpret_cast<LRESULT>(d);
      return true;
    case SkinCmdSetPrintDC:
      d->PrintDC = reinterpret_cast<HDC>(Message.LParam);
      if (Message.LParam)
        d->StateFlags |= sfPrintDC;
      else
        d->StateFlags &= static_cast<uint16_t>(~sfPrintDC);
      return true;
    case SkinCmdPaintOuterEffect:
      if (const auto* r = reinterpret_cast<const BackgroundRequest*>(Message.LParam))
        d->PaintOuterEffects(*r, arg);
      return true;
    case SkinCmdFrameChanged:
      if (TWinControl* w = Windowed(d)) {
        RefreshFrame(HandleOf(d));
        BroadcastToChildControls(w, Message);
      }
      return true;
    case SkinCmdGetApplication:
      result = reinterpret_cast<LRESULT>(Application);
      return true;
    case SkinCmdGetBgSection:
      result = BgSectionAnswer(d, reinterpret_cast<BgSectionQuery*>(Message.LParam));
      return true;
    case SkinCmdSetScale:
      d->ScalePercent = static_cast<int>(Message.LParam);
      if (TWinControl* w = Windowed(d)) BroadcastToChildControls(w, Message);
      return false;
    case SkinCmdGetScale:
      result = d->ScalePercent;
      return true;
    case SkinCmdGetBounds:
      if (auto* r = reinterpret_cast<TRect*>(Message.LParam))
        *r = d->Control ? d->Control->BoundsRect() : TRect();
      return true;
    default:
      return false;
  }
}
