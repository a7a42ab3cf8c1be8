// The page control's sheet. It has no skin state of its own: every skin
// command is answered with its page control's, and its background is the
// part of the page control's cache behind it.
#include <windows.h>

#include "skin/controls/page_control.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/menus/menus.h"

namespace {

const TEnumInfo& TabTypeInfo() {
  static const TEnumInfo e{{"ttButton", "ttMenu", "ttTab"}};
  return e;
}

}  // namespace

const TClassInfo& TsTabSkinData::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsTabSkinData> b("TsTabSkinData", &TPersistent::StaticClass());
    b.Bool(
        "CustomColor", [](const TsTabSkinData& d) { return d.CustomColor; },
        [](TsTabSkinData& d, int v) { d.CustomColor = v != 0; }, false);
    b.Bool(
        "CustomFont", [](const TsTabSkinData& d) { return d.CustomFont(); },
        [](TsTabSkinData& d, int v) { d.SetCustomFont(v != 0); }, false);
    b.Str(
        "SkinSection", [](const TsTabSkinData& d) { return d.SkinSection(); },
        [](TsTabSkinData& d, const std::string& v) { d.SetSkinSection(v); });
    return b.Done();
  }();
  return info;
}

void TsTabSkinData::SetCustomFont(bool v) {
  customFont_ = v;
  TsPageControl* pc = Page ? Page->Pages() : nullptr;
  if (!pc) return;
  pc->SkinData()->BgChanged = true;
  if (pc->HandleAllocated())
    RedrawWindow(pc->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_UPDATENOW | RDW_NOERASE | RDW_INVALIDATE);
}

const TClassInfo& TsTabSheet::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsTabSheet> b("TsTabSheet", &TTabSheet::StaticClass());
    b.Creatable();
    b.Str(
        "TabSkin", [](const TsTabSheet& s) { return s.TabSkin(); },
        [](TsTabSheet& s, const std::string& v) { s.SetTabSkin(v); });
    b.Str(
        "ButtonSkin", [](const TsTabSheet& s) { return s.ButtonSkin(); },
        [](TsTabSheet& s, const std::string& v) { s.SetButtonSkin(v); });
    b.Enum(
        "TabType", TabTypeInfo(), [](const TsTabSheet& s) { return s.TabType(); },
        [](TsTabSheet& s, int v) { s.SetTabType(static_cast<TvlTabType>(v)); }, ttTab);
    b.Bool(
        "UseCloseBtn", [](const TsTabSheet& s) { return s.UseCloseBtn(); },
        [](TsTabSheet& s, int v) { s.SetUseCloseBtn(v != 0); }, true);
    b.Obj(
        "TabMenu", TPropKind::Component, TPopupMenu::StaticClass(),
        [](const TsTabSheet& s) -> TObject* { return s.TabMenu(); },
        [](TsTabSheet& s, TObject* v) { s.SetTabMenu(dynamic_cast<TPopupMenu*>(v)); });
    b.SubObject<&TsTabSheet::SkinData>("SkinData");
    b.Event<&TsTabSheet::OnClickBtn>("OnClickBtn");
    return b.Done();
  }();
  return info;
}

TsTabSheet::TsTabSheet(TComponent* AOwner) : TTabSheet(AOwner) {
  skinData_ = new TsTabSkinData(this);
}

TsTabSheet::~TsTabSheet() {
  if (FadeTimer) FadeTimer->SetEnabled(false);
  TObject::Free(FadeTimer);
  FadeTimer = nullptr;
  TObject::Free(skinData_);
  skinData_ = nullptr;
}

TsPageControl* TsTabSheet::Pages() const {
  return dynamic_cast<TsPageControl*>(PageControl());
}

void TsTabSheet::CreateParams(TCreateParams& p) {
  TTabSheet::CreateParams(p);
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TsTabSheet::Notification(TComponent* AComponent, TOperation Operation) {
  TTabSheet::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == tabMenu_) tabMenu_ = nullptr;
}

void TsTabSheet::SetTabMenu(TPopupMenu* v) {
  if (tabMenu_ == v) return;
  if (tabMenu_) tabMenu_->RemoveFreeNotification(this);
  tabMenu_ = v;
  if (v) v->FreeNotification(this);
}

void TsTabSheet::SetTabSkin(const std::string& v) {
  tabSkin_ = v;
  TsPageControl* pc = Pages();
  if (!pc || pc->HasState(csLoading) || !(Visible() || HasState(csDesigning))) return;
  pc->SkinData()->BgChanged = true;
  if (pc->HandleAllocated())
    RedrawWindow(pc->Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
}

void TsTabSheet::SetButtonSkin(const std::string& v) {
  buttonSkin_ = v;
  if (TsPageControl* pc = Pages()) pc->SkinData()->Invalidate(false);
}

void TsTabSheet::SetUseCloseBtn(bool v) {
  useCloseBtn_ = v;
  if (TsPageControl* pc = Pages(); pc && !HasState(csLoading)) pc->RefreshTab(PageIndex(), false);
}

void TsTabSheet::SetTabType(TvlTabType v) {
  if (tabType_ == v) return;
  tabType_ = v;
  if (tabSkin_.empty()) {
    if (v == ttButton) tabSkin_ = "SPEEDBUTTON";
    if (v == ttMenu) tabSkin_ = "MENUBTN";
  } else if (v == ttTab) {
    tabSkin_.clear();
  }
  TsPageControl* pc = Pages();
  if (!pc) return;
  pc->UpdateCloseBtnMetrics();
  Perform(CM_TEXTCHANGED, 0, 0);
  // While loading the sheets are not all there yet: the control settles its
  // active page when it has loaded.
  if (pc->HasState(csLoading) || HasState(csLoading)) return;
  if (TsTabSheet* p = pc->NearestSelectablePage(pc->ActivePageIndex())) pc->SetActivePage(p);
}

bool TsTabSheet::HandleSkinMessage(TMessage& m) {
  TsPageControl* pc = Pages();
  TsCommonData* sd = pc->SkinData();
  TsSkinManager* manager = sd->SkinManager();
  const bool own = manager && m.LParam == reinterpret_cast<LPARAM>(manager);
  const bool skinned = sd->Skinned();
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin:
      BroadcastToChildControls(this, m);
      return true;
    case SkinCmdRemoveSkin:
      if (own && HandleAllocated()) Repaint();
      BroadcastToChildControls(this, m);
      return true;
    case SkinCmdRefresh:
      if (own && HandleAllocated() && (Visible() || HasState(csDesigning))) Repaint();
      BroadcastToChildControls(this, m);
      return true;
    case SkinCmdResumePaint:
      if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
      RepaintChildren(this);
      return true;
    case SkinCmdIsSkinned:
      m.Result = 1;
      return true;
    case SkinCmdGetDefaultSection:
      if (manager) m.Result = FindSectionIndex(manager, "TABSHEET") + 1;
      return true;
    case SkinCmdIsUpdating:
      if (!skinned) return false;
      m.Result = sd->IsUpdating() ? 1 : 0;
      return true;
    case SkinCmdGetBgColor:
      if (!skinned) return false;
      m.Result = pc->Perform(m.Msg, m.WParam, m.LParam);
      return true;
    case SkinCmdGetSkinData:
      m.Result = pc->Perform(m.Msg, m.WParam, m.LParam);
      return true;
    case SkinCmdGetSkinIndex:
      if (auto* q = reinterpret_cast<BgSectionQuery*>(m.LParam)) {
        const int named =
            manager && !sd->SkinSection.empty() ? FindSectionIndex(manager, sd->SkinSection) : -1;
        q->Index = named >= 0 ? named : sd->SkinIndex;
      }
      return true;
    case SkinCmdGetBgSection:
      if (!skinned) return false;
      m.Result = BgSectionAnswer(reinterpret_cast<BgSectionQuery*>(m.LParam));
      return true;
    case SkinCmdBackgroundVaries:
      if (!skinned) return false;
      m.Result = BackgroundVaries() ? 1 : 0;
      return true;
    case SkinCmdParentBgChanged: {
      const bool varies = BackgroundVaries();
      sd->BgChanged = sd->BgChanged || varies;
      if (SkinCmdArg(m.WParam) == 1 && HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr,
                     RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOINTERNALPAINT | RDW_INVALIDATE);
      if (varies)
        for (int i = 0; i < ControlCount(); ++i)
          Controls(i)->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdParentBgChanged, 1), 0);
      return true;
    }
    case SkinCmdGetApplication:
      m.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    case SkinCmdGetBackground: {
      if (!skinned) return false;
      auto* r = reinterpret_cast<BackgroundRequest*>(m.LParam);
      if (!r) return true;
      TBitmap* cache = sd->CacheBitmap;
      if (!skinData_->SkinSection().empty() && cache && cache->Width() > 0) {
        r->Kind = bgBitmap;
        r->Bitmap = cache;
        r->OffsetX = r->OffsetY = 0;
      } else {
        HandleSkinCommand(m, sd);
        if (r->Kind == bgNotReady) {
          sd->Updating = true;
          return true;
        }
        r->Borders = TRect();
      }
      if (r->Bitmap && !r->PaintFallback) {
        // The sheet's children ask in sheet coordinates; the cache is the
        // page control's.
        const int bw = BorderWidth();
        r->OffsetX += Left() + bw;
        r->OffsetY += Top() + bw;
        if (r->Kind == bgColor) {
          r->Borders.Left = r->OffsetX - r->Borders.Left;
          r->Borders.Top = r->OffsetY - r->Borders.Top;
        }
      }
      return true;
    }
    case SkinCmdTransparency:
      if (m.LParam == 1) {
        BroadcastToChildControls(this, m);
        return true;
      }
      if (sd->StateFlags == sfTransparencyUnknown) sd->UpdateTransparency(false);
      m.Result = sd->StateFlags;
      return true;
    default:
      return false;
  }
}

// Whether the page control's background behind the sheet changes from
// place to place, so that a child moved over it must repaint.
bool TsTabSheet::BackgroundVaries() const {
  TsCommonData* sd = Pages()->SkinData();
  TsSkinManager* manager = sd->SkinManager();
  if (manager && sd->SkinIndex >= 0) {
    const TsGenState& s = manager->Section(sd->SkinIndex).Props[0];
    if (s.GradientPercent + s.ImagePercent > 0) return true;
  }
  return sd->NeedsRepaintOnMove();
}

// Where the page control's face lets its parent show, the parent says what
// lies behind the sheet; otherwise the page control's section answers, and
// only when it hands its font on.
LRESULT TsTabSheet::BgSectionAnswer(BgSectionQuery* Query) const {
  TsPageControl* pc = Pages();
  TsCommonData* sd = pc->SkinData();
  TsSkinManager* manager = sd->SkinManager();
  if (!Query || !manager || sd->SkinIndex < 0) return 0;
  if (sd->IsFaceTransparent(Query->State)) {
    if (!pc->Parent()) return 0;
    OffsetRect(&Query->Rect, pc->Left(), pc->Top());
    return pc->Parent()->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetBgSection),
                                 reinterpret_cast<LPARAM>(Query));
  }
  if (!manager->Section(sd->SkinIndex).GiveOwnFont) return 0;
  Query->Index = sd->SkinIndex;
  return 1;
}

void TsTabSheet::EraseSkinned(HDC DC) {
  TsPageControl* pc = Pages();
  TsCommonData* sd = pc->SkinData();
  sd->Updating = sd->IsUpdating();
  if (!DC || sd->Updating) return;
  if (sd->BgChanged) pc->PrepareCache();
  const int bw = BorderWidth();
  const TRect src(Left() + bw, Top() + bw, Left() + bw + Width(), Top() + bw + Height());
  const TRect dst(0, 0, Width(), Height());
  CopyCacheExcludingChildren(this, sd, src, dst, DC, false, 0, 0);
  PaintGraphicChildren(DC, this, true, TPoint(0, 0));
}

// The border band around the sheet is the part of the page control's cache
// it covers.
void TsTabSheet::PaintBorderFromCache() {
  TsPageControl* pc = Pages();
  TsCommonData* sd = pc->SkinData();
  if (!Showing() || GlobalAnimationActive || sd->IsUpdating() || !sd->CacheBitmap) return;
  if (sd->BgChanged) pc->PrepareCache();
  TWindowDC dc(Handle(), GetWindowDC(Handle()));
  if (dc)
    BlitBorderFrame(dc.Get(), 0, 0, Width(), Height(), sd->CacheBitmap->Canvas()->Handle(), Left(),
                    Top(), BorderWidth());
}

// Saving memory, a sheet put away lets its children drop their caches; a
// sheet brought back has them paint anew.
void TsTabSheet::VisibleChangedSaving() {
  TsPageControl* pc = Pages();
  TsSkinManager* mgr = pc->SkinData()->SkinManager();
  if (!mgr || mgr->Options()->OptimizingPriority() != opMemory || HasState(csDestroying)) return;
  if (Visible()) {
    const bool animated = pc->AllowAnimSwitching() && mgr->AnimEffects()->PageChange()->Active() &&
                          mgr->Effects()->AllowAnimation();
    if (!animated && pc->HandleAllocated())
      RedrawWindow(pc->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    RepaintChildren(this);
    return;
  }
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(Controls(i)); child && child->HandleAllocated())
      SendSkinCommand(child->Handle(), SkinCmdReleaseCache, 0);
}

void TsTabSheet::WndProc(TMessage& m) {
  TsPageControl* pc = Pages();
  if (!pc) {
    TTabSheet::WndProc(m);
    return;
  }
  if (m.Msg == SkinCommandMessage && HandleSkinMessage(m)) return;
  if (!pc->SkinData()->Skinned() || HasState(csDestroying)) {
    TTabSheet::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_ERASEBKGND:
      EraseSkinned(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return;
    case WM_PRINT:
      EraseSkinned(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      return;
    case WM_PAINT:
      if (!m.WParam) {
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        EndPaint(Handle(), &ps);
      }
      m.Result = 0;
      return;
    case WM_NCPAINT:
      if (BorderWidth() > 0) {
        PaintBorderFromCache();
        m.Result = 1;
        return;
      }
      break;
    case WM_MOUSEMOVE:
      if (DefaultManager && !HasState(csDesigning)) DefaultManager->SetHotWindow(Handle());
      break;
    case WM_PARENTNOTIFY:
      if (LOWORD(m.WParam) == WM_CREATE && !HasState(csLoading) && !HasState(csDesigning)) {
        TTabSheet::WndProc(m);
        // A window made on the sheet learns at once whether it shows
        // through to the page control.
        AddToParentFormAdapter(this);
        SendSkinCommand(reinterpret_cast<HWND>(m.LParam), SkinCmdTransparency, 1);
        return;
      }
      break;
    case CM_TEXTCHANGED:
      pc->SkinData()->BgChanged = true;
      TTabSheet::WndProc(m);
      pc->ClearTabTimers();
      return;
    case CM_VISIBLECHANGED:
      TTabSheet::WndProc(m);
      VisibleChangedSaving();
      return;
    case CM_ENABLEDCHANGED:
      TTabSheet::WndProc(m);
      pc->SkinData()->BgChanged = true;
      if (pc->HandleAllocated())
        RedrawWindow(pc->Handle(), nullptr, nullptr,
                     RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      return;
    default:
      break;
  }
  TTabSheet::WndProc(m);
}
