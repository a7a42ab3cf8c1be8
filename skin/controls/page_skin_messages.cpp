// The page control's answers to skin commands, and the messages it
// handles only while skinned: the frame paint from the cache, tab
// scrolling, printing and the page count its form's adapter follows.
#include <windows.h>

#include <commctrl.h>

#include "skin/controls/page_control.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/adapters/stand_in_adapters.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/gdi_handles.h"

bool TsPageControl::HandleSkinMessage(TMessage& m) {
  TsSkinManager* manager = skinData_->SkinManager();
  const bool own = manager && m.LParam == reinterpret_cast<LPARAM>(manager);
  const bool redrawable =
      HandleAllocated() && Showing() && !HasState(csLoading) && !HasState(csDestroying);
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin:
      BroadcastToChildControls(this, m);
      if (!own) return false;
      HandleControlMessage(m, skinData_);
      UpdateCloseBtnMetrics();
      if (HandleAllocated() && !HasState(csLoading)) Perform(WM_SIZE, 0, 0);
      TabsLineIndex = tabsLineSkin_.empty() ? -1 : FindSectionIndex(manager, tabsLineSkin_);
      UpdateTabScroller();
      return true;
    case SkinCmdRemoveSkin:
      if (!own || !Skinned()) {
        BroadcastToChildControls(this, m);
        return true;
      }
      HandleControlMessage(m, skinData_);
      UpdateTabScroller();
      UpdateCloseBtnMetrics();
      BroadcastToChildControls(this, m);
      if (redrawable)
        Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_NOCHILDREN | RDW_UPDATENOW);
      return true;
    case SkinCmdRefresh:
      if (!own) return false;
      ClearTabTimers();
      HandleControlMessage(m, skinData_);
      UpdateCloseBtnMetrics();
      if (!HasState(csLoading))
        Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_NOCHILDREN | RDW_UPDATENOW);
      AddToParentFormAdapter(ActivePage());
      UpdateTabScroller();
      if (TabScroller()) SendMessageA(TabScroller()->WindowHandle, m.Msg, m.WParam, m.LParam);
      BroadcastToChildControls(this, m);
      return true;
    case SkinCmdIsSkinned:
      m.Result = 1;
      return true;
    case SkinCmdResumePaint:
      if (skinData_->Updating) {
        // The check asks the parent too, and keeps Updating while it holds.
        if (skinData_->CheckUpdating(true)) {
          RepaintChildren(this);
        } else {
          Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_NOCHILDREN | RDW_UPDATENOW);
        }
      } else if (skinData_->StateFlags & sfTransparent) {
        if (ActivePage()) RepaintChildren(ActivePage());
      }
      return true;
    case SkinCmdGetDefaultSection: {
      if (!manager) return true;
      static const char* const suffix[] = {"", "BOTTOM", "LEFT", "RIGHT"};
      m.Result = FindSectionIndex(manager, std::string("PAGECONTROL") + suffix[TabPosition()]) + 1;
      return true;
    }
    case SkinCmdPrepareCache:
      if (!skinData_->CheckUpdating(false)) PrepareCache();
      return true;
    case SkinCmdMouseLeave:
      Perform(WM_MOUSELEAVE, 0, 0);
      return true;
    case SkinCmdEndUpdate:
      if (!skinData_->Updating) {
        Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RepaintChildren(this);
      }
      return false;
    case SkinCmdGetBackground:
      HandleSkinCommand(m, skinData_);
      if (auto* r = reinterpret_cast<BackgroundRequest*>(m.LParam)) r->Borders = TRect();
      return true;
    case SkinCmdTransparency:
      // The sheets have no state of their own: the active one's children
      // are asked directly.
      if (m.LParam == 1) {
        if (Parent() && Parent()->HandleAllocated()) {
          skinData_->UpdateTransparency(false);
          if (TTabSheet* a = ActivePage())
            for (int i = 0; i < a->ControlCount(); ++i)
              a->Controls(i)->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdTransparency), 1);
        }
        return true;
      }
      m.Result = skinData_->StateFlags;
      return true;
    case SkinCmdGetBounds:
      if (auto* r = reinterpret_cast<TRect*>(m.LParam)) {
        *r = DisplayRect();
        OffsetRect(r->AsRECT(), Left(), Top());
      }
      return true;
    case SkinCmdGetSkinData:
      m.Result = reinterpret_cast<LRESULT>(skinData_);
      return true;
    default:
      return HandleSkinCommand(m, skinData_);
  }
}

// A frame paint (after a tab menu, for one) brings the whole control back
// from the cache; the active page paints its own area.
void TsPageControl::PaintFromCache() {
  if (GlobalAnimationActive || PressedMenuTab >= 0 || !ActivePage() || skinData_->IsUpdating())
    return;
  TWindowDC dc(Handle(), GetDC(Handle()));
  if (!dc) return;
  if (skinData_->BgChanged && !PrepareCache()) return;
  const TRect page = ActivePage()->BoundsRect();
  ExcludeClipRect(dc.Get(), page.Left, page.Top, page.Right, page.Bottom);
  const TRect all(0, 0, Width(), Height());
  CopyCacheExcludingChildren(this, skinData_, all, all, dc.Get(), false, 0, 0);
  if (!skinData_->BgChanged && tabScroller_)
    RedrawWindow(tabScroller_->WindowHandle, nullptr, nullptr,
                 RDW_FRAME | RDW_UPDATENOW | RDW_INVALIDATE);
}

// Whether pages came or went since the last count; third-party skinning
// then hands the control to the form's adapter again.
bool TsPageControl::PagesCounted() {
  if (PageCount() == countedPages_) return false;
  countedPages_ = PageCount();
  TsSkinManager* mgr = skinData_->SkinManager();
  if (mgr && (mgr->SkinningRules() & (1u << srThirdParty))) AddToParentFormAdapter(this);
  return true;
}

bool TsPageControl::HandleSkinnedMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (HasState(csDesigning)) break;
      skinData_->BgChanged = true;
      TPageControl::WndProc(m);
      if (!skinData_->IsUpdating()) RefreshTab(ActivePageIndex(), false);
      return true;
    case TCM_INSERTITEMA:
    case TCM_INSERTITEMW:
      skinData_->BgChanged = true;
      break;
    default:
      break;
  }
  if (HandleControlMessage(m, skinData_)) return true;
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (!GlobalAnimationActive && (skinData_->StateFlags & sfTransparent))
        PaintSkinned(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return true;
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      if (!HasState(csLoading)) {
        ClearTabTimers();
        skinData_->BgChanged = true;
      }
      break;
    case WM_NCPAINT:
      PaintFromCache();
      m.Result = 0;
      break;
    case WM_HSCROLL:
      if (HasState(csLoading)) break;
      ClearTabTimers();
      skinData_->BgChanged = true;
      TPageControl::WndProc(m);
      Redraw(RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
      return true;
    case WM_PRINT:
      UpdateTabScroller();
      skinData_->Updating = false;
      PaintSkinned(reinterpret_cast<HDC>(m.WParam));
      PrintTabScroller(reinterpret_cast<HDC>(m.WParam));
      return true;
    default:
      break;
  }
  return false;
}
