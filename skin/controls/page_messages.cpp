// The page control's messages: painting, keys that skip hidden and vetoed
// pages, the mouse over tabs, close buttons and tab menus, the animated
// page switch; the skin commands are in page_skin_messages.cpp.
#include <windows.h>

#include <commctrl.h>

#include "skin/controls/page_control.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/manager_options.h"
#include "skin/adapters/stand_in_adapters.h"
#include "skin/engine/services_adapters.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/engine/window_animations.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/forms/hint_window.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/menus/menus.h"

namespace {

TPoint PointOf(LPARAM L) {
  return TPoint(static_cast<short>(LOWORD(L)), static_cast<short>(HIWORD(L)));
}

bool AnimatedSwitch(TsPageControl* C) {
  TsSkinManager* m = C->SkinData()->SkinManager();
  return !C->HasState(csDesigning) && C->AllowAnimSwitching() && m &&
         m->AnimEffects()->PageChange()->Active() && m->Effects()->AllowAnimation();
}

}  // namespace

void TsPageControl::PaintMessage(TMessage& m) {
  const auto paint = [this](HDC dc) {
    if (!Skinned()) {
      PaintUnskinned(dc);
      return;
    }
    bool fading = false;
    for (int i = 0; i < PageCount(); ++i)
      if (TsTabSheet* p = Page(i); p && p->FadeTimer && p->FadeTimer->Enabled()) fading = true;
    if (((skinData_->HasOwnBackground() && !GlobalAnimationActive) || HasState(csDesigning)) &&
        !fading)
      PaintSkinned(dc);
  };
  // A DC handed in (a print or a parent's paint) is painted as it is; only
  // the window's own paint validates its region.
  if (HDC given = reinterpret_cast<HDC>(m.WParam)) {
    paint(given);
  } else {
    PAINTSTRUCT ps{};
    BeginPaint(Handle(), &ps);
    {
      TWindowDC dc(Handle(), GetDC(Handle()));
      if (dc) paint(dc.Get());
    }
    EndPaint(Handle(), &ps);
  }
  m.Result = 0;
}

// Arrow keys and Ctrl+Tab land on the page the platform would show, which
// must have a visible tab and must be allowed; otherwise the key is eaten.
void TsPageControl::HandleKey(TMessage& m) {
  const int active = ActivePageIndex();
  if (active < 0) {
    TPageControl::WndProc(m);
    return;
  }
  TsTabSheet* target = nullptr;
  if (m.Msg == WM_KEYDOWN) {
    const int step = m.WParam == VK_LEFT ? -1 : 1;
    for (int i = active + step; i >= 0 && i < PageCount() && !target; i += step)
      if (Pages(i)->TabVisible()) target = Page(i);
  } else {
    const int start = active == PageCount() - 1 ? 0 : active + 1;
    for (int i = start; i < PageCount() && !target; ++i)
      if (i != active && Pages(i)->TabVisible()) target = Page(i);
  }
  if (!CanChangeTo(target)) {
    m.Result = m.Msg == CM_DIALOGKEY ? 1 : 0;
    return;
  }
  TPageControl::WndProc(m);
}

void TsPageControl::HandleMouseMove(TMessage& m) {
  if (HasState(csDesigning) || HasState(csDestroying)) {
    TPageControl::WndProc(m);
    return;
  }
  if (DefaultManager && Skinned()) DefaultManager->SetHotWindow(Handle());
  int i = TabAtPos(PointOf(m.LParam));
  FollowTabHint(i);
  TsTabSheet* page = Page(i);
  if (i >= 0 && page && page->Enabled()) {
    TPageControl::WndProc(m);
    TsSkinManager* mgr = skinData_->SkinManager();
    // Painting what is pending now keeps the hover look in step with the
    // mouse; pumping the queue here would run input inside this handler.
    if (!Skinned() || !mgr || !mgr->Effects()->AllowAnimation()) UpdateWindow(Handle());
    if (ShowCloseBtns() && page->TabType() == ttTab) {
      const TRect tab = i == ActivePageIndex() ? SkinTabRect(i, true) : PageTabRect(i);
      TWindowDC dc(Handle(), GetDC(Handle()));
      TSelectedObject font(dc.Get(), Font()->Handle());
      const TRect local(0, 0, tab.Width(), tab.Height());
      const TabContentLayout L =
          LayoutTabContent(dc.Get(), page, false, i == ActivePageIndex() ? 2 : 1, local);
      const TPoint p = PointOf(m.LParam);
      const POINT inTab{p.X - tab.Left, p.Y - tab.Top};
      if (L.CloseRect.Width() > 0 && PtInRect(L.CloseRect.AsRECT(), inTab)) {
        if (HotCloseIndex != i) {
          const int old = HotCloseIndex;
          HotCloseIndex = i;
          RefreshTab(i, true);
          if (old >= 0 && old != i) RefreshTab(old, true);
        }
      } else if (HotCloseIndex >= 0) {
        const int old = HotCloseIndex;
        HotCloseIndex = PressedCloseIndex = -1;
        RefreshTab(old, true);
      }
    }
    if (i != HotTab) {
      if (HotTab >= 0 && HotTab < PageCount()) {
        if (OnTabMouseLeave) OnTabMouseLeave(this, HotTab);
        // Coming from another tab, the active tab takes no hot look.
        if (i == ActivePageIndex()) i = -1;
      }
      if (i >= 0 && OnTabMouseEnter) OnTabMouseEnter(this, i);
      SetHotTab(i);
    }
    return;
  }
  HotCloseIndex = PressedCloseIndex = -1;
  if (HotTab >= 0 && (ActivePageIndex() != HotTab || ShowCloseBtns())) {
    const int old = HotTab;
    SetHotTab(-1);
    CloseArmed = false;
    if (old < PageCount() && OnTabMouseLeave) OnTabMouseLeave(this, old);
  }
  TPageControl::WndProc(m);
}

void TsPageControl::PopupTabMenu(int Index) {
  TsTabSheet* page = Page(Index);
  TPopupMenu* menu = page->TabMenu();
  PressedMenuTab = Index;
  RefreshTab(Index, false);
  TabMenuOwner = this;
  menu->SetPopupComponent(this);
  TRect r = Index == ActivePageIndex() ? SkinTabRect(Index, true) : PageTabRect(Index);
  POINT origin{0, 0};
  ::ClientToScreen(Handle(), &origin);
  const bool side = TabPosition() == tpLeft || TabPosition() == tpRight;
  const bool right = side != RotateCaptions();
  const int x = origin.x + (right ? r.Right : r.Left);
  const int y = origin.y + (right ? r.Top : r.Bottom - 2);
  // The menu runs modally: an item may free this control or its form.
  const std::shared_ptr<bool> alive = alive_;
  menu->Popup(x, y);
  if (!*alive) return;
  if (TabMenuOwner == this) TabMenuOwner = nullptr;
  if (page->TabMenu() == menu) menu->SetPopupComponent(nullptr);
}

void TsPageControl::HandleCloseClick(int Index, bool Down) {
  TsTabSheet* page = Page(Index);
  PressedCloseIndex = Down ? Index : -1;
  RefreshTab(Index, false);
  if (Down) {
    CloseArmed = true;
    return;
  }
  if (!CloseArmed) return;
  bool canClose = true;
  TvlCloseAction action = vlaFree;
  const std::shared_ptr<bool> alive = alive_;
  if (OnCloseBtnClick) OnCloseBtnClick(this, Index, canClose, action);
  if (!*alive) return;
  bool exists = false;
  for (int i = 0; i < PageCount(); ++i) exists = exists || Pages(i) == page;
  if (canClose && exists) {
    const int activeIndex = ActivePageIndex();
    if (HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    ClearTabTimers();
    skinData_->BeginUpdate();
    if (action == vlaFree)
      TObject::Free(page);
    else
      page->SetTabVisible(false);
    if (activeIndex >= 0 && activeIndex < PageCount()) {
      // By index, but never onto the tab just hidden.
      TsTabSheet* next = NearestSelectablePage(activeIndex);
      if (next) {
        SetActivePage(next);
        TPageControl::Change();
      }
    }
    skinData_->EndUpdate(false);
    if (HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    skinData_->BgChanged = true;
    Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_NOCHILDREN | RDW_UPDATENOW);
  }
  CloseArmed = false;
  PressedCloseIndex = -1;
}

bool TsPageControl::HandleMouseButton(TMessage& m) {
  const bool down = m.Msg == WM_LBUTTONDOWN;
  const int i = TabAtPos(PointOf(m.LParam));
  TsTabSheet* page = Page(i);
  if (!page) return false;
  if (!page->Enabled() && !AccessibleDisabledPages) return true;
  switch (page->TabType()) {
    case ttMenu: {
      if (down && page->TabMenu()) {
        const std::shared_ptr<bool> alive = alive_;
        PopupTabMenu(i);
        if (!*alive) return true;
      }
      PressedMenuTab = -1;
      SetHotTab(-1);
      ClearTabTimers();
      skinData_->Updating = false;
      Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_NOCHILDREN | RDW_UPDATENOW);
      Perform(WM_NCPAINT, 0, 0);
      return true;
    }
    case ttButton: {
      if (!page->Enabled()) return true;
      const int old = PressedCloseIndex;
      PressedCloseIndex = down ? i : -1;
      RefreshTab(i, true);
      if (!down && old == i && page->OnClickBtn) page->OnClickBtn(page);
      return true;
    }
    case ttTab:
      break;
  }
  if (ShowCloseBtns() && page->UseCloseBtn()) {
    const TRect tab = i == ActivePageIndex() ? SkinTabRect(i, true) : PageTabRect(i);
    TWindowDC dc(Handle(), GetDC(Handle()));
    TSelectedObject font(dc.Get(), Font()->Handle());
    const TabContentLayout L =
        LayoutTabContent(dc.Get(), page, false, i == ActivePageIndex() ? 2 : 1,
                         TRect(0, 0, tab.Width(), tab.Height()));
    const TPoint p = PointOf(m.LParam);
    if (PtInRect(L.CloseRect.AsRECT(), POINT{p.X - tab.Left, p.Y - tab.Top})) {
      HandleCloseClick(i, down);
      return true;
    }
    if (!CanChangeTo(page)) return true;
    if (!down) PressedCloseIndex = -1;
    return false;
  }
  if (i == ActivePageIndex() && down && CanFocus()) SetFocus();
  return !CanChangeTo(page);
}

bool TsPageControl::TabHintAt(const TPoint& P, std::string& Hint, TPoint& ScreenPos) {
  TsTabSheet* page = Page(TabAtPos(P));
  if (!page || page->Hint().empty()) return false;
  Hint = page->Hint();
  POINT c{};
  GetCursorPos(&c);
  ScreenPos =
      TPoint(c.x + GetSystemMetrics(SM_CXCURSOR) / 2, c.y + GetSystemMetrics(SM_CYCURSOR) / 2);
  return true;
}

// A tab's hint stays while the cursor is over that tab; anywhere else on
// the control the application asks again, so the control's own hint can
// take over.
void TsPageControl::HandleHintShow(TMessage& m) {
  auto* info = reinterpret_cast<THintInfo*>(m.LParam);
  std::string hint;
  TPoint at;
  const int tab = info ? TabAtPos(info->CursorPos) : -1;
  if (info && TabHintAt(info->CursorPos, hint, at)) {
    info->HintStr = hint;
    info->HintPos = at;
    info->CursorRect = tab == ActivePageIndex() ? SkinTabRect(tab, true) : PageTabRect(tab);
    HintTab = tab;
    m.Result = 0;
    return;
  }
  HintTab = tab;
  TPageControl::WndProc(m);
}

// The application hides a hint only when the cursor leaves its rectangle
// or the control; moving onto another tab must swap the text, so the hint
// on show goes and the next one follows after the short pause, as between
// two controls.
void TsPageControl::FollowTabHint(int Tab) {
  if (!Application || Application->HintControl() != this || !Application->HintWindow() ||
      Tab == HintTab)
    return;
  Application->HideHint();
  Application->HintMouseMessage(nullptr);
  Application->HintMouseMessage(this);
}

void TsPageControl::WndProc(TMessage& m) {
  if (m.Msg == SkinCommandMessage && HandleSkinMessage(m)) return;
  switch (m.Msg) {
    case WM_NCCREATE:
    case WM_CREATE:
      RegisterSkinData(skinData_);
      break;
    case WM_PAINT:
      if (Visible() || HasState(csDesigning)) {
        PaintMessage(m);
        return;
      }
      break;
    case WM_ERASEBKGND:
      // Both looks paint every pixel in WM_PAINT.
      if (!Skinned()) {
        m.Result = 1;
        return;
      }
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT) {
        HandleKey(m);
        return;
      }
      break;
    case CM_DIALOGKEY:
      if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        HandleKey(m);
        return;
      }
      break;
    case WM_MOUSEMOVE:
      HandleMouseMove(m);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (!HasState(csDesigning) && Enabled() && HandleMouseButton(m)) return;
      break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      if (!HasState(csDesigning) && !HasState(csDestroying) && HotTab >= 0) {
        if (!Skinned()) TPageControl::WndProc(m);
        PressedCloseIndex = HotCloseIndex = -1;
        CloseArmed = false;
        if (HotTab < PageCount() && OnTabMouseLeave) OnTabMouseLeave(this, HotTab);
        SetHotTab(-1);
        return;
      }
      break;
    case TCM_SETIMAGELIST:
      TPageControl::WndProc(m);
      if (HandleAllocated()) Perform(WM_SIZE, 0, 0);
      UpdateTabScroller();
      return;
    case CM_DOCKCLIENT:
      HandleDockClient(m);
      return;
    case CM_HINTSHOW:
      HandleHintShow(m);
      return;
    case WM_PARENTNOTIFY:
      if (!HasState(csLoading) && !HasState(csDesigning) &&
          (LOWORD(m.WParam) == WM_CREATE || LOWORD(m.WParam) == WM_DESTROY)) {
        TPageControl::WndProc(m);
        if (LOWORD(m.WParam) == WM_CREATE) PagesCounted();
        UpdateTabScroller();
        return;
      }
      break;
    case CM_CONTROLLISTCHANGE:
      TPageControl::WndProc(m);
      if (PagesCounted()) UpdateTabScroller();
      return;
    case TCM_SETCURSEL:
      ClearTabTimers();
      TPageControl::WndProc(m);
      if (Skinned()) {
        skinData_->BgChanged = true;
        Redraw(RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
        if (!skinData_->IsUpdating()) RepaintChildren(this);
      } else {
        Redraw(RDW_FRAME | RDW_INVALIDATE);
      }
      return;
    case CN_NOTIFY:
      if (Skinned() && HandleNotify(m)) return;
      break;
    default:
      break;
  }
  if (Skinned() && ControlIsReady(this) && HandleSkinnedMessage(m)) return;
  TPageControl::WndProc(m);
  switch (m.Msg) {
    case WM_CREATE:
      // A new window may mean a new side for the tabs: the frame's section
      // follows it.
      if (!HasState(csLoading)) skinData_->UpdateIndexes(true);
      UpdateCloseBtnMetrics();
      Perform(WM_SIZE, 0, 0);
      UpdateTabScroller();
      break;
    case WM_SIZE:
      UpdateTabScroller();
      break;
    case WM_STYLECHANGED:
      if (HasState(csLoading)) break;
      // Another side for the tabs means another frame section.
      skinData_->UpdateIndexes(true);
      if (Skinned()) {
        UpdateCloseBtnMetrics();
        UpdateTabScroller();
      }
      break;
    case WM_PRINT:
      if (!Skinned()) PaintUnskinned(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_LBUTTONDBLCLK:
      if (HotTab >= 0 && HotTab < PageCount() && (Style() != tsTabs || !IsButtonTab(HotTab, false)))
        RefreshTab(HotTab, false);
      if (OnDblClick) OnDblClick(this);
      break;
    case TCM_DELETEITEM:
      if (Skinned() && !skinData_->IsUpdating()) skinData_->BgChanged = true;
      break;
    case CM_DIALOGCHAR:
      if (Skinned()) {
        skinData_->BgChanged = true;
        Redraw(RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
        RepaintChildren(this);
      }
      break;
    case CM_ENABLEDCHANGED:
      if (!HasState(csLoading) && !HasState(csDestroying)) {
        skinData_->Invalidate(false);
        if (!Skinned()) Invalidate();
      }
      break;
    default:
      break;
  }
}

// TCN_SELCHANGING freezes the old look under a cover; TCN_SELCHANGE fades
// the new one in over it. A refused change drops the cover again.
bool TsPageControl::HandleNotify(TMessage& m) {
  auto* h = reinterpret_cast<NMHDR*>(m.LParam);
  if (h->code == static_cast<UINT>(TCN_SELCHANGING)) {
    if (AnimatedSwitch(this)) {
      PrepareTransition(this, atFading);
      skinData_->Updating = true;
    }
    TPageControl::WndProc(m);
    if (m.Result != 0 || !TransitionCover()) {
      skinData_->Updating = false;
      if (HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
      if (TransitionCover()) ReleaseTransition();
    }
    return true;
  }
  if (h->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
  if (AnimatedSwitch(this) && TransitionCover()) {
    ClearTabTimers();
    TPageControl::WndProc(m);
    skinData_->Updating = true;
    TsSkinManager* mgr = skinData_->SkinManager();
    skinData_->Updating = false;
    skinData_->BgChanged = true;
    AnimateTransition(this, mgr->AnimEffects()->PageChange()->Time(), 255, atFading);
    if (TTabSheet* p = ActivePage(); p && p->HandleAllocated())
      RedrawWindow(p->Handle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    return true;
  }
  if (!ActivePage() || skinData_->CheckUpdating(false)) {
    TPageControl::WndProc(m);
    return true;
  }
  skinData_->Updating = true;
  TPageControl::WndProc(m);
  skinData_->Updating = false;
  skinData_->BgChanged = true;
  Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return true;
}
